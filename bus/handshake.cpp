#include "app/cpaths.h"
#include "app/cshell.h"
#include "bus/handshaketexts.h"
#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "bus/thread.h"
#include "controller/cdata.h"
#include "controller/cgsmmodule.h"
#include "log/cmodulelog.h"
#include "trigger/cftltrigger.h"

#include <QDir>
#include <QTimer>

void CData::SendsigTrigger()
{
    emit sigTrigger(int(m_llOwnPid));
}

void CData::onsigGetName(int iPID, int iAppID)
{
    m_oCalls.debug(__LINE__, QStringLiteral("onsigGetName()"));
    if (!isAddressedToUs(iPID, iAppID, m_llOwnPid))
        return;
    m_oCalls.debug(__LINE__, QStringLiteral("SetGetName(...,'FTP1'');"));
    emit sigSendName(int(m_llOwnPid), busShortName());
}

void CData::onsigProcessStart(int iProcess, int iAppID)
{
    if (!isAddressedToUs(iProcess, iAppID, m_llOwnPid))
        return;
    m_oCalls.warning(__LINE__, processStartText(daemonVersionText()));
    if (m_bProcessStarted)
        return;

    restartLtClient();
    createLogTxDirectory();
    m_bProcessStarted = true;
    startHeartbeatThread();
    reportSoftwareVersion();

    readFtpUpdateSetup();
    readFtpDataSetup();
    readFtpServiceSetup();
    readSwUpdateSetup();
    readGeneralSetup();
    readLtServerSetup();
    readVpnRuntime();
    readGpsTrackingSetup();
    readGsmGprsSetupAtStart();
    readGsmRuntimeAtStart();
    startTriggerMonitor();
}

void CData::startTriggerMonitor()
{
    m_pFtlTrigger = new CFtlTrigger(m_llOwnPid, this);
    m_pFtlTrigger->init(m_pDataSetup, m_pDataRuntime);
    m_oCalls.warning(__LINE__, QStringLiteral("FTL triggers connected"));
    // Only changes from now on raise event files, not what init() found.
    connect(m_pFtlTrigger, &CFtlTrigger::sigStartEventFile, this, &CData::onSigStartEventFile);
}

void CData::restartLtClient()
{
    const QString asCommands[] = {ltClientStopCommand(),
                                  ltClientStartCommand(rootedPath(QStringLiteral("/usr/bin/Tankora/lt_client")))};
    for (const QString &sCommand : asCommands) {
        const int iStatus = CShell::instance().run(sCommand);
        if (iStatus != 0)
            m_oCalls.debug(__LINE__, quotedText(sCommand) + QStringLiteral(" returns ") + QString::number(iStatus));
    }
}

void CData::createLogTxDirectory()
{
    const QString sPath = rootedPath(QStringLiteral("/var/log/log_tx"));
    QDir dir;
    if (dir.exists(sPath))
        return;
    m_oCalls.debug(__LINE__, directoryCreationText(sPath, dir.mkdir(sPath)));
}

void CData::startHeartbeatThread()
{
    m_pHeartbeatThread = new Thread();
    m_pHeartbeatThread->start(QThread::InheritPriority);
    // From now on the thread alone sends the heartbeat.
    m_pHeartbeatTimer->stop();
}

void CData::reportSoftwareVersion()
{
    CRunGeneralNonWM oRunGeneral;
    oRunGeneral.setSoftwareVersions(CTextMap{{versionMapName(), daemonVersionText()}});
    // Fire and forget: the start-up does not wait for the service to store it.
    m_pDataRuntime->setRuntimeGeneralNonWM(int(m_llOwnPid), oRunGeneral.toByteArray());
}

void CData::readGsmGprsSetupAtStart()
{
    if (m_oCalls.get(m_pDataSetup->getSetupGsmGprs(), QStringLiteral("getSetupGsmGprs"), m_oSetGsmGprs).isNull()) {
        // Without a setup the link still gets a sane idle time.
        m_oSetGsmGprs.setUser(QString());
        m_oSetGsmGprs.setApn(QString());
        m_oSetGsmGprs.setPassword(QString());
        m_oSetGsmGprs.setDns1(QString());
        m_oSetGsmGprs.setDns2(QString());
        m_oSetGsmGprs.setTimeout(120);
        m_oSetGsmGprs.setIdleTime(120);
        return;
    }
    m_oCalls.debug(__LINE__,
                   streamItems({QStringLiteral("getSetupGsmGprs successfull with data: m_oSetGsmGprs.getAPN()"),
                                quotedText(m_oSetGsmGprs.apn())}));
}

void CData::readGsmRuntimeAtStart()
{
    if (m_oCalls.get(m_pDataRuntime->getRuntimeGsm(), QStringLiteral("getRuntimeGsm"), m_oRunGsm, ENullLog::Debug)
            .isNull())
        return;
    m_oCalls.debug(__LINE__, moduleNameText(m_oRunGsm.moduleName()));
}
