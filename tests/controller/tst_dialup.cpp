#include "controller/ccommandword.h"
#include "controller/cdialupcommand.h"
#include "controller/cgsmmodule.h"
#include "records/ccommrecords.h"
#include "tests/support/crecordtext.h"
#include "tests/support/ctable.h"

#include <QProcess>
#include <QTest>

class TestDialup : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { qunsetenv("FTP_DATA_ROOT"); }

    // The module's own authentication only for a module named exactly
    // "Telit" with a type below 3, the APN prefix for others with PAP or
    // CHAP, and the limits of time-out and speed.
    TABLE_TEST(commandParts, "dialup.tsv")
    {
        const QString sCommand = dialupCommand(recordWith<CSetGsmGprs>(row[1]), row[0]);
        QVERIFY2(row[2].startsWith("/bin/sh") ? sCommand == row[2] : sCommand.contains(row[2]), qPrintable(sCommand));
    }

    // Each assignment keeps within 99 bytes; a value is cut, never in the
    // middle of a character.
    TABLE_TEST(longValueIsCutToTheAssignment, "dialup.tsv")
    {
        QCOMPARE(dialupAssignment("PXLN_GPRS_USER", row[0]),
                 "PXLN_GPRS_USER=\"" + row[1] + "\";export PXLN_GPRS_USER;");
    }

    // Plain values go into a command line as they are, so the usual command
    // lines keep their text; anything else is quoted so the shell hands it
    // back unchanged.
    TABLE_TEST(commandWordIsInert, "dialup.tsv")
    {
        const QString sValue = QString(row[0]).replace("<hash>", "#");
        const bool bPlain = row.value(1) == "1";
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
        QCOMPARE(commandReturnText(stopDialupCommand(), 1), QStringLiteral("return of 'killall pppd':  1"));
        QCOMPARE(dialupReturnText(32512), QStringLiteral("return of pppd call gprs: 32512\n"));
    }

    TABLE_TEST(moduleReady, "dialup.tsv")
    {
        CRunGsm oRunGsm;
        oRunGsm.setModuleName(row[0]);
        oRunGsm.setModuleState(row[1].toInt());
        QCOMPARE(isGsmModuleReady(oRunGsm), row[1] == "4");
    }
};

QTEST_GUILESS_MAIN(TestDialup)
#include "tst_dialup.moc"
