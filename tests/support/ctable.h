#pragma once

#include "tests/support/ccelltext.h"

#include <QFile>
#include <QStringList>
#include <QTest>

// Test cases kept in a data file beside the test: one case a line, fields
// separated by tabs; blank lines and lines starting with '#' are notes. A
// line "[name]" starts the cases of the test function of that name.
// The cases of one section, each with its line number.
inline QList<QPair<int, QStringList>> tableLines(const QString &sPath, const QString &sSection = QString())
{
    QList<QPair<int, QStringList>> aLines;
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return aLines;
    QString sCurrent;
    int iLine = 0;
    while (!file.atEnd()) {
        QString sLine = QString::fromUtf8(file.readLine());
        if (sLine.endsWith(QLatin1Char('\n')))
            sLine.chop(1);
        ++iLine;
        if (sLine.startsWith(QLatin1Char('[')) && sLine.endsWith(QLatin1Char(']')))
            sCurrent = sLine.mid(1, sLine.size() - 2);
        else if (!sLine.trimmed().isEmpty() && !sLine.startsWith(QLatin1Char('#')) && sCurrent == sSection)
            aLines.append({iLine, sLine.split(QLatin1Char('\t'))});
    }
    return aLines;
}

// The cases of the running test function, from the section of its name:
// each becomes a row "line N" with one column "row", its fields.
inline void caseRows(const QString &sPath)
{
    const QString sSection = QString::fromLatin1(QTest::currentTestFunction());
    QTest::addColumn<QStringList>("row");
    const QList<QPair<int, QStringList>> aLines = tableLines(sPath, sSection);
    for (const auto &line : aLines)
        QTest::addRow("line %d", line.first) << line.second;
    QVERIFY2(!aLines.isEmpty(), qPrintable("no cases for " + sSection + " in " + sPath));
}

// A test function fed by the section of its name in a table file beside the
// test: NAME_data() reads the section, and the body that follows the macro
// sees each case's fields as `row` (NAMECase, a slot with an argument, is
// no test function of its own).
// clang-format off
#define TABLE_TEST(NAME, FILE)                                                                                         \
    void NAME##_data() { caseRows(QFINDTESTDATA(FILE)); }                                                              \
    void NAME()                                                                                                        \
    {                                                                                                                  \
        QFETCH(QStringList, row);                                                                                      \
        NAME##Case(row);                                                                                               \
    }                                                                                                                  \
    void NAME##Case(const QStringList &row)
// clang-format on

// A cell that holds several texts, " | " between them; "\r" and "\n" in a
// text stand for line breaks.
inline QStringList cellTexts(const QString &sCell)
{
    return QString(sCell).replace("\\r", "\r").replace("\\n", "\n").split(" | ", Qt::SkipEmptyParts);
}

// Every text of the one cell in the log, none of the other's.
inline void checkLog(const QStringList &asLog, const QString &sLogged, const QString &sNotLogged)
{
    for (const QString &sLine : cellTexts(sLogged))
        QVERIFY2(asLog.contains(sLine), qPrintable(sLine));
    for (const QString &sLine : cellTexts(sNotLogged))
        QVERIFY2(!asLog.contains(sLine), qPrintable(sLine));
}
