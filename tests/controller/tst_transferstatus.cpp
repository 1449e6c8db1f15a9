#include "controller/cftpclientcommand.h"
#include "controller/ctransferstatusreset.h"
#include "controller/ctransfertypes.h"
#include "controller/ctransferverdict.h"
#include "records/ccommrecords.h"

#include <QTest>

using EGroup = CRunFtpTransferStatus::EGroup;
Q_DECLARE_METATYPE(CRunFtpTransferStatus::EGroup)
Q_DECLARE_METATYPE(CLogLine::ELevel)

namespace {

struct CKind
{
    int iType;
    const char *pName;
    EGroup eGroup;
    QString sFileName;
};

const QList<CKind> aKinds = {
    {1, "GPS", CRunFtpTransferStatus::GroupGps, "gps_20240101.txt"},
    {2, "event", CRunFtpTransferStatus::GroupEvent, "EVEl20240101120000.ftl"},
    {3, "delivery", CRunFtpTransferStatus::GroupEvent, "MTR1d20240101120000.ftl"},
    {4, "delivery (4)", CRunFtpTransferStatus::GroupEvent, "LEVl20240101120000.ftl"},
    {5, "log", CRunFtpTransferStatus::GroupLog, "Tankora_1.log.tar.gz"},
    {6, "data test", CRunFtpTransferStatus::GroupTest, "TK_Data_20240101120000.ftl"},
    {7, "service test", CRunFtpTransferStatus::GroupTest, "TK_Service_20240101120000.ftl"},
    {8, "update test", CRunFtpTransferStatus::GroupTest, "TK_Update_20240101120000.ftl"},
    {9, "update look-up", CRunFtpTransferStatus::GroupUpdate, "sw_update.tar"},
    {10, "info", CRunFtpTransferStatus::GroupInfo, "info.txt"},
};

// The texts of the vehicle's log, written out per kind.
QString wantProgress(int iType, const QString &sStateName, const QString &sFileName)
{
    const QString sOf = QStringLiteral(" (1500 of  9000 transfered)");
    const QString sOfPadded = QStringLiteral(" (  1500 of  9000 transfered)");
    switch (iType) {
    case 1: return "Transfer state of GPS file: \"" + sStateName + "\"" + sOfPadded;
    case 2: return "Transfer state of event file: \"" + sStateName + "\"" + sOfPadded;
    case 3:
    case 4: return "Transfer state of delivery file: \"" + sStateName + "\"" + sOf;
    case 5: return "Transfer state of log file: \"" + sStateName + "\" transfered 1500 size 9000";
    case 6:
    case 7:
    case 8: return "Transfer state of test file: \"" + sStateName + "\"" + sOf;
    case 9: return "Transfer state '  name \"" + sFileName + "\"" + sOf;
    case 10: return "Transfer state of info file: \"" + sStateName + "\"" + sOf;
    }
    return QString();
}

QString wantResultLead(int iType)
{
    switch (iType) {
    case 1: return QStringLiteral("Transfer of gps file '");
    case 2: return QStringLiteral("Transfer of event file '");
    case 3:
    case 4: return QStringLiteral("Transfer of delivery file '");
    case 5: return QStringLiteral("Transfer of log file '");
    case 6:
    case 7:
    case 8: return QStringLiteral("Transfer of test file '");
    case 9: return QStringLiteral("Transfer of update file '");
    case 10: return QStringLiteral("Transfer of info file '");
    }
    return QString();
}

const QList<QPair<int, QString>> aStates = {
    {-1, "Initialisation"},   {0, "FtpTransferStarted"},   {1, "OpenFtpConnection"},
    {2, "CheckFileExists"},   {3, "TransferFile"},         {4, "FtpTransferFinished"},
    {10, "FtpTransferFinishedError"}, {5, "Initialisation"}, {99, "Initialisation"},
};

CRunFtpTransferStatus statusWith(EGroup eGroup, int iState, const QString &sFileName)
{
    CRunFtpTransferStatus oStatus;
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

    void everyKindAndState_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<EGroup>("eGroup");
        QTest::addColumn<int>("iState");
        QTest::addColumn<QString>("sFileName");
        QTest::addColumn<QString>("sWantProgress");
        QTest::addColumn<bool>("bWantFinished");
        QTest::addColumn<bool>("bWantError");
        QTest::addColumn<CLogLine::ELevel>("eWantResultLevel");
        QTest::addColumn<QString>("sWantResult");
        QTest::addColumn<QString>("sWantRemove");
        for (const CKind &kind : aKinds) {
            const bool bTest = kind.iType >= 6 && kind.iType <= 8;
            for (const auto &state : aStates) {
                const QString sLead = wantResultLead(kind.iType) + "\"" + kind.sFileName + "\"";
                bool bFinished = false;
                bool bError = false;
                CLogLine::ELevel eLevel = CLogLine::Debug;
                QString sResult;
                QString sRemove;
                if (state.first == 4) {
                    bFinished = true;
                    sResult = sLead + "' finished";
                } else if (state.first == 10) {
                    bFinished = true;
                    eLevel = CLogLine::Warning;
                    bError = !bTest;
                    sResult = sLead + (bTest ? "' failed. File removed" : "' failed");
                    if (bTest)
                        sRemove = "/var/log/FTL/" + kind.sFileName;
                }
                QTest::addRow("%s %d", kind.pName, state.first)
                    << kind.iType << kind.eGroup << state.first << kind.sFileName
                    << wantProgress(kind.iType, state.second, kind.sFileName) << bFinished << bError << eLevel
                    << sResult << sRemove;
            }
        }
    }
    void everyKindAndState()
    {
        QFETCH(int, iType);
        QFETCH(EGroup, eGroup);
        QFETCH(int, iState);
        QFETCH(QString, sFileName);
        QFETCH(QString, sWantProgress);
        QFETCH(bool, bWantFinished);
        QFETCH(bool, bWantError);
        QFETCH(CLogLine::ELevel, eWantResultLevel);
        QFETCH(QString, sWantResult);
        QFETCH(QString, sWantRemove);

        const CTransferVerdict verdict = judgeTransferStatus(iType, statusWith(eGroup, iState, sFileName));
        QVERIFY(verdict.bJudged);
        QCOMPARE(verdict.eGroup, eGroup);
        QCOMPARE(verdict.progress.eLevel, CLogLine::Debug);
        QCOMPARE(verdict.progress.sText, sWantProgress);
        QCOMPARE(verdict.bFinished, bWantFinished);
        QCOMPARE(verdict.bFinishedWithError, bWantError);
        QCOMPARE(verdict.result.sText, sWantResult);
        if (!sWantResult.isEmpty())
            QCOMPARE(verdict.result.eLevel, eWantResultLevel);
        QCOMPARE(verdict.sRemovePath, sWantRemove);
    }

