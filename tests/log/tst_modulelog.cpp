#include "log/cmodulelog.h"
#include "tests/support/ctable.h"

#include <QTest>

// The layout of every message of the controller, the trigger monitor and the
// logbook entries: the stream's blank after each item, values included.
class TestModuleLog : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(messages, "modulelog.tsv")
    {
        const QStringList asItems = row[2].split(QStringLiteral(" | "));
        const QString sMessage = row[0] == "-" ? streamedLine(asItems)
                                               : moduleLogLine(qPrintable(row[0]), row[1].toInt(), streamItems(asItems));
        QCOMPARE(QLatin1Char('"') + sMessage + QLatin1Char('"'), row[3]);
    }
};

QTEST_GUILESS_MAIN(TestModuleLog)
#include "tst_modulelog.moc"
