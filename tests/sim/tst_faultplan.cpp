#include "sim/cfaultplan.h"
#include "tests/support/ctable.h"

#include <QTest>

// The faults a test plants in the stand-in service: counted per operation,
// and a stalled reply that outlasts the daemon's wait for it.
class TestFaultPlan : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(faults, "faultplan.tsv")
    {
        const QHash<QString, EFault> hFaults{{"none", EFault::None},   {"error", EFault::Error},
                                             {"stall", EFault::Stall}, {"empty", EFault::Empty},
                                             {"refuse", EFault::Refuse}};
        CFaultPlan plan;
        for (const QString &sStep : cellTexts(row[0])) {
            const QStringList asWords = sStep.split(QLatin1Char(' '));
            const QString sOperation = asWords[1] == "-" ? QString() : asWords[1];
            if (asWords[0] == "set") {
                QString sError;
                QCOMPARE(plan.set(sOperation, asWords[2], asWords[3].toInt(), asWords.value(5).toInt(), &sError)
                             ? "ok"
                             : "refused",
                         asWords[4]);
                QCOMPARE(sError.isEmpty(), asWords[4] == "ok");
            } else {
                QVERIFY2(hFaults.contains(asWords[2]), qPrintable(sStep));
                QVERIFY2(plan.take(sOperation) == hFaults.value(asWords[2]), qPrintable(sStep));
            }
        }
    }

    // The daemon waits 25 s for a reply (the bus library's default); a
    // stalled reply must come later, or a stall would test nothing.
    void stalledReplyOutlastsTheDaemonsWait() { QVERIFY(STALLED_REPLY_MS > 25000); }
};

QTEST_GUILESS_MAIN(TestFaultPlan)
#include "tst_faultplan.moc"
