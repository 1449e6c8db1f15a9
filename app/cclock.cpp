#include "app/cclock.h"

#include "app/cseam.h"

#include <QThread>

#include <time.h>

CClock::~CClock() = default;

CClock &CClock::instance()
{
    return CSeam<CClock, CSystemClock>::instance();
}

void CClock::setInstance(CClock *pClock)
{
    CSeam<CClock, CSystemClock>::install(pClock);
}

qint64 monotonicMsFrom(qint64 llSeconds, qint64 llNanoseconds)
{
    return llSeconds * 1000 + llNanoseconds / 1000000;
}

qint64 scaledMs(qint64 llNominalMs, double dScale)
{
    if (llNominalMs <= 0)
        return 0;
    if (dScale <= 0.0)
        dScale = 1.0;
    const qint64 llScaled = static_cast<qint64>(static_cast<double>(llNominalMs) / dScale);
    return llScaled < 1 ? 1 : llScaled;
}

double timeScaleFromEnvironment()
{
    bool bOk = false;
    const double dScale = qEnvironmentVariable("FTP_DATA_TIME_SCALE").toDouble(&bOk);
    return (bOk && dScale > 0.0) ? dScale : 1.0;
}

CSystemClock::CSystemClock() : m_dScale(timeScaleFromEnvironment()) {}

qint64 CSystemClock::monotonicMs() const
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    // Scaled time keeps time-outs consistent with the shortened sleeps.
    const qint64 llMs = monotonicMsFrom(ts.tv_sec, ts.tv_nsec);
    return static_cast<qint64>(static_cast<double>(llMs) * m_dScale);
}

void CSystemClock::sleepMs(qint64 llMs)
{
    QThread::msleep(static_cast<unsigned long>(scaledMs(llMs, m_dScale)));
}

int CSystemClock::intervalMs(int iNominalMs) const
{
    return static_cast<int>(scaledMs(iNominalMs, m_dScale));
}
