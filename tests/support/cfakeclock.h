#pragma once

#include "app/cclock.h"

// Time that moves only when the test says so; a blocking sleep simply moves
// it on, so minutes of the vehicle's life pass in microseconds.
class CFakeClock : public CClock
{
public:
    CFakeClock() { CClock::setInstance(this); }
    ~CFakeClock() override { CClock::setInstance(nullptr); }

    qint64 monotonicMs() const override { return m_llNow; }
    void sleepMs(qint64 llMs) override
    {
        m_llSlept += llMs;
        m_llNow += llMs;
    }
    int intervalMs(int iNominalMs) const override { return iNominalMs; }

    void advance(qint64 llMs) { m_llNow += llMs; }
    qint64 slept() const { return m_llSlept; }

private:
    qint64 m_llNow = 1000000;
    qint64 m_llSlept = 0;
};
