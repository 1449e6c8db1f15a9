#include "files/cfilenamepart.h"

QString fileNamePart(const QString &sFromRecord)
{
    QString sPart = sFromRecord;
    for (QChar &ch : sPart) {
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.unicode() < 0x20)
            ch = QLatin1Char('_');
    }
    while (sPart.contains(QLatin1String("..")))
        sPart.replace(QLatin1String(".."), QLatin1String("_"));
    return sPart;
}
