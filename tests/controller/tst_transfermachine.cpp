#include "controller/cgpsrequest.h"
#include "controller/ctransfermachine.h"
#include "files/cswupdateschedule.h"
#include "records/ccommrecords.h"
#include "tests/support/cfakeclock.h"

#include <QStringList>
#include <QTest>

namespace
{

// The rest of the daemon as the machine sees it, scripted by each case and
// recording every action and log line ("D …" debug, "W …" warning) in order,
// with a clock that moves only when a cycle or a sleep moves it.
struct CRig : CTransferHost {
    bool bModuleReady = true, bNameResolves = true, bServiceServer = false, bInfoFileBuilt = true;
    bool bKeepLink = false, bOffline = false;
    int iIdleSeconds = 60, iOfflineSeconds = 600, iLastInterval = 0;
    QList<QPair<TransferType, QString>> aPending;
    QList<bool> abNameResolves; // taken one per test before bNameResolves applies
    QStringList asActions, asLines;
    CFakeClock clock;
    CTransferMachine machine{*this};

    // The given number of event files waiting.
    explicit CRig(int iEvents = 0) : aPending(iEvents, {TransferEvent, QStringLiteral("/f")}) {}

    void log(const CLogLine &line) override { asLines << (line.eLevel == CLogLine::Debug ? "D " : "W ") + line.sText; }
    bool gsmModuleReady() override { return bModuleReady; }
    void startDialUp() override { asActions << "startDialUp"; }
    void stopDialUp() override { asActions << "killall pppd"; }
    void killDialUp() override { asActions << "killall -9 pppd"; }
    void killFtpClient() override { asActions << "killall -9 FTP_Client"; }
    bool nameResolves() override
    {
        asActions << "dns";
        return abNameResolves.isEmpty() ? bNameResolves : abNameResolves.takeFirst();
    }
    void restartModule(int iReason) override { asActions << QStringLiteral("restart %1").arg(iReason); }
    TransferType nextTransfer(bool bConsume, QString &sFileName) override
    {
        if (aPending.isEmpty())
            return TransferNone;
        sFileName = aPending.first().second;
        return bConsume ? aPending.takeFirst().first : aPending.first().first;
    }
    void startTransfer(TransferType eType, const QString &sFileName) override
    {
        asActions << QStringLiteral("transfer %1 %2").arg(int(eType)).arg(sFileName);
    }
    bool sendInfoFile() override { return asActions << "info", bInfoFileBuilt; }
    void resetTransferStatus() override { asActions << "reset status"; }
    void writeGsmFtpEntry(int iEventCode) override { asActions << QStringLiteral("logbook %1").arg(iEventCode); }
    bool serviceServerConfigured() const override { return bServiceServer; }
    int idleTimeSeconds() const override { return iIdleSeconds; }
    bool linkKeptForLtServerOrVpn() const override { return bKeepLink; }
    bool offlineRequested() const override { return bOffline; }
    void clearOfflineRequest() override { bOffline = false; }
    int offlineSeconds() const override { return iOfflineSeconds; }

    // One cycle, then the cycle timer's interval passes.
    int cycle()
    {
        iLastInterval = machine.step();
        clock.advance(iLastInterval);
        return machine.state();
    }
    void cycles(int iCount)
    {
        while (iCount-- > 0)
            cycle();
    }
    // Cycles until the state is reached; false after iMaxCycles.
    bool runUntil(int iState, int iMaxCycles = 200)
    {
        for (int i = 0; i < iMaxCycles && machine.state() != iState; ++i)
            cycle();
        return machine.state() == iState;
    }
    // Up to the first file transfer with the link up.
    void bringLinkUp()
    {
        QVERIFY(runUntil(PPP_STARTUP));
        machine.setPppdUp(true);
        QVERIFY(runUntil(FILE_WAIT_FINISH));
    }
};

} // namespace

class TestTransferMachine : public QObject
{
    Q_OBJECT

  private slots:
    // One name from the table, and the values outside it.
    void stateNames()
    {
        QCOMPARE(stateChangeLine(1), QStringLiteral("******** Statechange to \"PPP_IDLE\" ********"));
        QCOMPARE(pppStateName(0), QStringLiteral("Unknown state"));
        QCOMPARE(pppStateName(11), QStringLiteral("Unknown state"));
    }

