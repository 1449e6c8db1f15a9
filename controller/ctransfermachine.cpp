#include "controller/ctransfermachine.h"

#include "app/cclock.h"
#include "controller/ctransferverdict.h"
#include "log/cmodulelog.h"

namespace
{

constexpr qint64 GprsWaitMs = 30000;
constexpr qint64 StartupTimeoutMs = 120000;
constexpr qint64 DnsWaitMs = 30000;
constexpr qint64 TransferTimeoutMs = 180000;
constexpr qint64 ShutdownTimeoutMs = 30000;
constexpr qint64 ResetSleepMs = 30000;
constexpr qint64 SettleSleepMs = 5000;
constexpr qint64 DnsRetrySleepMs = 1000;
constexpr int DnsTestsPerCycle = 10;
constexpr int MaxPppRetries = 3;
constexpr int MaxDnsFailures = 3;
constexpr int MaxTransferFailures = 3;
constexpr int GsmFtpOffline = 9228;
constexpr int GsmFtpOnlineAgain = 9229;

QString trueFalse(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

bool keepsLinkOnly(TransferType eType)
{
    return eType == TransferLtServer || eType == TransferVpn;
}

} // namespace

CTransferMachine::CTransferMachine(CTransferHost &host) : m_host(host) {}

void CTransferMachine::resetOnConnect()
{
    m_iState = PPP_IDLE;
    m_iPreviousState = PPP_IDLE;
    m_iTransferFailureCount = 0;
    m_iDnsFailureCount = 0;
    m_bGpsTransferActive = false;
}

void CTransferMachine::setTransferFinished(bool bWithError)
{
    m_bTransferFinished = true;
    if (bWithError)
        m_bTransferFinishedError = true;
}

QString CTransferMachine::takeStatusUpdate(const CRunFtpTransferStatus &oStatus)
{
    m_bWaitTimePending = true; // the wait counts from the last update
    const CTransferVerdict verdict = judgeTransferStatus(m_eCurrentTransferType, oStatus);
    if (!verdict.bJudged)
        return QString();
    m_host.log(verdict.progress);
    if (!verdict.result.sText.isEmpty())
        m_host.log(verdict.result);
    if (verdict.bFinished)
        setTransferFinished(verdict.bFinishedWithError);
    return verdict.sRemovePath;
}

void CTransferMachine::sleepMs(qint64 llMs)
{
    CClock::instance().sleepMs(llMs);
}

int CTransferMachine::step()
{
    if (m_iState != m_iPreviousState)
        debug(stateChangeLine(m_iState));
    m_iPreviousState = m_iState;

    const qint64 llNow = CClock::instance().monotonicMs();
    switch (m_iState) {
    case PPP_IDLE: return stepIdle(llNow);
    case GPRS_WAIT: return stepGprsWait(llNow);
    case PPP_STARTUP: return stepStartup(llNow);
    case PPP_STARTUP_WAIT: return stepStartupWait(llNow);
    case SEND_INFO_FILE: return stepSendInfoFile(llNow);
    case FILE_TRANSFER_ACTIVE: return stepTransferActive(llNow);
    case FILE_WAIT_FINISH: return stepWaitFinish(llNow);
    case FILE_TRANSFER_FINISHED: return stepTransferFinished(llNow);
    case PPP_SHUTDOWN: return stepShutdown(llNow);
    case PPP_DISABLED: return stepDisabled(llNow);
    }
    return CycleMs;
}

int CTransferMachine::stepIdle(qint64 llNow)
{
    if (m_host.gsmModuleReady()) {
        m_iState = GPRS_WAIT;
        m_llStateTime = llNow;
    }
    return CycleMs;
}

int CTransferMachine::stepGprsWait(qint64 llNow)
{
    QString sFileName;
    // The link comes up only when something waits.
    if (hasPassed(llNow, m_llStateTime, GprsWaitMs) && m_host.nextTransfer(false, sFileName) != TransferNone) {
        warning(QStringLiteral("start the 'pppd' process"));
        m_iState = PPP_STARTUP;
        m_host.startDialUp();
        m_llStateTime = CClock::instance().monotonicMs();
    }
    return CycleMs;
}

int CTransferMachine::stepStartup(qint64 llNow)
{
    if (m_bPppdUp) {
        debug(QStringLiteral("Wait for DNS"));
        m_iState = PPP_STARTUP_WAIT;
        m_llDnsWaitTime = llNow;
        m_iPppRetryCounter = 0;
    }
    if (hasPassed(llNow, m_llStateTime, StartupTimeoutMs)) {
        warning(QStringLiteral("Timeout starting 'PPPD'"));
        m_host.stopDialUp();
        sleepMs(ResetSleepMs);
        m_iState = PPP_IDLE;
        if (m_iPppRetryCounter < MaxPppRetries) {
            debug(streamItems({QStringLiteral("PPP retry: "), QString::number(m_iPppRetryCounter)}));
            ++m_iPppRetryCounter;
        } else {
            warning(streamItems(
                {QStringLiteral("To many PPP retries -> Restart module - "), QString::number(m_iPppRetryCounter)}));
            m_host.killDialUp();
            m_host.killFtpClient();
            m_host.restartModule(0);
            m_iPppRetryCounter = 1;
        }
    }
    return CycleMs;
}

int CTransferMachine::stepStartupWait(qint64)
{
    for (int i = 0; i < DnsTestsPerCycle; ++i) {
        if (m_host.nameResolves()) {
            m_iState = m_host.serviceServerConfigured() ? SEND_INFO_FILE : FILE_TRANSFER_ACTIVE;
            break;
        }
        sleepMs(DnsRetrySleepMs);
    }
    if (m_iState == SEND_INFO_FILE || m_iState == FILE_TRANSFER_ACTIVE)
        return CycleMs;
    // The tests above may have slept: judge the wait by the time after them.
    if (!hasPassed(CClock::instance().monotonicMs(), m_llDnsWaitTime, DnsWaitMs))
        return CycleMs;

    warning(QStringLiteral("PPP_STARTUP_WAIT timeout  => stop pppd"));
    m_bGpsTransferActive = false;
    m_bPppdStopped = false;
    ++m_iDnsFailureCount;
    m_iState = PPP_SHUTDOWN;
    debug(streamItems({QStringLiteral("DNS failed. Count :"), QString::number(m_iDnsFailureCount)}));
    if (m_iDnsFailureCount > MaxDnsFailures) {
        warning(streamItems({QStringLiteral("DNS not reachable after "), QString::number(MaxDnsFailures),
                             QStringLiteral(" retry. Reset GPRS module")}));
        m_iDnsFailureCount = 0;
        return moduleReset();
    }
    m_host.stopDialUp();
    return CycleMs;
}

int CTransferMachine::moduleReset()
{
    m_host.stopDialUp();
    sleepMs(ResetSleepMs);
    m_host.killDialUp();
    m_host.restartModule(0);
    m_iTransferFailureCount = 0;
    m_iState = PPP_IDLE;
    return CycleAfterResetMs;
}

int CTransferMachine::stepSendInfoFile(qint64)
{
    m_bTransferFinished = false;
    m_bTransferFinishedError = false;
    if (!m_host.sendInfoFile()) {
        warning(QStringLiteral("INFO-File NOT created"));
        return CycleMs;
    }
    m_eCurrentTransferType = TransferInfo;
    m_bWaitTimePending = true;
    m_iState = FILE_WAIT_FINISH;
    m_llWaitTime = CClock::instance().monotonicMs();
    warning(QStringLiteral("INFO-File created"));
    return CycleMs;
}

int CTransferMachine::stepTransferActive(qint64)
{
    debug(QStringLiteral("FILE_TRANSFER_ACTIVE"));
    QString sFileName;
    const TransferType eType = m_host.nextTransfer(true, sFileName);
    if (eType == TransferNone)
        return CycleMs;

    warning(streamItems({QStringLiteral("Start transfer: TransferType "), QString::number(int(eType)),
                         QStringLiteral(" Filename "), sFileName}));
    m_bTransferFinished = false;
    m_bTransferFinishedError = false;
    m_eCurrentTransferType = eType;
    if (keepsLinkOnly(eType)) {
        m_bTransferFinished = true;
        m_iState = FILE_TRANSFER_FINISHED;
        return CycleMs;
    }
    if (eType == TransferGps)
        m_bGpsTransferActive = true;
    m_host.startTransfer(eType, sFileName);
    m_bWaitTimePending = true;
    m_llWaitTime = CClock::instance().monotonicMs();
    m_iState = FILE_WAIT_FINISH;
    return CycleMs;
}

int CTransferMachine::stepWaitFinish(qint64 llNow)
{
    if (m_bWaitTimePending) {
        m_bWaitTimePending = false;
        m_llWaitTime = llNow;
    }
    // A transfer that stays silent is abandoned but not counted as failed.
    if (hasPassed(llNow, m_llWaitTime, TransferTimeoutMs)) {
        warning(QStringLiteral("Timeout in FTP-Transfer"));
        m_iState = FILE_TRANSFER_FINISHED;
        m_llIdleTime = llNow;
        m_bGpsTransferActive = false;
    }
    if (m_bTransferFinished) {
        if (!m_bTransferFinishedError)
            m_iTransferFailureCount = 0;
        warning(QStringLiteral("File transfer finished"));
        m_iState = FILE_TRANSFER_FINISHED;
        m_llIdleTime = llNow;
        m_bGpsTransferActive = false;
    }
    return CycleMs;
}

void CTransferMachine::goOffline(qint64 llNow)
{
    m_host.clearOfflineRequest();
    m_host.stopDialUp();
    debug(QStringLiteral("stop pppd"));
    m_iState = PPP_DISABLED;
    m_llDisableTime = llNow;
}

int CTransferMachine::stepTransferFinished(qint64 llNow)
{
    if (m_bTransferFinished && m_bTransferFinishedError) {
        ++m_iTransferFailureCount;
        warning(streamItems({QStringLiteral("Transfer failed. Count :"), QString::number(m_iTransferFailureCount)}));
        if (m_iTransferFailureCount > MaxTransferFailures) {
            warning(QStringLiteral("Reset GPRS module"));
            return moduleReset();
        }
        if (!m_host.nameResolves()) {
            m_host.stopDialUp();
            debug(QStringLiteral("stop pppd"));
            m_bGpsTransferActive = false;
            m_bPppdStopped = false;
            m_iState = PPP_SHUTDOWN;
            return CycleMs;
        }
        // Counted once; the next transfer starts clean.
        m_bTransferFinishedError = false;
    }

    QString sFileName;
    const TransferType ePending = m_host.nextTransfer(false, sFileName);
    if (ePending == TransferNone) {
        if (m_host.linkKeptForLtServerOrVpn()) {
            // The idle check below still runs in this step.
            if (m_host.offlineRequested())
                goOffline(llNow);
            else
                m_llIdleTime = llNow;
        }
        if (hasPassed(llNow, m_llIdleTime, qint64(m_host.idleTimeSeconds()) * 1000)) {
            debug(streamItems({QStringLiteral("stop pppd after "), QString::number(m_host.idleTimeSeconds()),
                               QStringLiteral(" seconds (CSetGsmGprs.IdleTime)")}));
            m_bGpsTransferActive = false;
            m_bPppdStopped = false;
            m_iState = PPP_SHUTDOWN;
            m_llIdleTime = llNow;
            m_host.stopDialUp();
        }
        return CycleMs;
    }
    if (keepsLinkOnly(ePending)) {
        if (m_host.offlineRequested()) {
            goOffline(llNow);
            m_host.writeGsmFtpEntry(GsmFtpOffline);
        }
        return CycleMs;
    }
    m_iState = FILE_TRANSFER_ACTIVE;
    return CycleMs;
}

void CTransferMachine::warnTxProblem()
{
    warning(streamItems({QStringLiteral("Possible TX problem - Finished: "), trueFalse(m_bTransferFinished),
                         QStringLiteral(" - FinishedError: "), trueFalse(m_bTransferFinishedError)}));
    m_host.restartModule(0);
}

void CTransferMachine::finishShutdown()
{
    sleepMs(SettleSleepMs);
    debug(QStringLiteral("pppd stopped"));
    m_host.resetTransferStatus();
    m_iState = PPP_IDLE;
}

int CTransferMachine::stepShutdown(qint64 llNow)
{
    if (m_bPppdStopped) {
        if (m_bTransferFinishedError)
            warnTxProblem();
        finishShutdown();
    } else if (hasPassed(llNow, m_llIdleTime, ShutdownTimeoutMs)) {
        warnTxProblem();
        finishShutdown();
    }
    return CycleMs;
}

int CTransferMachine::stepDisabled(qint64 llNow)
{
    if (hasPassed(llNow, m_llDisableTime, qint64(m_host.offlineSeconds()) * 1000)) {
        sleepMs(SettleSleepMs);
        debug(QStringLiteral("pppd disable time ends"));
        m_host.resetTransferStatus();
        m_host.writeGsmFtpEntry(GsmFtpOnlineAgain);
        m_iState = PPP_IDLE;
    }
    return CycleMs;
}
