#include "app/cshell.h"
#include "controller/cdata.h"
#include "tests/support/crecordingshell.h"

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
    void settings_data()
    {
        QTest::addColumn<QString>("sFile");
        QTest::addColumn<int>("iSessionBus");
        QTest::addColumn<QString>("sAddress");
        QTest::addColumn<QString>("sName");
        QTest::addColumn<int>("iRetry");
        QTest::addColumn<int>("iPoll");
        const QString sDefault = QStringLiteral("tcp:host=127.0.0.1,port=7777");
        QTest::newRow("no file") << QString() << 1 << sDefault << "remote" << 5000 << 1000;
        QTest::newRow("tcp bus only") << "[SETUP_GENERAL]\nUse_Session_Bus=0\n" << 0 << sDefault << "remote" << 5000
                                      << 1000;
        QTest::newRow("non-numeric reads as 0")
            << "[SETUP_GENERAL]\nDbus_Connection_Retry=soon\nSetup_Poll_Rate=12x\n" << 1 << sDefault << "remote" << 0
            << 0;
        QTest::newRow("own address kept")
            << "[SETUP_GENERAL]\nTCP_Bus_Address=\"tcp:host=10.0.0.2,port=1\"\nTCP_Bus_Name=truck\n" << 1
            << "tcp:host=10.0.0.2,port=1" << "truck" << 5000 << 1000;
    }
    void settings()
    {
        QFETCH(QString, sFile);
        QFETCH(int, iSessionBus);
        QFETCH(QString, sAddress);
        QFETCH(QString, sName);
        QFETCH(int, iRetry);
        QFETCH(int, iPoll);
        QFile file(iniPath());
        QVERIFY(sFile.isNull() || (file.open(QIODevice::WriteOnly) && file.write(sFile.toUtf8()) > 0));
        file.close();

        CData data;
        QCOMPARE(data.useSessionBus(), iSessionBus);
        QCOMPARE(data.tcpBusAddress(), sAddress);
        QCOMPARE(data.tcpBusName(), sName);
        QCOMPARE(data.dbusConnectionRetry(), iRetry);
        QCOMPARE(data.setupPollRate(), iPoll);
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
