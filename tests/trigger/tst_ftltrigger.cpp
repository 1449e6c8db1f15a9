#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "records/cvehiclerecords.h"
#include "tests/support/cfakeclock.h"
#include "trigger/cftltrigger.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const char *const SERVICE = "com.Velkor.Tankora";
const char *const SETUP_PATH = "/SetupData";
const char *const RUNTIME_PATH = "/RuntimeData";
const char *const SETUP_INTERFACE = "com.Velkor.Tankora.Setup";
const char *const RUNTIME_INTERFACE = "com.Velkor.Tankora.Runtime";

// The daemon's own process id as the monitor is told it, and another
// writer on the bus.
constexpr qint64 OWN_PID = 4242;
constexpr int OTHER_PID = 777;

QStringList s_asWarnings;

void collectWarnings(QtMsgType eType, const QMessageLogContext &, const QString &sText)
{
    if (eType == QtWarningMsg)
        s_asWarnings << sText;
}

QString indexed(const char *pszOperation, int iIndex)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(pszOperation)).arg(iIndex);
}

} // namespace

// The records of the stand-in database service: each get answers the bytes
// a test put there (nothing when there are none) and counts the call.
class CFakeData : public QObject
{
    Q_OBJECT

public:
    void put(const QString &sOperation, CRecord &record) { m_hRecords[sOperation] = record.toByteArray(); }
    void drop(const QString &sOperation) { m_hRecords.remove(sOperation); }
    void clear()
    {
        m_hRecords.clear();
        m_hCalls.clear();
    }
    int calls(const QString &sOperation) const { return m_hCalls.value(sOperation); }

protected:
    QByteArray answer(const QString &sOperation)
    {
        ++m_hCalls[sOperation];
        return m_hRecords.value(sOperation);
    }

private:
    QHash<QString, QByteArray> m_hRecords;
    QHash<QString, int> m_hCalls;
};

class CFakeSetupData : public CFakeData
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Setup")

public slots:
    QByteArray getSetupGeneralNonWM() { return answer(QStringLiteral("getSetupGeneralNonWM")); }
    QByteArray getSetupGeneralWM() { return answer(QStringLiteral("getSetupGeneralWM")); }
    QByteArray getSetupGeoFencing() { return answer(QStringLiteral("getSetupGeoFencing")); }
    QByteArray getSetupGlobalSensorNonWM() { return answer(QStringLiteral("getSetupGlobalSensorNonWM")); }
    QByteArray getSetupCan(int iCanInterfaceIndex) { return answer(indexed("getSetupCan", iCanInterfaceIndex)); }
    QByteArray getSetupCompartmentSensorNonWM(int iIndex)
    {
        return answer(indexed("getSetupCompartmentSensorNonWM", iIndex));
    }
};

class CFakeRuntimeData : public CFakeData
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Runtime")

public slots:
    QByteArray getRuntimeGeneralNonWM() { return answer(QStringLiteral("getRuntimeGeneralNonWM")); }
    QByteArray getRuntimeGeoFencing() { return answer(QStringLiteral("getRuntimeGeoFencing")); }
    QByteArray getRuntimeTruck() { return answer(QStringLiteral("getRuntimeTruck")); }
    QByteArray getRuntimeTruckSensorNonWM() { return answer(QStringLiteral("getRuntimeTruckSensorNonWM")); }
    QByteArray getRuntimeCan(int iIndex) { return answer(indexed("getRuntimeCan", iIndex)); }
    QByteArray getRuntimeCompNonWM(int iIndex) { return answer(indexed("getRuntimeCompNonWM", iIndex)); }
    QByteArray getRuntimeCompSensorNonWM(int iIndex) { return answer(indexed("getRuntimeCompSensorNonWM", iIndex)); }
};

// The vehicle events a test can stage: the record changed and the change
// signal the service sends for it.
enum EVehicleEvent {
    CompSealBroken,
    TruckSealBroken,
    HighPressureOff,
    LeftDoorOpened,
    ApiOpened,
    ModeIntoLoading
};
Q_DECLARE_METATYPE(EVehicleEvent)

