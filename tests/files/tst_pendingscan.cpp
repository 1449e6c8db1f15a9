#include "controller/ctransfertypes.h"
#include "files/cpendinglistings.h"
#include "files/cpendingscan.h"
#include "records/ccommrecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CLogLine)

namespace {

const QString sFtl = QStringLiteral("/var/log/FTL");
const QString sMbx = QStringLiteral("/var/log/log_tx");

// Listings written as "pattern:name,name;pattern:name" for compact tables.
CPendingListings listingsOf(const QString &sListing)
{
    CPendingListings listings;
    listings.sFtlDirectory = sFtl;
    listings.sMailboxDirectory = sMbx;
    const QStringList asParts = sListing.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &sPart : asParts) {
        const QString sPattern = sPart.section(QLatin1Char(':'), 0, 0);
        const QStringList asNames = sPart.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (int i = 0; i < PatternCount; ++i) {
            if (pendingPatternText(EPendingPattern(i)) == sPattern)
                listings.aNames[i] = asNames;
        }
    }
    return listings;
}

QStringList textsOf(const QList<CLogLine> &aLog)
{
    QStringList asTexts;
    for (const CLogLine &line : aLog) {
        if (line.eLevel != CLogLine::Debug)
            asTexts << QStringLiteral("WARNING ") + line.sText;
        else
            asTexts << line.sText;
    }
    return asTexts;
}

