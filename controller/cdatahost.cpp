// What the link and transfer machine asks of the controller: the dial-up,
// the FTP client, the pending-file scan and the setups it keeps.
#include "app/cpaths.h"
#include "app/cshell.h"
#include "bus/runtimeinterface.h"
#include "controller/cdata.h"
#include "controller/cdialupcommand.h"
#include "controller/cftpclientcommand.h"
#include "controller/cgsmmodule.h"
#include "controller/clogline.h"
#include "controller/ctransferstatusreset.h"
#include "files/cgsmftpentry.h"
#include "files/cinfofile.h"
#include "files/cpendinglistings.h"
#include "files/cpendingscan.h"
#include "log/cmodulelog.h"

#include <netdb.h>

namespace
{

// The public host whose name the link must resolve before anything is sent.
const char *const pszTestHost = "debian.org";

} // namespace

void CData::log(const CLogLine &line)
{
    if (line.eLevel == CLogLine::Warning)
        m_oCalls.warning(__LINE__, line.sText);
    else
        m_oCalls.debug(__LINE__, line.sText);
}

bool CData::gsmModuleReady()
{
    CRunGsm oRunGsm;
    if (!m_oCalls.read(m_pDataRuntime->getRuntimeGsm(), QStringLiteral("getRuntimeGsm"), oRunGsm))
        return false;
    if (isGsmModuleReady(oRunGsm))
        return true;
    m_oCalls.debug(__LINE__, gsmModuleNotReadyText());
    return false;
}

void CData::startDialUp()
{
    Signal_sigRunGsm(0);
    m_oCalls.debug(__LINE__, moduleNameText(m_oRunGsm.moduleName()));
    const QString sCommand = dialupCommand(m_oSetGsmGprs, m_oRunGsm.moduleName());
    m_oCalls.debug(__LINE__, QStringLiteral("CMD ") + sCommand);
    const int iStatus = CShell::instance().run(sCommand);
    if (iStatus != 0)
        m_oCalls.warning(__LINE__, dialupReturnText(iStatus));
}

void CData::stopDialUp()
{
    const int iStatus = CShell::instance().run(stopDialupCommand());
    if (iStatus != 0)
        m_oCalls.warning(__LINE__, commandReturnText(stopDialupCommand(), iStatus));
}

void CData::killDialUp()
{
    m_oCalls.warning(__LINE__, commandReturnText(killDialupCommand(), CShell::instance().run(killDialupCommand())));
}

void CData::killFtpClient()
{
    m_oCalls.warning(__LINE__,
                     commandReturnText(killFtpClientCommand(), CShell::instance().run(killFtpClientCommand())));
}

bool CData::nameResolves()
{
    const QString sHost = dnsTestHost(QString::fromLatin1(pszTestHost));
    m_oCalls.debug(__LINE__, streamItems({QStringLiteral(": Test DNS request for: "), quotedText(sHost)}));
    // Only the name is resolved; no echo request is sent.
    if (!gethostbyname(sHost.toLocal8Bit().constData())) {
        m_oCalls.warning(__LINE__,
                         streamItems({QStringLiteral("ping to '"), quotedText(sHost), QStringLiteral("'' failed")}));
        return false;
    }
    m_oCalls.warning(__LINE__,
                     streamItems({QStringLiteral(": ping to '"), quotedText(sHost), QStringLiteral("' was OK")}));
    return true;
}

void CData::restartModule(int iReason)
{
    m_oCalls.debug(__LINE__,
                   streamItems({QStringLiteral("Send signal sigRestartGprsModule("), QString::number(m_llOwnPid),
                                QStringLiteral(", "), QString::number(iReason), QStringLiteral(")")}));
    emit sigRestartGprsModule(int(m_llOwnPid), iReason);
}

