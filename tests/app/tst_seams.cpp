#include "app/cclock.h"
#include "app/cpaths.h"
#include "app/cshell.h"
#include "app/csignalpath.h"

#include <QProcess>
#include <QTest>

#include <csignal>

class TestSeams : public QObject
{
    Q_OBJECT

private slots:
    void rootedPath_data()
    {
        QTest::addColumn<QString>("sRoot");
        QTest::addColumn<QString>("sPath");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("unset is the vehicle") << QString() << "/var/log/FTL" << "/var/log/FTL";
        QTest::newRow("prefixed") << "/tmp/sb" << "/var/log/FTL/x.ftl" << "/tmp/sb/var/log/FTL/x.ftl";
        QTest::newRow("trailing slash on root") << "/tmp/sb/" << "/etc/Tankora/ftp_d.ini"
                                                << "/tmp/sb/etc/Tankora/ftp_d.ini";
        QTest::newRow("relative untouched") << "/tmp/sb" << "pppd" << "pppd";
        QTest::newRow("already rooted") << "/tmp/sb" << "/tmp/sb/tmp/info" << "/tmp/sb/tmp/info";
        QTest::newRow("root's sibling is not rooted") << "/tmp/sb" << "/tmp/sbx" << "/tmp/sb/tmp/sbx";
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

    void shellQuoteIsInert_data()
    {
        QTest::addColumn<QString>("sValue");
        QTest::newRow("plain") << "internet.t-d1.de";
        QTest::newRow("command substitution") << "$(touch /tmp/pwned)";
        QTest::newRow("quote breaking") << "a'; echo evil; '";
        QTest::newRow("backticks and semicolon") << "`id`;ls";
        QTest::newRow("empty") << "";
    }
    void shellQuoteIsInert()
    {
        QFETCH(QString, sValue);
        // The shell must hand the value back as one unchanged word.
        QProcess sh;
        sh.start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"), QStringLiteral("printf %s ") + shellQuote(sValue)});
        QVERIFY(sh.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(sh.readAllStandardOutput()), sValue);
    }

    void timeScale_data()
    {
        QTest::addColumn<qlonglong>("llNominal");
        QTest::addColumn<double>("dScale");
        QTest::addColumn<qlonglong>("llWant");
        QTest::newRow("real time") << 5000LL << 1.0 << 5000LL;
        QTest::newRow("ten times faster") << 5000LL << 10.0 << 500LL;
        QTest::newRow("never below 1 ms") << 100LL << 1000.0 << 1LL;
        QTest::newRow("zero stays zero") << 0LL << 10.0 << 0LL;
        QTest::newRow("bad scale is real time") << 800LL << -2.0 << 800LL;
    }
    void timeScale()
    {
        QFETCH(qlonglong, llNominal);
        QFETCH(double, dScale);
        QFETCH(qlonglong, llWant);
        QCOMPARE(scaledMs(llNominal, dScale), llWant);
    }

    void monotonicMs()
    {
        QCOMPARE(monotonicMsFrom(12, 345678901), 12345LL);
        QCOMPARE(monotonicMsFrom(0, 999999), 0LL);
        // Weeks of uptime do not overflow.
        QCOMPARE(monotonicMsFrom(3000000000LL, 0), 3000000000000LL);
    }

    void signalTexts_data()
    {
        QTest::addColumn<int>("iSignal");
        QTest::addColumn<QString>("sText");
        QTest::addColumn<bool>("bExit");
        QTest::addColumn<QString>("sEarly");
        QTest::newRow("SIGINT") << SIGINT << "Signal SIGINT received => exit program" << true
                                << "SIGINT received: Terminating!";
        QTest::newRow("SIGTERM") << SIGTERM << "Signal SIGTERM received => exit program" << true
                                 << "SIGTERM received: Terminating!";
        QTest::newRow("SIGHUP") << SIGHUP << "Signal SIGHUP received" << false << QString();
        QTest::newRow("other") << SIGUSR1 << "Unexpected Signal received" << false << QString();
    }
    void signalTexts()
    {
        QFETCH(int, iSignal);
        QFETCH(QString, sText);
        QFETCH(bool, bExit);
        QFETCH(QString, sEarly);
        bool bGotExit = !bExit;
        QCOMPARE(connectedSignalText(iSignal, &bGotExit), sText);
        QCOMPARE(bGotExit, bExit);
        QCOMPARE(earlySignalText(iSignal), sEarly);
    }

    void signalTravelsThroughPair()
    {
        int iReadFd = -1;
        QVERIFY(createSignalSocketPair(iReadFd));
        writeSignalToSocket(SIGHUP);
        QCOMPARE(readSignalNumber(iReadFd), int(SIGHUP));
    }
};

QTEST_GUILESS_MAIN(TestSeams)
#include "tst_seams.moc"
