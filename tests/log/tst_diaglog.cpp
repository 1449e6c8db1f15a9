#include "bus/ccalls.h"
#include "log/cdiaglog.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <unistd.h>

class TestDiagLog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_pDir;
    QString m_sStdout;

    QString ini() const { return m_pDir->filePath(QStringLiteral("ftp_d.ini")); }
    QString logFile() const { return m_pDir->filePath(QStringLiteral("ftp_d.log")); }
    static QString identity() { return QStringLiteral("NOID(%1)").arg(::getpid()); }
    static QDateTime fixedTime() { return QDateTime(QDate(2026, 12, 4), QTime(11, 22, 0, 123), Qt::UTC); }
    static QString line(int iLevel, const QString &sMessage)
    {
        return plainLogLine(identity(), fixedTime(), iLevel, sMessage) + '\n';
    }
    static QString readAll(const QString &sPath)
    {
        QFile file(sPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
    }
    // A log over a DEBUG_MESSAGES group with these values, logging into the
    // sandbox unless a log file name is given, at a fixed time.
    std::unique_ptr<CDiagLog> makeLog(QVariantMap settings)
    {
        settings.insert(QStringLiteral("Logfile_Name"), settings.value(QStringLiteral("Logfile_Name"), logFile()));
        {
            QSettings file(ini(), QSettings::IniFormat);
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                file.setValue(QStringLiteral("DEBUG_MESSAGES/") + it.key(), it.value());
        }
        auto pLog = std::make_unique<CDiagLog>(ini());
        pLog->fnNow = fixedTime;
        pLog->fnStdout = [this](const QString &s) { m_sStdout += s; };
        return pLog;
    }

  private slots:
    void init()
    {
        m_pDir.reset(new QTemporaryDir);
        m_sStdout.clear();
    }

    // Every message of the controller and the trigger monitor as a debug
    // stream spaces it: two blanks, the line, a blank, a colon, two blanks,
    // the text and a blank.
    void moduleLineLayout()
    {
        static QString s_sCaught;
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &s) { s_sCaught = s; });
        CBusCalls("CFtlTrigger", 1)
            .warning(142, "Create auto. event file, reason: \"SPD comp. 2 seal breaks unexpected\"");
        qInstallMessageHandler(nullptr);
        QCOMPARE(
            s_sCaught,
            "File: CFtlTrigger Line:  142 :  Create auto. event file, reason: \"SPD comp. 2 seal breaks unexpected\" ");
    }

    void lineFormats()
    {
        QCOMPARE(plainLogLine(QStringLiteral("NOID(812)"), fixedTime(), 1, QStringLiteral("hello")),
                 QStringLiteral("NOID(812):2026-12-04_11:22:00:123 W hello"));
        QCOMPARE(consoleLogLine(QStringLiteral("NOID(812)"), fixedTime(), QStringLiteral("\x1b[95m C: "),
                                QStringLiteral("hello")),
                 QStringLiteral("\x1b[92mNOID(812)\x1b[0m:11:22:00:123\x1b[95m C: hello\x1b[0m"));
    }

    // Console and log file are chosen independently, each by its switch and level.
    void routing_data()
    {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<int>("iType");
        QTest::addColumn<bool>("bConsole");
        QTest::addColumn<bool>("bFile");
        QTest::newRow("defaults drop debug") << QVariantMap{} << int(QtDebugMsg) << false << false;
        QTest::newRow("defaults log warning to file") << QVariantMap{} << int(QtWarningMsg) << false << true;
        QTest::newRow("info is level 0") << QVariantMap{{"Log_Level", 0}} << int(QtInfoMsg) << false << true;
        QTest::newRow("console only") << QVariantMap{{"Display_Message", 1}, {"Display_Level", 0}, {"Log_Level", 2}}
                                      << int(QtWarningMsg) << true << false;
        QTest::newRow("file only") << QVariantMap{{"Display_Message", 1}, {"Display_Level", 3}, {"Log_Level", 0}}
                                   << int(QtDebugMsg) << false << true;
        QTest::newRow("system log instead of the file")
            << QVariantMap{{"Use_SysLog", 1}} << int(QtWarningMsg) << false << false;
    }
    void routing()
    {
        QFETCH(QVariantMap, settings);
        QFETCH(int, iType);
        QFETCH(bool, bConsole);
        QFETCH(bool, bFile);
        makeLog(settings)->handle(QtMsgType(iType), QStringLiteral("the message"));
        QCOMPARE(m_sStdout.endsWith(QStringLiteral("the message\x1b[0m\n")), bConsole);
        QCOMPARE(readAll(logFile()).endsWith(QStringLiteral(" the message\n")), bFile);
    }

    // The size is tested before each write and must be strictly exceeded:
    // .1 holds the newest copy, the oldest beyond the count is dropped.
    void rotation_data()
    {
        QTest::addColumn<int>("iRedundancy");
        QTest::addColumn<bool>("bLimitIsOneLine");   // otherwise every line is longer than the limit
        QTest::addColumn<QStringList>("asExpected"); // current, .1, .2, .3, .4
        const QString m = QStringLiteral("<missing>");
        QTest::newRow("no copies") << 0 << false << QStringList{"m5", m, m, m, m};
        QTest::newRow("three copies, oldest dropped") << 3 << false << QStringList{"m5", "m4", "m3", "m2", m};
        QTest::newRow("one line fits the limit") << 3 << true << QStringList{"m5", "m3 m4", "m1 m2", m, m};
    }
    void rotation()
    {
        QFETCH(int, iRedundancy);
        QFETCH(bool, bLimitIsOneLine);
        QFETCH(QStringList, asExpected);
        auto pLog = makeLog(
            {{"Logfile_Size", bLimitIsOneLine ? line(1, "m1").size() : 10}, {"Logfile_Redundancy", iRedundancy}});
        for (int i = 1; i <= 5; ++i)
            pLog->handle(QtWarningMsg, QStringLiteral("m%1").arg(i));
        const QStringList asSuffixes = {QString(), ".1", ".2", ".3", ".4"};
        for (int i = 0; i < asSuffixes.size(); ++i) {
            QString sWant;
            for (const QString &sMessage : asExpected[i].split(' '))
                sWant += sMessage == QLatin1String("<missing>") ? sMessage : line(1, sMessage);
            QCOMPARE(readAll(logFile() + asSuffixes[i]), sWant);
        }
    }

    // Reported once on standard output; later messages are silently dropped.
    void openFailureIsReported()
    {
        auto pLog = makeLog({{"Logfile_Name", m_pDir->filePath(QStringLiteral("no/such/dir/ftp_d.log"))}});
        pLog->handle(QtWarningMsg, QStringLiteral("one"));
        pLog->handle(QtWarningMsg, QStringLiteral("two"));
        QCOMPARE(m_sStdout, identity() + QStringLiteral("open log file failed\n"));
    }

    // A first start fills the group with the defaults; the log file's name
    // follows the settings file's name.
    void firstStartWritesDefaults()
    {
        QCOMPARE(readLogSettings(ini()).sLogfileName, QStringLiteral("/var/log/Tankora/ftp_d.log"));
        QCOMPARE(defaultLogfileName(QStringLiteral("/x/y/gsm.ini")), QStringLiteral("/var/log/Tankora/gsm.log"));
        QSettings file(ini(), QSettings::IniFormat);
        file.beginGroup(QStringLiteral("DEBUG_MESSAGES"));
        const QVariantMap expected = {{"Display_Message", 0},    {"Display_Level", 1},
                                      {"Log_Message", 1},        {"Log_Level", 1},
                                      {"Logfile_Size", 1048576}, {"Logfile_Redundancy", 1},
                                      {"Use_SysLog", 0},         {"Logfile_Name", "/var/log/Tankora/ftp_d.log"}};
        QCOMPARE(file.childKeys().size(), expected.size());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(file.value(it.key()).toString(), it.value().toString());
    }
};

QTEST_GUILESS_MAIN(TestDiagLog)
#include "tst_diaglog.moc"
