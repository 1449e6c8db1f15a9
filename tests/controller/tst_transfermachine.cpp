#include "controller/cgpsrequest.h"
#include "controller/ctransfermachine.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/ctable.h"

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

    void log(const CLogLine &line) override { asLines << logText({line}); }
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

    // Cycles, each followed by the cycle timer's interval; the state after them.
    int cycle(int iCount = 1)
    {
        while (iCount-- > 0)
            clock.advance(iLastInterval = machine.step());
        return machine.state();
    }
    // Cycles until the state is reached; false after iMaxCycles.
    bool runUntil(int iState, int iMaxCycles = 200)
    {
        for (int i = 0; i < iMaxCycles && machine.state() != iState; ++i)
            cycle();
        return machine.state() == iState;
    }
    // Up to the state (the first file transfer) with the link up.
    void bringLinkUp(int iState = FILE_WAIT_FINISH)
    {
        QVERIFY(runUntil(PPP_STARTUP));
        machine.setPppdUp(true);
        QVERIFY(runUntil(iState));
    }
};

} // namespace

class TestTransferMachine : public QObject
{
    Q_OBJECT

  private slots:
    // No work, or no ready module: pppd is never started, however long it waits.
    TABLE_TEST(neverDials, "transfermachine.tsv")
    {
        const bool bModuleReady = row[0] == "1";
        CRig rig(row[1].toInt());
        rig.bModuleReady = bModuleReady;
        rig.cycle(200); // over sixteen minutes
        QCOMPARE(rig.machine.state(), row[2].toInt());
        QCOMPARE(rig.iLastInterval, 5000);
        QVERIFY(rig.asActions.isEmpty());
        QCOMPARE(rig.asLines.count("D ******** Statechange to  \"GPRS_WAIT\"  ********"), bModuleReady ? 1 : 0);
    }

    // Every time-out counts strictly from its start: nothing happens at the
    // exact span, the next state follows one millisecond later.
    TABLE_TEST(timeoutAtItsBoundary, "transfermachine.tsv")
    {
        const int iState = row[0].toInt();
        const QString sLine = row[3];
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
        rig.clock.advance(llStart + row[1].toLongLong() - rig.clock.monotonicMs());
        rig.machine.step();
        QCOMPARE(rig.machine.state(), iState);
        QVERIFY(!rig.asLines.contains(sLine));
        rig.clock.advance(1);
        rig.machine.step();
        QCOMPARE(rig.machine.state(), row[2].toInt());
        QVERIFY(rig.asLines.contains(sLine));
    }

    TABLE_TEST(mainPath, "transfermachine.tsv")
    {
        CRig rig(1);
        rig.bServiceServer = row[0] == "1";
        rig.bringLinkUp();
        if (rig.bServiceServer) {
            rig.machine.setTransferFinished(false);
            QVERIFY(rig.runUntil(FILE_TRANSFER_ACTIVE));
            QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        }
        rig.aPending.clear(); // the client removed what it sent
        rig.machine.setTransferFinished(false);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        rig.machine.setPppdStopped(true);
        QVERIFY(rig.runUntil(PPP_IDLE));
        QCOMPARE(rig.asActions, row[1].split(','));
        QVERIFY(rig.asLines.contains("W Start transfer: TransferType  2  Filename  /f"));
        QVERIFY(rig.asLines.contains("D stop pppd after  60  seconds (CSetGsmGprs.IdleTime)"));
        QCOMPARE(rig.asLines.count("D ******** Statechange to  \"FILE_WAIT_FINISH\"  ********"),
                 rig.bServiceServer ? 2 : 1);
    }

