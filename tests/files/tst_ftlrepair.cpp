#include "files/cftlrepair.h"
#include "tests/support/ctable.h"

namespace
{
// A whole header as the daemon writes it, 65 bytes.
const QByteArray baHeader = "0,20270301101500,1.00\r\n91,20270301101500,1\r\n92,20270301101500,1\r\n";

QByteArray bytesOf(const QString &sCell)
{
    QByteArray baBytes = sCell.toLatin1();
    baBytes.replace("\\r", "\r").replace("\\n", "\n").replace("\\0", QByteArray(1, '\0'));
    return baBytes.replace("H", baHeader);
}
} // namespace

class TestFtlRepair : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(repair, "ftlrepair.tsv")
    {
        const CFtlRepair repair = ftlRepairOf(row[0], bytesOf(row.value(1)));
        const QStringList asActions{QStringLiteral("keep"), QStringLiteral("cut"), QStringLiteral("remove")};
        QCOMPARE(asActions.value(int(repair.eAction)), row[2]);
        if (repair.eAction == CFtlRepair::CutBack)
            QCOMPARE(repair.llLength, row[3].toLongLong());
    }
};

QTEST_GUILESS_MAIN(TestFtlRepair)
#include "tst_ftlrepair.moc"
