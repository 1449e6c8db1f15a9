#include "files/cswupdateschedule.h"

#include "records/ccommrecords.h"

#include <ctime>

namespace
{

const qint64 llSecondsPerDay = 86400;

time_t localTimeOf(struct tm fields)
{
    fields.tm_isdst = -1;
    return ::mktime(&fields);
}

// Day.Month of the year tmNow.tm_year + iYearsAhead at Hour:Minute:00; the
// C library carries days past the month's end into the next month.
time_t yearlyAt(const struct tm &tmNow, int iYearsAhead, quint8 Month, quint8 Day, quint8 Hour, quint8 Minute)
{
    struct tm fields = {};
    fields.tm_year = tmNow.tm_year + iYearsAhead;
    fields.tm_mon = Month - 1;
    fields.tm_mday = Day;
    fields.tm_hour = Hour;
    fields.tm_min = Minute;
    return localTimeOf(fields);
}

time_t weeklyAt(const struct tm &tmNow, time_t tNow, quint8 Weekday, quint8 Hour, quint8 Minute)
{
    struct tm fields = tmNow;
    fields.tm_hour = Hour;
    fields.tm_min = Minute;
    fields.tm_sec = 0;
    const time_t tToday = localTimeOf(fields);
    const int iTarget = Weekday - 1;
    int iDaysAhead = 0;
    if (iTarget == tmNow.tm_wday)
        iDaysAhead = tToday < tNow ? 7 : 0;
    else if (iTarget > tmNow.tm_wday)
        iDaysAhead = iTarget - tmNow.tm_wday;
    else
        iDaysAhead = iTarget - tmNow.tm_wday + 7;
    return tToday + time_t(iDaysAhead) * llSecondsPerDay;
}

QString nextLookupLine(time_t tNow, time_t tNext)
{
    const qint64 llSpan = qint64(tNext - tNow);
    struct tm next = {};
    ::localtime_r(&tNext, &next);
    return QString::asprintf("Next software update lock-up in %d Days %d Hours %d Minutes %d Seconds at "
                             "%02d.%02d.%04d. %02d:%02d:%02d\n",
                             int(llSpan / llSecondsPerDay), int(llSpan % llSecondsPerDay / 3600),
                             int(llSpan % 3600 / 60), int(llSpan % 60), next.tm_mday, next.tm_mon + 1,
                             next.tm_year + 1900, next.tm_hour, next.tm_min, next.tm_sec);
}

} // namespace

int ComputeNextLookup(quint8 Month, quint8 Day, quint8 Weekday, quint8 Hour, quint8 Minute, const QDateTime &dtNow,
                      qint64 &llNext, QString &sLog)
{
    llNext = 0;
    sLog.clear();
    const time_t tNow = time_t(dtNow.toSecsSinceEpoch());
    struct tm tmNow = {};
    if (!::localtime_r(&tNow, &tmNow))
        return -1;

    time_t tNext = 0;
    if (Month != 0 && Day != 0) {
        tNext = yearlyAt(tmNow, 0, Month, Day, Hour, Minute);
        if (tNext < tNow) {
            tNext = yearlyAt(tmNow, 1, Month, Day, Hour, Minute);
            if (tNext < tNow)
                return -1;
        }
    } else if (Weekday != 0) {
        tNext = weeklyAt(tmNow, tNow, Weekday, Hour, Minute);
    } else {
        return -1;
    }
    if (tNext == time_t(-1))
        return -1;
    llNext = qint64(tNext);
    sLog = nextLookupLine(tNow, tNext);
    return 0;
}

CSwUpdateSchedule::CParameters CSwUpdateSchedule::parametersOf(const CSetFtpSwUpdate &oSetup)
{
    // Each parameter counts as one byte.
    CParameters parameters;
    parameters.Month = quint8(oSetup.Month());
    parameters.Day = quint8(oSetup.Day());
    parameters.Weekday = quint8(oSetup.Weekday());
    parameters.Hour = quint8(oSetup.Hour());
    parameters.Minute = quint8(oSetup.Minute());
    return parameters;
}

int CSwUpdateSchedule::compute(const CParameters &parameters, const QDateTime &dtNow, QList<CLogLine> &aLog)
{
    QString sLog;
    const int iResult = ComputeNextLookup(parameters.Month, parameters.Day, parameters.Weekday, parameters.Hour,
                                          parameters.Minute, dtNow, m_llNext, sLog);
    if (iResult == 0)
        aLog << debugLine(sLog);
    return iResult;
}

bool CSwUpdateSchedule::hasNext(const CParameters &parameters, const QDateTime &dtNow)
{
    qint64 llNext = 0;
    QString sLog;
    return ComputeNextLookup(parameters.Month, parameters.Day, parameters.Weekday, parameters.Hour, parameters.Minute,
                             dtNow, llNext, sLog) == 0;
}

int CSwUpdateSchedule::recompute(const CSetFtpSwUpdate &oSetup, const QDateTime &dtNow, QList<CLogLine> &aLog)
{
    return compute(parametersOf(oSetup), dtNow, aLog);
}

bool CSwUpdateSchedule::IsSwUpdateDue(const CSetFtpSwUpdate &oSetup, const QDateTime &dtNow,
                                      bool &bSwUpdateAfterRestart, QList<CLogLine> &aLog, bool bConsume)
{
    if (!oSetup.Remote()) {
        if (m_bActive) {
            m_bActive = false;
            aLog << warningLine(QStringLiteral("Automatic software update is disabled"));
        }
        bSwUpdateAfterRestart = false;
        return false;
    }

    const CParameters parameters = parametersOf(oSetup);
    if (!m_bActive && compute(parameters, dtNow, aLog) == -1)
        return false;
    m_bActive = true;

    if (!(parameters == m_lastParameters)) {
        m_lastParameters = parameters;
        if (compute(parameters, dtNow, aLog) == -1)
            return false;
    }

    if (bSwUpdateAfterRestart) {
        aLog << debugLine(QStringLiteral("Request software update after every restart"));
        return true;
    }

    if (dtNow.toSecsSinceEpoch() > m_llNext &&
        (bConsume ? compute(parameters, dtNow, aLog) == 0 : hasNext(parameters, dtNow))) {
        // Once per look-up: the looks ahead of the one that starts it say nothing.
        if (bConsume)
            aLog << debugLine(QStringLiteral("Start software update look-up"));
        return true;
    }
    return false;
}
