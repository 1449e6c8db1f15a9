#include "files/clocaltime.h"

#include <QFile>
#include <QTest>

#include <cstdlib>
#include <ctime>

namespace {

QDateTime utc(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond = 0, int iMs = 0)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute, iSecond, iMs), Qt::UTC);
}

} // namespace

class TestLocalTime : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Debian's tzdata (priority required) carries the zones.
        QVERIFY(QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")));
        QVERIFY(QFile::exists(QStringLiteral("/usr/share/zoneinfo/America/New_York")));
    }

    void localTime_data()
    {
        QTest::addColumn<QString>("sZone");
        QTest::addColumn<bool>("bSummerTime");
        QTest::addColumn<QDateTime>("dtUtc");
        QTest::addColumn<QDateTime>("dtWant");
        const QString sBerlin = QStringLiteral("Europe/Berlin");
        const QString sNewYork = QStringLiteral("America/New_York");

        QTest::newRow("Berlin winter") << sBerlin << true << utc(2024, 1, 15, 12, 0) << utc(2024, 1, 15, 13, 0);
        QTest::newRow("Berlin winter, switch off") << sBerlin << false << utc(2024, 1, 15, 12, 0)
                                                   << utc(2024, 1, 15, 13, 0);
        QTest::newRow("Berlin summer") << sBerlin << true << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 14, 0);
        QTest::newRow("Berlin summer, switch off gives standard time")
            << sBerlin << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 13, 0);
        QTest::newRow("Berlin last second of winter")
            << sBerlin << true << utc(2024, 3, 31, 0, 59, 59) << utc(2024, 3, 31, 1, 59, 59);
        QTest::newRow("Berlin first second of summer")
            << sBerlin << true << utc(2024, 3, 31, 1, 0, 0) << utc(2024, 3, 31, 3, 0, 0);
        QTest::newRow("Berlin first second of summer, switch off")
            << sBerlin << false << utc(2024, 3, 31, 1, 0, 0) << utc(2024, 3, 31, 2, 0, 0);
        QTest::newRow("Berlin last second of summer")
            << sBerlin << true << utc(2024, 10, 27, 0, 59, 59) << utc(2024, 10, 27, 2, 59, 59);
        QTest::newRow("Berlin first second of winter again")
            << sBerlin << true << utc(2024, 10, 27, 1, 0, 0) << utc(2024, 10, 27, 2, 0, 0);
        QTest::newRow("Berlin leap day into March")
            << sBerlin << true << utc(2024, 2, 29, 23, 30) << utc(2024, 3, 1, 0, 30);
        QTest::newRow("Berlin New Year's Eve") << sBerlin << false << utc(2023, 12, 31, 23, 0) << utc(2024, 1, 1, 0, 0);
        QTest::newRow("Berlin as a rule text")
            << "CET-1CEST,M3.5.0,M10.5.0/3" << true << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 14, 0);
        QTest::newRow("Berlin as a rule text, switch off")
            << "CET-1CEST,M3.5.0,M10.5.0/3" << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 13, 0);

        QTest::newRow("New York winter") << sNewYork << true << utc(2024, 1, 15, 12, 0) << utc(2024, 1, 15, 7, 0);
        QTest::newRow("New York summer") << sNewYork << true << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 8, 0);
        QTest::newRow("New York summer, switch off gives standard time")
            << sNewYork << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 7, 0);
        QTest::newRow("New York previous day")
            << sNewYork << true << utc(2024, 7, 1, 2, 0) << utc(2024, 6, 30, 22, 0);
        QTest::newRow("New York previous day, switch off")
            << sNewYork << false << utc(2024, 7, 1, 2, 0) << utc(2024, 6, 30, 21, 0);
        QTest::newRow("New York last second of winter")
            << sNewYork << true << utc(2024, 3, 10, 6, 59, 59) << utc(2024, 3, 10, 1, 59, 59);
        QTest::newRow("New York first second of summer")
            << sNewYork << true << utc(2024, 3, 10, 7, 0, 0) << utc(2024, 3, 10, 3, 0, 0);
        QTest::newRow("New York first second of summer, switch off")
            << sNewYork << false << utc(2024, 3, 10, 7, 0, 0) << utc(2024, 3, 10, 2, 0, 0);
        QTest::newRow("New York back to winter")
            << sNewYork << true << utc(2024, 11, 3, 6, 0, 0) << utc(2024, 11, 3, 1, 0, 0);
        QTest::newRow("New York March 1st of a leap year")
            << sNewYork << true << utc(2024, 3, 1, 3, 0) << utc(2024, 2, 29, 22, 0);

        QTest::newRow("UTC") << "UTC" << true << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 12, 0);
        QTest::newRow("no zone is UTC") << "" << false << utc(2024, 7, 1, 12, 0) << utc(2024, 7, 1, 12, 0);
        QTest::newRow("milliseconds dropped")
            << sBerlin << true << utc(2024, 1, 15, 12, 0, 0, 789) << utc(2024, 1, 15, 13, 0, 0, 0);
        QTest::newRow("input given with an offset")
            << sBerlin << true << utc(2024, 1, 15, 12, 0).toOffsetFromUtc(-5 * 3600) << utc(2024, 1, 15, 13, 0);
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
        QTest::newRow("empty") << QByteArray("");
    }
    void processZoneIsRestored()
    {
        QFETCH(QByteArray, baProcessZone);
        const QByteArray baSaved = qgetenv("TZ");
        const bool bHadSaved = qEnvironmentVariableIsSet("TZ");
        if (baProcessZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", baProcessZone);
        ::tzset();

        const time_t tNoon = time_t(utc(2024, 7, 1, 12, 0).toSecsSinceEpoch());
        struct tm before = {};
        ::localtime_r(&tNoon, &before);

        GetLocalTime(QStringLiteral("Asia/Tokyo"), false, utc(2024, 7, 1, 12, 0));

        QCOMPARE(qEnvironmentVariableIsSet("TZ"), !baProcessZone.isNull());
        if (!baProcessZone.isNull())
            QCOMPARE(qgetenv("TZ"), baProcessZone);
        // The C library reads the restored zone again.
        struct tm after = {};
        ::localtime_r(&tNoon, &after);
        QCOMPARE(after.tm_hour, before.tm_hour);
        QCOMPARE(after.tm_gmtoff, before.tm_gmtoff);
        if (baProcessZone == "America/Los_Angeles")
            QCOMPARE(after.tm_hour, 5);

        if (bHadSaved)
            qputenv("TZ", baSaved);
        else
            qunsetenv("TZ");
        ::tzset();
    }
};

QTEST_GUILESS_MAIN(TestLocalTime)
#include "tst_localtime.moc"
