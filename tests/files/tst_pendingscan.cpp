#include "controller/ctransfertypes.h"
#include "files/cpendinglistings.h"
#include "files/cpendingscan.h"
#include "records/ccommrecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Listings written as "pattern:name,name;pattern:name" for compact tables.
CPendingListings listingsOf(const QString &sListing)
{
    CPendingListings listings;
    listings.sFtlDirectory = QStringLiteral("/var/log/FTL");
    listings.sMailboxDirectory = QStringLiteral("/var/log/log_tx");
    for (const QString &sPart : sListing.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        for (int i = 0; i < PatternCount; ++i) {
            if (pendingPatternText(EPendingPattern(i)) == sPart.section(QLatin1Char(':'), 0, 0))
                listings.aNames[i] = sPart.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        }
    }
    return listings;
}

// Every line of the look-up is a debug line; a warning would show.
QStringList textsOf(const QList<CLogLine> &aLog)
{
    QStringList asTexts;
    for (const CLogLine &line : aLog)
        asTexts << (line.eLevel == CLogLine::Debug ? QString() : QStringLiteral("WARNING ")) + line.sText;
    return asTexts;
}

QString foundLine(const QString &sScan, const QString &sPath)
{
    return QStringLiteral("CheckPending%1Files() file found:  \"%2\"").arg(sScan, sPath);
}

// sOff names the servers switched off (d, s, u); bKeepLink stands for both
// the LT server and the VPN; type 0 is nothing to do.
struct CScanCase {
    QString sListings, sOff;
    bool bKeepLink;
    int iType;
    QString sPath, sScan, sMessage;
};

// The info (i), operator (g) and trigger (s) requests set before and left
// after; how often the schedule was asked.
struct CAskCase {
    QString sFlags;
    bool bService, bUpdate, bConsume, bDue;
    int iType;
    QStringList asLog;
    QString sLeft;
    int iAsked;
};

} // namespace

Q_DECLARE_METATYPE(CScanCase)
Q_DECLARE_METATYPE(CAskCase)

