#include "files/ceventfilerun.h"
#include "files/cftlheader.h"
#include "logbook/clogcop.h"
#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogspd.h"
#include "tests/files/blankftlheader.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

#include <algorithm>

namespace
{

const QString sStamp = QStringLiteral("20240105093000");
const QDateTime dtRow(QDate(2024, 1, 5), QTime(8, 15), Qt::UTC);

// The lines of the entries below, as their conversions give them.
const char *const pCop0 = "42,20240105081500,,20,2,2";
const char *const pCop1 = "42,20240105081600,,20,2,2";

// A COP entry with a fixed line, at a given minute.
CLogCOP copEntry(int iMinute)
{
    CLogCOP entry;
    entry.LogSubType = 6017;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    return entry;
}

CLogSPD spdEntry(int iMinute)
{
    CLogSPD entry;
    entry.LogSubType = 6203; // opens a period
    entry.Compartment = 1;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    return entry;
}

// Compartment 4 gives a level line, 100 a meter line.
CLogLevelVolume levelEntry(qint32 iCompartment)
{
    CLogLevelVolume entry;
    entry.DateTime = dtRow;
    entry.Compartment = iCompartment;
    return entry;
}

QByteArray lines(const QStringList &asLines)
{
    return (asLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

} // namespace

class TestEventFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString ftlPath(const QString &sName) const { return m_sandbox.path("/var/log/FTL/" + sName); }
    QStringList ftlFiles() const { return QDir(ftlPath("")).entryList(QDir::Files); }
    QByteArray autoFile() const { return fileBytes(ftlPath("EVEl20240105093000.ftl")); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL"))); }

    // Line 1 ends with the WM text 28 and, with a WM runtime, the seal state.
    void headerLine1_data()
    {
        QTest::addColumn<bool>("bSeal");
        QTest::addColumn<QString>("sLine1");
        QTest::newRow("seal state") << true << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1,W28,2";
        QTest::newRow("no WM runtime") << false << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1,W28";
    }
    void headerLine1()
    {
        QFETCH(bool, bSeal);
        QFETCH(QString, sLine1);
        CFtlHeaderValues v;
        v.sGeneralWmText28 = QStringLiteral("W28");
        v.bHasSealState = bSeal;
        v.iSealState = 2;
        QCOMPARE(ftlHeaderLines(sStamp, v).at(1), sLine1);
    }

    void lgmWithoutMetersGivesOneMeterLine()
    {
        CFtlHeaderValues v;
        v.bLgmActive1 = true;
        QCOMPARE(ftlHeaderLines(sStamp, v).at(4), QStringLiteral("10,20240105093000,0,,,,"));
    }

    void headerStamp_data()
    {
        QTest::addColumn<QString>("sFirstLine");
        QTest::addColumn<QString>("sStampOut");
        QTest::newRow("second field") << "42,20240105081500,,20,2,2"
                                      << "20240105081500";
        QTest::newRow("no comma: local now") << "Undefined"
                                             << "20991231235959";
    }
    void headerStamp()
    {
        QFETCH(QString, sFirstLine);
        QFETCH(QString, sStampOut);
        QCOMPARE(ftlHeaderStamp(sFirstLine, QStringLiteral("20991231235959")), sStampOut);
    }

    void unreadableSetupsGiveDefaults()
    {
        CFakeFileSource source;
        source.bGeneralAnswers = false;
        source.bGeneralWMReadable = false;
        source.general.setField(56, qint32(2)); // the copy's vehicle type is not used then
        for (int i = 0; i < 250; ++i) {
            source.aProducts.append(CSetProductWM());
            source.aProducts.last().setField(1, qint32(i));
        }
        const CFtlHeaderValues v = readFtlHeaderValues(source, sStamp);
        QCOMPARE(v.VehicleType, 6);
        QCOMPARE(v.sGeneralWmText12, QStringLiteral("-------"));
        QCOMPARE(v.iMeterCount, 0);
        QCOMPARE(v.asProductLines.size(), 200);
        QVERIFY(v.asProductLines.last().startsWith(QStringLiteral("90,20240105093000,0,0,199,")));
    }

    // Rows without an event-file form are passed; two runs in the same
    // second share one file and one header.
    void autoRunWritesRowsAndProgress()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0), second = copEntry(1), third = copEntry(2);
        CLogGsmFtp gsmFtp;
        gsmFtp.DateTime = dtRow;
        source.addRow(first);
        source.addRow(gsmFtp);
        source.addRow(second);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 4);
        QCOMPARE(source.iWrites, 3);
        QCOMPARE(clock.slept(), qint64(30));
        QCOMPARE(autoFile(), blankFtlHeader("20240105081500") + lines({pCop0, pCop1}));
        QVERIFY(source.logged(QStringLiteral("Finish GetAutoLogbookData()")));

