#include "files/cftlnames.h"

#include <QTest>

class TestFtlNames : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    void filePath_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<QString>("sTag");
        QTest::addColumn<QDateTime>("dtFileTime");
        QTest::addColumn<QString>("sWant");
        const QDateTime dt(QDate(2024, 3, 5), QTime(7, 8, 9));
        QTest::newRow("automatic event file") << "EVE" << "l" << dt << "/var/log/FTL/EVEl20240305070809.ftl";
        QTest::newRow("manual event file") << "EVE" << "m" << dt << "/var/log/FTL/EVEm20240305070809.ftl";
        QTest::newRow("level file") << "LEV" << "l" << dt << "/var/log/FTL/LEVl20240305070809.ftl";
        QTest::newRow("first meter, automatic") << "MTR" << "1d" << dt << "/var/log/FTL/MTR1d20240305070809.ftl";
        QTest::newRow("third meter, manual") << "MTR" << "3m" << dt << "/var/log/FTL/MTR3m20240305070809.ftl";
        QTest::newRow("year padded to four digits")
            << "EVE" << "l" << QDateTime(QDate(999, 12, 31), QTime(23, 59, 58)) << "/var/log/FTL/EVEl09991231235958.ftl";
        // The stamp is the date-time's own fields, whatever zone it carries.
        QTest::newRow("UTC-tagged wall clock")
            << "EVE" << "l" << QDateTime(QDate(2024, 7, 1), QTime(14, 0, 0), Qt::UTC)
            << "/var/log/FTL/EVEl20240701140000.ftl";
        QTest::newRow("offset-tagged wall clock")
            << "EVE" << "l" << QDateTime(QDate(2024, 7, 1), QTime(14, 0, 0), Qt::OffsetFromUTC, -4 * 3600)
            << "/var/log/FTL/EVEl20240701140000.ftl";
        QTest::newRow("milliseconds dropped")
            << "EVE" << "l" << QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5, 999)) << "/var/log/FTL/EVEl20240102030405.ftl";
    }
    void filePath()
    {
        QFETCH(QString, sPrefix);
        QFETCH(QString, sTag);
        QFETCH(QDateTime, dtFileTime);
        QFETCH(QString, sWant);
        QCOMPARE(ftlFilePath(sPrefix, sTag, dtFileTime), sWant);
    }

    void sandboxRoot()
    {
        qputenv("FTP_DATA_ROOT", "/tmp/sb");
        const QString sPath = ftlFilePath(QStringLiteral("EVE"), QStringLiteral("l"),
                                          QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
        qunsetenv("FTP_DATA_ROOT");
        QCOMPARE(sPath, QStringLiteral("/tmp/sb/var/log/FTL/EVEl20240101000000.ftl"));
    }

    void tags_data()
    {
        QTest::addColumn<int>("iSelector");
        QTest::addColumn<bool>("bManual");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("2 automatic") << 2 << false << "1d";
        QTest::newRow("3 automatic") << 3 << false << "2d";
        QTest::newRow("4 automatic") << 4 << false << "3d";
        QTest::newRow("2 manual") << 2 << true << "1m";
        QTest::newRow("3 manual") << 3 << true << "2m";
        QTest::newRow("4 manual") << 4 << true << "3m";
        QTest::newRow("level selector has no meter tag") << 1 << false << "";
        QTest::newRow("event selector has no meter tag") << 0 << true << "";
        QTest::newRow("beyond") << 5 << false << "";
    }
    void tags()
    {
        QFETCH(int, iSelector);
        QFETCH(bool, bManual);
        QFETCH(QString, sWant);
        QCOMPARE(ftlMeterTag(iSelector, bManual), sWant);
        QCOMPARE(ftlRunTag(bManual), bManual ? QStringLiteral("m") : QStringLiteral("l"));
    }

    void timeOffset_data()
    {
        QTest::addColumn<QDateTime>("dtNowUtc");
        QTest::addColumn<QDateTime>("dtLocalNow");
        QTest::addColumn<int>("iWant");
        const QDateTime dtNow(QDate(2024, 7, 1), QTime(12, 0, 0), Qt::UTC);
        auto wall = [](const QDateTime &dt) { return QDateTime(dt.date(), dt.time(), Qt::UTC); };
        QTest::newRow("same clock") << dtNow << wall(dtNow) << 0;
        QTest::newRow("summer time in Berlin") << dtNow << wall(dtNow.addSecs(7200)) << 7200;
        QTest::newRow("New York summer") << dtNow << wall(dtNow.addSecs(-4 * 3600)) << -14400;
        QTest::newRow("India half hour") << dtNow << wall(dtNow.addSecs(19800)) << 19800;
        QTest::newRow("Nepal quarter hour rounds to hundreds") << dtNow << wall(dtNow.addSecs(20700)) << 20700;
        QTest::newRow("one second late") << dtNow << wall(dtNow.addSecs(3601)) << 3600;
        QTest::newRow("49 seconds early") << dtNow << wall(dtNow.addSecs(3551)) << 3600;
        QTest::newRow("half rounds away from zero") << dtNow << wall(dtNow.addSecs(3650)) << 3700;
        QTest::newRow("negative half rounds away from zero") << dtNow << wall(dtNow.addSecs(-3650)) << -3700;
        QTest::newRow("negative just short") << dtNow << wall(dtNow.addSecs(-3649)) << -3600;
        QTest::newRow("now given in another zone")
            << dtNow.toOffsetFromUtc(-3 * 3600) << wall(dtNow.addSecs(3600)) << 3600;
        QTest::newRow("across midnight") << QDateTime(QDate(2024, 12, 31), QTime(23, 30), Qt::UTC)
                                         << QDateTime(QDate(2025, 1, 1), QTime(0, 30), Qt::UTC) << 3600;
    }
    void timeOffset()
    {
        QFETCH(QDateTime, dtNowUtc);
        QFETCH(QDateTime, dtLocalNow);
        QFETCH(int, iWant);
        QCOMPARE(ftlTimeOffsetSecs(dtNowUtc, dtLocalNow), iWant);
    }
};

QTEST_GUILESS_MAIN(TestFtlNames)
#include "tst_ftlnames.moc"
