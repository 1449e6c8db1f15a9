#include "app/cpaths.h"
#include "app/cshell.h"
#include "bus/ccalls.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"
#include "records/ccommrecords.h"
#include "records/cmainmode.h"
#include "records/cvehiclerecords.h"
#include "tests/support/crecordingshell.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <limits>

namespace
{

QMutex g_logLock;
QStringList g_asLog;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &sMessage)
{
    QMutexLocker locker(&g_logLock);
    g_asLog << sMessage;
}

int logCount(const QString &sText)
{
    QMutexLocker locker(&g_logLock);
    return int(std::count_if(g_asLog.cbegin(), g_asLog.cend(), [&](const QString &s) { return s.contains(sText); }));
}

int ownPid()
{
    return int(QCoreApplication::applicationPid());
}

const QString sAnswered = QStringLiteral("SetGetName(...,'FTP1'');");

} // namespace

// The stand-in database service on a connection and a thread of its own, so
// the daemon may block on its calls. It owns com.Velkor.Tankora with
// /SetupData and /RuntimeData: each get answers the bytes a test put there,
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
        m_bus.unregisterObject(QStringLiteral("/SetupData"));
        m_bus.unregisterObject(QStringLiteral("/RuntimeData"));
        m_bus.unregisterObject(QStringLiteral("/Logbook"));
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
    void setResult(const QString &sSet, int iResult)
    {
        QMutexLocker locker(&m_objects.lock);
        m_objects.hResults.insert(sSet, iResult);
    }
    // Operations in the order they were called.
    QStringList calls()
    {
        QMutexLocker locker(&m_objects.lock);
        return m_objects.asCalls;
    }
    QList<QByteArray> written(const QString &sSet)
    {
        QMutexLocker locker(&m_objects.lock);
        return m_objects.hWritten.value(sSet);
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
    // Both service objects, answering every call by its operation name on the service's thread.
    struct CObjects : QDBusVirtualObject {
        QMutex lock;
        QHash<QString, QByteArray> hRecords;
        QHash<QString, int> hResults;
        QHash<QString, QList<QByteArray>> hWritten;
        QStringList asCalls;

        QString introspect(const QString &) const override { return QString(); }
        bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
        {
            QMutexLocker locker(&lock);
            const QString sOperation = message.member();
            asCalls << sOperation;
            if (sOperation.startsWith(QLatin1String("set"))) {
                hWritten[sOperation] << message.arguments().value(1).toByteArray();
                const int iResult = hResults.value(sOperation, 1);
                return bus.send(iResult == iFailCall ? message.createErrorReply(QDBusError::Failed, "refused")
                                                     : message.createReply(iResult));
            }
            if (!hRecords.contains(sOperation)) // a service without the record: the call fails
                return bus.send(message.createErrorReply(QDBusError::Failed, QStringLiteral("no record")));
            return bus.send(message.createReply(hRecords.value(sOperation)));
        }
    } m_objects;
    QThread m_thread;
    QDBusConnection m_bus;
    bool m_bReady = false;
};

