#pragma once

#include <QThread>

#include <atomic>

// The heartbeat after the process start: sigTrigger every 800 ms on a
// session-bus connection of its own, so the supervisor keeps hearing from
// the daemon while the main thread waits in a bus call or a dial-up sleep.
class Thread : public QThread
{
    Q_OBJECT

public:
    explicit Thread(QObject *pParent = nullptr) : QThread(pParent) {}

    // Written by the controller, read by the loop.
    std::atomic<bool> stop{false};
    // Written by the loop, read by the controller at shutdown.
    std::atomic<bool> running{false};

protected:
    void run() override;
};
