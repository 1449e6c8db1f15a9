#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"
#include "tests/support/ctable.h"

// The number forms and names of ftlline.tsv.
class TestFtlLine : public QObject
{
    Q_OBJECT

  private slots:
    // Worked out by hand: ties to even, "-0.0" kept, always a point.
    void fixed_data() { caseRows(QFINDTESTDATA("ftlline.tsv")); }
    void fixed()
    {
        QFETCH(QStringList, row);
        QCOMPARE(ftlFixed(row[0].toLatin1().constData(), row[1].toDouble()), row[2]);
    }

    void rounded_data() { caseRows(QFINDTESTDATA("ftlline.tsv")); }
    void rounded()
    {
        QFETCH(QStringList, row);
        QCOMPARE(ftlRounded(row[0] == "nan" ? qQNaN() : row[0].toDouble()), row[1]);
    }

    void names_data() { caseRows(QFINDTESTDATA("ftlline.tsv")); }
    void names()
    {
        QFETCH(QStringList, row);
        QCOMPARE(row[0] == "type" ? logTypeName(row[1].toInt()) : logSubTypeName(row[1].toInt()), row[2]);
    }
};

QTEST_GUILESS_MAIN(TestFtlLine)
#include "tst_ftlline.moc"
