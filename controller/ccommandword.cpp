#include "controller/ccommandword.h"

#include "app/cshell.h"

namespace {

bool isPlainCharacter(QChar c)
{
    if (c.unicode() >= 0x80)
        return false;
    if (c.isLetterOrNumber())
        return true;
    switch (c.unicode()) {
    case '.':
    case '_':
    case '-':
    case '+':
    case ',':
    case '/':
    case ':':
    case '@':
    case '%':
    case '=': return true;
    }
    return false;
}

// '#' opens a comment only at the start of a word.
bool isPlain(const QString &sValue)
{
    for (int i = 0; i < sValue.size(); ++i) {
        const QChar c = sValue.at(i);
        if (!isPlainCharacter(c) && !(i > 0 && c == QLatin1Char('#')))
            return false;
    }
    return true;
}

} // namespace

QString commandWord(const QString &sValue)
{
    if (sValue.isEmpty())
        return QString();
    return isPlain(sValue) ? sValue : shellQuote(sValue);
}

QString commandWordTwice(const QString &sValue)
{
    return commandWord(commandWord(sValue));
}

QString cutToUtf8Bytes(const QString &sValue, int iMaxBytes)
{
    int iBytes = 0;
    int iEnd = 0;
    while (iEnd < sValue.size()) {
        const bool bPair = sValue.at(iEnd).isHighSurrogate() && iEnd + 1 < sValue.size() &&
                           sValue.at(iEnd + 1).isLowSurrogate();
        const int iUnits = bPair ? 2 : 1;
        const int iCharBytes = int(sValue.mid(iEnd, iUnits).toUtf8().size());
        if (iBytes + iCharBytes > iMaxBytes)
            break;
        iBytes += iCharBytes;
        iEnd += iUnits;
    }
    return sValue.left(iEnd);
}
