#include "files/cgpsfile.h"
#include "logbook/clogtracking.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

#include <sys/file.h>
#include <sys/stat.h>

namespace
{

const QDateTime dtFix(QDate(2024, 1, 5), QTime(8, 15), Qt::UTC);

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

QByteArray line(const char *pStamp, const char *pLonLat)
{
    return QByteArray("08,") + pStamp + "," + pLonLat + ",0,0,0,0,0,0,0\r\n";
}

} // namespace

class TestGpsFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString gpsPath(const QString &sDate = QStringLiteral("20240105")) const
    {
        return m_sandbox.path("/var/log/FTL/GPS_" + sDate + ".ftl");
    }
    int ftlFileCount() const { return QDir(m_sandbox.path("/var/log/FTL")).entryList(QDir::Files).size(); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL"))); }

    // Values: latitude, longitude, third measure, three counters, three
    // further measures.
    void lineLayout_data()
    {
        QTest::addColumn<QList<double>>("adValues");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("caps and counter 1") << QList<double>{48.123456, 9.5, 523.7, 1, 7, 120, 12000.9, 35.2, 1.9}
                                            << "08,20210601083000,9.500000,48.123456,523,11,99,9999,7,35,1\r\n";
        QTest::newRow("every cap") << QList<double>{48, 9, 12345.6, 3, 4, 100, 9999, 1000, 5000.5}
                                   << "08,20210601083000,9.000000,48.000000,9999,3,99,9999,4,999,999\r\n";
        QTest::newRow("just below the caps") << QList<double>{48, 9, 9998.9, 2, 0, 99, 9998.5, 998.9, 998.2}
                                             << "08,20210601083000,9.000000,48.000000,9998,2,99,9998,0,998,998\r\n";
    }
    void lineLayout()
    {
        QFETCH(QList<double>, adValues);
        QFETCH(QString, sLine);
        CPositionFix fix = fixAt(adValues[0], adValues[1], QDateTime(QDate(2021, 6, 1), QTime(8, 30), Qt::UTC));
        fix.adMeasures[2] = adValues[2];
        for (int i = 0; i < 3; ++i) {
            fix.aiCounters[i] = int(adValues[3 + i]);
            fix.adFurther[i] = adValues[6 + i];
        }
        QCOMPARE(QString::fromLatin1(gpsFileLine(fix, 0)), sLine);
    }

    void defaultPosition_data()
    {
        QTest::addColumn<double>("dLat");
        QTest::addColumn<double>("dLon");
        QTest::addColumn<QString>("sWarning");
        QTest::newRow("0.1 / 0.2 rejected") << 0.1 << 0.2 << "lat 0.1 / lon 0.2";
        QTest::newRow("-0.24 / 0.24 rejected") << -0.24 << 0.24 << "lat -0.24 / lon 0.24";
        QTest::newRow("0.1 / 0.25 written") << 0.1 << 0.25 << "";
    }
    void defaultPosition()
    {
        QFETCH(double, dLat);
        QFETCH(double, dLon);
        QFETCH(QString, sWarning);
        CFakeClock clock;
        CFakeFileSource source;
        source.gsm.setNextTrackingRowID(7);
        addTracking(source, fixAt(dLat, dLon), 7);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(QFile::exists(gpsPath()), sWarning.isEmpty());
        if (!sWarning.isEmpty())
            QVERIFY(source.aLines.contains(
                warningLine("Invalid GPS position " + sWarning + " (seems to be the default position)")));
        // Written or rejected, the row is passed for good.
        QCOMPARE(source.gsm.iNextTrackingRowID(), 8);
        QVERIFY(source.logged(QStringLiteral("Finish GetGpsData()")));
    }

    // 00:30 UTC an hour behind is still the day before, in name and stamp.
    void localDayNamesTheFile()
    {
        CFakeClock clock;
        CFakeFileSource source;
        source.general.setField(71, QStringLiteral("AZOT1"));
        addTracking(source, fixAt(59.9, 10.75, QDateTime(QDate(2024, 1, 5), QTime(0, 30), Qt::UTC)), 1);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileBytes(gpsPath("20240104")), line("20240104233000", "10.750000,59.900000"));
        QCOMPARE(ftlFileCount(), 1);
    }

    void sameDayAppendsAndRecreates()
    {
        CFakeClock clock;
        CFakeFileSource source;
        addTracking(source, fixAt(59.9, 10.75, dtFix), 1);
        addTracking(source, fixAt(60.0, 11.0, dtFix.addSecs(60)), 2);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileBytes(gpsPath()),
                 line("20240105081500", "10.750000,59.900000") + line("20240105081600", "11.000000,60.000000"));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 3);
        QCOMPARE(clock.slept(), qint64(20));

        // The transfer took the file away; the next fix of the day starts it anew.
        QVERIFY(QFile::remove(gpsPath()));
        const mode_t oldMask = ::umask(0);
        addTracking(source, fixAt(61.0, 12.0, dtFix.addSecs(120)), 3);
        CGpsFileRun(source).GetGpsData();
        ::umask(oldMask);
        QCOMPARE(fileBytes(gpsPath()), line("20240105081700", "12.000000,61.000000"));
        struct stat info {
        };
        QCOMPARE(::stat(QFile::encodeName(gpsPath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 4);
    }

    void lockedFileLosesTheLine()
    {
        CFakeClock clock;
        CFakeFileSource source;
        QFile other(gpsPath());
        QVERIFY(other.open(QIODevice::WriteOnly) && other.write("held\r\n") == 6 && other.flush());
        QCOMPARE(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);
        addTracking(source, fixAt(59.9, 10.75, dtFix), 1);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("File %1 is locked").arg(gpsPath()))));
        QCOMPARE(fileBytes(gpsPath()), QByteArray("held\r\n"));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 2);

        // Once the other process lets go, new fixes go in again.
        QCOMPARE(::flock(other.handle(), LOCK_UN), 0);
        addTracking(source, fixAt(61.0, 12.0, dtFix.addSecs(120)), 2);
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileBytes(gpsPath()), "held\r\n" + line("20240105081700", "12.000000,61.000000"));
    }

    void openFailureLosesTheLine()
    {
        CFakeClock clock;
        CFakeFileSource source;
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        addTracking(source, fixAt(59.9, 10.75), 1);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("open error No such file or directory"))));
        QCOMPARE(source.gsm.iNextTrackingRowID(), 2);
    }

    // A refused progress write ends the run; the row whose progress was not
    // stored comes again in the next run.
    void refusedProgressStops()
    {
        CFakeClock clock;
        CFakeFileSource source;
        source.iWritesBeforeRefusal = 1;
        for (int i = 1; i <= 3; ++i)
            addTracking(source, fixAt(59.9, 10.75, dtFix.addSecs(60 * i)), quint64(i));
        CGpsFileRun(source).GetGpsData();
        QCOMPARE(fileBytes(gpsPath()).count("\r\n"), 2);
        QCOMPARE(source.gsm.iNextTrackingRowID(), 2);
        QVERIFY(!source.logged(QStringLiteral("Finish GetGpsData()")));
    }

    void unreadableSettingsEndTheRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        source.bGsmReadable = false;
        addTracking(source, fixAt(59.9, 10.75), 1);
        CGpsFileRun(source).GetGpsData();
        QVERIFY(!QFile::exists(gpsPath()));
        QVERIFY(!source.logged(QStringLiteral("Finish GetGpsData()")));
    }

    void invalidTimeWritesNothing()
    {
        CFakeFileSource source;
        CGpsFileRun(source).WriteGpsLine(fixAt(59.9, 10.75, QDateTime()), 0);
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("GPS data contains an invalid time"))));
        QCOMPARE(ftlFileCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestGpsFile)
#include "tst_gpsfile.moc"
