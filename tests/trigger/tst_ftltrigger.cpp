#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "records/cvehiclerecords.h"
#include "tests/support/cfakeclock.h"
#include "trigger/cftltrigger.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace
{

const char *const SERVICE = "com.Velkor.Tankora";

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

bool hasWarning(const QString &sPart)
{
    return std::any_of(s_asWarnings.cbegin(), s_asWarnings.cend(),
                       [&sPart](const QString &sLine) { return sLine.contains(sPart); });
}

template <class TRecord> QByteArray recordBytes(std::initializer_list<std::pair<int, CFieldValue>> aFields = {})
{
    TRecord record;
    for (const auto &field : aFields)
        record.setField(field.first, field.second);
    return record.toByteArray();
}

} // namespace

// The database service stand-in on both paths: each get answers the bytes
// a test put under its call ("getRuntimeTruck()", "getRuntimeCan(2)"),
// nothing when there are none, and counts the call.
class CFakeService : public QDBusVirtualObject
{
  public:
    QHash<QString, QByteArray> hRecords;
    QHash<QString, int> hCalls;

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QVariantList aArguments = message.arguments();
        const QString sCall = message.member() + '(' +
                              (aArguments.isEmpty() ? QString() : QString::number(aArguments.first().toInt())) + ')';
        ++hCalls[sCall];
        return connection.send(message.createReply(QVariant(hRecords.value(sCall))));
    }
    QString introspect(const QString &) const override { return {}; }
};

