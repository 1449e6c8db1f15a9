#include "logbook/cftlposition.h"
#include "logbook/cloggsmftp.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(CFtlPosition)

static CFtlPosition samplePosition()
{
    CFtlPosition pos;
    pos.dLatitude = 48.123456;
    pos.dLongitude = 9.5;
    pos.dMeasure3 = 523.7;
    pos.iCounter1 = 1;
    pos.iCounter2 = 7;
    pos.iCounter3 = 120;
    pos.dFurther1 = 12000.9;
    pos.dFurther2 = 35.2;
    pos.dFurther3 = 1.9;
    return pos;
}

class TestFtlPosition : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        QTest::addColumn<CFtlPosition>("pos");
        QTest::addColumn<QString>("sWant");
        const QString t = QStringLiteral("20210601083000");
        QTest::newRow("bounds and counter 1 as 11")
            << samplePosition() << "08," + t + ",9.500000,48.123456,523,11,99,9999,7,35,1";
        CFtlPosition pos = samplePosition();
        pos.iCounter1 = 2;
        QTest::newRow("counter 2 unchanged") << pos << "08," + t + ",9.500000,48.123456,523,2,99,9999,7,35,1";
        pos.iCounter1 = 11;
        QTest::newRow("counter 11 stays") << pos << "08," + t + ",9.500000,48.123456,523,11,99,9999,7,35,1";
        pos = samplePosition();
        pos.dLongitude = -0.5;
        pos.dMeasure3 = -20.7;
        QTest::newRow("negatives pass, truncated toward zero")
            << pos << "08," + t + ",-0.500000,48.123456,-20,11,99,9999,7,35,1";
        pos = samplePosition();
        pos.dMeasure3 = 1e300;
        pos.dFurther2 = std::nan("");
        pos.iCounter3 = -5;
        QTest::newRow("huge and not-a-number") << pos << "08," + t + ",9.500000,48.123456,9999,11,-5,9999,7,0,1";
    }
    void line()
    {
        QFETCH(CFtlPosition, pos);
        QFETCH(QString, sWant);
        QCOMPARE(ftlPositionLine(QStringLiteral("20210601083000"), pos), sWant);
    }

    void extremeLineIsCut()
    {
        CFtlPosition pos;
        pos.dLatitude = -1e200;
        pos.dLongitude = 1e200;
        const QString sLine = ftlPositionLine(QStringLiteral("20210601083000"), pos);
        QCOMPARE(sLine.size(), 99);
        QCOMPARE(sLine.left(19), QStringLiteral("08,20210601083000,9"));
    }

    void gsmFtpRowRoundTrip()
    {
        CLogGsmFtp entry;
        QCOMPARE(entry.LogType, 17);
        QVERIFY(!entry.Text1.isNull());
        entry.Text1 = QStringLiteral("GPRS");
        entry.Text2 = QStringLiteral("offline");
        entry.RowID = 77;
        const CLogGsmFtp copy(entry.toRow());
        QCOMPARE(copy.Text1, QStringLiteral("GPRS"));
        QCOMPARE(copy.Text2, QStringLiteral("offline"));
        QCOMPARE(copy.RowID, 77ULL);
        QCOMPARE(copy.toRow().toHex(), entry.toRow().toHex());
        // Fields only: two texts as byte length and UTF-16.
        CLogGsmFtp small;
        small.Text1 = QStringLiteral("A");
        QCOMPARE(small.payloadBytes().toHex(), QByteArray("000000020041" "00000000"));
    }
};

QTEST_GUILESS_MAIN(TestFtlPosition)
#include "tst_ftlposition.moc"
