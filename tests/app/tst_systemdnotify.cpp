#include "app/csystemdnotify.h"
#include "tests/support/ctable.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

// What the daemon tells the service manager, read from a datagram socket
// of the test's own.
class TestSystemdNotify : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_iSocket = -1;

    // Binds a socket of the given kind; returns what NOTIFY_SOCKET holds.
    QByteArray bindSocket(const QString &sKind)
    {
        m_iSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        struct sockaddr_un address;
        std::memset(&address, 0, sizeof(address));
        address.sun_family = AF_UNIX;
        const QByteArray aName = sKind == QLatin1String("@")
                                     ? QByteArray("@ftp_data-test-") + QByteArray::number(QCoreApplication::applicationPid())
                                     : QFile::encodeName(m_dir.filePath(QStringLiteral("notify")));
        std::memcpy(address.sun_path, aName.constData(), size_t(aName.size()));
        if (aName[0] == '@')
            address.sun_path[0] = '\0';
        const socklen_t iLength = socklen_t(offsetof(struct sockaddr_un, sun_path) + size_t(aName.size()));
        if (bind(m_iSocket, reinterpret_cast<const struct sockaddr *>(&address), iLength) != 0)
            return QByteArray();
        return aName;
    }
    QStringList received()
    {
        QStringList asMessages;
        char acBuffer[256];
        ssize_t llSize;
        while ((llSize = recv(m_iSocket, acBuffer, sizeof(acBuffer), 0)) > 0)
            asMessages << QString::fromLatin1(acBuffer, int(llSize));
        return asMessages;
    }

  private slots:
    void cleanup()
    {
        if (m_iSocket >= 0)
            close(m_iSocket);
        m_iSocket = -1;
        QFile::remove(m_dir.filePath(QStringLiteral("notify")));
        qunsetenv("NOTIFY_SOCKET");
        qunsetenv("WATCHDOG_USEC");
    }

    TABLE_TEST(watchdogInterval, "notify.tsv")
    {
        const QByteArray aUsec = row[0] == "-" ? QByteArray() : row[0].toLatin1();
        const qint64 llOwnPid = QCoreApplication::applicationPid();
        const QByteArray aPid =
            row[1] == "-" ? QByteArray() : (row[1] == "own" ? QByteArray::number(llOwnPid) : row[1].toLatin1());
        QCOMPARE(watchdogIntervalMs(aUsec, aPid, llOwnPid), row[2].toLongLong());
    }

    // Ready only once the loop runs, the watchdog fed from the loop, the
    // stop announced; the environment is gone for the programs started later.
    TABLE_TEST(messages, "notify.tsv")
    {
        const QByteArray aSocket = bindSocket(row[0] == "-" ? QStringLiteral("path") : row[0]);
        QVERIFY(!aSocket.isEmpty());
        if (row[0] != "-")
            qputenv("NOTIFY_SOCKET", aSocket);
        qputenv("WATCHDOG_USEC", row[1].toLatin1());
        const QStringList asExpected = cellTexts(row.value(2));

        CSystemdNotify notify;
        QVERIFY(qgetenv("NOTIFY_SOCKET").isEmpty() && qgetenv("WATCHDOG_USEC").isEmpty());
        notify.start();
        QCOMPARE(received(), QStringList());
        if (asExpected.isEmpty()) {
            // Outside the service manager nothing is ever sent.
            QTest::qWait(500);
            notify.stopping();
            QCOMPARE(received(), QStringList());
            return;
        }
        QStringList asMessages;
        // The expected messages but the last come while the loop runs.
        QTRY_VERIFY_WITH_TIMEOUT((asMessages += received()).size() >= asExpected.size() - 1, 3000);
        notify.stopping();
        asMessages += received();
        QCOMPARE(asMessages.mid(0, asExpected.size() - 1), asExpected.mid(0, asExpected.size() - 1));
        QCOMPARE(asMessages.last(), asExpected.last());
    }

    // Nobody listening: the message is not sent, and the caller hears of it.
    void deadSocket()
    {
        QVERIFY(!sendNotifyMessage(QFile::encodeName(m_dir.filePath(QStringLiteral("gone"))), notifyText(ENotify::Ready)));
        QVERIFY(!sendNotifyMessage(QByteArray("relative"), notifyText(ENotify::Ready)));
    }
};

QTEST_GUILESS_MAIN(TestSystemdNotify)
#include "tst_systemdnotify.moc"
