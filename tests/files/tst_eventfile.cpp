#include "files/ceventfilerun.h"
#include "files/cftlheader.h"
#include "files/cgsmftpentry.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/clogentrytext.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"

namespace
{
// The record codes of a file's lines, "." between.
QString codesOf(const QString &sPath)
{
    QStringList asCodes;
    for (const QByteArray &baLine : fileBytes(sPath).split('\n'))
        if (!baLine.isEmpty())
            asCodes << QString::fromLatin1(baLine.left(baLine.indexOf(',')));
    return asCodes.join(QLatin1Char('.'));
}
} // namespace

// The FTL header and the runs that fill event, level and meter files, as
// eventfile.tsv and the eve-*.ftl files beside it give them, and the
// GSM/FTP entries the daemon adds to the logbook itself.
class TestEventFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;
    CFakeClock m_clock;

    QString ftlPath(const QString &sName = QString()) const { return m_sandbox.path("/var/log/FTL/" + sName); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL"))); }

    TABLE_TEST(header, "eventfile.tsv")
    {
        CFakeFileSource source;
        QVERIFY(source.hold(row[0]));
        QCOMPARE(QString::fromLatin1(ftlHeaderText(source, row[1], QStringLiteral("20991231235959"))),
                 cellTexts(row[2]).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    TABLE_TEST(products, "eventfile.tsv")
    {
        CSetProductWM product;
        for (const int iField : {1, 5, 6, 7})
            QVERIFY(setFieldText(product, iField, row[iField == 1 ? 0 : iField - 4]));
        QCOMPARE(ftlProductLine(QStringLiteral("20240105093000"), product), row[4]);
    }

    // Products are listed up to the first the service does not know, 200 at most.
    void atMost200Products()
    {
        CFakeFileSource source;
        source.aProducts.resize(250);
        QCOMPARE(readFtlHeaderValues(source, QStringLiteral("20240105093000")).asProductLines.size(), 200);
        source.aProducts.resize(3);
        QCOMPARE(readFtlHeaderValues(source, QStringLiteral("20240105093000")).asProductLines.size(), 3);
    }

    TABLE_TEST(runs, "eventfile.tsv")
    {
        CFakeFileSource source;
        addRows(source.aRows, row[0]);
        const QString sFault = row[2];
        const QString sFull = ftlPath(QStringLiteral("EVEl20240105093000.ftl"));
        source.iWritesBeforeRefusal = sFault.startsWith("refuse") ? sFault.mid(7).toInt() : -1;
        QVERIFY(sFault != "full" || QFile::link(QStringLiteral("/dev/full"), sFull));
        QVERIFY(sFault != "nodir" || m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        const qint64 llSleptBefore = m_clock.slept();
        bool bFirst = true;
        for (const QString &sRun : row[1].split(QLatin1Char(' '))) {
            if (sRun == "auto" || sRun == "forced")
                CEventFileRun(source).GetAutoLogbookData(sRun == "forced");
            else
                CEventFileRun(source).GetManLogbookData(sRun == "delivery" ? ManFile_Delivery : ManFile_Event,
                                                        utcOf(QStringLiteral("08:00")), utcOf(QStringLiteral("08:30")));
            // A fault lasts for the first run only.
            QVERIFY(!bFirst || sFault != "full" || QFile::remove(sFull));
            source.iWritesBeforeRefusal = -1;
            bFirst = false;
        }
        QStringList asWant;
        for (const QString &sFile : row[3].split(QLatin1Char(' ')))
            if (sFile != "-")
                asWant << sFile.section(QLatin1Char('='), 0, 0);
        QCOMPARE(QDir(ftlPath()).entryList(QDir::Files), asWant);
        for (const QString &sFile : row[3].split(QLatin1Char(' '))) {
            const QString sName = sFile.section(QLatin1Char('='), 0, 0), sWant = sFile.section(QLatin1Char('='), 1);
            if (sWant.endsWith(".ftl"))
                QCOMPARE(fileBytes(ftlPath(sName)), goldenBytes(QFINDTESTDATA(sWant)));
            else if (!sWant.isEmpty())
                QCOMPARE(codesOf(ftlPath(sName)), sWant);
        }
        QCOMPARE(source.gsm.iNextLogbookRowID(), row[4].toInt());
        QCOMPARE(m_clock.slept() - llSleptBefore, row[5].toLongLong());
        checkLog(source.asLog, QString(row.value(6)).replace("<root>", m_sandbox.path(QString())), row.value(7));
    }

    // One logbook write per event; a refused write is not retried.
    TABLE_TEST(gsmFtpEntry, "eventfile.tsv")
    {
        CFakeFileSource source;
        source.iGsmFtpReply = -1003;
        setLogbookGsmFtp(source, row[0].toInt());
        QCOMPARE(source.aGsmFtpRows.size(), 1);
        QCOMPARE(source.aGsmFtpRows.first().toHex(), QString(row[1]).remove(QLatin1Char(' ')).toLatin1());
    }
};

QTEST_GUILESS_MAIN(TestEventFile)
#include "tst_eventfile.moc"
