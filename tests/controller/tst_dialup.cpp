#include "app/cshell.h"
#include "controller/ccommandword.h"
#include "controller/cdialupcommand.h"
#include "controller/cgsmmodule.h"
#include "records/ccommrecords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const int iSpeedField = 10;
const int iAuthTypeField = 11;

CSetGsmGprs gsmSetup(const QString &sUser, const QString &sPassword, const QString &sApn, const QString &sDns1,
                     const QString &sDns2, qint32 iTimeout, qint32 iSpeed, qint32 iAuthType)
{
    CSetGsmGprs oSetup;
    oSetup.setUser(sUser);
    oSetup.setPassword(sPassword);
    oSetup.setApn(sApn);
    oSetup.setDns1(sDns1);
    oSetup.setDns2(sDns2);
    oSetup.setTimeout(iTimeout);
    oSetup.setField(iSpeedField, iSpeed);
    oSetup.setField(iAuthTypeField, iAuthType);
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
        const CSetGsmGprs oSetup = gsmSetup(sUser, sPassword, sApn, QString(), QString(), iTimeout, iSpeed, iAuthType);
        QCOMPARE(dialupCommand(oSetup, sModule), sWant);
    }

    void authentication_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iAuthType");
        QTest::addColumn<QString>("sWantGauth");
        QTest::addColumn<QString>("sWantApn");
        QTest::newRow("Telit none") << "Telit" << 0 << "AT#GAUTH=0" << "internet";
        QTest::newRow("Telit PAP") << "Telit" << 1 << "AT#GAUTH=1" << "internet";
        QTest::newRow("Telit CHAP") << "Telit" << 2 << "AT#GAUTH=2" << "internet";
        QTest::newRow("Telit type 3") << "Telit" << 3 << "AT" << "internet";
        QTest::newRow("Telit type 5") << "Telit" << 5 << "AT" << "internet";
        QTest::newRow("other none") << "Quectel" << 0 << "AT" << "internet";
        QTest::newRow("other PAP") << "Quectel" << 1 << "AT" << "PAP:internet";
        QTest::newRow("other CHAP") << "Quectel" << 2 << "AT" << "CHAP:internet";
        QTest::newRow("other type 5") << "Quectel" << 5 << "AT" << "internet";
        QTest::newRow("name compared exactly") << "telit" << 2 << "AT" << "CHAP:internet";
        QTest::newRow("no module name") << "" << 1 << "AT" << "PAP:internet";
    }
    void authentication()
    {
        QFETCH(QString, sModule);
        QFETCH(int, iAuthType);
        QFETCH(QString, sWantGauth);
        QFETCH(QString, sWantApn);
        QCOMPARE(dialupAuthCommand(iAuthType, sModule), sWantGauth);
        QCOMPARE(dialupApn(iAuthType, sModule, QStringLiteral("internet")), sWantApn);
        const QString sCommand =
            dialupCommand(gsmSetup({}, {}, QStringLiteral("internet"), {}, {}, 60, 57600, iAuthType), sModule);
        QVERIFY2(sCommand.contains(QStringLiteral(";PXLN_GPRS_GAUTH=\"") + sWantGauth +
                                   QStringLiteral("\";export PXLN_GPRS_GAUTH;")),
                 qPrintable(sCommand));
        QVERIFY2(sCommand.contains(QStringLiteral(";PXLN_GPRS_APN=\"") + sWantApn +
                                   QStringLiteral("\";export PXLN_GPRS_APN;")),
                 qPrintable(sCommand));
    }

    void speed_data()
    {
        QTest::addColumn<int>("iSpeed");
        QTest::addColumn<int>("iWant");
        QTest::newRow("zero") << 0 << 1200;
        QTest::newRow("negative") << -9600 << 1200;
        QTest::newRow("just below the floor") << 1199 << 1200;
        QTest::newRow("floor") << 1200 << 1200;
        QTest::newRow("usual") << 57600 << 57600;
        QTest::newRow("just below the ceiling") << 460799 << 460799;
        QTest::newRow("ceiling") << 460800 << 460800;
        QTest::newRow("above") << 921600 << 460800;
    }
    void speed()
    {
        QFETCH(int, iSpeed);
        QFETCH(int, iWant);
        QCOMPARE(dialupSpeed(iSpeed), iWant);
        const QString sCommand = dialupCommand(gsmSetup({}, {}, {}, {}, {}, 60, iSpeed, 0), QString());
        QVERIFY(sCommand.endsWith(QStringLiteral(";/usr/sbin/pppd call gprs ") + QString::number(iWant) +
                                  QStringLiteral(" &\"")));
    }

    void timeout_data()
    {
        QTest::addColumn<int>("iTimeout");
        QTest::addColumn<int>("iWant");
        QTest::newRow("zero") << 0 << 30;
        QTest::newRow("ten") << 10 << 30;
        QTest::newRow("29") << 29 << 30;
        QTest::newRow("30") << 30 << 30;
        QTest::newRow("120") << 120 << 120;
    }
    void timeout()
    {
        QFETCH(int, iTimeout);
        QFETCH(int, iWant);
        QCOMPARE(dialupTimeout(iTimeout), iWant);
        const QString sCommand = dialupCommand(gsmSetup({}, {}, {}, {}, {}, iTimeout, 57600, 0), QString());
        QVERIFY(sCommand.contains(QStringLiteral(";PXLN_GPRS_TIMEOUT=\"") + QString::number(iWant) +
                                  QStringLiteral("\";export PXLN_GPRS_TIMEOUT;")));
    }

    void longValueIsCutToTheAssignment_data()
    {
        QTest::addColumn<QString>("sName");
        QTest::addColumn<QString>("sValue");
        QTest::addColumn<QString>("sWant");
        const QString sLong(120, QLatin1Char('a'));
        // 99 bytes: 2 × 14 name characters + 12 framing characters leave 59.
        QTest::newRow("user") << "PXLN_GPRS_USER" << sLong
                              << "PXLN_GPRS_USER=\"" + QString(59, QLatin1Char('a')) + "\";export PXLN_GPRS_USER;";
        QTest::newRow("fits exactly") << "PXLN_GPRS_USER" << QString(59, QLatin1Char('b'))
                                      << "PXLN_GPRS_USER=\"" + QString(59, QLatin1Char('b')) +
                                             "\";export PXLN_GPRS_USER;";
        QTest::newRow("multibyte character is not split")
            << "PXLN_GPRS_USER" << QString(58, QLatin1Char('c')) + QStringLiteral("\u00e4x")
            << "PXLN_GPRS_USER=\"" + QString(58, QLatin1Char('c')) + "\";export PXLN_GPRS_USER;";
    }
    void longValueIsCutToTheAssignment()
    {
        QFETCH(QString, sName);
        QFETCH(QString, sValue);
        QFETCH(QString, sWant);
        const QString sAssignment = dialupAssignment(sName, sValue);
        QCOMPARE(sAssignment, sWant);
        QVERIFY(sAssignment.toUtf8().size() <= 99);
    }

    void hostileValuesReachPppdUnchanged_data()
    {
        QTest::addColumn<QString>("sField");
        QTest::addColumn<QString>("sTemplate");
        // MARK stands for a file that only an injected command would create.
        QTest::newRow("APN closing the quotes") << "apn" << "x\";touch MARK;\"";
        QTest::newRow("APN semicolons") << "apn" << ";touch MARK;";
        QTest::newRow("APN command substitution") << "apn" << "$(touch MARK)";
        QTest::newRow("APN backticks") << "apn" << "`touch MARK`";
        QTest::newRow("APN single quotes") << "apn" << "a';touch MARK;'b";
        QTest::newRow("APN backslash quote") << "apn" << "\\\";touch MARK;\\\"";
        QTest::newRow("APN blank and hash") << "apn" << "#my apn &touch MARK";
        QTest::newRow("user closing the quotes") << "user" << "u\";touch MARK;\"";
        QTest::newRow("user variable") << "user" << "$HOME${IFS}x";
        QTest::newRow("password quote mix") << "password" << "p'\"';touch MARK;#";
        QTest::newRow("password newline") << "password" << "line1\ntouch MARK";
        QTest::newRow("DNS with pipe") << "dns1" << "1.1.1.1|touch MARK";
        QTest::newRow("DNS with redirection") << "dns2" << "8.8.8.8>MARK";
    }
    void hostileValuesReachPppdUnchanged()
    {
        QFETCH(QString, sField);
        QFETCH(QString, sTemplate);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString sMark = root.filePath(QStringLiteral("MARK"));
        const QString sValue = QString(sTemplate).replace(QStringLiteral("MARK"), sMark);
        installRecordingPppd(root.path());

        CSetGsmGprs oSetup = gsmSetup(QStringLiteral("user"), QStringLiteral("pw"), QStringLiteral("apn"),
                                      QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2"), 60, 57600, 0);
        if (sField == QLatin1String("apn"))
            oSetup.setApn(sValue);
        else if (sField == QLatin1String("user"))
            oSetup.setUser(sValue);
        else if (sField == QLatin1String("password"))
            oSetup.setPassword(sValue);
        else if (sField == QLatin1String("dns1"))
            oSetup.setDns1(sValue);
        else
            oSetup.setDns2(sValue);

        qputenv("FTP_DATA_ROOT", root.path().toUtf8());
        const QString sCommand = dialupCommand(oSetup, QStringLiteral("Telit"));
        qunsetenv("FTP_DATA_ROOT");
        CSystemShell().run(sCommand);

        const QString sOut = root.filePath(QStringLiteral("usr/sbin/env.out"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sOut), 30000);
        QFile out(sOut);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QList<QByteArray> aValues = out.readAll().split('\0');
        QCOMPARE(aValues.size(), asVariables.size() + 4); // + "call gprs 57600" and the empty tail

        const QStringList asWant = {oSetup.user(), QStringLiteral("AT#GAUTH=0"), oSetup.apn(), oSetup.password(),
                                    oSetup.dns1(), oSetup.dns2(), QStringLiteral("60")};
        for (int i = 0; i < asWant.size(); ++i)
            QCOMPARE(QString::fromUtf8(aValues.at(i)), asWant.at(i));
        QCOMPARE(aValues.at(7), QByteArray("call"));
        QCOMPARE(aValues.at(8), QByteArray("gprs"));
        QCOMPARE(aValues.at(9), QByteArray("57600"));
        QVERIFY2(!QFile::exists(sMark), "a value ran a command");
    }

    void commandWordLeavesPlainValues_data()
    {
        QTest::addColumn<QString>("sValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("APN") << "internet.t-d1.de" << "internet.t-d1.de";
        QTest::newRow("path") << "/var/log/FTL/EVEl20240101120000.ftl" << "/var/log/FTL/EVEl20240101120000.ftl";
        QTest::newRow("hash inside") << "AT#GAUTH=2" << "AT#GAUTH=2";
        QTest::newRow("hash first") << "#x" << "'#x'";
        QTest::newRow("blank") << "a b" << "'a b'";
        QTest::newRow("quote") << "it's" << "'it'\\''s'";
        QTest::newRow("tilde") << "~root" << "'~root'";
        QTest::newRow("umlaut") << "\u00e4" << "'\u00e4'";
    }
    void commandWordLeavesPlainValues()
    {
        QFETCH(QString, sValue);
        QFETCH(QString, sWant);
        QCOMPARE(commandWord(sValue), sWant);
    }

    void stopCommands()
    {
        QCOMPARE(stopDialupCommand(), QStringLiteral("killall pppd"));
        QCOMPARE(killDialupCommand(), QStringLiteral("killall -9 pppd"));
        QCOMPARE(killFtpClientCommand(), QStringLiteral("killall -9 FTP_Client"));
        QCOMPARE(commandReturnText(killDialupCommand(), 256), QStringLiteral("return of 'killall -9 pppd': 256"));
        QCOMPARE(commandReturnText(killFtpClientCommand(), 0),
                 QStringLiteral("return of 'killall -9 FTP_Client': 0"));
        QCOMPARE(commandReturnText(stopDialupCommand(), 1), QStringLiteral("return of 'killall pppd': 1"));
        QCOMPARE(dialupReturnText(32512), QStringLiteral("return of pppd call gprs: 32512\n"));
    }

    void moduleReady_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<int>("iState");
        QTest::addColumn<bool>("bWant");
        QTest::newRow("Telit ready") << "Telit" << 4 << true;
        QTest::newRow("other module ready") << "Quectel" << 4 << true;
        QTest::newRow("no name ready") << "" << 4 << true;
        QTest::newRow("state 0") << "Telit" << 0 << false;
        QTest::newRow("state 3") << "Telit" << 3 << false;
        QTest::newRow("state 5") << "Telit" << 5 << false;
        QTest::newRow("state -1") << "Telit" << -1 << false;
    }
    void moduleReady()
    {
        QFETCH(QString, sModule);
        QFETCH(int, iState);
        QFETCH(bool, bWant);
        CRunGsm oRunGsm;
        oRunGsm.setModuleName(sModule);
        oRunGsm.setModuleState(iState);
        QCOMPARE(isGsmModuleReady(oRunGsm), bWant);
        QCOMPARE(gsmModuleNotReadyText(), QStringLiteral("GSM-Module is not ready!"));
    }

    void telitName_data()
    {
        QTest::addColumn<QString>("sModule");
        QTest::addColumn<bool>("bWant");
        QTest::newRow("Telit") << "Telit" << true;
        QTest::newRow("lower case") << "telit" << false;
        QTest::newRow("trailing blank") << "Telit " << false;
        QTest::newRow("longer name") << "Telit GE910" << false;
        QTest::newRow("empty") << "" << false;
    }
    void telitName()
    {
        QFETCH(QString, sModule);
        QFETCH(bool, bWant);
        QCOMPARE(isTelitModule(sModule), bWant);
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