// The daemon's bus side against a stand-in service on a private bus.
class TestBusSide : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    CRecordingShell m_shell;
    CFakeService *m_pService = nullptr;
    CData *m_pData = nullptr;

    // A handshake round that changes nothing: once its answer is logged,
    // every signal sent before it has been handled.
    // Asks once more and waits until the answer is back at the service, so
    // that everything sent before it has arrived there too.
    void settle()
    {
        const int iBefore = logCount(sAnswered);
        const qsizetype llNamesBefore = m_pService->aNames.size();
        m_pService->sendSignal(QStringLiteral("sigGetName"), {ownPid() + 1, ownPid()});
        QTRY_VERIFY(logCount(sAnswered) > iBefore);
        QTRY_VERIFY(m_pService->aNames.size() > llNamesBefore);
    }

    // The supervisor starts the daemon; the start is over once the trigger
    // monitor is connected.
    void startProcess()
    {
        m_pService->sendSignal(QStringLiteral("sigProcessStart"), {ownPid() + 1, ownPid()});
        QTRY_COMPARE(logCount(QStringLiteral("FTL triggers connected")), 1);
    }
    // The record, or a failing get when the value is -1.
    void putOrFail(const QString &sGet, int iValue, CRecord &record)
    {
        m_pService->putRecord(sGet, iValue < 0 ? QByteArray() : record.toByteArray());
    }

  private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("FTP_DATA_ROOT", m_root.path().toLocal8Bit());
        CShell::setInstance(&m_shell);
        qInstallMessageHandler(captureMessage);
        m_pService = new CFakeService;
        QVERIFY(m_pService->isReady());
    }

    void cleanupTestCase()
    {
        delete m_pService;
        qInstallMessageHandler(nullptr);
        CShell::setInstance(nullptr);
    }

    void init()
    {
        {
            QMutexLocker locker(&g_logLock);
            g_asLog.clear();
        }
        m_shell.asCommands.clear();
        m_pService->aTriggers.clear();
        m_pService->aNames.clear();
        // The vehicle's /var/log exists; the mailbox directory does not yet.
        QDir(rootedPath(QStringLiteral("/var/log/log_tx"))).removeRecursively();
        QVERIFY(QDir().mkpath(rootedPath(QStringLiteral("/var/log"))));
        m_pData = new CData(nullptr);
        QTRY_COMPARE(logCount(QStringLiteral("Connected to session bus!")), 1);
    }

    void cleanup()
    {
        delete m_pData;
        m_pData = nullptr;
    }

    void getKeepsTheCachedRecordOnNull_data()
    {
        QTest::addColumn<bool>("bAnswered");
        QTest::addColumn<QString>("sApn");
        QTest::newRow("record answered") << true << "web.example";
        QTest::newRow("no record") << false << "cached.example";
    }
    void getKeepsTheCachedRecordOnNull()
    {
        QFETCH(bool, bAnswered);
        QFETCH(QString, sApn);
        CSetGsmGprs oAnswer;
        oAnswer.setApn(QStringLiteral("web.example"));
        m_pService->putRecord(QStringLiteral("getSetupGsmGprs"), bAnswered ? oAnswer.toByteArray() : QByteArray());
        ComVelkorTankoraSetupInterface proxy(QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/SetupData"),
                                             QDBusConnection::sessionBus());
        CSetGsmGprs oCached;
        oCached.setApn(QStringLiteral("cached.example"));
        const QByteArray baBytes =
            CBusCalls("cdata", ownPid()).get(proxy.getSetupGsmGprs(), QStringLiteral("getSetupGsmGprs"), oCached);
        QCOMPARE(baBytes.isNull(), !bAnswered);
        QCOMPARE(oCached.apn(), sApn);
        QCOMPARE(logCount(QStringLiteral("getSetupGsmGprs returns NULL")), bAnswered ? 0 : 1);
    }

    // An error reply is no record: its text is never decoded, so a logbook
    // run stops at that row instead of taking the text for one, and the
    // cached general setup stays as it was.
    void errorReplyIsNull_data()
    {
        QTest::addColumn<QString>("sGet");
        QTest::newRow("logbook row") << "getLogbook";
        QTest::newRow("tracking row") << "getLogbookDataTracking";
        QTest::newRow("product") << "getSetupProductWM";
        QTest::newRow("general setup") << "getSetupGeneralNonWM";
    }
    void errorReplyIsNull()
    {
        QFETCH(QString, sGet);
        CSetGeneralNonWM oGeneral;
        oGeneral.setField(71, QStringLiteral("CET"));
        m_pService->putRecord(QStringLiteral("getSetupGeneralNonWM"), oGeneral.toByteArray());
        m_pService->sendSignal(QStringLiteral("sigSetupGeneralNonWM"), {ownPid() + 1});
        settle();
        QCOMPARE(m_pData->generalSetup().sTimeZone(), QStringLiteral("CET"));
        m_pService->putRecord(sGet, QByteArray()); // answered with an error from now on
        const CLogbookFilter filter;
        if (sGet == QLatin1String("getLogbook"))
            QVERIFY(m_pData->logbookRow(filter).isNull());
        else if (sGet == QLatin1String("getLogbookDataTracking"))
            QVERIFY(m_pData->trackingRow(filter).isNull());
        else if (sGet == QLatin1String("getSetupProductWM"))
            QVERIFY(m_pData->productRecord(filter).isNull());
        m_pService->sendSignal(QStringLiteral("sigSetupGeneralNonWM"), {ownPid() + 1});
        settle();
        QCOMPARE(m_pData->generalSetup().sTimeZone(), QStringLiteral("CET"));
        QVERIFY(m_pService->calls().contains(sGet));
    }

    // Only another process may take the link offline.
    void offlineRequestFromOthersOnly_data()
    {
        QTest::addColumn<bool>("bOwn");
        QTest::newRow("supervisor") << false;
        QTest::newRow("our own id") << true;
    }
    void offlineRequestFromOthersOnly()
    {
        QFETCH(bool, bOwn);
        m_pService->sendSignal(QStringLiteral("sigOfflineMode"), {bOwn ? ownPid() : ownPid() + 1, 45});
        settle();
        QCOMPARE(m_pData->offlineRequested(), !bOwn);
        QCOMPARE(m_pData->offlineSeconds(), bOwn ? 0 : 45);
        QCOMPARE(logCount(QStringLiteral("signal 'onSigOfflineMode' received. Seconds: 45")), bOwn ? 0 : 1);
    }

    // The GSM/FTP logbook write's reply is requested, never judged.
    void gsmFtpEntryReplyIsNotJudged()
    {
        m_pService->setResult(QStringLiteral("setLogbookGsmFtp"), -1003);
        const auto llBefore = m_pService->written(QStringLiteral("setLogbookGsmFtp")).size();
        m_pData->writeGsmFtpEntry(9228);
        m_pService->setResult(QStringLiteral("setLogbookGsmFtp"), 1);
        QCOMPARE(m_pService->written(QStringLiteral("setLogbookGsmFtp")).size(), llBefore + 1);
        QCOMPARE(logCount(QStringLiteral("Dbus-Error")), 0);
    }

    // The readers at start decide whether the link is kept and whether a
    // requested GPS file is built (tracking on, or no LT server) or dropped.
    void linkKeepingAndGpsFile_data()
    {
        QTest::addColumn<int>("iTrackingMode");
        QTest::addColumn<int>("iLtServer");
        QTest::addColumn<int>("iVpn");
        QTest::addColumn<bool>("bBuilt");
        QTest::addColumn<bool>("bKept");
        QTest::newRow("tracking with the LT server") << 0 << 1 << -1 << true << true;
        QTest::newRow("tracking mode 1 is off") << 1 << 1 << 0 << false << true;
        QTest::newRow("no tracking setup") << -1 << 1 << -1 << false << true;
        QTest::newRow("VPN only") << 1 << 0 << 1 << true << true;
        QTest::newRow("no LT server setup") << 2 << -1 << -1 << true << false;
    }
    void linkKeepingAndGpsFile()
    {
        QFETCH(int, iTrackingMode);
        QFETCH(int, iLtServer);
        QFETCH(int, iVpn);
        QFETCH(bool, bBuilt);
        QFETCH(bool, bKept);
        CSetGpsTracking oTracking;
        oTracking.setTrackingMode(iTrackingMode);
        putOrFail(QStringLiteral("getSetupGpsTracking"), iTrackingMode, oTracking);
        CSetLTServer oLtServer;
        oLtServer.setEnabled(iLtServer == 1);
        putOrFail(QStringLiteral("getSetupLTServer"), iLtServer, oLtServer);
        CRunVpn oVpn;
        oVpn.setVpnActive(iVpn == 1);
        putOrFail(QStringLiteral("getRuntimeVpn"), iVpn, oVpn);
        CSetGsmGprsFtpData oData;
        oData.setDomain(QStringLiteral("data.example"));
        m_pService->putRecord(QStringLiteral("getSetupGsmGprsFtpData"), oData.toByteArray());
        startProcess();
        QCOMPARE(m_pData->linkKeptForLtServerOrVpn(), bKept);

        CRunTriggerFtpTransfer oTrigger;
        oTrigger.setTrigger(CRunTriggerFtpTransfer::bStartGpsFileTransfer, true);
        m_pService->putRecord(QStringLiteral("getRuntimeTriggerFtpTransfer"), oTrigger.toByteArray());
        m_pService->sendSignal(QStringLiteral("sigRuntimeTriggerFtpTransfer"), {ownPid() + 1});
        settle();
        const int iCallsBefore = int(m_pService->calls().size());
        for (int i = 0; i < 2; ++i) // the second cycle shows a dropped request is gone
            QMetaObject::invokeMethod(m_pData, "datad");
        QCOMPARE(m_pService->calls().mid(iCallsBefore).count(QStringLiteral("getSetupGsm")), bBuilt ? 1 : 0);
    }

    // Another writer's change is read, which shows the subscription is live;
    // the daemon's own is not.
    void changeSignalOfOwnWriteIsNotReadBack_data()
    {
        QTest::addColumn<QString>("sSignal");
        QTest::addColumn<QStringList>("asReads");
        QTest::newRow("transfer trigger")
            << "sigRuntimeTriggerFtpTransfer" << QStringList{"getRuntimeTriggerFtpTransfer"};
        QTest::newRow("link state and module")
            << "sigRuntimeGsmGprs" << QStringList{"getRuntimeGsmGprs", "getRuntimeGsm"};
        QTest::newRow("setup") << "sigSetupGsmGprsFtpData" << QStringList{"getSetupGsmGprsFtpData"};
    }
    void changeSignalOfOwnWriteIsNotReadBack()
    {
        QFETCH(QString, sSignal);
        QFETCH(QStringList, asReads);
        const int iCallsBefore = int(m_pService->calls().size());
        m_pService->sendSignal(sSignal, {ownPid()});
        m_pService->sendSignal(sSignal, {ownPid() + 1});
        settle();
        const QStringList asCalls = m_pService->calls().mid(iCallsBefore);
        for (const QString &sRead : asReads)
            QCOMPARE(asCalls.count(sRead), 1);
    }

    void updateSearchTriggerIsWrittenBackCleared_data()
    {
        QTest::addColumn<QString>("sDomain");
        QTest::addColumn<int>("iAnswer");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("update server set") << "update.example" << 1 << "oSetGsmGprsFtpUpdate OK";
        QTest::newRow("write refused") << "update.example" << -1003 << "Dbus-Error: \"DB_ACCESS_WHILE_BACKUP\"";
        QTest::newRow("failed call") << "update.example" << CFakeService::iFailCall
                                     << "Dbus-Error: \"REPLY_NO_SUCCESS\"";
        QTest::newRow("no update server") << "" << 1 << "software update search trigger ignored";
    }
    void updateSearchTriggerIsWrittenBackCleared()
    {
        QFETCH(QString, sDomain);
        QFETCH(int, iAnswer);
        QFETCH(QString, sLine);
        const bool bWritten = !sDomain.isEmpty();
        const QString sSet = QStringLiteral("setSetupGsmGprsFtpUpdate");
        CSetGsmGprsFtpUpdate oSetup;
        oSetup.setDomain(sDomain);
        oSetup.setSearchTrigger(true);
        m_pService->putRecord(QStringLiteral("getSetupGsmGprsFtpUpdate"), oSetup.toByteArray());
        m_pService->setResult(sSet, iAnswer);
        const int iWrittenBefore = int(m_pService->written(sSet).size());
        m_pService->sendSignal(QStringLiteral("sigSetupGsmGprsFtpUpdate"), {ownPid() + 1});
        settle();
        m_pService->setResult(sSet, 1);

        QCOMPARE(logCount(QStringLiteral("Received sigSetGsmGprsFtpUpdate! ")), 1);
        QCOMPARE(logCount(sLine), 1);
        QCOMPARE(logCount(QStringLiteral("Dbus-Error: ")), sLine.startsWith(QLatin1String("Dbus")) ? 1 : 0);
        QCOMPARE(logCount(QStringLiteral("Trigger software update")), bWritten ? 1 : 0);
        const QList<QByteArray> aWritten = m_pService->written(sSet);
        QCOMPARE(aWritten.size(), iWrittenBefore + (bWritten ? 1 : 0));
        if (bWritten) {
            CSetGsmGprsFtpUpdate oStored;
            QVERIFY(oStored.fromByteArray(aWritten.last()));
            QCOMPARE(oStored.sDomain(), sDomain);
            QVERIFY(!oStored.searchTrigger());
        }
    }

    void linkStateFollowsTheDialUp_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("pppd active") << 1
                                     << "pppd active sInterface_name: ppp0 sTty_device: /dev/ttyS1 iSpeed 115200 "
                                        "remote IP: '10.64.64.64' Local IP: '10.1.2.3'\n";
        QTest::newRow("pppd not active") << 3 << "pppd not active";
        QTest::newRow("other mode") << 2 << QString();
    }
    void linkStateFollowsTheDialUp()
    {
        QFETCH(int, iMode);
        QFETCH(QString, sLine);
        CRunGsmGprs oLink;
        oLink.setMode(iMode);
        oLink.setInterfaceName(QStringLiteral("ppp0"));
        oLink.setField(3, QStringLiteral("/dev/ttyS1"));
        oLink.setField(4, qint32(115200));
        oLink.setRemoteIp(QStringLiteral("10.64.64.64"));
        oLink.setLocalIp(QStringLiteral("10.1.2.3"));
        m_pService->putRecord(QStringLiteral("getRuntimeGsmGprs"), oLink.toByteArray());
        m_pService->sendSignal(QStringLiteral("sigRuntimeGsmGprs"), {ownPid() + 1});
        settle();
        QCOMPARE(logCount(QStringLiteral("Received sigRunGsmGprs! Mode = %1").arg(iMode)), 1);
        QCOMPARE(logCount(QStringLiteral("pppd active")), iMode == 1 ? 1 : 0);
        QCOMPARE(logCount(QStringLiteral("pppd not active")), iMode == 3 ? 1 : 0);
        if (!sLine.isEmpty())
            QCOMPARE(logCount(sLine), 1);
    }

    // The schedule is logged field by field; one that gives no look-up is an error.
    void updateScheduleIsLogged_data()
    {
        QTest::addColumn<QList<int>>("aiMonthDayWeekdayHourMinute");
        QTest::addColumn<bool>("bRemote");
        QTest::addColumn<QString>("sLine");
        QTest::addColumn<bool>("bError");
        QTest::newRow("weekly at 03:30") << QList<int>{0, 0, 1, 3, 30} << true
                                         << "Auto. Sw update parameter:  Remote true Month 0 Day 0 Weekday 1 Hour 3 "
                                            "Minute 30"
                                         << false;
        QTest::newRow("only a month, no look-up")
            << QList<int>{5, 0, 0, 23, 59} << false
            << "Auto. Sw update parameter:  Remote false Month 5 Day 0 Weekday 0 Hour 23 Minute 59" << true;
    }
    void updateScheduleIsLogged()
    {
        QFETCH(QList<int>, aiMonthDayWeekdayHourMinute);
        QFETCH(bool, bRemote);
        QFETCH(QString, sLine);
        QFETCH(bool, bError);
        CSetFtpSwUpdate oSetup;
        for (int i = 0; i < 5; ++i)
            oSetup.setField(i + 2, qint32(aiMonthDayWeekdayHourMinute[i]));
        oSetup.setRemote(bRemote);
        m_pService->putRecord(QStringLiteral("getSetupFtpSwUpdate"), oSetup.toByteArray());
        m_pService->sendSignal(QStringLiteral("sigSetupFtpSwUpdate"), {ownPid() + 1});
        settle();
        QCOMPARE(logCount(sLine), bError ? 2 : 1);
        QCOMPARE(logCount(QStringLiteral("Error in ") + sLine), bError ? 1 : 0);
    }

    void nameAnsweredOnlyWhenAddressedToUs_data()
    {
        QTest::addColumn<int>("iSender");
        QTest::addColumn<int>("iAddressed");
        QTest::addColumn<bool>("bAnswered");
        QTest::newRow("supervisor asks us") << ownPid() + 1 << ownPid() << true;
        QTest::newRow("our own id as sender") << ownPid() << ownPid() << false;
        QTest::newRow("asked for another process") << ownPid() + 1 << ownPid() + 2 << false;
    }
    void nameAnsweredOnlyWhenAddressedToUs()
    {
        QFETCH(int, iSender);
        QFETCH(int, iAddressed);
        QFETCH(bool, bAnswered);
        m_pService->sendSignal(QStringLiteral("sigGetName"), {iSender, iAddressed});
        settle();
        // Every question is noted; only ours (and the settling one) is answered.
        QCOMPARE(logCount(QStringLiteral("onsigGetName()")), 2);
        QCOMPARE(logCount(sAnswered), bAnswered ? 2 : 1);
        QCOMPARE(m_pService->aNames.size(), bAnswered ? 2 : 1);
        QCOMPARE(m_pService->aNames.first(), qMakePair(ownPid(), QByteArray("FTP1")));
    }

    void processStartRunsOnce()
    {
        CSetGsmGprs oDialUp;
        oDialUp.setApn(QStringLiteral("internet"));
        m_pService->putRecord(QStringLiteral("getSetupGsmGprs"), oDialUp.toByteArray());
        CRunGsm oModule;
        oModule.setModuleName(QStringLiteral("Telit"));
        m_pService->putRecord(QStringLiteral("getRuntimeGsm"), oModule.toByteArray());
        // Loading at start, with the switch that reports it: the monitor
        // sees it while it starts, before the controller listens to it.
        CSetGeneralNonWM oSwitches;
        oSwitches.setField(134, qint32(1));
        m_pService->putRecord(QStringLiteral("getSetupGeneralNonWM"), oSwitches.toByteArray());
        CRunGeneralNonWM oRunGeneral;
        oRunGeneral.setMainMode(MainModeLoading);
        m_pService->putRecord(QStringLiteral("getRuntimeGeneralNonWM"), oRunGeneral.toByteArray());
        const int iCallsBefore = int(m_pService->calls().size());
        const int iWrittenBefore = int(m_pService->written(QStringLiteral("setRuntimeGeneralNonWM")).size());
        // Before the start the heartbeat comes from the timer, at "/Signals".
        QTRY_VERIFY_WITH_TIMEOUT(!m_pService->aTriggers.isEmpty(), 5000);
        QCOMPARE(m_pService->aTriggers.first(), qMakePair(ownPid(), QStringLiteral("/Signals")));

        m_pService->sendSignal(QStringLiteral("sigProcessStart"), {ownPid() + 1, ownPid()});
        m_pService->sendSignal(QStringLiteral("sigProcessStart"), {ownPid() + 1, ownPid()});
        // A change read after both starts: the service has seen all they sent.
        m_pService->sendSignal(QStringLiteral("sigSetupLTServer"), {ownPid() + 1});
        auto callsSinceStart = [&] { return m_pService->calls().mid(iCallsBefore); };
        QTRY_COMPARE(callsSinceStart().count(QStringLiteral("getSetupLTServer")), 2);

        // The version first, then the readers in their order; the trigger
        // monitor reads its own records after them.
        const QStringList asExpected{
            "setRuntimeGeneralNonWM", "getSetupGsmGprsFtpUpdate", "getSetupGsmGprsFtpData", "getSetupGsmGprsFtpService",
            "getSetupFtpSwUpdate",    "getSetupGeneralNonWM",     "getSetupLTServer",       "getRuntimeVpn",
            "getSetupGpsTracking",    "getSetupGsmGprs",          "getRuntimeGsm"};
        QCOMPARE(callsSinceStart().mid(0, asExpected.size()), asExpected);
        QCOMPARE(callsSinceStart().last(), QStringLiteral("getSetupLTServer"));
        QCOMPARE(logCount(QStringLiteral("signal 'onsigProcessStart' received. Set SW-Version to \"1.2.29 / "
                                         "tk-release-1.14.2-0-g3786225\"")),
                 2);
        const QList<QByteArray> aWritten = m_pService->written(QStringLiteral("setRuntimeGeneralNonWM"));
        QCOMPARE(aWritten.size(), iWrittenBefore + 1);
        CRunGeneralNonWM oGeneral;
        QVERIFY(oGeneral.fromByteArray(aWritten.last()));
        QCOMPARE(oGeneral.softwareVersions(),
                 (CTextMap{{QStringLiteral("FTP_Data"), QStringLiteral("1.2.29 / tk-release-1.14.2-0-g3786225")}}));

        // After the left-over dial-up of the construction, the LT client is restarted on the system bus.
        QCOMPARE(m_shell.asCommands,
                 (QStringList{"killall pppd", "killall lt_client",
                              "export DBUS_SESSION_BUS_ADDRESS=\"unix:path=/var/run/dbus/system_bus_socket\" \n " +
                                  rootedPath(QStringLiteral("/usr/bin/Tankora/lt_client")) + " &"}));
        const QString sLogTx = rootedPath(QStringLiteral("/var/log/log_tx"));
        QVERIFY(QDir(sLogTx).exists());
        QCOMPARE(logCount(QLatin1Char('"') + sLogTx + QStringLiteral("\" created.")), 1);
        QCOMPARE(logCount(QStringLiteral("GPRS module Name = \"Telit\"")), 1);
        QCOMPARE(logCount(QStringLiteral("Create auto. event file, reason:")), 1);
        QCOMPARE(logCount(QStringLiteral("Trigger for auto. event file")) +
                     logCount(QStringLiteral("Data file trigger")),
                 0);

        // From now on it comes from the thread at "/", and the timer is silent.
        auto countFrom = [&](const QString &sPath) {
            return std::count_if(m_pService->aTriggers.cbegin(), m_pService->aTriggers.cend(),
                                 [&](const QPair<int, QString> &trigger) { return trigger.second == sPath; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 1, 5000);
        const auto iFromSignals = countFrom(QStringLiteral("/Signals"));
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 4, 10000);
        QCOMPARE(countFrom(QStringLiteral("/Signals")), iFromSignals);
        QCOMPARE(logCount(QStringLiteral("Thread connected to session bus!")), 1);
    }

    // Without a GSM/GPRS setup the link still gets 120 s of idle time and of
    // dial-up time-out.
    void dialUpSetupAtStart_data()
    {
        QTest::addColumn<bool>("bSetup");
        QTest::addColumn<int>("iIdleSeconds");
        QTest::addColumn<QString>("sTimeout");
        QTest::newRow("setup read") << true << 300 << "PXLN_GPRS_TIMEOUT=\"45\";";
        QTest::newRow("no setup") << false << 120 << "PXLN_GPRS_TIMEOUT=\"120\";";
    }
    void dialUpSetupAtStart()
    {
        QFETCH(bool, bSetup);
        QFETCH(int, iIdleSeconds);
        QFETCH(QString, sTimeout);
        CSetGsmGprs oDialUp;
        oDialUp.setApn(QStringLiteral("internet"));
        oDialUp.setIdleTime(300);
        oDialUp.setTimeout(45);
        m_pService->putRecord(QStringLiteral("getSetupGsmGprs"), bSetup ? oDialUp.toByteArray() : QByteArray());
        startProcess();
        QCOMPARE(logCount(QStringLiteral("getSetupGsmGprs returns NULL")), bSetup ? 0 : 1);
        QCOMPARE(m_pData->idleTimeSeconds(), iIdleSeconds);
        m_pData->startDialUp();
        QVERIFY2(m_shell.asCommands.last().contains(sTimeout), qPrintable(m_shell.asCommands.last()));
        QCOMPARE(m_shell.asCommands.last().contains(QStringLiteral("PXLN_GPRS_APN=\"internet\"")), bSetup);
    }

    void mailboxThatCannotBeMadeIsReported()
    {
        QVERIFY(QDir(rootedPath(QStringLiteral("/var/log"))).removeRecursively());
        m_pService->sendSignal(QStringLiteral("sigProcessStart"), {ownPid() + 1, ownPid()});
        QTRY_COMPARE(logCount(QStringLiteral("Failed to create ") + rootedPath(QStringLiteral("/var/log/log_tx"))), 1);
    }
};

QTEST_GUILESS_MAIN(TestBusSide)
#include "tst_busside.moc"
