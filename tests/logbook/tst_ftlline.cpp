#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"
#include "tests/logbook/logbooktest.h"

#include <QLocale>
#include <QTest>

class TestFtlLine : public QObject
{
    Q_OBJECT

private slots:
    // Calendar arithmetic: the date rolls over at midnight, month and year
    // ends; the clock is the time of day of the same moment.
    void stamp_data()
    {
        QTest::addColumn<QDateTime>("dtStamp");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sStamp");
        QTest::addColumn<QString>("sClock");
        QTest::newRow("year rolls over") << utc(2025, 12, 31, 23, 59, 30) << 3600 << "20260101005930"
                                         << "005930";
        QTest::newRow("back over month end") << utc(2026, 3, 1, 0, 30) << -7200 << "20260228223000"
                                             << "223000";
        QTest::newRow("afternoon is 24-hour") << utc(2026, 7, 1, 15, 4, 5) << 0 << "20260701150405"
                                              << "150405";
    }
    void stamp()
    {
        QFETCH(QDateTime, dtStamp);
        QFETCH(int, iOffset);
        QFETCH(QString, sStamp);
        QFETCH(QString, sClock);
        QCOMPARE(ftlStamp(dtStamp, iOffset), sStamp);
        QCOMPARE(ftlClock(dtStamp, iOffset), sClock);
    }

    // "." as the point, whatever language the vehicle runs in.
    void fixedKeepsThePoint()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString sFixed = ftlFixed("%3.2f", -1.5);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(sFixed, QStringLiteral("-1.50"));
    }

    void rounded_data()
    {
        QTest::addColumn<double>("dValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("2.5 up") << 2.5 << "3";
        QTest::newRow("-2.5 away from zero") << -2.5 << "-3";
        QTest::newRow("-0.4 is 0, unsigned") << -0.4 << "0";
        QTest::newRow("beyond 64 bits") << 1e300 << "9223372036854775807";
        QTest::newRow("far below") << -1e300 << "-9223372036854775808";
        QTest::newRow("not a number") << qQNaN() << "0";
    }
    void rounded()
    {
        QFETCH(double, dValue);
        QFETCH(QString, sWant);
        QCOMPARE(ftlRounded(dValue), sWant);
    }

    void names_data()
    {
        QTest::addColumn<bool>("bSubType");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("type 0") << false << 0 << "unknown_LogbookType";
        QTest::newRow("type 23") << false << 23 << "FPM";
        QTest::newRow("type 24 unknown") << false << 24 << "24";
        QTest::newRow("type negative") << false << -3 << "-3";
        QTest::newRow("subtype first") << true << 4201 << "CANError";
        QTest::newRow("subtype handled but unnamed") << true << 6105 << "6105";
        QTest::newRow("subtype unknown") << true << 9999 << "9999";
    }
    void names()
    {
        QFETCH(bool, bSubType);
        QFETCH(int, iCode);
        QFETCH(QString, sWant);
        QCOMPARE(bSubType ? logSubTypeName(iCode) : logTypeName(iCode), sWant);
    }
};

QTEST_GUILESS_MAIN(TestFtlLine)
#include "tst_ftlline.moc"
