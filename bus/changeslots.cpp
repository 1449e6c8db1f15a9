#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"
#include "files/cpendingscan.h"
#include "files/ctestfiles.h"
#include "log/cmodulelog.h"
#include "records/creplycode.h"

#include <QFile>

// Every change signal carries the writer's process id; what the daemon wrote
// itself is already known and is not read back.

void CData::onSigOfflineMode(int iProcessID, int iSeconds)
{
    const bool bOwnRequest = m_oCalls.isOwn(iProcessID);
    if (bOwnRequest)
        return;
    m_iOfflineSeconds = iSeconds;
    m_bOfflineRequest = true;
    m_oCalls.warning(__LINE__, streamItems({QStringLiteral("signal 'onSigOfflineMode' received. Seconds: "),
                                            QString::number(iSeconds)}));
}

void CData::Signal_sigTriggerFtpTransfer(int iProcess)
{
    if (!m_oCalls.acceptChange(iProcess, QStringLiteral("sigTriggerFtpTransfer")))
        return;
    // An empty record counts as none at all: the reply is judged with the trigger handling.
    const CTransferTriggerOutcome outcome = handleTransferTriggerReply(
        CBusCalls::replyBytes(m_pDataRuntime->getRuntimeTriggerFtpTransfer()), m_oRunTriggerFtpTransfer,
        serverSwitches(m_oSetGsmGprsFtpData, m_oSetGsmGprsFtpService, m_oSetGsmGprsFtpUpdate), m_oRequests);
    runTriggerActions(outcome.aActions);
    // The handled requests go back cleared, so the operator sees them taken.
    if (outcome.bWriteBack &&
        m_oCalls.set(m_pDataRuntime, &ComVelkorTankoraRuntimeInterface::setRuntimeTriggerFtpTransfer,
                     m_oRunTriggerFtpTransfer) == REPLY_SUCCESS)
        m_oCalls.debug(__LINE__, QStringLiteral("setRuntimeTriggerFtpTransfer sent"));
}

void CData::onSigStartEventFile(bool bForced)
{
    runTriggerActions(handleAutoEventTrigger(
        bForced, serverSwitches(m_oSetGsmGprsFtpData, m_oSetGsmGprsFtpService, m_oSetGsmGprsFtpUpdate), m_oRequests));
}

void CData::runTriggerActions(const QList<CTriggerAction> &aActions)
{
    for (const CTriggerAction &action : aActions) {
        log(action.line);
        if (action.bRefuse) {
            m_oRunFtpTransferStatus.setState(action.eRefuseGroup, FtpTransferFinishedError);
            writeTransferStatus(m_oRunFtpTransferStatus);
        }
        if (action.iCreateTestFile != 0)
            CreateTestFile(*this, testFilePrefix(action.iCreateTestFile));
    }
}

void CData::Signal_sigRunGsmGprs(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    if (m_oCalls.get(m_pDataRuntime->getRuntimeGsmGprs(), QStringLiteral("getRuntimeGsmGprs"), m_oRunGsmGprs).isNull())
        return;
    const int iMode = m_oRunGsmGprs.mode();
    if (iMode == 1) {
        m_oMachine.setPppdUp(true);
        m_sRemoteIp = m_oRunGsmGprs.remoteIp();
        m_oCalls.debug(__LINE__,
                       QString::asprintf("pppd active sInterface_name: %s sTty_device: %s iSpeed %d remote "
                                         "IP: '%s' Local IP: '%s'\n",
                                         qPrintable(m_oRunGsmGprs.interfaceName()),
                                         qPrintable(m_oRunGsmGprs.ttyDevice()), m_oRunGsmGprs.speed(),
                                         qPrintable(m_oRunGsmGprs.remoteIp()), qPrintable(m_oRunGsmGprs.localIp())));
    } else if (iMode == 3) {
        m_oCalls.debug(__LINE__, QStringLiteral("pppd not active"));
        m_oMachine.setPppdUp(false);
        m_oMachine.setPppdStopped(true);
        m_sRemoteIp.clear();
    }
    m_oCalls.debug(__LINE__, streamItems({QStringLiteral("Received sigRunGsmGprs! Mode = "), QString::number(iMode)}));
}

void CData::Signal_sigRunGsm(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    m_oCalls.get(m_pDataRuntime->getRuntimeGsm(), QStringLiteral("getRuntimeGsm"), m_oRunGsm);
}

void CData::Signal_sigRuntimeFtpTransferStatus(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    // Fields whose change flag is clear keep what the cache held.
    if (m_oCalls
            .get(m_pDataRuntime->getRuntimeFtpTransferStatus(), QStringLiteral("'getRuntimeFtpTransferStatus'"),
                 m_oRunFtpTransferStatus)
            .isNull())
        return;
    m_oCalls.debug(__LINE__, QStringLiteral("'getRuntimeFtpTransferStatus' received"));
    // The wait for the result counts from the last status update.
    const QString sRemovePath = m_oMachine.takeStatusUpdate(m_oRunFtpTransferStatus);
    if (!sRemovePath.isEmpty())
        QFile::remove(sRemovePath);
}

void CData::Signal_RuntimeVpnChanged(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    readVpnRuntime();
}

void CData::Signal_sigSetupGsmGprsFtpUpdate(int iProcessID)
{
    if (m_oCalls.acceptChange(iProcessID, QStringLiteral("sigSetupGsmGprsFtpUpdate")))
        readFtpUpdateSetup();
}

void CData::Signal_sigSetupGsmGprsFtpData(int iProcessID)
{
    if (m_oCalls.acceptChange(iProcessID, QStringLiteral("sigSetupGsmGprsFtpData")))
        readFtpDataSetup();
}

void CData::Signal_sigSetupGsmGprsFtpService(int iProcessID)
{
    if (m_oCalls.acceptChange(iProcessID, QStringLiteral("sigSetupGsmGprsFtpService")))
        readFtpServiceSetup();
}

void CData::Signal_sigSetupGsmGprs(int iProcessID)
{
    if (!m_oCalls.acceptChange(iProcessID, QStringLiteral("sigSetupGsmGprs")))
        return;
    // New values take effect at the next dial-up start and idle check.
    m_oCalls.getNoted(m_pDataSetup->getSetupGsmGprs(), QStringLiteral("getSetupGsmGprs"), m_oSetGsmGprs,
                      QStringLiteral("Received sigSetGsmGprs!"));
}

void CData::Signal_sigSetFtpSwUpdate(int iProcessID)
{
    if (m_oCalls.acceptChange(iProcessID, QStringLiteral("getSetupFtpSwUpdate")))
        readSwUpdateSetup();
}

void CData::Signal_sigSetupGeneralNonWM(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    readGeneralSetup();
}

void CData::Signal_SetupLtServerChanged(int iProcessID)
{
    if (m_oCalls.isOwn(iProcessID))
        return;
    readLtServerSetup();
}

void CData::Signal_SetupGpsTrackingChanged(int iProcessID)
{
    m_oCalls.debug(
        __LINE__, streamItems({QStringLiteral("setupGpsTracking("), QString::number(iProcessID), QStringLiteral(")")}));
    if (m_oCalls.isOwn(iProcessID))
        return;
    readGpsTrackingSetup();
}
