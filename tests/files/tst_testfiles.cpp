#include "controller/ctransfertypes.h"
#include "files/ctestfiles.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"
#include "tests/support/ctable.h"

class TestTestFiles : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString ftlPath(const QString &sName = QString()) const { return m_sandbox.path("/var/log/FTL/" + sName); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }

    void prefixes()
    {
        QCOMPARE(testFilePrefix(TransferDataTest), QStringLiteral("/TK_Data_"));
        QCOMPARE(testFilePrefix(TransferUpdateTest), QStringLiteral("/TK_Update_"));
        QCOMPARE(testFilePrefix(TransferLog), QString());
    }

    TABLE_TEST(create, "testfiles.tsv")
    {
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/lib")) && m_sandbox.freshDir(QStringLiteral("/var/log/FTL")));
        CFakeFileSource source;
        source.general.setField(71, QStringLiteral("CET-1"));
        if (row[1] != "-") {
            source.runGeneralWM.emplace();
            source.runGeneralWM->setField(1, row[1]);
        }
        const QString sTemplate = QFINDTESTDATA("eve-one-row.ftl");
        if (row[2].contains("template"))
            QVERIFY(QDir().mkpath(m_sandbox.path("/var/lib/Tankora")) &&
                    QFile::copy(sTemplate, m_sandbox.path("/var/lib/Tankora/Eve.ftl")));
        QFile earlier(ftlPath(row[3]));
        QVERIFY(!row[2].contains("earlier") || (earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7));
        earlier.close();
        QVERIFY(!row[2].contains("nodir") || m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));

        const QString sPath = CreateTestFile(source, row[0]);
        QCOMPARE(sPath, row[3] == "-" ? QString() : ftlPath(row[3]));
        const QByteArray baWant = row[4] == "header"     ? goldenBytes(QFINDTESTDATA("test-header.tst"))
                                  : row[4] == "template" ? fileBytes(sTemplate)
                                  : row[4] == "earlier"  ? QByteArray("earlier")
                                                         : QByteArray("<missing>");
        QCOMPARE(fileBytes(ftlPath(row[3])), baWant);
        QCOMPARE(QDir(ftlPath()).entryList(QDir::Files).size(), row[3] == "-" ? 0 : 1);
        const QString sLine = QString(row[5]).replace("<dir>", ftlPath().chopped(1));
        QVERIFY2(source.asLog.contains(QString(sLine).replace("<size>", QString::number(baWant.size()))),
                 qPrintable(sLine));
    }
};

QTEST_GUILESS_MAIN(TestTestFiles)
#include "tst_testfiles.moc"
