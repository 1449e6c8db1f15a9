#include "controller/ctransfertypes.h"
#include "files/ctriggerhandling.h"

#include <QTest>

using ETrigger = CRunTriggerFtpTransfer::ETrigger;
using EGroup = CRunFtpTransferStatus::EGroup;

namespace {

// One action as a line of text: level, text, then what else it asks for.
QString describe(const CTriggerAction &action)
{
    QString sText = (action.line.eLevel == CLogLine::Warning ? QStringLiteral("W ") : QStringLiteral("D ")) +
                    action.line.sText;
    if (action.bRefuse)
        sText += QStringLiteral(" | refuse ") + QString::number(action.eRefuseGroup);
    if (action.iCreateTestFile)
        sText += QStringLiteral(" | create ") + QString::number(action.iCreateTestFile);
    return sText;
}

QStringList describeAll(const QList<CTriggerAction> &aActions)
{
    QStringList asLines;
    for (const CTriggerAction &action : aActions)
        asLines << describe(action);
    return asLines;
}

QString refuse(const QString &sText, EGroup eGroup)
{
    return QStringLiteral("D ") + sText + QStringLiteral(" | refuse ") + QString::number(eGroup);
}

} // namespace

class TestTriggers : public QObject
{
    Q_OBJECT

private slots:
    void singleRequest_data()
    {
        QTest::addColumn<int>("iTrigger");
        QTest::addColumn<bool>("bEnabled");
        QTest::addColumn<QStringList>("asWant");
        QTest::addColumn<bool>("bWantGps");
        QTest::addColumn<bool>("bWantInfo");
        QTest::addColumn<bool>("bWantSw");

        const int iGps = CRunTriggerFtpTransfer::bStartGpsFileTransfer;
        const int iInfo = CRunTriggerFtpTransfer::bStartInfoFileTransfer;
        const int iAuto = CRunTriggerFtpTransfer::bStartAutoEventFileTransfer;
        const int iMan = CRunTriggerFtpTransfer::bStartManEventFileTransfer;
        const int iSw = CRunTriggerFtpTransfer::bStartSwUpdate;
        const int iLog = CRunTriggerFtpTransfer::bStartLogFileTransfer;
        const int iDataTest = CRunTriggerFtpTransfer::bStartDataTestFileTransfer;
        const int iServiceTest = CRunTriggerFtpTransfer::bStartServiceTestFileTransfer;
        const int iUpdateTest = CRunTriggerFtpTransfer::bStartUpdateTestFileTransfer;

        QTest::newRow("GPS on") << iGps << true << QStringList{"D Trigger for GPS-File transfer received"} << true
                                << false << false;
        QTest::newRow("GPS off") << iGps << false
                                 << QStringList{refuse("gps file trigger ignored. Domain: x",
                                                       CRunFtpTransferStatus::GroupGps)}
                                 << false << false << false;
        QTest::newRow("info on") << iInfo << true << QStringList{"D Trigger for Info-File transfer received"}
                                 << false << true << false;
        QTest::newRow("info off") << iInfo << false
                                  << QStringList{refuse("info file trigger ignored", CRunFtpTransferStatus::GroupInfo)}
                                  << false << false << false;
        const QStringList asAuto{
            "W CRunTriggerFtpTransfer::bStartAutoEventFileTransfer received, but ignored due to new handling."};
        QTest::newRow("automatic event on") << iAuto << true << asAuto << false << false << false;
        QTest::newRow("automatic event off") << iAuto << false << asAuto << false << false << false;
        QTest::newRow("manual event off")
            << iMan << false << QStringList{refuse("data file trigger ignored", CRunFtpTransferStatus::GroupEvent)}
            << false << false << false;
        QTest::newRow("look-up on") << iSw << true << QStringList{"D Trigger SW update transfer received"} << false
                                    << false << true;
        QTest::newRow("look-up off")
            << iSw << false
            << QStringList{refuse("software update search trigger ignored", CRunFtpTransferStatus::GroupUpdate)}
            << false << false << false;
        QTest::newRow("log on: the scan finds it") << iLog << true << QStringList{} << false << false << false;
        QTest::newRow("log off")
            << iLog << false << QStringList{refuse("log file transfer is disabled", CRunFtpTransferStatus::GroupLog)}
            << false << false << false;
        QTest::newRow("data test on") << iDataTest << true
                                      << QStringList{"D Trigger data test file transfer received | create 6"} << false
                                      << false << false;
        QTest::newRow("data test off")
            << iDataTest << false
            << QStringList{refuse("data test file transfer is disabled", CRunFtpTransferStatus::GroupTest)} << false
            << false << false;
        QTest::newRow("service test on") << iServiceTest << true
                                         << QStringList{"D Trigger service test file transfer received | create 7"}
                                         << false << false << false;
        QTest::newRow("service test off")
            << iServiceTest << false
            << QStringList{refuse("service test file transfer is disabled", CRunFtpTransferStatus::GroupTest)} << false
            << false << false;
        QTest::newRow("update test on") << iUpdateTest << true
                                        << QStringList{"D Trigger update test file transfer received\n | create 8"}
                                        << false << false << false;
        QTest::newRow("update test off")
            << iUpdateTest << false
            << QStringList{refuse("update test file transfer is disabled", CRunFtpTransferStatus::GroupTest)} << false
            << false << false;
    }
    void singleRequest()
    {
        QFETCH(int, iTrigger);
        QFETCH(bool, bEnabled);
        QFETCH(QStringList, asWant);
        QFETCH(bool, bWantGps);
        QFETCH(bool, bWantInfo);
        QFETCH(bool, bWantSw);

        CRunTriggerFtpTransfer oTrigger;
        oTrigger.setTrigger(ETrigger(iTrigger), true);
        CTriggerRequests requests;
        requests.bGpsFileRequested = !bEnabled; // a refused GPS trigger also drops an older request
        const bool bGpsBefore = requests.bGpsFileRequested;
        const CTransferTriggerOutcome outcome = handleTransferTrigger(
            oTrigger, CServerSwitches(bEnabled, bEnabled, bEnabled, bEnabled ? "ftp.example.org" : "x"), requests);

        QVERIFY(outcome.bWriteBack);
        QCOMPARE(describeAll(outcome.aActions), asWant);
        QVERIFY(!oTrigger.trigger(ETrigger(iTrigger)));
        QVERIFY(oTrigger.isFieldChanged(iTrigger));
        const bool bGpsTrigger = iTrigger == CRunTriggerFtpTransfer::bStartGpsFileTransfer;
        QCOMPARE(requests.bGpsFileRequested, bGpsTrigger ? bWantGps : bGpsBefore);
        QCOMPARE(requests.bInfoFileRequested, bWantInfo);
        QCOMPARE(requests.bSwUpdateRequested, bWantSw);
        QCOMPARE(requests.iManFileType, int(ManFile_NoTransfer));
        QVERIFY(!requests.bAutoEventFileRequested);
    }

