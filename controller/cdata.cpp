#include "controller/cdata.h"

#include "app/cclock.h"
#include "app/cpaths.h"
#include "app/cshell.h"
#include "files/cftlrepair.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "app/csignalpath.h"
#include "bus/signalsadaptor.h"

#include <csignal>

CData::CData(QObject *pParent) : QObject(pParent)
{
    m_pConnectTimer = new QTimer(this);
    m_pCycleTimer = new QTimer(this);
    m_pHeartbeatTimer = new QTimer(this);

    m_llOwnPid = QCoreApplication::applicationPid();
    m_oCalls = CBusCalls("cdata", m_llOwnPid);

    // File requests, link keeping and the offline request start cleared by
    // their initialisers; a software-update look-up follows every start.

    // Relays sigTrigger, sigSendName and sigRestartGprsModule to /Signals.
    new SignalsAdaptor(this);

    readSettingsFromIniFile();

    connect(m_pConnectTimer, &QTimer::timeout, this, &CData::connectDbus);
    m_pConnectTimer->start(CClock::instance().intervalMs(100));

    // No dial-up left from an earlier run may survive.
    stopDialUp();

    removeLeftoverEventFiles();
    // What a power cut left half-written is made whole before anything is sent.
    repairFtlDirectory([this](const QString &sText) { m_oCalls.warning(__LINE__, sText); });
}

CData::~CData()
{
    m_oCalls.debug(__LINE__, QStringLiteral("CData destructor!"));
    stopHeartbeatThread();
    deleteTriggerMonitor();
    deleteProxies();
    delete m_pConnectTimer;
    m_pConnectTimer = nullptr;
    delete m_pHeartbeatTimer;
    m_pHeartbeatTimer = nullptr;
    deleteHeartbeatThread();
}

void CData::removeLeftoverEventFiles()
{
    const QString sDir = rootedPath(QStringLiteral("/var/lib/Tankora"));
    const QStringList asNames =
        QDir(sDir).entryList(QStringList{QStringLiteral("Eve2*")}, QDir::AllEntries | QDir::NoDotAndDotDot,
                             QDir::Name | QDir::IgnoreCase | QDir::DirsLast);
    for (const QString &sName : asNames)
        QFile::remove(sDir + QLatin1Char('/') + sName);
}

void CData::installSignalPath()
{
    // Without a pair the signals still arrive, through the path's flag.
    m_pSignalPath = new CSignalPath(this);
    if (!m_pSignalPath->hasSocketPair())
        qWarning("Couldn't create linux signal socketpair");
    connect(m_pSignalPath, &CSignalPath::sigSignal, this, &CData::handleLinuxSignal);

    struct sigaction action = {};
    action.sa_handler = writeSignalToSocket;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void CData::handleLinuxSignal(int iSignal)
{
    qDebug() << "Signal " << iSignal << "  received\n";
    bool bExit = false;
    qWarning("%s", qPrintable(connectedSignalText(iSignal, &bExit)));
    if (bExit)
        QCoreApplication::exit(0);
}
