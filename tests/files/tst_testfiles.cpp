#include "controller/ctransfertypes.h"
#include "files/ctestfiles.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

// The vehicle's zone is an hour ahead: 09:30 UTC names the files 10:30.
class TestTestFiles : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;
    CFakeFileSource m_source;

    QString ftlPath(const QString &sName = QString()) const { return m_sandbox.path("/var/log/FTL/" + sName); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init()
    {
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/lib")));
        QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/log/FTL")));
        m_source = CFakeFileSource();
        m_source.runGeneralWM = CRunGeneralWM();
        m_source.runGeneralWM->setField(1, QStringLiteral("LRP-0017"));
        m_source.general.setField(71, QStringLiteral("CET-1"));
    }

    // Without the template: the FTL header alone, at local now.
    void headerOnlyWithoutTemplate()
    {
        QCOMPARE(testFilePrefix(TransferDataTest), QStringLiteral("/TK_Data_"));
        QCOMPARE(testFilePrefix(TransferLog), QString());
        const QString sPath = CreateTestFile(m_source, QStringLiteral("/TK_Data_"));
        QCOMPARE(sPath, ftlPath("TK_Data_LRP-0017_20240105103000.tst"));
        const QByteArray baHeader = goldenBytes(QFINDTESTDATA("eve-header-only.ftl")).replace("093000", "103000");
        QCOMPARE(fileBytes(sPath), baHeader);
        QVERIFY(m_source.asLog.contains(
            QStringLiteral("W New data test file created:\"%1\", size%2").arg(sPath).arg(baHeader.size())));
    }

    // One trigger with all three kinds copies the template three times; a
    // file of that name made earlier in the same second is kept and sent.
    void copiesOfTheTemplate()
    {
        QVERIFY(m_sandbox.freshDir(QStringLiteral("/var/lib/Tankora")));
        QVERIFY(QFile::copy(QFINDTESTDATA("eve-one-row.ftl"), m_sandbox.path("/var/lib/Tankora/Eve.ftl")));
        QFile earlier(ftlPath("TK_Data_LRP-0017_20240105103000.tst"));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier\r\n") == 9 && earlier.flush());
        for (const QString &sKind : {QStringLiteral("Data"), QStringLiteral("Service"), QStringLiteral("Update")}) {
            const QString sPath = CreateTestFile(m_source, "/TK_" + sKind + "_");
            QCOMPARE(sPath, ftlPath("TK_" + sKind + "_LRP-0017_20240105103000.tst"));
            QCOMPARE(fileBytes(sPath),
                     sKind == "Data" ? QByteArray("earlier\r\n") : fileBytes(QFINDTESTDATA("eve-one-row.ftl")));
            QVERIFY(m_source.asLog.contains(
                QStringLiteral("D new %1 test file copied: \"%2\"").arg(sKind.toLower(), sPath)));
        }
    }

    // No serial: "unknown";
    // a serial that climbs out of the directory stays in it.
    void serialInTheName_data()
    {
        QTest::addColumn<QString>("sSerial");
        QTest::addColumn<QString>("sName");
        QTest::newRow("unreadable") << ""
                                    << "TK_Data_unknown_20240105103000.tst";
        QTest::newRow("climbs out") << "../../../etc/cron.d/x"
                                    << "TK_Data_______etc_cron.d_x_20240105103000.tst";
    }
    void serialInTheName()
    {
        QFETCH(QString, sSerial);
        QFETCH(QString, sName);
        if (sSerial.isEmpty())
            m_source.runGeneralWM.reset();
        else
            m_source.runGeneralWM->setField(1, sSerial);
        QCOMPARE(CreateTestFile(m_source, QStringLiteral("/TK_Data_")), ftlPath(sName));
        QVERIFY(QFile::exists(ftlPath(sName)));
    }

    void creationFails_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<QString>("sWarning");
        QTest::newRow("no FTL directory") << "/TK_Service_"
                                          << "W Error creating file \"<dir>/TK_Service_LRP-0017_20240105103000.tst\"";
        QTest::newRow("unknown prefix") << "/TK_Other_"
                                        << "W unknown test file prefix \"/TK_Other_\"";
    }
    void creationFails()
    {
        QFETCH(QString, sPrefix);
        QFETCH(QString, sWarning);
        if (sPrefix == "/TK_Service_")
            QVERIFY(m_sandbox.removeDir(QStringLiteral("/var/log/FTL")));
        QCOMPARE(CreateTestFile(m_source, sPrefix), QString());
        QVERIFY(m_source.asLog.contains(sWarning.replace("<dir>", m_sandbox.path("/var/log/FTL"))));
        QVERIFY(QDir(ftlPath()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTestFiles)
#include "tst_testfiles.moc"
