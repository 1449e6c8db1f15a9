#include "fakeservice.h"

#include "app/cpaths.h"
#include "app/cshell.h"
#include "bus/ccalls.h"
#include "bus/handshaketexts.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"
#include "records/ccommrecords.h"
#include "records/cvehiclerecords.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDir>
#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include "tests/support/crecordingshell.h"

#include <QTest>

namespace {

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
    int iCount = 0;
    for (const QString &sLine : std::as_const(g_asLog))
        iCount += sLine.contains(sText) ? 1 : 0;
    return iCount;
}

void clearLog()
{
    QMutexLocker locker(&g_logLock);
    g_asLog.clear();
}

int ownPid()
{
    return int(QCoreApplication::applicationPid());
}


} // namespace

// The process supervisor as the daemon meets it on the bus: it hears the
// heartbeat and the short name.
class CSupervisor : public QObject
{
    Q_OBJECT

public:
    CSupervisor()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("supervisor")))
    {
        const QString sInterface = QStringLiteral("com.Velkor.Tankora.Signals");
        m_bus.connect(QString(), QString(), sInterface, QStringLiteral("sigTrigger"), this,
                      SLOT(onTrigger(QDBusMessage)));
        m_bus.connect(QString(), QString(), sInterface, QStringLiteral("sigSendName"), this,
                      SLOT(onSendName(QDBusMessage)));
    }

signals:
    void triggered(int iProcess, const QString &sPath);
    void sentName(int iProcess, const QByteArray &baName);

private slots:
    void onTrigger(const QDBusMessage &message)
    {
        emit triggered(message.arguments().value(0).toInt(), message.path());
    }
    void onSendName(const QDBusMessage &message)
    {
        emit sentName(message.arguments().value(0).toInt(), message.arguments().value(1).toByteArray());
    }

private:
    QDBusConnection m_bus;
};