    // The fourth start without pppd coming up kills what is left and resets the module.
    void pppdNeverComesUp()
    {
        CRig rig(1);
        for (int iAttempt = 0; iAttempt < 4; ++iAttempt)
            QVERIFY(rig.runUntil(PPP_STARTUP) && rig.runUntil(PPP_IDLE));
        QCOMPARE(rig.asLines.count("W Timeout starting 'PPPD'"), 4);
        QVERIFY(rig.asLines.contains("D PPP retry:  2"));
        QVERIFY(rig.asLines.contains("W To many PPP retries -> Restart module -  3"));
        QCOMPARE(rig.asActions.mid(rig.asActions.indexOf("restart 0") - 3),
                 (QStringList{"killall pppd", "killall -9 pppd", "killall -9 FTP_Client", "restart 0"}));
        QCOMPARE(rig.clock.slept(), qint64(4 * 30000));
    }

    // Three failures take the link down; the fourth in a row resets the module.
    void nameResolutionFails()
    {
        CRig rig(1);
        rig.bNameResolves = false;
        for (int iRound = 1; iRound <= 4; ++iRound) {
            rig.bringLinkUp(iRound < 4 ? PPP_SHUTDOWN : PPP_IDLE);
            QVERIFY(rig.asLines.contains(QStringLiteral("D DNS failed. Count : %1").arg(iRound)));
            rig.machine.setPppdUp(false);
            rig.machine.setPppdStopped(true);
            QVERIFY(rig.runUntil(PPP_IDLE));
        }
        QCOMPARE(rig.iLastInterval, 30000);
        QCOMPARE(rig.asLines.count("W PPP_STARTUP_WAIT timeout  => stop pppd"), 4);
        QVERIFY(rig.asLines.contains("W DNS not reachable after  3  retry. Reset GPRS module"));
        QCOMPARE(rig.asActions.count("restart 0"), 1);
        // Ten tests a cycle, a second apart: the 30-s wait from the cycle that
        // saw pppd up ends in the third cycle after it (5 s, then 10 s of
        // tests each). Each round 30 tests and 30 s asleep; three shutdowns
        // of 5 s; one module reset of 30 s.
        QCOMPARE(rig.asActions.count("dns"), 4 * 30);
        QCOMPARE(rig.clock.slept(), qint64(4 * 30000 + 3 * 5000 + 30000));
    }

    // Each kind of transfer reads its own group of the client's status. Any
    // update restarts the 180-s wait; a final state of the group ends the
    // transfer. A failed test file is removed and not counted, every other
    // failed file stays and is counted; the link-only types judge nothing.
    TABLE_TEST(statusWhileRunning, "transfermachine.tsv")
    {
        const bool bLinkOnly = row[1] == "-";
        CRig rig;
        rig.iIdleSeconds = 3600;
        rig.aPending = {{TransferType(row[0].toInt()), QStringLiteral("/var/log/FTL/f.ftl")}};
        rig.bringLinkUp(FILE_TRANSFER_ACTIVE);
        const int iRunning = bLinkOnly ? FILE_TRANSFER_FINISHED : FILE_WAIT_FINISH;
        CRunFtpTransferStatus oStatus;
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup) {
            oStatus.setState(CRunFtpTransferStatus::EGroup(iGroup), 3);
            oStatus.setFileName(CRunFtpTransferStatus::EGroup(iGroup), QStringLiteral("f.ftl"));
        }
        rig.cycle(31);                                                     // 150 s into the wait
        QCOMPARE(rig.asActions.last().startsWith("transfer"), !bLinkOnly); // the link-only types start no client
        rig.machine.takeStatusUpdate(oStatus);
        rig.cycle(30);                           // 300 s in all, 150 s after the update
        QCOMPARE(rig.machine.state(), iRunning); // no time-out

