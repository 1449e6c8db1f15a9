#include "logbook/cloggsmftp.h"
#include "records/ccommrecords.h"
#include "simservicefixture.h"

#include <QtTest>

namespace {
QByteArray ctlOut(const QStringList &asWords)
{
    QByteArray baOut;
    QByteArray baErr;
    const int iExit = CSimServiceFixture::runCtl(asWords, &baOut, &baErr);
    return iExit == 0 ? baOut.trimmed() : QByteArray("exit ") + QByteArray::number(iExit) + ": " + baErr;
}
} // namespace

class tst_SimCtl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void setThenGet_data();
    void setThenGet();
    void badInputFailsClearly_data();
    void badInputFailsClearly();
    void triggerRaisesRequests();
    void transferStatusFillsItsGroup();
    void gsmStateReported();
    void waitForSeesALaterWrite();
    void waitForTimesOut();
    void addRowAndDump();
    void profileLoadedLater();

private:
    CSimServiceFixture m_service;
};

void tst_SimCtl::initTestCase()
{
    QVERIFY(m_service.start({QStringLiteral("--profile"), QStringLiteral(SIM_SOURCE_DIR "/profiles/truck.json")}));
}

void tst_SimCtl::setThenGet_data()
{
    QTest::addColumn<QStringList>("asSet");
    QTest::addColumn<QStringList>("asGet");
    QTest::addColumn<QByteArray>("baValue");
    QTest::newRow("truck seal") << QStringList{"set", "CRunTruck", "1", "3"} << QStringList{"get", "CRunTruck", "1"}
                                << QByteArray("3");
    QTest::newRow("apn") << QStringList{"set", "CSetGsmGprs", "3", "web.apn"} << QStringList{"get", "CSetGsmGprs", "3"}
                         << QByteArray("web.apn");
    QTest::newRow("plain record keeps the other fields")
        << QStringList{"set", "CSetGsmGprsFtpData", "2", "driver"} << QStringList{"get", "CSetGsmGprsFtpData", "1"}
        << QByteArray("127.0.0.1:2121");
    QTest::newRow("two fields at once") << QStringList{"set", "CRunGsmGprs", "1", "1", "5", "10.64.0.9"}
                                        << QStringList{"get", "CRunGsmGprs", "5"} << QByteArray("10.64.0.9");
    QTest::newRow("indexed") << QStringList{"set", "CRunCompNonWM", "3", "2", "--index", "4"}
                             << QStringList{"get", "CRunCompNonWM", "3", "--index", "4"} << QByteArray("2");
    QTest::newRow("other index untouched") << QStringList{"set", "CRunCompNonWM", "3", "2", "--index", "5"}
                                           << QStringList{"get", "CRunCompNonWM", "3", "--index", "6"}
                                           << QByteArray("0");
}

void tst_SimCtl::setThenGet()
{
    QFETCH(QStringList, asSet);
    QFETCH(QStringList, asGet);
    QFETCH(QByteArray, baValue);
    QCOMPARE(ctlOut(asSet), QByteArray());
    QCOMPARE(ctlOut(asGet), baValue);
}

void tst_SimCtl::badInputFailsClearly_data()
{
    QTest::addColumn<QStringList>("asWords");
    QTest::addColumn<QByteArray>("baMessage");
    QTest::newRow("unknown record") << QStringList{"set", "CRunCoffee", "1", "3"} << QByteArray("not a record");
    QTest::newRow("field out of range") << QStringList{"set", "CRunGsm", "12", "3"} << QByteArray("out of range");
    QTest::newRow("wrong kind") << QStringList{"set", "CRunGsm", "9", "ready"} << QByteArray("takes kind i");
    QTest::newRow("odd pairs") << QStringList{"set", "CRunGsm", "9"} << QByteArray("wrong number of arguments");
    QTest::newRow("unknown command") << QStringList{"fly"} << QByteArray("unknown command fly");
    QTest::newRow("unknown trigger") << QStringList{"trigger", "coffee"} << QByteArray("unknown transfer request");
    QTest::newRow("unknown group") << QStringList{"transfer-status", "delivery", "4"}
                                   << QByteArray("unknown status group");
    QTest::newRow("offline without number") << QStringList{"offline", "soon"} << QByteArray("number of seconds");
    QTest::newRow("row payload short") << QStringList{"add-row", "17", "-1", "-1", "2026-12-01T06:00:00Z", "x"}
                                       << QByteArray("payload needs 2 values");
    QTest::newRow("missing profile") << QStringList{"load", "/nonexistent/truck.json"}
                                     << QByteArray("/nonexistent/truck.json");
}

