#pragma once

#include <QString>

// The members of a position fix that the "08" position line carries.
struct CFtlPosition
{
    double dLatitude = 0.0;
    double dLongitude = 0.0;
    double dMeasure3 = 0.0;
    qint32 iCounter1 = 0;
    qint32 iCounter2 = 0;
    qint32 iCounter3 = 0;
    double dFurther1 = 0.0;
    double dFurther2 = 0.0;
    double dFurther3 = 0.0;
};

// A double truncated toward zero into 32 bits, then bounded from above only.
qint32 ftlBoundedInt(double dValue, qint32 iUpperBound);

// "08,<stamp>,<longitude>,<latitude>,A,B,C,D,E,F,G", at most 99 characters,
// shared by event files and GPS files.
QString ftlPositionLine(const QString &sStamp, const CFtlPosition &pos);
