#include "files/ceventfilerun.h"
#include "files/cftlheader.h"
#include "logbook/clogcop.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogspd.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sStamp = QStringLiteral("20240105093000");
const QDateTime dtRow(QDate(2024, 1, 5), QTime(8, 15), Qt::UTC);

QString fileText(const QString &sPath)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing %1>").arg(sPath);
    return QString::fromLatin1(file.readAll());
}

// A COP entry with a fixed line, at a given minute.
CLogCOP copEntry(int iMinute)
{
    CLogCOP entry;
    entry.LogSubType = 6017;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    return entry;
}

CLogSPD spdEntry(int iMinute, qint32 iSubType)
{
    CLogSPD entry;
    entry.LogSubType = iSubType;
    entry.Compartment = 1;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    return entry;
}

CLogGps gpsEntry(int iMinute)
{
    CLogGps entry;
    entry.LogSubType = 11000;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    entry.Position.dtStamp = entry.DateTime;
    entry.Position.adMeasures[0] = 59.9;
    entry.Position.adMeasures[1] = 10.75;
    return entry;
}

CLogLevelVolume levelEntry(int iMinute, qint32 iCompartment)
{
    CLogLevelVolume entry;
    entry.DateTime = dtRow.addSecs(60 * iMinute);
    entry.Compartment = iCompartment;
    entry.ProcessWM.setField(2, qint32(12345));
    entry.ProcessWM.setField(24, qint32(2));
    entry.Product.setField(1, QStringLiteral("Diesel"));
    return entry;
}

