#pragma once

#include "controller/clogline.h"

#include <QDateTime>
#include <QList>
#include <QString>

class CSetFtpSwUpdate;

// The automatic software-update look-up: once after every start, then
// yearly on Day.Month or weekly on Weekday (1 = Sunday … 7 = Saturday), at
// Hour:Minute of the process's local time. Month, Day and Weekday all 0, or
// only one of Month and Day set, mean no schedule.

// The next look-up after dtNow: 0 with llNext (seconds since 1970) and the
// "Next software update lock-up in …" line in sLog, or -1 when there is none
// (llNext is 0 then). Uses the C library's local time of the process.
int ComputeNextLookup(quint8 Month, quint8 Day, quint8 Weekday, quint8 Hour, quint8 Minute, const QDateTime &dtNow,
                      qint64 &llNext, QString &sLog);

// The schedule state that lives as long as the process.
class CSwUpdateSchedule
{
  public:
    // Whether a look-up is due now. bSwUpdateAfterRestart is the start-up
    // request; it is cleared here when automatic look-up is disabled. Like
    // a request flag, a due look-up stays due for a look that does not
    // consume (bConsume false); the consuming look moves the schedule on.
    bool IsSwUpdateDue(const CSetFtpSwUpdate &oSetup, const QDateTime &dtNow, bool &bSwUpdateAfterRestart,
                       QList<CLogLine> &aLog, bool bConsume = true);

    // A fresh computation with the setup's parameters, as when the setup
    // changes; the next look-up moves, the remembered parameters stay.
    int recompute(const CSetFtpSwUpdate &oSetup, const QDateTime &dtNow, QList<CLogLine> &aLog);

    bool isActive() const { return m_bActive; }
    qint64 nextLookup() const { return m_llNext; }

  private:
    struct CParameters {
        quint8 Month = 0, Day = 0, Weekday = 0, Hour = 0, Minute = 0;
        bool operator==(const CParameters &o) const
        {
            return Month == o.Month && Day == o.Day && Weekday == o.Weekday && Hour == o.Hour && Minute == o.Minute;
        }
    };
    static CParameters parametersOf(const CSetFtpSwUpdate &oSetup);
    int compute(const CParameters &parameters, const QDateTime &dtNow, QList<CLogLine> &aLog);
    // Whether a next look-up exists, without moving the schedule.
    static bool hasNext(const CParameters &parameters, const QDateTime &dtNow);

    bool m_bActive = false;
    qint64 m_llNext = 0;
    CParameters m_lastParameters;
};
