#include "files/cgpsfile.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/clogentrytext.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"

#include <sys/file.h>
#include <sys/stat.h>

class TestGpsFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;
    CFakeClock m_clock;

    QString gpsPath(const QString &sName = QStringLiteral("GPS_20240105.ftl")) const
    {
        return m_sandbox.path("/var/log/FTL/" + sName);
    }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL"))); }

    TABLE_TEST(runs, "gpsfile.tsv")
    {
        CFakeFileSource source;
        addRows(source.aTrackingRows, row[0]);
        source.general.setField(71, row[1]);
        source.iWritesBeforeRefusal = row[2].startsWith("refuse") ? row[2].mid(7).toInt() : -1;
        source.bGsmReadable = row[2] != "gsm";
        QVERIFY(row[2] != "nodir" || m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        QVERIFY(row[2] != "full" || QFile::link(QStringLiteral("/dev/full"), gpsPath(QStringLiteral("GPS_20240105.ftl"))));
        const qint64 llSleptBefore = m_clock.slept();
        CGpsFileRun(source).GetGpsData();
        // The full disk taken away: no other file got the rows either.
        QVERIFY(row[2] != "full" || QFile::remove(gpsPath(QStringLiteral("GPS_20240105.ftl"))));
        const QStringList asFiles = QDir(gpsPath(QString())).entryList(QDir::Files);
        QCOMPARE(asFiles, row[3] == "-" ? QStringList() : QStringList{row[3]});
        if (!asFiles.isEmpty())
            QCOMPARE(fileBytes(gpsPath(row[3])), (cellTexts(row[4]).join("\r\n") + "\r\n").toLatin1());
        QCOMPARE(source.gsm.iNextTrackingRowID(), row[5].toInt());
        QCOMPARE(m_clock.slept() - llSleptBefore, row[6].toLongLong());
        checkLog(source.asLog, row.value(7), row.value(8));
    }

    // A fix made after the transfer took the day's file away starts it anew
    // (mode 0644); while another process holds the file's lock a fix loses
    // its line, and once the lock is let go new fixes go in again.
    void fileTakenAwayOrLocked()
    {
        CFakeFileSource source;
        const auto fixAt = [&source](const QString &sTime) {
            addRows(source.aTrackingRows, "TRACK -1 at=" + sTime + " fix=59.9,10.75");
            CGpsFileRun(source).GetGpsData();
        };
        fixAt(QStringLiteral("08:15"));
        QVERIFY(QFile::remove(gpsPath()));
        const mode_t oldMask = ::umask(0);
        fixAt(QStringLiteral("08:16"));
        ::umask(oldMask);
        struct stat info {
        };
        QCOMPARE(::stat(QFile::encodeName(gpsPath()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));

        QFile other(gpsPath());
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(other.handle(), LOCK_EX | LOCK_NB), 0);
        fixAt(QStringLiteral("08:17"));
        QVERIFY(source.asLog.contains(QStringLiteral("W File %1 is locked").arg(gpsPath())));
        QCOMPARE(::flock(other.handle(), LOCK_UN), 0);
        fixAt(QStringLiteral("08:18"));
        QCOMPARE(fileBytes(gpsPath()), "08,20240105081600,10.750000,59.900000,0,0,0,0,0,0,0\r\n"
                                       "08,20240105081800,10.750000,59.900000,0,0,0,0,0,0,0\r\n");
        QCOMPARE(source.gsm.iNextTrackingRowID(), 5);
    }

    void invalidTimeWritesNothing()
    {
        CFakeFileSource source;
        CPositionFix fix;
        fix.dtStamp = QDateTime();
        CGpsFileRun(source).WriteGpsLine(fix, 0);
        QCOMPARE(source.asLog, QStringList{"W GPS data contains an invalid time"});
        QVERIFY(QDir(gpsPath(QString())).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestGpsFile)
#include "tst_gpsfile.moc"
