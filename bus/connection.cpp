#include "app/cclock.h"
#include "controller/cdata.h"
#include "log/cmodulelog.h"

#include <QDBusConnection>
#include <QTimer>

void CData::connectDbus()
{
    m_pConnectTimer->stop();

    const bool bSession = m_iUseSessionBus != 0;
    const QDBusConnection bus =
        bSession ? QDBusConnection::sessionBus() : QDBusConnection::connectToBus(m_sTcpBusAddress, m_sTcpBusName);

    if (!bus.isConnected()) {
        if (bSession)
            qDebug() << "Can't connect to session bus!";
        else
            qDebug() << "Can't connect to " << m_sTcpBusAddress << "," << m_sTcpBusName;
        m_pConnectTimer->start(CClock::instance().intervalMs(m_iDbusConnectionRetry));
        return;
    }
    if (bSession)
        qDebug() << "Connected to session bus!";
    else
        qDebug() << "Connected to " << m_sTcpBusAddress << "," << m_sTcpBusName;

    m_bConnected = true;
    m_bProcessStarted = false;
    installSignalPath();
}
