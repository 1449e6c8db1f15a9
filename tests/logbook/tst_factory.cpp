#include "logbook/clogfactory.h"
#include "tests/support/ctable.h"

// Raw logbook rows, byte for byte as rows.txt gives them: the header as the
// row readers see it, and the entry each type makes with its lines.
class TestFactory : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(headerReaders, "rows.txt")
    {
        const QByteArray baRow = QByteArray::fromHex(row[4].toLatin1());
        QCOMPARE(LogRow::LogType(baRow), row[0].toInt());
        QCOMPARE(LogRow::LogSubType(baRow), row[1].toInt());
        QCOMPARE(LogRow::RowID(baRow), row[2].toULongLong());
        QCOMPARE(LogRow::DateTime(baRow), QDateTime::fromString(row[3], Qt::ISODate));
    }

    TABLE_TEST(entries, "rows.txt")
    {
        const QByteArray baRow = QByteArray::fromHex(row[3].toLatin1());
        const auto pEntry = makeLogEntry(baRow);
        QVERIFY(pEntry);
        QCOMPARE(pEntry->LogType, row[0].toInt());
        QCOMPARE(ftlLinesOf(*pEntry, 0), row[2] == "<none>" ? QStringList() : QStringList{row[2]});
        // Level-volume and seal entries hand on their reserve as the legal-metrology data.
        const bool bWm = pEntry->LogType == 7 || pEntry->LogType == 11;
        QCOMPARE(pEntry->isWmEntry(), bWm);
        QCOMPARE(pEntry->wmData().toHex(), QByteArray(bWm ? "beef" : ""));
        if (baRow.size() >= 45) {
            QCOMPARE(pEntry->SecondaryRowID, 7ULL);
            QCOMPARE(pEntry->Compartment, 2);
            QCOMPARE(pEntry->AuxValue, -1);
        }
        if (row[1] == "1")
            QCOMPARE(pEntry->toRow().toHex(), baRow.toHex());
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
