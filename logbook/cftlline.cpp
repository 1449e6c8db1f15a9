#include "logbook/cftlline.h"

#include <cmath>
#include <limits>

namespace {
QString localMoment(const QDateTime &dtStamp, qint32 iOffsetSecs, const QString &sFormat)
{
    // Calendar arithmetic, so the date rolls over at midnight and month ends.
    return dtStamp.addSecs(iOffsetSecs).toString(sFormat);
}
} // namespace

QString ftlStamp(const QDateTime &dtStamp, qint32 iOffsetSecs)
{
    return localMoment(dtStamp, iOffsetSecs, QStringLiteral("yyyyMMddhhmmss"));
}

QString ftlClock(const QDateTime &dtStamp, qint32 iOffsetSecs)
{
    return localMoment(dtStamp, iOffsetSecs, QStringLiteral("hhmmss"));
}

QString ftlRounded(double dValue)
{
    if (std::isnan(dValue))
        return QStringLiteral("0");
    const double dRounded = std::round(dValue);
    // 2^63 is exactly representable; anything at or beyond it is held there.
    constexpr double dLimit = 9223372036854775808.0;
    if (dRounded >= dLimit)
        return QString::number(std::numeric_limits<qint64>::max());
    if (dRounded < -dLimit)
        return QString::number(std::numeric_limits<qint64>::min());
    return QString::number(qint64(dRounded));
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
