#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The daemon as a process in a sandbox root: how signals end it or reach it.
class TestProcess : public QObject
{
    Q_OBJECT

    static QString readLog(const QTemporaryDir &root)
    {
        QFile file(root.filePath(QStringLiteral("var/log/Tankora/ftp_d.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static bool waitForLog(const QTemporaryDir &root, const QString &sText, int iMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < iMs) {
            if (readLog(root).contains(sText))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    static void prepareRoot(const QTemporaryDir &root)
    {
        QDir(root.path()).mkpath(QStringLiteral("etc/Tankora"));
        QDir(root.path()).mkpath(QStringLiteral("var/log/Tankora"));
        // Debug lines in the file, so the connection can be seen.
        QFile ini(root.filePath(QStringLiteral("etc/Tankora/ftp_d.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[DEBUG_MESSAGES]\nLog_Level=0\n");
    }

    static void startDaemon(QProcess &daemon, const QTemporaryDir &root, bool bWithBus)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FTP_DATA_ROOT"), root.path());
        // pppd is not here: the left-over kill just fails quietly.
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        if (!bWithBus)
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
        daemon.setProcessEnvironment(env);
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start(QStringLiteral(FTP_DATA_BIN), QStringList());
        QVERIFY(daemon.waitForStarted(5000));
        QVERIFY(waitForLog(root, QStringLiteral("'ftp_data' started")));
    }

private slots:
    void endsOnSignal_data()
    {
        QTest::addColumn<bool>("bWithBus");
        QTest::addColumn<int>("iSignal");
        QTest::addColumn<QString>("sWaitFor");
        QTest::addColumn<QString>("sLogged");
        QTest::newRow("SIGTERM before the bus") << false << SIGTERM << "Can't connect to session bus!"
                                                << "SIGTERM received: Terminating!";
        QTest::newRow("SIGINT before the bus")
            << false << SIGINT << "Can't connect to session bus!" << "SIGINT received: Terminating!";
        QTest::newRow("SIGTERM when connected") << true << SIGTERM << "Connected to session bus!"
                                                << "Signal SIGTERM received => exit program";
        QTest::newRow("SIGINT when connected")
            << true << SIGINT << "Connected to session bus!" << "Signal SIGINT received => exit program";
    }
    void endsOnSignal()
    {
        QFETCH(bool, bWithBus);
        QFETCH(int, iSignal);
        QFETCH(QString, sWaitFor);
        QFETCH(QString, sLogged);
        if (bWithBus && qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs a session bus (run under dbus-run-session)");

        QTemporaryDir root;
        prepareRoot(root);
        QProcess daemon;
        startDaemon(daemon, root, bWithBus);
        QVERIFY(waitForLog(root, sWaitFor));

        ::kill(pid_t(daemon.processId()), iSignal);
        QVERIFY(daemon.waitForFinished(2000));
        QCOMPARE(daemon.exitStatus(), QProcess::NormalExit);
        QCOMPARE(daemon.exitCode(), 0);

        const QString sLog = readLog(root);
        QVERIFY2(sLog.contains(sLogged), qPrintable(sLog));
        QVERIFY(sLog.contains(QStringLiteral("CData destructor!")));
        QVERIFY(QFile::exists(root.filePath(QStringLiteral("etc/Tankora/ftp_d.ini"))));

        // Nothing was written outside the sandbox: the whole tree is ours.
        const QStringList asTop = QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(asTop, (QStringList{"etc", "var"}));
    }

    void sighupIsLoggedOnly()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs a session bus (run under dbus-run-session)");
        QTemporaryDir root;
        prepareRoot(root);
        QProcess daemon;
        startDaemon(daemon, root, true);
        QVERIFY(waitForLog(root, QStringLiteral("Connected to session bus!")));

        ::kill(pid_t(daemon.processId()), SIGHUP);
        QVERIFY(waitForLog(root, QStringLiteral(" W Signal SIGHUP received")));
        QVERIFY(readLog(root).contains(QStringLiteral(" D Signal  1   received\n")));
        QTest::qWait(300);
        QCOMPARE(daemon.state(), QProcess::Running);

        // Two quick SIGINTs: the first ends the daemon, the second changes nothing.
        ::kill(pid_t(daemon.processId()), SIGINT);
        ::kill(pid_t(daemon.processId()), SIGINT);
        QVERIFY(daemon.waitForFinished(2000));
        QCOMPARE(daemon.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
