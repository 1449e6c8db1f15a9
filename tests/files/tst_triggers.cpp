#include "controller/ctransfertypes.h"
#include "files/ctriggerhandling.h"

#include <QTest>

using T = CRunTriggerFtpTransfer;
using S = CRunFtpTransferStatus;

namespace
{

// Each action as one text: level, text, then a refusal or a test file.
QStringList describe(const QList<CTriggerAction> &aActions)
{
    QStringList asLines;
    for (const CTriggerAction &action : aActions) {
        QString sText = (action.line.eLevel == CLogLine::Warning ? "W " : "D ") + action.line.sText;
        if (action.bRefuse)
            sText += " | refuse " + QString::number(action.eRefuseGroup);
        if (action.iCreateTestFile)
            sText += " | create " + QString::number(action.iCreateTestFile);
        asLines << sText;
    }
    return asLines;
}

QString refuse(const QString &sText, S::EGroup eGroup)
{
    return "D " + sText + " | refuse " + QString::number(eGroup);
}

} // namespace

class TestTriggers : public QObject
{
    Q_OBJECT

  private slots:
    // sFlags names the requests left set: GPS (g), info (i), look-up (s).
    // The kinds not listed here are taken in severalRequestsInFixedOrder.
    void singleRequest_data()
    {
        QTest::addColumn<int>("iTrigger");
        QTest::addColumn<bool>("bOn");
        QTest::addColumn<QString>("sWant");
        QTest::addColumn<QString>("sFlags");
        QTest::newRow("GPS off, one-character domain")
            << int(T::bStartGpsFileTransfer) << false << refuse("gps file trigger ignored. Domain: x", S::GroupGps)
            << "";
        QTest::newRow("info on") << int(T::bStartInfoFileTransfer) << true
                                 << "D Trigger for Info-File transfer received"
                                 << "i";
        QTest::newRow("manual event off")
            << int(T::bStartManEventFileTransfer) << false << refuse("data file trigger ignored", S::GroupEvent) << "g";
        QTest::newRow("look-up off") << int(T::bStartSwUpdate) << false
                                     << refuse("software update search trigger ignored", S::GroupUpdate) << "g";
        QTest::newRow("log on: the scan finds it") << int(T::bStartLogFileTransfer) << true << ""
                                                   << "";
        QTest::newRow("log off") << int(T::bStartLogFileTransfer) << false
                                 << refuse("log file transfer is disabled", S::GroupLog) << "g";
    }
    void singleRequest()
    {
        QFETCH(int, iTrigger);
        QFETCH(bool, bOn);
        QFETCH(QString, sWant);
        QFETCH(QString, sFlags);
        T oTrigger;
        oTrigger.setTrigger(T::ETrigger(iTrigger), true);
        oTrigger.setTriggerType(QStringLiteral("Complete"));
        CTriggerRequests requests;
        requests.bGpsFileRequested = !bOn; // a refused GPS trigger also drops an older request
        const CTransferTriggerOutcome outcome =
            handleTransferTrigger(oTrigger, CServerSwitches(bOn, bOn, bOn, bOn ? "ftp.example.org" : "x"), requests);
        QVERIFY(outcome.bWriteBack);
        QCOMPARE(describe(outcome.aActions), sWant.isEmpty() ? QStringList() : QStringList{sWant});
        QVERIFY(!oTrigger.trigger(T::ETrigger(iTrigger)));
        QVERIFY(oTrigger.isFieldChanged(iTrigger));
        const QString sNowSet = QString(requests.bGpsFileRequested ? "g" : "") +
                                (requests.bInfoFileRequested ? "i" : "") + (requests.bSwUpdateRequested ? "s" : "");
        QCOMPARE(sNowSet, sFlags);
        // Only an accepted manual trigger takes the type and resets the record.
        QCOMPARE(requests.iManFileType, int(ManFile_NoTransfer));
        QCOMPARE(oTrigger.sTriggerType(), QStringLiteral("Complete"));
        QVERIFY(!requests.bAutoEventFileRequested);
    }

    void noRequest()
    {
        T oTrigger;
        CTriggerRequests requests;
        const CTransferTriggerOutcome outcome =
            handleTransferTrigger(oTrigger, CServerSwitches(true, true, true), requests);
        QVERIFY(!outcome.bWriteBack);
        QVERIFY(outcome.aActions.isEmpty());
    }

