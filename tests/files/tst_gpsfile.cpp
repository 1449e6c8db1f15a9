#include "files/cgpsfile.h"
#include "logbook/clogtracking.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QDateTime dtFix(QDate(2024, 1, 5), QTime(8, 15), Qt::UTC);

QString fileText(const QString &sPath)
{
    return QString::fromLatin1(fileBytes(sPath));
}

CPositionFix fixAt(double dLatitude, double dLongitude, const QDateTime &dt = dtFix)
{
    CPositionFix fix;
    fix.dtStamp = dt;
    fix.adMeasures[0] = dLatitude;
    fix.adMeasures[1] = dLongitude;
    return fix;
}

// A tracking row as the service hands it out, with the given row ID.
void addTracking(CFakeFileSource &source, const CPositionFix &fix, quint64 ullRowID)
{
    CLogTracking entry;
    entry.RowID = ullRowID;
    entry.DateTime = fix.dtStamp;
    entry.Position = fix;
    source.aTrackingRows.append(entry.toRow());
}

} // namespace

class TestGpsFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;
    const QString m_sFtlDir = QStringLiteral("/var/log/FTL");

    QString gpsPath(const QString &sDate) const
    {
        return m_sandbox.path(m_sFtlDir + QStringLiteral("/GPS_") + sDate + QStringLiteral(".ftl"));
    }
    int ftlFileCount() const { return QDir(m_sandbox.path(m_sFtlDir)).entryList(QDir::Files).size(); }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(m_sFtlDir)); }

    void lineLayout_data()
    {
        QTest::addColumn<double>("dLat");
        QTest::addColumn<double>("dLon");
        QTest::addColumn<double>("dMeasure3");
        QTest::addColumn<int>("iCounter1");
        QTest::addColumn<int>("iCounter2");
        QTest::addColumn<int>("iCounter3");
        QTest::addColumn<double>("dFurther1");
        QTest::addColumn<double>("dFurther2");
        QTest::addColumn<double>("dFurther3");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("caps and counter 1") << 48.123456 << 9.5 << 523.7 << 1 << 7 << 120 << 12000.9 << 35.2 << 1.9
                                            << "08,20210601083000,9.500000,48.123456,523,11,99,9999,7,35,1\r\n";
        QTest::newRow("every cap") << 48.0 << 9.0 << 12345.6 << 3 << 4 << 100 << 9999.0 << 1000.0 << 5000.5
                                   << "08,20210601083000,9.000000,48.000000,9999,3,99,9999,4,999,999\r\n";
        QTest::newRow("just below the caps") << 48.0 << 9.0 << 9998.9 << 2 << 0 << 99 << 9998.5 << 998.9 << 998.2
                                             << "08,20210601083000,9.000000,48.000000,9998,2,99,9998,0,998,998\r\n";
        QTest::newRow("counter 11 stays") << 48.0 << 9.0 << 0.0 << 11 << 0 << 0 << 0.0 << 0.0 << 0.0
                                          << "08,20210601083000,9.000000,48.000000,0,11,0,0,0,0,0\r\n";
        QTest::newRow("negatives pass") << 48.0 << -0.5 << -20.7 << -1 << -2 << -300 << -12000.0 << -5000.0 << -1.5
                                        << "08,20210601083000,-0.500000,48.000000,-20,-1,-300,-12000,-2,-5000,-1\r\n";
    }
    void lineLayout()
    {
        QFETCH(double, dLat);
        QFETCH(double, dLon);
        QFETCH(double, dMeasure3);
        QFETCH(int, iCounter1);
        QFETCH(int, iCounter2);
        QFETCH(int, iCounter3);
        QFETCH(double, dFurther1);
        QFETCH(double, dFurther2);
        QFETCH(double, dFurther3);
        QFETCH(QString, sLine);
        CPositionFix fix = fixAt(dLat, dLon, QDateTime(QDate(2021, 6, 1), QTime(8, 30), Qt::UTC));
        fix.adMeasures[2] = dMeasure3;
        fix.aiCounters[0] = iCounter1;
        fix.aiCounters[1] = iCounter2;
        fix.aiCounters[2] = iCounter3;
        fix.adFurther[0] = dFurther1;
        fix.adFurther[1] = dFurther2;
        fix.adFurther[2] = dFurther3;
        QCOMPARE(QString::fromLatin1(gpsFileLine(fix, 0)), sLine);

        // The run writes the same bytes into the day's file.
        CFakeClock clock;
        CFakeFileSource source;
        addTracking(source, fix, 1);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileText(gpsPath(QStringLiteral("20210601"))), sLine);
    }

    void defaultPosition_data()
    {
        QTest::addColumn<double>("dLat");
        QTest::addColumn<double>("dLon");
        QTest::addColumn<bool>("bWritten");
        QTest::addColumn<QString>("sWarning");
        QTest::newRow("0.1 / 0.2 rejected")
            << 0.1 << 0.2 << false << "Invalid GPS position lat 0.1 / lon 0.2 (seems to be the default position)";
        QTest::newRow("0 / 0 rejected")
            << 0.0 << 0.0 << false << "Invalid GPS position lat 0 / lon 0 (seems to be the default position)";
        QTest::newRow("-0.24 / 0.24 rejected")
            << -0.24 << 0.24 << false << "Invalid GPS position lat -0.24 / lon 0.24 (seems to be the default position)";
        QTest::newRow("0.1 / 0.25 written") << 0.1 << 0.25 << true << "";
        QTest::newRow("-0.25 / 0 written") << -0.25 << 0.0 << true << "";
        QTest::newRow("0 / -0.25 written") << 0.0 << -0.25 << true << "";
        QTest::newRow("0.25 / 0.1 written") << 0.25 << 0.1 << true << "";
    }
    void defaultPosition()
    {
        QFETCH(double, dLat);
        QFETCH(double, dLon);
        QFETCH(bool, bWritten);
        QFETCH(QString, sWarning);
        CFakeClock clock;
        CFakeFileSource source;
        source.gsm.setNextTrackingRowID(7);
        addTracking(source, fixAt(dLat, dLon), 7);
        CGpsFileRun(source).GetGpsData();

        QCOMPARE(QFile::exists(gpsPath(QStringLiteral("20240105"))), bWritten);
        if (!bWritten)
            QVERIFY(source.aLines.contains(warningLine(sWarning)));
        // Written or rejected, the row is passed for good.
        QCOMPARE(source.gsm.iNextTrackingRowID(), 8);
        QVERIFY(source.logged(QStringLiteral("Finish GetGpsData()")));
    }

    void localDay_data()
    {
        QTest::addColumn<QString>("sTimeZone");
        QTest::addColumn<QTime>("fixTime");
        QTest::addColumn<QString>("sDate");
        QTest::addColumn<QString>("sStamp");
        QTest::newRow("23:30 UTC + 3600 is the next day") << "CET-1" << QTime(23, 30) << "20240106" << "20240106003000";
        QTest::newRow("22:30 UTC + 3600 stays") << "CET-1" << QTime(22, 30) << "20240105" << "20240105233000";
        QTest::newRow("00:30 UTC - 3600 is the day before") << "AZOT1" << QTime(0, 30) << "20240104" << "20240104233000";
        QTest::newRow("UTC") << "UTC0" << QTime(23, 30) << "20240105" << "20240105233000";
    }
    void localDay()
    {
        QFETCH(QString, sTimeZone);
        QFETCH(QTime, fixTime);
        QFETCH(QString, sDate);
        QFETCH(QString, sStamp);
        CFakeClock clock;
        CFakeFileSource source;
        source.general.setField(71, sTimeZone);
        addTracking(source, fixAt(59.9, 10.75, QDateTime(QDate(2024, 1, 5), fixTime, Qt::UTC)), 1);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileText(gpsPath(sDate)), QStringLiteral("08,%1,10.750000,59.900000,0,0,0,0,0,0,0\r\n").arg(sStamp));
        QCOMPARE(ftlFileCount(), 1);
    }

    void runLogsItsStart()
    {
        CFakeClock clock;
        CFakeFileSource source;
        source.general.setField(71, QStringLiteral("CET-1"));
        source.gsm.setNextTrackingRowID(41);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(source.logged(QStringLiteral("Local time: \"2024-01-05 10:30:00,000\", diff 3600, Next ID 41")));
        QVERIFY(source.logged(QStringLiteral("Finish GetGpsData()")));
        QCOMPARE(source.iWrites, 0);
    }

    void sameDayAppendsAndRecreates()
    {
        CFakeClock clock;
        CFakeFileSource source;
        addTracking(source, fixAt(59.9, 10.75, dtFix), 1);
        addTracking(source, fixAt(60.0, 11.0, dtFix.addSecs(60)), 2);
        CGpsFileRun(source).GetGpsData();
        const QString sPath = gpsPath(QStringLiteral("20240105"));
        QCOMPARE(fileText(sPath), QStringLiteral("08,20240105081500,10.750000,59.900000,0,0,0,0,0,0,0\r\n"
                                                 "08,20240105081600,11.000000,60.000000,0,0,0,0,0,0,0\r\n"));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 3);
        QCOMPARE(clock.slept(), qint64(20));

        // The transfer took the file away; the next fix of the day starts it anew.
        QVERIFY(QFile::remove(sPath));
        const mode_t oldMask = ::umask(0);
        addTracking(source, fixAt(61.0, 12.0, dtFix.addSecs(120)), 3);
        CGpsFileRun(source).GetGpsData();
        ::umask(oldMask);
        QCOMPARE(fileText(sPath), QStringLiteral("08,20240105081700,12.000000,61.000000,0,0,0,0,0,0,0\r\n"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(sPath).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 4);
    }

    void lockedFileLosesTheLine()
    {
        CFakeClock clock;
        CFakeFileSource source;
        const QString sPath = gpsPath(QStringLiteral("20240105"));
        QFile other(sPath);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("held\r\n");
        other.flush();
        QCOMPARE(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);

        addTracking(source, fixAt(59.9, 10.75, dtFix), 1);
        addTracking(source, fixAt(60.0, 11.0, dtFix.addSecs(60)), 2);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("File %1 is locked").arg(sPath))));
        QCOMPARE(fileText(sPath), QStringLiteral("held\r\n"));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 3);

        // Once the other process lets go, new fixes go in again.
        QCOMPARE(::flock(other.handle(), LOCK_UN), 0);
        addTracking(source, fixAt(61.0, 12.0, dtFix.addSecs(120)), 3);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileText(sPath),
                 QStringLiteral("held\r\n08,20240105081700,12.000000,61.000000,0,0,0,0,0,0,0\r\n"));
    }

    void openFailureLosesTheLine()
    {
        CFakeClock clock;
        CFakeFileSource source;
        QVERIFY(m_sandbox.removeDir(m_sFtlDir));
        addTracking(source, fixAt(59.9, 10.75), 1);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("open error No such file or directory"))));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 2);
    }

    void refusedProgressStops_data()
    {
        QTest::addColumn<int>("iWritesBeforeRefusal");
        QTest::addColumn<int>("iLines");
        QTest::addColumn<int>("iStored");
        QTest::newRow("first write refused") << 0 << 1 << 0;
        QTest::newRow("second write refused") << 1 << 2 << 2;
        QTest::newRow("none refused") << -1 << 3 << 4;
    }
    void refusedProgressStops()
    {
        QFETCH(int, iWritesBeforeRefusal);
        QFETCH(int, iLines);
        QFETCH(int, iStored);
        CFakeClock clock;
        CFakeFileSource source;
        source.iWritesBeforeRefusal = iWritesBeforeRefusal;
        for (int i = 1; i <= 3; ++i)
            addTracking(source, fixAt(59.9, 10.75, dtFix.addSecs(60 * i)), quint64(i));
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileText(gpsPath(QStringLiteral("20240105"))).count(QStringLiteral("\r\n")), iLines);
        QCOMPARE(source.gsm.iNextTrackingRowID(), iStored);
        QCOMPARE(source.logged(QStringLiteral("Finish GetGpsData()")), iWritesBeforeRefusal < 0);
    }

    void unreadableSettingsEndTheRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        source.bGsmReadable = false;
        addTracking(source, fixAt(59.9, 10.75), 1);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(!QFile::exists(gpsPath(QStringLiteral("20240105"))));
        QVERIFY(!source.logged(QStringLiteral("Finish GetGpsData()")));
    }

    void invalidTime()
    {
        CFakeFileSource source;
        CGpsFileRun(source).WriteGpsLine(fixAt(59.9, 10.75, QDateTime()), 0);
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("GPS data contains an invalid time"))));
        QCOMPARE(ftlFileCount(), 0);
    }

    void debugLineOfAFix()
    {
        CFakeFileSource source;
        CGpsFileRun(source).WriteGpsLine(fixAt(59.9, 10.75), 3600);
        QVERIFY(source.aLines.contains(
            debugLine(QStringLiteral("file  Time 20240105091500 gps position LAT 59.900000 LON  10.750000"))));
    }
};

QTEST_GUILESS_MAIN(TestGpsFile)
#include "tst_gpsfile.moc"
