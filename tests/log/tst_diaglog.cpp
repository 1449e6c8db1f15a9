#include "bus/ccalls.h"
#include "log/cdiaglog.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"
#include "tests/support/logged.h"

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
    // A warning as the file holds it.
    static QString line(const QString &sMessage)
    {
        return identity() + QStringLiteral(":2026-12-04_11:22:00:123 W ") + sMessage + '\n';
    }
    static QString readAll(const QString &sPath) { return QString::fromUtf8(fileBytes(sPath)); }
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
        qInstallMessageHandler(logged::capture);
        CBusCalls("CFtlTrigger", 1)
            .warning(142, "Create auto. event file, reason: \"SPD comp. 2 seal breaks unexpected\"");
        qInstallMessageHandler(nullptr);
        QCOMPARE(logged::warnings(), "File: CFtlTrigger Line:  142 :  Create auto. event file, reason: \"SPD comp. 2 "
                                     "seal breaks unexpected\" \n");
    }

    // The file's line is the rotation test's.
    void consoleLineFormat()
    {
        QCOMPARE(consoleLogLine(QStringLiteral("NOID(812)"), fixedTime(), QStringLiteral("\x1b[95m C: "),
                                QStringLiteral("hello")),
                 QStringLiteral("\x1b[92mNOID(812)\x1b[0m:11:22:00:123\x1b[95m C: hello\x1b[0m"));
    }

    // Console and log file are chosen independently, each by its switch and level.
    TABLE_TEST(routing, "diaglog.tsv")
    {
        QVariantMap settings;
        for (const QString &sPair : row[0].split(QLatin1Char(';')))
            if (sPair != "-")
                settings.insert(sPair.section(QLatin1Char('='), 0, 0), sPair.section(QLatin1Char('='), 1).toInt());
        makeLog(settings)->handle(QtMsgType(row[1].toInt()), QStringLiteral("the message"));
        QCOMPARE(m_sStdout.endsWith(QStringLiteral("the message\x1b[0m\n")), row[2] == "1");
        QCOMPARE(readAll(logFile()).endsWith(QStringLiteral(" the message\n")), row[3] == "1");
    }

    // The size is tested before each write and must be strictly exceeded:
    // .1 holds the newest copy, the oldest beyond the count is dropped.
    TABLE_TEST(rotation, "diaglog.tsv")
    {
        auto pLog =
            makeLog({{"Logfile_Size", row[1] == "1" ? line("m1").size() : 10}, {"Logfile_Redundancy", row[0]}});
        for (int i = 1; i <= 5; ++i)
            pLog->handle(QtWarningMsg, QStringLiteral("m%1").arg(i));
        const QStringList asSuffixes = {QString(), ".1", ".2", ".3", ".4"};
        for (int i = 0; i < asSuffixes.size(); ++i) {
            QString sWant;
            for (const QString &sMessage : row[2 + i].split(' '))
                sWant += sMessage == QLatin1String("<missing>") ? sMessage : line(sMessage);
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
    TABLE_TEST(firstStartWritesDefaults, "diaglog.tsv")
    {
        QCOMPARE(readLogSettings(ini()).sLogfileName, QStringLiteral("/var/log/Tankora/ftp_d.log"));
        QCOMPARE(defaultLogfileName(QStringLiteral("/x/y/gsm.ini")), QStringLiteral("/var/log/Tankora/gsm.log"));
        QSettings file(ini(), QSettings::IniFormat);
        file.beginGroup(QStringLiteral("DEBUG_MESSAGES"));
        QCOMPARE(file.childKeys().size(), 8);
        QCOMPARE(file.value(row[0]).toString(), row[1]);
    }
};

QTEST_GUILESS_MAIN(TestDiagLog)
#include "tst_diaglog.moc"
