#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

#include <QTest>


class TestFtlLine : public QObject
{
    Q_OBJECT

private slots:
    void stamp_data()
    {
        QTest::addColumn<QDateTime>("dtStamp");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("year rolls over")
            << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 30), Qt::UTC) << 3600 << "20260101005930";
        QTest::newRow("no offset") << QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC) << 0 << "20260304050607";
        QTest::newRow("negative offset back over month end")
            << QDateTime(QDate(2026, 3, 1), QTime(0, 30, 0), Qt::UTC) << -7200 << "20260228223000";
        QTest::newRow("leap day") << QDateTime(QDate(2028, 2, 28), QTime(23, 0, 0), Qt::UTC) << 3600
                                  << "20280229000000";
        QTest::newRow("afternoon is 24-hour") << QDateTime(QDate(2026, 7, 1), QTime(15, 4, 5), Qt::UTC) << 0
                                              << "20260701150405";
    }
    void stamp()
    {
        QFETCH(QDateTime, dtStamp);
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        QCOMPARE(ftlStamp(dtStamp, iOffset), sWant);
    }

    void compartment_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("no compartment") << -1 << "0";
        QTest::newRow("first") << 0 << "1";
        QTest::newRow("eighth") << 7 << "8";
    }
    void compartment()
    {
        QFETCH(int, iCompartment);
        QFETCH(QString, sWant);
        QCOMPARE(ftlCompartment(iCompartment), sWant);
    }

    void fixed_data()
    {
        QTest::addColumn<QString>("sFormat");
        QTest::addColumn<double>("dValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("%2.1f") << "%2.1f" << 12.34 << "12.3";
        QTest::newRow("%2.1f pads to width") << "%2.1f" << 0.0 << "0.0";
        QTest::newRow("%3.2f negative") << "%3.2f" << -1.5 << "-1.50";
        QTest::newRow("%4.6f latitude") << "%4.6f" << 48.1234567 << "48.123457";
        QTest::newRow("%3.6f longitude") << "%3.6f" << 11.5 << "11.500000";
    }
    void fixed()
    {
        QFETCH(QString, sFormat);
        QFETCH(double, dValue);
        QFETCH(QString, sWant);
        QCOMPARE(ftlFixed(sFormat.toLatin1().constData(), dValue), sWant);
    }

    void clock_data()
    {
        QTest::addColumn<QDateTime>("dtStamp");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("morning") << QDateTime(QDate(2024, 1, 5), QTime(9, 35, 12), Qt::UTC) << 0 << "093512";
        QTest::newRow("past midnight") << QDateTime(QDate(2024, 1, 5), QTime(23, 59, 30), Qt::UTC) << 3600 << "005930";
        QTest::newRow("back before midnight") << QDateTime(QDate(2024, 1, 5), QTime(0, 0, 1), Qt::UTC) << -2 << "235959";
    }
    void clock()
    {
        QFETCH(QDateTime, dtStamp);
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        QCOMPARE(ftlClock(dtStamp, iOffset), sWant);
    }

    void rounded_data()
    {
        QTest::addColumn<double>("dValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("2.5 up") << 2.5 << "3";
        QTest::newRow("-2.5 away from zero") << -2.5 << "-3";
        QTest::newRow("1.499 down") << 1.499 << "1";
        QTest::newRow("-0.4 is 0") << -0.4 << "0";
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

    void line()
    {
        QCOMPARE(ftlLine(QStringLiteral("08"), QStringLiteral("20260101005930"), {"1", "", "x"}),
                 QStringLiteral("08,20260101005930,1,,x"));
        QCOMPARE(ftlLine(QStringLiteral("3"), QStringLiteral("20260101005930")), QStringLiteral("3,20260101005930"));
        // Payload texts are written as stored, commas included.
        QCOMPARE(ftlLine(QStringLiteral("12"), QStringLiteral("s"), {"a,b"}), QStringLiteral("12,s,a,b"));
    }

    void names_data()
    {
        QTest::addColumn<bool>("bSubType");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("type 0") << false << 0 << "unknown_LogbookType";
        QTest::newRow("type 12") << false << 12 << "SPD";
        QTest::newRow("type 23") << false << 23 << "FPM";
        QTest::newRow("type 24 unknown") << false << 24 << "24";
        QTest::newRow("type negative") << false << -3 << "-3";
        QTest::newRow("subtype first") << true << 4201 << "CANError";
        QTest::newRow("subtype misspelt as stored") << true << 8105 << "CanWetlegManifodl";
        QTest::newRow("subtype mode") << true << 13013 << "ModeDischargeEnd";
        QTest::newRow("subtype last") << true << 16004 << "eeEvLtClientConfigurationChanged";
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
