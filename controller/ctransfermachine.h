#pragma once

#include "controller/cstates.h"
#include "controller/ctransferhost.h"
#include "records/ccommrecords.h"

#include <QtGlobal>

// The ten-state machine that brings the GPRS link up only when something
// waits, sends the waiting files one by one, takes the link down when idle
// and restarts the GSM module when failures repeat. One call of step() is
// one cycle of the controller's cycle timer.
class CTransferMachine
{
public:
    static constexpr int CycleMs = 5000;
    static constexpr int CycleAfterResetMs = 30000;

    explicit CTransferMachine(CTransferHost &host);

    // Runs the current state once; returns the nominal interval until the
    // next cycle.
    int step();
    // On every new bus connection: idle, with the counters cleared.
    void resetOnConnect();

    int state() const { return m_iState; }
    void setState(int iState) { m_iState = iState; }
    int pppRetryCounter() const { return m_iPppRetryCounter; }
    int dnsFailureCount() const { return m_iDnsFailureCount; }
    int transferFailureCount() const { return m_iTransferFailureCount; }
    TransferType currentTransferType() const { return m_eCurrentTransferType; }
    bool gpsTransferActive() const { return m_bGpsTransferActive; }

    // Reports of the dial-up and the FTP client, from the bus.
    void setPppdUp(bool bUp) { m_bPppdUp = bUp; }
    void setPppdStopped(bool bStopped) { m_bPppdStopped = bStopped; }
    bool pppdUp() const { return m_bPppdUp; }
    bool pppdStopped() const { return m_bPppdStopped; }
    // A status update of the FTP client: the wait for the result starts
    // afresh, and a final state in the running transfer's group ends it.
    // Returns the path of a failed test file to remove, or an empty text.
    QString takeStatusUpdate(const CRunFtpTransferStatus &oStatus);
    void setTransferFinished(bool bWithError);
    bool transferFinished() const { return m_bTransferFinished; }
    bool transferFinishedWithError() const { return m_bTransferFinishedError; }

private:
    int stepIdle(qint64 llNow);
    int stepGprsWait(qint64 llNow);
    int stepStartup(qint64 llNow);
    int stepStartupWait(qint64 llNow);
    int stepSendInfoFile(qint64 llNow);
    int stepTransferActive(qint64 llNow);
    int stepWaitFinish(qint64 llNow);
    int stepTransferFinished(qint64 llNow);
    int stepShutdown(qint64 llNow);
    int stepDisabled(qint64 llNow);

    // "killall pppd", 30 s, "killall -9 pppd", module restart, back to idle.
    int moduleReset();
    void goOffline(qint64 llNow);
    void finishShutdown();
    void warnTxProblem();
    void sleepMs(qint64 llMs);
    void debug(const QString &sText) { m_host.log(debugLine(sText)); }
    void warning(const QString &sText) { m_host.log(warningLine(sText)); }

    CTransferHost &m_host;
    int m_iState = PPP_IDLE;
    int m_iPreviousState = PPP_IDLE;
    qint64 m_llStateTime = 0;
    qint64 m_llDnsWaitTime = 0;
    qint64 m_llWaitTime = 0;
    bool m_bWaitTimePending = false;
    qint64 m_llIdleTime = 0;
    qint64 m_llDisableTime = 0;
    int m_iPppRetryCounter = 0;
    int m_iDnsFailureCount = 0;
    int m_iTransferFailureCount = 0;
    bool m_bPppdUp = false;
    bool m_bPppdStopped = false;
    bool m_bTransferFinished = false;
    bool m_bTransferFinishedError = false;
    bool m_bGpsTransferActive = false;
    TransferType m_eCurrentTransferType = TransferNone;
};

// Whether more than llSpanMs have passed since llSince (strictly).
inline bool hasPassed(qint64 llNow, qint64 llSince, qint64 llSpanMs)
{
    return llNow > llSince + llSpanMs;
}
