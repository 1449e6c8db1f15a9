#include "controller/ccommandword.h"
#include "controller/cdialupcommand.h"
#include "controller/cgsmmodule.h"
#include "records/ccommrecords.h"

#include <QProcess>
#include <QTest>

namespace
{

CSetGsmGprs gsmSetup(const QString &sApn, qint32 iTimeout, qint32 iSpeed, qint32 iAuthType)
{
    CSetGsmGprs oSetup;
    oSetup.setApn(sApn);
    oSetup.setTimeout(iTimeout);
    oSetup.setField(10, iSpeed);
    oSetup.setField(11, iAuthType);
    return oSetup;
}

} // namespace

class TestDialup : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    void wholeCommand()
    {
        CSetGsmGprs oSetup = gsmSetup(QStringLiteral("internet.t-d1.de"), 45, 115200, 2);
        oSetup.setUser(QStringLiteral("gsm"));
        oSetup.setPassword(QStringLiteral("secret"));
        QCOMPARE(dialupCommand(oSetup, QStringLiteral("Telit")),
                 "/bin/sh -c \"PXLN_GPRS_USER=\"gsm\";export PXLN_GPRS_USER;"
                 "PXLN_GPRS_GAUTH=\"AT#GAUTH=2\";export PXLN_GPRS_GAUTH;"
                 "PXLN_GPRS_APN=\"internet.t-d1.de\";export PXLN_GPRS_APN;"
                 "PXLN_GPRS_PASSWD=\"secret\";export PXLN_GPRS_PASSWD;"
                 "PXLN_GPRS_DNS1=;export PXLN_GPRS_DNS1;PXLN_GPRS_DNS2=;export PXLN_GPRS_DNS2;"
                 "PXLN_GPRS_TIMEOUT=\"45\";export PXLN_GPRS_TIMEOUT;/usr/sbin/pppd call gprs 115200 &\"");
    }

    // One part of the command per case: the module's own authentication only
    // for a module named exactly "Telit" with a type below 3, the APN prefix
    // for others with PAP or CHAP, and the limits of time-out and speed.
    void commandParts_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iAuthType");
        QTest::addColumn<int>("iTimeout");
        QTest::addColumn<int>("iSpeed");
        QTest::addColumn<QString>("sPart");
        const QString sAt = QStringLiteral("PXLN_GPRS_GAUTH=\"AT\";export PXLN_GPRS_GAUTH;PXLN_GPRS_APN=\"");
        QTest::newRow("Telit none")
            << "Telit" << 0 << 60 << 57600
            << "PXLN_GPRS_GAUTH=\"AT#GAUTH=0\";export PXLN_GPRS_GAUTH;PXLN_GPRS_APN=\"internet\"";
        QTest::newRow("Telit type 3") << "Telit" << 3 << 60 << 57600 << sAt + "internet\"";
        QTest::newRow("other type 5") << "Quectel" << 5 << 60 << 57600 << sAt + "internet\"";
        QTest::newRow("other CHAP") << "Quectel" << 2 << 60 << 57600 << sAt + "CHAP:internet\"";
        QTest::newRow("name compared exactly") << "telit" << 2 << 60 << 57600 << sAt + "CHAP:internet\"";
        QTest::newRow("name not a prefix") << "Telit GE910" << 1 << 60 << 57600 << sAt + "PAP:internet\"";
        QTest::newRow("empty text is a bare assignment")
            << "" << 0 << 60 << 57600 << "\"PXLN_GPRS_USER=;export PXLN_GPRS_USER;PXLN_GPRS_GAUTH=\"AT\";";
        QTest::newRow("time-out 29") << "" << 0 << 29 << 57600 << ";PXLN_GPRS_TIMEOUT=\"30\";";
        QTest::newRow("speed 1199") << "" << 0 << 60 << 1199 << " call gprs 1200 &\"";
        QTest::newRow("speed above") << "" << 0 << 60 << 921600 << " call gprs 460800 &\"";
    }
    void commandParts()
    {
        QFETCH(QString, sModule);
        QFETCH(int, iAuthType);
        QFETCH(int, iTimeout);
        QFETCH(int, iSpeed);
        QFETCH(QString, sPart);
        const QString sCommand =
            dialupCommand(gsmSetup(QStringLiteral("internet"), iTimeout, iSpeed, iAuthType), sModule);
        QVERIFY2(sCommand.contains(sPart), qPrintable(sCommand));
    }

    // Each assignment keeps within 99 bytes; a value is cut, never in the
    // middle of a character.
    void longValueIsCutToTheAssignment_data()
    {
        QTest::addColumn<QString>("sValue");
        QTest::addColumn<QString>("sKept");
        QTest::newRow("too long") << QString(120, 'a') << QString(59, 'a');
        QTest::newRow("fits exactly") << QString(59, 'b') << QString(59, 'b');
        QTest::newRow("multibyte character is not split") << QString(58, 'c') + "\u00e4x" << QString(58, 'c');
    }
    void longValueIsCutToTheAssignment()
    {
        QFETCH(QString, sValue);
        QFETCH(QString, sKept);
        QCOMPARE(dialupAssignment("PXLN_GPRS_USER", sValue), "PXLN_GPRS_USER=\"" + sKept + "\";export PXLN_GPRS_USER;");
    }

    // Plain values go into a command line as they are, so the usual command
    // lines keep their text; anything else is quoted so the shell hands it
    // back unchanged.
    void commandWordIsInert_data()
    {
        QTest::addColumn<QString>("sValue");
        QTest::addColumn<bool>("bPlain");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("path") << "/var/log/FTL/EVEl20240101120000.ftl" << true;
        QTest::newRow("hash inside") << "AT#GAUTH=2" << true;
        QTest::newRow("hash first") << "#x" << false;
        QTest::newRow("quote breaking") << "a'; echo evil; '" << false;
    }
    void commandWordIsInert()
    {
        QFETCH(QString, sValue);
        QFETCH(bool, bPlain);
        const QString sWord = commandWord(sValue);
        QCOMPARE(sWord == sValue, bPlain);
        QProcess sh;
        sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s|' ") + sWord});
        QVERIFY(sh.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(sh.readAllStandardOutput()), sValue.isEmpty() ? QStringLiteral("|") : sValue + '|');
    }

    void texts()
    {
        QCOMPARE(killDialupCommand(), QStringLiteral("killall -9 pppd"));
        QCOMPARE(killFtpClientCommand(), QStringLiteral("killall -9 FTP_Client"));
        QCOMPARE(commandReturnText(stopDialupCommand(), 1), QStringLiteral("return of 'killall pppd': 1"));
        QCOMPARE(dialupReturnText(32512), QStringLiteral("return of pppd call gprs: 32512\n"));
    }

    // Ready is state 4, whatever the module.
    void moduleReady_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iState");
        QTest::newRow("other module 4") << "Quectel" << 4;
        QTest::newRow("state 3") << "Telit" << 3;
        QTest::newRow("state 5") << "Telit" << 5;
    }
    void moduleReady()
    {
        QFETCH(QString, sModule);
        QFETCH(int, iState);
        CRunGsm oRunGsm;
        oRunGsm.setModuleName(sModule);
        oRunGsm.setModuleState(iState);
        QCOMPARE(isGsmModuleReady(oRunGsm), iState == 4);
    }
};

QTEST_GUILESS_MAIN(TestDialup)
#include "tst_dialup.moc"
