#include "app/cpaths.h"
#include "app/cshell.h"
#include "bus/ccalls.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"
#include "records/ccommrecords.h"
#include "records/cvehiclerecords.h"
#include "tests/support/cfakeservice.h"
#include "tests/support/crecordingshell.h"
#include "tests/support/ctable.h"
#include "tests/support/logged.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace
{

const int iOwnPid = int(QCoreApplication::applicationPid());

const QString sAnswered = QStringLiteral("SetGetName(...,'FTP1'');");

// One get of the daemon after a bad reply: true when it reports that
// nothing came and left the record it reads into as it was.
using FnBadRead = std::function<bool(CData &)>;
template <class TRecord> FnBadRead keptRecord(bool (CData::*pfnRead)(TRecord &))
{
    return [pfnRead](CData &data) {
        TRecord oRecord;
        const QByteArray baBefore = oRecord.toByteArray();
        return !(data.*pfnRead)(oRecord) && oRecord.toByteArray() == baBefore;
    };
}
FnBadRead noRow(QByteArray (CData::*pfnRow)(const CLogbookFilter &))
{
    return [pfnRow](CData &data) { return (data.*pfnRow)(CLogbookFilter()).isEmpty(); };
}
const QHash<QString, FnBadRead> hBadReads{
    {"readGsmSettings", keptRecord(&CData::readGsmSettings)},
    {"readGeneralWM", keptRecord(&CData::readGeneralWM)},
    {"readSealState", keptRecord(&CData::readSealState)},
    {"readRuntimeGeneralNonWM", keptRecord(&CData::readRuntimeGeneralNonWM)},
    {"readRuntimeGeneralWM", keptRecord(&CData::readRuntimeGeneralWM)},
    {"readRuntimeGsmGprs", keptRecord(&CData::readRuntimeGsmGprs)},
    {"readSetupGsmGprs", keptRecord(&CData::readSetupGsmGprs)},
    {"readRuntimeVpn", keptRecord(&CData::readRuntimeVpn)},
    {"readSetupGeneralNonWM", keptRecord(&CData::readSetupGeneralNonWM)},
    {"readMeter", [](CData &data) { CSetMeterWM oMeter; return !data.readMeter(0, oMeter); }},
    {"generalSetupAnswers", [](CData &data) { return !data.generalSetupAnswers(); }},
    {"gsmModuleReady", [](CData &data) { return !data.gsmModuleReady(); }},
    {"logbookRow", noRow(&CData::logbookRow)},
    {"trackingRow", noRow(&CData::trackingRow)},
    {"productRecord", noRow(&CData::productRecord)},
};

} // namespace

