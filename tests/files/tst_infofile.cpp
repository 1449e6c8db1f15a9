#include "files/cinfofile.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QFileInfo>
#include <QTest>

namespace {

// A vehicle whose every record answers.
void fillRecords(CFakeFileSource &source)
{
    CRunGeneralNonWM nrp;
    nrp.setField(4, QStringLiteral("NRP-0042"));
    nrp.setField(8, QStringLiteral("rootfs-3.1"));
    nrp.setField(10, QStringLiteral("sw-5.2.1"));
    nrp.setField(12, QStringLiteral("HSV on"));
    nrp.setField(13, QStringLiteral("nrp common"));
    nrp.setField(20, QStringLiteral("DSP-0099"));
    nrp.setField(24, QStringLiteral("rootfs-1.9"));
    nrp.setField(26, QStringLiteral("sw-1.4"));
    nrp.setField(28, QStringLiteral("display common"));
    source.runGeneral = nrp;

    CRunGeneralWM lrp;
    lrp.setField(1, QStringLiteral("LRP-0017"));
    lrp.setField(5, QStringLiteral("rootfs-2.0"));
    lrp.setField(7, QStringLiteral("sw-4.0.7"));
    lrp.setField(11, QStringLiteral("lrp common"));
    source.runGeneralWM = lrp;

    source.gsm.setDataNumber(QStringLiteral("+4712345678"));

    CRunGsmGprs link;
    link.setLocalIp(QStringLiteral("10.64.3.2"));
    source.runGsmGprs = link;

    CSetGsmGprs dialUp;
    dialUp.setField(9, QStringLiteral("192.168.100.1"));
    dialUp.setField(12, qint32(1194));
    source.setGsmGprs = dialUp;

    CRunVpn vpn;
    vpn.setText(QStringLiteral("10.8.0.6"));
    source.runVpn = vpn;

    CSetGeneralNonWM general;
    general.setField(48, true);
    source.setGeneral = general;
    source.seal.setSealState(true);
}

const QByteArray baWholeFile = QByteArrayLiteral("NRP Serial:                 NRP-0042\r\n"
                                                 "LRP Serial:                 LRP-0017\r\n"
                                                 "2nd Display Serial:         DSP-0099\r\n"
                                                 "Timestamp:                  20240105143000\r\n"
                                                 "Data Number:                +4712345678\r\n"
                                                 "PPP Local IP:               10.64.3.2\r\n"
                                                 "VPN Server IP:              192.168.100.1\r\n"
                                                 "VPN Server Port:            1194\r\n"
                                                 "VPN IP Tankora:             10.8.0.6\r\n"
                                                 "NRP Rootfs Version:         rootfs-3.1\r\n"
                                                 "NRP SW-Version:             sw-5.2.1\r\n"
                                                 "LRP Rootfs Version:         rootfs-2.0\r\n"
                                                 "LRP SW-Version:             sw-4.0.7\r\n"
                                                 "2nd Display Rootfs Version: rootfs-1.9\r\n"
                                                 "2nd Display SW-Version:     sw-1.4\r\n"
                                                 "NRP HSV/Vap.:               HSV on\r\n"
                                                 "NRP Common:                 nrp common\r\n"
                                                 "LRP Common:                 lrp common\r\n"
                                                 "2nd Display Common:         display common\r\n"
                                                 "Seal state:                 1\n");

const QByteArray baNothingAnswers = QByteArrayLiteral("NRP Serial:                 unknown\r\n"
                                                      "LRP Serial:                 unknown\r\n"
                                                      "2nd Display Serial:         unknown\r\n"
                                                      "Timestamp:                  20240105093000\r\n"
                                                      "Data Number:                unknown\r\n"
                                                      "PPP Local IP:               \r\n"
                                                      "VPN Server IP:              unknown\r\n"
                                                      "VPN Server Port:            unknown\r\n"
                                                      "VPN IP Tankora:             \r\n"
                                                      "NRP Rootfs Version:         \r\n"
                                                      "NRP SW-Version:             \r\n"
                                                      "LRP Rootfs Version:         \r\n"
                                                      "LRP SW-Version:             \r\n"
                                                      "2nd Display Rootfs Version: \r\n"
                                                      "2nd Display SW-Version:     \r\n"
                                                      "NRP HSV/Vap.:               \r\n"
                                                      "NRP Common:                 \r\n"
                                                      "LRP Common:                 \r\n"
                                                      "2nd Display Common:         \r\n"
                                                      "Seal state:                 -\n");

} // namespace

class TestInfoFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString tmpPath(const QString &sName) const { return m_sandbox.path(QStringLiteral("/tmp/") + sName); }

