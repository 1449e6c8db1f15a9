#include "files/cftlnames.h"
#include "files/clocaltime.h"

#include <QTest>

#include <ctime>

namespace
{

QDateTime utc(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond = 0, int iMs = 0)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute, iSecond, iMs), Qt::UTC);
}

} // namespace

// The time of a run, as the vehicle's local clock, its offset and the names
// of the files it writes.
class TestFtlNames : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase()
    {
        qunsetenv("FTP_DATA_ROOT");
        // Debian's tzdata (priority required) carries the zones.
        QVERIFY(QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")));
    }

    void filePath_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<QString>("sTag");
        QTest::addColumn<QDateTime>("dtFileTime");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("third meter, manual")
            << "MTR"
            << "3m" << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)) << "/var/log/FTL/MTR3m20240305070809.ftl";
        QTest::newRow("year padded to four digits")
            << "EVE"
            << "l" << QDateTime(QDate(999, 12, 31), QTime(23, 59, 58)) << "/var/log/FTL/EVEl09991231235958.ftl";
        // The stamp is the date-time's own fields, whatever zone it carries.
        QTest::newRow("offset-tagged wall clock")
            << "LEV"
            << "l" << QDateTime(QDate(2024, 7, 1), QTime(14, 0), Qt::OffsetFromUTC, -4 * 3600)
            << "/var/log/FTL/LEVl20240701140000.ftl";
    }
    void filePath()
    {
        QFETCH(QString, sPrefix);
        QFETCH(QString, sTag);
        QFETCH(QDateTime, dtFileTime);
        QFETCH(QString, sWant);
        QCOMPARE(ftlFilePath(sPrefix, sTag, dtFileTime), sWant);
    }

    void tags_data()
    {
        QTest::addColumn<int>("iSelector");
        QTest::addColumn<bool>("bManual");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("2 automatic") << 2 << false << "1d";
        QTest::newRow("4 manual") << 4 << true << "3m";
        QTest::newRow("level selector has no meter tag") << 1 << false << "";
        QTest::newRow("beyond") << 5 << true << "";
    }
    void tags()
    {
        QFETCH(int, iSelector);
        QFETCH(bool, bManual);
        QFETCH(QString, sWant);
        QCOMPARE(ftlMeterTag(iSelector, bManual), sWant);
        QCOMPARE(ftlRunTag(bManual), bManual ? QStringLiteral("m") : QStringLiteral("l"));
    }

    // Local now minus now, read as wall clocks, rounded to whole hundreds.
    void timeOffset_data()
    {
        QTest::addColumn<QDateTime>("dtNowUtc");
        QTest::addColumn<int>("iLocalAhead");
        QTest::addColumn<int>("iWant");
        const QDateTime dtNow = utc(2024, 7, 1, 12, 0);
        QTest::newRow("one second late") << dtNow << 3601 << 3600;
        QTest::newRow("half rounds away from zero") << dtNow << 3650 << 3700;
        QTest::newRow("negative half rounds away from zero") << dtNow << -3650 << -3700;
        QTest::newRow("now given in another zone") << dtNow.toOffsetFromUtc(-3 * 3600) << 3600 << 3600;
    }
    void timeOffset()
    {
        QFETCH(QDateTime, dtNowUtc);
        QFETCH(int, iLocalAhead);
        QFETCH(int, iWant);
        const QDateTime dtLocal = dtNowUtc.toUTC().addSecs(iLocalAhead);
        QCOMPARE(ftlTimeOffsetSecs(dtNowUtc, dtLocal), iWant);
    }

    void localTime_data()
    {
        QTest::addColumn<QString>("sZone");
        QTest::addColumn<bool>("bSummerTime");
        QTest::addColumn<QDateTime>("dtUtc");
        QTest::addColumn<QDateTime>("dtWant");
        const QString sBerlin = QStringLiteral("Europe/Berlin");
        QTest::newRow("Berlin summer") << sBerlin << true << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 14, 0);
        QTest::newRow("Berlin summer, switch off gives standard time")
            << sBerlin << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 13, 0);
        QTest::newRow("Berlin first second of summer")
            << sBerlin << true << utc(2024, 3, 31, 1, 0, 0) << utc(2024, 3, 31, 3, 0, 0);
        // Trucks stay on the road past 2038, when a 32-bit seconds count ends.
        QTest::newRow("Berlin summer 2040") << sBerlin << true << utc(2040, 7, 1, 12, 0) << utc(2040, 7, 1, 14, 0);
        QTest::newRow("no zone is UTC") << "" << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 12, 0);
        QTest::newRow("milliseconds dropped")
            << sBerlin << true << utc(2024, 1, 15, 12, 0, 0, 789) << utc(2024, 1, 15, 13, 0, 0, 0);
    }
    void localTime()
    {
        QFETCH(QString, sZone);
        QFETCH(bool, bSummerTime);
        QFETCH(QDateTime, dtUtc);
        QFETCH(QDateTime, dtWant);
        const QDateTime dtLocal = GetLocalTime(sZone, bSummerTime, dtUtc);
        QCOMPARE(dtLocal.date(), dtWant.date());
        QCOMPARE(dtLocal.time(), dtWant.time());
        QCOMPARE(dtLocal.timeSpec(), Qt::UTC);
    }

    void processZoneIsRestored_data()
    {
        QTest::addColumn<QByteArray>("baProcessZone");
        QTest::newRow("set") << QByteArray("America/Los_Angeles");
        QTest::newRow("unset") << QByteArray();
    }
    void processZoneIsRestored()
    {
        QFETCH(QByteArray, baProcessZone);
        if (baProcessZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", baProcessZone);
        ::tzset();
        const time_t tNoon = time_t(utc(2024, 7, 1, 12, 0).toSecsSinceEpoch());
        struct tm before = {}, after = {};
        ::localtime_r(&tNoon, &before);
        GetLocalTime(QStringLiteral("Asia/Tokyo"), false, utc(2024, 7, 1, 12, 0));
        QCOMPARE(qEnvironmentVariableIsSet("TZ"), !baProcessZone.isNull());
        QCOMPARE(qgetenv("TZ"), baProcessZone);
        // The C library reads the restored zone again.
        ::localtime_r(&tNoon, &after);
        QCOMPARE(after.tm_gmtoff, before.tm_gmtoff);
        QCOMPARE(after.tm_hour, baProcessZone.isNull() ? before.tm_hour : 5);
        qunsetenv("TZ");
        ::tzset();
    }
};

QTEST_GUILESS_MAIN(TestFtlNames)
#include "tst_ftlnames.moc"