    void noRequest()
    {
        CRunTriggerFtpTransfer oTrigger;
        CTriggerRequests requests;
        const CTransferTriggerOutcome outcome = handleTransferTrigger(oTrigger, CServerSwitches(true, true, true), requests);
        QVERIFY(!outcome.bWriteBack);
        QVERIFY(outcome.aActions.isEmpty());
    }

    void severalRequestsInFixedOrder()
    {
        CRunTriggerFtpTransfer oTrigger;
        for (int iTrigger = CRunTriggerFtpTransfer::bStartGpsFileTransfer;
             iTrigger <= CRunTriggerFtpTransfer::bStartInfoFileTransfer; ++iTrigger)
            oTrigger.setTrigger(ETrigger(iTrigger), true);
        oTrigger.setTriggerType(QStringLiteral("Event"));
        CTriggerRequests requests;
        // Data and update on, service off.
        const CTransferTriggerOutcome outcome =
            handleTransferTrigger(oTrigger, CServerSwitches(true, false, true, "ftp.example.org"), requests);
        QVERIFY(outcome.bWriteBack);
        const QStringList asWant{
            "D Trigger for GPS-File transfer received",
            refuse("info file trigger ignored", CRunFtpTransferStatus::GroupInfo),
            "W CRunTriggerFtpTransfer::bStartAutoEventFileTransfer received, but ignored due to new handling.",
            "W Trigger for man. Event-File transfer received, trigger type:\"Event\"",
            "W Trigger start (UTC)\"\", Trigger end (UTC)\"\"",
            "D Trigger SW update transfer received",
            "D Trigger data test file transfer received | create 6",
            refuse("service test file transfer is disabled", CRunFtpTransferStatus::GroupTest),
            "D Trigger update test file transfer received\n | create 8",
        };
        QCOMPARE(describeAll(outcome.aActions), asWant);
        for (int iTrigger = CRunTriggerFtpTransfer::bStartGpsFileTransfer;
             iTrigger <= CRunTriggerFtpTransfer::bStartInfoFileTransfer; ++iTrigger)
            QVERIFY(!oTrigger.trigger(ETrigger(iTrigger)));
        QVERIFY(requests.bGpsFileRequested);
        QVERIFY(!requests.bInfoFileRequested);
        QVERIFY(requests.bSwUpdateRequested);
        QCOMPARE(requests.iManFileType, int(ManFile_Event));
    }

