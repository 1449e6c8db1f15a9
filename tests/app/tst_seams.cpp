#include "app/cclock.h"
#include "app/cpaths.h"
#include "app/csignalpath.h"
#include "tests/support/ctable.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <unistd.h>

class TestSeams : public QObject
{
    Q_OBJECT

  private slots:
    // A sandbox root moves every vehicle path under it, and only those.
    TABLE_TEST(rootedPath, "seams.tsv")
    {
        qunsetenv("FTP_DATA_ROOT");
        if (row[0] != "-")
            qputenv("FTP_DATA_ROOT", row[0].toUtf8());
        QCOMPARE(::rootedPath(row[1]), row[2]);
        qunsetenv("FTP_DATA_ROOT");
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
        // As when no descriptor is left for a pair.
        CSignalPath path(nullptr, [](int, int, int, int *) { return -1; });
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
};

QTEST_GUILESS_MAIN(TestSeams)
#include "tst_seams.moc"