// The daemon's bus side against a stand-in service on a private bus.
class TestBusSide : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    CRecordingShell m_shell;
    CFakeService m_service;
    CData *m_pData = nullptr;

    // A handshake round that changes nothing: once its answer is logged and
    // back at the service, every signal sent before it has been handled and
    // everything the daemon sent before it has arrived.
    void settle()
    {
        const int iBefore = logged::count(sAnswered);
        const qsizetype llNamesBefore = m_service.aNames.size();
        m_service.sendSignal(QStringLiteral("sigGetName"), {iOwnPid + 1, iOwnPid});
        QTRY_VERIFY(logged::count(sAnswered) > iBefore);
        QTRY_VERIFY(m_service.aNames.size() > llNamesBefore);
    }
    // A signal, by default another writer's, handled.
    void signalled(const QString &sSignal, const QList<int> &aiArguments = {iOwnPid + 1})
    {
        m_service.sendSignal(sSignal, aiArguments);
        settle();
    }

    // The supervisor starts the daemon; the start is over once the trigger
    // monitor is connected.
    void startProcess()
    {
        m_service.sendSignal(QStringLiteral("sigProcessStart"), {iOwnPid + 1, iOwnPid});
        QTRY_COMPARE(logged::count(QStringLiteral("FTL triggers connected")), 1);
    }

  private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("FTP_DATA_ROOT", m_root.path().toLocal8Bit());
        CShell::setInstance(&m_shell);
        qInstallMessageHandler(logged::capture);
        QVERIFY(m_service.isReady());
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        CShell::setInstance(nullptr);
    }

    void init()
    {
        logged::clear();
        m_shell.asCommands.clear();
        m_service.aTriggers.clear();
        m_service.aNames.clear();
        // The vehicle's /var/log exists; the mailbox directory does not yet.
        QDir(rootedPath(QStringLiteral("/var/log/log_tx"))).removeRecursively();
        QVERIFY(QDir().mkpath(rootedPath(QStringLiteral("/var/log"))));
        m_pData = new CData(nullptr);
        QTRY_COMPARE(logged::count(QStringLiteral("Connected to session bus!")), 1);
    }

    void cleanup()
    {
        delete m_pData;
        m_pData = nullptr;
        // The heartbeat thread ends within its period at every shutdown.
        QCOMPARE(logged::count(QStringLiteral("Heartbeat thread still running")), 0);
    }

    // The client's status is read for another writer only; with no transfer
    // running (type 0) it is cached and noted but judges nothing.
    TABLE_TEST(transferStatusSlot, "busside.tsv")
    {
        const bool bOwn = row[0] == "1", bRecord = row[1] == "1";
        const QString sLine = row[2] == "-" ? QString() : row[2];
        m_service.put(bRecord ? "getRuntimeFtpTransferStatus 5=4" : "getRuntimeFtpTransferStatus -"); // event: finished
        const int iCallsBefore = int(m_service.calls().size());
        signalled(QStringLiteral("sigRuntimeFtpTransferStatus"), {bOwn ? iOwnPid : iOwnPid + 1});
        QCOMPARE(m_service.calls().mid(iCallsBefore).count(QStringLiteral("getRuntimeFtpTransferStatus")),
                 bOwn ? 0 : 1);
        QCOMPARE(logged::count(QStringLiteral("getRuntimeFtpTransferStatus'")), sLine.isEmpty() ? 0 : 1);
        if (!sLine.isEmpty())
            QCOMPARE(logged::count(sLine), 1);
        QCOMPARE(logged::count(QStringLiteral("Transfer state")) + logged::count(QStringLiteral("Transfer of")), 0);
    }

    // Only another process may take the link offline.
    TABLE_TEST(offlineRequestFromOthersOnly, "busside.tsv")
    {
        const bool bOwn = row[0] == "1";
        signalled(QStringLiteral("sigOfflineMode"), {bOwn ? iOwnPid : iOwnPid + 1, 45});
        QCOMPARE(m_pData->offlineRequested(), !bOwn);
        QCOMPARE(m_pData->offlineSeconds(), bOwn ? 0 : 45);
        QCOMPARE(logged::count(QStringLiteral("signal 'onSigOfflineMode' received. Seconds:  45")), bOwn ? 0 : 1);
    }

    // The GSM/FTP logbook write's reply is requested, never judged.
    void gsmFtpEntryReplyIsNotJudged()
    {
        m_service.setResult(QStringLiteral("setLogbookGsmFtp"), -1003);
        m_service.written(QStringLiteral("setLogbookGsmFtp"));
        m_pData->writeGsmFtpEntry(9228);
        m_service.setResult(QStringLiteral("setLogbookGsmFtp"), 1);
        QCOMPARE(m_service.written(QStringLiteral("setLogbookGsmFtp")).size(), 1);
        QCOMPARE(logged::count(QStringLiteral("Dbus-Error")), 0);
    }

    // The readers at start decide whether the link is kept and whether a
    // requested GPS file is built (tracking on, or no LT server) or dropped.
    TABLE_TEST(linkKeepingAndGpsFile, "busside.tsv")
    {
        m_service.put("getSetupGpsTracking " + row[0]);
        m_service.put("getSetupLTServer " + row[1]);
        m_service.put("getRuntimeVpn " + row[2]);
        m_service.put("getSetupGsmGprsFtpData 1=data.example");
        startProcess();
        QCOMPARE(m_pData->linkKeptForLtServerOrVpn(), row[4] == "1");

        CRunTriggerFtpTransfer oTrigger;
        oTrigger.setTrigger(CRunTriggerFtpTransfer::bStartGpsFileTransfer, true);
        m_service.putRecord(QStringLiteral("getRuntimeTriggerFtpTransfer"), oTrigger.toByteArray());
        signalled(QStringLiteral("sigRuntimeTriggerFtpTransfer"));
        const int iCallsBefore = int(m_service.calls().size());
        for (int i = 0; i < 2; ++i) // the second cycle shows a dropped request is gone
            QMetaObject::invokeMethod(m_pData, "datad");
        QCOMPARE(m_service.calls().mid(iCallsBefore).count(QStringLiteral("getSetupGsm")), row[3].toInt());
    }

    // Another writer's change is read, which shows the subscription is live;
    // the daemon's own is not.
    TABLE_TEST(changeSignalOfOwnWriteIsNotReadBack, "busside.tsv")
    {
        const QString sSignal = row[0];
        const int iCallsBefore = int(m_service.calls().size());
        m_service.sendSignal(sSignal, {iOwnPid});
        signalled(sSignal);
        const QStringList asCalls = m_service.calls().mid(iCallsBefore);
        for (const QString &sRead : row[1].split(QLatin1Char(',')))
            QCOMPARE(asCalls.count(sRead), 1);
    }

    TABLE_TEST(updateSearchTriggerIsWrittenBackCleared, "busside.tsv")
    {
        const QString sDomain = row[0], sLine = row[2];
        const int iAnswer = row[1] == "fail" ? CFakeService::iFailCall : row[1].toInt();
        const bool bWritten = !sDomain.isEmpty();
        const QString sSet = QStringLiteral("setSetupGsmGprsFtpUpdate");
        m_service.put("getSetupGsmGprsFtpUpdate 6=true 1=" + sDomain); // search trigger set
        m_service.setResult(sSet, iAnswer);
        m_service.written(sSet);
        signalled(QStringLiteral("sigSetupGsmGprsFtpUpdate"));
        m_service.setResult(sSet, 1);

        QCOMPARE(logged::count(QStringLiteral("Received sigSetGsmGprsFtpUpdate! ")), 1);
        QCOMPARE(logged::count(sLine), 1);
        QCOMPARE(logged::count(QStringLiteral("Trigger software update")), bWritten ? 1 : 0);
        const QList<QByteArray> aWritten = m_service.written(sSet);
        QCOMPARE(aWritten.size(), bWritten ? 1 : 0);
        CSetGsmGprsFtpUpdate oStored;
        QVERIFY(!bWritten ||
                (oStored.fromByteArray(aWritten[0]) && oStored.sDomain() == sDomain && !oStored.searchTrigger()));
    }

    TABLE_TEST(linkStateFollowsTheDialUp, "busside.tsv")
    {
        const int iMode = row[0].toInt();
        const QString sLine = QString(row.value(1)).replace(QLatin1String("\\n"), QLatin1String("\n"));
        m_service.put("getRuntimeGsmGprs 2=ppp0 3=/dev/ttyS1 4=115200 5=10.1.2.3 6=10.64.64.64 1=" + row[0]);
        signalled(QStringLiteral("sigRuntimeGsmGprs"));
        QCOMPARE(logged::count(QStringLiteral("Received sigRunGsmGprs! Mode =  %1").arg(iMode)), 1);
        QCOMPARE(logged::count(QStringLiteral("pppd active")) + logged::count(QStringLiteral("pppd not active")),
                 sLine.isEmpty() ? 0 : 1);
        QVERIFY(sLine.isEmpty() || logged::count(sLine) == 1);
    }

    // The schedule is logged field by field; one that gives no look-up is an error.
    TABLE_TEST(updateScheduleIsLogged, "busside.tsv")
    {
        const QString sLine = row[1];
        const bool bError = row[2] == "1";
        m_service.put("getSetupFtpSwUpdate " + row[0]);
        signalled(QStringLiteral("sigSetupFtpSwUpdate"));
        QCOMPARE(logged::count(sLine), bError ? 2 : 1);
        QCOMPARE(logged::count(QStringLiteral("Error in ") + sLine), bError ? 1 : 0);
    }

    TABLE_TEST(nameAnsweredOnlyWhenAddressedToUs, "busside.tsv")
    {
        const bool bAnswered = row[2] == "1";
        signalled(QStringLiteral("sigGetName"), {iOwnPid + row[0].toInt(), iOwnPid + row[1].toInt()});
        // Every question is noted; only ours (and the settling one) is answered.
        QCOMPARE(logged::count(QStringLiteral("onsigGetName()")), 2);
        QCOMPARE(logged::count(sAnswered), bAnswered ? 2 : 1);
        QCOMPARE(m_service.aNames.size(), bAnswered ? 2 : 1);
        QCOMPARE(m_service.aNames.first(), qMakePair(iOwnPid, QByteArray("FTP1")));
    }

    void processStartRunsOnce()
    {
        m_service.put("getSetupGsmGprs 3=internet");
        m_service.put("getRuntimeGsm 1=Telit");
        // Loading (main mode 3) at start, with the switch that reports it: the
        // monitor sees it while it starts, before the controller listens to it.
        m_service.put("getSetupGeneralNonWM 134=1");
        m_service.put("getRuntimeGeneralNonWM 1=3");
        const int iCallsBefore = int(m_service.calls().size());
        m_service.written(QStringLiteral("setRuntimeGeneralNonWM"));
        // Before the start the heartbeat comes from the timer, at "/Signals".
        QTRY_VERIFY_WITH_TIMEOUT(!m_service.aTriggers.isEmpty(), 5000);
        QCOMPARE(m_service.aTriggers.first(), qMakePair(iOwnPid, QStringLiteral("/Signals")));

        m_service.sendSignal(QStringLiteral("sigProcessStart"), {iOwnPid + 1, iOwnPid});
        m_service.sendSignal(QStringLiteral("sigProcessStart"), {iOwnPid + 1, iOwnPid});
        // A change read after both starts: the service has seen all they sent.
        m_service.sendSignal(QStringLiteral("sigSetupLTServer"), {iOwnPid + 1});
        auto callsSinceStart = [&] { return m_service.calls().mid(iCallsBefore); };
        QTRY_COMPARE(callsSinceStart().count(QStringLiteral("getSetupLTServer")), 2);

        // The version first, then the readers in their order; the trigger
        // monitor reads its own records after them.
        const QStringList asExpected{
            "setRuntimeGeneralNonWM", "getSetupGsmGprsFtpUpdate", "getSetupGsmGprsFtpData", "getSetupGsmGprsFtpService",
            "getSetupFtpSwUpdate",    "getSetupGeneralNonWM",     "getSetupLTServer",       "getRuntimeVpn",
            "getSetupGpsTracking",    "getSetupGsmGprs",          "getRuntimeGsm"};
        QCOMPARE(callsSinceStart().mid(0, asExpected.size()), asExpected);
        QCOMPARE(callsSinceStart().last(), QStringLiteral("getSetupLTServer"));
        QCOMPARE(logged::count(QStringLiteral("signal 'onsigProcessStart' received. Set SW-Version to  \"1.2.29 / "
                                              "tk-release-1.14.2-0-g3786225\"")),
                 2);
        CRunGeneralNonWM oGeneral;
        QVERIFY(oGeneral.fromByteArray(m_service.written(QStringLiteral("setRuntimeGeneralNonWM")).value(0)));
        QCOMPARE(oGeneral.softwareVersions(),
                 (CTextMap{{QStringLiteral("FTP_Data"), QStringLiteral("1.2.29 / tk-release-1.14.2-0-g3786225")}}));

        // After the left-over dial-up of the construction, the LT client is restarted on the system bus.
        QCOMPARE(m_shell.asCommands,
                 (QStringList{"killall pppd", "killall lt_client",
                              "export DBUS_SESSION_BUS_ADDRESS=\"unix:path=/var/run/dbus/system_bus_socket\" \n " +
                                  rootedPath(QStringLiteral("/usr/bin/Tankora/lt_client")) + " &"}));
        const QString sLogTx = rootedPath(QStringLiteral("/var/log/log_tx"));
        QVERIFY(QDir(sLogTx).exists());
        QCOMPARE(logged::count(QLatin1Char('"') + sLogTx + QStringLiteral("\"  created.")), 1);
        QCOMPARE(logged::count(QStringLiteral("GPRS module Name =  \"Telit\"")), 1);
        QCOMPARE(logged::count(QStringLiteral("Create auto. event file, reason:")), 1);
        QCOMPARE(logged::count(QStringLiteral("Trigger for auto. event file")) +
                     logged::count(QStringLiteral("Data file trigger")),
                 0);

        // From now on it comes from the thread at "/", and the timer is silent.
        auto countFrom = [&](const QString &sPath) {
            return std::count_if(m_service.aTriggers.cbegin(), m_service.aTriggers.cend(),
                                 [&](const QPair<int, QString> &trigger) { return trigger.second == sPath; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 1, 5000);
        const auto iFromSignals = countFrom(QStringLiteral("/Signals"));
        QTRY_VERIFY_WITH_TIMEOUT(countFrom(QStringLiteral("/")) >= 4, 10000);
        QCOMPARE(countFrom(QStringLiteral("/Signals")), iFromSignals);
        QCOMPARE(logged::count(QStringLiteral("Thread connected to session bus!")), 1);
    }

    // Without a GSM/GPRS setup the link still gets 120 s of idle time and of
    // dial-up time-out.
    TABLE_TEST(dialUpSetupAtStart, "busside.tsv")
    {
        const bool bSetup = row[0] == "1";
        const QString sTimeout = row[2];
        m_service.put(bSetup ? "getSetupGsmGprs 3=internet 7=300 6=45" : "getSetupGsmGprs -");
        startProcess();
        QCOMPARE(logged::count(QStringLiteral("getSetupGsmGprs returns NULL")), bSetup ? 0 : 1);
        QCOMPARE(m_pData->idleTimeSeconds(), row[1].toInt());
        m_pData->startDialUp();
        QVERIFY2(m_shell.asCommands.last().contains(sTimeout), qPrintable(m_shell.asCommands.last()));
        QCOMPARE(m_shell.asCommands.last().contains(QStringLiteral("PXLN_GPRS_APN=\"internet\"")), bSetup);
    }

    // Every get after an error reply, a reply stalled past the caller's
    // time-out or an empty record: nothing is decoded, the cached general
    // setup stays, and the get is named with " returns NULL" at its level.
    TABLE_TEST(badRepliesOfEveryGet, "busside.tsv")
    {
        const QString sGet = row[0], sReader = row[1], sKind = row[2], sLine = row[3];
        m_service.put("getSetupGeneralNonWM 134=1");
        signalled(QStringLiteral("sigSetupGeneralNonWM"));
        const QByteArray baGeneral = CSetGeneralNonWM(m_pData->generalSetup()).toByteArray();
        CSetGsm oStalled;
        oStalled.setField(2, qint32(77));
        m_service.putRecord(sGet, sKind == "empty" ? QByteArray("") : sKind == "stall" ? oStalled.toByteArray() : QByteArray());
        if (sKind == "stall") { // the vehicle's 25 s would make each row take that long
            m_pData->setBusCallTimeoutMs(400);
            m_service.stallNext(sGet, 800);
        }
        logged::clear();
        if (sReader.startsWith(QLatin1String("sig")))
            signalled(sReader);
        else
            QVERIFY2(hBadReads.value(sReader)(*m_pData), qPrintable(sReader));
        m_service.putRecord(sGet, QByteArray());
        QCOMPARE(CSetGeneralNonWM(m_pData->generalSetup()).toByteArray(), baGeneral);
        const QString sLogged = QStringLiteral(" :  ") + sLine + QLatin1Char(' ');
        QVERIFY2(sLine == "-" ? logged::count(QStringLiteral("returns NULL")) == 0 : logged::count(sLogged) == 1,
                 qPrintable(sLogged));
        QCOMPARE(logged::warnings().contains(sLogged), row[4] == "W");
    }

    void mailboxThatCannotBeMadeIsReported()
    {
        QVERIFY(QDir(rootedPath(QStringLiteral("/var/log"))).removeRecursively());
        m_service.sendSignal(QStringLiteral("sigProcessStart"), {iOwnPid + 1, iOwnPid});
        QTRY_COMPARE(
            logged::count(QStringLiteral("Failed to create  ") + rootedPath(QStringLiteral("/var/log/log_tx"))), 1);
    }
};

QTEST_GUILESS_MAIN(TestBusSide)
#include "tst_busside.moc"