void touch(const QString &sPath)
{
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestPendingScan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    void fixedOrder_data()
    {
        QTest::addColumn<QString>("sListings");
        QTest::addColumn<int>("iWantType");
        QTest::addColumn<QString>("sWantFile");
        QTest::addColumn<QStringList>("asWantLog");
        const QString sAll = "EVE*:EVEl1.ftl;MTR*:MTR1d1.ftl;LEV*:LEVl1.ftl;gps*:gps_1;TK_Data_*:TK_Data_1;"
                             "TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1;Tankora_*.log.tar.gz:Tankora_1.log.tar.gz;"
                             "*:a,b,.,..";
        QTest::newRow("event first") << sAll << 2 << "/var/log/FTL/EVEl1.ftl"
                                     << QStringList{"CheckPendingEventFiles() file found:  \"/var/log/FTL/EVEl1.ftl\"",
                                                    "Start event file transfer"};
        QTest::newRow("meter before level")
            << "MTR*:MTR1d1.ftl;LEV*:LEVl1.ftl;gps*:gps_1" << 3 << "/var/log/FTL/MTR1d1.ftl"
            << QStringList{"CheckPendingDeliveryFiles() file found:  \"/var/log/FTL/MTR1d1.ftl\"",
                           "Start event file transfer"};
        QTest::newRow("level when no meter file")
            << "LEV*:LEVl1.ftl;gps*:gps_1" << 3 << "/var/log/FTL/LEVl1.ftl"
            << QStringList{"CheckPendingDeliveryFiles() file found:  \"/var/log/FTL/LEVl1.ftl\"",
                           "Start event file transfer"};
        QTest::newRow("GPS after delivery")
            << "gps*:gps_1;TK_Data_*:TK_Data_1" << 1 << "/var/log/FTL/gps_1"
            << QStringList{"CheckPendingGPSFiles() file found:  \"/var/log/FTL/gps_1\"", "Start GPS file transfer"};
        QTest::newRow("data test file")
            << "TK_Data_*:TK_Data_1;TK_Service_*:TK_Service_1" << 6 << "/var/log/FTL/TK_Data_1"
            << QStringList{"CheckPendingDataTestFiles() file found:  \"/var/log/FTL/TK_Data_1\"",
                           "Start data test file transfer"};
        QTest::newRow("service test file")
            << "TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1" << 7 << "/var/log/FTL/TK_Service_1"
            << QStringList{"CheckPendingServiceTestFiles() file found:  \"/var/log/FTL/TK_Service_1\"",
                           "Start service test file transfer"};
        QTest::newRow("update test file")
            << "TK_Update_*:TK_Update_1;Tankora_*.log.tar.gz:Tankora_1.log.tar.gz" << 8 << "/var/log/FTL/TK_Update_1"
            << QStringList{"CheckPendingUpdateTestFiles() file found:  \"/var/log/FTL/TK_Update_1\"",
                           "Start update test file transfer"};
        QTest::newRow("log archive before mailbox")
            << "Tankora_*.log.tar.gz:Tankora_1.log.tar.gz;*:a,b,.,.." << 5 << "/var/log/FTL/Tankora_1.log.tar.gz"
            << QStringList{"CheckPendingLogFiles() file found:  \"/var/log/FTL/Tankora_1.log.tar.gz\"",
                           "Start log file transfer"};
        QTest::newRow("mailbox takes its last entry")
            << "*:a,b,.,.." << 5 << "/var/log/log_tx/b"
            << QStringList{"CheckPendingMbxFiles() file found:  \"/var/log/log_tx/b\"", "Start log file transfer"};
        QTest::newRow("first of several event files")
            << "EVE*:eve_x,EVEl2.ftl" << 2 << "/var/log/FTL/eve_x"
            << QStringList{"CheckPendingEventFiles() file found:  \"/var/log/FTL/eve_x\"", "Start event file transfer"};
        QTest::newRow("GPS not packed, later one packed")
            << "gps*:gps_20240101,gps_20240102.gz" << 1 << "/var/log/FTL/gps_20240101"
            << QStringList{"CheckPendingGPSFiles() file found:  \"/var/log/FTL/gps_20240101\"",
                           "Start GPS file transfer"};
        QTest::newRow("packed GPS first hides the rest")
            << "gps*:gps_20240101.gz,gps_20240102;TK_Data_*:TK_Data_1" << 6 << "/var/log/FTL/TK_Data_1"
            << QStringList{"CheckPendingDataTestFiles() file found:  \"/var/log/FTL/TK_Data_1\"",
                           "Start data test file transfer"};
        QTest::newRow("packed test is case-sensitive")
            << "gps*:gps_20240101.GZ" << 1 << "/var/log/FTL/gps_20240101.GZ"
            << QStringList{"CheckPendingGPSFiles() file found:  \"/var/log/FTL/gps_20240101.GZ\"",
                           "Start GPS file transfer"};
    }
    void fixedOrder()
    {
        QFETCH(QString, sListings);
        QFETCH(int, iWantType);
        QFETCH(QString, sWantFile);
        QFETCH(QStringList, asWantLog);
        CTransferRequests requests;
        const CNextTransfer next = GetNextTransfer(requests, CServerSwitches(true, true, true), [] { return false; },
                                                   listingsOf(sListings), false, false, true);
        QVERIFY(next.bFound);
        QCOMPARE(next.iType, iWantType);
        QCOMPARE(next.sFileName, sWantFile);
        QCOMPARE(textsOf(next.aLog), asWantLog);
    }

    void nothingPending_data()
    {
        QTest::addColumn<QString>("sListings");
        QTest::addColumn<bool>("bLtServer");
        QTest::addColumn<bool>("bVpn");
        QTest::addColumn<bool>("bWantFound");
        QTest::addColumn<int>("iWantType");
        QTest::newRow("empty") << "" << false << false << false << 0;
        QTest::newRow("only a packed GPS file") << "gps*:gps_20240101.gz,gps_20240102" << false << false << false << 0;
        QTest::newRow("mailbox with dot entries only") << "*:.,.." << false << false << false << 0;
        QTest::newRow("mailbox listing shorter than two") << "*:a" << false << false << false << 0;
        QTest::newRow("LT server keeps the link") << "" << true << false << true << 11;
        QTest::newRow("VPN keeps the link") << "" << false << true << true << 12;
        QTest::newRow("LT server before VPN") << "" << true << true << true << 11;
        QTest::newRow("a file before the LT server") << "*:a,b,.,.." << true << true << true << 5;
    }
    void nothingPending()
    {
        QFETCH(QString, sListings);
        QFETCH(bool, bLtServer);
        QFETCH(bool, bVpn);
        QFETCH(bool, bWantFound);
        QFETCH(int, iWantType);
        CTransferRequests requests;
        const CNextTransfer next = GetNextTransfer(requests, CServerSwitches(true, true, true), [] { return false; },
                                                   listingsOf(sListings), bLtServer, bVpn, false);
        QCOMPARE(next.bFound, bWantFound);
        QCOMPARE(next.iType, iWantType);
        if (iWantType != TransferLog)
            QVERIFY(next.sFileName.isEmpty());
    }

    void disabledKindStopsTheScan_data()
    {
        QTest::addColumn<QString>("sListings");
        QTest::addColumn<bool>("bData");
        QTest::addColumn<bool>("bService");
        QTest::addColumn<bool>("bUpdate");
        QTest::addColumn<QStringList>("asWantLog");
        QTest::newRow("event file while data is off, test files behind it")
            << "EVE*:EVEl1.ftl;TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1" << false << true << true
            << QStringList{"CheckPendingEventFiles() file found:  \"/var/log/FTL/EVEl1.ftl\"",
                           "File transfer is disabled"};
        QTest::newRow("GPS while data is off")
            << "gps*:gps_1;TK_Service_*:TK_Service_1" << false << true << true
            << QStringList{"CheckPendingGPSFiles() file found:  \"/var/log/FTL/gps_1\"", "Gps data transfer is disabled"};
        QTest::newRow("service test while service is off")
            << "TK_Service_*:TK_Service_1;Tankora_*.log.tar.gz:Tankora_1.log.tar.gz" << true << false << true
            << QStringList{"CheckPendingServiceTestFiles() file found:  \"/var/log/FTL/TK_Service_1\"",
                           "File transfer is disabled"};
        QTest::newRow("update test while update is off")
            << "TK_Update_*:TK_Update_1;*:a,b,.,.." << true << true << false
            << QStringList{"CheckPendingUpdateTestFiles() file found:  \"/var/log/FTL/TK_Update_1\"",
                           "File transfer is disabled"};
        QTest::newRow("mailbox while data is off")
            << "*:a,b,.,.." << false << true << true
            << QStringList{"CheckPendingMbxFiles() file found:  \"/var/log/log_tx/b\"", "File transfer is disabled"};
    }
    void disabledKindStopsTheScan()
    {
        QFETCH(QString, sListings);
        QFETCH(bool, bData);
        QFETCH(bool, bService);
        QFETCH(bool, bUpdate);
        QFETCH(QStringList, asWantLog);
        CTransferRequests requests;
        // A disabled kind does not fall through to link keeping either.
        const CNextTransfer next = GetNextTransfer(requests, CServerSwitches(bData, bService, bUpdate),
                                                   [] { return false; }, listingsOf(sListings), true, true, true);
        QVERIFY(!next.bFound);
        QCOMPARE(next.iType, 0);
        QVERIFY(next.sFileName.isEmpty());
        QCOMPARE(textsOf(next.aLog), asWantLog);
    }

    void requests_data()
    {
        QTest::addColumn<bool>("bInfo");
        QTest::addColumn<bool>("bGui");
        QTest::addColumn<bool>("bSw");
        QTest::addColumn<bool>("bService");
        QTest::addColumn<bool>("bUpdate");
        QTest::addColumn<bool>("bConsume");
        QTest::addColumn<bool>("bWantFound");
        QTest::addColumn<int>("iWantType");
        QTest::addColumn<QStringList>("asWantLog");
        QTest::addColumn<bool>("bWantInfo");
        QTest::addColumn<bool>("bWantGui");
        QTest::addColumn<bool>("bWantSw");
        QTest::newRow("info file, looked at") << true << true << true << true << true << false << true << 10
                                              << QStringList{"Start software info file"} << true << true << true;
        QTest::newRow("info file, taken") << true << true << true << true << true << true << true << 10
                                          << QStringList{"Start software info file"} << false << true << true;
        QTest::newRow("info file, service off")
            << true << true << false << false << true << false << false << 0
            << QStringList{"info file trigger ignored"} << false << true << false;
        QTest::newRow("look-up from the operator interface, taken")
            << false << true << true << true << true << true << true << 9
            << QStringList{"Start software update search triggered by GUI"} << false << false << true;
        QTest::newRow("look-up from the operator interface, looked at")
            << false << true << false << true << true << false << true << 9
            << QStringList{"Start software update search triggered by GUI"} << false << true << false;
        QTest::newRow("look-up from the operator interface, update off")
            << false << true << true << true << false << false << false << 0
            << QStringList{"software update search trigger ignored"} << false << false << true;
        QTest::newRow("look-up trigger, taken") << false << false << true << true << true << true << true << 9
                                                << QStringList{} << false << false << false;
        QTest::newRow("look-up trigger, looked at") << false << false << true << true << true << false << true << 9
                                                    << QStringList{} << false << false << true;
        QTest::newRow("look-up trigger, update off")
            << false << false << true << true << false << true << false << 0
            << QStringList{"software update search trigger ignored"} << false << false << false;
    }
    void requests()
    {
        QFETCH(bool, bInfo);
        QFETCH(bool, bGui);
        QFETCH(bool, bSw);
        QFETCH(bool, bService);
        QFETCH(bool, bUpdate);
        QFETCH(bool, bConsume);
        QFETCH(bool, bWantFound);
        QFETCH(int, iWantType);
        QFETCH(QStringList, asWantLog);
        QFETCH(bool, bWantInfo);
        QFETCH(bool, bWantGui);
        QFETCH(bool, bWantSw);
        CTransferRequests requests;
        requests.bInfoFileRequested = bInfo;
        requests.bSwUpdateGuiRequested = bGui;
        requests.bSwUpdateRequested = bSw;
        int iScheduleAsked = 0;
        // Files wait too: a request comes before them.
        const CNextTransfer next = GetNextTransfer(
            requests, CServerSwitches(true, bService, bUpdate),
            [&iScheduleAsked] {
                ++iScheduleAsked;
                return true;
            },
            listingsOf("EVE*:EVEl1.ftl"), true, true, bConsume);
        QCOMPARE(next.bFound, bWantFound);
        QCOMPARE(next.iType, iWantType);
        QVERIFY(next.sFileName.isEmpty());
        QCOMPARE(textsOf(next.aLog), asWantLog);
        QCOMPARE(requests.bInfoFileRequested, bWantInfo);
        QCOMPARE(requests.bSwUpdateGuiRequested, bWantGui);
        QCOMPARE(requests.bSwUpdateRequested, bWantSw);
        QCOMPARE(iScheduleAsked, 0);
    }

    void lookAtThenTake()
    {
        CTransferRequests requests;
        requests.bInfoFileRequested = true;
        const CPendingListings listings = listingsOf("");
        const CNextTransfer first =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listings, false, false, false);
        QVERIFY(requests.bInfoFileRequested);
        const CNextTransfer second =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listings, false, false, true);
        QCOMPARE(second.bFound, first.bFound);
        QCOMPARE(second.iType, first.iType);
        QVERIFY(!requests.bInfoFileRequested);
        const CNextTransfer third =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listings, false, false, true);
        QVERIFY(!third.bFound);
    }

    void scheduledLookup_data()
    {
        QTest::addColumn<bool>("bUpdate");
        QTest::addColumn<bool>("bDue");
        QTest::addColumn<int>("iWantAsked");
        QTest::addColumn<int>("iWantType");
        QTest::addColumn<QStringList>("asWantLog");
        QTest::newRow("due") << true << true << 1 << 9 << QStringList{"Start software update search"};
        QTest::newRow("not due: files follow")
            << true << false << 1 << 2
            << QStringList{"CheckPendingEventFiles() file found:  \"/var/log/FTL/EVEl1.ftl\"",
                           "Start event file transfer"};
        QTest::newRow("update off: schedule not asked")
            << false << true << 0 << 2
            << QStringList{"CheckPendingEventFiles() file found:  \"/var/log/FTL/EVEl1.ftl\"",
                           "Start event file transfer"};
    }
    void scheduledLookup()
    {
        QFETCH(bool, bUpdate);
        QFETCH(bool, bDue);
        QFETCH(int, iWantAsked);
        QFETCH(int, iWantType);
        QFETCH(QStringList, asWantLog);
        CTransferRequests requests;
        int iAsked = 0;
        const CNextTransfer next = GetNextTransfer(
            requests, CServerSwitches(true, true, bUpdate),
            [&iAsked, bDue] {
                ++iAsked;
                return bDue;
            },
            listingsOf("EVE*:EVEl1.ftl"), false, false, true);
        QCOMPARE(iAsked, iWantAsked);
        QVERIFY(next.bFound);
        QCOMPARE(next.iType, iWantType);
        QCOMPARE(textsOf(next.aLog), asWantLog);
    }

    void serverSwitchesFromDomains_data()
    {
        QTest::addColumn<QString>("sData");
        QTest::addColumn<QString>("sService");
        QTest::addColumn<QString>("sUpdate");
        QTest::addColumn<bool>("bWantData");
        QTest::addColumn<bool>("bWantService");
        QTest::addColumn<bool>("bWantUpdate");
        QTest::newRow("all set") << "ftp.example.org" << "sv" << "up.example.org" << true << true << true;
        QTest::newRow("one character is off") << "x" << "" << "ab" << false << false << true;
        QTest::newRow("all empty") << "" << "" << "" << false << false << false;
    }
    void serverSwitchesFromDomains()
    {
        QFETCH(QString, sData);
        QFETCH(QString, sService);
        QFETCH(QString, sUpdate);
        QFETCH(bool, bWantData);
        QFETCH(bool, bWantService);
        QFETCH(bool, bWantUpdate);
        CSetGsmGprsFtpData oData;
        CSetGsmGprsFtpService oService;
        CSetGsmGprsFtpUpdate oUpdate;
        oData.setDomain(sData);
        oService.setDomain(sService);
        oUpdate.setDomain(sUpdate);
        const CServerSwitches servers = serverSwitches(oData, oService, oUpdate);
        QCOMPARE(servers.bData, bWantData);
        QCOMPARE(servers.bService, bWantService);
        QCOMPARE(servers.bUpdate, bWantUpdate);
        QCOMPARE(servers.sDataDomain, sData);
    }

    void realDirectories()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString sFtlDir = root.filePath(QStringLiteral("var/log/FTL"));
        const QString sMbxDir = root.filePath(QStringLiteral("var/log/log_tx"));
        QVERIFY(QDir().mkpath(sFtlDir));
        QVERIFY(QDir().mkpath(sMbxDir));
        for (const char *pName : {"EVEl2.ftl", "eve_x", "gps_20240101.gz", "gps_20240102", "MTR_1", "LEV_1",
                                  "lev_0", "TK_Data_20240101", "tk_data_20231231", "Tankora_7.log.tar.gz",
                                  "tankora_1.LOG.TAR.GZ", "Tankora_2.log", "xEVE"})
            touch(sFtlDir + QLatin1Char('/') + QLatin1String(pName));
        QVERIFY(QDir(sFtlDir).mkdir(QStringLiteral("EVE_dir")));
        for (const char *pName : {"b", "a", ".partial"})
            touch(sMbxDir + QLatin1Char('/') + QLatin1String(pName));

        qputenv("FTP_DATA_ROOT", root.path().toUtf8());
        const CPendingListings listings = listPendingFiles();
        qunsetenv("FTP_DATA_ROOT");

        QCOMPARE(listings.sFtlDirectory, sFtlDir);
        QCOMPARE(listings.sMailboxDirectory, sMbxDir);
        // Case-insensitive match and order, directories after files.
        QCOMPARE(listings.aNames[PatternEvent], (QStringList{"eve_x", "EVEl2.ftl", "EVE_dir"}));
        QCOMPARE(listings.aNames[PatternGps], (QStringList{"gps_20240101.gz", "gps_20240102"}));
        QCOMPARE(listings.aNames[PatternMeter], (QStringList{"MTR_1"}));
        QCOMPARE(listings.aNames[PatternLevel], (QStringList{"lev_0", "LEV_1"}));
        QCOMPARE(listings.aNames[PatternDataTest], (QStringList{"tk_data_20231231", "TK_Data_20240101"}));
        QCOMPARE(listings.aNames[PatternLog], (QStringList{"tankora_1.LOG.TAR.GZ", "Tankora_7.log.tar.gz"}));
        QVERIFY(listings.aNames[PatternServiceTest].isEmpty());
        // Dot entries are listed, hidden files are not.
        QCOMPARE(listings.aNames[PatternMailbox], (QStringList{"a", "b", ".", ".."}));

        CTransferRequests requests;
        const CNextTransfer next =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listings, false, false, true);
        QCOMPARE(next.iType, int(TransferEvent));
        QCOMPARE(next.sFileName, sFtlDir + QStringLiteral("/eve_x"));

        QString sFileName;
        CLogLine found;
        QVERIFY(!checkPending(PendingGps, listings, sFileName, found));
        QVERIFY(sFileName.isEmpty());
        QVERIFY(checkPending(PendingMailbox, listings, sFileName, found));
        QCOMPARE(sFileName, sMbxDir + QStringLiteral("/b"));
        QCOMPARE(found.sText, QStringLiteral("CheckPendingMbxFiles() file found:  \"") + sMbxDir +
                                  QStringLiteral("/b\""));
    }

    void onlyDirectoryWaiting()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(QDir(root.path()).mkdir(QStringLiteral("EVE_old")));
        const CPendingListings listings = listPendingFiles(root.path(), root.filePath(QStringLiteral("missing")));
        QCOMPARE(listings.aNames[PatternEvent], QStringList{"EVE_old"});
        QVERIFY(listings.aNames[PatternMailbox].isEmpty());
        QString sFileName;
        CLogLine found;
        QVERIFY(checkPending(PendingEvent, listings, sFileName, found));
        QCOMPARE(sFileName, root.path() + QStringLiteral("/EVE_old"));
    }

    void missingDirectories()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const CPendingListings listings =
            listPendingFiles(root.filePath(QStringLiteral("no/FTL")), root.filePath(QStringLiteral("no/log_tx")));
        for (const QStringList &asNames : listings.aNames)
            QVERIFY(asNames.isEmpty());
        CTransferRequests requests;
        const CNextTransfer next =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listings, false, false, false);
        QVERIFY(!next.bFound);
        QVERIFY(next.aLog.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPendingScan)
#include "tst_pendingscan.moc"