class TestPendingScan : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    // The waiting files in their fixed order. A file of a disabled kind
    // stops the scan, even before the link keeping.
    void nextFile_data()
    {
        QTest::addColumn<CScanCase>("c");
        auto row = [](const char *pName, const CScanCase &c) { QTest::newRow(pName) << c; };
        const QString sFtl = QStringLiteral("/var/log/FTL/");
        const QString sMbx = QStringLiteral("/var/log/log_tx/b");
        const QString sAll = "EVE*:EVEl1.ftl;MTR*:MTR1d1.ftl;LEV*:LEVl1.ftl;gps*:gps_1;TK_Data_*:TK_Data_1;"
                             "TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1;"
                             "Tankora_*.log.tar.gz:Tankora_1.log.tar.gz;*:a,b,.,..";
        row("event first", {sAll, "", false, 2, sFtl + "EVEl1.ftl", "Event", "Start event file transfer"});
        row("first of several",
            {"EVE*:eve_x,EVEl2.ftl", "", false, 2, sFtl + "eve_x", "Event", "Start event file transfer"});
        row("meter before level", {"MTR*:MTR1d1.ftl;LEV*:LEVl1.ftl;gps*:gps_1", "", false, 3, sFtl + "MTR1d1.ftl",
                                   "Delivery", "Start event file transfer"});
        row("level without meter",
            {"LEV*:LEVl1.ftl;gps*:gps_1", "", false, 3, sFtl + "LEVl1.ftl", "Delivery", "Start event file transfer"});
        row("GPS before data test",
            {"gps*:gps_1;TK_Data_*:TK_Data_1", "", false, 1, sFtl + "gps_1", "GPS", "Start GPS file transfer"});
        row("packed GPS first hides the rest", {"gps*:gps_20240101.gz,gps_20240102;TK_Data_*:TK_Data_1", "", false, 6,
                                                sFtl + "TK_Data_1", "DataTest", "Start data test file transfer"});
        row("service test before update test",
            {"TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1", "", false, 7, sFtl + "TK_Service_1", "ServiceTest",
             "Start service test file transfer"});
        row("update test before log", {"TK_Update_*:TK_Update_1;Tankora_*.log.tar.gz:Tankora_1.log.tar.gz", "", false,
                                       8, sFtl + "TK_Update_1", "UpdateTest", "Start update test file transfer"});
        row("log archive before mailbox", {"Tankora_*.log.tar.gz:Tankora_1.log.tar.gz;*:a,b,.,..", "", false, 5,
                                           sFtl + "Tankora_1.log.tar.gz", "Log", "Start log file transfer"});
        row("mailbox takes its last entry", {"*:a,b,.,..", "", false, 5, sMbx, "Mbx", "Start log file transfer"});
        row("a file before the link keeping", {"*:a,b,.,..", "", true, 5, sMbx, "Mbx", "Start log file transfer"});
        row("nothing", {"", "", false, 0, "", "", ""});
        row("mailbox with dot entries only", {"*:.,..", "", false, 0, "", "", ""});
        row("LT server before VPN", {"", "", true, 11, "", "", ""});
        row("event file, data off, test files behind",
            {"EVE*:EVEl1.ftl;TK_Service_*:TK_Service_1;TK_Update_*:TK_Update_1", "d", true, 0, sFtl + "EVEl1.ftl",
             "Event", "File transfer is disabled"});
        row("GPS, data off", {"gps*:gps_1;TK_Service_*:TK_Service_1", "d", true, 0, sFtl + "gps_1", "GPS",
                              "Gps data transfer is disabled"});
        row("service test, service off", {"TK_Service_*:TK_Service_1;Tankora_*.log.tar.gz:Tankora_1.log.tar.gz", "s",
                                          true, 0, sFtl + "TK_Service_1", "ServiceTest", "File transfer is disabled"});
        row("update test, update off", {"TK_Update_*:TK_Update_1;*:a,b,.,..", "u", true, 0, sFtl + "TK_Update_1",
                                        "UpdateTest", "File transfer is disabled"});
        row("mailbox, data off", {"*:a,b,.,..", "d", true, 0, sMbx, "Mbx", "File transfer is disabled"});
    }
    void nextFile()
    {
        QFETCH(CScanCase, c);
        CTransferRequests requests;
        const CServerSwitches servers(!c.sOff.contains('d'), !c.sOff.contains('s'), !c.sOff.contains('u'));
        const CNextTransfer next = GetNextTransfer(
            requests, servers, [] { return false; }, listingsOf(c.sListings), c.bKeepLink, c.bKeepLink, true);
        QCOMPARE(next.bFound, c.iType != 0);
        QCOMPARE(next.iType, c.iType);
        QCOMPARE(next.sFileName, c.iType == 0 || c.iType > 10 ? QString() : c.sPath);
        QCOMPARE(textsOf(next.aLog),
                 c.sScan.isEmpty() ? QStringList() : (QStringList{foundLine(c.sScan, c.sPath), c.sMessage}));
    }

    void vpnKeepsTheLink()
    {
        CTransferRequests requests;
        const CNextTransfer next =
            GetNextTransfer(requests, CServerSwitches(true, true, true), {}, listingsOf(""), false, true, false);
        QVERIFY(next.bFound);
        QCOMPARE(next.iType, 12);
    }

    // Requests come before the schedule and before waiting files.
    void requests_data()
    {
        QTest::addColumn<CAskCase>("c");
        const QStringList asInfo{"Start software info file"};
        const QStringList asGui{"Start software update search triggered by GUI"};
        const QStringList asSwIgnored{"software update search trigger ignored"};
        const QStringList asEvent{foundLine("Event", "/var/log/FTL/EVEl1.ftl"), "Start event file transfer"};
        QTest::newRow("info, looked at") << CAskCase{"igs", true, true, false, true, 10, asInfo, "igs", 0};
        QTest::newRow("info, taken") << CAskCase{"igs", true, true, true, true, 10, asInfo, "gs", 0};
        QTest::newRow("info, service off")
            << CAskCase{"ig", false, true, false, true, 0, {"info file trigger ignored"}, "g", 0};
        QTest::newRow("operator, taken") << CAskCase{"gs", true, true, true, true, 9, asGui, "s", 0};
        QTest::newRow("operator, update off") << CAskCase{"gs", true, false, false, true, 0, asSwIgnored, "s", 0};
        QTest::newRow("trigger, taken") << CAskCase{"s", true, true, true, true, 9, {}, "", 0};
        QTest::newRow("trigger, update off") << CAskCase{"s", true, false, true, true, 0, asSwIgnored, "", 0};
        QTest::newRow("schedule due") << CAskCase{"", true, true, true, true, 9, {"Start software update search"},
                                                  "", 1};
        QTest::newRow("schedule not due") << CAskCase{"", true, true, true, false, 2, asEvent, "", 1};
        QTest::newRow("update off: schedule not asked") << CAskCase{"", true, false, true, true, 2, asEvent, "", 0};
    }
    void requests()
    {
        QFETCH(CAskCase, c);
        CTransferRequests requests;
        requests.bInfoFileRequested = c.sFlags.contains('i');
        requests.bSwUpdateGuiRequested = c.sFlags.contains('g');
        requests.bSwUpdateRequested = c.sFlags.contains('s');
        int iAsked = 0;
        const bool bDue = c.bDue;
        const CNextTransfer next = GetNextTransfer(
            requests, CServerSwitches(true, c.bService, c.bUpdate),
            [&iAsked, bDue] {
                ++iAsked;
                return bDue;
            },
            listingsOf("EVE*:EVEl1.ftl"), true, true, c.bConsume);
        QCOMPARE(next.bFound, c.iType != 0);
        QCOMPARE(next.iType, c.iType);
        QCOMPARE(next.sFileName, c.iType == 2 ? QStringLiteral("/var/log/FTL/EVEl1.ftl") : QString());
        QCOMPARE(textsOf(next.aLog), c.asLog);
        const QString sLeft = QString(requests.bInfoFileRequested ? "i" : "") +
                              (requests.bSwUpdateGuiRequested ? "g" : "") + (requests.bSwUpdateRequested ? "s" : "");
        QCOMPARE(sLeft, c.sLeft);
        QCOMPARE(iAsked, c.iAsked);
    }

    // Two characters of domain switch a server on; the data domain is kept
    // for the "ignored" message of the GPS trigger.
    void serverSwitchesFromDomains_data()
    {
        QTest::addColumn<QStringList>("asDomains");
        QTest::addColumn<QString>("sOn");
        QTest::newRow("service on") << QStringList{"x", "ab", ""} << "s";
        QTest::newRow("data on") << QStringList{"ab", "", "x"} << "d";
    }
    void serverSwitchesFromDomains()
    {
        QFETCH(QStringList, asDomains);
        QFETCH(QString, sOn);
        CSetGsmGprsFtpData oData;
        CSetGsmGprsFtpService oService;
        CSetGsmGprsFtpUpdate oUpdate;
        oData.setDomain(asDomains[0]);
        oService.setDomain(asDomains[1]);
        oUpdate.setDomain(asDomains[2]);
        const CServerSwitches servers = serverSwitches(oData, oService, oUpdate);
        QCOMPARE(QString(servers.bData ? "d" : "") + (servers.bService ? "s" : "") + (servers.bUpdate ? "u" : ""), sOn);
        QCOMPARE(servers.sDataDomain, asDomains[0]);
    }

    void realDirectories()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString sFtlDir = root.filePath(QStringLiteral("var/log/FTL"));
        const QString sMbxDir = root.filePath(QStringLiteral("var/log/log_tx"));
        QVERIFY(QDir().mkpath(sFtlDir + QStringLiteral("/EVE_dir")));
        QVERIFY(QDir().mkpath(sMbxDir));
        for (const char *pName :
             {"EVEl2.ftl", "eve_x", "gps_20240101.gz", "gps_20240102", "MTR_1", "LEV_1", "lev_0", "TK_Data_20240101",
              "tk_data_20231231", "Tankora_7.log.tar.gz", "tankora_1.LOG.TAR.GZ", "Tankora_2.log", "xEVE",
              "../log_tx/b", "../log_tx/a", "../log_tx/.partial"}) {
            QFile file(sFtlDir + QLatin1Char('/') + QLatin1String(pName));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        qputenv("FTP_DATA_ROOT", root.path().toUtf8());
        const CPendingListings listings = listPendingFiles();
        qunsetenv("FTP_DATA_ROOT");

        QCOMPARE(listings.sFtlDirectory, sFtlDir);
        QCOMPARE(listings.sMailboxDirectory, sMbxDir);
        // Case-insensitive match and order, directories after files; dot
        // entries are listed, hidden files are not.
        QStringList asListed;
        for (const QStringList &asNames : listings.aNames)
            asListed << asNames.join(QLatin1Char(','));
        QCOMPARE(asListed, (QStringList{"gps_20240101.gz,gps_20240102", "eve_x,EVEl2.ftl,EVE_dir",
                                        "tankora_1.LOG.TAR.GZ,Tankora_7.log.tar.gz", "a,b,.,..", "MTR_1", "lev_0,LEV_1",
                                        "tk_data_20231231,TK_Data_20240101", "", ""}));

        QString sFileName = QStringLiteral("untouched");
        CLogLine found;
        QVERIFY(!checkPending(PendingGps, listings, sFileName, found));
        QCOMPARE(sFileName, QStringLiteral("untouched"));
        QVERIFY(checkPending(PendingMailbox, listings, sFileName, found));
        QCOMPARE(sFileName, sMbxDir + QStringLiteral("/b"));
        QCOMPARE(found.sText, foundLine("Mbx", sMbxDir + QStringLiteral("/b")));
    }

    void missingDirectories()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const CPendingListings listings = listPendingFiles(root.filePath("no/FTL"), root.filePath("no/log_tx"));
        for (const QStringList &asNames : listings.aNames)
            QVERIFY(asNames.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPendingScan)
#include "tst_pendingscan.moc"
