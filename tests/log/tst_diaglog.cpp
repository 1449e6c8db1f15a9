#include "log/cdiaglog.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestDiagLog : public QObject
{
    Q_OBJECT

private:
    QString identity() const { return QStringLiteral("NOID(") + QString::number(::getpid()) + QLatin1Char(')'); }

    static QString readAll(const QString &sPath)
    {
        QFile file(sPath);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("<missing>");
        return QString::fromUtf8(file.readAll());
    }

    static void writeSettings(const QString &sIni, const QVariantMap &values)
    {
        QSettings ini(sIni, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("DEBUG_MESSAGES"));
        for (auto it = values.begin(); it != values.end(); ++it)
            ini.setValue(it.key(), it.value());
    }

    static QDateTime fixedTime() { return QDateTime(QDate(2026, 12, 4), QTime(11, 22, 0, 123), Qt::UTC); }

private slots:
    void lineFormats()
    {
        QCOMPARE(plainLogLine(QStringLiteral("NOID(812)"), fixedTime(), 1, QStringLiteral("hello")),
                 QStringLiteral("NOID(812):2026-12-04_11:22:00:123 W hello"));
        QString sPrefix;
        QCOMPARE(messageLevel(QtCriticalMsg, &sPrefix), 2);
        QCOMPARE(consoleLogLine(QStringLiteral("NOID(812)"), fixedTime(), sPrefix, QStringLiteral("hello")),
                 QStringLiteral("\x1b[92mNOID(812)\x1b[0m:11:22:00:123\x1b[95m C: hello\x1b[0m"));
    }

    void levels_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<int>("iLevel");
        QTest::addColumn<QString>("sPrefix");
        QTest::newRow("debug") << int(QtDebugMsg) << 0 << QStringLiteral("\x1b[94m D: ");
        QTest::newRow("warning") << int(QtWarningMsg) << 1 << QStringLiteral("\x1b[93m W: ");
        QTest::newRow("critical") << int(QtCriticalMsg) << 2 << QStringLiteral("\x1b[95m C: ");
        QTest::newRow("fatal") << int(QtFatalMsg) << 3 << QStringLiteral("\x1b[91m F: ");
        QTest::newRow("info is level 0, no prefix") << int(QtInfoMsg) << 0 << QString();
    }
    void levels()
    {
        QFETCH(int, iType);
        QFETCH(int, iLevel);
        QFETCH(QString, sPrefix);
        QString sGot = QStringLiteral("unset");
        QCOMPARE(messageLevel(QtMsgType(iType), &sGot), iLevel);
        QCOMPARE(sGot, sPrefix);
    }

    void routing_data()
    {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<int>("iType");
        QTest::addColumn<bool>("bConsole");
        QTest::addColumn<bool>("bFile");
        QTest::newRow("defaults drop debug") << QVariantMap{} << int(QtDebugMsg) << false << false;
        QTest::newRow("defaults log warning to file") << QVariantMap{} << int(QtWarningMsg) << false << true;
        QTest::newRow("console only")
            << QVariantMap{{"Display_Message", 1}, {"Display_Level", 0}, {"Log_Level", 2}} << int(QtWarningMsg)
            << true << false;
        QTest::newRow("file only")
            << QVariantMap{{"Display_Message", 1}, {"Display_Level", 3}, {"Log_Level", 0}} << int(QtDebugMsg)
            << false << true;
        QTest::newRow("both") << QVariantMap{{"Display_Message", 1}, {"Display_Level", 1}} << int(QtCriticalMsg)
                              << true << true;
        QTest::newRow("log switched off")
            << QVariantMap{{"Log_Message", 0}, {"Log_Level", 0}} << int(QtCriticalMsg) << false << false;
        QTest::newRow("system log instead of the file")
            << QVariantMap{{"Use_SysLog", 1}} << int(QtWarningMsg) << false << false;
        QTest::newRow("display other than 1 is off")
            << QVariantMap{{"Display_Message", 2}, {"Display_Level", 0}} << int(QtWarningMsg) << false << true;
    }
    void routing()
    {
        QFETCH(QVariantMap, settings);
        QFETCH(int, iType);
        QFETCH(bool, bConsole);
        QFETCH(bool, bFile);

        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        const QString sLog = dir.filePath(QStringLiteral("ftp_d.log"));
        settings.insert(QStringLiteral("Logfile_Name"), sLog);
        writeSettings(sIni, settings);

        CDiagLog log(sIni);
        QString sStdout;
        log.fnStdout = [&sStdout](const QString &s) { sStdout += s; };
        log.fnNow = fixedTime;
        log.handle(QtMsgType(iType), QStringLiteral("the message"));

        QString sPrefix;
        const int iLevel = messageLevel(QtMsgType(iType), &sPrefix);
        QCOMPARE(sStdout, bConsole ? consoleLogLine(identity(), fixedTime(), sPrefix, QStringLiteral("the message")) +
                                         QLatin1Char('\n')
                                   : QString());
        QCOMPARE(readAll(sLog),
                 bFile ? plainLogLine(identity(), fixedTime(), iLevel, QStringLiteral("the message")) + '\n'
                       : QStringLiteral("<missing>"));
    }

    void rotation_data()
    {
        QTest::addColumn<int>("iRedundancy");
        QTest::addColumn<QStringList>("asExpected"); // current, .1, .2, .3, .4
        const QString m = QStringLiteral("<missing>");
        QTest::newRow("no copies") << 0 << QStringList{"m5", m, m, m, m};
        QTest::newRow("one copy") << 1 << QStringList{"m5", "m4", m, m, m};
        QTest::newRow("three copies, oldest dropped") << 3 << QStringList{"m5", "m4", "m3", "m2", m};
    }
    void rotation()
    {
        QFETCH(int, iRedundancy);
        QFETCH(QStringList, asExpected);

        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        const QString sLog = dir.filePath(QStringLiteral("ftp_d.log"));
        // Every line is longer than the limit, so each write after the first rotates.
        writeSettings(sIni, {{"Logfile_Name", sLog}, {"Logfile_Size", 10}, {"Logfile_Redundancy", iRedundancy}});

        CDiagLog log(sIni);
        log.fnNow = fixedTime;
        for (int i = 1; i <= 5; ++i)
            log.handle(QtWarningMsg, QStringLiteral("m%1").arg(i));

        const QStringList asSuffixes = {QString(), ".1", ".2", ".3", ".4"};
        for (int i = 0; i < asSuffixes.size(); ++i) {
            const QString sContent = readAll(sLog + asSuffixes[i]);
            const QString sWant = asExpected[i] == QStringLiteral("<missing>")
                                      ? asExpected[i]
                                      : plainLogLine(identity(), fixedTime(), 1, asExpected[i]) + '\n';
            QCOMPARE(sContent, sWant);
        }
    }

    void sizeLimitIsStrictlyGreater()
    {
        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        const QString sLog = dir.filePath(QStringLiteral("ftp_d.log"));
        const QString sLine = plainLogLine(identity(), fixedTime(), 1, QStringLiteral("x")) + '\n';
        writeSettings(sIni, {{"Logfile_Name", sLog}, {"Logfile_Size", sLine.size()}});
        CDiagLog log(sIni);
        log.fnNow = fixedTime;
        log.handle(QtWarningMsg, QStringLiteral("x"));
        log.handle(QtWarningMsg, QStringLiteral("x"));
        QCOMPARE(readAll(sLog), sLine + sLine);
        QVERIFY(!QFile::exists(sLog + ".1"));
    }

    void openFailureIsReported()
    {
        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        writeSettings(sIni, {{"Logfile_Name", dir.filePath(QStringLiteral("no/such/dir/ftp_d.log"))}});
        CDiagLog log(sIni);
        QString sStdout;
        log.fnStdout = [&sStdout](const QString &s) { sStdout += s; };
        log.handle(QtWarningMsg, QStringLiteral("one"));
        log.handle(QtWarningMsg, QStringLiteral("two"));
        // Reported once; later messages are silently dropped.
        QCOMPARE(sStdout, identity() + QStringLiteral("open log file failed\n"));
    }

    void firstStartWritesDefaults()
    {
        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        const CLogSettings set = readLogSettings(sIni);
        QCOMPARE(set.sLogfileName, QStringLiteral("/var/log/Tankora/ftp_d.log"));

        QSettings ini(sIni, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("DEBUG_MESSAGES"));
        const QVariantMap expected = {{"Display_Message", 0},        {"Display_Level", 1}, {"Log_Message", 1},
                                      {"Log_Level", 1},              {"Logfile_Size", 1048576},
                                      {"Logfile_Redundancy", 1},     {"Use_SysLog", 0},
                                      {"Logfile_Name", "/var/log/Tankora/ftp_d.log"}};
        QCOMPARE(ini.childKeys().size(), expected.size());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(ini.value(it.key()).toString(), it.value().toString());
    }

    void defaultLogfileName_data()
    {
        QTest::addColumn<QString>("sIni");
        QTest::addColumn<QString>("sLog");
        QTest::newRow("vehicle") << "/etc/Tankora/ftp_d.ini" << "/var/log/Tankora/ftp_d.log";
        QTest::newRow("other name") << "/x/y/gsm.ini" << "/var/log/Tankora/gsm.log";
    }
    void defaultLogfileName()
    {
        QFETCH(QString, sIni);
        QFETCH(QString, sLog);
        QCOMPARE(::defaultLogfileName(sIni), sLog);
    }

    void keptKeyAndNonNumeric()
    {
        QTemporaryDir dir;
        const QString sIni = dir.filePath(QStringLiteral("ftp_d.ini"));
        writeSettings(sIni, {{"Log_Level", "abc"}, {"Logfile_Redundancy", 4}});
        const CLogSettings set = readLogSettings(sIni);
        QCOMPARE(set.iLogLevel, 0);
        QCOMPARE(set.iLogfileRedundancy, 4);
        QSettings ini(sIni, QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("DEBUG_MESSAGES/Log_Level")).toString(), QStringLiteral("abc"));
        QCOMPARE(ini.value(QStringLiteral("DEBUG_MESSAGES/Use_SysLog")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDiagLog)
#include "tst_diaglog.moc"