    void manualEventFile_data()
    {
        QTest::addColumn<QString>("sTriggerType");
        QTest::addColumn<int>("iWantType");
        QTest::newRow("Complete") << "Complete" << int(ManFile_Complete);
        QTest::newRow("Event") << "Event" << int(ManFile_Event);
        QTest::newRow("Delivery") << "Delivery" << int(ManFile_Delivery);
        QTest::newRow("complete in lower case") << "complete" << int(ManFile_NoTransfer);
        QTest::newRow("empty") << "" << int(ManFile_NoTransfer);
        QTest::newRow("trailing blank") << "Event " << int(ManFile_NoTransfer);
    }
    void manualEventFile()
    {
        QFETCH(QString, sTriggerType);
        QFETCH(int, iWantType);
        CRunTriggerFtpTransfer oTrigger;
        oTrigger.setTrigger(CRunTriggerFtpTransfer::bStartManEventFileTransfer, true);
        oTrigger.setTriggerType(sTriggerType);
        const QDateTime dtStart(QDate(2024, 5, 1), QTime(6, 0, 0, 250), Qt::UTC);
        const QDateTime dtEnd(QDate(2024, 5, 2), QTime(18, 30, 5, 7), Qt::UTC);
        oTrigger.setTriggerStartUtc(dtStart);
        oTrigger.setTriggerEndUtc(dtEnd);
        oTrigger.setField(10, QStringLiteral("text one"));
        oTrigger.setField(11, QStringLiteral("text two"));

        CTriggerRequests requests;
        const CTransferTriggerOutcome outcome =
            handleTransferTrigger(oTrigger, CServerSwitches(true, false, false, "ftp.example.org"), requests);
        QVERIFY(outcome.bWriteBack);
        QCOMPARE(describeAll(outcome.aActions),
                 (QStringList{"W Trigger for man. Event-File transfer received, trigger type:\"" + sTriggerType + "\"",
                              "W Trigger start (UTC)\"2024-05-01 06:00:00,250\", Trigger end (UTC)\"2024-05-02 "
                              "18:30:05,007\""}));
        QCOMPARE(requests.iManFileType, iWantType);
        QCOMPARE(requests.dtManStartUtc, dtStart);
        QCOMPARE(requests.dtManEndUtc, dtEnd);

        // The record goes back with no type, no texts and the far-future times.
        const QDateTime dtFarFuture(QDate(3000, 1, 1), QTime(0, 0));
        QCOMPARE(oTrigger.dtTriggerStartUtc(), dtFarFuture);
        QCOMPARE(oTrigger.dtTriggerEndUtc(), dtFarFuture);
        QVERIFY(oTrigger.sTriggerType().isEmpty());
        QVERIFY(oTrigger.text1().isEmpty());
        QVERIFY(oTrigger.text2().isEmpty());
        QVERIFY(!oTrigger.trigger(CRunTriggerFtpTransfer::bStartManEventFileTransfer));
    }

    void refusedManualKeepsRecord()
    {
        CRunTriggerFtpTransfer oTrigger;
        oTrigger.setTrigger(CRunTriggerFtpTransfer::bStartManEventFileTransfer, true);
        oTrigger.setTriggerType(QStringLiteral("Complete"));
        CTriggerRequests requests;
        handleTransferTrigger(oTrigger, CServerSwitches(false, true, true), requests);
        QCOMPARE(requests.iManFileType, int(ManFile_NoTransfer));
        QCOMPARE(oTrigger.sTriggerType(), QStringLiteral("Complete"));
    }

    void automaticEventFile_data()
    {
        QTest::addColumn<bool>("bData");
        QTest::addColumn<bool>("bForcedBefore");
        QTest::addColumn<bool>("bForced");
        QTest::addColumn<QStringList>("asWant");
        QTest::addColumn<bool>("bWantRequested");
        QTest::addColumn<bool>("bWantForced");
        const QStringList asTaken{"D Trigger for auto. event file transfer received"};
        QTest::newRow("plain") << true << false << false << asTaken << true << false;
        QTest::newRow("forced") << true << false << true << asTaken << true << true;
        QTest::newRow("forced sticks") << true << true << false << asTaken << true << true;
        QTest::newRow("data off")
            << false << false << true
            << QStringList{"W Data file trigger ignored | refuse " + QString::number(CRunFtpTransferStatus::GroupEvent)}
            << false << false;
    }
    void automaticEventFile()
    {
        QFETCH(bool, bData);
        QFETCH(bool, bForcedBefore);
        QFETCH(bool, bForced);
        QFETCH(QStringList, asWant);
        QFETCH(bool, bWantRequested);
        QFETCH(bool, bWantForced);
        CTriggerRequests requests;
        requests.bAutoEventFileForced = bForcedBefore;
        const QList<CTriggerAction> aActions = handleAutoEventTrigger(bForced, CServerSwitches(bData, true, true), requests);
        QCOMPARE(describeAll(aActions), asWant);
        QCOMPARE(requests.bAutoEventFileRequested, bWantRequested);
        QCOMPARE(requests.bAutoEventFileForced, bWantForced);
    }

    void timeText()
    {
        QCOMPARE(triggerTimeText(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 6), Qt::UTC)),
                 QStringLiteral("2024-01-02 03:04:05,006"));
    }
};

QTEST_GUILESS_MAIN(TestTriggers)
#include "tst_triggers.moc"
