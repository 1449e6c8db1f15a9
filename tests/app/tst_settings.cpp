#include "app/cshell.h"
#include "controller/cdata.h"
#include "tests/support/crecordingshell.h"
#include "tests/support/ctable.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Construction of the controller inside a sandbox root: the settings file,
// the killed dial-up and the removed event files.
class TestSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    CRecordingShell m_shell;

    QString iniPath() const { return m_root.filePath(QStringLiteral("etc/Tankora/ftp_d.ini")); }

  private slots:
    void init()
    {
        QDir(m_root.path()).mkpath(QStringLiteral("etc/Tankora"));
        QFile::remove(iniPath());
        qputenv("FTP_DATA_ROOT", m_root.path().toUtf8());
        CShell::setInstance(&m_shell);
        m_shell.asCommands.clear();
    }
    void cleanup()
    {
        CShell::setInstance(nullptr);
        qunsetenv("FTP_DATA_ROOT");
    }

    // Missing keys are written back with the value in effect; given ones are untouched.
    TABLE_TEST(settings, "settings.tsv")
    {
        const QString sFile =
            row[0] == "-" ? QString() : QString(row[0]).replace(QLatin1String("\\n"), QLatin1String("\n"));
        const QString sAddress = row[2];
        const int iSessionBus = row[1].toInt();
        QFile file(iniPath());
        QVERIFY(sFile.isNull() || (file.open(QIODevice::WriteOnly) && file.write(sFile.toUtf8()) > 0));
        file.close();

        CData data;
        QCOMPARE(data.useSessionBus(), iSessionBus);
        QCOMPARE(data.tcpBusAddress(), sAddress);
        QCOMPARE(data.tcpBusName(), row[3]);
        QCOMPARE(data.dbusConnectionRetry(), row[4].toInt());
        QCOMPARE(data.setupPollRate(), row[5].toInt());
        QSettings ini(iniPath(), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("SETUP_GENERAL"));
        QCOMPARE(ini.childKeys().size(), 5);
        QCOMPARE(ini.value(QStringLiteral("TCP_Bus_Address")).toString(), sAddress);
        QCOMPARE(ini.value(QStringLiteral("Use_Session_Bus")).toInt(), iSessionBus);
        if (sFile.contains(QStringLiteral("soon")))
            QCOMPARE(ini.value(QStringLiteral("Dbus_Connection_Retry")).toString(), QStringLiteral("soon"));
    }

    // A dial-up left from an earlier run is killed, and the stale event files
    // (names beginning Eve2, in any case) are removed; nothing else is.
    void constructionCleansUp()
    {
        const QString sDir = m_root.filePath(QStringLiteral("var/lib/Tankora"));
        QDir().mkpath(sDir);
        const QStringList asStale = {"Eve20261204.ftl", "Eve2", "Eve2_x", "eve2.ftl"};
        const QStringList asKept = {"Eve1.ftl", "XEve2", "test.dat"};
        for (const QString &sName : asStale + asKept) {
            QFile file(sDir + '/' + sName);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        CData data;
        QCOMPARE(QDir(sDir).entryList(QDir::Files, QDir::Name), asKept);
        QCOMPARE(m_shell.asCommands, QStringList{QStringLiteral("killall pppd")});
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
