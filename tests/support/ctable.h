#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

// Test cases kept in a data file beside the test: one case a line, fields
// separated by tabs; blank lines and lines starting with '#' are notes. A
// line "[name]" starts the cases of the test function of that name.
// Each case becomes a row "line N" with one column "row", its fields.
inline void tableRows(const QString &sPath, const QString &sSection = QString())
{
    QTest::addColumn<QStringList>("row");
    QFile file(sPath);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable("cannot read " + sPath));
    QString sCurrent;
    int iLine = 0, iRows = 0;
    while (!file.atEnd()) {
        QString sLine = QString::fromUtf8(file.readLine());
        if (sLine.endsWith(QLatin1Char('\n')))
            sLine.chop(1);
        ++iLine;
        if (sLine.startsWith(QLatin1Char('[')) && sLine.endsWith(QLatin1Char(']')))
            sCurrent = sLine.mid(1, sLine.size() - 2);
        else if (!sLine.trimmed().isEmpty() && !sLine.startsWith(QLatin1Char('#')) && sCurrent == sSection) {
            QTest::addRow("line %d", iLine) << sLine.split(QLatin1Char('\t'));
            ++iRows;
        }
    }
    QVERIFY2(iRows > 0, qPrintable("no cases for " + sSection + " in " + sPath));
}

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
