#include "logbook/cftlposition.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/clogtracking.h"

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

// The same position as a fix of the vehicle's records.
static CPositionFix sampleFix()
{
    CPositionFix fix;
    fix.adMeasures[0] = 48.123456;
    fix.adMeasures[1] = 9.5;
    fix.adMeasures[2] = 523.7;
    fix.aiCounters[0] = 1;
    fix.aiCounters[1] = 7;
    fix.aiCounters[2] = 120;
    fix.adFurther[0] = 12000.9;
    fix.adFurther[1] = 35.2;
    fix.adFurther[2] = 1.9;
    return fix;
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

    void gpsEntry_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("GPS_Data") << 11000 << "08,20210601083000,9.500000,48.123456,523,11,99,9999,7,35,1";
        QTest::newRow("GPS_Enabled gives no line") << 11001 << "";
    }
    void gpsEntry()
    {
        QFETCH(int, iSubType);
        QFETCH(QString, sWant);
        CLogGps entry;
        entry.LogSubType = iSubType;
        entry.DateTime = QDateTime(QDate(2021, 6, 1), QTime(8, 30), Qt::UTC);
        entry.Position = sampleFix();
        // Through a row and back, as the event file gets it.
        const CLogGps copy(entry.toRow());
        QCOMPARE(copy.getFTLStrings(0), QStringList{sWant});
    }

    // The GPS file's line of a tracking entry carries the fix's own time, not
    // the entry's.
    void trackingLine_data()
    {
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("no offset") << 0 << "08,20210601083000,9.500000,48.123456,523,11,99,9999,7,35,1";
        QTest::newRow("into the next day") << 55800 << "08,20210602000000,9.500000,48.123456,523,11,99,9999,7,35,1";
    }
    void trackingLine()
    {
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        CLogTracking entry;
        entry.DateTime = QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
        entry.Position = sampleFix();
        entry.Position.dtStamp = QDateTime(QDate(2021, 6, 1), QTime(8, 30), Qt::UTC);
        // Through a row and back, as the GPS file gets it.
        QCOMPARE(CLogTracking(entry.toRow()).gpsLine(iOffset), sWant);
    }

    void notANumberReadsAsZero()
    {
        CLogGps entry;
        entry.Position.adMeasures[1] = std::nan("");
        entry.Position.adFurther[2] = std::nan("");
        entry.Position.adMeasures[0] = 1.5;
        const CLogGps copy(entry.toRow());
        QCOMPARE(copy.Position.adMeasures[1], 0.0);
        QCOMPARE(copy.Position.adFurther[2], 0.0);
        QCOMPARE(copy.Position.adMeasures[0], 1.5);
        // Position fix bytes: version, date-time, 3 doubles, 3 ints, 3 doubles.
        QCOMPARE(CPositionFix().serialized().size(), 4 + 9 + 3 * 8 + 3 * 4 + 3 * 8);
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