QString lines(const QStringList &asLines)
{
    return asLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

class TestEventFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;

    QString ftlPath(const QString &sName) const { return m_root.path() + QStringLiteral("/var/log/FTL/") + sName; }
    // The header of a file of the fake vehicle with no WM setups.
    QString header(const QString &sTs) const
    {
        return lines({QStringLiteral("0,%1,1.00").arg(sTs), QStringLiteral("1,%1,K.L. Ostrem,Tankora,,,,,1").arg(sTs),
                      QStringLiteral("2,%1,0,,").arg(sTs),
                      QStringLiteral("6,%1,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0").arg(sTs),
                      QStringLiteral("91,%1,1").arg(sTs), QStringLiteral("92,%1,1").arg(sTs)});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        qputenv("FTP_DATA_ROOT", m_root.path().toLocal8Bit());
    }
    void init()
    {
        QDir(m_root.path() + QStringLiteral("/var/log/FTL")).removeRecursively();
        QVERIFY(QDir().mkpath(m_root.path() + QStringLiteral("/var/log/FTL")));
    }

    void headerLines_data()
    {
        QTest::addColumn<QString>("sText28");
        QTest::addColumn<bool>("bSeal");
        QTest::addColumn<QString>("sLine1");
        QTest::newRow("text and seal state") << "W28" << true << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1,W28,2";
        QTest::newRow("seal state, no text") << "" << true << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1,,2";
        QTest::newRow("text, no WM runtime") << "W28" << false << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1,W28";
        QTest::newRow("neither") << "" << false << "1,20240105093000,K.L. Ostrem,Tankora,,,,,1";
    }
    void headerLines()
    {
        QFETCH(QString, sText28);
        QFETCH(bool, bSeal);
        QFETCH(QString, sLine1);
        CFtlHeaderValues v;
        v.sGeneralWmText28 = sText28;
        v.bHasSealState = bSeal;
        v.iSealState = 2;
        v.VehicleType = 3;
        v.sGeneralWmText12 = QStringLiteral("AB-123");
        v.sGeneralWmText11 = QStringLiteral("Truck 7");
        v.DipStick = 2;
        v.DelvType = 3;
        v.iDelvSide = 1;
        v.iLoadSide = 2;
        v.iCompartmentCount = 4;
        v.iNonWmValue1 = 9;
        v.bNonWmFlag1 = true;
        v.iWetlegConf = 0;
        v.iNonWmValue2 = 5;
        v.bNonWmFlag2 = false;
        v.iNonWmValue3 = 7;
        v.iNonWmValue4 = 8;
        v.bLgmActive1 = true;
        v.iMeterCount = 2;
        v.asMeterValues = QStringList{QStringLiteral("M-1"), QStringLiteral("0")};
        const QString sMeterTail = sText28;
        QCOMPARE(ftlHeaderLines(sStamp, v),
                 (QStringList{"0,20240105093000,1.00", sLine1, "2,20240105093000,3,AB-123,Truck 7",
                              "6,20240105093000,,2,3,1,2,4,9,1,0,,,,,,,,,,,5,0,7,8",
                              "10,20240105093000,M-1,,,," + sMeterTail, "10,20240105093000,0,,,," + sMeterTail,
                              "91,20240105093000,1", "92,20240105093000,1"}));
    }

    void noMetersGiveOneMeterLine()
    {
        CFtlHeaderValues v;
        v.bLgmActive1 = true;
        QVERIFY(ftlHeaderLines(sStamp, v).contains(QStringLiteral("10,20240105093000,0,,,,")));
        v.bLgmActive1 = false;
        QVERIFY(!ftlHeaderLines(sStamp, v).join(QString()).contains(QStringLiteral("\n10,")));
        QCOMPARE(ftlHeaderLines(sStamp, v).size(), 6);
    }

    void headerStamp_data()
    {
        QTest::addColumn<QString>("sFirstLine");
        QTest::addColumn<QString>("sStampOut");
        QTest::newRow("second field") << "42,20240105081500,,20,2,2" << "20240105081500";
        QTest::newRow("no comma") << "Undefined" << "20991231235959";
        QTest::newRow("empty") << "" << "20991231235959";
    }
    void headerStamp()
    {
        QFETCH(QString, sFirstLine);
        QFETCH(QString, sStampOut);
        QCOMPARE(ftlHeaderStamp(sFirstLine, QStringLiteral("20991231235959")), sStampOut);
    }

    void productLines_data()
    {
        QTest::addColumn<int>("iTable");
        QTest::addColumn<QString>("sLine");
        QTest::newRow("54B") << 3 << "90,20240105093000,0,0,7,15.0,0.8,,1,0.0000";
        QTest::newRow("54D") << 4 << "90,20240105093000,0,0,7,15.0,0.8,,3,0.0000";
        QTest::newRow("54X") << 5 << "90,20240105093000,0,0,7,15.0,0.8,,4,0.0000";
        QTest::newRow("06A") << 6 << "90,20240105093000,0,0,7,15.0,0.8,,0,0.0000";
        QTest::newRow("06B") << 7 << "90,20240105093000,0,0,7,15.0,0.8,,1,0.0000";
        QTest::newRow("POL") << 8 << "90,20240105093000,0,0,7,15.0,0.8,,0,0.0000";
        QTest::newRow("LIN") << 9 << "90,20240105093000,0,0,7,15.0,0.8,,5,0.0000";
        QTest::newRow("54A") << 2 << "90,20240105093000,0,0,7,15.0,0.8,,0,0.0000";
        QTest::newRow("unknown") << 42 << "90,20240105093000,0,0,7,15.0,0.8,,0,0.0000";
    }
    void productLines()
    {
        QFETCH(int, iTable);
        QFETCH(QString, sLine);
        CSetProductWM product;
        product.setField(1, qint32(7));
        product.setField(5, qint32(15));
        product.setField(6, 0.84);
        product.setField(7, qint32(iTable));
        QCOMPARE(ftlProductLine(sStamp, product), sLine);
    }

    void unreadableSetupsGiveDefaults()
    {
        CFakeFileSource source;
        source.bGeneralAnswers = false;
        source.bGeneralWMReadable = false;
        source.general.setField(56, qint32(2)); // the copy's vehicle type is not used then
        for (int i = 0; i < 250; ++i) {
            CSetProductWM product;
            product.setField(1, qint32(i));
            source.aProducts.append(product);
        }
        const CFtlHeaderValues v = readFtlHeaderValues(source, sStamp);
        QCOMPARE(v.VehicleType, 6);
        QCOMPARE(v.sGeneralWmText12, QStringLiteral("-------"));
        QCOMPARE(v.iMeterCount, 0);
        QCOMPARE(v.asProductLines.size(), 200);
        QVERIFY(v.asProductLines.last().startsWith(QStringLiteral("90,20240105093000,0,0,199,")));
    }

    // Two runs in the same second share one file and one header.
    void autoRunWritesRowsAndProgress()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0);
        CLogGsmFtp gsmFtp; // no event-file form: passed, not written
        gsmFtp.DateTime = dtRow;
        CLogCOP second = copEntry(1);
        source.addRow(first);
        source.addRow(gsmFtp);
        source.addRow(second);

        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 4);
        QCOMPARE(source.iWrites, 3);
        QCOMPARE(clock.slept(), qint64(30));
        const QString sPath = ftlPath(QStringLiteral("EVEl20240105093000.ftl"));
        const QString sBody = lines({"42,20240105081500,,20,2,2", "42,20240105081600,,20,2,2"});
        QCOMPARE(fileText(sPath), header(QStringLiteral("20240105081500")) + sBody);
        QVERIFY(source.logged(QStringLiteral("Finish GetAutoLogbookData()")));

        // New rows between two runs appear once, after the earlier ones.
        CLogCOP third = copEntry(2);
        source.addRow(third);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(fileText(sPath), header(QStringLiteral("20240105081500")) + sBody
                                      + lines({"42,20240105081700,,20,2,2"}));
        QCOMPARE(source.gsm.iNextLogbookRowID(), 5);
    }

    void forcedRunWithoutRowsWritesHeaderOnly_data()
    {
        QTest::addColumn<bool>("bForced");
        QTest::addColumn<bool>("bOnlyUnconverted");
        QTest::newRow("not forced, nothing new") << false << false;
        QTest::newRow("forced, nothing new") << true << false;
        QTest::newRow("forced, only rows without lines") << true << true;
    }
    void forcedRunWithoutRowsWritesHeaderOnly()
    {
        QFETCH(bool, bForced);
        QFETCH(bool, bOnlyUnconverted);
        CFakeClock clock;
        CFakeFileSource source;
        CLogGsmFtp gsmFtp;
        if (bOnlyUnconverted)
            source.addRow(gsmFtp);
        CEventFileRun(source).GetAutoLogbookData(bForced);
        const QString sPath = ftlPath(QStringLiteral("EVEl20240105093000.ftl"));
        QCOMPARE(QFile::exists(sPath), bForced);
        if (bForced) {
            QCOMPARE(fileText(sPath), header(sStamp));
            QVERIFY(source.logged(QStringLiteral("Trigger empty event file (only header) transfer received")));
        }
        QCOMPARE(source.gsm.iNextLogbookRowID(), bOnlyUnconverted ? 2 : 0);
        QCOMPARE(QDir(m_root.path() + QStringLiteral("/var/log/FTL")).entryList(QDir::Files).size(), bForced ? 1 : 0);
    }

    // A refused progress write ends the run at once; what was written stays
    // and the next run starts at the first row whose progress was not stored.
    void refusedProgressWriteEndsRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0);
        CLogCOP second = copEntry(1);
        source.addRow(first);
        source.addRow(second);
        source.iWritesBeforeRefusal = 1;
        CEventFileRun(source).GetAutoLogbookData(true);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 2);
        QVERIFY(!source.logged(QStringLiteral("Finish GetAutoLogbookData()")));
        const QString sPath = ftlPath(QStringLiteral("EVEl20240105093000.ftl"));
        QCOMPARE(fileText(sPath), header(QStringLiteral("20240105081500"))
                                      + lines({"42,20240105081500,,20,2,2", "42,20240105081600,,20,2,2"}));

        source.iWritesBeforeRefusal = -1;
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 3);
        // The row in progress at the refusal is the only one written twice.
        QCOMPARE(fileText(sPath).count(QStringLiteral("42,20240105081600")), 2);
    }

    void spdPeriodMarkers()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogSPD firstSpd = spdEntry(0, 6203);
        CLogSPD secondSpd = spdEntry(1, 6203);
        CLogCOP cop = copEntry(2);
        source.addRow(firstSpd);
        source.addRow(secondSpd);
        source.addRow(cop);
        CEventFileRun(source).GetAutoLogbookData(false);
        QStringList asExpected{"20,20240105081500,63"};
        asExpected << firstSpd.getFTLStrings(0) << secondSpd.getFTLStrings(0) << "20,20240105081600,64"
                   << "42,20240105081700,,20,2,2";
        const QString sText = fileText(ftlPath(QStringLiteral("EVEl20240105093000.ftl")));
        QVERIFY2(sText.endsWith(lines(asExpected)), qPrintable(sText));
    }

    void deliveryRunWritesLevelAndMeterFilesOnly()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogGps gps = gpsEntry(0);
        CLogCOP cop = copEntry(1);
        CLogLevelVolume compartment = levelEntry(2, 4);
        CLogLevelVolume meter = levelEntry(3, 100);
        for (CLogBase *pEntry : std::initializer_list<CLogBase *>{&gps, &cop, &compartment, &meter})
            source.addRow(*pEntry);

        CEventFileRun(source).GetManLogbookData(ManFile_Delivery, dtRow.addSecs(-3600), dtRow.addSecs(3600));
        const QStringList asFiles = QDir(m_root.path() + QStringLiteral("/var/log/FTL")).entryList(QDir::Files);
        QCOMPARE(asFiles, (QStringList{"LEVm20240105093000.ftl", "MTR1m20240105093000.ftl"}));
        const QString sGps = gps.getFTLStrings(0).first();
        QCOMPARE(fileText(ftlPath(asFiles[0])), header(sGps.section(',', 1, 1))
                                                  + lines({sGps, compartment.getFTLStrings(1, 0).first()}));
        QCOMPARE(fileText(ftlPath(asFiles[1])), header(sGps.section(',', 1, 1))
                                                  + lines({sGps, meter.getFTLStrings(2, 0).first()}));
        QCOMPARE(source.gsm.iNextLogbookRowID(), 0); // manual runs keep no progress
    }

    void eventRunWritesNoLevelFiles()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogGps gps = gpsEntry(0);
        CLogLevelVolume compartment = levelEntry(2, 4);
        source.addRow(gps);
        source.addRow(compartment);
        CEventFileRun(source).GetManLogbookData(ManFile_Event, dtRow.addSecs(-3600), dtRow.addSecs(3600));
        const QStringList asFiles = QDir(m_root.path() + QStringLiteral("/var/log/FTL")).entryList(QDir::Files);
        QCOMPARE(asFiles, QStringList{"EVEm20240105093000.ftl"});
        QVERIFY(fileText(ftlPath(asFiles[0])).endsWith(
            lines({gps.getFTLStrings(0).first(), compartment.getFTLStrings(0, 0).first()})));
    }

    void manualRunStopsAtEndOfPeriod()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP early = copEntry(0);
        CLogCOP late = copEntry(90);
        source.addRow(early);
        source.addRow(late);
        CEventFileRun(source).GetManLogbookData(ManFile_Complete, dtRow.addSecs(-60), dtRow.addSecs(3600));
        const QString sText = fileText(ftlPath(QStringLiteral("EVEm20240105093000.ftl")));
        QVERIFY(sText.contains(QStringLiteral("42,20240105081500")));
        QVERIFY(!sText.contains(QStringLiteral("42,20240105094500")));
        QVERIFY(source.logged(QStringLiteral("Finish GetManLogbookData()")));
    }

    // A full disk: the row is not counted as sent, the file keeps no half
    // line, and the next run writes the row once.
    void fullDiskKeepsRowForNextRun()
    {
        CFakeClock clock;
        CFakeFileSource source;
        CLogCOP first = copEntry(0);
        CLogCOP second = copEntry(1);
        source.addRow(first);
        source.addRow(second);
        const QString sPath = ftlPath(QStringLiteral("EVEl20240105093000.ftl"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), sPath));
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 0);
        QVERIFY(source.logged(QStringLiteral("Event file run stopped at row 1: it stays for the next run")));

        QVERIFY(QFile::remove(sPath));
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 3);
        QCOMPARE(fileText(sPath), header(QStringLiteral("20240105081500"))
                                      + lines({"42,20240105081500,,20,2,2", "42,20240105081600,,20,2,2"}));
    }

    void unopenableFileLosesOnlyThatCall()
    {
        CFakeClock clock;
        CFakeFileSource source;
        QDir(m_root.path() + QStringLiteral("/var/log/FTL")).removeRecursively();
        CLogCOP first = copEntry(0);
        source.addRow(first);
        CEventFileRun(source).GetAutoLogbookData(false);
        QCOMPARE(source.gsm.iNextLogbookRowID(), 2);
        bool bWarned = false;
        for (const CLogLine &line : source.aLines)
            bWarned |= line.sText.startsWith(QStringLiteral("cannot open file ")) && line.eLevel == CLogLine::Warning;
        QVERIFY(bWarned);
    }
};

QTEST_GUILESS_MAIN(TestEventFile)
#include "tst_eventfile.moc"