    // No work, or no ready module: pppd is never started, however long it waits.
    void neverDials_data()
    {
        QTest::addColumn<bool>("bModuleReady");
        QTest::addColumn<bool>("bPending");
        QTest::addColumn<int>("iState");
        QTest::newRow("nothing pending") << true << false << int(GPRS_WAIT);
        QTest::newRow("module not ready") << false << true << int(PPP_IDLE);
    }
    void neverDials()
    {
        QFETCH(bool, bModuleReady);
        QFETCH(bool, bPending);
        QFETCH(int, iState);
        CRig rig(bPending ? 1 : 0);
        rig.bModuleReady = bModuleReady;
        rig.cycles(200); // over sixteen minutes
        QCOMPARE(rig.machine.state(), iState);
        QVERIFY(rig.asActions.isEmpty());
        QCOMPARE(rig.asLines.count("D ******** Statechange to \"GPRS_WAIT\" ********"), bModuleReady ? 1 : 0);
    }

    // Every time-out counts strictly from its start: nothing happens at the
    // exact span, the next state follows one millisecond later.
    void timeoutAtItsBoundary_data()
    {
        QTest::addColumn<int>("iState");
        QTest::addColumn<qint64>("llSpanMs");
        QTest::addColumn<int>("iNext");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("GPRS_WAIT 30 s") << int(GPRS_WAIT) << 30000LL << int(PPP_STARTUP)
                                        << "W start the 'pppd' process";
        QTest::newRow("PPP_STARTUP 120 s")
            << int(PPP_STARTUP) << 120000LL << int(PPP_IDLE) << "W Timeout starting 'PPPD'";
        QTest::newRow("FILE_WAIT_FINISH 180 s")
            << int(FILE_WAIT_FINISH) << 180000LL << int(FILE_TRANSFER_FINISHED) << "W Timeout in FTP-Transfer";
        QTest::newRow("idle time 60 s") << int(FILE_TRANSFER_FINISHED) << 60000LL << int(PPP_SHUTDOWN)
                                        << "D stop pppd after 60 seconds (CSetGsmGprs.IdleTime)";
        QTest::newRow("PPP_SHUTDOWN 30 s") << int(PPP_SHUTDOWN) << 30000LL << int(PPP_IDLE)
                                           << "W Possible TX problem - Finished: true - FinishedError: false";
        QTest::newRow("PPP_DISABLED offline 600 s")
            << int(PPP_DISABLED) << 600000LL << int(PPP_IDLE) << "D pppd disable time ends";
    }
    void timeoutAtItsBoundary()
    {
        QFETCH(int, iState);
        QFETCH(qint64, llSpanMs);
        QFETCH(int, iNext);
        QFETCH(QString, sLine);
        CRig rig(iState == PPP_STARTUP || iState == GPRS_WAIT ? 1 : 0);
        rig.bKeepLink = iState == PPP_DISABLED;
        if (iState > PPP_STARTUP) {
            rig.aPending = {{TransferEvent, QStringLiteral("/f")}};
            rig.bringLinkUp();
            rig.aPending.clear();
            rig.bOffline = rig.bKeepLink;
            rig.iIdleSeconds = iState == PPP_SHUTDOWN ? 0 : 60;
            if (iState == FILE_WAIT_FINISH)
                rig.machine.step(); // the wait counts from its first cycle
            else
                rig.machine.setTransferFinished(false);
        }
        QVERIFY(rig.runUntil(iState));
        // The state's start is the step that entered it (the first wait cycle
        // for FILE_WAIT_FINISH, which takes no interval).
        const qint64 llStart = rig.clock.monotonicMs() - (iState == FILE_WAIT_FINISH ? 0 : rig.iLastInterval);
        rig.clock.advance(llStart + llSpanMs - rig.clock.monotonicMs());
        rig.machine.step();
        QCOMPARE(rig.machine.state(), iState);
        QVERIFY(!rig.asLines.contains(sLine));
        rig.clock.advance(1);
        rig.machine.step();
        QCOMPARE(rig.machine.state(), iNext);
        QVERIFY(rig.asLines.contains(sLine));
    }

