#include "records/cmainmode.h"
#include "records/creplycode.h"
#include "tests/support/ctable.h"

// The texts of the vehicle's codes in log lines, as texttables.tsv lists them.
class TestTextTables : public QObject
{
    Q_OBJECT

  private slots:
    void mainModes_data() { caseRows(QFINDTESTDATA("texttables.tsv")); }
    void mainModes()
    {
        QFETCH(QStringList, row);
        QCOMPARE(getMainModeText(row[0].toInt()), row[1]);
    }

    void replyCodes_data() { caseRows(QFINDTESTDATA("texttables.tsv")); }
    void replyCodes()
    {
        QFETCH(QStringList, row);
        QCOMPARE(replyCodeName(row[0].toInt()), row[1]);
    }
};

QTEST_APPLESS_MAIN(TestTextTables)
#include "tst_texttables.moc"
