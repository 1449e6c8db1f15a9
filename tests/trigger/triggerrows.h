#pragma once

#include <QFile>
#include <QStringList>

// The rows of decisions.txt whose first word is one of asKinds (or, with
// bOthers, is none of them): the words before the first "|", then the text
// of each further part.
inline QList<QStringList> triggerRows(const QStringList &asKinds, bool bOthers = false)
{
    QFile file(QStringLiteral(FTP_TEST_DATA "/decisions.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("decisions.txt not found");
    QList<QStringList> aRows;
    while (!file.atEnd()) {
        const QStringList asParts = QString::fromUtf8(file.readLine()).split('|');
        QStringList asRow = asParts[0].simplified().split(' ');
        if (asRow[0].isEmpty() || asRow[0].startsWith('#') || asKinds.contains(asRow[0]) == bOthers)
            continue;
        for (const QString &sPart : asParts.mid(1))
            asRow << sPart.trimmed();
        aRows << asRow;
    }
    return aRows;
}
