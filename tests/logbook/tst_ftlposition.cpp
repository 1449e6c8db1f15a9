#include "logbook/cftlposition.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/clogtracking.h"
#include "tests/logbook/logbooktest.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(CPositionFix)

namespace {
// Latitude 48.123456, longitude 9.5, third measure 523.7, counters 1, 7, 120,
// further measures 12000.9, 35.2 and 1.9, at 2021-06-01 08:30:00.
CPositionFix sampleFix()
{
    CPositionFix fix;
    fix.dtStamp = utc(2021, 6, 1, 8, 30);
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

const QString SAMPLE_LINE = QStringLiteral("08,20210601083000,9.500000,48.123456,523,11,99,9999,7,35,1");
} // namespace

class TestFtlPosition : public QObject
{
    Q_OBJECT

private slots:
    void line_data()
    {
        QTest::addColumn<CPositionFix>("fix");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("bounds and counter 1 as 11") << sampleFix() << SAMPLE_LINE;
        CPositionFix fix = sampleFix();
        fix.aiCounters[0] = 2;
        QTest::newRow("counter 2 unchanged") << fix << "08,20210601083000,9.500000,48.123456,523,2,99,9999,7,35,1";
        fix.aiCounters[0] = 11;
        QTest::newRow("counter 11 stays") << fix << SAMPLE_LINE;
        fix = sampleFix();
        fix.adMeasures[1] = -0.5;
        fix.adMeasures[2] = -20.7;
        QTest::newRow("negatives pass, truncated toward zero")
            << fix << "08,20210601083000,-0.500000,48.123456,-20,11,99,9999,7,35,1";
        fix = sampleFix();
        fix.adMeasures[2] = 1e300;
        fix.adFurther[1] = std::nan("");
        fix.aiCounters[2] = -5;
        QTest::newRow("huge and not-a-number") << fix << "08,20210601083000,9.500000,48.123456,9999,11,-5,9999,7,0,1";
    }
    void line()
    {
        QFETCH(CPositionFix, fix);
        QFETCH(QString, sWant);
        QCOMPARE(ftlPositionLine(QStringLiteral("20210601083000"), ftlPositionOf(fix)), sWant);
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

    // Only GPS_Data entries give a line; the others give the empty text and
    // a note.
    void gpsEntryWithoutLine()
    {
        CLogGps entry;
        entry.LogSubType = 11001;
        entry.Position = sampleFix();
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^CLogGps::LogSubType\\(\\) = +11001$")));
        QCOMPARE(entry.getFTLStrings(3600), QStringList{QString()});
    }

    // Positions near 0°/0° are the receiver's default, not a fix.
    void usablePosition_data()
    {
        QTest::addColumn<double>("dLatitude");
        QTest::addColumn<double>("dLongitude");
        QTest::addColumn<bool>("bUsable");
        QTest::newRow("0.1 / 0.25 written") << 0.1 << 0.25 << true;
        QTest::newRow("latitude -0.25 written") << -0.25 << 0.0 << true;
        QTest::newRow("just inside") << 0.2499 << -0.2499 << false;
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

    // The daemon writes these entries itself: two texts, each byte length
    // and UTF-16, an unset one empty rather than absent.
    void gsmFtpFields()
    {
        CLogGsmFtp entry;
        entry.Text1 = QStringLiteral("A");
        QCOMPARE(entry.payloadBytes().toHex(), QByteArray("000000020041"
                                                          "00000000"));
    }
};

QTEST_GUILESS_MAIN(TestFtlPosition)
#include "tst_ftlposition.moc"
