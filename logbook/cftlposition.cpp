#include "logbook/cftlposition.h"

#include "logbook/cftlline.h"

#include <cmath>
#include <limits>

qint32 ftlBoundedInt(double dValue, qint32 iUpperBound)
{
    if (std::isnan(dValue))
        return 0;
    const double dTruncated = std::trunc(dValue);
    if (dTruncated >= double(iUpperBound))
        return iUpperBound;
    // Far below the 32-bit range the value cannot be represented; keep it sane.
    if (dTruncated <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(dTruncated);
}

QString ftlPositionLine(const QString &sStamp, const CFtlPosition &pos)
{
    const qint32 iA = ftlBoundedInt(pos.dMeasure3, 9999);
    const qint32 iB = pos.iCounter1 == 1 ? 11 : pos.iCounter1;
    const qint32 iC = qMin(pos.iCounter3, 99);
    const qint32 iD = ftlBoundedInt(pos.dFurther1, 9999);
    const qint32 iE = pos.iCounter2;
    const qint32 iF = ftlBoundedInt(pos.dFurther2, 999);
    const qint32 iG = ftlBoundedInt(pos.dFurther3, 999);
    // Longitude before latitude.
    QStringList asFields{ftlFixed("%4.6f", pos.dLongitude), ftlFixed("%3.6f", pos.dLatitude)};
    for (const qint32 iValue : {iA, iB, iC, iD, iE, iF, iG})
        asFields << QString::number(iValue);
    // The receiving buffer holds 99 characters and a terminator.
    return ftlLine(QStringLiteral("08"), sStamp, asFields).left(99);
}
