#include "controller/cstates.h"
#include "controller/ctransfertypes.h"

#include <QTest>

class TestStates : public QObject
{
    Q_OBJECT

private slots:
    void stateNames_data()
    {
        QTest::addColumn<int>("iState");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("1") << 1 << "PPP_IDLE";
        QTest::newRow("2") << 2 << "GPRS_WAIT";
        QTest::newRow("3") << 3 << "PPP_STARTUP";
        QTest::newRow("4") << 4 << "PPP_STARTUP_WAIT";
        QTest::newRow("5") << 5 << "SEND_INFO_FILE";
        QTest::newRow("6") << 6 << "FILE_TRANSFER_ACTIVE";
        QTest::newRow("7") << 7 << "FILE_WAIT_FINISH";
        QTest::newRow("8") << 8 << "FILE_TRANSFER_FINISHED";
        QTest::newRow("9") << 9 << "PPP_SHUTDOWN";
        QTest::newRow("10") << 10 << "PPP_DISABLED";
        QTest::newRow("0") << 0 << "Unknown state";
        QTest::newRow("11") << 11 << "Unknown state";
        QTest::newRow("-1") << -1 << "Unknown state";
    }
    void stateNames()
    {
        QFETCH(int, iState);
        QFETCH(QString, sWant);
        QCOMPARE(pppStateName(iState), sWant);
        QCOMPARE(stateChangeLine(iState), "******** Statechange to \"" + sWant + "\" ********");
    }

    void statusNames_data()
    {
        QTest::addColumn<int>("iState");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("0") << 0 << "FtpTransferStarted";
        QTest::newRow("1") << 1 << "OpenFtpConnection";
        QTest::newRow("2") << 2 << "CheckFileExists";
        QTest::newRow("3") << 3 << "TransferFile";
        QTest::newRow("4") << 4 << "FtpTransferFinished";
        QTest::newRow("10") << 10 << "FtpTransferFinishedError";
        QTest::newRow("reset") << -1 << "Initialisation";
        QTest::newRow("5") << 5 << "Initialisation";
        QTest::newRow("9") << 9 << "Initialisation";
        QTest::newRow("11") << 11 << "Initialisation";
    }
    void statusNames()
    {
        QFETCH(int, iState);
        QFETCH(QString, sWant);
        QCOMPARE(transferStatusName(iState), sWant);
    }
};

QTEST_GUILESS_MAIN(TestStates)
#include "tst_states.moc"
