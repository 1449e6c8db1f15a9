#include "app/cshell.h"
#include "controller/ccommandword.h"
#include "controller/cdialupcommand.h"
#include "controller/cgsmmodule.h"
#include "records/ccommrecords.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

CSetGsmGprs gsmSetup(const QString &sApn, qint32 iTimeout, qint32 iSpeed, qint32 iAuthType)
{
    CSetGsmGprs oSetup;
    oSetup.setApn(sApn);
    oSetup.setTimeout(iTimeout);
    oSetup.setField(10, iSpeed);
    oSetup.setField(11, iAuthType);
    return oSetup;
}

// The variables in the order the stand-in pppd below writes them.
const QStringList asVariables = {"PXLN_GPRS_USER", "PXLN_GPRS_GAUTH", "PXLN_GPRS_APN",    "PXLN_GPRS_PASSWD",
                                 "PXLN_GPRS_DNS1", "PXLN_GPRS_DNS2",  "PXLN_GPRS_TIMEOUT"};

} // namespace

class TestDialup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    void wholeCommand_data()
    {
        QTest::addColumn<QString>("sUser");
        QTest::addColumn<QString>("sPassword");
        QTest::addColumn<QString>("sApn");
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iAuthType");
        QTest::addColumn<int>("iTimeout");
        QTest::addColumn<int>("iSpeed");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("empty texts give bare assignments")
            << "" << "" << "" << "" << 0 << 60 << 57600
            << "/bin/sh -c \"PXLN_GPRS_USER=;export PXLN_GPRS_USER;PXLN_GPRS_GAUTH=\"AT\";export PXLN_GPRS_GAUTH;"
               "PXLN_GPRS_APN=;export PXLN_GPRS_APN;PXLN_GPRS_PASSWD=;export PXLN_GPRS_PASSWD;"
               "PXLN_GPRS_DNS1=;export PXLN_GPRS_DNS1;PXLN_GPRS_DNS2=;export PXLN_GPRS_DNS2;"
               "PXLN_GPRS_TIMEOUT=\"60\";export PXLN_GPRS_TIMEOUT;/usr/sbin/pppd call gprs 57600 &\"";
        QTest::newRow("Telit with CHAP")
            << "gsm" << "secret" << "internet.t-d1.de" << "Telit" << 2 << 45 << 115200
            << "/bin/sh -c \"PXLN_GPRS_USER=\"gsm\";export PXLN_GPRS_USER;"
               "PXLN_GPRS_GAUTH=\"AT#GAUTH=2\";export PXLN_GPRS_GAUTH;"
               "PXLN_GPRS_APN=\"internet.t-d1.de\";export PXLN_GPRS_APN;"
               "PXLN_GPRS_PASSWD=\"secret\";export PXLN_GPRS_PASSWD;"
               "PXLN_GPRS_DNS1=;export PXLN_GPRS_DNS1;PXLN_GPRS_DNS2=;export PXLN_GPRS_DNS2;"
               "PXLN_GPRS_TIMEOUT=\"45\";export PXLN_GPRS_TIMEOUT;/usr/sbin/pppd call gprs 115200 &\"";
        QTest::newRow("other module with PAP, short time-out, no speed")
            << "" << "" << "internet" << "Sierra" << 1 << 10 << 0
            << "/bin/sh -c \"PXLN_GPRS_USER=;export PXLN_GPRS_USER;PXLN_GPRS_GAUTH=\"AT\";export PXLN_GPRS_GAUTH;"
               "PXLN_GPRS_APN=\"PAP:internet\";export PXLN_GPRS_APN;PXLN_GPRS_PASSWD=;export PXLN_GPRS_PASSWD;"
               "PXLN_GPRS_DNS1=;export PXLN_GPRS_DNS1;PXLN_GPRS_DNS2=;export PXLN_GPRS_DNS2;"
               "PXLN_GPRS_TIMEOUT=\"30\";export PXLN_GPRS_TIMEOUT;/usr/sbin/pppd call gprs 1200 &\"";
    }
    void wholeCommand()
    {
        QFETCH(QString, sUser);
        QFETCH(QString, sPassword);
        QFETCH(QString, sApn);
        QFETCH(QString, sModule);
        QFETCH(int, iAuthType);
        QFETCH(int, iTimeout);
        QFETCH(int, iSpeed);
        QFETCH(QString, sWant);
        CSetGsmGprs oSetup = gsmSetup(sApn, iTimeout, iSpeed, iAuthType);
        oSetup.setUser(sUser);
        oSetup.setPassword(sPassword);
        QCOMPARE(dialupCommand(oSetup, sModule), sWant);
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
        QTest::newRow("other none") << "Quectel" << 0 << 60 << 57600 << sAt + "internet\"";
        QTest::newRow("other CHAP") << "Quectel" << 2 << 60 << 57600 << sAt + "CHAP:internet\"";
        QTest::newRow("other type 5") << "Quectel" << 5 << 60 << 57600 << sAt + "internet\"";
        QTest::newRow("name compared exactly") << "telit" << 2 << 60 << 57600 << sAt + "CHAP:internet\"";
        QTest::newRow("name not a prefix") << "Telit GE910" << 1 << 60 << 57600 << sAt + "PAP:internet\"";
        QTest::newRow("time-out 29") << "" << 0 << 29 << 57600 << ";PXLN_GPRS_TIMEOUT=\"30\";";
        QTest::newRow("speed 1199") << "" << 0 << 60 << 1199 << " call gprs 1200 &\"";
        QTest::newRow("speed 460799") << "" << 0 << 60 << 460799 << " call gprs 460799 &\"";
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

    // The command really runs through both shells: whatever a setup text holds
    // reaches pppd unchanged, and nothing of it is run. (The whole-vehicle
    // run covers double quotes, $( ) and backticks in user, password and APN.)
    void hostileValuesReachPppdUnchanged_data()
    {
        QTest::addColumn<int>("iField");
        QTest::addColumn<QString>("sTemplate");
        // MARK stands for a file that only an injected command would create.
        QTest::newRow("APN single quotes") << 3 << "a';touch MARK;'b";
        QTest::newRow("APN backslash quote") << 3 << "\\\";touch MARK;\\\"";
        QTest::newRow("user variable") << 1 << "$HOME${IFS}x";
        QTest::newRow("password newline") << 2 << "line1\ntouch MARK";
        QTest::newRow("first DNS with pipe") << 4 << "1.1.1.1|touch MARK";
        QTest::newRow("second DNS with redirection") << 5 << "8.8.8.8>MARK";
    }
    void hostileValuesReachPppdUnchanged()
    {
        QFETCH(int, iField);
        QFETCH(QString, sTemplate);
        QTemporaryDir root;
        const QString sMark = root.filePath(QStringLiteral("MARK"));
        installRecordingPppd(root.path());
        CSetGsmGprs oSetup = gsmSetup(QStringLiteral("apn"), 60, 57600, 0);
        for (int i = 1; i <= 5; ++i)
            oSetup.setField(i, QStringLiteral("value%1").arg(i));
        oSetup.setField(iField, QString(sTemplate).replace(QStringLiteral("MARK"), sMark));

        qputenv("FTP_DATA_ROOT", root.path().toUtf8());
        const QString sCommand = dialupCommand(oSetup, QStringLiteral("Telit"));
        qunsetenv("FTP_DATA_ROOT");
        CSystemShell().run(sCommand);

        const QString sOut = root.filePath(QStringLiteral("usr/sbin/env.out"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sOut), 30000);
        QFile out(sOut);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QStringList asWant = {oSetup.user(), "AT#GAUTH=0", oSetup.apn(),  oSetup.password(), oSetup.dns1(),
                                    oSetup.dns2(), "60",         "call",        "gprs",            "57600", ""};
        QCOMPARE(QString::fromUtf8(out.readAll()).split(QChar(0)), asWant);
        QVERIFY2(!QFile::exists(sMark), "a value ran a command");
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
        QTest::newRow("blank") << "a b" << false;
        QTest::newRow("quote breaking") << "a'; echo evil; '" << false;
        QTest::newRow("command substitution") << "$(touch /tmp/pwned)" << false;
        QTest::newRow("tilde") << "~root" << false;
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
        QCOMPARE(stopDialupCommand(), QStringLiteral("killall pppd"));
        QCOMPARE(killDialupCommand(), QStringLiteral("killall -9 pppd"));
        QCOMPARE(killFtpClientCommand(), QStringLiteral("killall -9 FTP_Client"));
        QCOMPARE(commandReturnText(killDialupCommand(), 256), QStringLiteral("return of 'killall -9 pppd': 256"));
        QCOMPARE(commandReturnText(stopDialupCommand(), 1), QStringLiteral("return of 'killall pppd': 1"));
        QCOMPARE(dialupReturnText(32512), QStringLiteral("return of pppd call gprs: 32512\n"));
        QCOMPARE(gsmModuleNotReadyText(), QStringLiteral("GSM-Module is not ready!"));
    }

    // Ready is state 4, whatever the module.
    void moduleReady_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iState");
        QTest::newRow("Telit 4") << "Telit" << 4;
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

private:
    // A pppd that writes what it was given, NUL-separated, beside itself;
    // the file appears only once it is complete.
    static void installRecordingPppd(const QString &sRoot)
    {
        QVERIFY(QDir(sRoot).mkpath(QStringLiteral("usr/sbin")));
        QFile script(sRoot + QStringLiteral("/usr/sbin/pppd"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        QByteArray baScript = "#!/bin/sh\nd=$(dirname \"$0\")\n{ printf '%s\\0'";
        for (const QString &sName : asVariables)
            baScript += " \"$" + sName.toUtf8() + "\"";
        baScript += " \"$@\"; } > \"$d/env.tmp\" && mv \"$d/env.tmp\" \"$d/env.out\"\n";
        script.write(baScript);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_GUILESS_MAIN(TestDialup)
#include "tst_dialup.moc"
