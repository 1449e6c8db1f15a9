#include "fakeservice.h"

#include <QDBusMessage>
#include <QMutexLocker>

void CFakeRecords::putRecord(const QString &sGet, const QByteArray &baBytes)
{
    QMutexLocker locker(&s_lock);
    m_hRecords.insert(sGet, baBytes);
}

void CFakeRecords::dropRecord(const QString &sGet)
{
    QMutexLocker locker(&s_lock);
    m_hRecords.remove(sGet);
}

void CFakeRecords::setResult(const QString &sSet, int iResult)
{
    QMutexLocker locker(&s_lock);
    m_hResults.insert(sSet, iResult);
}

QStringList CFakeRecords::calls()
{
    QMutexLocker locker(&s_lock);
    return s_asCalls;
}

int CFakeRecords::callCount(const QString &sOperation)
{
    return calls().count(sOperation);
}

QList<QByteArray> CFakeRecords::written(const QString &sSet) const
{
    QMutexLocker locker(&s_lock);
    return m_hWritten.value(sSet);
}

QByteArray CFakeRecords::answerGet(const QString &sGet)
{
    QMutexLocker locker(&s_lock);
    s_asCalls << sGet;
    if (!m_hRecords.contains(sGet)) {
        // A service without the record: the call fails.
        sendErrorReply(QDBusError::Failed, QStringLiteral("no record"));
        return QByteArray();
    }
    return m_hRecords.value(sGet);
}

int CFakeRecords::answerSet(const QString &sSet, const QByteArray &baBytes)
{
    QMutexLocker locker(&s_lock);
    s_asCalls << sSet;
    m_hWritten[sSet] << baBytes;
    return m_hResults.value(sSet, 1);
}

CFakeService::CFakeService()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-service")))
{
    setup.moveToThread(&m_thread);
    runtime.moveToThread(&m_thread);
    m_thread.start();
    m_bReady = m_bus.isConnected() && m_bus.registerService(QStringLiteral("com.Velkor.Tankora")) &&
               m_bus.registerObject(QStringLiteral("/SetupData"), &setup, QDBusConnection::ExportScriptableSlots) &&
               m_bus.registerObject(QStringLiteral("/RuntimeData"), &runtime, QDBusConnection::ExportScriptableSlots);
}

CFakeService::~CFakeService()
{
    m_bus.unregisterObject(QStringLiteral("/SetupData"));
    m_bus.unregisterObject(QStringLiteral("/RuntimeData"));
    m_bus.unregisterService(QStringLiteral("com.Velkor.Tankora"));
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
}

void CFakeService::sendSignal(const QString &sPath, const QString &sInterface, const QString &sSignal,
                              const QList<int> &aiArguments)
{
    QDBusMessage message = QDBusMessage::createSignal(sPath, sInterface, sSignal);
    for (int iArgument : aiArguments)
        message << iArgument;
    m_bus.send(message);
}
