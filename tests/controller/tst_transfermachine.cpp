#include "controller/ctransfermachine.h"
#include "tests/support/cfakeclock.h"

#include <QStringList>
#include <QTest>

namespace {

// The rest of the daemon as the machine sees it, scripted by each case and
// recording every action in order.
class CScriptedHost : public CTransferHost
{
public:
    bool bModuleReady = true;
    QList<QPair<TransferType, QString>> aPending;
    QList<bool> abNameResolves; // consumed one per test; empty means it resolves
    bool bNameResolvesDefault = true;
    bool bServiceServer = false;
    bool bInfoFileBuilt = true;
    int iIdleSeconds = 60;
    bool bKeepLink = false;
    bool bOffline = false;
    int iOfflineSeconds = 600;

    QStringList asActions;
    QList<CLogLine> aLines;

    void log(const CLogLine &line) override { aLines.append(line); }
    bool gsmModuleReady() override { return bModuleReady; }
    void startDialUp() override { asActions << "startDialUp"; }
    void stopDialUp() override { asActions << "killall pppd"; }
    void killDialUp() override { asActions << "killall -9 pppd"; }
    void killFtpClient() override { asActions << "killall -9 FTP_Client"; }
    bool nameResolves() override
    {
        asActions << "dns";
        return abNameResolves.isEmpty() ? bNameResolvesDefault : abNameResolves.takeFirst();
    }
    void restartModule(int iReason) override { asActions << QStringLiteral("restart %1").arg(iReason); }
    TransferType nextTransfer(bool bConsume, QString &sFileName) override
    {
        if (aPending.isEmpty())
            return TransferNone;
        const auto next = bConsume ? aPending.takeFirst() : aPending.first();
        sFileName = next.second;
        return next.first;
    }
    void startTransfer(TransferType eType, const QString &sFileName) override
    {
        asActions << QStringLiteral("transfer %1 %2").arg(int(eType)).arg(sFileName);
    }
    bool sendInfoFile() override
    {
        asActions << "info";
        return bInfoFileBuilt;
    }
    void resetTransferStatus() override { asActions << "reset status"; }
    void writeGsmFtpEntry(int iEventCode) override { asActions << QStringLiteral("logbook %1").arg(iEventCode); }
    bool serviceServerConfigured() const override { return bServiceServer; }
    int idleTimeSeconds() const override { return iIdleSeconds; }
    bool linkKeptForLtServerOrVpn() const override { return bKeepLink; }
    bool offlineRequested() const override { return bOffline; }
    void clearOfflineRequest() override { bOffline = false; }
    int offlineSeconds() const override { return iOfflineSeconds; }

    bool logged(CLogLine::ELevel eLevel, const QString &sText) const
    {
        return aLines.contains(CLogLine{eLevel, sText});
    }
    int countLogged(const QString &sText) const
    {
        int iCount = 0;
        for (const CLogLine &line : aLines)
            iCount += line.sText == sText ? 1 : 0;
        return iCount;
    }
};

struct CRig
{
    CFakeClock clock;
    CScriptedHost host;
    CTransferMachine machine{host};
    int iLastInterval = 0;