private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/tmp"))); }

    void wholeFile_data()
    {
        QTest::addColumn<bool>("bAnswers");
        QTest::addColumn<QString>("sName");
        QTest::addColumn<QByteArray>("baFile");
        QTest::addColumn<int>("iSealReads");
        QTest::newRow("every record") << true << "tk_NRP-0042.info" << baWholeFile << 1;
        QTest::newRow("nothing answers") << false << "tk_unknown.info" << baNothingAnswers << 0;
    }
    void wholeFile()
    {
        QFETCH(bool, bAnswers);
        QFETCH(QString, sName);
        QFETCH(QByteArray, baFile);
        QFETCH(int, iSealReads);
        CFakeFileSource source;
        if (bAnswers) {
            fillRecords(source);
            // 13:30 UTC is half past two in the afternoon in the vehicle's zone.
            source.dtNow = QDateTime(QDate(2024, 1, 5), QTime(13, 30), Qt::UTC);
            source.general.setField(71, QStringLiteral("CET-1"));
        } else {
            source.bGsmReadable = false;
        }
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(sName));
        QCOMPARE(fileBytes(sPath), baFile);
        QCOMPARE(source.iSealReads, iSealReads);
    }

    void sealState_data()
    {
        QTest::addColumn<bool>("bSetupReadable");
        QTest::addColumn<bool>("bLgm1");
        QTest::addColumn<bool>("bLgm2");
        QTest::addColumn<bool>("bSealReadable");
        QTest::addColumn<bool>("bSealState");
        QTest::addColumn<QByteArray>("baLastLine");
        QTest::addColumn<int>("iSealReads");
        QTest::newRow("no LGM") << true << false << false << true << true << QByteArray("Seal state:                 -\n") << 0;
        QTest::newRow("setup unreadable")
            << false << true << true << true << true << QByteArray("Seal state:                 -\n") << 0;
        QTest::newRow("first LGM, sealed")
            << true << true << false << true << true << QByteArray("Seal state:                 1\n") << 1;
        QTest::newRow("second LGM, open")
            << true << false << true << true << false << QByteArray("Seal state:                 0\n") << 1;
        QTest::newRow("seal state unreadable")
            << true << true << true << false << true << QByteArray("Seal state:                 -\n") << 1;
    }
    void sealState()
    {
        QFETCH(bool, bSetupReadable);
        QFETCH(bool, bLgm1);
        QFETCH(bool, bLgm2);
        QFETCH(bool, bSealReadable);
        QFETCH(bool, bSealState);
        QFETCH(QByteArray, baLastLine);
        QFETCH(int, iSealReads);
        CFakeFileSource source;
        fillRecords(source);
        source.setGeneral->setField(48, bLgm1);
        source.setGeneral->setField(49, bLgm2);
        if (!bSetupReadable)
            source.setGeneral.reset();
        source.bSealReadable = bSealReadable;
        source.seal.setSealState(bSealState);
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        const QByteArray baFile = fileBytes(sPath);
        QCOMPARE(baFile.mid(baFile.lastIndexOf("\r\n") + 2), baLastLine);
        QCOMPARE(source.iSealReads, iSealReads);
        QCOMPARE(source.logged(QStringLiteral("INFO-FILE: LGM is not active")), iSealReads == 0);
    }

    void labels_data()
    {
        QTest::addColumn<QString>("sLabel");
        QTest::addColumn<QString>("sPadded");
        QTest::newRow("short") << "NRP Serial:" << "NRP Serial:                 ";
        QTest::newRow("longest") << "2nd Display Rootfs Version:" << "2nd Display Rootfs Version: ";
        QTest::newRow("28 already") << "123456789012345678901234567:" << "123456789012345678901234567:";
    }
    void labels()
    {
        QFETCH(QString, sLabel);
        QFETCH(QString, sPadded);
        QCOMPARE(infoFileLabel(sLabel), sPadded);
    }

    void hostileSerial_data()
    {
        QTest::addColumn<QString>("sSerial");
        QTest::addColumn<QString>("sName");
        QTest::newRow("climbs out") << "../../etc/passwd" << "tk_____etc_passwd.info";
        QTest::newRow("dot dot only") << ".." << "tk__.info";
        QTest::newRow("three dots") << "..." << "tk__..info";
        QTest::newRow("sub directory") << "a/b" << "tk_a_b.info";
        QTest::newRow("control character") << QStringLiteral("x\ny") << "tk_x_y.info";
        QTest::newRow("plain") << "SN.12-3" << "tk_SN.12-3.info";
    }
    void hostileSerial()
    {
        QFETCH(QString, sSerial);
        QFETCH(QString, sName);
        CFakeFileSource source;
        CRunGeneralNonWM nrp;
        nrp.setField(4, sSerial);
        source.runGeneral = nrp;
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(sName));
        QCOMPARE(QFileInfo(sPath).absolutePath(), QFileInfo(tmpPath(QString())).absolutePath());
        QVERIFY(QFile::exists(sPath));
        // The serial line itself tells the back office what the record said.
        QVERIFY(fileBytes(sPath).startsWith(QByteArrayLiteral("NRP Serial:                 ") + sSerial.toUtf8()));
    }

    void replacesOnlyItsOwnName()
    {
        CFakeFileSource source;
        fillRecords(source);
        QFile stale(tmpPath(QStringLiteral("tk_NRP-0042.info")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(4000, 'x'));
        stale.close();
        QFile older(tmpPath(QStringLiteral("tk_NRP-0041.info")));
        QVERIFY(older.open(QIODevice::WriteOnly));
        older.write("older");
        older.close();

        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QVERIFY(fileBytes(sPath).startsWith("NRP Serial:                 NRP-0042\r\n"));
        QVERIFY(!fileBytes(sPath).contains('x'));
        QCOMPARE(fileBytes(tmpPath(QStringLiteral("tk_NRP-0041.info"))), QByteArray("older"));
    }

    void unwritableTmp()
    {
        CFakeFileSource source;
        QVERIFY(m_sandbox.removeDir(QStringLiteral("/tmp")));
        QString sPath;
        QVERIFY(!BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(QStringLiteral("tk_unknown.info")));
    }
};

QTEST_GUILESS_MAIN(TestInfoFile)
#include "tst_infofile.moc"
