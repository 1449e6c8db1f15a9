#include "logbook/cftlline.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>

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
    // printf itself, so the back office gets the C library's digits: the
    // exact binary value rounded, ties to even, "-0.0" kept. The C locale of
    // this thread only, so the point stays "." whatever the process's locale.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    // A double in %f has at most 309 integer digits.
    char acText[512];
    const int iLength = std::snprintf(acText, sizeof acText, pFormat, dValue);
    uselocale(previous);
    return QString::fromLatin1(acText, qBound(0, iLength, int(sizeof acText) - 1));
}

QString ftlLine(const QString &sCode, const QString &sStamp, const QStringList &asFields)
{
    QStringList asAll{sCode, sStamp};
    asAll += asFields;
    return asAll.join(QLatin1Char(','));
}
