#include "files/cinfofile.h"
#include "tests/support/cfakefilesource.h"
#include "tests/support/csandboxroot.h"

#include <QTest>

namespace
{

// A vehicle whose every record answers.
void fillRecords(CFakeFileSource &source)
{
    CRunGeneralNonWM nrp;
    const QList<QPair<int, const char *>> aNrpTexts{{4, "NRP-0042"},    {8, "rootfs-3.1"},  {10, "sw-5.2.1"},
                                                    {12, "HSV on"},     {13, "nrp common"}, {20, "DSP-0099"},
                                                    {24, "rootfs-1.9"}, {26, "sw-1.4"},     {28, "display common"}};
    for (const auto &text : aNrpTexts)
        nrp.setField(text.first, QString::fromLatin1(text.second));
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

// sState is the value of the last line; bAsked whether the seal record was read.
struct CSealCase {
    bool bSetupReadable, bLgm1, bLgm2, bSealReadable, bSealed;
    QString sState;
    bool bAsked;
};

} // namespace

Q_DECLARE_METATYPE(CSealCase)

class TestInfoFile : public QObject
{
    Q_OBJECT

    CSandboxRoot m_sandbox;

    QString tmpPath(const QString &sName) const { return m_sandbox.path("/tmp/" + sName); }

  private slots:
    void initTestCase() { QVERIFY(m_sandbox.start()); }
    void init() { QVERIFY(m_sandbox.freshDir(QStringLiteral("/tmp"))); }

    void wholeFile()
    {
        CFakeFileSource source;
        fillRecords(source);
        // 13:30 UTC is half past two in the afternoon in the vehicle's zone.
        source.dtNow = QDateTime(QDate(2024, 1, 5), QTime(13, 30), Qt::UTC);
        source.general.setField(71, QStringLiteral("CET-1"));
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(QStringLiteral("tk_NRP-0042.info")));
        QCOMPARE(fileBytes(sPath), baWholeFile);
    }

    // A record that does not answer gives "unknown" or an empty value.
    void nothingAnswers()
    {
        CFakeFileSource source;
        source.bGsmReadable = false;
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(QStringLiteral("tk_unknown.info")));
        const QByteArray baFile = fileBytes(sPath);
        for (const char *pLine : {"NRP Serial:                 unknown\r\n", "Data Number:                unknown\r\n",
                                  "PPP Local IP:               \r\n", "VPN Server Port:            unknown\r\n",
                                  "NRP SW-Version:             \r\n", "Seal state:                 -\n"})
            QVERIFY2(baFile.contains(pLine), pLine);
    }

    // The seal state is asked for only with an LGM; sState is the value of
    // the last line.
    void sealState_data()
    {
        QTest::addColumn<CSealCase>("c");
        QTest::newRow("no LGM") << CSealCase{true, false, false, true, true, "-", false};
        QTest::newRow("setup unreadable") << CSealCase{false, true, true, true, true, "-", false};
        QTest::newRow("first LGM, sealed") << CSealCase{true, true, false, true, true, "1", true};
        QTest::newRow("second LGM, open") << CSealCase{true, false, true, true, false, "0", true};
        QTest::newRow("seal state unreadable") << CSealCase{true, true, true, false, true, "-", true};
    }
    void sealState()
    {
        QFETCH(CSealCase, c);
        CFakeFileSource source;
        fillRecords(source);
        source.setGeneral->setField(48, c.bLgm1);
        source.setGeneral->setField(49, c.bLgm2);
        if (!c.bSetupReadable)
            source.setGeneral.reset();
        source.bSealReadable = c.bSealReadable;
        source.seal.setSealState(c.bSealed);
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QVERIFY(fileBytes(sPath).endsWith("\r\nSeal state:                 " + c.sState.toLatin1() + "\n"));
        QCOMPARE(source.iSealReads, c.bAsked ? 1 : 0);
        QCOMPARE(source.logged(QStringLiteral("INFO-FILE: LGM is not active")), !c.bAsked);
    }

    // The serial names the file but cannot move it out of /tmp; the serial
    // line still tells the back office what the record said.
    void hostileSerial()
    {
        CFakeFileSource source;
        CRunGeneralNonWM nrp;
        nrp.setField(4, QStringLiteral("../../etc/passwd"));
        source.runGeneral = nrp;
        QString sPath;
        QVERIFY(BuildInfoFile(source, sPath));
        QCOMPARE(sPath, tmpPath(QStringLiteral("tk_____etc_passwd.info")));
        QVERIFY(fileBytes(sPath).startsWith("NRP Serial:                 ../../etc/passwd\r\n"));
    }

    void replacesOnlyItsOwnName()
    {
        CFakeFileSource source;
        fillRecords(source);
        QFile stale(tmpPath(QStringLiteral("tk_NRP-0042.info")));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write(QByteArray(4000, 'x')) == 4000);
        stale.close();
        QFile older(tmpPath(QStringLiteral("tk_NRP-0041.info")));
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
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
