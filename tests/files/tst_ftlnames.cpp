#include "files/cftlnames.h"
#include "files/clocaltime.h"
#include "tests/support/ctable.h"

#include <ctime>

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

    TABLE_TEST(filePath, "ftlnames.tsv")
    {
        const bool bManual = row[2] == "1";
        const QString sTag = row[1] == "0" ? ftlRunTag(bManual) : ftlMeterTag(row[1].toInt(), bManual);
        QCOMPARE(ftlFilePath(row[0], sTag, utcOf(row[3])), row[4]);
    }

    TABLE_TEST(timeOffset, "ftlnames.tsv")
    {
        const QDateTime dtNow = utcOf(row[0]);
        QCOMPARE(ftlTimeOffsetSecs(dtNow, dtNow.toUTC().addSecs(row[1].toInt())), row[2].toInt());
    }

    TABLE_TEST(localTime, "ftlnames.tsv")
    {
        const QDateTime dtLocal = GetLocalTime(row[0], row[1] == "1", utcOf(row[2]));
        QCOMPARE(dtLocal.toString(Qt::ISODateWithMs), row[3] + QStringLiteral(".000Z"));
    }

    // The process's own zone comes back, set or unset, and the C library
    // reads it again.
    TABLE_TEST(processZoneIsRestored, "ftlnames.tsv")
    {
        const QByteArray baProcessZone = row[0] == "-" ? QByteArray() : row[0].toLatin1();
        if (baProcessZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", baProcessZone);
        ::tzset();
        const time_t tNoon = time_t(utcOf(QStringLiteral("2024-07-01T12:00:00Z")).toSecsSinceEpoch());
        struct tm before = {}, after = {};
        ::localtime_r(&tNoon, &before);
        GetLocalTime(QStringLiteral("Asia/Tokyo"), false, utcOf(QStringLiteral("2024-07-01T12:00:00Z")));
        QCOMPARE(qgetenv("TZ"), baProcessZone);
        QCOMPARE(qEnvironmentVariableIsSet("TZ"), !baProcessZone.isNull());
        ::localtime_r(&tNoon, &after);
        QCOMPARE(after.tm_hour, baProcessZone.isNull() ? before.tm_hour : 5);
        qunsetenv("TZ");
        ::tzset();
    }
};

QTEST_GUILESS_MAIN(TestFtlNames)
#include "tst_ftlnames.moc"
