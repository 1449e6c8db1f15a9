#pragma once

#include <QtGlobal>

// Time as the controller sees it: monotonic milliseconds, blocking sleeps and
// timer intervals. Tests install a fake; demos speed the daemon up with
// $FTP_DATA_TIME_SCALE, which divides every interval and sleep.
class CClock
{
public:
    virtual ~CClock();

    virtual qint64 monotonicMs() const = 0;
    virtual void sleepMs(qint64 llMs) = 0;
    // The interval a timer really runs with for a nominal interval.
    virtual int intervalMs(int iNominalMs) const = 0;

    static CClock &instance();
    // Takes no ownership; nullptr restores the system clock.
    static void setInstance(CClock *pClock);
};

// Monotonic seconds * 1000 + nanoseconds / 1 000 000, as a signed 64-bit value.
qint64 monotonicMsFrom(qint64 llSeconds, qint64 llNanoseconds);

// A nominal interval divided by the time scale, never below 1 ms unless it was 0.
qint64 scaledMs(qint64 llNominalMs, double dScale);

// The time scale from $FTP_DATA_TIME_SCALE; 1 when unset or not a positive number.
double timeScaleFromEnvironment();

class CSystemClock : public CClock
{
public:
    CSystemClock();
    qint64 monotonicMs() const override;
    void sleepMs(qint64 llMs) override;
    int intervalMs(int iNominalMs) const override;

private:
    double m_dScale;
};
