#include "app/csystemdnotify.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtDebug>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

constexpr qint64 MaxWatchdogIntervalMs = 1000;

QByteArray notifyText(ENotify eMessage)
{
    switch (eMessage) {
    case ENotify::Ready:
        return QByteArrayLiteral("READY=1");
    case ENotify::Watchdog:
        return QByteArrayLiteral("WATCHDOG=1");
    case ENotify::Stopping:
        break;
    }
    return QByteArrayLiteral("STOPPING=1");
}

qint64 watchdogIntervalMs(const QByteArray &aUsec, const QByteArray &aPid, qint64 llOwnPid)
{
    if (!aPid.isEmpty()) {
        bool bPidOk = false;
        if (aPid.toLongLong(&bPidOk) != llOwnPid || !bPidOk)
            return 0;
    }
    bool bOk = false;
    const qulonglong ullUsec = aUsec.toULongLong(&bOk);
    if (!bOk || ullUsec == 0)
        return 0;
    // Half the time, but at least every second: the main thread may block
    // right before a feed is due, and then only the time left above that
    // block protects it.
    const qint64 llMs = qMin<qint64>(qint64(ullUsec / 2000), MaxWatchdogIntervalMs);
    return llMs < 1 ? 1 : llMs;
}

bool sendNotifyMessage(const QByteArray &aSocket, const QByteArray &aText)
{
    struct sockaddr_un address;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (aSocket.size() < 2 || size_t(aSocket.size()) >= sizeof(address.sun_path) ||
        (aSocket[0] != '/' && aSocket[0] != '@'))
        return false;
    std::memcpy(address.sun_path, aSocket.constData(), size_t(aSocket.size()));
    if (aSocket[0] == '@')
        address.sun_path[0] = '\0';
    const socklen_t iLength = socklen_t(offsetof(struct sockaddr_un, sun_path) + size_t(aSocket.size()));

    const int iSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (iSocket < 0)
        return false;
    const ssize_t llSent = sendto(iSocket, aText.constData(), size_t(aText.size()), MSG_NOSIGNAL,
                                  reinterpret_cast<const struct sockaddr *>(&address), iLength);
    close(iSocket);
    return llSent == aText.size();
}

CSystemdNotify::CSystemdNotify(QObject *pParent) : QObject(pParent)
{
    m_aSocket = qgetenv("NOTIFY_SOCKET");
    m_llWatchdogMs =
        watchdogIntervalMs(qgetenv("WATCHDOG_USEC"), qgetenv("WATCHDOG_PID"), QCoreApplication::applicationPid());
    qunsetenv("NOTIFY_SOCKET");
    qunsetenv("WATCHDOG_USEC");
    qunsetenv("WATCHDOG_PID");
}

void CSystemdNotify::start()
{
    if (!isActive())
        return;
    // A zero-time shot runs once the event loop turns, not before.
    QTimer::singleShot(0, this, &CSystemdNotify::onReady);
    if (m_llWatchdogMs > 0) {
        m_pWatchdogTimer = new QTimer(this);
        connect(m_pWatchdogTimer, &QTimer::timeout, this, &CSystemdNotify::onWatchdog);
        m_pWatchdogTimer->start(int(m_llWatchdogMs));
    }
}

void CSystemdNotify::stopping()
{
    if (m_pWatchdogTimer)
        m_pWatchdogTimer->stop();
    if (isActive())
        send(notifyText(ENotify::Stopping));
}

void CSystemdNotify::onReady()
{
    send(notifyText(ENotify::Ready));
    if (m_llWatchdogMs > 0)
        onWatchdog();
}

void CSystemdNotify::onWatchdog()
{
    send(notifyText(ENotify::Watchdog));
}

void CSystemdNotify::send(const QByteArray &aText)
{
    if (!sendNotifyMessage(m_aSocket, aText))
        qWarning("Could not tell the service manager %s", aText.constData());
}
