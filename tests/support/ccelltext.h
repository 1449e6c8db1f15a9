#pragma once

#include "controller/clogline.h"

#include <QDateTime>
#include <QStringList>

// A date-time cell: ISO 8601; a time alone is on 2024-01-05, UTC.
inline QDateTime utcOf(const QString &sText)
{
    if (sText.size() <= 8)
        return QDateTime(QDate(2024, 1, 5), QTime::fromString(sText, Qt::ISODate), Qt::UTC);
    return QDateTime::fromString(sText, Qt::ISODate);
}

// Log lines as the tables write them: "D " or "W ", the text; " | " between.
inline QString logText(const QList<CLogLine> &aLines)
{
    QStringList asTexts;
    for (const CLogLine &line : aLines)
        asTexts << (line.eLevel == CLogLine::Warning ? "W " : "D ") + line.sText;
    return asTexts.join(QStringLiteral(" | "));
}
