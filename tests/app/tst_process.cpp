#include "tests/support/ctable.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The daemon as a process in a sandbox root: how signals end it or reach it.
class TestProcess : public QObject
{
    Q_OBJECT

    QString readLog() const
    {
        QFile file(m_pRoot->filePath(QStringLiteral("var/log/Tankora/ftp_d.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool logged(const QString &sText) const { return readLog().contains(sText); }
    void kill(int iSignal) { ::kill(pid_t(m_pDaemon->processId()), iSignal); }

    // Debug lines go to the file, so the connection can be seen. The
    // sandbox's own killall comes first on the path: it acts only inside the
    // root, where no pppd runs, so the left-over kill fails and is logged.
    // Without the bus, the daemon looks for it under the sandbox root and
    // tries again every 200 ms.
    QString busAddress() const { return QStringLiteral("unix:path=") + m_pRoot->filePath(QStringLiteral("bus")); }
    void startDaemon(bool bWithBus)
    {
        m_pRoot.reset(new QTemporaryDir);
        for (const char *pszDir : {"etc/Tankora", "var/log/Tankora", "usr/bin"})
            QDir(m_pRoot->path()).mkpath(QLatin1String(pszDir));
        QVERIFY(QFile::link(QStringLiteral(STANDIN_DIR "/killall"), m_pRoot->filePath(QStringLiteral("usr/bin/killall"))));
        QFile ini(m_pRoot->filePath(QStringLiteral("etc/Tankora/ftp_d.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly) &&
                ini.write("[DEBUG_MESSAGES]\nLog_Level=0\n[SETUP_GENERAL]\nDbus_Connection_Retry=200\n") > 0);
        ini.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FTP_DATA_ROOT"), m_pRoot->path());
        env.insert(QStringLiteral("PATH"), m_pRoot->filePath(QStringLiteral("usr/bin")) + QStringLiteral(":/usr/bin:/bin"));
        if (!bWithBus)
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress());
        m_pDaemon.reset(new QProcess);
        m_pDaemon->setProcessEnvironment(env);
        m_pDaemon->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList command = QStringLiteral(FTP_DATA_LAUNCHER).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        command << QStringLiteral(FTP_DATA_BIN);
        m_pDaemon->start(command.takeFirst(), command);
        QVERIFY(m_pDaemon->waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(logged(bWithBus ? QStringLiteral("Connected to session bus!")
                                                 : QStringLiteral("Can't connect to session bus!")),
                                 10000);
        // The first heartbeat comes after the whole connection is made, the
        // signal path included; a signal sent before it meets the early path.
        if (bWithBus) {
            m_iHeartbeats = 0;
            QTRY_VERIFY_WITH_TIMEOUT(m_iHeartbeats > 0, 10000);
        }
    }

    int m_iHeartbeats = 0;
    std::unique_ptr<QTemporaryDir> m_pRoot;
    std::unique_ptr<QProcess> m_pDaemon;

  public slots:
    void onHeartbeat(int) { ++m_iHeartbeats; }

  private slots:
    void initTestCase()
    {
        QVERIFY(QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/Signals"),
                                                      QStringLiteral("com.Velkor.Tankora.Signals"),
                                                      QStringLiteral("sigTrigger"), this, SLOT(onHeartbeat(int))));
    }
    void init()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs a session bus (run under dbus-run-session)");
    }

    // Before the first connection the early handler ends the loop, after it
    // the socket pair does; either way the controller is destroyed, the exit
    // code is 0 and nothing is written outside the sandbox. The left-over
    // dial-up was stopped through the sandbox's killall, whose failure
    // (status 1, no pppd in the root) is a warning.
    TABLE_TEST(endsOnSignal, "process.tsv")
    {
        startDaemon(!row[0].isEmpty());
        kill(row[0].isEmpty() ? SIGTERM : SIGINT);
        QVERIFY(m_pDaemon->waitForFinished(2000));
        QCOMPARE(m_pDaemon->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_pDaemon->exitCode(), 0);
        QVERIFY2(logged(row[1]), qPrintable(readLog()));
        QVERIFY(logged(QStringLiteral("'ftp_data' started")) && logged(QStringLiteral("CData destructor!")));
        QVERIFY2(logged(QStringLiteral(" W File: cdata Line:  ")) &&
                     logged(QStringLiteral(" :  return of 'killall pppd':  256 \n")),
                 qPrintable(readLog()));
        QFile calls(m_pRoot->filePath(QStringLiteral("var/log/killall.calls")));
        QVERIFY(calls.open(QIODevice::ReadOnly));
        QCOMPARE(calls.readAll(), QByteArray("killall pppd: 1\n"));
        QCOMPARE(QDir(m_pRoot->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{"etc", "usr", "var"}));
    }

    // The bus comes up after the daemon (the boot race): the next attempt
    // connects.
    void connectsToLateBus()
    {
        startDaemon(false);
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                  QStringLiteral("--address=") + busAddress()});
        QVERIFY(bus.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral("Connected to session bus!")), 10000);
        kill(SIGTERM);
        QVERIFY(m_pDaemon->waitForFinished(2000));
        bus.terminate();
        QVERIFY(bus.waitForFinished(5000));
    }

    // SIGHUP is only logged, before the bus as after it (ended by it, the
    // daemon would not be restarted by its unit); of two quick SIGINTs the
    // first ends the daemon and the second changes nothing.
    TABLE_TEST(sighupIsLoggedOnly, "process.tsv")
    {
        startDaemon(!row[0].isEmpty());
        kill(SIGHUP);
        QTRY_VERIFY_WITH_TIMEOUT(logged(QStringLiteral(" W Signal SIGHUP received")), 10000);
        QVERIFY2(logged(QString(row[1]).replace("\\n", "\n")), qPrintable(readLog()));
        QTest::qWait(300);
        QCOMPARE(m_pDaemon->state(), QProcess::Running);
        kill(SIGINT);
        kill(SIGINT);
        QVERIFY(m_pDaemon->waitForFinished(2000));
        QCOMPARE(m_pDaemon->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_pDaemon->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
