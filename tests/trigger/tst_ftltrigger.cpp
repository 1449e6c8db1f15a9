#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "records/cvehiclerecords.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakeservice.h"
#include "tests/support/ctable.h"
#include "tests/support/logged.h"
#include "trigger/cftltrigger.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{

// The daemon's own process id as the monitor is told it, and another
// writer on the bus.
constexpr qint64 OWN_PID = 4242;
constexpr int OTHER_PID = 777;

} // namespace

class TestFtlTrigger : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase()
    {
        QVERIFY(m_service.isReady());
        QDBusConnection bus = QDBusConnection::sessionBus();
        m_pSetup = new ComVelkorTankoraSetupInterface("com.Velkor.Tankora", "/SetupData", bus, this);
        m_pRuntime = new ComVelkorTankoraRuntimeInterface("com.Velkor.Tankora", "/RuntimeData", bus, this);
        qInstallMessageHandler(logged::capture);
    }

    // A vehicle in Status with six compartments, high pressure fitted and
    // on, doors closed, seals intact, compartment 2 with API and manlid
    // sensors; doors, API and manlid outside loading and mode into loading
    // switched on; a time trigger of 30 min.
    void init()
    {
        logged::clear();
        m_service.reset();
        QStringList asVehicle = QStringLiteral("getSetupGeneralNonWM() 4=1 133=30 134=29; getSetupGeneralWM() 3=1 4=6; "
                                               "getSetupGlobalSensorNonWM() 7=1 8=1 10=1; getSetupGeoFencing(); "
                                               "getRuntimeGeoFencing(); getRuntimeGeneralNonWM() 1=5; "
                                               "getRuntimeTruck() 1=1; getRuntimeTruckSensorNonWM() 4=1")
                                    .split("; ");
        for (int i = 0; i < COMPARTMENT_COUNT; ++i) {
            asVehicle << QString("getSetupCompartmentSensorNonWM(%1)").arg(i) + (i == 2 ? " 7=1 9=1" : "")
                      << QString("getRuntimeCompNonWM(%1) 3=1").arg(i)
                      << QString("getRuntimeCompSensorNonWM(%1)").arg(i);
            if (i < CAN_INTERFACE_COUNT)
                asVehicle << QString("getSetupCan(%1)").arg(i) << QString("getRuntimeCan(%1)").arg(i);
        }
        for (const QString &sRecord : asVehicle)
            m_service.put(sRecord);
    }
    void cleanup()
    {
        delete m_pTrigger;
        m_pTrigger = nullptr;
    }

    // Each change signal makes the monitor read its record again and judge
    // the field it watches there; a request restarts the time trigger with
    // the full period.
    TABLE_TEST(changes, "decisions.tsv")
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        for (const QString &sChange : row[0].split("; ")) {
            const qsizetype llCalls = m_service.calls().size();
            const QString sCall = send(sChange, OTHER_PID);
            QTRY_VERIFY(m_service.calls().mid(llCalls).contains(sCall));
        }
        QCOMPARE(spy.count(), row[1].toInt());
        // "-": nothing asked for, so no reason given.
        QVERIFY2(row[2] == "-" ? !logged::warnings().contains("reason:") : logged::warnings().contains(row[2]),
                 qPrintable(logged::warnings()));
        if (spy.isEmpty())
            return;
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY(logged::warnings().contains("File: CFtlTrigger"));
        QCOMPARE(timer()->interval(), 30 * 60000);
    }

    // A change the daemon wrote itself is not even read.
    void ownProcessIgnored()
    {
        startMonitor();
        send("getRuntimeCompNonWM(2) 3=3", int(OWN_PID));
        send("getRuntimeTruck() 1=1", OTHER_PID);
        QTRY_COMPARE(m_service.calls().count("getRuntimeTruck"), 2);
        QCOMPARE(m_service.calls().count("getRuntimeCompNonWM(2)"), 1);
    }

    // The first reads cover every record, compartment and CAN interface
    // once and judge like any later change: a door open at start is
    // reported, while the first time trigger still waits its two minutes.
    void initialReads()
    {
        m_service.put("getRuntimeTruckSensorNonWM() 4=1 6=1");
        m_pTrigger = new CFtlTrigger(OWN_PID);
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        m_pTrigger->init(m_pSetup, m_pRuntime);
        QCOMPARE(spy.count(), 1);
        QVERIFY(logged::warnings().contains("reason: \"Cabint door right opened\""));
        QCOMPARE(timer()->interval(), 120000);
        QStringList asCalls = m_service.calls(), asRecords = m_service.recordNames();
        asCalls.sort();
        asRecords.sort();
        QCOMPARE(asCalls, asRecords);
    }

    // Missing records of compartments the vehicle does not have, and of
    // the often missing sensor records, are quiet.
    TABLE_TEST(missingRecords, "decisions.tsv")
    {
        m_service.putRecord(QString(row[0]).remove("()"), QByteArray());
        startMonitor();
        if (row[1] == "quiet")
            QVERIFY(!logged::warnings().contains("returns NULL"));
        else
            QVERIFY2(logged::warnings().contains(row[1]), qPrintable(logged::warnings()));
    }

    void missingProxies()
    {
        m_pTrigger = new CFtlTrigger(OWN_PID);
        m_pTrigger->init(nullptr, nullptr);
        QVERIFY(logged::warnings().contains("dataSetup is NULL") && logged::warnings().contains("dataRuntime is NULL"));
        QVERIFY(!timer()->isActive());
    }

    // Armed two minutes after start, expired as a forced request that starts
    // the full period, re-timed by another writer's setup change but not by
    // a read with process 0.
    void timeTrigger()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        QVERIFY(timer()->isSingleShot());
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        QCOMPARE(timer()->interval(), 30 * 60000);
        send("getSetupGeneralNonWM() 4=1 133=45", 0);
        QTRY_COMPARE(m_service.calls().count("getSetupGeneralNonWM"), 2);
        QCOMPARE(timer()->interval(), 30 * 60000);
        send("getSetupGeneralNonWM() 4=1 133=10", OTHER_PID);
        QTRY_COMPARE(timer()->interval(), 10 * 60000);
        send("getSetupGeneralNonWM() 4=1 133=0", OTHER_PID);
        QTRY_VERIFY(!timer()->isActive());
    }

  private:
    // Stores the record and sends the change signal that names it, as the
    // service does: "getRuntimeCan(2)" becomes sigRuntimeCan(iProcess, 2).
    // The get's call name.
    QString send(const QString &sChange, int iProcess)
    {
        const QString sCall = m_service.put(sChange), sIndex = sCall.section('(', 1).remove(')');
        m_service.sendSignal("sig" + sCall.section('(', 0, 0).mid(3),
                             sIndex.isEmpty() ? QList<int>{iProcess} : QList<int>{iProcess, sIndex.toInt()});
        return sCall;
    }

    void startMonitor()
    {
        m_pTrigger = new CFtlTrigger(OWN_PID);
        m_pTrigger->init(m_pSetup, m_pRuntime);
    }

    QTimer *timer() const { return m_pTrigger->findChild<QTimer *>(); }

    CFakeClock m_clock;
    CFakeService m_service;
    ComVelkorTankoraSetupInterface *m_pSetup = nullptr;
    ComVelkorTankoraRuntimeInterface *m_pRuntime = nullptr;
    CFtlTrigger *m_pTrigger = nullptr;
};

QTEST_GUILESS_MAIN(TestFtlTrigger)
#include "tst_ftltrigger.moc"