        const qsizetype llLines = rig.asLines.size();
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup) {
            if (bLinkOnly || iGroup == row[1].toInt())
                oStatus.setState(CRunFtpTransferStatus::EGroup(iGroup), row[2].toInt());
        }
        QCOMPARE(rig.machine.takeStatusUpdate(oStatus), row.value(5));
        QCOMPARE(int(rig.asLines.size() - llLines), bLinkOnly ? 0 : 2);
        QVERIFY(rig.machine.transferFinished());
        QCOMPARE(rig.machine.transferFinishedWithError(), row[3] == "1");
        rig.cycle(2);
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));
        QCOMPARE(rig.machine.transferFailureCount(), row[4].toInt());
    }

    // A success clears the failure count; four failures in a row reset the module.
    void repeatedFailuresResetModule()
    {
        CRig rig(7);
        rig.bringLinkUp();
        for (bool bFailed : {true, false, true, true, true, true}) {
            QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
            rig.machine.setTransferFinished(bFailed);
            rig.cycle(2);
        }
        QCOMPARE(rig.asLines.count("W Transfer failed. Count : 1"), 2);
        QCOMPARE(rig.asLines.count("W Transfer failed. Count : 4"), 1);
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QCOMPARE(rig.iLastInterval, 30000);
        QVERIFY(rig.asLines.contains("W Reset GPRS module"));
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
        QVERIFY(rig.asLines.contains("W Possible TX problem - Finished:  true  - FinishedError:  true"));
        QCOMPARE(rig.asActions.mid(rig.asActions.size() - 2), (QStringList{"restart 0", "reset status"}));
    }

    // While the LT server keeps the link, an offline request takes it down for
    // its seconds; with an LT-server transfer pending the logbook learns of it.
    // The idle check runs in the same step: an idle time already over
    // (taken one cycle ago, IdleTime 0) goes on to PPP_SHUTDOWN.
    TABLE_TEST(offlineRequestWhileLinkKept, "transfermachine.tsv")
    {
        const int iState = row[2].toInt();
        CRig rig(1);
        rig.iIdleSeconds = row[1].toInt();
        rig.bKeepLink = true;
        rig.bringLinkUp();
        rig.aPending.clear();
        if (row[0] == "1")
            rig.aPending = {{TransferLtServer, QString()}};
        rig.machine.setTransferFinished(false);
        rig.cycle(100); // the link stays up
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));

        const int iBefore = int(rig.asActions.size());
        rig.bOffline = true;
        QCOMPARE(rig.cycle(), iState);
        QVERIFY(!rig.bOffline);
        QCOMPARE(rig.asActions.mid(iBefore), row[3].split(','));
        if (iState != PPP_DISABLED)
            return;
        QVERIFY(rig.runUntil(PPP_IDLE));
        QCOMPARE(rig.asActions.mid(rig.asActions.size() - 2), (QStringList{"reset status", "logbook 9229"}));
    }

    // A GPS file is marked on its way until it ends.
    void gpsTransferIsMarked()
    {
        CRig rig;
        rig.aPending = {{TransferGps, QStringLiteral("/var/log/FTL/GPS1.ftl")}};
        rig.bringLinkUp();
        QVERIFY(rig.machine.gpsTransferActive());
        rig.machine.setTransferFinished(false);
        rig.cycle();
        QVERIFY(!rig.machine.gpsTransferActive());
    }

    void infoFileNotBuiltRetries()
    {
        CRig rig(1);
        rig.bServiceServer = true;
        rig.bInfoFileBuilt = false;
        rig.bringLinkUp(SEND_INFO_FILE);
        rig.cycle(3);
        QCOMPARE(rig.machine.state(), int(SEND_INFO_FILE));
        QCOMPARE(rig.asLines.count("W INFO-File NOT created"), 3);
    }

    // A requested GPS file waits while one is on its way or no data server
    // is set; it is built unless the LT server sends positions with tracking off.
    TABLE_TEST(gpsRequest, "transfermachine.tsv")
    {
        QCOMPARE(int(gpsRequestStep(row[0] == "1", row[1], row[2] == "1", row[3] == "1")), row[4].toInt());
    }
};

QTEST_APPLESS_MAIN(TestTransferMachine)
#include "tst_transfermachine.moc"
