#include "controller/cftpclientcommand.h"
#include "controller/ctransferstatusreset.h"
#include "controller/ctransfertypes.h"
#include "controller/ctransferverdict.h"
#include "records/ccommrecords.h"
#include "tests/support/ctable.h"

#include <QTest>

using EGroup = CRunFtpTransferStatus::EGroup;

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

    TABLE_TEST(statusNames, "transferstatus.tsv") { QCOMPARE(transferStatusName(row[0].toInt()), row[1]); }

    // Each kind of file reads its own group and words its lines its own way
    // (here for the file f.ftl); only 4 and 10 end the transfer. What a
    // result does to the running transfer is the link machine's test.
    TABLE_TEST(everyKind, "transferstatus.tsv")
    {
        const int iType = row[0].toInt();
        const EGroup eGroup = EGroup(row[1].toInt());
        const QString sProgress = row[2], sLead = row[3];
        const bool bTestFile = row[4] == "1";
        for (int iState : {-1, 0, 1, 2, 3}) {
            const CTransferVerdict verdict = judgeTransferStatus(iType, statusWith(eGroup, iState, "f.ftl"));
            QVERIFY(verdict.bJudged && verdict.eGroup == eGroup && verdict.progress.eLevel == CLogLine::Debug);
            QVERIFY(iState != TransferFile || verdict.progress.sText == sProgress);
            QVERIFY(!verdict.bFinished && verdict.result.sText.isEmpty());
        }
        const CTransferVerdict done = judgeTransferStatus(iType, statusWith(eGroup, FtpTransferFinished, "f.ftl"));
        QCOMPARE(done.progress.sText, QString(sProgress).replace("\"TransferFile\"", "\"FtpTransferFinished\""));
        QCOMPARE(done.result, (CLogLine{CLogLine::Debug, sLead + " \"f.ftl\" ' finished"}));

        const CTransferVerdict failed =
            judgeTransferStatus(iType, statusWith(eGroup, FtpTransferFinishedError, "f.ftl"));
        QCOMPARE(failed.result, (CLogLine{CLogLine::Warning, sLead + " \"f.ftl\" " +
                                                                 (bTestFile ? "' failed. File removed" : "' failed")}));
    }

    // The name the client reports never takes the removal out of the FTL directory.
    TABLE_TEST(failedTestFileStaysInItsDirectory, "transferstatus.tsv")
    {
        if (!row[0].isEmpty())
            qputenv("FTP_DATA_ROOT", row[0].toUtf8());
        const CTransferVerdict verdict = judgeTransferStatus(
            TransferDataTest, statusWith(CRunFtpTransferStatus::GroupTest, FtpTransferFinishedError, row[1]));
        qunsetenv("FTP_DATA_ROOT");
        QVERIFY(verdict.bFinished && !verdict.bFinishedWithError);
        QCOMPARE(verdict.sRemovePath, row.value(2));
    }

    // Every flag set, every state -1, no bytes; the GPS name goes out as the
    // null text, which on the wire differs from an empty one.
    void resetRecord()
    {
        CRunFtpTransferStatus oStatus = transferStatusResetRecord();
        for (int iField = 1; iField <= oStatus.fieldCount(); ++iField)
            QVERIFY2(oStatus.isFieldChanged(iField), qPrintable(QString::number(iField)));
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup) {
            const EGroup eGroup = EGroup(iGroup);
            QVERIFY(oStatus.state(eGroup) == -1 && oStatus.transferredBytes(eGroup) + oStatus.totalBytes(eGroup) == 0);
            QVERIFY(oStatus.fileName(eGroup).isEmpty());
            QCOMPARE(oStatus.fileName(eGroup).isNull(), eGroup == CRunFtpTransferStatus::GroupGps);
        }
        QVERIFY(oStatus.furtherText().isEmpty() && !oStatus.furtherText().isNull());
    }

    TABLE_TEST(clientCommand, "transferstatus.tsv")
    {
        QCOMPARE(ftpClientCommand(row[0], row[1]), row[2]);
        QCOMPARE(ftpClientReturnText(127), QStringLiteral("return of ftp client was:  127"));
    }
};

QTEST_GUILESS_MAIN(TestTransferStatus)
#include "tst_transferstatus.moc"
