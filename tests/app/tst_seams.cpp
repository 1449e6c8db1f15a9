#include "app/cclock.h"
#include "app/cpaths.h"
#include "app/csignalpath.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

class TestSeams : public QObject
{
    Q_OBJECT

  private slots:
    // A sandbox root moves every vehicle path under it, and only those.
    void rootedPath_data()
    {
        QTest::addColumn<QString>("sRoot");
        QTest::addColumn<QString>("sPath");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("unset is the vehicle") << QString() << "/var/log/FTL"
                                              << "/var/log/FTL";
        QTest::newRow("prefixed") << "/tmp/sb/"
                                  << "/etc/Tankora/ftp_d.ini"
                                  << "/tmp/sb/etc/Tankora/ftp_d.ini";
        QTest::newRow("already rooted") << "/tmp/sb"
                                        << "/tmp/sb/tmp/info"
                                        << "/tmp/sb/tmp/info";
        QTest::newRow("root's sibling is not rooted") << "/tmp/sb"
                                                      << "/tmp/sbx"
                                                      << "/tmp/sb/tmp/sbx";
    }
    void rootedPath()
    {
        QFETCH(QString, sRoot);
        QFETCH(QString, sPath);
        QFETCH(QString, sWant);
        if (sRoot.isNull())
            qunsetenv("FTP_DATA_ROOT");
        else
            qputenv("FTP_DATA_ROOT", sRoot.toUtf8());
        QCOMPARE(::rootedPath(sPath), sWant);
        qunsetenv("FTP_DATA_ROOT");
    }

    // Demos speed the daemon up; a scale that makes no sense leaves real time.
    void timeScale_data()
    {
        QTest::addColumn<qlonglong>("llNominal");
        QTest::addColumn<double>("dScale");
        QTest::addColumn<qlonglong>("llWant");
        QTest::newRow("ten times faster") << 5000LL << 10.0 << 500LL;
        QTest::newRow("never below 1 ms") << 100LL << 1000.0 << 1LL;
        QTest::newRow("bad scale is real time") << 800LL << -2.0 << 800LL;
    }
    void timeScale()
    {
        QFETCH(qlonglong, llNominal);
        QFETCH(double, dScale);
        QFETCH(qlonglong, llWant);
        QCOMPARE(scaledMs(llNominal, dScale), llWant);
    }

    // Seconds × 1000 + nanoseconds / 1 000 000; weeks of uptime do not overflow.
    void monotonicMs()
    {
        QCOMPARE(monotonicMsFrom(12, 345678901), 12345LL);
        QCOMPARE(monotonicMsFrom(0, 999999), 0LL);
        QCOMPARE(monotonicMsFrom(3000000000LL, 0), 3000000000000LL);
    }

    // With no descriptor left for a pair the signals still reach the event
    // loop, in order, and SIGHUP does not end the process.
    void signalsArriveWithoutSocketPair()
    {
        struct rlimit oldLimit = {};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &oldLimit), 0);
        const int iLowestFree = ::dup(0);
        ::close(iLowestFree);
        struct rlimit tightLimit = oldLimit;
        tightLimit.rlim_cur = rlim_t(iLowestFree);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &tightLimit), 0);
        CSignalPath path(nullptr);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &oldLimit), 0);
        QVERIFY(!path.hasSocketPair());

        QSignalSpy spy(&path, &CSignalPath::sigSignal);
        struct sigaction action = {};
        action.sa_handler = writeSignalToSocket;
        ::sigaction(SIGHUP, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        ::raise(SIGTERM);
        ::raise(SIGHUP);
        QTRY_COMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), SIGHUP);
        QCOMPARE(spy.at(1).at(0).toInt(), SIGTERM);
        ::signal(SIGHUP, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
    }

    // The daemon installs no handler for it, so only the text can be checked here.
    void otherSignalIsUnexpected()
    {
        bool bExit = true;
        QCOMPARE(connectedSignalText(SIGUSR1, &bExit), QStringLiteral("Unexpected Signal received"));
        QVERIFY(!bExit);
        QVERIFY(earlySignalText(SIGUSR1).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSeams)
#include "tst_seams.moc"
