#include "sim/csupervisor.h"

#include "sim/cvehicleservice.h"

#include <QDBusConnection>
#include <QDebug>

namespace {
const char *const SIGNALS_INTERFACE = "com.Velkor.Tankora.Signals";
const char *const SIGNALS_PATH = "/Signals";
} // namespace

CSupervisor::CSupervisor(CVehicleService *pService, int iServicePid, QObject *pParent)
    : QObject(pParent), m_pService(pService), m_iServicePid(iServicePid)
{
}

bool CSupervisor::connectBus(QDBusConnection &connection)
{
    const QString sInterface = QLatin1String(SIGNALS_INTERFACE);
    return connection.connect(QString(), QString(), sInterface, QStringLiteral("sigTrigger"), this,
                              SLOT(onSigTrigger(int)))
           && connection.connect(QString(), QString(), sInterface, QStringLiteral("sigSendName"), this,
                                 SLOT(onSigSendName(int, QByteArray)))
           && connection.connect(QString(), QString(), sInterface, QStringLiteral("sigRestartGprsModule"), this,
                                 SLOT(onSigRestartGprsModule(int, int)));
}

void CSupervisor::send(const char *pszSignal, int iSecond)
{
    m_pService->emitBusSignal(QLatin1String(SIGNALS_PATH), QLatin1String(SIGNALS_INTERFACE),
                              QLatin1String(pszSignal), {m_iServicePid, iSecond});
}

void CSupervisor::onSigTrigger(int iProcess)
{
    // Until a process has told its name it is asked at each heartbeat, so
    // that one that subscribes late is still started.
    if (iProcess == m_iServicePid || m_hNames.contains(iProcess))
        return;
    qDebug() << "tankora-service: unknown process" << iProcess << "asked for its name";
    send("sigGetName", iProcess);
}

void CSupervisor::onSigSendName(int iProcess, const QByteArray &Processname)
{
    if (iProcess == m_iServicePid)
        return;
    m_hNames.insert(iProcess, Processname);
    qDebug() << "tankora-service: process" << iProcess << "is" << Processname << "- started";
    send("sigProcessStart", iProcess);
}

void CSupervisor::onSigRestartGprsModule(int iProcess, int iReason)
{
    qDebug() << "tankora-service: process" << iProcess << "asks for a GSM module restart, reason" << iReason;
}

void CSupervisor::sendOfflineMode(int iSeconds)
{
    qDebug() << "tankora-service: offline mode for" << iSeconds << "s";
    send("sigOfflineMode", iSeconds);
}

QString CSupervisor::processNames() const
{
    QString sText;
    for (auto it = m_hNames.begin(); it != m_hNames.end(); ++it)
        sText += QStringLiteral("%1 %2\n").arg(it.key()).arg(QString::fromLatin1(it.value()));
    return sText;
}
