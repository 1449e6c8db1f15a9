#pragma once

#include <QString>

// The one layout of every message of the controller and the trigger
// monitor, as a debug stream with automatic spacing writes it: one blank
// after every item, so "File: cdata Line:  43 :  text " leads a reader of the
// vehicle's log straight to its source.
inline QString moduleLogLine(const char *pszModule, int iLine, const QString &sText)
{
    return QStringLiteral("File: ") + QLatin1String(pszModule) + QStringLiteral(" Line:  ") + QString::number(iLine) +
           QStringLiteral(" :  ") + sText + QLatin1Char(' ');
}
