#include "records/cmainmode.h"
#include "records/creplycode.h"
#include "tests/support/ctable.h"

// The texts of the vehicle's codes in log lines, as texttables.tsv lists them.
class TestTextTables : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(mainModes, "texttables.tsv") { QCOMPARE(getMainModeText(row[0].toInt()), row[1]); }
    TABLE_TEST(replyCodes, "texttables.tsv") { QCOMPARE(replyCodeName(row[0].toInt()), row[1]); }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_texttables.moc"