class TestFtlTrigger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerService(QLatin1String(SERVICE)));
        const auto eExport = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals;
        QVERIFY(bus.registerObject(QLatin1String(SETUP_PATH), &m_setupData, eExport));
        QVERIFY(bus.registerObject(QLatin1String(RUNTIME_PATH), &m_runtimeData, eExport));
        m_pSetupProxy = new ComVelkorTankoraSetupInterface(QLatin1String(SERVICE), QLatin1String(SETUP_PATH), bus, this);
        m_pRuntimeProxy =
            new ComVelkorTankoraRuntimeInterface(QLatin1String(SERVICE), QLatin1String(RUNTIME_PATH), bus, this);
        m_pPreviousHandler = qInstallMessageHandler(collectWarnings);
    }
    void cleanupTestCase() { qInstallMessageHandler(m_pPreviousHandler); }

    void init()
    {
        s_asWarnings.clear();
        m_setupData.clear();
        m_runtimeData.clear();
        stageVehicle(30);
    }
    void cleanup()
    {
        delete m_pTrigger;
        m_pTrigger = nullptr;
    }

    // Each change signal makes the monitor re-read its record and request
    // one event file with the reason in its log.
    void eventRequested_data()
    {
        QTest::addColumn<EVehicleEvent>("eEvent");
        QTest::addColumn<QString>("sReason");
        QTest::newRow("compartment seal") << CompSealBroken << "SPD comp. 2 seal breaks unexpected";
        QTest::newRow("truck seal") << TruckSealBroken << "SPD truck seal breaks unexpected";
        QTest::newRow("high pressure") << HighPressureOff << "High pressure switched off";
        QTest::newRow("left door") << LeftDoorOpened << "Cabint door left opened";
        QTest::newRow("api") << ApiOpened << "Api (comp. 2) outside loading or discharge opened";
        QTest::newRow("mode") << ModeIntoLoading << "Mode change into loading or discharge";
    }
    void eventRequested()
    {
        QFETCH(EVehicleEvent, eEvent);
        QFETCH(QString, sReason);
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        stage(eEvent, OTHER_PID);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY2(hasWarning("Create auto. event file, reason: \"" + sReason + "\""), qPrintable(warnings()));
        QVERIFY(hasWarning("File: CFtlTrigger Line: "));
    }

    // A change the daemon wrote itself never comes back as a trigger; the
    // truck seal break behind it shows the signal was delivered and passed.
    void ownProcessIgnored()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        const int iReadsBefore = m_runtimeData.calls(indexed("getRuntimeCompNonWM", 2));
        stage(CompSealBroken, int(OWN_PID));
        stage(TruckSealBroken, OTHER_PID);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(m_runtimeData.calls(indexed("getRuntimeCompNonWM", 2)), iReadsBefore);
        QVERIFY(hasWarning("reason: \"SPD truck seal breaks unexpected\""));
        QVERIFY(!hasWarning("SPD comp. 2"));
    }

    // The first reads run with process 0 in their fixed order, every
    // compartment and CAN interface included.
    void initialReadsEverything()
    {
        startMonitor();
        for (const char *pszOperation : {"getSetupGeneralNonWM", "getSetupGeneralWM", "getSetupGeoFencing",
                                         "getSetupGlobalSensorNonWM"})
            QCOMPARE(m_setupData.calls(QLatin1String(pszOperation)), 1);
        for (const char *pszOperation :
             {"getRuntimeGeneralNonWM", "getRuntimeGeoFencing", "getRuntimeTruck", "getRuntimeTruckSensorNonWM"})
            QCOMPARE(m_runtimeData.calls(QLatin1String(pszOperation)), 1);
        for (int i : {0, 23}) {
            QCOMPARE(m_setupData.calls(indexed("getSetupCompartmentSensorNonWM", i)), 1);
            QCOMPARE(m_runtimeData.calls(indexed("getRuntimeCompNonWM", i)), 1);
            QCOMPARE(m_runtimeData.calls(indexed("getRuntimeCompSensorNonWM", i)), 1);
        }
        QCOMPARE(m_setupData.calls(indexed("getSetupCan", 2)), 1);
        QCOMPARE(m_runtimeData.calls(indexed("getRuntimeCan", 2)), 1);
        QCOMPARE(m_setupData.calls(indexed("getSetupCan", 3)), 0);
    }

    // A door open at start is judged like any later change.
    void doorOpenAtStartReported()
    {
        CRunTruckSensorNonWM oTruckSensor;
        oTruckSensor.setField(4, qint32(1));
        oTruckSensor.setField(6, qint32(1));
        m_runtimeData.put(QStringLiteral("getRuntimeTruckSensorNonWM"), oTruckSensor);
        m_pTrigger = new CFtlTrigger(OWN_PID);
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        m_pTrigger->init(m_pSetupProxy, m_pRuntimeProxy);
        QCOMPARE(spy.count(), 1);
        QVERIFY(hasWarning("reason: \"Cabint door right opened\""));
        // The two minutes of the start still hold for the first time trigger.
        QCOMPARE(timer()->interval(), 120000);
    }

    void missingRecordsLogged_data()
    {
        QTest::addColumn<QString>("sOperation");
        QTest::addColumn<bool>("bSetup");
        QTest::addColumn<QString>("sText");
        QTest::addColumn<bool>("bWarning");
        QTest::newRow("truck") << "getRuntimeTruck" << false << "getRuntimeTruck() returns NULL" << true;
        QTest::newRow("general setup") << "getSetupGeneralWM" << true << "getSetupGeneralWM() returns NULL" << true;
        QTest::newRow("CAN setup") << "getSetupCan(1)" << true << "getSetupCan(1) returns NULL" << true;
        QTest::newRow("fitted compartment") << "getRuntimeCompNonWM(5)" << false
                                            << "getRuntimeCompNonWM(5) returns NULL" << true;
        QTest::newRow("compartment not fitted") << "getRuntimeCompNonWM(6)" << false
                                                << "getRuntimeCompNonWM(6) returns NULL" << false;
        QTest::newRow("truck sensor, quietly") << "getRuntimeTruckSensorNonWM" << false
                                               << "getRuntimeTruckSensorNonWM() returns NULL" << false;
    }
    void missingRecordsLogged()
    {
        QFETCH(QString, sOperation);
        QFETCH(bool, bSetup);
        QFETCH(QString, sText);
        QFETCH(bool, bWarning);
        (bSetup ? static_cast<CFakeData &>(m_setupData) : m_runtimeData).drop(sOperation);
        startMonitor();
        QCOMPARE(hasWarning(sText), bWarning);
        if (!bWarning)
            QVERIFY(!hasWarning("returns NULL"));
    }

    void missingProxies()
    {
        m_pTrigger = new CFtlTrigger(OWN_PID);
        m_pTrigger->init(nullptr, nullptr);
        QVERIFY(hasWarning("dataSetup is NULL"));
        QVERIFY(hasWarning("dataRuntime is NULL"));
        QVERIFY(!timer()->isActive());
        m_pTrigger->onSigRuntimeTruck(OTHER_PID);
    }

    void firstTimeTriggerAfterTwoMinutes_data()
    {
        QTest::addColumn<int>("iDuration");
        QTest::addColumn<bool>("bActive");
        QTest::newRow("30 min") << 30 << true;
        QTest::newRow("5 min") << 5 << true;
        QTest::newRow("off") << 0 << false;
    }
    void firstTimeTriggerAfterTwoMinutes()
    {
        QFETCH(int, iDuration);
        QFETCH(bool, bActive);
        stageVehicle(iDuration);
        startMonitor();
        QCOMPARE(timer()->isActive(), bActive);
        QVERIFY(timer()->isSingleShot());
        if (bActive) {
            QCOMPARE(timer()->interval(), 120000);
            QVERIFY(hasWarning("Start FTL time trigger with a duration of " + QString::number(iDuration) + " min"));
        }
    }

    // The next time trigger comes a full period after the last request of
    // any reason.
    void requestRestartsTimeTrigger()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        stage(CompSealBroken, OTHER_PID);
        QTRY_COMPARE(spy.count(), 1);
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 30 * 60000);
    }

    void timeTriggerExpiresForced()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        m_pTrigger->onTimeTriggerTimeout();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        QVERIFY(hasWarning("reason: \"FTL time trigger\""));
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 30 * 60000);
    }

    // Expired while loading, the time trigger waits stopped until the job
    // ends, then comes out unforced and the period starts again.
    void timeTriggerHeldWhileLoading()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        setMainMode(3);
        QTRY_COMPARE(spy.count(), 1);
        m_pTrigger->onTimeTriggerTimeout();
        QCOMPARE(spy.count(), 1);
        QVERIFY(!timer()->isActive());
        QVERIFY(hasWarning("Pending auto. event file transfer: FTl time trigger expired ( main mode: "
                           "\"MainModeLoading\" )"));
        setMainMode(5);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
        QVERIFY(hasWarning("reason: \"Pending trigger from the FTL time trigger\""));
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 30 * 60000);
    }

    void setupChangeRetimes_data()
    {
        QTest::addColumn<int>("iProcess");
        QTest::addColumn<int>("iNewDuration");
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<int>("iInterval");
        QTest::addColumn<QString>("sText");
        QTest::newRow("longer period") << OTHER_PID << 45 << true << 45 * 60000
                                       << "Stop and restart FTL time trigger after setup change with a duration of "
                                          "45 min";
        QTest::newRow("switched off") << OTHER_PID << 0 << false << 120000 << "FTL time trigger not active any longer";
        QTest::newRow("read with process 0") << 0 << 45 << true << 120000 << "";
    }
    void setupChangeRetimes()
    {
        QFETCH(int, iProcess);
        QFETCH(int, iNewDuration);
        QFETCH(bool, bActive);
        QFETCH(int, iInterval);
        QFETCH(QString, sText);
        startMonitor();
        putGeneralSetup(iNewDuration);
        announce(SETUP_PATH, SETUP_INTERFACE, "sigSetupGeneralNonWM", {iProcess});
        QTRY_COMPARE(m_setupData.calls(QStringLiteral("getSetupGeneralNonWM")), 2);
        QCOMPARE(timer()->isActive(), bActive);
        QCOMPARE(timer()->interval(), iInterval);
        if (!sText.isEmpty())
            QVERIFY(hasWarning(sText));
        else
            QVERIFY(!hasWarning("after setup change"));
    }

