#pragma once

#include <QString>

// One line for the diagnostic log, decided by pure logic and written by the
// controller at the level chosen here.
struct CLogLine
{
    enum ELevel { Debug, Warning };
    ELevel eLevel = Debug;
    QString sText;

    bool operator==(const CLogLine &other) const { return eLevel == other.eLevel && sText == other.sText; }
};

inline CLogLine debugLine(const QString &sText)
{
    return {CLogLine::Debug, sText};
}

inline CLogLine warningLine(const QString &sText)
{
    return {CLogLine::Warning, sText};
}

// A name, path or time in a log line, in double quotes as the log shows
// everything the operator may need to find again.
inline QString quotedText(const QString &sText)
{
    return QStringLiteral("\"") + sText + QStringLiteral("\"");
}