class TestFtlTrigger : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerService(QLatin1String(SERVICE)));
        QVERIFY(bus.registerVirtualObject(QStringLiteral("/SetupData"), &m_service));
        QVERIFY(bus.registerVirtualObject(QStringLiteral("/RuntimeData"), &m_service));
        m_pSetupProxy = new ComVelkorTankoraSetupInterface(SERVICE, QStringLiteral("/SetupData"), bus, this);
        m_pRuntimeProxy = new ComVelkorTankoraRuntimeInterface(SERVICE, QStringLiteral("/RuntimeData"), bus, this);
        m_pPreviousHandler = qInstallMessageHandler(collectWarnings);
    }
    void cleanupTestCase() { qInstallMessageHandler(m_pPreviousHandler); }

    void init()
    {
        s_asWarnings.clear();
        m_service.hCalls.clear();
        stageVehicle(30);
    }
    void cleanup()
    {
        delete m_pTrigger;
        m_pTrigger = nullptr;
    }

    // Each change signal makes the monitor re-read its record and request
    // one event file with the reason in its log; the request restarts the
    // time trigger with the full period.
    void eventRequested_data()
    {
        QTest::addColumn<QString>("sCall");
        QTest::addColumn<QByteArray>("baRecord");
        QTest::addColumn<QString>("sReason");
        QTest::newRow("compartment seal")
            << "getRuntimeCompNonWM(2)" << recordBytes<CRunCompNonWM>({{3, 3}}) << "SPD comp. 2 seal breaks unexpected";
        QTest::newRow("truck seal") << "getRuntimeTruck()" << recordBytes<CRunTruck>({{1, 3}})
                                    << "SPD truck seal breaks unexpected";
        QTest::newRow("high pressure") << "getRuntimeTruckSensorNonWM()" << recordBytes<CRunTruckSensorNonWM>()
                                       << "High pressure switched off";
        QTest::newRow("left door") << "getRuntimeTruckSensorNonWM()"
                                   << recordBytes<CRunTruckSensorNonWM>({{4, 1}, {5, 1}}) << "Cabint door left opened";
        QTest::newRow("api") << "getRuntimeCompSensorNonWM(2)" << recordBytes<CRunCompSensorNonWM>({{6, 1}})
                             << "Api (comp. 2) outside loading or discharge opened";
        QTest::newRow("manlid") << "getRuntimeCompSensorNonWM(2)" << recordBytes<CRunCompSensorNonWM>({{5, 1}})
                                << "Manlid (comp. 2) outside loading or discharge opened";
        QTest::newRow("mode") << "getRuntimeGeneralNonWM()" << recordBytes<CRunGeneralNonWM>({{1, 3}})
                              << "Mode change into loading or discharge";
    }
    void eventRequested()
    {
        QFETCH(QString, sCall);
        QFETCH(QByteArray, baRecord);
        QFETCH(QString, sReason);
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        change(sCall, baRecord, OTHER_PID);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY2(hasWarning("Create auto. event file, reason: \"" + sReason + "\""),
                 qPrintable(s_asWarnings.join('\n')));
        QVERIFY(hasWarning("File: CFtlTrigger Line: "));
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), 30 * 60000);
    }

    // A change the daemon wrote itself never comes back as a trigger; the
    // truck seal break behind it shows the signal was delivered and passed.
    void ownProcessIgnored()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        change("getRuntimeCompNonWM(2)", recordBytes<CRunCompNonWM>({{3, 3}}), int(OWN_PID));
        change("getRuntimeTruck()", recordBytes<CRunTruck>({{1, 3}}), OTHER_PID);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(m_service.hCalls.value("getRuntimeCompNonWM(2)"), 1);
        QVERIFY(hasWarning("reason: \"SPD truck seal breaks unexpected\""));
    }

    // The first reads cover every record, every compartment and CAN
    // interface included, and judge like any later change: a door open at
    // start is reported, while the first time trigger still waits its two
    // minutes.
    void initialReads()
    {
        m_service.hRecords["getRuntimeTruckSensorNonWM()"] = recordBytes<CRunTruckSensorNonWM>({{4, 1}, {6, 1}});
        m_pTrigger = new CFtlTrigger(OWN_PID);
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        m_pTrigger->init(m_pSetupProxy, m_pRuntimeProxy);
        QCOMPARE(spy.count(), 1);
        QVERIFY(hasWarning("reason: \"Cabint door right opened\""));
        QCOMPARE(timer()->interval(), 120000);
        for (const QString &sCall : m_service.hRecords.keys())
            QVERIFY2(m_service.hCalls.value(sCall) == 1, qPrintable(sCall));
        QCOMPARE(m_service.hCalls.size(), m_service.hRecords.size());
    }

    void missingRecordsLogged_data()
    {
        QTest::addColumn<QString>("sCall");
        QTest::addColumn<QString>("sWarning");
        QTest::newRow("general setup") << "getSetupGeneralWM()"
                                       << "getSetupGeneralWM() returns NULL";
        QTest::newRow("fitted compartment") << "getRuntimeCompNonWM(5)"
                                            << "getRuntimeCompNonWM( 5 ) returns NULL";
        QTest::newRow("compartment not fitted, quietly") << "getRuntimeCompNonWM(6)" << QString();
        QTest::newRow("truck sensor, quietly") << "getRuntimeTruckSensorNonWM()" << QString();
    }
    void missingRecordsLogged()
    {
        QFETCH(QString, sCall);
        QFETCH(QString, sWarning);
        m_service.hRecords.remove(sCall);
        startMonitor();
        QVERIFY(sWarning.isEmpty() || hasWarning(sWarning));
        QCOMPARE(hasWarning("returns NULL"), !sWarning.isEmpty());
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

    // Armed two minutes after start, expired as a forced request that starts
    // the full period, re-timed by another writer's setup change but not by
    // a read with process 0.
    void timeTrigger()
    {
        startMonitor();
        QSignalSpy spy(m_pTrigger, &CFtlTrigger::sigStartEventFile);
        QVERIFY(timer()->isActive() && timer()->isSingleShot());
        QCOMPARE(timer()->interval(), 120000);
        QVERIFY(hasWarning("Start FTL time trigger with a duration of 30 min"));
        QVERIFY(QMetaObject::invokeMethod(timer(), "timeout"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        QCOMPARE(timer()->interval(), 30 * 60000);
        change("getSetupGeneralNonWM()", generalSetup(45), 0);
        QTRY_COMPARE(m_service.hCalls.value("getSetupGeneralNonWM()"), 2);
        QCOMPARE(timer()->interval(), 30 * 60000);
        change("getSetupGeneralNonWM()", generalSetup(10), OTHER_PID);
        QTRY_COMPARE(timer()->interval(), 10 * 60000);
        QVERIFY(hasWarning("Stop and restart FTL time trigger after setup change with a duration of 10 min"));
        change("getSetupGeneralNonWM()", generalSetup(0), OTHER_PID);
        QTRY_VERIFY(!timer()->isActive());
    }

  private:
    // A vehicle in Status with six compartments, high pressure fitted and
    // on, doors closed, seals intact, compartment 2 with API and manlid
    // sensors; doors, API and manlid outside loading and mode into loading
    // switched on.
    void stageVehicle(int iDuration)
    {
        m_service.hRecords = {
            {"getSetupGeneralNonWM()", generalSetup(iDuration)},
            {"getSetupGeneralWM()", recordBytes<CSetGeneralWM>({{3, 1}, {4, 6}})},
            {"getSetupGlobalSensorNonWM()", recordBytes<CSetGlobalSensorNonWM>({{7, 1}, {8, 1}, {10, 1}})},
            {"getSetupGeoFencing()", recordBytes<CSetGeoFencing>()},
            {"getRuntimeGeoFencing()", recordBytes<CRunGeoFencing>()},
            {"getRuntimeGeneralNonWM()", recordBytes<CRunGeneralNonWM>({{1, 5}})},
            {"getRuntimeTruck()", recordBytes<CRunTruck>({{1, 1}})},
            {"getRuntimeTruckSensorNonWM()", recordBytes<CRunTruckSensorNonWM>({{4, 1}})},
        };
        for (int i = 0; i < COMPARTMENT_COUNT; ++i) {
            const QString sIndex = QStringLiteral("(%1)").arg(i);
            m_service.hRecords["getSetupCompartmentSensorNonWM" + sIndex] =
                recordBytes<CSetCompartmentSensorNonWM>({{7, qint32(i == 2)}, {9, qint32(i == 2)}});
            m_service.hRecords["getRuntimeCompNonWM" + sIndex] = recordBytes<CRunCompNonWM>({{3, 1}});
            m_service.hRecords["getRuntimeCompSensorNonWM" + sIndex] = recordBytes<CRunCompSensorNonWM>();
            if (i < CAN_INTERFACE_COUNT) {
                m_service.hRecords["getSetupCan" + sIndex] = recordBytes<CSetCan>();
                m_service.hRecords["getRuntimeCan" + sIndex] = recordBytes<CRunCan>();
            }
        }
    }
    static QByteArray generalSetup(int iDuration)
    {
        return recordBytes<CSetGeneralNonWM>({{4, 1}, {133, iDuration}, {134, 1 | 4 | 8 | 16}});
    }

    // Stores the record and sends the change signal that names it, as the
    // service does: "getRuntimeCan(2)" becomes sigRuntimeCan(iProcess, 2).
    void change(const QString &sCall, const QByteArray &baRecord, int iProcess)
    {
        m_service.hRecords[sCall] = baRecord;
        const bool bSetup = sCall.startsWith("getSetup");
        const int iOpen = sCall.indexOf('(');
        QDBusMessage signal = QDBusMessage::createSignal(
            bSetup ? "/SetupData" : "/RuntimeData", bSetup ? "com.Velkor.Tankora.Setup" : "com.Velkor.Tankora.Runtime",
            "sig" + sCall.mid(3, iOpen - 3));
        QVariantList aArguments{iProcess};
        if (sCall.at(iOpen + 1) != ')')
            aArguments << sCall.mid(iOpen + 1).chopped(1).toInt();
        signal.setArguments(aArguments);
        QVERIFY(QDBusConnection::sessionBus().send(signal));
    }

    void startMonitor()
    {
        m_pTrigger = new CFtlTrigger(OWN_PID);
        m_pTrigger->init(m_pSetupProxy, m_pRuntimeProxy);
    }

    QTimer *timer() const { return m_pTrigger->findChild<QTimer *>(); }

    CFakeClock m_clock;
    CFakeService m_service;
    ComVelkorTankoraSetupInterface *m_pSetupProxy = nullptr;
    ComVelkorTankoraRuntimeInterface *m_pRuntimeProxy = nullptr;
    CFtlTrigger *m_pTrigger = nullptr;
    QtMessageHandler m_pPreviousHandler = nullptr;
};

QTEST_GUILESS_MAIN(TestFtlTrigger)
#include "tst_ftltrigger.moc"
