#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"
#include "tests/support/ctable.h"

// The number forms and names of ftlline.tsv.
class TestFtlLine : public QObject
{
    Q_OBJECT

  private slots:
    // Worked out by hand: ties to even, "-0.0" kept, always a point.
    TABLE_TEST(fixed, "ftlline.tsv") { QCOMPARE(ftlFixed(row[0].toLatin1().constData(), row[1].toDouble()), row[2]); }

    TABLE_TEST(rounded, "ftlline.tsv") { QCOMPARE(ftlRounded(row[0] == "nan" ? qQNaN() : row[0].toDouble()), row[1]); }

    TABLE_TEST(names, "ftlline.tsv")
    {
        QCOMPARE(row[0] == "type" ? logTypeName(row[1].toInt()) : logSubTypeName(row[1].toInt()), row[2]);
    }
};

QTEST_GUILESS_MAIN(TestFtlLine)
#include "tst_ftlline.moc"