    void severalRequestsInFixedOrder()
    {
        T oTrigger;
        for (int iTrigger = T::bStartGpsFileTransfer; iTrigger <= T::bStartInfoFileTransfer; ++iTrigger)
            oTrigger.setTrigger(T::ETrigger(iTrigger), true);
        oTrigger.setTriggerType(QStringLiteral("Event"));
        CTriggerRequests requests;
        // Data and update on, service off.
        const CTransferTriggerOutcome outcome =
            handleTransferTrigger(oTrigger, CServerSwitches(true, false, true, "ftp.example.org"), requests);
        QVERIFY(outcome.bWriteBack);
        QCOMPARE(
            describe(outcome.aActions),
            (QStringList{"D Trigger for GPS-File transfer received", refuse("info file trigger ignored", S::GroupInfo),
                         "W CRunTriggerFtpTransfer::bStartAutoEventFileTransfer received, but ignored due to new "
                         "handling.",
                         "W Trigger for man. Event-File transfer received, trigger type:\"Event\"",
                         "W Trigger start (UTC)\"\", Trigger end (UTC)\"\"", "D Trigger SW update transfer received",
                         "D Trigger data test file transfer received | create 6",
                         refuse("service test file transfer is disabled", S::GroupTest),
                         "D Trigger update test file transfer received\n | create 8"}));
        for (int iTrigger = T::bStartGpsFileTransfer; iTrigger <= T::bStartInfoFileTransfer; ++iTrigger)
            QVERIFY(!oTrigger.trigger(T::ETrigger(iTrigger)));
        QVERIFY(requests.bGpsFileRequested && !requests.bInfoFileRequested && requests.bSwUpdateRequested);
        QCOMPARE(requests.iManFileType, int(ManFile_Event));
    }

    void manualEventFile_data()
    {
        QTest::addColumn<QString>("sTriggerType");
        QTest::addColumn<int>("iWantType");
        QTest::newRow("Complete") << "Complete" << int(ManFile_Complete);
        QTest::newRow("Delivery") << "Delivery" << int(ManFile_Delivery);
        QTest::newRow("complete in lower case") << "complete" << int(ManFile_NoTransfer);
    }
    void manualEventFile()
    {
        QFETCH(QString, sTriggerType);
        QFETCH(int, iWantType);
        T oTrigger;
        oTrigger.setTrigger(T::bStartManEventFileTransfer, true);
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
        QCOMPARE(describe(outcome.aActions),
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
        QCOMPARE(oTrigger.sTriggerType() + oTrigger.text1() + oTrigger.text2(), QString());
        QVERIFY(!oTrigger.trigger(T::bStartManEventFileTransfer));
    }

    void automaticEventFile_data()
    {
        QTest::addColumn<bool>("bData");
        QTest::addColumn<bool>("bForcedBefore");
        QTest::addColumn<bool>("bForced");
        QTest::addColumn<bool>("bWantRequested");
        QTest::addColumn<bool>("bWantForced");
        QTest::newRow("plain") << true << false << false << true << false;
        QTest::newRow("forced") << true << false << true << true << true;
        QTest::newRow("forced sticks") << true << true << false << true << true;
        QTest::newRow("data off") << false << false << true << false << false;
    }
    void automaticEventFile()
    {
        QFETCH(bool, bData);
        QFETCH(bool, bForcedBefore);
        QFETCH(bool, bForced);
        QFETCH(bool, bWantRequested);
        QFETCH(bool, bWantForced);
        CTriggerRequests requests;
        requests.bAutoEventFileForced = bForcedBefore;
        QCOMPARE(describe(handleAutoEventTrigger(bForced, CServerSwitches(bData, true, true), requests)),
                 QStringList{bData ? "D Trigger for auto. event file transfer received"
                                   : "W Data file trigger ignored | refuse " + QString::number(S::GroupEvent)});
        QCOMPARE(requests.bAutoEventFileRequested, bWantRequested);
        QCOMPARE(requests.bAutoEventFileForced, bWantForced);
    }
};

QTEST_GUILESS_MAIN(TestTriggers)
#include "tst_triggers.moc"
