#include "controller/cftpclientcommand.h"
#include "controller/ctransferstatusreset.h"
#include "controller/ctransfertypes.h"
#include "controller/ctransferverdict.h"
#include "records/ccommrecords.h"

#include <QTest>

using EGroup = CRunFtpTransferStatus::EGroup;
Q_DECLARE_METATYPE(CRunFtpTransferStatus::EGroup)

namespace
{

// The group's state with 1500 of 9000 bytes; every other group has failed,
// which must not touch the running transfer.
CRunFtpTransferStatus statusWith(EGroup eGroup, int iState, const QString &sFileName)
{
    CRunFtpTransferStatus oStatus;
    for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup)
        oStatus.setState(EGroup(iGroup), FtpTransferFinishedError);
    oStatus.setState(eGroup, iState);
    oStatus.setTransferredBytes(eGroup, 1500);
    oStatus.setTotalBytes(eGroup, 9000);
    oStatus.setFileName(eGroup, sFileName);
    return oStatus;
}

} // namespace

class TestTransferStatus : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    void statusNames_data()
    {
        QTest::addColumn<int>("iState");
        QTest::addColumn<QString>("sName");
        const QStringList asNames = {"0 FtpTransferStarted", "10 FtpTransferFinishedError", "-1 Initialisation",
                                     "5 Initialisation"};
        for (const QString &sName : asNames)
            QTest::newRow(qPrintable(sName)) << sName.section(' ', 0, 0).toInt() << sName.section(' ', 1);
    }
    void statusNames()
    {
        QFETCH(int, iState);
        QFETCH(QString, sName);
        QCOMPARE(transferStatusName(iState), sName);
    }

    // Each kind of file reads its own group and words its lines its own way
    // (here for the file f.ftl); only 4 and 10 end the transfer, and a failed
    // test file is removed instead of counted.
    void everyKind_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<EGroup>("eGroup");
        QTest::addColumn<QString>("sProgress");
        QTest::addColumn<QString>("sLead");
        QTest::addColumn<bool>("bTestFile");
        const QString sOf = QStringLiteral(" (1500 of  9000 transfered)");
        const QString sPadded = QStringLiteral(" (  1500 of  9000 transfered)");
        QTest::newRow("GPS") << 1 << CRunFtpTransferStatus::GroupGps
                             << "Transfer state of GPS file: \"TransferFile\"" + sPadded << "Transfer of gps file '"
                             << false;
        QTest::newRow("delivery") << 4 << CRunFtpTransferStatus::GroupEvent
                                  << "Transfer state of delivery file: \"TransferFile\"" + sOf
                                  << "Transfer of delivery file '" << false;
        QTest::newRow("log") << 5 << CRunFtpTransferStatus::GroupLog
                             << "Transfer state of log file: \"TransferFile\" transfered 1500 size 9000"
                             << "Transfer of log file '" << false;
        QTest::newRow("test") << 7 << CRunFtpTransferStatus::GroupTest
                              << "Transfer state of test file: \"TransferFile\"" + sOf << "Transfer of test file '"
                              << true;
        QTest::newRow("update look-up names the file")
            << 9 << CRunFtpTransferStatus::GroupUpdate << "Transfer state '  name \"f.ftl\"" + sOf
            << "Transfer of update file '" << false;
        QTest::newRow("info") << 10 << CRunFtpTransferStatus::GroupInfo
                              << "Transfer state of info file: \"TransferFile\"" + sOf << "Transfer of info file '"
                              << false;
    }
    void everyKind()
    {
        QFETCH(int, iType);
        QFETCH(EGroup, eGroup);
        QFETCH(QString, sProgress);
        QFETCH(QString, sLead);
        QFETCH(bool, bTestFile);
        for (int iState : {-1, 0, 1, 2, 3}) {
            const CTransferVerdict verdict = judgeTransferStatus(iType, statusWith(eGroup, iState, "f.ftl"));
            QVERIFY(verdict.bJudged);
            QCOMPARE(verdict.eGroup, eGroup);
            QCOMPARE(verdict.progress.eLevel, CLogLine::Debug);
            if (iState == TransferFile)
                QCOMPARE(verdict.progress.sText, sProgress);
            QVERIFY(!verdict.bFinished && !verdict.bFinishedWithError);
            QVERIFY(verdict.result.sText.isEmpty() && verdict.sRemovePath.isEmpty());
        }
        const CTransferVerdict done = judgeTransferStatus(iType, statusWith(eGroup, FtpTransferFinished, "f.ftl"));
        QCOMPARE(done.progress.sText, QString(sProgress).replace("\"TransferFile\"", "\"FtpTransferFinished\""));
        QVERIFY(done.bFinished && !done.bFinishedWithError);
        QCOMPARE(done.result, (CLogLine{CLogLine::Debug, sLead + "\"f.ftl\"' finished"}));
        QVERIFY(done.sRemovePath.isEmpty());

        const CTransferVerdict failed =
            judgeTransferStatus(iType, statusWith(eGroup, FtpTransferFinishedError, "f.ftl"));
        QVERIFY(failed.bFinished);
        QCOMPARE(failed.bFinishedWithError, !bTestFile);
        QCOMPARE(failed.result, (CLogLine{CLogLine::Warning,
                                          sLead + "\"f.ftl\"" + (bTestFile ? "' failed. File removed" : "' failed")}));
        QCOMPARE(failed.sRemovePath, bTestFile ? QStringLiteral("/var/log/FTL/f.ftl") : QString());
    }

    // No transfer, or one that only keeps the link for the LT server or the VPN.
    void typesWithoutGroup_data()
    {
        QTest::addColumn<int>("iType");
        QTest::newRow("none") << 0;
        QTest::newRow("VPN") << 12;
    }
    void typesWithoutGroup()
    {
        QFETCH(int, iType);
        const CTransferVerdict verdict =
            judgeTransferStatus(iType, statusWith(CRunFtpTransferStatus::GroupEvent, FtpTransferFinished, "x"));
        QVERIFY(!verdict.bJudged && !verdict.bFinished && !verdict.bFinishedWithError);
        QVERIFY(verdict.progress.sText.isEmpty() && verdict.result.sText.isEmpty());
        EGroup eGroup;
        QVERIFY(!transferStatusGroup(iType, eGroup));
    }

    // The name the client reports never takes the removal out of the FTL directory.
    void failedTestFileStaysInItsDirectory_data()
    {
        QTest::addColumn<QString>("sRoot");
        QTest::addColumn<QString>("sFileName");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("full path keeps its name") << ""
                                                  << "/var/log/FTL/TK_Data_1.ftl"
                                                  << "/var/log/FTL/TK_Data_1.ftl";
        QTest::newRow("climbing out") << ""
                                      << "../../etc/passwd"
                                      << "/var/log/FTL/passwd";
        QTest::newRow("parent only") << ""
                                     << ".."
                                     << "";
        QTest::newRow("under the sandbox root") << "/tmp/sb"
                                                << "TK_Update_2.ftl"
                                                << "/tmp/sb/var/log/FTL/TK_Update_2.ftl";
    }
    void failedTestFileStaysInItsDirectory()
    {
        QFETCH(QString, sRoot);
        QFETCH(QString, sFileName);
        QFETCH(QString, sWant);
        if (!sRoot.isEmpty())
            qputenv("FTP_DATA_ROOT", sRoot.toUtf8());
        const CTransferVerdict verdict = judgeTransferStatus(
            TransferDataTest, statusWith(CRunFtpTransferStatus::GroupTest, FtpTransferFinishedError, sFileName));
        qunsetenv("FTP_DATA_ROOT");
        QVERIFY(verdict.bFinished && !verdict.bFinishedWithError);
        QCOMPARE(verdict.sRemovePath, sWant);
    }

    // Every flag set, every state -1, no bytes; the GPS name goes out as the
    // null text, which on the wire differs from an empty one.
    void resetRecord()
    {
        CRunFtpTransferStatus oStatus = transferStatusResetRecord();
        QVERIFY(oStatus.isChanged());
        for (int iField = 1; iField <= oStatus.fieldCount(); ++iField)
            QVERIFY2(oStatus.isFieldChanged(iField), qPrintable(QString::number(iField)));
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup) {
            const EGroup eGroup = EGroup(iGroup);
            QCOMPARE(oStatus.state(eGroup), -1);
            QCOMPARE(oStatus.transferredBytes(eGroup) + oStatus.totalBytes(eGroup), 0);
            QVERIFY(oStatus.fileName(eGroup).isEmpty());
            QCOMPARE(oStatus.fileName(eGroup).isNull(), eGroup == CRunFtpTransferStatus::GroupGps);
        }
        QVERIFY(oStatus.furtherText().isEmpty() && !oStatus.furtherText().isNull());
        CRunFtpTransferStatus oEmptyGpsName = transferStatusResetRecord();
        oEmptyGpsName.setFileName(CRunFtpTransferStatus::GroupGps, QStringLiteral(""));
        QVERIFY(oStatus.toByteArray() != oEmptyGpsName.toByteArray());
    }

    void clientCommand_data()
    {
        QTest::addColumn<QString>("sOption");
        QTest::addColumn<QString>("sFileName");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("event file") << "-e"
                                    << "/var/log/FTL/EVEl20240101120000.ftl"
                                    << "/usr/bin/Tankora/start_ftp_client -e /var/log/FTL/EVEl20240101120000.ftl &";
        QTest::newRow("update look-up has two blanks") << "-u"
                                                       << ""
                                                       << "/usr/bin/Tankora/start_ftp_client -u  &";
        QTest::newRow("mailbox name with a command")
            << "-p"
            << "/var/log/log_tx/a b;touch x"
            << "/usr/bin/Tankora/start_ftp_client -p '/var/log/log_tx/a b;touch x' &";
    }
    void clientCommand()
    {
        QFETCH(QString, sOption);
        QFETCH(QString, sFileName);
        QFETCH(QString, sWant);
        QCOMPARE(ftpClientCommand(sOption, sFileName), sWant);
        QCOMPARE(ftpClientReturnText(127), QStringLiteral("return of ftp client was: 127"));
    }
};

QTEST_GUILESS_MAIN(TestTransferStatus)
#include "tst_transferstatus.moc"
