#include "logbook/clogtracking.h"

#include "logbook/cftlline.h"
#include "logbook/cftlposition.h"
#include "logbook/cloggps.h"
#include "logbook/clogtypes.h"

namespace {
// Tracking rows have their own payload version, and a full reserve.
constexpr qint32 TRACKING_PAYLOAD_VERSION = 1;
constexpr int RESERVE_BYTES = 32;
constexpr double DEFAULT_POSITION_RADIUS = 0.25;

bool awayFromZero(double dDegrees)
{
    return dDegrees >= DEFAULT_POSITION_RADIUS || dDegrees <= -DEFAULT_POSITION_RADIUS;
}
} // namespace

CLogTracking::CLogTracking() : CLogBase(LOG_TRACKING)
{
    iPayloadVersion = TRACKING_PAYLOAD_VERSION;
    baReserve = QByteArray(RESERVE_BYTES, '\0');
}

CLogTracking::CLogTracking(const QByteArray &baRow) : CLogTracking()
{
    readRow(baRow);
}

bool CLogTracking::hasUsablePosition() const
{
    return awayFromZero(Position.latitude()) || awayFromZero(Position.longitude());
}

QString CLogTracking::gpsLine(qint32 timeOffsetSecs) const
{
    return ftlPositionLine(ftlStamp(Position.dtStamp, timeOffsetSecs), ftlPositionOf(Position));
}
