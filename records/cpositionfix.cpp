#include "records/cpositionfix.h"

#include <QIODevice>

#include <cmath>

QDataStream &operator<<(QDataStream &stream, const CPositionFix &fix)
{
    stream << fix.iVersion << fix.dtStamp;
    for (double dValue : fix.adMeasures)
        stream << dValue;
    for (qint32 iValue : fix.aiCounters)
        stream << iValue;
    for (double dValue : fix.adFurther)
        stream << dValue;
    return stream;
}

QDataStream &operator>>(QDataStream &stream, CPositionFix &fix)
{
    stream >> fix.iVersion >> fix.dtStamp;
    for (double &dValue : fix.adMeasures)
        stream >> dValue;
    for (qint32 &iValue : fix.aiCounters)
        stream >> iValue;
    for (double &dValue : fix.adFurther)
        stream >> dValue;
    for (double *pValue : {&fix.adMeasures[0], &fix.adMeasures[1], &fix.adMeasures[2], &fix.adFurther[0],
                           &fix.adFurther[1], &fix.adFurther[2]})
        if (std::isnan(*pValue))
            *pValue = 0.0;
    return stream;
}

QByteArray CPositionFix::serialized() const
{
    QByteArray baBytes;
    QDataStream stream(&baBytes, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_4_6);
    stream << *this;
    return baBytes;
}
