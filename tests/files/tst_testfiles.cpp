#include "controller/ctransfertypes.h"
#include "files/ctestfiles.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QFileInfo>
#include <QTest>

namespace {

// The header of a vehicle with no WM runtime and blank setups.
QByteArray headerOnly(const QString &sTs)
{
    return QStringLiteral("0,%1,1.00\r\n"
                          "1,%1,K.L. Ostrem,Tankora,,,,,1\r\n"
                          "2,%1,0,,\r\n"
                          "6,%1,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0\r\n"
                          "91,%1,1\r\n"
                          "92,%1,1\r\n")
        .arg(sTs)
        .toLatin1();
}

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

    QString ftlDir() const { return m_sandbox.path(QStringLiteral("/var/log/FTL")); }
    void installTemplate(const QByteArray &baContent) const
    {
        QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/lib/Tankora")));
        QFile file(m_sandbox.path(QStringLiteral("/var/lib/Tankora/Eve.ftl")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(baContent);
    }

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
        QTest::newRow("service") << int(TransferServiceTest) << "/TK_Service_";
        QTest::newRow("update") << int(TransferUpdateTest) << "/TK_Update_";
        QTest::newRow("log file") << int(TransferLog) << "";
        QTest::newRow("info file") << int(TransferInfo) << "";
    }
    void prefixes()
    {
        QFETCH(int, iType);
        QFETCH(QString, sPrefix);
        QCOMPARE(testFilePrefix(iType), sPrefix);
    }

    void headerOnlyWithoutTemplate_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<QString>("sName");
        QTest::addColumn<QString>("sKind");
        QTest::newRow("data") << "/TK_Data_" << "TK_Data_LRP-0017_20240105103000.tst" << "data";
        QTest::newRow("service") << "/TK_Service_" << "TK_Service_LRP-0017_20240105103000.tst" << "service";
        QTest::newRow("update") << "/TK_Update_" << "TK_Update_LRP-0017_20240105103000.tst" << "update";
    }
    void headerOnlyWithoutTemplate()
    {
        QFETCH(QString, sPrefix);
        QFETCH(QString, sName);
        QFETCH(QString, sKind);
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        const QString sPath = CreateTestFile(source, sPrefix);
        QCOMPARE(sPath, ftlDir() + QLatin1Char('/') + sName);
        const QByteArray baExpected = headerOnly(sLocalStamp);
        QCOMPARE(fileBytes(sPath), baExpected);
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("New %1 test file created:\"%2\", size%3")
                                                       .arg(sKind, sPath)
                                                       .arg(baExpected.size()))));
    }

    void copiesOfTheTemplate()
    {
        const QByteArray baTemplate = QByteArrayLiteral("0,20200101000000,1.00\r\nfrom the installation\r\n");
        installTemplate(baTemplate);
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        const QStringList asKinds{QStringLiteral("data"), QStringLiteral("service"), QStringLiteral("update")};
        const QStringList asPrefixes{QStringLiteral("/TK_Data_"), QStringLiteral("/TK_Service_"),
                                     QStringLiteral("/TK_Update_")};
        for (int i = 0; i < asPrefixes.size(); ++i) {
            const QString sPath = CreateTestFile(source, asPrefixes[i]);
            QCOMPARE(sPath, ftlDir() + asPrefixes[i] + QStringLiteral("LRP-0017_") + sLocalStamp + QStringLiteral(".tst"));
            QCOMPARE(fileBytes(sPath), baTemplate);
            QVERIFY(source.aLines.contains(
                debugLine(QStringLiteral("new %1 test file copied: \"%2\"").arg(asKinds[i], sPath))));
        }
        QCOMPARE(QDir(ftlDir()).entryList(QDir::Files).size(), 3);
    }

    void existingFileIsKept()
    {
        installTemplate(QByteArrayLiteral("template\r\n"));
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        const QString sPath = ftlDir() + QStringLiteral("/TK_Data_LRP-0017_") + sLocalStamp + QStringLiteral(".tst");
        QFile earlier(sPath);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier in this second\r\n");
        earlier.close();
        QCOMPARE(CreateTestFile(source, QStringLiteral("/TK_Data_")), sPath);
        QCOMPARE(fileBytes(sPath), QByteArray("earlier in this second\r\n"));
        QVERIFY(source.aLines.contains(debugLine(QStringLiteral("new data test file copied: \"%1\"").arg(sPath))));
    }

    void serialInTheName_data()
    {
        QTest::addColumn<bool>("bReadable");
        QTest::addColumn<QString>("sSerial");
        QTest::addColumn<QString>("sName");
        QTest::newRow("unreadable") << false << "" << "TK_Data_unknown_20240105093000.tst";
        QTest::newRow("empty") << true << "" << "TK_Data__20240105103000.tst";
        QTest::newRow("climbs out") << true << "../../../etc/cron.d/x" << "TK_Data_______etc_cron.d_x_20240105103000.tst";
        QTest::newRow("sub directory") << true << "a/b" << "TK_Data_a_b_20240105103000.tst";
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
        QCOMPARE(sPath, ftlDir() + QLatin1Char('/') + sName);
        QCOMPARE(QFileInfo(sPath).absolutePath(), ftlDir());
        QVERIFY(QFile::exists(sPath));
    }

    void creationFails()
    {
        CFakeFileSource source;
        setLrpSerial(source, QStringLiteral("LRP-0017"));
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        const QString sPath = ftlDir() + QStringLiteral("/TK_Service_LRP-0017_") + sLocalStamp + QStringLiteral(".tst");
        QCOMPARE(CreateTestFile(source, QStringLiteral("/TK_Service_")), QString());
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("Error creating file \"%1\"").arg(sPath))));
    }

    void unknownPrefix()
    {
        CFakeFileSource source;
        QCOMPARE(CreateTestFile(source, QStringLiteral("/TK_Other_")), QString());
        QVERIFY(source.aLines.contains(warningLine(QStringLiteral("unknown test file prefix \"/TK_Other_\""))));
        QVERIFY(QDir(ftlDir()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTestFiles)
#include "tst_testfiles.moc"
