#pragma once

#include <QObject>
#include <QString>

#include <sys/socket.h>

class QSocketNotifier;
class QTimer;

// POSIX signals reach the event loop through a connected socket pair: the
// handler only writes the signal number (4 bytes, native order) to the write
// end, everything else happens on the main thread. When no pair can be made
// (no descriptors left), the handler leaves the number in a flag instead and
// a timer reads it, so SIGINT and SIGTERM still end the daemon in order.
// The newest path takes over from the one before it.
class CSignalPath : public QObject
{
    Q_OBJECT

  public:
    // pfnSocketPair makes the pair; tests hand in one that fails.
    using FnSocketPair = int (*)(int, int, int, int *);
    explicit CSignalPath(QObject *pParent, FnSocketPair pfnSocketPair = ::socketpair);

    // False when the pair could not be made and the flag carries the signals.
    bool hasSocketPair() const { return m_iReadFd >= 0; }

  signals:
    // One signal read on the main thread.
    void sigSignal(int iSignal);

  private:
    void readFromPair();
    void readFromFlag();

    int m_iId = 0;
    int m_iReadFd = -1;
    QSocketNotifier *m_pNotifier = nullptr;
    QTimer *m_pPollTimer = nullptr;
};

// The handler itself: writes the signal number to the newest pair, or
// leaves it in the flag when that path has no pair.
extern "C" void writeSignalToSocket(int iSignal);

// Text logged on the main thread for a signal read from the pair once the
// daemon is connected, and whether it ends the daemon.
QString connectedSignalText(int iSignal, bool *pbExit);

// The same for the early path before the first bus connection; empty for
// signals the early path does not handle.
QString earlySignalText(int iSignal, bool *pbExit);
