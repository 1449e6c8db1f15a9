#include "logbook/clogsmp.h"

#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

CLogSMP::CLogSMP() : CLogBase(LOG_SMP) {}

CLogSMP::CLogSMP(const QByteArray &baRow) : CLogSMP()
{
    readRow(baRow);
}

QStringList CLogSMP::getFTLStrings(qint32 timeOffsetSecs) const
{
    const QString sStamp = ftlStamp(DateTime, timeOffsetSecs);
    if (LogSubType == 14006)
        return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("16")})};
    if (LogSubType == 14007)
        return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("49")})};
    return {ftlUndefined()};
}
