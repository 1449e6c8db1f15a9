#include "controller/ctransfertypes.h"
#include "files/ctestfiles.h"
#include "tests/files/blankftlheader.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

namespace
{

// The vehicle's zone is an hour ahead: 09:30 UTC names the files 10:30.
const QString sLocalStamp = QStringLiteral("20240105103000");

void setLrpSerial(CFakeFileSource &source, const QString &sSerial)
{
    CRunGeneralWM lrp;
    lrp.setField(1, sSerial);
    source.runGeneralWM = lrp;
    source.general.setField(71, QStringLiteral("CET-1"));
}

} // namespace

class TestTestFiles : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString ftlPath(const QString &sName) const { return m_sandbox.path("/var/log/FTL/" + sName); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init()
    {
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/lib")));
        QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL")));
    }

    void prefixes_data()
    {
        QTest::addColumn<int>("iType");
        QTest::addColumn<QString>("sPrefix");
        QTest::newRow("data") << int(TransferDataTest) << "/TK_Data_";
        QTest::newRow("log file") << int(TransferLog) << "";
    }
    void prefixes()
    {
        QFETCH(int, iType);
        QFETCH(QString, sPrefix);
        QCOMPARE(testFilePrefix(iType), sPrefix);
    }

    void headerOnlyWithoutTemplate()
    {
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        const QString sPath = CreateTestFile(source, QStringLiteral("/TK_Data_"));
        QCOMPARE(sPath, ftlPath("TK_Data_LRP-0017_20240105103000.tst"));
        QCOMPARE(fileBytes(sPath), blankFtlHeader(sLocalStamp));
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("New data test file created:\"%1\", size%2")
                                                       .arg(sPath)
                                                       .arg(blankFtlHeader(sLocalStamp).size()))));
    }

    // One trigger with all three kinds copies the template three times; a
    // file of that name made earlier in the same second is kept and sent.
    void copiesOfTheTemplate()
    {
        const QByteArray baTemplate = QByteArrayLiteral("0,20200101000000,1.00\r\nfrom the installation\r\n");
        QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/lib/Tankora")));
        QFile file(m_sandbox.path(QStringLiteral("/var/lib/Tankora/Eve.ftl")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(baTemplate) == baTemplate.size());
        file.close();
        QFile earlier(ftlPath("TK_Data_LRP-0017_" + sLocalStamp + ".tst"));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier\r\n") == 9);
        earlier.close();
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        for (const QString &sKind : {QStringLiteral("Data"), QStringLiteral("Service"), QStringLiteral("Update")}) {
            const QString sPath = CreateTestFile(source, "/TK_" + sKind + "_");
            QCOMPARE(sPath, ftlPath("TK_" + sKind + "_LRP-0017_" + sLocalStamp + ".tst"));
            QCOMPARE(fileBytes(sPath), sKind == "Data" ? QByteArray("earlier\r\n") : baTemplate);
            QVERIFY(source.aLines.contains(
                debugLine(QStringLiteral("new %1 test file copied: \"%2\"").arg(sKind.toLower(), sPath))));
        }
        QCOMPARE(QDir(ftlPath("")).entryList(QDir::Files).size(), 3);
    }

    void serialInTheName_data()
    {
        QTest::addColumn<bool>("bReadable");
        QTest::addColumn<QString>("sSerial");
        QTest::addColumn<QString>("sName");
        QTest::newRow("unreadable") << false << ""
                                    << "TK_Data_unknown_20240105093000.tst";
        QTest::newRow("climbs out") << true << "../../../etc/cron.d/x"
                                    << "TK_Data_______etc_cron.d_x_20240105103000.tst";
    }
    void serialInTheName()
    {
        QFETCH(bool, bReadable);
        QFETCH(QString, sSerial);
        QFETCH(QString, sName);
        CFakeFileSource source;
        if (bReadable)
            setLrpSerial(source, sSerial);
        const QString sPath = CreateTestFile(source, QStringLiteral("/TK_Data_"));
        QCOMPARE(sPath, ftlPath(sName));
        QVERIFY(QFile::exists(sPath));
    }

    void creationFails_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<QString>("sWarning");
        QTest::newRow("no FTL directory") << "/TK_Service_"
                                          << "Error creating file \"<dir>/TK_Service_LRP-0017_20240105103000.tst\"";
        QTest::newRow("unknown prefix") << "/TK_Other_"
                                        << "unknown test file prefix \"/TK_Other_\"";
    }
    void creationFails()
    {
        QFETCH(QString, sPrefix);
        QFETCH(QString, sWarning);
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        if (sPrefix == "/TK_Service_")
            QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        QCOMPARE(CreateTestFile(source, sPrefix), QString());
        QVERIFY(source.aLines.contains(warningLine(sWarning.replace("<dir>", m_sandbox.path("/var/log/FTL")))));
        QVERIFY(QDir(ftlPath("")).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTestFiles)
#include "tst_testfiles.moc"
