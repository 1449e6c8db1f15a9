#pragma once

#include <QString>

// A path or time in the diagnostic log, in double quotes as the log shows
// every name the operator may need to find again.
inline QString quotedText(const QString &sText)
{
    return QStringLiteral("\"") + sText + QStringLiteral("\"");
}
