#include "bus/ccalls.h"
#include "bus/changetexts.h"
#include "bus/handshaketexts.h"
#include "records/ccommrecords.h"

#include <QTest>

// The texts and filters of the bus side, without a bus.
class TestBusTexts : public QObject
{
    Q_OBJECT

private slots:
    void setFailureNamesTheReplyCode_data()
    {
        QTest::addColumn<int>("iResult");
        QTest::addColumn<QString>("sText");
        QTest::newRow("backup running") << -1003 << "Dbus-Error: \"DB_ACCESS_WHILE_BACKUP\"";
        QTest::newRow("unknown code 7") << 7 << "Dbus-Error: \"7\"";
        QTest::newRow("unknown code -5") << -5 << "Dbus-Error: \"-5\"";
        QTest::newRow("failed call") << 0 << "Dbus-Error: \"REPLY_NO_SUCCESS\"";
        QTest::newRow("table empty") << -3003 << "Dbus-Error: \"TABLE_EMPTY\"";
    }
    void setFailureNamesTheReplyCode()
    {
        QFETCH(int, iResult);
        QFETCH(QString, sText);
        QCOMPARE(setFailureText(iResult), sText);
    }

    void nullReplyNamesTheOperation_data()
    {
        QTest::addColumn<QString>("sOperation");
        QTest::addColumn<QString>("sText");
        QTest::newRow("dial-up setup") << "getSetupGsmGprs" << "getSetupGsmGprs returns NULL";
        QTest::newRow("quoted operation")
            << "'getRuntimeFtpTransferStatus'" << "'getRuntimeFtpTransferStatus' returns NULL";
    }
    void nullReplyNamesTheOperation()
    {
        QFETCH(QString, sOperation);
        QFETCH(QString, sText);
        QCOMPARE(nullReplyText(sOperation), sText);
    }

    void ownWritesAreFilteredOut_data()
    {
        QTest::addColumn<int>("iProcess");
        QTest::addColumn<qint64>("llOwnPid");
        QTest::addColumn<bool>("bOwn");
        QTest::newRow("own id") << 812 << qint64(812) << true;
        QTest::newRow("another writer") << 813 << qint64(812) << false;
        QTest::newRow("initial read with 0") << 0 << qint64(812) << false;
    }
    void ownWritesAreFilteredOut()
    {
        QFETCH(int, iProcess);
        QFETCH(qint64, llOwnPid);
        QFETCH(bool, bOwn);
        QCOMPARE(isOwnProcess(iProcess, llOwnPid), bOwn);
        QCOMPARE(CBusCalls("cdata", llOwnPid).isOwn(iProcess), bOwn);
    }

    void handshakeNeedsAnotherSenderAndUs_data()
    {
        QTest::addColumn<int>("iSender");
        QTest::addColumn<int>("iAddressed");
        QTest::addColumn<bool>("bForUs");
        QTest::newRow("supervisor to us") << 100 << 812 << true;
        QTest::newRow("our own echo") << 812 << 812 << false;
        QTest::newRow("supervisor to another process") << 100 << 900 << false;
        QTest::newRow("we to another process") << 812 << 900 << false;
    }
    void handshakeNeedsAnotherSenderAndUs()
    {
        QFETCH(int, iSender);
        QFETCH(int, iAddressed);
        QFETCH(bool, bForUs);
        QCOMPARE(isAddressedToUs(iSender, iAddressed, 812), bForUs);
    }

    void handshakeTexts_data()
    {
        QTest::addColumn<QString>("sMade");
        QTest::addColumn<QString>("sExpected");
        QTest::newRow("version") << daemonVersionText() << "1.2.29 / tk-release-1.14.2-0-g3786225";
        QTest::newRow("short name") << QString::fromLatin1(busShortName()) << "FTP1";
        QTest::newRow("version map name") << versionMapName() << "FTP_Data";
        QTest::newRow("start line") << processStartText(daemonVersionText())
                                    << "signal 'onsigProcessStart' received. Set SW-Version to \"1.2.29 / "
                                       "tk-release-1.14.2-0-g3786225\"";
        QTest::newRow("lt client stop") << ltClientStopCommand() << "killall lt_client";
        QTest::newRow("lt client start")
            << ltClientStartCommand(QStringLiteral("/usr/bin/Tankora/lt_client"))
            << "export DBUS_SESSION_BUS_ADDRESS=\"unix:path=/var/run/dbus/system_bus_socket\" \n "
               "/usr/bin/Tankora/lt_client &";
        QTest::newRow("lt client start in a sandbox")
            << ltClientStartCommand(QStringLiteral("/tmp/root/usr/bin/Tankora/lt_client"))
            << "export DBUS_SESSION_BUS_ADDRESS=\"unix:path=/var/run/dbus/system_bus_socket\" \n "
               "/tmp/root/usr/bin/Tankora/lt_client &";
        QTest::newRow("mailbox created") << directoryCreationText(QStringLiteral("/var/log/log_tx"), true)
                                         << "\"/var/log/log_tx\" created.";
        QTest::newRow("mailbox not created") << directoryCreationText(QStringLiteral("/var/log/log_tx"), false)
                                             << "Failed to create /var/log/log_tx";
    }
    void handshakeTexts()
    {
        QFETCH(QString, sMade);
        QFETCH(QString, sExpected);
        QCOMPARE(sMade, sExpected);
    }

    void changeTexts_data()
    {
        QTest::addColumn<bool>("bRemote");
        QTest::addColumn<int>("iMonth");
        QTest::addColumn<int>("iDay");
        QTest::addColumn<int>("iWeekday");
        QTest::addColumn<int>("iHour");
        QTest::addColumn<int>("iMinute");
        QTest::addColumn<QString>("sText");
        QTest::newRow("weekly at 03:30")
            << true << 0 << 0 << 1 << 3 << 30 << "Auto. Sw update parameter:  Remote true Month 0 Day 0 Weekday 1 Hour 3 Minute 30";
        QTest::newRow("yearly, not remote")
            << false << 12 << 24 << 0 << 23 << 59
            << "Auto. Sw update parameter:  Remote false Month 12 Day 24 Weekday 0 Hour 23 Minute 59";
    }
    void changeTexts()
    {
        QFETCH(bool, bRemote);
        QFETCH(int, iMonth);
        QFETCH(int, iDay);
        QFETCH(int, iWeekday);
        QFETCH(int, iHour);
        QFETCH(int, iMinute);
        QFETCH(QString, sText);
        CSetFtpSwUpdate setup;
        setup.setRemote(bRemote);
        setup.setMonth(iMonth);
        setup.setDay(iDay);
        setup.setWeekday(iWeekday);
        setup.setHour(iHour);
        setup.setMinute(iMinute);
        QCOMPARE(swUpdateParameterText(setup), sText);
    }

    void flagTexts_data()
    {
        QTest::addColumn<bool>("bFlag");
        QTest::addColumn<QString>("sText");
        QTest::newRow("on") << true << "true";
        QTest::newRow("off") << false << "false";
    }
    void flagTexts()
    {
        QFETCH(bool, bFlag);
        QFETCH(QString, sText);
        QCOMPARE(flagText(bFlag), sText);
    }
};

QTEST_GUILESS_MAIN(TestBusTexts)
#include "tst_bustexts.moc"
