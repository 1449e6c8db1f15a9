#include "controller/ctransfertypes.h"
#include "files/ctriggerhandling.h"
#include "tests/support/ctable.h"

using T = CRunTriggerFtpTransfer;

namespace
{
// The actions as triggers.tsv writes them; a line break shows as "\n".
QString describe(const QList<CTriggerAction> &aActions)
{
    using G = CRunFtpTransferStatus;
    static const QHash<int, QString> hGroups{{G::GroupGps, "gps"},   {G::GroupEvent, "event"}, {G::GroupLog, "log"},
                                             {G::GroupTest, "test"}, {G::GroupInfo, "info"},   {G::GroupUpdate, "update"}};
    QStringList asActions;
    for (const CTriggerAction &action : aActions) {
        QString sText = logText({action.line});
        sText.replace(QLatin1Char('\n'), "\\n");
        if (action.bRefuse)
            sText += QStringLiteral(" -> refuse ") + hGroups.value(action.eRefuseGroup, "?");
        if (action.iCreateTestFile)
            sText += QStringLiteral(" -> create ") + QString::number(action.iCreateTestFile);
        asActions << sText;
    }
    return asActions.join(QStringLiteral(" | "));
}

CServerSwitches serversOn(const QString &sOn, const QString &sDomain = QString())
{
    return CServerSwitches(sOn.contains('d'), sOn.contains('s'), sOn.contains('u'), sDomain);
}

QString requestsOf(const CTriggerRequests &requests)
{
    const QString sSet = QString(requests.bGpsFileRequested ? "g" : "") + (requests.bInfoFileRequested ? "i" : "") +
                         (requests.bSwUpdateRequested ? "s" : "");
    return sSet.isEmpty() ? QStringLiteral("-") : sSet;
}

const QDateTime dtStart(QDate(2024, 5, 1), QTime(6, 0, 0, 250), Qt::UTC);
const QDateTime dtEnd(QDate(2024, 5, 2), QTime(18, 30, 5, 7), Qt::UTC);
} // namespace

class TestTriggers : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(handle, "triggers.tsv")
    {
        T oTrigger;
        for (const QString &sField : row[0].split(QLatin1Char(' ')))
            if (sField != "-")
                oTrigger.setTrigger(T::ETrigger(sField.toInt()), true);
        oTrigger.setTriggerType(row[3]);
        oTrigger.setTriggerStartUtc(dtStart);
        oTrigger.setTriggerEndUtc(dtEnd);
        oTrigger.setField(10, QStringLiteral("text one"));
        CTriggerRequests requests;
        requests.bGpsFileRequested = row[4].contains('g');
        const CTransferTriggerOutcome outcome = handleTransferTrigger(oTrigger, serversOn(row[1], row[2]), requests);
        QCOMPARE(describe(outcome.aActions), row[5]);
        QCOMPARE(outcome.bWriteBack, row[6] == "1");
        QCOMPARE(requestsOf(requests), row[7]);
        QCOMPARE(requests.iManFileType, row[8].toInt());
        // Every request goes back cleared and marked as changed.
        for (const QString &sField : row[0].split(QLatin1Char(' ')))
            QVERIFY(sField == "-" ||
                    (!oTrigger.trigger(T::ETrigger(sField.toInt())) && oTrigger.isFieldChanged(sField.toInt())));
        const bool bReset = row[9] == "1";
        const QDateTime dtFarFuture(QDate(3000, 1, 1), QTime(0, 0));
        QCOMPARE(oTrigger.dtTriggerStartUtc(), bReset ? dtFarFuture : dtStart);
        QCOMPARE(oTrigger.dtTriggerEndUtc(), bReset ? dtFarFuture : dtEnd);
        QCOMPARE(oTrigger.sTriggerType() + oTrigger.text1(), bReset ? QString() : row[3] + "text one");
        QCOMPARE(requests.dtManStartUtc, bReset ? dtStart : QDateTime());
        QCOMPARE(requests.dtManEndUtc, bReset ? dtEnd : QDateTime());
        // The bytes going back: version 256, the reserve of 32 zero bytes, flag and value of each request.
        const QByteArray baWant = "0000010000000020" + QByteArray(64, '0') + row.value(10).remove(' ').toLatin1();
        QVERIFY(row.size() < 11 || oTrigger.toByteArray().toHex().startsWith(baWant));
    }

    // The service's answer: nothing to take leaves every request as it was.
    TABLE_TEST(reply, "triggers.tsv")
    {
        T oAnswer;
        oAnswer.setTrigger(T::bStartGpsFileTransfer, true);
        const QByteArray baReply = row[0] == "record"  ? oAnswer.toByteArray()
                                   : row[0] == "empty" ? QByteArray("")
                                                       : QByteArray();
        T oCopy;
        CTriggerRequests requests;
        const CTransferTriggerOutcome outcome =
            handleTransferTriggerReply(baReply, oCopy, serversOn(QStringLiteral("dsu")), requests);
        QCOMPARE(describe(outcome.aActions), row[1]);
        QCOMPARE(outcome.bWriteBack, row[2] == "1");
        QCOMPARE(requestsOf(requests), row[3]);
        QVERIFY(!oCopy.trigger(T::bStartGpsFileTransfer));
    }

    TABLE_TEST(automatic, "triggers.tsv")
    {
        CTriggerRequests requests;
        requests.bAutoEventFileForced = row[1] == "1";
        QCOMPARE(describe(handleAutoEventTrigger(row[2] == "1", serversOn(row[0] == "1" ? "dsu" : "su"), requests)),
                 row[3]);
        QCOMPARE(requests.bAutoEventFileRequested, row[4] == "1");
        QCOMPARE(requests.bAutoEventFileForced, row[5] == "1");
    }
};

QTEST_GUILESS_MAIN(TestTriggers)
#include "tst_triggers.moc"
