#pragma once

#include <QByteArray>
#include <QObject>

class QTimer;

// The service manager's readiness and watchdog messages, spoken over the
// datagram socket it names in NOTIFY_SOCKET. Started from anywhere else
// (no NOTIFY_SOCKET) it stays silent and the daemon runs as before.
enum class ENotify { Ready, Watchdog, Stopping };
QByteArray notifyText(ENotify eMessage);

// How often the main thread says it is alive: half the watchdog time given
// in microseconds (WATCHDOG_USEC), at most a second, 0 when there is no
// watchdog for this process (no or bad time, or WATCHDOG_PID naming
// another process).
qint64 watchdogIntervalMs(const QByteArray &aUsec, const QByteArray &aPid, qint64 llOwnPid);

// One message to the socket: a path, or an abstract name written with a
// leading '@'. False when it could not be sent.
bool sendNotifyMessage(const QByteArray &aSocket, const QByteArray &aText);

class CSystemdNotify : public QObject
{
    Q_OBJECT

  public:
    // Takes the socket and watchdog time from the environment and removes
    // them, so that pppd and the FTP and LT clients do not take the unit's
    // socket for their own.
    explicit CSystemdNotify(QObject *pParent = nullptr);

    bool isActive() const { return !m_aSocket.isEmpty(); }
    qint64 watchdogMs() const { return m_llWatchdogMs; }

    // Ready once the event loop runs; from then on the watchdog is fed from
    // the loop, so a main thread stuck past the watchdog time is restarted.
    void start();
    void stopping();

  private slots:
    void onReady();
    void onWatchdog();

  private:
    void send(const QByteArray &aText);

    QByteArray m_aSocket;
    qint64 m_llWatchdogMs = 0;
    QTimer *m_pWatchdogTimer = nullptr;
};
