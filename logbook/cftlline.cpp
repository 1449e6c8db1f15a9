#include "logbook/cftlline.h"

QString ftlStamp(const QDateTime &dtStamp, qint32 iOffsetSecs)
{
    return dtStamp.addSecs(iOffsetSecs).toString(QStringLiteral("yyyyMMddhhmmss"));
}

QString ftlCompartment(qint32 iCompartment)
{
    return QString::number(qint64(iCompartment) + 1);
}

QString ftlFixed(const char *pFormat, double dValue)
{
    // Qt's own formatting keeps "." whatever locale the vehicle runs in.
    return QString::asprintf(pFormat, dValue);
}

QString ftlLine(const QString &sCode, const QString &sStamp, const QStringList &asFields)
{
    QStringList asAll{sCode, sStamp};
    asAll += asFields;
    return asAll.join(QLatin1Char(','));
}