// The daemon's bus side against a stand-in service on a private bus.
class TestBusSide : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    CRecordingShell m_shell;
    CFakeService *m_pService = nullptr;
    CSupervisor *m_pSupervisor = nullptr;
    CData *m_pData = nullptr;

    void sendSupervisor(const QString &sSignal, int iFirst, int iSecond)
    {
        m_pService->sendSignal(QStringLiteral("/Supervisor"), QStringLiteral("com.Velkor.Tankora.Signals"), sSignal,
                               {iFirst, iSecond});
    }

    // A handshake round that changes nothing: once its answer is logged,
    // every signal sent before it has been handled.
    void settle()
    {
        const int iBefore = logCount(QStringLiteral("SetGetName(...,'FTP1'');"));
        sendSupervisor(QStringLiteral("sigGetName"), ownPid() + 1, ownPid());
        QTRY_VERIFY(logCount(QStringLiteral("SetGetName(...,'FTP1'');")) > iBefore);
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
        m_pSupervisor = new CSupervisor;
    }

    void cleanupTestCase()
    {
        delete m_pSupervisor;
        delete m_pService;
        qInstallMessageHandler(nullptr);
        CShell::setInstance(nullptr);
    }

    void init()
    {
        clearLog();
        m_shell.asCommands.clear();
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
        QTest::addColumn<int>("iWarnings");
        QTest::newRow("record answered") << true << "web.example" << 0;
        QTest::newRow("no record") << false << "cached.example" << 1;
    }
    void getKeepsTheCachedRecordOnNull()
    {
        QFETCH(bool, bAnswered);
        QFETCH(QString, sApn);
        QFETCH(int, iWarnings);
        CSetGsmGprs oAnswer;
        oAnswer.setApn(QStringLiteral("web.example"));
        if (bAnswered)
            m_pService->setup.putRecord(QStringLiteral("getSetupGsmGprs"), oAnswer.toByteArray());
        else
            m_pService->setup.dropRecord(QStringLiteral("getSetupGsmGprs"));

        ComVelkorTankoraSetupInterface proxy(QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/SetupData"),
                                             QDBusConnection::sessionBus());
        CBusCalls calls("cdata", ownPid());
        CSetGsmGprs oCached;
        oCached.setApn(QStringLiteral("cached.example"));
        const QByteArray baBytes = calls.get(proxy.getSetupGsmGprs(), QStringLiteral("getSetupGsmGprs"), oCached);

        QCOMPARE(baBytes.isNull(), !bAnswered);
        QCOMPARE(oCached.apn(), sApn);
        QCOMPARE(logCount(QStringLiteral("getSetupGsmGprs returns NULL")), iWarnings);
    }

    void setLogsEveryResultButSuccess_data()
    {
        QTest::addColumn<bool>("bKnownMethod");
        QTest::addColumn<int>("iAnswer");
        QTest::addColumn<int>("iResult");
        QTest::addColumn<QString>("sError");
        QTest::newRow("success") << true << 1 << 1 << QString();
        QTest::newRow("backup running") << true << -1003 << -1003 << "Dbus-Error: \"DB_ACCESS_WHILE_BACKUP\"";
        QTest::newRow("unknown code") << true << 7 << 7 << "Dbus-Error: \"7\"";
        QTest::newRow("failed call") << false << 1 << 0 << "Dbus-Error: \"REPLY_NO_SUCCESS\"";
    }
    void setLogsEveryResultButSuccess()
    {
        QFETCH(bool, bKnownMethod);
        QFETCH(int, iAnswer);
        QFETCH(int, iResult);
        QFETCH(QString, sError);
        m_pService->setup.setResult(QStringLiteral("setSetupGsmGprsFtpUpdate"), iAnswer);
        const int iWrittenBefore = m_pService->setup.written(QStringLiteral("setSetupGsmGprsFtpUpdate")).size();

        ComVelkorTankoraSetupInterface proxy(QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/SetupData"),
                                             QDBusConnection::sessionBus());
        CBusCalls calls("cdata", ownPid());
        CSetGsmGprsFtpUpdate oRecord;
        oRecord.setDomain(QStringLiteral("update.example"));
        // The stand-in has no setSetupGsm, so that call fails.
        const int iGot = bKnownMethod
                             ? calls.set(&proxy, &ComVelkorTankoraSetupInterface::setSetupGsmGprsFtpUpdate, oRecord)
                             : calls.set(&proxy, &ComVelkorTankoraSetupInterface::setSetupGsm, oRecord);

        QCOMPARE(iGot, iResult);
        QCOMPARE(logCount(QStringLiteral("Dbus-Error: ")), sError.isEmpty() ? 0 : 1);
        if (!sError.isEmpty())
            QCOMPARE(logCount(sError), 1);
        const QList<QByteArray> aWritten = m_pService->setup.written(QStringLiteral("setSetupGsmGprsFtpUpdate"));
        QCOMPARE(aWritten.size(), iWrittenBefore + (bKnownMethod ? 1 : 0));
        if (bKnownMethod) {
            CSetGsmGprsFtpUpdate oStored;
            QVERIFY(oStored.fromByteArray(aWritten.last()));
            QCOMPARE(oStored.sDomain(), QStringLiteral("update.example"));
        }
    }

    void changeSignalOfOwnWriteIsNotReadBack_data()
    {
        QTest::addColumn<QString>("sPath");
        QTest::addColumn<QString>("sInterface");
        QTest::addColumn<QString>("sSignal");
        QTest::addColumn<QStringList>("asReads");
        const QString sRuntime = QStringLiteral("com.Velkor.Tankora.Runtime");
        const QString sSetup = QStringLiteral("com.Velkor.Tankora.Setup");
        const QString sRuntimePath = QStringLiteral("/RuntimeData");
        const QString sSetupPath = QStringLiteral("/SetupData");
        QTest::newRow("transfer trigger") << sRuntimePath << sRuntime << "sigRuntimeTriggerFtpTransfer"
                                          << QStringList{"getRuntimeTriggerFtpTransfer"};
        QTest::newRow("link state and module")
            << sRuntimePath << sRuntime << "sigRuntimeGsmGprs" << QStringList{"getRuntimeGsmGprs", "getRuntimeGsm"};
        QTest::newRow("transfer status") << sRuntimePath << sRuntime << "sigRuntimeFtpTransferStatus"
                                         << QStringList{"getRuntimeFtpTransferStatus"};
        QTest::newRow("vpn") << sRuntimePath << sRuntime << "sigRuntimeVpn" << QStringList{"getRuntimeVpn"};
        QTest::newRow("ftp update") << sSetupPath << sSetup << "sigSetupGsmGprsFtpUpdate"
                                    << QStringList{"getSetupGsmGprsFtpUpdate"};
        QTest::newRow("ftp data") << sSetupPath << sSetup << "sigSetupGsmGprsFtpData"
                                  << QStringList{"getSetupGsmGprsFtpData"};
        QTest::newRow("ftp service") << sSetupPath << sSetup << "sigSetupGsmGprsFtpService"
                                     << QStringList{"getSetupGsmGprsFtpService"};
        QTest::newRow("dial-up setup") << sSetupPath << sSetup << "sigSetupGsmGprs" << QStringList{"getSetupGsmGprs"};
        QTest::newRow("update schedule") << sSetupPath << sSetup << "sigSetupFtpSwUpdate"
                                         << QStringList{"getSetupFtpSwUpdate"};
        QTest::newRow("general setup") << sSetupPath << sSetup << "sigSetupGeneralNonWM"
                                       << QStringList{"getSetupGeneralNonWM"};
        QTest::newRow("lt server") << sSetupPath << sSetup << "sigSetupLTServer" << QStringList{"getSetupLTServer"};
        QTest::newRow("gps tracking") << sSetupPath << sSetup << "sigSetupGpsTracking"
                                      << QStringList{"getSetupGpsTracking"};
    }
    void changeSignalOfOwnWriteIsNotReadBack()
    {
        QFETCH(QString, sPath);
        QFETCH(QString, sInterface);
        QFETCH(QString, sSignal);
        QFETCH(QStringList, asReads);
        QList<int> aiBefore;
        for (const QString &sRead : asReads)
            aiBefore << CFakeRecords::callCount(sRead);

        m_pService->sendSignal(sPath, sInterface, sSignal, {ownPid()});
        // Another writer's change is read, which shows the subscription is live.
        m_pService->sendSignal(sPath, sInterface, sSignal, {ownPid() + 1});
        settle();

        for (int i = 0; i < asReads.size(); ++i)
            QCOMPARE(CFakeRecords::callCount(asReads[i]), aiBefore[i] + 1);
    }

    void updateSearchTriggerIsWrittenBackCleared_data()
    {
        QTest::addColumn<QString>("sDomain");
        QTest::addColumn<int>("iAnswer");
        QTest::addColumn<bool>("bWritten");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("update server set") << "update.example" << 1 << true << "oSetGsmGprsFtpUpdate OK";
        QTest::newRow("write refused") << "update.example" << -1003 << true << "Dbus-Error: \"DB_ACCESS_WHILE_BACKUP\"";
        QTest::newRow("no update server") << "" << 1 << false << "software update search trigger ignored";
    }
    void updateSearchTriggerIsWrittenBackCleared()
    {
        QFETCH(QString, sDomain);
        QFETCH(int, iAnswer);
        QFETCH(bool, bWritten);
        QFETCH(QString, sLine);
        CSetGsmGprsFtpUpdate oSetup;
        oSetup.setDomain(sDomain);
        oSetup.setSearchTrigger(true);
        m_pService->setup.putRecord(QStringLiteral("getSetupGsmGprsFtpUpdate"), oSetup.toByteArray());
        m_pService->setup.setResult(QStringLiteral("setSetupGsmGprsFtpUpdate"), iAnswer);
        const int iWrittenBefore = m_pService->setup.written(QStringLiteral("setSetupGsmGprsFtpUpdate")).size();

        m_pService->sendSignal(QStringLiteral("/SetupData"), QStringLiteral("com.Velkor.Tankora.Setup"),
                               QStringLiteral("sigSetupGsmGprsFtpUpdate"), {ownPid() + 1});
        settle();

        QCOMPARE(logCount(QStringLiteral("Received sigSetGsmGprsFtpUpdate! ")), 1);
        QCOMPARE(logCount(sLine), 1);
        QCOMPARE(logCount(QStringLiteral("Trigger software update")), bWritten ? 1 : 0);
        const QList<QByteArray> aWritten = m_pService->setup.written(QStringLiteral("setSetupGsmGprsFtpUpdate"));
        QCOMPARE(aWritten.size(), iWrittenBefore + (bWritten ? 1 : 0));
        if (bWritten) {
            CSetGsmGprsFtpUpdate oStored;
            QVERIFY(oStored.fromByteArray(aWritten.last()));
            QCOMPARE(oStored.sDomain(), sDomain);
            QVERIFY(!oStored.searchTrigger());
        }
        m_pService->setup.setResult(QStringLiteral("setSetupGsmGprsFtpUpdate"), 1);
    }

    void linkStateFollowsTheDialUp_data()
    {
        QTest::addColumn<int>("iMode");
        QTest::addColumn<QStringList>("asLines");
        QTest::newRow("pppd active") << 1
                                     << QStringList{"pppd active sInterface_name: ppp0 sTty_device: /dev/ttyS1 iSpeed "
                                                    "115200 remote IP: '10.64.64.64' Local IP: '10.1.2.3'\n",
                                                    "Received sigRunGsmGprs! Mode = 1"};
        QTest::newRow("pppd not active") << 3 << QStringList{"pppd not active", "Received sigRunGsmGprs! Mode = 3"};
        QTest::newRow("other mode") << 2 << QStringList{"Received sigRunGsmGprs! Mode = 2"};
    }
    void linkStateFollowsTheDialUp()
    {
        QFETCH(int, iMode);
        QFETCH(QStringList, asLines);
        CRunGsmGprs oLink;
        oLink.setMode(iMode);
        oLink.setInterfaceName(QStringLiteral("ppp0"));
        oLink.setField(3, QStringLiteral("/dev/ttyS1"));
        oLink.setField(4, qint32(115200));
        oLink.setRemoteIp(QStringLiteral("10.64.64.64"));
        oLink.setLocalIp(QStringLiteral("10.1.2.3"));
        m_pService->runtime.putRecord(QStringLiteral("getRuntimeGsmGprs"), oLink.toByteArray());

        m_pService->sendSignal(QStringLiteral("/RuntimeData"), QStringLiteral("com.Velkor.Tankora.Runtime"),
                               QStringLiteral("sigRuntimeGsmGprs"), {ownPid() + 1});
        settle();

        for (const QString &sLine : asLines)
            QCOMPARE(logCount(sLine), 1);
        QCOMPARE(logCount(QStringLiteral("pppd active")), iMode == 1 ? 1 : 0);
        QCOMPARE(logCount(QStringLiteral("pppd not active")), iMode == 3 ? 1 : 0);
    }

    void heartbeatBeforeStartComesFromSignals()
    {
        QSignalSpy spy(m_pSupervisor, &CSupervisor::triggered);
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.first().value(0).toInt(), ownPid());
        QCOMPARE(spy.first().value(1).toString(), QStringLiteral("/Signals"));
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
        QSignalSpy spy(m_pSupervisor, &CSupervisor::sentName);
        sendSupervisor(QStringLiteral("sigGetName"), iSender, iAddressed);
        settle();
        // Every question is noted; only ours (and the settling one) is answered.
        QCOMPARE(logCount(QStringLiteral("onsigGetName()")), 2);
        QCOMPARE(logCount(QStringLiteral("SetGetName(...,'FTP1'');")), bAnswered ? 2 : 1);
        QTRY_COMPARE(spy.size(), bAnswered ? 2 : 1);
        QCOMPARE(spy.first().value(0).toInt(), ownPid());
        QCOMPARE(spy.first().value(1).toByteArray(), QByteArray("FTP1"));
    }

    void processStartRunsOnce()
    {
        CSetGsmGprs oDialUp;
        oDialUp.setApn(QStringLiteral("internet"));
        m_pService->setup.putRecord(QStringLiteral("getSetupGsmGprs"), oDialUp.toByteArray());
        CRunGsm oModule;
        oModule.setModuleName(QStringLiteral("Telit"));
        m_pService->runtime.putRecord(QStringLiteral("getRuntimeGsm"), oModule.toByteArray());
        const int iCallsBefore = CFakeRecords::calls().size();
        const int iWrittenBefore = m_pService->runtime.written(QStringLiteral("setRuntimeGeneralNonWM")).size();
        QSignalSpy heartbeats(m_pSupervisor, &CSupervisor::triggered);

        sendSupervisor(QStringLiteral("sigProcessStart"), ownPid() + 1, ownPid());
        sendSupervisor(QStringLiteral("sigProcessStart"), ownPid() + 1, ownPid());
        // A change read after both starts: the service has seen all they sent.
        m_pService->sendSignal(QStringLiteral("/SetupData"), QStringLiteral("com.Velkor.Tankora.Setup"),
                               QStringLiteral("sigSetupLTServer"), {ownPid() + 1});
        auto callsSinceStart = [iCallsBefore] { return CFakeRecords::calls().mid(iCallsBefore); };
        QTRY_COMPARE(callsSinceStart().count(QStringLiteral("getSetupLTServer")), 2);

        // The version first, then the readers in their order; the trigger
        // monitor reads its own records after them.
        const QStringList asExpected{"setRuntimeGeneralNonWM",   "getSetupGsmGprsFtpUpdate", "getSetupGsmGprsFtpData",
                                     "getSetupGsmGprsFtpService", "getSetupFtpSwUpdate",      "getSetupGeneralNonWM",
                                     "getSetupLTServer",          "getRuntimeVpn",            "getSetupGpsTracking",
                                     "getSetupGsmGprs",           "getRuntimeGsm"};
        QCOMPARE(callsSinceStart().mid(0, asExpected.size()), asExpected);
        QCOMPARE(callsSinceStart().last(), QStringLiteral("getSetupLTServer"));
        QCOMPARE(logCount(QStringLiteral("FTL triggers connected")), 1);
        QCOMPARE(logCount(processStartText(daemonVersionText())), 2);

        const QList<QByteArray> aWritten = m_pService->runtime.written(QStringLiteral("setRuntimeGeneralNonWM"));
        QCOMPARE(aWritten.size(), iWrittenBefore + 1);
        CRunGeneralNonWM oGeneral;
        QVERIFY(oGeneral.fromByteArray(aWritten.last()));
        QCOMPARE(oGeneral.softwareVersions(),
                 (CTextMap{{QStringLiteral("FTP_Data"), QStringLiteral("1.2.29 / tk-release-1.14.2-0-g3786225")}}));

        const QString sLtClient = rootedPath(QStringLiteral("/usr/bin/Tankora/lt_client"));
        QCOMPARE(m_shell.asCommands.count(QStringLiteral("killall lt_client")), 1);
        QCOMPARE(m_shell.asCommands.count(ltClientStartCommand(sLtClient)), 1);
        const QString sLogTx = rootedPath(QStringLiteral("/var/log/log_tx"));
        QVERIFY(QDir(sLogTx).exists());
        QCOMPARE(logCount(QLatin1Char('"') + sLogTx + QStringLiteral("\" created.")), 1);
        QCOMPARE(logCount(QStringLiteral("getSetupGsmGprs successfull with data: m_oSetGsmGprs.getAPN()\"internet\"")),
                 1);
        QCOMPARE(logCount(QStringLiteral("GPRS module Name = \"Telit\"")), 1);

        // From now on the heartbeat comes from the thread at "/", and the
        // pre-start timer is silent.
        auto countFrom = [&heartbeats](const QString &sPath) {
            int iCount = 0;
            for (const QList<QVariant> &args : std::as_const(heartbeats))
                iCount += args.value(1).toString() == sPath ? 1 : 0;
            return iCount;
        };
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 1, 5000);
        const int iFromSignals = countFrom(QStringLiteral("/Signals"));
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 4, 10000);
        QCOMPARE(countFrom(QStringLiteral("/Signals")), iFromSignals);
        QCOMPARE(logCount(QStringLiteral("Thread connected to session bus!")), 1);
    }
};

QTEST_GUILESS_MAIN(TestBusSide)
#include "tst_busside.moc"
