#include "bus/thread.h"

#include "app/cclock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

void Thread::run()
{
    // Always the session bus, whatever the settings say for the main connection.
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/"), QStringLiteral("com.Velkor.Tankora.Signals"),
                                                      QStringLiteral("sigTrigger"));
    if (bus.isConnected()) {
        qDebug("Thread connected to session bus!");
        message << int(QCoreApplication::applicationPid());
        stop = false;
        running = true;
        while (!stop) {
            running = true;
            QThread::msleep(CClock::instance().intervalMs(800));
            bus.send(message);
        }
        running = false;
    }
    qDebug("Thread end");
    running = false;
}