void tst_SimCtl::badInputFailsClearly()
{
    QFETCH(QStringList, asWords);
    QFETCH(QByteArray, baMessage);
    QByteArray baErr;
    QCOMPARE(CSimServiceFixture::runCtl(asWords, nullptr, &baErr), 1);
    QVERIFY2(baErr.startsWith("tankora-ctl: "), baErr.constData());
    QVERIFY2(baErr.contains(baMessage), baErr.constData());
}

void tst_SimCtl::triggerRaisesRequests()
{
    QCOMPARE(ctlOut({"trigger", "info", "bStartManEventFileTransfer"}), QByteArray());
    QCOMPARE(ctlOut({"get", "CRunTriggerFtpTransfer", "9"}), QByteArray("true"));
    QCOMPARE(ctlOut({"get", "CRunTriggerFtpTransfer", "2"}), QByteArray("true"));
    QCOMPARE(ctlOut({"get", "CRunTriggerFtpTransfer", "1"}), QByteArray("false"));
}

void tst_SimCtl::transferStatusFillsItsGroup()
{
    QCOMPARE(ctlOut({"transfer-status", "event", "3", "512", "2048", "A1234.EVE"}), QByteArray());
    QCOMPARE(ctlOut({"transfer-status", "info", "-1"}), QByteArray());
    // Event group: fields 5-8; info group: fields 17-20.
    QCOMPARE(ctlOut({"get", "CRunFtpTransferStatus", "5"}), QByteArray("3"));
    QCOMPARE(ctlOut({"get", "CRunFtpTransferStatus", "6"}), QByteArray("512"));
    QCOMPARE(ctlOut({"get", "CRunFtpTransferStatus", "7"}), QByteArray("2048"));
    QCOMPARE(ctlOut({"get", "CRunFtpTransferStatus", "8"}), QByteArray("A1234.EVE"));
    QCOMPARE(ctlOut({"get", "CRunFtpTransferStatus", "17"}), QByteArray("-1"));
}

void tst_SimCtl::gsmStateReported()
{
    QCOMPARE(ctlOut({"gsm-state"}), QByteArray("4")); // the sample truck's module is ready
    QCOMPARE(ctlOut({"gsm-state", "2"}), QByteArray());
    QCOMPARE(ctlOut({"gsm-state"}), QByteArray("2"));
    QCOMPARE(ctlOut({"get", "CRunGsm", "1"}), QByteArray("Telit"));
}

void tst_SimCtl::waitForSeesALaterWrite()
{
    QCOMPARE(ctlOut({"set", "CRunVpn", "4", "false"}), QByteArray());
    QProcess waiter;
    waiter.start(QStringLiteral(TANKORA_CTL_BIN), {"wait-for", "CRunVpn", "4", "true", "--timeout", "20000"});
    QVERIFY(waiter.waitForStarted());
    QCOMPARE(ctlOut({"set", "CRunVpn", "4", "true"}), QByteArray());
    QVERIFY(waiter.waitForFinished(30000));
    QCOMPARE(waiter.exitCode(), 0);
}

void tst_SimCtl::waitForTimesOut()
{
    QByteArray baErr;
    QCOMPARE(CSimServiceFixture::runCtl({"wait-for", "CRunGsmGprs", "1", "7", "--timeout", "200"}, nullptr, &baErr),
             2);
    QVERIFY2(baErr.contains("not \"7\""), baErr.constData());
}

void tst_SimCtl::addRowAndDump()
{
    const QByteArray baFirst = ctlOut({"add-row", "17", "-1", "-1", "2026-12-02T06:00:00Z", "GPRS", "connected"});
    bool bOk = false;
    const qlonglong llFirst = baFirst.toLongLong(&bOk);
    QVERIFY2(bOk, baFirst.constData());
    QCOMPARE(ctlOut({"add-row", "19", "13003", "-1", "2026-12-02T06:01:00Z", "3"}), QByteArray::number(llFirst + 1));
    const QByteArray baDump = ctlOut({"dump", "CSetGsmGprs"});
    QVERIFY2(baDump.contains("7 i 60\n"), baDump.constData());
    QVERIFY2(baDump.startsWith("1 s"), baDump.constData());
}

void tst_SimCtl::profileLoadedLater()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(R"({"records": [{"record": "CSetGsmGprsFtpService", "fields": {"1": "10.0.0.7"}}]})");
    file.close();
    QCOMPARE(ctlOut({"load", file.fileName()}), QByteArray());
    QCOMPARE(ctlOut({"get", "CSetGsmGprsFtpService", "1"}), QByteArray("10.0.0.7"));
}

QTEST_GUILESS_MAIN(tst_SimCtl)
#include "tst_simctl.moc"
