#pragma once

#include "records/crecordregistry.h"
#include "tests/support/crecordtext.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <limits>

// The stand-in database service on a connection and a thread of its own, so
// the code under test may block on its calls. It owns com.Velkor.Tankora
// with /SetupData, /RuntimeData and /Logbook. A call is named by its
// operation, with the index of an indexed get: "getRuntimeGsm",
// "getRuntimeCan(2)". Each get answers the bytes a test put under its name,
// or fails when there are none; each set stores the bytes and answers the
// reply code a test chose (success by default; iFailCall makes the call
// fail). As the process supervisor it sends the handshake signals and hears
// the heartbeat (sender and path) and the short name (sender and name).
class CFakeService : public QObject
{
    Q_OBJECT

  public:
    static constexpr int iFailCall = std::numeric_limits<int>::min();
    QList<QPair<int, QString>> aTriggers;
    QList<QPair<int, QByteArray>> aNames;

    CFakeService() : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-service")))
    {
        m_objects.moveToThread(&m_thread);
        m_thread.start();
        const QString sSignals = QStringLiteral("com.Velkor.Tankora.Signals");
        m_bReady = m_bus.isConnected() && m_bus.registerService(QStringLiteral("com.Velkor.Tankora")) &&
                   m_bus.registerVirtualObject(QStringLiteral("/SetupData"), &m_objects) &&
                   m_bus.registerVirtualObject(QStringLiteral("/RuntimeData"), &m_objects) &&
                   m_bus.registerVirtualObject(QStringLiteral("/Logbook"), &m_objects) &&
                   m_bus.connect({}, {}, sSignals, QStringLiteral("sigTrigger"), this, SLOT(onTrigger(QDBusMessage))) &&
                   m_bus.connect({}, {}, sSignals, QStringLiteral("sigSendName"), this, SLOT(onSendName(QDBusMessage)));
    }
    ~CFakeService() override
    {
        m_thread.quit();
        m_thread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
    }
    bool isReady() const { return m_bReady; }

    // Null bytes take the record away.
    void putRecord(const QString &sGet, const QByteArray &baBytes)
    {
        QMutexLocker locker(&m_objects.lock);
        if (baBytes.isNull())
            m_objects.hRecords.remove(sGet);
        else
            m_objects.hRecords.insert(sGet, baBytes);
    }
    // "getRuntimeCan(2) 1=3": the get, answered with its record with field 1
    // set to 3 as the stand-in vehicle reads a typed value, every other
    // field as created ("getRuntimeCan(2) -": the get fails). The get's call
    // name, "getRuntimeCan(2)".
    QString put(const QString &sRecord)
    {
        const QString sCall = sRecord.section(' ', 0, 0).remove(QStringLiteral("()")), sFields = sRecord.section(' ', 1);
        const QString sGet = sCall.section('(', 0, 0);
        std::unique_ptr<CRecord> pRecord =
            makeRecord(sGet.startsWith("getSetup") ? "CSet" + sGet.mid(8) : "CRun" + sGet.mid(10));
        putRecord(sCall, sFields == "-" ? QByteArray() : withFields(*pRecord, sFields).toByteArray());
        return sCall;
    }
    // No records, no calls.
    void reset()
    {
        QMutexLocker locker(&m_objects.lock);
        m_objects.hRecords.clear();
        m_objects.asCalls.clear();
    }
    QStringList recordNames()
    {
        QMutexLocker locker(&m_objects.lock);
        return m_objects.hRecords.keys();
    }
    // The next call of the get is carried out, but its reply comes only
    // after iMs, past the caller's time-out.
    void stallNext(const QString &sGet, int iMs)
    {
        QMutexLocker locker(&m_objects.lock);
        m_objects.hStalledMs.insert(sGet, iMs);
    }
    void setResult(const QString &sSet, int iResult)
    {
        QMutexLocker locker(&m_objects.lock);
        m_objects.hResults.insert(sSet, iResult);
    }
    // Calls in the order they came.
    QStringList calls()
    {
        QMutexLocker locker(&m_objects.lock);
        return m_objects.asCalls;
    }
    // What was set since the last time this was asked.
    QList<QByteArray> written(const QString &sSet)
    {
        QMutexLocker locker(&m_objects.lock);
        return m_objects.hWritten.take(sSet);
    }
    // sigSetup… and sigRuntime… come from their objects, anything else from
    // the supervisor on the Signals interface.
    void sendSignal(const QString &sSignal, const QList<int> &aiArguments)
    {
        QString sObject = QStringLiteral("Supervisor"), sInterface = QStringLiteral("Signals");
        if (sSignal.startsWith(QLatin1String("sigSetup")))
            sObject = QStringLiteral("SetupData"), sInterface = QStringLiteral("Setup");
        else if (sSignal.startsWith(QLatin1String("sigRuntime")))
            sObject = QStringLiteral("RuntimeData"), sInterface = QStringLiteral("Runtime");
        QDBusMessage message = QDBusMessage::createSignal("/" + sObject, "com.Velkor.Tankora." + sInterface, sSignal);
        for (int iArgument : aiArguments)
            message << iArgument;
        m_bus.send(message);
    }

  private slots:
    void onTrigger(const QDBusMessage &message)
    {
        aTriggers.append({message.arguments().value(0).toInt(), message.path()});
    }
    void onSendName(const QDBusMessage &message)
    {
        aNames.append({message.arguments().value(0).toInt(), message.arguments().value(1).toByteArray()});
    }

  private:
    // The service objects, answering every call by its name on the service's thread.
    struct CObjects : QDBusVirtualObject {
        QMutex lock;
        QHash<QString, QByteArray> hRecords;
        QHash<QString, int> hResults;
        QHash<QString, QList<QByteArray>> hWritten;
        QStringList asCalls;
        QHash<QString, int> hStalledMs;

        QString introspect(const QString &) const override { return QString(); }
        bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
        {
            QMutexLocker locker(&lock);
            const QString sOperation = message.member();
            const QVariant index = message.arguments().value(0);
            const bool bIndexed = message.arguments().size() == 1 && index.typeId() == QMetaType::Int;
            const QString sCall = bIndexed ? sOperation + '(' + index.toString() + ')' : sOperation;
            asCalls << sCall;
            if (sOperation.startsWith(QLatin1String("set"))) {
                hWritten[sOperation] << message.arguments().last().toByteArray();
                const int iResult = hResults.value(sOperation, 1);
                return bus.send(iResult == iFailCall ? message.createErrorReply(QDBusError::Failed, "refused")
                                                     : message.createReply(iResult));
            }
            if (!hRecords.contains(sCall)) // a service without the record: the call fails
                return bus.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("no record")));
            const QDBusMessage reply = message.createReply(hRecords.value(sCall));
            if (hStalledMs.contains(sCall)) {
                QTimer::singleShot(hStalledMs.take(sCall), this, [bus, reply] { bus.send(reply); });
                return true;
            }
            return bus.send(reply);
        }
    } m_objects;
    QThread m_thread;
    QDBusConnection m_bus;
    bool m_bReady = false;
};
