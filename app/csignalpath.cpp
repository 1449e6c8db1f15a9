#include "app/csignalpath.h"

#include <QSocketNotifier>
#include <QTimer>

#include <atomic>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace
{

std::atomic<int> g_iSignalWriteFd{-1};
// One bit per signal number the handler could not write.
std::atomic<unsigned> g_uPendingSignals{0};
// The path that reads the flag; an older one leaves it alone.
std::atomic<int> g_iCurrentPath{0};
constexpr int PollMs = 100;

} // namespace

CSignalPath::CSignalPath(QObject *pParent, FnSocketPair pfnSocketPair)
    : QObject(pParent), m_iId(g_iCurrentPath.load() + 1)
{
    int aPair[2];
    if (pfnSocketPair(AF_UNIX, SOCK_STREAM, 0, aPair) == 0) {
        m_iReadFd = aPair[1];
        m_pNotifier = new QSocketNotifier(m_iReadFd, QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &CSignalPath::readFromPair);
        g_iSignalWriteFd.store(aPair[0]);
    } else {
        g_iSignalWriteFd.store(-1);
        m_pPollTimer = new QTimer(this);
        connect(m_pPollTimer, &QTimer::timeout, this, &CSignalPath::readFromFlag);
        m_pPollTimer->start(PollMs);
    }
    g_iCurrentPath.store(m_iId);
}

void CSignalPath::readFromPair()
{
    m_pNotifier->setEnabled(false);
    int iSignal = -1;
    if (::read(m_iReadFd, &iSignal, sizeof(iSignal)) == static_cast<ssize_t>(sizeof(iSignal)))
        emit sigSignal(iSignal);
    m_pNotifier->setEnabled(true);
}

void CSignalPath::readFromFlag()
{
    if (g_iCurrentPath.load() != m_iId)
        return;
    const unsigned uPending = g_uPendingSignals.exchange(0);
    for (int iSignal = 1; iSignal < 32; ++iSignal) {
        if (uPending & (1u << iSignal))
            emit sigSignal(iSignal);
    }
}

extern "C" void writeSignalToSocket(int iSignal)
{
    const int iFd = g_iSignalWriteFd.load();
    if (iFd < 0) {
        if (iSignal > 0 && iSignal < 32)
            g_uPendingSignals.fetch_or(1u << iSignal);
        return;
    }
    const ssize_t llWritten = ::write(iFd, &iSignal, sizeof(iSignal));
    (void)llWritten;
}

QString connectedSignalText(int iSignal, bool *pbExit)
{
    *pbExit = false;
    switch (iSignal) {
    case SIGINT: *pbExit = true; return QStringLiteral("Signal SIGINT received => exit program");
    case SIGTERM: *pbExit = true; return QStringLiteral("Signal SIGTERM received => exit program");
    case SIGHUP: return QStringLiteral("Signal SIGHUP received");
    default: return QStringLiteral("Unexpected Signal received");
    }
}

QString earlySignalText(int iSignal, bool *pbExit)
{
    // Only SIGINT and SIGTERM end the daemon, before the bus as after it.
    *pbExit = false;
    switch (iSignal) {
    case SIGINT: *pbExit = true; return QStringLiteral("SIGINT received: Terminating!");
    case SIGTERM: *pbExit = true; return QStringLiteral("SIGTERM received: Terminating!");
    case SIGHUP: return connectedSignalText(iSignal, pbExit);
    default: return QString();
    }
}
