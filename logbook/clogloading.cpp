#include "logbook/clogloading.h"

#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

QStringList ftlCompartmentStep(const CLogBase &entry, qint32 iFirstSubType, qint32 timeOffsetSecs)
{
    if (entry.LogSubType != iFirstSubType && entry.LogSubType != iFirstSubType + 1)
        return {};
    return {ftlLine(QStringLiteral("12"), ftlStamp(entry.DateTime, timeOffsetSecs),
                    {ftlCompartment(entry.Compartment)})};
}

CLogLoading::CLogLoading() : CLogBase(LOG_LOADING) {}

CLogLoading::CLogLoading(const QByteArray &baRow) : CLogLoading()
{
    readRow(baRow);
}

QStringList CLogLoading::getFTLStrings(qint32 timeOffsetSecs) const
{
    return ftlCompartmentStep(*this, 2000, timeOffsetSecs);
}

CLogDischarge::CLogDischarge() : CLogBase(LOG_DISCHARGE) {}

CLogDischarge::CLogDischarge(const QByteArray &baRow) : CLogDischarge()
{
    readRow(baRow);
}

QStringList CLogDischarge::getFTLStrings(qint32 timeOffsetSecs) const
{
    return ftlCompartmentStep(*this, 3000, timeOffsetSecs);
}
