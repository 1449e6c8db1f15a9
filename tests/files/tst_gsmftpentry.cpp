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
        const QByteArray baRow = source.aGsmFtpRows.first();
        QCOMPARE(baRow.left(12), baStart);

        const CLogGsmFtp entry(baRow);
        QCOMPARE(entry.iVersion, 256);
        QCOMPARE(entry.LogType, 17);
        QCOMPARE(entry.LogSubType, iCode);
        QCOMPARE(entry.RowID, quint64(0));
        QCOMPARE(entry.SecondaryRowID, quint64(0));
        QCOMPARE(entry.DateTime, QDateTime(QDate(1, 1, 1), QTime(0, 0)));
        QCOMPARE(entry.Compartment, -1);
        QCOMPARE(entry.AuxValue, 0);
        QCOMPARE(entry.Text1, QString());
        QCOMPARE(entry.Text2, QString());
        // The row is nothing but the entry: it reads back to the same bytes.
        QCOMPARE(entry.toRow(), baRow);
        QVERIFY(source.aLines.isEmpty());
    }

    void noTimeOfItsOwn()
    {
        CFakeFileSource source;
        setLogbookGsmFtp(source, GsmFtpLinkOffline);
        source.dtNow = source.dtNow.addDays(3);
        setLogbookGsmFtp(source, GsmFtpLinkOffline);
        setLogbookGsmFtp(source, GsmFtpLinkBack);
        QCOMPARE(source.aGsmFtpRows.size(), 3);
        QCOMPARE(source.aGsmFtpRows[0], source.aGsmFtpRows[1]);
        QVERIFY(source.aGsmFtpRows[0] != source.aGsmFtpRows[2]);
        QCOMPARE(gsmFtpEntryRow(GsmFtpLinkBack), source.aGsmFtpRows[2]);
    }

    void refusalIsNotRetried()
    {
        CFakeFileSource source;
        source.iGsmFtpReply = -1003;
        setLogbookGsmFtp(source, GsmFtpLinkBack);
        QCOMPARE(source.aGsmFtpRows.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestGsmFtpEntry)
#include "tst_gsmftpentry.moc"