    void mainPath_data()
    {
        QTest::addColumn<bool>("bServiceServer");
        QTest::addColumn<QStringList>("asExpected");
        QTest::newRow("service server sends info file first")
            << true << QStringList{"startDialUp", "dns", "info", "transfer 2 /f", "killall pppd", "reset status"};
        QTest::newRow("no service server skips it")
            << false << QStringList{"startDialUp", "dns", "transfer 2 /f", "killall pppd", "reset status"};
    }
    void mainPath()
    {
        QFETCH(bool, bServiceServer);
        QFETCH(QStringList, asExpected);
        CRig rig(1);
        rig.bServiceServer = bServiceServer;
        rig.bringLinkUp();
        if (bServiceServer) {
            QCOMPARE(rig.machine.currentTransferType(), TransferInfo);
            rig.machine.setTransferFinished(false);
            QVERIFY(rig.runUntil(FILE_TRANSFER_ACTIVE));
            QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        }
        QCOMPARE(rig.machine.currentTransferType(), TransferEvent);
        rig.aPending.clear(); // the client removed what it sent
        rig.machine.setTransferFinished(false);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        rig.machine.setPppdStopped(true);
        QVERIFY(rig.runUntil(PPP_IDLE));
        QCOMPARE(rig.asActions, asExpected);
        QVERIFY(rig.asLines.contains("W Start transfer: TransferType 2 Filename /f"));
        QVERIFY(rig.asLines.contains("D stop pppd after 60 seconds (CSetGsmGprs.IdleTime)"));
        QCOMPARE(rig.asLines.count("D ******** Statechange to \"FILE_WAIT_FINISH\" ********"), bServiceServer ? 2 : 1);
    }

