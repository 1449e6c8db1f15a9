#include "logbook/cloggps.h"

#include "logbook/cftlline.h"
#include "logbook/cftlposition.h"
#include "logbook/clogtypes.h"
#include "log/cmodulelog.h"

#include <QDebug>

CFtlPosition ftlPositionOf(const CPositionFix &fix)
{
    CFtlPosition pos;
    pos.dLatitude = fix.adMeasures[0];
    pos.dLongitude = fix.adMeasures[1];
    pos.dMeasure3 = fix.adMeasures[2];
    pos.iCounter1 = fix.aiCounters[0];
    pos.iCounter2 = fix.aiCounters[1];
    pos.iCounter3 = fix.aiCounters[2];
    pos.dFurther1 = fix.adFurther[0];
    pos.dFurther2 = fix.adFurther[1];
    pos.dFurther3 = fix.adFurther[2];
    return pos;
}

CLogGps::CLogGps() : CLogBase(LOG_GPS) {}

CLogGps::CLogGps(const QByteArray &baRow) : CLogGps()
{
    readRow(baRow);
}

QStringList CLogGps::getFTLStrings(qint32 timeOffsetSecs) const
{
    if (LogSubType != 11000) {
        qDebug().noquote().nospace()
            << streamedLine({QStringLiteral("CLogGps::LogSubType() = "), QString::number(LogSubType)});
        return {QString()};
    }
    return {ftlPositionLine(ftlStamp(DateTime, timeOffsetSecs), ftlPositionOf(Position))};
}