TransferType CData::nextTransfer(bool bConsume, QString &sFileName)
{
    CTransferRequests requests;
    requests.bInfoFileRequested = m_oRequests.bInfoFileRequested;
    requests.bSwUpdateRequested = m_oRequests.bSwUpdateRequested;
    requests.bSwUpdateGuiRequested = m_bSwUpdateGuiRequested;
    QList<CLogLine> aScheduleLog;
    // Only the consuming look, which starts the look-up, moves the schedule.
    const auto fnSwUpdateDue = [this, &aScheduleLog, bConsume] {
        return m_oSwUpdateSchedule.IsSwUpdateDue(m_oSetFtpSwUpdate, QDateTime::currentDateTime(),
                                                 m_bSwUpdateAfterRestart, aScheduleLog, bConsume);
    };
    const CNextTransfer next =
        GetNextTransfer(requests, serverSwitches(m_oSetGsmGprsFtpData, m_oSetGsmGprsFtpService, m_oSetGsmGprsFtpUpdate),
                        fnSwUpdateDue, listPendingFiles(), m_bLtServerEnabled, m_bVpnActive, bConsume);
    m_oRequests.bInfoFileRequested = requests.bInfoFileRequested;
    m_oRequests.bSwUpdateRequested = requests.bSwUpdateRequested;
    m_bSwUpdateGuiRequested = requests.bSwUpdateGuiRequested;
    for (const CLogLine &line : aScheduleLog + next.aLog)
        log(line);
    if (!next.bFound)
        return TransferNone;
    sFileName = next.sFileName;
    return TransferType(next.iType);
}

void CData::runFtpClient(const QString &sOption, const QString &sFileName)
{
    const QString sCommand = ftpClientCommand(sOption, sFileName);
    m_oCalls.debug(__LINE__, quotedText(sCommand));
    const int iStatus = CShell::instance().run(sCommand);
    if (iStatus != 0)
        m_oCalls.warning(__LINE__, ftpClientReturnText(iStatus));
}

void CData::startTransfer(TransferType eType, const QString &sFileName)
{
    if (eType == TransferInfo) {
        QString sPath;
        if (BuildInfoFile(*this, sPath)) {
            m_oCalls.debug(__LINE__, QStringLiteral("INFO-File created, start transfer"));
            runFtpClient(ftpClientOption(eType), sPath);
        } else {
            m_oCalls.warning(__LINE__, QStringLiteral("INFO-File NOT created"));
        }
        return;
    }
    // The look-up after a start is done once it has been handed out.
    if (eType == TransferSwUpdate)
        m_bSwUpdateAfterRestart = false;
    runFtpClient(ftpClientOption(eType), eType == TransferSwUpdate ? QString() : sFileName);
}

bool CData::sendInfoFile()
{
    QString sPath;
    if (!BuildInfoFile(*this, sPath))
        return false;
    runFtpClient(ftpClientOption(TransferInfo), sPath);
    return true;
}

void CData::writeTransferStatus(CRunFtpTransferStatus &status)
{
    m_oCalls.set(m_pDataRuntime, &ComVelkorTankoraRuntimeInterface::setRuntimeFtpTransferStatus, status);
}

void CData::resetTransferStatus()
{
    CRunFtpTransferStatus status = transferStatusResetRecord();
    writeTransferStatus(status);
}

void CData::writeGsmFtpEntry(int iEventCode)
{
    setLogbookGsmFtp(*this, iEventCode);
}

bool CData::serviceServerConfigured() const
{
    return m_oSetGsmGprsFtpService.isEnabled();
}

int CData::idleTimeSeconds() const
{
    return m_oSetGsmGprs.IdleTime();
}

bool CData::linkKeptForLtServerOrVpn() const
{
    return m_bLtServerEnabled || m_bVpnActive;
}

bool CData::offlineRequested() const
{
    return m_bOfflineRequest;
}

void CData::clearOfflineRequest()
{
    m_bOfflineRequest = false;
}

int CData::offlineSeconds() const
{
    return m_iOfflineSeconds;
}
