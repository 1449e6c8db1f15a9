#include "files/crunclock.h"

#include "app/cclock.h"
#include "files/cfilesource.h"
#include "files/cftlnames.h"
#include "files/clocaltime.h"
#include "log/cmodulelog.h"
#include "records/creplycode.h"

CRunClock startRunClock(CFileSource &source)
{
    const CSetGeneralNonWM &general = source.generalSetup();
    const QDateTime dtNow = source.nowUtc();
    CRunClock clock;
    clock.dtLocalNow = GetLocalTime(general.sTimeZone(), general.bSummerTime(), dtNow);
    clock.iOffsetSecs = ftlTimeOffsetSecs(dtNow, clock.dtLocalNow);
    return clock;
}

QString runClockText(const CRunClock &clock)
{
    return streamItems(
        {QStringLiteral("Local time: "),
         QLatin1Char('"') + clock.dtLocalNow.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss,zzz")) + QLatin1Char('"'),
         QStringLiteral(", diff"), QString::number(clock.iOffsetSecs)});
}

bool startProgressRun(CFileSource &source, bool bTracking, CRunClock &clock, qint64 &llNextRowID)
{
    if (!source.hasLogbook()) {
        source.log(warningLine(QStringLiteral("DBus NOT valid!")));
        return false;
    }
    CSetGsm settings;
    if (!source.readGsmSettings(settings))
        return false;
    llNextRowID = bTracking ? settings.iNextTrackingRowID() : settings.iNextLogbookRowID();
    clock = startRunClock(source);
    source.log(
        debugLine(streamItems({runClockText(clock), QStringLiteral(", Next ID"), QString::number(llNextRowID)})));
    return true;
}

bool advanceProgress(CFileSource &source, qint64 llRowID, bool bTracking)
{
    CSetGsm settings;
    if (!source.readGsmSettings(settings))
        return false;
    if (bTracking)
        settings.setNextTrackingRowID(qint32(llRowID + 1));
    else
        settings.setNextLogbookRowID(qint32(llRowID + 1));
    return source.writeGsmSettings(settings) == REPLY_SUCCESS;
}

void pauseBetweenRows()
{
    CClock::instance().sleepMs(10);
}
