#include "app/csignalpath.h"

#include <atomic>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {
std::atomic<int> g_iSignalWriteFd{-1};
}

bool createSignalSocketPair(int &iReadFd)
{
    int aPair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, aPair) != 0)
        return false;
    iReadFd = aPair[1];
    g_iSignalWriteFd.store(aPair[0]);
    return true;
}

extern "C" void writeSignalToSocket(int iSignal)
{
    const int iFd = g_iSignalWriteFd.load();
    if (iFd < 0)
        return;
    const ssize_t llWritten = ::write(iFd, &iSignal, sizeof(iSignal));
    (void)llWritten;
}

QString connectedSignalText(int iSignal, bool *pbExit)
{
    *pbExit = false;
    switch (iSignal) {
    case SIGINT:
        *pbExit = true;
        return QStringLiteral("Signal SIGINT received => exit program");
    case SIGTERM:
        *pbExit = true;
        return QStringLiteral("Signal SIGTERM received => exit program");
    case SIGHUP:
        return QStringLiteral("Signal SIGHUP received");
    default:
        return QStringLiteral("Unexpected Signal received");
    }
}

QString earlySignalText(int iSignal)
{
    if (iSignal == SIGINT)
        return QStringLiteral("SIGINT received: Terminating!");
    if (iSignal == SIGTERM)
        return QStringLiteral("SIGTERM received: Terminating!");
    return QString();
}

int readSignalNumber(int iReadFd)
{
    int iSignal = -1;
    if (::read(iReadFd, &iSignal, sizeof(iSignal)) != static_cast<ssize_t>(sizeof(iSignal)))
        return -1;
    return iSignal;
}
