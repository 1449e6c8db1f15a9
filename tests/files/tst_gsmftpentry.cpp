#include "files/cgsmftpentry.h"
#include "logbook/cloggsmftp.h"
#include "tests/support/cfakefilesource.h"

#include <QTest>

class TestGsmFtpEntry : public QObject
{
    Q_OBJECT

  private slots:
    void oneEntryPerEvent_data()
    {
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QByteArray>("baStart");
        // Header version 256, type 17, then the code, all big-endian.
        QTest::newRow("link offline") << int(GsmFtpLinkOffline) << QByteArray::fromHex("00000100000000110000240c");
        QTest::newRow("link back") << int(GsmFtpLinkBack) << QByteArray::fromHex("00000100000000110000240d");
    }
    void oneEntryPerEvent()
    {
        QFETCH(int, iCode);
        QFETCH(QByteArray, baStart);
        CFakeFileSource source;
        setLogbookGsmFtp(source, iCode);
        QCOMPARE(source.aGsmFtpRows.size(), 1);
        QCOMPARE(source.aGsmFtpRows.first().left(12), baStart);
        // A fresh entry apart from the code: no row IDs, no time of its own.
        const CLogGsmFtp entry(source.aGsmFtpRows.first());
        QCOMPARE(entry.DateTime, QDateTime(QDate(1, 1, 1), QTime(0, 0)));
    }

    // No time of its own, and a refused write is not tried again.
    void sameCodeSameBytes()
    {
        CFakeFileSource source;
        source.iGsmFtpReply = -1003;
        setLogbookGsmFtp(source, GsmFtpLinkOffline);
        source.dtNow = source.dtNow.addDays(3);
        setLogbookGsmFtp(source, GsmFtpLinkOffline);
        QCOMPARE(source.aGsmFtpRows.size(), 2);
        QCOMPARE(source.aGsmFtpRows[0], source.aGsmFtpRows[1]);
    }
};

QTEST_GUILESS_MAIN(TestGsmFtpEntry)
#include "tst_gsmftpentry.moc"