    // One cycle, then the cycle timer's interval passes.
    int cycle()
    {
        iLastInterval = machine.step();
        clock.advance(iLastInterval);
        return machine.state();
    }
    // Cycles until the state is reached; false after iMaxCycles.
    bool runUntil(int iState, int iMaxCycles = 200)
    {
        for (int i = 0; i < iMaxCycles; ++i) {
            if (machine.state() == iState)
                return true;
            cycle();
        }
        return machine.state() == iState;
    }
    void cycles(int iCount)
    {
        for (int i = 0; i < iCount; ++i)
            cycle();
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
    void nothingPendingNeverDials()
    {
        CRig rig;
        rig.cycles(200); // over sixteen minutes
        QCOMPARE(rig.machine.state(), int(GPRS_WAIT));
        QVERIFY(!rig.host.asActions.contains("startDialUp"));
        QCOMPARE(rig.host.countLogged(QStringLiteral("******** Statechange to \"GPRS_WAIT\" ********")), 1);
    }

    void moduleNotReadyStaysIdle()
    {
        CRig rig;
        rig.host.bModuleReady = false;
        rig.host.aPending = {{TransferEvent, "/var/log/FTL/EVEl20240105093000.ftl"}};
        rig.cycles(50);
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QVERIFY(rig.host.asActions.isEmpty());
    }

    // The 30 s of GPRS_WAIT count strictly: at 30000 ms not yet, after it yes.
    void gprsWaitIsStrict()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/f"}};
        rig.machine.step(); // idle -> GPRS_WAIT at t0
        rig.clock.advance(30000);
        rig.machine.step();
        QCOMPARE(rig.machine.state(), int(GPRS_WAIT));
        rig.clock.advance(1);
        rig.machine.step();
        QCOMPARE(rig.machine.state(), int(PPP_STARTUP));
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("start the 'pppd' process")));
        QCOMPARE(rig.host.asActions, QStringList{"startDialUp"});
    }

    void mainPathWithInfoFile_data()
    {
        QTest::addColumn<bool>("bServiceServer");
        QTest::addColumn<QStringList>("asExpected");
        QTest::newRow("service server sends info file first")
            << true
            << QStringList{"startDialUp", "dns", "info", "transfer 2 /var/log/FTL/EVEl1.ftl", "killall pppd", "reset status"};
        QTest::newRow("no service server skips it")
            << false << QStringList{"startDialUp", "dns", "transfer 2 /var/log/FTL/EVEl1.ftl", "killall pppd", "reset status"};
    }
    void mainPathWithInfoFile()
    {
        QFETCH(bool, bServiceServer);
        QFETCH(QStringList, asExpected);
        CRig rig;
        rig.host.bServiceServer = bServiceServer;
        rig.host.aPending = {{TransferEvent, "/var/log/FTL/EVEl1.ftl"}};

        QVERIFY(rig.runUntil(PPP_STARTUP));
        rig.machine.setPppdUp(true);
        QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        if (bServiceServer) {
            QCOMPARE(rig.machine.currentTransferType(), TransferInfo);
            rig.machine.setTransferFinished(false);
            QVERIFY(rig.runUntil(FILE_TRANSFER_ACTIVE));
            QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        }
        QCOMPARE(rig.machine.currentTransferType(), TransferEvent);
        rig.host.aPending.clear(); // the client removed what it sent
        rig.machine.setTransferFinished(false);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("stop pppd after 60 seconds (CSetGsmGprs.IdleTime)")));
        rig.machine.setPppdStopped(true);
        QVERIFY(rig.runUntil(PPP_IDLE));
        QCOMPARE(rig.host.asActions, asExpected);
        QVERIFY(rig.host.logged(CLogLine::Warning,
                                QStringLiteral("Start transfer: TransferType 2 Filename /var/log/FTL/EVEl1.ftl")));
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("File transfer finished")));
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("pppd stopped")));
        QCOMPARE(rig.host.countLogged(QStringLiteral("******** Statechange to \"FILE_WAIT_FINISH\" ********")),
                 bServiceServer ? 2 : 1);
    }

    void idleTimeKeepsLinkUp()
    {
        CRig rig;
        rig.host.iIdleSeconds = 120;
        rig.host.aPending = {{TransferEvent, "/f"}};
        rig.bringLinkUp();
        rig.host.aPending.clear();
        rig.machine.setTransferFinished(false);
        rig.cycle(); // -> FINISHED, idle time taken
        const qint64 llIdleFrom = rig.clock.monotonicMs() - 5000;
        while (rig.machine.state() == FILE_TRANSFER_FINISHED && rig.clock.monotonicMs() - llIdleFrom <= 120000)
            rig.cycle();
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));
        rig.cycle();
        QCOMPARE(rig.machine.state(), int(PPP_SHUTDOWN));
    }

    void pppdNeverComesUp()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/f"}};
        for (int iAttempt = 0; iAttempt < 4; ++iAttempt) {
            QVERIFY(rig.runUntil(PPP_STARTUP));
            QVERIFY(rig.runUntil(PPP_IDLE));
            QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleMs));
        }
        QCOMPARE(rig.host.countLogged(QStringLiteral("Timeout starting 'PPPD'")), 4);
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("PPP retry: 0")));
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("PPP retry: 1")));
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("PPP retry: 2")));
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("To many PPP retries -> Restart module - 3")));
        QCOMPARE(rig.machine.pppRetryCounter(), 1);
        QCOMPARE(rig.host.asActions.count("restart 0"), 1);
        const int iRestart = rig.host.asActions.indexOf("restart 0");
        QCOMPARE(rig.host.asActions.mid(iRestart - 3, 4),
                 (QStringList{"killall pppd", "killall -9 pppd", "killall -9 FTP_Client", "restart 0"}));
        QCOMPARE(rig.clock.slept(), qint64(4 * 30000));
    }

    void nameResolutionFails()
    {
        CRig rig;
        rig.host.bNameResolvesDefault = false;
        rig.host.aPending = {{TransferEvent, "/f"}};
        for (int iRound = 1; iRound <= 4; ++iRound) {
            QVERIFY(rig.runUntil(PPP_STARTUP));
            rig.machine.setPppdUp(true);
            QVERIFY(rig.runUntil(PPP_STARTUP_WAIT));
            int iState = rig.machine.state();
            while (iState == PPP_STARTUP_WAIT)
                iState = rig.cycle();
            QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("DNS failed. Count :%1").arg(iRound % 4)) || iRound == 4);
            if (iRound < 4) {
                QCOMPARE(iState, int(PPP_SHUTDOWN));
                rig.machine.setPppdUp(false);
                rig.machine.setPppdStopped(true);
                QVERIFY(rig.runUntil(PPP_IDLE));
            } else {
                QCOMPARE(iState, int(PPP_IDLE));
                QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleAfterResetMs));
            }
        }
        QCOMPARE(rig.host.countLogged(QStringLiteral("PPP_STARTUP_WAIT timeout  => stop pppd")), 4);
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("DNS not reachable after 3 retry. Reset GPRS module")));
        QCOMPARE(rig.machine.dnsFailureCount(), 0);
        QCOMPARE(rig.host.asActions.count("restart 0"), 1);
        // Ten tests per cycle, a second apart.
        QVERIFY(rig.host.asActions.count("dns") >= 40);
    }

    void silentTransferTimesOutUncounted()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/f"}};
        rig.bringLinkUp();
        rig.cycles(37); // the first takes the wait time, then 180 s exactly
        QCOMPARE(rig.machine.state(), int(FILE_WAIT_FINISH));
        rig.cycle();
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("Timeout in FTP-Transfer")));
        rig.cycle();
        QCOMPARE(rig.machine.transferFailureCount(), 0);
    }

    void statusUpdatesKeepSlowTransferAlive()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/f"}};
        rig.bringLinkUp();
        for (int i = 0; i < 100; ++i) { // 500 s, an update every 100 s
            if (i % 20 == 0)
                rig.machine.noteStatusUpdate();
            rig.cycle();
            QCOMPARE(rig.machine.state(), int(FILE_WAIT_FINISH));
        }
        QVERIFY(!rig.host.logged(CLogLine::Warning, QStringLiteral("Timeout in FTP-Transfer")));
    }

    void repeatedFailuresResetModule()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/f"}, {TransferEvent, "/f"}, {TransferEvent, "/f"},
                             {TransferEvent, "/f"}, {TransferEvent, "/f"}};
        rig.bringLinkUp();
        for (int iFailure = 1; iFailure <= 4; ++iFailure) {
            QCOMPARE(rig.machine.state(), int(FILE_WAIT_FINISH));
            rig.machine.setTransferFinished(true);
            rig.cycle(); // -> FINISHED
            rig.cycle(); // counts the failure
            QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("Transfer failed. Count :%1").arg(iFailure)));
            if (iFailure < 4)
                QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        }
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QCOMPARE(rig.iLastInterval, int(CTransferMachine::CycleAfterResetMs));
        QVERIFY(rig.host.logged(CLogLine::Warning, QStringLiteral("Reset GPRS module")));
        QCOMPARE(rig.machine.transferFailureCount(), 0);
        QCOMPARE(rig.host.asActions.count("restart 0"), 1);
    }

    void successClearsFailureCount()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/a"}, {TransferEvent, "/b"}, {TransferEvent, "/c"}};
        rig.bringLinkUp();
        rig.machine.setTransferFinished(true);
        QVERIFY(rig.runUntil(FILE_TRANSFER_ACTIVE));
        QVERIFY(rig.runUntil(FILE_WAIT_FINISH));
        QCOMPARE(rig.machine.transferFailureCount(), 1);
        rig.machine.setTransferFinished(false);
        rig.cycle();
        QCOMPARE(rig.machine.transferFailureCount(), 0);
    }

    void failedTransferWithoutNameResolutionStopsLink()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/a"}, {TransferEvent, "/b"}};
        rig.bringLinkUp();
        rig.host.abNameResolves = {false};
        rig.machine.setTransferFinished(true);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        QCOMPARE(rig.host.asActions.mid(rig.host.asActions.size() - 2),
                 (QStringList{"dns", "killall pppd"}));
        // The failed transfer stays marked: the shutdown asks for a module restart.
        rig.machine.setPppdStopped(true);
        rig.cycle();
        QVERIFY(rig.host.logged(CLogLine::Warning,
                                QStringLiteral("Possible TX problem - Finished: true - FinishedError: true")));
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
    }

    void shutdownWithoutReportTimesOut()
    {
        CRig rig;
        rig.host.aPending = {{TransferEvent, "/a"}};
        rig.host.iIdleSeconds = 0;
        rig.bringLinkUp();
        rig.host.aPending.clear();
        rig.machine.setTransferFinished(false);
        QVERIFY(rig.runUntil(PPP_SHUTDOWN));
        rig.cycles(6); // 30 s
        QCOMPARE(rig.machine.state(), int(PPP_SHUTDOWN));
        rig.cycle();
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QVERIFY(rig.host.logged(CLogLine::Warning,
                                QStringLiteral("Possible TX problem - Finished: true - FinishedError: false")));
        QCOMPARE(rig.host.asActions.last(), QStringLiteral("reset status"));
    }

    void offlineRequestWhileLinkKept_data()
    {
        QTest::addColumn<bool>("bLtPending");
        QTest::addColumn<QStringList>("asOffline");
        // Nothing pending but the LT server keeps the link.
        QTest::newRow("link kept, nothing pending") << false << QStringList{"killall pppd"};
        // A pending LT-server transfer: the logbook learns of the offline period.
        QTest::newRow("LT server transfer pending") << true << QStringList{"killall pppd", "logbook 9228"};
    }
    void offlineRequestWhileLinkKept()
    {
        QFETCH(bool, bLtPending);
        QFETCH(QStringList, asOffline);
        CRig rig;
        rig.host.bKeepLink = true;
        rig.host.aPending = {{TransferEvent, "/a"}};
        rig.bringLinkUp();
        rig.host.aPending.clear();
        if (bLtPending)
            rig.host.aPending = {{TransferLtServer, QString()}};
        rig.machine.setTransferFinished(false);
        rig.cycles(100); // the link stays up
        QCOMPARE(rig.machine.state(), int(FILE_TRANSFER_FINISHED));

        const int iBefore = int(rig.host.asActions.size());
        rig.host.bOffline = true;
        rig.cycle();
        QCOMPARE(rig.machine.state(), int(PPP_DISABLED));
        QVERIFY(!rig.host.bOffline);
        QCOMPARE(rig.host.asActions.mid(iBefore), asOffline);

        rig.cycles(119); // 595 s of the 600
        QCOMPARE(rig.machine.state(), int(PPP_DISABLED));
        rig.cycles(2);
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        QVERIFY(rig.host.logged(CLogLine::Debug, QStringLiteral("pppd disable time ends")));
        QCOMPARE(rig.host.asActions.mid(rig.host.asActions.size() - 2),
                 (QStringList{"reset status", "logbook 9229"}));
    }

    void linkOnlyTransferFinishesAtOnce()
    {
        CRig rig;
        rig.host.aPending = {{TransferVpn, QString()}};
        QVERIFY(rig.runUntil(PPP_STARTUP));
        rig.machine.setPppdUp(true);
        QVERIFY(rig.runUntil(FILE_TRANSFER_FINISHED));
        QVERIFY(rig.machine.transferFinished());
        QVERIFY(!rig.host.asActions.join(',').contains("transfer"));
    }

    void infoFileNotBuiltRetries()
    {
        CRig rig;
        rig.host.bServiceServer = true;
        rig.host.bInfoFileBuilt = false;
        rig.host.aPending = {{TransferEvent, "/a"}};
        QVERIFY(rig.runUntil(PPP_STARTUP));
        rig.machine.setPppdUp(true);
        QVERIFY(rig.runUntil(SEND_INFO_FILE));
        rig.cycles(3);
        QCOMPARE(rig.machine.state(), int(SEND_INFO_FILE));
        QCOMPARE(rig.host.countLogged(QStringLiteral("INFO-File NOT created")), 3);
    }

    void gpsTransferMarksActive()
    {
        CRig rig;
        rig.host.aPending = {{TransferGps, "/var/log/FTL/GPS1.ftl"}};
        rig.bringLinkUp();
        QVERIFY(rig.machine.gpsTransferActive());
        rig.machine.setTransferFinished(false);
        rig.cycle();
        QVERIFY(!rig.machine.gpsTransferActive());
    }

    void connectResetsCounters()
    {
        CRig rig;
        rig.machine.setState(PPP_SHUTDOWN);
        rig.machine.resetOnConnect();
        QCOMPARE(rig.machine.state(), int(PPP_IDLE));
        rig.cycle();
        // No state-change line for the idle state it started in.
        QCOMPARE(rig.host.countLogged(QStringLiteral("******** Statechange to \"PPP_IDLE\" ********")), 0);
    }
};

QTEST_APPLESS_MAIN(TestTransferMachine)
#include "tst_transfermachine.moc"