        source.addRow(third);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(autoFile(), blankFtlHeader("20240105081500") + lines({pCop0, pCop1, "42,20240105081700,,20,2,2"}));
        QCOMPARE(source.gsm.iNextLogbookRowID(), 5);
    }

    // Only a forced run that wrote nothing makes the header-only file.
    void forcedRun_data()
    {
        QTest::addColumn<bool>("bForced");
        QTest::addColumn<QString>("sRow");
        QTest::addColumn<QByteArray>("baFile");
        QTest::addColumn<bool>("bHeaderOnly");
        QTest::newRow("not forced, nothing new") << false << "" << QByteArray("<missing>") << false;
        QTest::newRow("forced, nothing new") << true << "" << blankFtlHeader(sStamp) << true;
        QTest::newRow("forced, only rows without lines") << true << "GSM/FTP" << blankFtlHeader(sStamp) << true;
        QTest::newRow("forced, a row written")
            << true << "COP" << blankFtlHeader("20240105081500") + lines({pCop0}) << false;
    }
    void forcedRun()
    {
        QFETCH(bool, bForced);
        QFETCH(QString, sRow);
        QFETCH(QByteArray, baFile);
        QFETCH(bool, bHeaderOnly);
        CFakeClock clock;
        CFakeFileSource source;
        CLogGsmFtp gsmFtp;
        CLogCOP cop = copEntry(0);
        if (!sRow.isEmpty())
            source.addRow(sRow == "COP" ? static_cast<CLogBase &>(cop) : gsmFtp);
        CEventFileRun(source).GetAutoLogbookData(bForced);
        QCOMPARE(autoFile(), baFile);
        QCOMPARE(source.logged(QStringLiteral("Trigger empty event file (only header) transfer received")),
                 bHeaderOnly);
        QCOMPARE(source.gsm.iNextLogbookRowID(), sRow.isEmpty() ? 0 : 2);
    }

    // A refused progress write ends the run at once, forced or not; the
    // next run starts at the row whose progress was not stored.
    void refusedProgressWriteEndsRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0), second = copEntry(1);
        source.addRow(first);
        source.addRow(second);
        source.iWritesBeforeRefusal = 1;
        CEventFileRun(source).GetAutoLogbookData(true);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 2);
        QVERIFY(!source.logged(QStringLiteral("Finish GetAutoLogbookData()")));
        QCOMPARE(autoFile(), blankFtlHeader("20240105081500") + lines({pCop0, pCop1}));

        source.iWritesBeforeRefusal = -1;
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 3);
        QCOMPARE(autoFile(), blankFtlHeader("20240105081500") + lines({pCop0, pCop1, pCop1}));
    }

    // SPD, SPD, COP: the opening marker, both SPD rows, the closing marker
    // of the second SPD row, then the COP row.
    void spdPeriodMarkers()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogSPD firstSpd = spdEntry(0), secondSpd = spdEntry(1);
        CLogCOP cop = copEntry(2);
        source.addRow(firstSpd);
        source.addRow(secondSpd);
        source.addRow(cop);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(autoFile(),
                 blankFtlHeader("20240105081500") + lines({"20,20240105081500,63", "42,,,25,11,0", "42,,,25,11,0",
                                                           "20,20240105081600,64", "42,20240105081700,,20,2,2"}));
    }

    // A delivery run writes only level and meter files, an event run no
    // level or meter file; the lines themselves the vehicle run compares.
    void manualRuns_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<QStringList>("asFiles");
        QTest::newRow("delivery") << int(ManFile_Delivery)
                                  << QStringList{"LEVm20240105093000.ftl", "MTR1m20240105093000.ftl"};
        QTest::newRow("event") << int(ManFile_Event) << QStringList{"EVEm20240105093000.ftl"};
    }
    void manualRuns()
    {
        QFETCH(int, iType);
        QFETCH(QStringList, asFiles);
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP cop = copEntry(1);
        CLogLevelVolume compartment = levelEntry(4), meter = levelEntry(100);
        for (CLogBase *pEntry : std::initializer_list<CLogBase *>{&cop, &compartment, &meter})
            source.addRow(*pEntry);
        CEventFileRun(source).GetManLogbookData(ManFileType(iType), dtRow.addSecs(-3600), dtRow.addSecs(3600));
        QCOMPARE(ftlFiles(), asFiles);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 0); // manual runs keep no progress
    }

    // A full disk: the row is not counted as sent, the file keeps no half
    // line, and the next run writes the row once.
    void fullDiskKeepsRowForNextRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0), second = copEntry(1);
        source.addRow(first);
        source.addRow(second);
        const QString sPath = ftlPath("EVEl20240105093000.ftl");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), sPath));
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 0);
        QVERIFY(source.logged(QStringLiteral("Event file run stopped at row 1: it stays for the next run")));

        QVERIFY(QFile::remove(sPath));
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 3);
        QCOMPARE(autoFile(), blankFtlHeader("20240105081500") + lines({pCop0, pCop1}));
    }

    void unopenableFileLosesOnlyThatCall()
    {
        CFakeClock clock;
        CFakeFileSource source;
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        CLogCOP first = copEntry(0);
        source.addRow(first);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 2);
        QVERIFY(std::any_of(source.aLines.cbegin(), source.aLines.cend(), [](const CLogLine &line) {
            return line.sText.startsWith(QStringLiteral("cannot open file ")) && line.eLevel == CLogLine::Warning;
        }));
    }
};

QTEST_GUILESS_MAIN(TestEventFile)
#include "tst_eventfile.moc"
