#include "logbook/clogtracking.h"

#include <QTest>

class TestTracking : public QObject
{
    Q_OBJECT

private slots:
    void newEntry()
    {
        const CLogTracking entry;
        QCOMPARE(entry.LogType, 1);
        QCOMPARE(entry.iPayloadVersion, 1);
        QCOMPARE(entry.baReserve, QByteArray(32, '\0'));
        QVERIFY(entry.Flag);
        QCOMPARE(entry.Position.latitude(), 0.0);
        QVERIFY(!entry.isWmEntry());
        // Payload: version 1, a reserve of 32 zero bytes, the cleared fix, true.
        const QByteArray baPayload = entry.toRow().mid(45);
        QCOMPARE(baPayload.left(8).toHex(), QByteArray("0000000100000020"));
        QCOMPARE(baPayload.size(), 4 + 4 + 32 + 4 + 9 + 3 * 8 + 3 * 4 + 3 * 8 + 1);
        QCOMPARE(baPayload.right(1).toHex(), QByteArray("01"));
    }

    // Positions near 0°/0° are the receiver's default, not a fix.
    void usablePosition_data()
    {
        QTest::addColumn<double>("dLatitude");
        QTest::addColumn<double>("dLongitude");
        QTest::addColumn<bool>("bUsable");
        QTest::newRow("0.1 / 0.2 rejected") << 0.1 << 0.2 << false;
        QTest::newRow("0.1 / 0.25 written") << 0.1 << 0.25 << true;
        QTest::newRow("latitude -0.25 written") << -0.25 << 0.0 << true;
        QTest::newRow("just inside") << 0.2499 << -0.2499 << false;
        QTest::newRow("origin") << 0.0 << 0.0 << false;
        QTest::newRow("a real place") << 48.1 << 9.5 << true;
    }
    void usablePosition()
    {
        QFETCH(double, dLatitude);
        QFETCH(double, dLongitude);
        QFETCH(bool, bUsable);
        CLogTracking entry;
        entry.Position.adMeasures[0] = dLatitude;
        entry.Position.adMeasures[1] = dLongitude;
        QCOMPARE(entry.hasUsablePosition(), bUsable);
    }
};

QTEST_GUILESS_MAIN(TestTracking)
#include "tst_tracking.moc"
