#include "logbook/clogfactory.h"

#include "logbook/clogcop.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogseal.h"
#include "logbook/clogsmp.h"
#include "logbook/clogspd.h"
#include "logbook/clogtracking.h"
#include "logbook/clogtypes.h"

namespace {
// Rows of types the daemon does not decode still carry a header worth keeping.
class CLogUnknown : public CLogBase
{
public:
    explicit CLogUnknown(const QByteArray &baRow) { readRow(baRow); }
};

// The lines of the entry when it is of class T.
template <class T> bool linesAs(const CLogBase &entry, qint32 timeOffsetSecs, QStringList &asLines)
{
    const T *pEntry = dynamic_cast<const T *>(&entry);
    if (pEntry)
        asLines = pEntry->getFTLStrings(timeOffsetSecs);
    return pEntry != nullptr;
}
} // namespace

std::unique_ptr<CLogBase> makeLogEntry(const QByteArray &baRow)
{
    switch (LogRow::LogType(baRow)) {
    case LOG_TRACKING: return std::make_unique<CLogTracking>(baRow);
    case LOG_COP: return std::make_unique<CLogCOP>(baRow);
    case LOG_DISCHARGE: return std::make_unique<CLogDischarge>(baRow);
    case LOG_GPS: return std::make_unique<CLogGps>(baRow);
    case LOG_LEVEL_VOLUME: return std::make_unique<CLogLevelVolume>(baRow);
    case LOG_LOADING: return std::make_unique<CLogLoading>(baRow);
    case LOG_SEAL: return std::make_unique<CLogSeal>(baRow);
    case LOG_SPD: return std::make_unique<CLogSPD>(baRow);
    case LOG_GSM_FTP: return std::make_unique<CLogGsmFtp>(baRow);
    case LOG_OPMM: return std::make_unique<CLogOPMM>(baRow);
    case LOG_SMP: return std::make_unique<CLogSMP>(baRow);
    case LOG_FPM: return std::make_unique<CLogFPM>(baRow);
    default: return std::make_unique<CLogUnknown>(baRow);
    }
}

QStringList ftlLinesOf(const CLogBase &entry, qint32 timeOffsetSecs, qint32 iSelector)
{
    if (const auto *pLevel = dynamic_cast<const CLogLevelVolume *>(&entry))
        return pLevel->getFTLStrings(iSelector, timeOffsetSecs);
    QStringList asLines;
    linesAs<CLogCOP>(entry, timeOffsetSecs, asLines) || linesAs<CLogDischarge>(entry, timeOffsetSecs, asLines)
        || linesAs<CLogGps>(entry, timeOffsetSecs, asLines) || linesAs<CLogLoading>(entry, timeOffsetSecs, asLines)
        || linesAs<CLogSeal>(entry, timeOffsetSecs, asLines) || linesAs<CLogSPD>(entry, timeOffsetSecs, asLines)
        || linesAs<CLogOPMM>(entry, timeOffsetSecs, asLines) || linesAs<CLogSMP>(entry, timeOffsetSecs, asLines)
        || linesAs<CLogFPM>(entry, timeOffsetSecs, asLines);
    return asLines;
}