    void literalLines_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<EGroup>("eGroup");
        QTest::addColumn<int>("iState");
        QTest::addColumn<QString>("sProgress");
        QTest::addColumn<QString>("sResult");
        QTest::newRow("event transferring")
            << 2 << CRunFtpTransferStatus::GroupEvent << 3 << "Transfer state of event file: \"TransferFile\" (  1500 of  9000 transfered)"
            << "";
        QTest::newRow("event finished")
            << 2 << CRunFtpTransferStatus::GroupEvent << 4
            << "Transfer state of event file: \"FtpTransferFinished\" (  1500 of  9000 transfered)"
            << "Transfer of event file '\"f.ftl\"' finished";
        QTest::newRow("log failed") << 5 << CRunFtpTransferStatus::GroupLog << 10
                                    << "Transfer state of log file: \"FtpTransferFinishedError\" transfered 1500 size 9000"
                                    << "Transfer of log file '\"f.ftl\"' failed";
        QTest::newRow("update names the file") << 9 << CRunFtpTransferStatus::GroupUpdate << 1
                                               << "Transfer state '  name \"f.ftl\" (1500 of  9000 transfered)"
                                               << "";
        QTest::newRow("info finished") << 10 << CRunFtpTransferStatus::GroupInfo << 4
                                       << "Transfer state of info file: \"FtpTransferFinished\" (1500 of  9000 transfered)"
                                       << "Transfer of info file '\"f.ftl\"' finished";
    }
    void literalLines()
    {
        QFETCH(int, iType);
        QFETCH(EGroup, eGroup);
        QFETCH(int, iState);
        QFETCH(QString, sProgress);
        QFETCH(QString, sResult);
        const CTransferVerdict verdict = judgeTransferStatus(iType, statusWith(eGroup, iState, QStringLiteral("f.ftl")));
        QCOMPARE(verdict.progress.sText, sProgress);
        QCOMPARE(verdict.result.sText, sResult);
    }

    void eventSequenceEndsAtTheFirstFinish()
    {
        // 0, 1, 2, 3, 4: five progress lines, one "finished" line.
        int iProgressLines = 0;
        int iFinishedAt = -1;
        for (int iState = 0; iState <= 4; ++iState) {
            const CTransferVerdict verdict = judgeTransferStatus(
                TransferEvent, statusWith(CRunFtpTransferStatus::GroupEvent, iState, QStringLiteral("EVEl1.ftl")));
            iProgressLines += verdict.progress.sText.startsWith(QStringLiteral("Transfer state of event file: ")) ? 1 : 0;
            if (verdict.bFinished && iFinishedAt < 0)
                iFinishedAt = iState;
            QCOMPARE(verdict.result.sText.isEmpty(), iState != 4);
        }
        QCOMPARE(iProgressLines, 5);
        QCOMPARE(iFinishedAt, 4);
    }

    void otherGroupChangesNothing_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<EGroup>("eOtherGroup");
        QTest::addColumn<int>("iOtherState");
        QTest::newRow("GPS running, event finished") << 1 << CRunFtpTransferStatus::GroupEvent << 4;
        QTest::newRow("event running, GPS failed") << 2 << CRunFtpTransferStatus::GroupGps << 10;
        QTest::newRow("log running, test failed") << 5 << CRunFtpTransferStatus::GroupTest << 10;
        QTest::newRow("info running, update finished") << 10 << CRunFtpTransferStatus::GroupUpdate << 4;
        QTest::newRow("test running, log failed") << 6 << CRunFtpTransferStatus::GroupLog << 10;
        QTest::newRow("update running, info failed") << 9 << CRunFtpTransferStatus::GroupInfo << 10;
    }
    void otherGroupChangesNothing()
    {
        QFETCH(int, iType);
        QFETCH(EGroup, eOtherGroup);
        QFETCH(int, iOtherState);
        CRunFtpTransferStatus oStatus = statusWith(eOtherGroup, iOtherState, QStringLiteral("x"));
        EGroup eOwn;
        QVERIFY(transferStatusGroup(iType, eOwn));
        QVERIFY(eOwn != eOtherGroup);
        oStatus.setState(eOwn, TransferFile);
        const CTransferVerdict verdict = judgeTransferStatus(iType, oStatus);
        QVERIFY(verdict.bJudged);
        QVERIFY(!verdict.bFinished);
        QVERIFY(!verdict.bFinishedWithError);
        QVERIFY(verdict.result.sText.isEmpty());
        QVERIFY(verdict.sRemovePath.isEmpty());
    }

    void typesWithoutGroup_data()
    {
        QTest::addColumn<int>("iType");
        QTest::newRow("none") << 0;
        QTest::newRow("LT server") << 11;
        QTest::newRow("VPN") << 12;
        QTest::newRow("negative") << -1;
        QTest::newRow("beyond") << 13;
    }
    void typesWithoutGroup()
    {
        QFETCH(int, iType);
        CRunFtpTransferStatus oStatus;
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup)
            oStatus.setState(EGroup(iGroup), FtpTransferFinishedError);
        const CTransferVerdict verdict = judgeTransferStatus(iType, oStatus);
        QVERIFY(!verdict.bJudged);
        QVERIFY(!verdict.bFinished);
        QVERIFY(!verdict.bFinishedWithError);
        QVERIFY(verdict.progress.sText.isEmpty());
        QVERIFY(verdict.result.sText.isEmpty());
        EGroup eGroup;
        QVERIFY(!transferStatusGroup(iType, eGroup));
    }

    void failedTestFileStaysInItsDirectory_data()
    {
        QTest::addColumn<QString>("sRoot");
        QTest::addColumn<QString>("sFileName");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("plain name") << "" << "TK_Data_1.ftl" << "/var/log/FTL/TK_Data_1.ftl";
        QTest::newRow("full path keeps its name") << "" << "/var/log/FTL/TK_Data_1.ftl" << "/var/log/FTL/TK_Data_1.ftl";
        QTest::newRow("climbing out") << "" << "../../etc/passwd" << "/var/log/FTL/passwd";
        QTest::newRow("parent only") << "" << ".." << "";
        QTest::newRow("dot") << "" << "." << "";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("under the sandbox root") << "/tmp/sb" << "TK_Update_2.ftl" << "/tmp/sb/var/log/FTL/TK_Update_2.ftl";
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
        QVERIFY(verdict.bFinished);
        QVERIFY(!verdict.bFinishedWithError);
        QCOMPARE(verdict.sRemovePath, sWant);
    }

    void resetRecord()
    {
        CRunFtpTransferStatus oStatus = transferStatusResetRecord();
        QVERIFY(oStatus.isChanged());
        for (int iField = 1; iField <= oStatus.fieldCount(); ++iField)
            QVERIFY2(oStatus.isFieldChanged(iField), qPrintable(QString::number(iField)));
        for (int iGroup = 0; iGroup < CRunFtpTransferStatus::GroupCount; ++iGroup) {
            const EGroup eGroup = EGroup(iGroup);
            QCOMPARE(oStatus.state(eGroup), -1);
            QCOMPARE(transferStatusName(oStatus.state(eGroup)), QStringLiteral("Initialisation"));
            QCOMPARE(oStatus.transferredBytes(eGroup), 0);
            QCOMPARE(oStatus.totalBytes(eGroup), 0);
            QVERIFY(oStatus.fileName(eGroup).isEmpty());
            QCOMPARE(oStatus.fileName(eGroup).isNull(), eGroup == CRunFtpTransferStatus::GroupGps);
        }
        QVERIFY(oStatus.furtherText().isEmpty());
        QVERIFY(!oStatus.furtherText().isNull());

        // On the wire a null text differs from an empty one: the GPS name
        // must go out as the null text.
        CRunFtpTransferStatus oEmptyGpsName = transferStatusResetRecord();
        oEmptyGpsName.setFileName(CRunFtpTransferStatus::GroupGps, QStringLiteral(""));
        QVERIFY(oStatus.toByteArray() != oEmptyGpsName.toByteArray());
        CRunFtpTransferStatus oRead;
        QVERIFY(oRead.fromByteArray(oStatus.toByteArray()));
        QCOMPARE(oRead.state(CRunFtpTransferStatus::GroupUpdate), -1);
        QCOMPARE(oRead.state(CRunFtpTransferStatus::GroupTest), -1);
    }

    void clientOption_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("GPS") << 1 << "-g";
        QTest::newRow("event") << 2 << "-e";
        QTest::newRow("delivery") << 3 << "-d";
        QTest::newRow("log") << 5 << "-p";
        QTest::newRow("data test") << 6 << "-t1";
        QTest::newRow("service test") << 7 << "-t2";
        QTest::newRow("update test") << 8 << "-t3";
        QTest::newRow("update look-up") << 9 << "-u";
        QTest::newRow("info") << 10 << "-i";
        QTest::newRow("LT server runs no client") << 11 << "";
        QTest::newRow("VPN runs no client") << 12 << "";
        QTest::newRow("none") << 0 << "";
    }
    void clientOption()
    {
        QFETCH(int, iType);
        QFETCH(QString, sWant);
        QCOMPARE(ftpClientOption(iType), sWant);
    }

    void clientCommand_data()
    {
        QTest::addColumn<QString>("sOption");
        QTest::addColumn<QString>("sFileName");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("event file") << "-e" << "/var/log/FTL/EVEl20240101120000.ftl"
                                    << "/usr/bin/Tankora/start_ftp_client -e /var/log/FTL/EVEl20240101120000.ftl &";
        QTest::newRow("info file") << "-i" << "/tmp/info.txt" << "/usr/bin/Tankora/start_ftp_client -i /tmp/info.txt &";
        QTest::newRow("update look-up has two blanks") << "-u" << "" << "/usr/bin/Tankora/start_ftp_client -u  &";
        QTest::newRow("mailbox name with a command")
            << "-p" << "/var/log/log_tx/a b;touch x" << "/usr/bin/Tankora/start_ftp_client -p '/var/log/log_tx/a b;touch x' &";
    }
    void clientCommand()
    {
        QFETCH(QString, sOption);
        QFETCH(QString, sFileName);
        QFETCH(QString, sWant);
        QCOMPARE(ftpClientCommand(sOption, sFileName), sWant);
    }

    void clientReturn()
    {
        QCOMPARE(ftpClientReturnText(127), QStringLiteral("return of ftp client was: 127"));
    }
};

QTEST_GUILESS_MAIN(TestTransferStatus)
#include "tst_transferstatus.moc"