private:
    // A vehicle in Status with six compartments, high pressure fitted and
    // on, doors closed, seals intact, compartment 2 with API and manlid
    // sensors; doors, API outside loading and mode-into-loading switched on.
    void stageVehicle(int iDuration)
    {
        putGeneralSetup(iDuration);
        CSetGeneralWM oGeneralWM;
        oGeneralWM.setField(3, qint32(1));
        oGeneralWM.setField(4, qint32(6));
        m_setupData.put(QStringLiteral("getSetupGeneralWM"), oGeneralWM);
        CSetGlobalSensorNonWM oGlobalSensor;
        oGlobalSensor.setField(7, qint32(1));
        oGlobalSensor.setField(8, qint32(1));
        oGlobalSensor.setField(10, qint32(1));
        m_setupData.put(QStringLiteral("getSetupGlobalSensorNonWM"), oGlobalSensor);
        CSetGeoFencing oGeoFencing;
        m_setupData.put(QStringLiteral("getSetupGeoFencing"), oGeoFencing);
        CRunGeoFencing oInside;
        m_runtimeData.put(QStringLiteral("getRuntimeGeoFencing"), oInside);
        for (int i = 0; i < COMPARTMENT_COUNT; ++i) {
            CSetCompartmentSensorNonWM oSensors;
            oSensors.setField(7, qint32(i == 2));
            oSensors.setField(9, qint32(i == 2));
            m_setupData.put(indexed("getSetupCompartmentSensorNonWM", i), oSensors);
            putCompSeal(i, 1);
            putCompSensors(i, 0);
        }
        for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
            CSetCan oCan;
            m_setupData.put(indexed("getSetupCan", i), oCan);
            CRunCan oCanRuntime;
            m_runtimeData.put(indexed("getRuntimeCan", i), oCanRuntime);
        }
        putMainMode(5);
        putTruckSeal(1);
        putTruckSensors(1, 0);
    }

    void putGeneralSetup(int iDuration)
    {
        CSetGeneralNonWM oGeneral;
        oGeneral.setField(4, qint32(1));
        oGeneral.setField(133, qint32(iDuration));
        oGeneral.setField(134, qint32(SwitchModeIntoLoading | SwitchCabinDoors | SwitchApiOutsideLoading));
        m_setupData.put(QStringLiteral("getSetupGeneralNonWM"), oGeneral);
    }
    void putCompSeal(int iIndex, int iState)
    {
        CRunCompNonWM oComp;
        oComp.setSealState(iState);
        m_runtimeData.put(indexed("getRuntimeCompNonWM", iIndex), oComp);
    }
    void putCompSensors(int iIndex, int iApi)
    {
        CRunCompSensorNonWM oSensors;
        oSensors.setField(6, qint32(iApi));
        m_runtimeData.put(indexed("getRuntimeCompSensorNonWM", iIndex), oSensors);
    }
    void putMainMode(int iMode)
    {
        CRunGeneralNonWM oGeneral;
        oGeneral.setMainMode(iMode);
        m_runtimeData.put(QStringLiteral("getRuntimeGeneralNonWM"), oGeneral);
    }
    void putTruckSeal(int iState)
    {
        CRunTruck oTruck;
        oTruck.setField(1, qint32(iState));
        m_runtimeData.put(QStringLiteral("getRuntimeTruck"), oTruck);
    }
    void putTruckSensors(int iHighPressure, int iLeftDoor)
    {
        CRunTruckSensorNonWM oSensors;
        oSensors.setField(4, qint32(iHighPressure));
        oSensors.setField(5, qint32(iLeftDoor));
        m_runtimeData.put(QStringLiteral("getRuntimeTruckSensorNonWM"), oSensors);
    }

    void setMainMode(int iMode)
    {
        putMainMode(iMode);
        announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeGeneralNonWM", {OTHER_PID});
    }

    void stage(EVehicleEvent eEvent, int iProcess)
    {
        switch (eEvent) {
        case CompSealBroken:
            putCompSeal(2, 3);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeCompNonWM", {iProcess, 2});
            break;
        case TruckSealBroken:
            putTruckSeal(3);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeTruck", {iProcess});
            break;
        case HighPressureOff:
            putTruckSensors(0, 0);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeTruckSensorNonWM", {iProcess});
            break;
        case LeftDoorOpened:
            putTruckSensors(1, 1);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeTruckSensorNonWM", {iProcess});
            break;
        case ApiOpened:
            putCompSensors(2, 1);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeCompSensorNonWM", {iProcess, 2});
            break;
        case ModeIntoLoading:
            putMainMode(3);
            announce(RUNTIME_PATH, RUNTIME_INTERFACE, "sigRuntimeGeneralNonWM", {iProcess});
            break;
        }
    }

    static void announce(const char *pszPath, const char *pszInterface, const char *pszSignal,
                         const QVariantList &aArguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(QLatin1String(pszPath), QLatin1String(pszInterface),
                                                          QLatin1String(pszSignal));
        message.setArguments(aArguments);
        QVERIFY(QDBusConnection::sessionBus().send(message));
    }

    void startMonitor()
    {
        m_pTrigger = new CFtlTrigger(OWN_PID);
        m_pTrigger->init(m_pSetupProxy, m_pRuntimeProxy);
    }

    QTimer *timer() const { return m_pTrigger->findChild<QTimer *>(); }

    static bool hasWarning(const QString &sPart)
    {
        for (const QString &sLine : s_asWarnings)
            if (sLine.contains(sPart))
                return true;
        return false;
    }
    static QString warnings() { return s_asWarnings.join(QLatin1Char('\n')); }

    CFakeClock m_clock;
    CFakeSetupData m_setupData;
    CFakeRuntimeData m_runtimeData;
    ComVelkorTankoraSetupInterface *m_pSetupProxy = nullptr;
    ComVelkorTankoraRuntimeInterface *m_pRuntimeProxy = nullptr;
    CFtlTrigger *m_pTrigger = nullptr;
    QtMessageHandler m_pPreviousHandler = nullptr;
};

QTEST_GUILESS_MAIN(TestFtlTrigger)
#include "tst_ftltrigger.moc"
