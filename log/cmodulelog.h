#pragma once

#include <QString>
#include <QStringList>

// The one layout of every message of the controller and the trigger
// monitor, as a debug stream with automatic spacing writes it: one blank
// after every item, so "File: cdata Line:  43 :  text " leads a reader of the
// vehicle's log straight to its source.
// Items of one message as that stream writes them: a text, then its value
// after a blank of the stream's own ("size 512"), whatever blank the text
// already ends with ("Undefined LogSubType =  6002"). The blank after the
// last item is the line's own and comes with it.
inline QString streamItems(const QStringList &asItems)
{
    return asItems.join(QLatin1Char(' '));
}

inline QString moduleLogLine(const char *pszModule, int iLine, const QString &sText)
{
    return streamItems({QStringLiteral("File: ") + QLatin1String(pszModule) + QStringLiteral(" Line: "),
                        QString::number(iLine), QStringLiteral(": "), sText}) +
           QLatin1Char(' ');
}

// A message without the module's lead, closed by the stream's blank.
inline QString streamedLine(const QStringList &asItems)
{
    return streamItems(asItems) + QLatin1Char(' ');
}
