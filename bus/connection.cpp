#include "app/cclock.h"
#include "bus/logbookinterface.h"
#include "bus/runtimeinterface.h"
#include "bus/runtimewminterface.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"

#include <QDBusConnection>
#include <QTimer>

void CData::connectDbus()
{
    m_pConnectTimer->stop();

    const bool bSession = m_iUseSessionBus != 0;
    const QString sName = bSession ? sessionConnectionName() : m_sTcpBusName;
    QDBusConnection bus = bSession ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, sName)
                                   : QDBusConnection::connectToBus(m_sTcpBusAddress, sName);

    if (!bus.isConnected()) {
        if (bSession)
            qDebug() << "Can't connect to session bus!";
        else
            qDebug() << "Can't connect to " << m_sTcpBusAddress << "," << m_sTcpBusName;
        // Qt keeps a failed connection under its name and would hand the
        // same dead one back; drop it so the next attempt dials afresh.
        QDBusConnection::disconnectFromBus(sName);
        m_pConnectTimer->start(CClock::instance().intervalMs(m_iDbusConnectionRetry));
        return;
    }
    if (bSession)
        qDebug() << "Connected to session bus!";
    else
        qDebug() << "Connected to " << m_sTcpBusAddress << "," << m_sTcpBusName;

    createProxies(bus);
    subscribeProxySignals();
    if (!bus.registerObject(QStringLiteral("/Signals"), this, QDBusConnection::ExportAdaptors))
        m_oCalls.warning(__LINE__, QStringLiteral("Can't register /Signals: ") + bus.lastError().message());

    connect(m_pCycleTimer, &QTimer::timeout, this, &CData::datad);
    connect(m_pHeartbeatTimer, &QTimer::timeout, this, &CData::SendsigTrigger);

    subscribeBusSignals(bus);

    m_pHeartbeatTimer->start(CClock::instance().intervalMs(1000));
    m_pCycleTimer->start(CClock::instance().intervalMs(5000));

    m_bConnected = true;
    m_bProcessStarted = false;
    resetLinkState();
    installSignalPath();
}

QString CData::sessionConnectionName()
{
    return QStringLiteral("ftp_data");
}

void CData::createProxies(const QDBusConnection &bus)
{
    const QString sService = QStringLiteral("com.Velkor.Tankora");
    m_pDataSetup = new ComVelkorTankoraSetupInterface(sService, QStringLiteral("/SetupData"), bus, this);
    m_pDataRuntime = new ComVelkorTankoraRuntimeInterface(sService, QStringLiteral("/RuntimeData"), bus, this);
    m_pDataRuntimeWM = new ComVelkorTankora_WMRuntime_WMInterface(QStringLiteral("com.Velkor.Tankora_WM"),
                                                                  QStringLiteral("/RuntimeData_WM"), bus, this);
    m_pDataLogbook = new ComVelkorTankoraLogbookInterface(sService, QStringLiteral("/Logbook"), bus, this);
    applyBusCallTimeout();
}

void CData::setBusCallTimeoutMs(int iMs)
{
    m_iBusCallTimeoutMs = iMs;
    applyBusCallTimeout();
}

// The trigger monitor calls through the same proxies, so this covers its gets too.
void CData::applyBusCallTimeout()
{
    for (QDBusAbstractInterface *pProxy : std::initializer_list<QDBusAbstractInterface *>{
             m_pDataSetup, m_pDataRuntime, m_pDataRuntimeWM, m_pDataLogbook}) {
        if (pProxy)
            pProxy->setTimeout(m_iBusCallTimeoutMs);
    }
}

void CData::subscribeProxySignals()
{
    using CRuntime = ComVelkorTankoraRuntimeInterface;
    using CSetup = ComVelkorTankoraSetupInterface;
    connect(m_pDataRuntime, &CRuntime::sigRuntimeTriggerFtpTransfer, this, &CData::Signal_sigTriggerFtpTransfer);
    // The link state first, then the module state read with it.
    connect(m_pDataRuntime, &CRuntime::sigRuntimeGsmGprs, this, &CData::Signal_sigRunGsmGprs);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeGsmGprs, this, &CData::Signal_sigRunGsm);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeFtpTransferStatus, this, &CData::Signal_sigRuntimeFtpTransferStatus);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeVpn, this, &CData::Signal_RuntimeVpnChanged);
    connect(m_pDataSetup, &CSetup::sigSetupGsmGprsFtpUpdate, this, &CData::Signal_sigSetupGsmGprsFtpUpdate);
    connect(m_pDataSetup, &CSetup::sigSetupGsmGprsFtpData, this, &CData::Signal_sigSetupGsmGprsFtpData);
    connect(m_pDataSetup, &CSetup::sigSetupGsmGprsFtpService, this, &CData::Signal_sigSetupGsmGprsFtpService);
    connect(m_pDataSetup, &CSetup::sigSetupGsmGprs, this, &CData::Signal_sigSetupGsmGprs);
    connect(m_pDataSetup, &CSetup::sigSetupFtpSwUpdate, this, &CData::Signal_sigSetFtpSwUpdate);
    connect(m_pDataSetup, &CSetup::sigSetupGeneralNonWM, this, &CData::Signal_sigSetupGeneralNonWM);
    connect(m_pDataSetup, &CSetup::sigSetupLTServer, this, &CData::Signal_SetupLtServerChanged);
    connect(m_pDataSetup, &CSetup::sigSetupGpsTracking, this, &CData::Signal_SetupGpsTrackingChanged);
}

void CData::subscribeBusSignals(QDBusConnection &bus)
{
    // The supervisor may speak from any name and path.
    const QString sInterface = QStringLiteral("com.Velkor.Tankora.Signals");
    const struct {
        const char *pszSignal;
        const char *pszSlot;
    } aSubscriptions[] = {
        {"sigGetName", SLOT(onsigGetName(int, int))},
        {"sigProcessStart", SLOT(onsigProcessStart(int, int))},
        {"sigOfflineMode", SLOT(onSigOfflineMode(int, int))},
    };
    for (const auto &subscription : aSubscriptions) {
        if (!bus.connect(QString(), QString(), sInterface, QLatin1String(subscription.pszSignal), this,
                         subscription.pszSlot))
            m_oCalls.warning(__LINE__, QStringLiteral("Can't subscribe to ") + QLatin1String(subscription.pszSignal));
    }
}

void CData::resetLinkState()
{
    m_oMachine.resetOnConnect();
}
