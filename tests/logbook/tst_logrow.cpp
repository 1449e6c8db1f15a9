#include "logbook/clogbase.h"

#include <QTest>
#include <QtEndian>

// A logbook row header written by hand from the stream layout.
static QByteArray goldenHeader()
{
    return QByteArray::fromHex("00000100"          // version 256
                               "0000000c"          // LogType 12 (SPD)
                               "00001781"          // LogSubType 6017
                               "0000000000003039"  // RowID 12345
                               "0000000000000007"  // SecondaryRowID 7
                               "00258ec3"          // 4 Dec 2026 as Julian day 2461379
                               "027063c0"          // 11:22:00.000 as ms since midnight
                               "02"                // UTC, as the stream of this version marks it
                               "00000002"          // Compartment 2 (third)
                               "ffffffff");        // AuxValue -1
}

class TestLogRow : public QObject
{
    Q_OBJECT

private slots:
    void readsGoldenHeader()
    {
        QCOMPARE(QDate(2026, 12, 4).toJulianDay(), 2461379LL);
        const QByteArray baRow = goldenHeader();
        QCOMPARE(LogRow::LogType(baRow), 12);
        QCOMPARE(LogRow::LogSubType(baRow), 6017);
        QCOMPARE(LogRow::RowID(baRow), 12345ULL);
        QCOMPARE(LogRow::DateTime(baRow), QDateTime(QDate(2026, 12, 4), QTime(11, 22), Qt::UTC));
        QCOMPARE(LogRow::DateTime(baRow).timeSpec(), Qt::UTC);

        CLogBase entry;
        QDataStream in(baRow);
        prepareRecordStream(in);
        entry.readHeader(in);
        QCOMPARE(entry.SecondaryRowID, 7ULL);
        QCOMPARE(entry.Compartment, 2);
        QCOMPARE(entry.AuxValue, -1);

        // Written back, the same bytes.
        QByteArray baOut;
        QDataStream out(&baOut, QIODevice::WriteOnly);
        prepareRecordStream(out);
        entry.writeHeader(out);
        QCOMPARE(baOut.toHex(), baRow.toHex());
    }

    void shortRows_data()
    {
        QTest::addColumn<int>("iLength");
        QTest::addColumn<int>("iType");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<qulonglong>("ullRowID");
        QTest::newRow("empty") << 0 << 0 << 0 << 0ULL;
        QTest::newRow("type only") << 8 << 12 << 0 << 0ULL;
        QTest::newRow("half a subtype") << 10 << 12 << 0 << 0ULL;
        QTest::newRow("up to the row id") << 20 << 12 << 6017 << 12345ULL;
    }
    void shortRows()
    {
        QFETCH(int, iLength);
        QFETCH(int, iType);
        QFETCH(int, iSubType);
        QFETCH(qulonglong, ullRowID);
        const QByteArray baRow = goldenHeader().left(iLength);
        QCOMPARE(LogRow::LogType(baRow), iType);
        QCOMPARE(LogRow::LogSubType(baRow), iSubType);
        QCOMPARE(LogRow::RowID(baRow), ullRowID);
        QVERIFY(!LogRow::DateTime(baRow).isValid());
    }

    void newEntryDefaults()
    {
        const CLogBase entry(17);
        QCOMPARE(entry.iVersion, 256);
        QCOMPARE(entry.LogType, 17);
        QCOMPARE(entry.LogSubType, -1);
        QCOMPARE(entry.Compartment, -1);
        QCOMPARE(entry.DateTime.date(), QDate(1, 1, 1));
        QVERIFY(!entry.isWmEntry());
        QVERIFY(entry.wmData().isEmpty());
    }

    void garbageNeverCrashes()
    {
        quint32 uSeed = 12345;
        for (int i = 0; i < 2000; ++i) {
            QByteArray baRow(i % 97, '\0');
            for (char &c : baRow) {
                uSeed = uSeed * 1103515245u + 12345u;
                c = char(uSeed >> 24);
            }
            // The type is the second big-endian word when the row holds it, else 0.
            const qint32 iWant = baRow.size() >= 8 ? qFromBigEndian<qint32>(baRow.constData() + 4) : 0;
            QCOMPARE(LogRow::LogType(baRow), iWant);
            if (baRow.size() < 32)
                QVERIFY(!LogRow::DateTime(baRow).isValid());
        }
    }
};

QTEST_GUILESS_MAIN(TestLogRow)
#include "tst_logrow.moc"
