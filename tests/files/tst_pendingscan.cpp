#include "files/cpendinglistings.h"
#include "records/ccommrecords.h"
#include "tests/support/crecordtext.h"
#include "tests/support/ctable.h"

#include <QDir>
#include <QTemporaryDir>

namespace
{
// "pattern:name,name;pattern:name"; "-" lists nothing.
CPendingListings listingsOf(const QString &sListing)
{
    CPendingListings listings;
    listings.sFtlDirectory = QStringLiteral("/var/log/FTL");
    listings.sMailboxDirectory = QStringLiteral("/var/log/log_tx");
    for (const QString &sPart : sListing.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        for (int i = 0; i < PatternCount; ++i)
            if (pendingPatternText(EPendingPattern(i)) == sPart.section(QLatin1Char(':'), 0, 0))
                listings.aNames[i] = sPart.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return listings;
}

CServerSwitches switchesOff(const QString &sOff)
{
    return CServerSwitches(!sOff.contains('d'), !sOff.contains('s'), !sOff.contains('u'));
}

} // namespace

class TestPendingScan : public QObject
{
    Q_OBJECT

  private slots:
    TABLE_TEST(nextFile, "pendingscan.tsv")
    {
        CTransferRequests requests;
        const CNextTransfer next = GetNextTransfer(
            requests, switchesOff(row[1]), [] { return false; }, listingsOf(row[0]), row[2].contains("LT"),
            row[2].contains("VPN"), true);
        const int iType = row[3].toInt();
        QCOMPARE(next.bFound, iType != 0);
        QCOMPARE(next.iType, iType);
        QCOMPARE(next.sFileName, iType == 0 || iType > 10 ? QString() : row.value(4));
        const QString sFound =
            QStringLiteral("CheckPending%1Files() file found:   \"%2\"").arg(row.value(5), row.value(4));
        // Every line of the look-up is a debug line.
        QCOMPARE(logText(next.aLog), row.size() > 5 ? "D " + sFound + " | D " + row[6] : QString());
    }

    TABLE_TEST(requests, "pendingscan.tsv")
    {
        CTransferRequests requests{row[0].contains('i'), row[0].contains('g'), row[0].contains('s')};
        int iAsked = 0;
        const bool bDue = row[3] == "1";
        const CNextTransfer next = GetNextTransfer(
            requests, switchesOff(row[1]), [&iAsked, bDue] { return ++iAsked, bDue; },
            listingsOf(QStringLiteral("EVE*:EVEl1.ftl")), true, true, row[2] == "1");
        QCOMPARE(next.iType, row[4].toInt());
        QCOMPARE(next.bFound, next.iType != 0);
        QCOMPARE(next.sFileName, next.iType == 2 ? QStringLiteral("/var/log/FTL/EVEl1.ftl") : QString());
        QCOMPARE(logText(next.aLog), row[5]);
        const QString sLeft = QString(requests.bInfoFileRequested ? "i" : "") +
                              (requests.bSwUpdateGuiRequested ? "g" : "") + (requests.bSwUpdateRequested ? "s" : "");
        QCOMPARE(sLeft.isEmpty() ? QStringLiteral("-") : sLeft, row[6]);
        QCOMPARE(iAsked, row[7].toInt());
    }

    TABLE_TEST(switches, "pendingscan.tsv")
    {
        const CServerSwitches servers =
            serverSwitches(recordWith<CSetGsmGprsFtpData>("1=" + row[0]), recordWith<CSetGsmGprsFtpService>("1=" + row[1]),
                           recordWith<CSetGsmGprsFtpUpdate>("1=" + row[2]));
        QCOMPARE(QString(servers.bData ? "d" : "") + (servers.bService ? "s" : "") + (servers.bUpdate ? "u" : ""),
                 row[3]);
        QCOMPARE(servers.sDataDomain, row[0]);
    }

    // Listed as the directory lists: names matched and sorted without regard
    // to case, directories after files, dot entries but no hidden files; a
    // missing directory lists nothing.
    void realDirectories()
    {
        QTemporaryDir root;
        const QString sFtl = root.filePath(QStringLiteral("var/log/FTL"));
        QVERIFY(QDir().mkpath(sFtl + QStringLiteral("/EVE_dir")) && QDir().mkpath(root.filePath("var/log/log_tx")));
        for (const char *pName :
             {"EVEl2.ftl", "eve_x", "gps_20240101.gz", "gps_20240102", "MTR_1", "LEV_1", "lev_0", "TK_Data_20240101",
              "tk_data_20231231", "Tankora_7.log.tar.gz", "tankora_1.LOG.TAR.GZ", "Tankora_2.log", "xEVE",
              "../log_tx/b", "../log_tx/a", "../log_tx/.partial"})
            QVERIFY(QFile(sFtl + QLatin1Char('/') + QLatin1String(pName)).open(QIODevice::WriteOnly));
        qputenv("FTP_DATA_ROOT", root.path().toUtf8());
        const CPendingListings listings = listPendingFiles();
        qunsetenv("FTP_DATA_ROOT");
        QStringList asListed;
        for (const QStringList &asNames : listings.aNames)
            asListed << asNames.join(QLatin1Char(','));
        QCOMPARE(asListed, (QStringList{"gps_20240101.gz,gps_20240102", "eve_x,EVEl2.ftl,EVE_dir",
                                        "tankora_1.LOG.TAR.GZ,Tankora_7.log.tar.gz", "a,b,.,..", "MTR_1", "lev_0,LEV_1",
                                        "tk_data_20231231,TK_Data_20240101", "", ""}));
        QString sFileName;
        CLogLine found;
        QVERIFY(checkPending(PendingMailbox, listings, sFileName, found));
        QCOMPARE(sFileName, root.filePath(QStringLiteral("var/log/log_tx/b")));
        for (const QStringList &asNames : listPendingFiles(root.filePath("no/FTL"), root.filePath("no/tx")).aNames)
            QVERIFY(asNames.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPendingScan)
#include "tst_pendingscan.moc"