    void pppdNeverComesUp()
    {
        CRig rig(1);
        for (int iAttempt = 0; iAttempt < 4; ++iAttempt) {
            QVERIFY(rig.runUntil(PPP_STARTUP));
            QVERIFY(rig.runUntil(PPP_IDLE));
            QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleMs));
        }
        QCOMPARE(rig.asLines.count("W Timeout starting 'PPPD'"), 4);
        QVERIFY(rig.asLines.contains("D PPP retry: 2"));
        QVERIFY(rig.asLines.contains("W To many PPP retries -> Restart module - 3"));
        QCOMPARE(rig.machine.pppRetryCounter(), 1);
        QCOMPARE(rig.asActions.count("restart 0"), 1);
        const int iRestart = int(rig.asActions.indexOf("restart 0"));
        QCOMPARE(rig.asActions.mid(iRestart - 3, 4),
                 (QStringList{"killall pppd", "killall -9 pppd", "killall -9 FTP_Client", "restart 0"}));
        QCOMPARE(rig.clock.slept(), qint64(4 * 30000));
    }

    // Three failures take the link down; the fourth in a row resets the module.
    void nameResolutionFails()
    {
        CRig rig(1);
        rig.bNameResolves = false;
        for (int iRound = 1; iRound <= 4; ++iRound) {
            QVERIFY(rig.runUntil(PPP_STARTUP));
            rig.machine.setPppdUp(true);
            QVERIFY(rig.runUntil(PPP_STARTUP_WAIT));
            int iState = rig.machine.state();
            while (iState == PPP_STARTUP_WAIT)
                iState = rig.cycle();
            QVERIFY(rig.asLines.contains(QStringLiteral("D DNS failed. Count :%1").arg(iRound)));
            if (iRound == 4)
                break;
            QCOMPARE(iState, int(PPP_SHUTDOWN));
            rig.machine.setPppdUp(false);
            rig.machine.setPppdStopped(true);
            QVERIFY(rig.runUntil(PPP_IDLE));
        }
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleAfterResetMs));
        QCOMPARE(rig.asLines.count("W PPP_STARTUP_WAIT timeout  => stop pppd"), 4);
        QVERIFY(rig.asLines.contains("W DNS not reachable after 3 retry. Reset GPRS module"));
        QCOMPARE(rig.machine.dnsFailureCount(), 0);
        QCOMPARE(rig.asActions.count("restart 0"), 1);
        QVERIFY(rig.asActions.count("dns") >= 40); // ten tests per cycle, a second apart
    }

    void statusUpdatesKeepSlowTransferAlive()
    {
        CRig rig(1);
        rig.bringLinkUp();
        for (int i = 0; i < 100; ++i) { // 500 s, an update every 100 s
            if (i % 20 == 0)
                rig.machine.noteStatusUpdate();
            QCOMPARE(rig.cycle(), int(FILE_WAIT_FINISH));
        }
    }

    // A success clears the failure count; four failures in a row reset the module.
    void repeatedFailuresResetModule()
    {
        CRig rig(7);
        rig.bringLinkUp();
        rig.machine.setTransferFinished(true);
        rig.cycles(2); // to FINISHED, which counts the failure
        QCOMPARE(rig.machine.transferFailureCount(), 1);
        QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        rig.machine.setTransferFinished(false);
        rig.cycle();
        QCOMPARE(rig.machine.transferFailureCount(), 0);
        QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        for (int iFailure = 1; iFailure <= 4; ++iFailure) {
            QCOMPARE(rig.machine.state(), int(FILE_WAIT_FINISH));
            rig.machine.setTransferFinished(true);
            rig.cycles(2);
            const QString sCounted = QStringLiteral("W Transfer failed. Count :%1").arg(iFailure);
            QCOMPARE(rig.asLines.count(sCounted), iFailure == 1 ? 2 : 1);
            if (iFailure < 4)
                QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        }
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleAfterResetMs));
        QVERIFY(rig.asLines.contains("W Reset GPRS module"));
        QCOMPARE(rig.machine.transferFailureCount(), 0);
        QCOMPARE(rig.asActions.count("restart 0"), 1);
    }

    // The failed transfer stays marked: the shutdown asks for a module restart.
    void failedTransferWithoutNameResolutionStopsLink()
    {
        CRig rig(2);
        rig.bringLinkUp();
        rig.abNameResolves = {false};
        rig.machine.setTransferFinished(true);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        QCOMPARE(rig.asActions.mid(rig.asActions.size() - 2), (QStringList{"dns", "killall pppd"}));
        rig.machine.setPppdStopped(true);
        QCOMPARE(rig.cycle(), int(PPP_IDLE));
        QVERIFY(rig.asLines.contains("W Possible TX problem - Finished: true - FinishedError: true"));
        QCOMPARE(rig.asActions.mid(rig.asActions.size() - 2), (QStringList{"restart 0", "reset status"}));
    }

    // While the LT server keeps the link, an offline request takes it down for
    // its seconds; with an LT-server transfer pending the logbook learns of it.
    // The idle check runs in the same step: an idle time already over
    // (taken one cycle ago, IdleTime 0) goes on to PPP_SHUTDOWN.
    void offlineRequestWhileLinkKept_data()
    {
        QTest::addColumn<bool>("bLtPending");
        QTest::addColumn<int>("iIdleSeconds");
        QTest::addColumn<int>("iState");
        QTest::addColumn<QStringList>("asOffline");
        QTest::newRow("link kept, nothing pending") << false << 5 << int(PPP_DISABLED) << QStringList{"killall pppd"};
        QTest::newRow("LT server transfer pending")
            << true << 0 << int(PPP_DISABLED) << QStringList{"killall pppd", "logbook 9228"};
        QTest::newRow("idle time over in the same step")
            << false << 0 << int(PPP_SHUTDOWN) << QStringList{"killall pppd", "killall pppd"};
    }
    void offlineRequestWhileLinkKept()
    {
        QFETCH(bool, bLtPending);
        QFETCH(int, iIdleSeconds);
        QFETCH(int, iState);
        QFETCH(QStringList, asOffline);
        CRig rig(1);
        rig.iIdleSeconds = iIdleSeconds;
        rig.bKeepLink = true;
        rig.bringLinkUp();
        rig.aPending.clear();
        if (bLtPending)
            rig.aPending = {{TransferLtServer, QString()}};
        rig.machine.setTransferFinished(false);
        rig.cycles(100); // the link stays up
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));

        const int iBefore = int(rig.asActions.size());
        rig.bOffline = true;
        QCOMPARE(rig.cycle(), iState);
        QVERIFY(!rig.bOffline);
        QCOMPARE(rig.asActions.mid(iBefore), asOffline);
        if (iState != PPP_DISABLED)
            return;
        rig.cycles(119); // 595 s of the 600
        QCOMPARE(rig.machine.state(), int(PPP_DISABLED));
        rig.cycles(2);
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QVERIFY(rig.asLines.contains("D pppd disable time ends"));
        QCOMPARE(rig.asActions.mid(rig.asActions.size() - 2), (QStringList{"reset status", "logbook 9229"}));
    }

    void linkOnlyTransferFinishesAtOnce()
    {
        CRig rig;
        rig.aPending = {{TransferVpn, QString()}};
        QVERIFY(rig.runUntil(PPP_STARTUP));
        rig.machine.setPppdUp(true);
        QVERIFY(rig.runUntil(FILE_TRANSFER_FINISHED));
        QVERIFY(rig.machine.transferFinished());
        QVERIFY(!rig.asActions.join(',').contains("transfer"));
    }

    void infoFileNotBuiltRetries()
    {
        CRig rig(1);
        rig.bServiceServer = true;
        rig.bInfoFileBuilt = false;
        QVERIFY(rig.runUntil(PPP_STARTUP));
        rig.machine.setPppdUp(true);
        QVERIFY(rig.runUntil(SEND_INFO_FILE));
        rig.cycles(3);
        QCOMPARE(rig.machine.state(), int(SEND_INFO_FILE));
        QCOMPARE(rig.asLines.count("W INFO-File NOT created"), 3);
    }

    void gpsTransferMarksActive()
    {
        CRig rig;
        rig.aPending = {{TransferGps, QStringLiteral("/var/log/FTL/GPS1.ftl")}};
        rig.bringLinkUp();
        QVERIFY(rig.machine.gpsTransferActive());
        rig.machine.setTransferFinished(false);
        rig.cycle();
        QVERIFY(!rig.machine.gpsTransferActive());
    }

    // A requested GPS file waits while one is on its way or no data server
    // is set; it is built unless the LT server sends positions with tracking off.
    void gpsRequest_data()
    {
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<QString>("sDomain");
        QTest::addColumn<bool>("bLtServer");
        QTest::addColumn<bool>("bTracking");
        QTest::addColumn<int>("iStep");
        QTest::newRow("GPS transfer active") << true << "ftp.example" << false << true << int(EGpsRequest::Keep);
        QTest::newRow("one-character domain") << false << "x" << false << true << int(EGpsRequest::Keep);
        QTest::newRow("no LT server") << false << "ab" << false << false << int(EGpsRequest::Build);
        QTest::newRow("LT server and tracking") << false << "ab" << true << true << int(EGpsRequest::Build);
        QTest::newRow("LT server, tracking off") << false << "ab" << true << false << int(EGpsRequest::Drop);
    }
    void gpsRequest()
    {
        QFETCH(bool, bActive);
        QFETCH(QString, sDomain);
        QFETCH(bool, bLtServer);
        QFETCH(bool, bTracking);
        QFETCH(int, iStep);
        QCOMPARE(int(gpsRequestStep(bActive, sDomain, bLtServer, bTracking)), iStep);
    }

    // GPRS_WAIT and FILE_TRANSFER_FINISHED look without consuming: a due
    // look-up stays due until FILE_TRANSFER_ACTIVE's consuming look starts it.
    void scheduledLookupStaysDueUntilStarted()
    {
        CSetFtpSwUpdate oSetup; // weekly on Monday at 03:00
        oSetup.setRemote(true);
        oSetup.setField(4, qint32(2));
        oSetup.setField(5, qint32(3));
        CSwUpdateSchedule schedule;
        bool bAfterRestart = false;
        QList<CLogLine> aLog;
        const QDateTime dtMonday(QDate(2026, 12, 7), QTime(2, 59));
        QVERIFY(!schedule.IsSwUpdateDue(oSetup, dtMonday, bAfterRestart, aLog, false));
        const QDateTime dtDue = dtMonday.addSecs(120);
        QVERIFY(schedule.IsSwUpdateDue(oSetup, dtDue, bAfterRestart, aLog, false));
        QVERIFY(schedule.IsSwUpdateDue(oSetup, dtDue, bAfterRestart, aLog, false));
        QVERIFY(schedule.IsSwUpdateDue(oSetup, dtDue, bAfterRestart, aLog, true));
        QVERIFY(!schedule.IsSwUpdateDue(oSetup, dtDue, bAfterRestart, aLog, false));
        QCOMPARE(aLog.count(debugLine(QStringLiteral("Start software update look-up"))), 3);
    }

    // A new connection starts idle, with no state-change line for it.
    void connectResetsToIdle()
    {
        CRig rig;
        rig.machine.setState(PPP_SHUTDOWN);
        rig.machine.resetOnConnect();
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        rig.cycle();
        QVERIFY(!rig.asLines.contains("D ******** Statechange to \"PPP_IDLE\" ********"));
    }
};

QTEST_APPLESS_MAIN(TestTransferMachine)
#include "tst_transfermachine.moc"
