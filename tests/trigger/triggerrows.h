#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

// A column "asRow" with one row "line N" for each row of decisions.txt
// whose first word is one of asKinds (or, with bOthers, is none of them):
// the words before the first "|", then the text of each further part.
inline void triggerRows(const QStringList &asKinds, bool bOthers = false)
{
    QTest::addColumn<QStringList>("asRow");
    QFile file(QStringLiteral(FTP_TEST_DATA "/decisions.txt"));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), "decisions.txt not found");
    for (int iLine = 1; !file.atEnd(); ++iLine) {
        const QStringList asParts = QString::fromUtf8(file.readLine()).split('|');
        QStringList asRow = asParts[0].simplified().split(' ');
        if (asRow[0].isEmpty() || asRow[0].startsWith('#') || asKinds.contains(asRow[0]) == bOthers)
            continue;
        for (const QString &sPart : asParts.mid(1))
            asRow << sPart.trimmed();
        QTest::addRow("line %d", iLine) << asRow;
    }
}
