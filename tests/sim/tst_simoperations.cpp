#include "sim/cctlcommand.h"
#include "sim/cserviceoperations.h"

#include <QtTest>

class tst_SimOperations : public QObject
{
    Q_OBJECT
private slots:
    void methodNamesReachTheirRecord_data();
    void methodNamesReachTheirRecord();
    void methodOfAnotherObjectIsNotAnswered_data();
    void methodOfAnotherObjectIsNotAnswered();
    void introspectionCarriesIndexArguments_data();
    void introspectionCarriesIndexArguments();
    void ctlCommandLines_data();
    void ctlCommandLines();
    void ctlFieldPairs_data();
    void ctlFieldPairs();
    void triggerNames_data();
    void triggerNames();
    void transferGroupNames_data();
    void transferGroupNames();
};

void tst_SimOperations::methodNamesReachTheirRecord_data()
{
    QTest::addColumn<int>("iObject");
    QTest::addColumn<QString>("sMethod");
    QTest::addColumn<QString>("sRecord");
    QTest::addColumn<bool>("bIsGet");
    QTest::addColumn<QString>("sSignal");
    const int S = int(EServiceObject::Setup), R = int(EServiceObject::Runtime), W = int(EServiceObject::RuntimeWM);
    QTest::newRow("gsm/gprs setup") << S << "getSetupGsmGprs" << "CSetGsmGprs" << true << "sigSetupGsmGprs";
    QTest::newRow("gsm settings set") << S << "setSetupGsm" << "CSetGsm" << false << "sigSetupGsm";
    QTest::newRow("ftp update set") << S << "setSetupGsmGprsFtpUpdate" << "CSetGsmGprsFtpUpdate" << false
                                    << "sigSetupGsmGprsFtpUpdate";
    QTest::newRow("can setup") << S << "getSetupCan" << "CSetCan" << true << "sigSetupCan";
    QTest::newRow("products") << S << "getSetupProductWM" << "CSetProductWM" << true << "sigSetupProductWM";
    QTest::newRow("gsm runtime") << R << "getRuntimeGsm" << "CRunGsm" << true << "sigRuntimeGsm";
    QTest::newRow("link state") << R << "getRuntimeGsmGprs" << "CRunGsmGprs" << true << "sigRuntimeGsmGprs";
    QTest::newRow("transfer status") << R << "setRuntimeFtpTransferStatus" << "CRunFtpTransferStatus" << false
                                     << "sigRuntimeFtpTransferStatus";
    QTest::newRow("trigger") << R << "setRuntimeTriggerFtpTransfer" << "CRunTriggerFtpTransfer" << false
                             << "sigRuntimeTriggerFtpTransfer";
    QTest::newRow("software version") << R << "setRuntimeGeneralNonWM" << "CRunGeneralNonWM" << false
                                      << "sigRuntimeGeneralNonWM";
    QTest::newRow("compartment") << R << "getRuntimeCompNonWM" << "CRunCompNonWM" << true << "sigRuntimeCompNonWM";
    QTest::newRow("seal state wm") << W << "getRuntimeSealStateLGMWM" << "CRunSealStateLGMWM" << true
                                   << "sigRuntimeSealStateLGMWM";
}

void tst_SimOperations::methodNamesReachTheirRecord()
{
    QFETCH(int, iObject);
    QFETCH(QString, sMethod);
    QFETCH(QString, sRecord);
    QFETCH(bool, bIsGet);
    QFETCH(QString, sSignal);
    bool bGet = !bIsGet;
    const CServiceOperation *pOp = findOperationByMethod(EServiceObject(iObject), sMethod, &bGet);
    QVERIFY(pOp);
    QCOMPARE(pOp->sRecordClass, sRecord);
    QCOMPARE(bGet, bIsGet);
    QCOMPARE(pOp->changeSignal(), sSignal);
    QCOMPARE(findOperationByRecord(sRecord), pOp);
}

void tst_SimOperations::methodOfAnotherObjectIsNotAnswered_data()
{
    QTest::addColumn<int>("iObject");
    QTest::addColumn<QString>("sMethod");
    QTest::newRow("runtime gsm on setup") << int(EServiceObject::Setup) << "getRuntimeGsm";
    QTest::newRow("seal state on runtime") << int(EServiceObject::Runtime) << "getRuntimeSealStateLGMWM";
    QTest::newRow("unknown") << int(EServiceObject::Setup) << "getSetupNothing";
    QTest::newRow("logbook on setup") << int(EServiceObject::Setup) << "getLogbook";
}

void tst_SimOperations::methodOfAnotherObjectIsNotAnswered()
{
    QFETCH(int, iObject);
    QFETCH(QString, sMethod);
    QVERIFY(!findOperationByMethod(EServiceObject(iObject), sMethod, nullptr));
}

void tst_SimOperations::introspectionCarriesIndexArguments_data()
{
    QTest::addColumn<int>("iObject");
    QTest::addColumn<QString>("sFragment");
    QTest::newRow("setup interface") << int(EServiceObject::Setup)
                                     << "<interface name=\"com.Velkor.Tankora.Setup\">";
    QTest::newRow("wm interface") << int(EServiceObject::RuntimeWM)
                                  << "<interface name=\"com.Velkor.Tankora_WM.Runtime_WM\">";
    QTest::newRow("can index") << int(EServiceObject::Setup)
                               << "<method name=\"getSetupCan\">\n"
                                  "      <arg name=\"iCanInterfaceIndex\" type=\"i\" direction=\"in\"/>";
    QTest::newRow("product filter") << int(EServiceObject::Setup)
                                    << "<method name=\"getSetupProductWM\">\n"
                                       "      <arg name=\"aFilter\" type=\"ay\" direction=\"in\"/>";
    QTest::newRow("indexed signal") << int(EServiceObject::Runtime)
                                    << "<signal name=\"sigRuntimeCompNonWM\">\n"
                                       "      <arg name=\"iProcess\" type=\"i\" direction=\"out\"/>\n"
                                       "      <arg name=\"iIndex\" type=\"i\" direction=\"out\"/>";
}

void tst_SimOperations::introspectionCarriesIndexArguments()
{
    QFETCH(int, iObject);
    QFETCH(QString, sFragment);
    QVERIFY2(introspectionXml(EServiceObject(iObject)).contains(sFragment), qPrintable(sFragment));
}

void tst_SimOperations::ctlCommandLines_data()
{
    QTest::addColumn<QStringList>("asWords");
    QTest::addColumn<bool>("bOk");
    QTest::addColumn<QString>("sCommand");
    QTest::addColumn<QStringList>("asArgs");
    QTest::addColumn<int>("iIndex");
    QTest::addColumn<int>("iTimeoutMs");
    QTest::newRow("set") << QStringList{"set", "CRunTruck", "1", "3"} << true << "set"
                         << QStringList{"CRunTruck", "1", "3"} << 0 << 10000;
    QTest::newRow("index after args") << QStringList{"get", "CRunCompNonWM", "3", "--index", "2"} << true << "get"
                                      << QStringList{"CRunCompNonWM", "3"} << 2 << 10000;
    QTest::newRow("negative state stays positional")
        << QStringList{"transfer-status", "event", "-1"} << true << "transfer-status"
        << QStringList{"event", "-1"} << 0 << 10000;
    QTest::newRow("timeout") << QStringList{"--timeout", "500", "wait-for", "CRunGsmGprs", "1", "1"} << true
                             << "wait-for" << QStringList{"CRunGsmGprs", "1", "1"} << 0 << 500;
    QTest::newRow("unknown command") << QStringList{"fly"} << false << "" << QStringList{} << 0 << 10000;
    QTest::newRow("get without field") << QStringList{"get", "CRunGsm"} << false << "" << QStringList{} << 0
                                       << 10000;
    QTest::newRow("index without number") << QStringList{"dump", "CRunCan", "--index"} << false << ""
                                          << QStringList{} << 0 << 10000;
    QTest::newRow("unknown option") << QStringList{"dump", "CRunCan", "--fast"} << false << "" << QStringList{}
                                    << 0 << 10000;
    QTest::newRow("nothing") << QStringList{} << false << "" << QStringList{} << 0 << 10000;
}

void tst_SimOperations::ctlCommandLines()
{
    QFETCH(QStringList, asWords);
    QFETCH(bool, bOk);
    CCtlCommand command;
    QString sError;
    QCOMPARE(parseCtlCommand(asWords, &command, &sError), bOk);
    QCOMPARE(sError.isEmpty(), bOk);
    if (!bOk)
        return;
    QTEST(command.sCommand, "sCommand");
    QTEST(command.asArgs, "asArgs");
    QTEST(command.iIndex, "iIndex");
    QTEST(command.iTimeoutMs, "iTimeoutMs");
}

void tst_SimOperations::ctlFieldPairs_data()
{
    QTest::addColumn<QStringList>("asWords");
    QTest::addColumn<bool>("bOk");
    QTest::addColumn<int>("iPairs");
    QTest::newRow("two pairs") << QStringList{"1", "1", "5", "10.64.0.2"} << true << 2;
    QTest::newRow("odd count") << QStringList{"1", "1", "5"} << false << 0;
    QTest::newRow("field zero") << QStringList{"0", "1"} << false << 0;
    QTest::newRow("field name") << QStringList{"mode", "1"} << false << 0;
}

void tst_SimOperations::ctlFieldPairs()
{
    QFETCH(QStringList, asWords);
    QFETCH(bool, bOk);
    QFETCH(int, iPairs);
    QList<QPair<int, QString>> aPairs;
    QString sError;
    QCOMPARE(parseFieldPairs(asWords, &aPairs, &sError), bOk);
    QCOMPARE(aPairs.size(), iPairs);
    if (bOk)
        QCOMPARE(aPairs.last().second, asWords.last());
}

void tst_SimOperations::triggerNames_data()
{
    QTest::addColumn<QString>("sTrigger");
    QTest::addColumn<int>("iField");
    QTest::newRow("record name") << "bStartManEventFileTransfer" << 2;
    QTest::newRow("short name") << "info" << 9;
    QTest::newRow("first") << "gps" << 1;
    QTest::newRow("update test") << "update-test" << 8;
    QTest::newRow("unknown") << "coffee" << 0;
}

void tst_SimOperations::triggerNames()
{
    QFETCH(QString, sTrigger);
    QFETCH(int, iField);
    QCOMPARE(triggerField(sTrigger), iField);
}

void tst_SimOperations::transferGroupNames_data()
{
    QTest::addColumn<QString>("sGroup");
    QTest::addColumn<int>("iGroup");
    // The groups follow the status record: GPS, event, log, test, info, update.
    QTest::newRow("gps") << "gps" << 0;
    QTest::newRow("event") << "event" << 1;
    QTest::newRow("test") << "test" << 3;
    QTest::newRow("info") << "info" << 4;
    QTest::newRow("update") << "update" << 5;
    QTest::newRow("delivery shares event, has no name") << "delivery" << -1;
}

void tst_SimOperations::transferGroupNames()
{
    QFETCH(QString, sGroup);
    QFETCH(int, iGroup);
    QCOMPARE(transferGroup(sGroup), iGroup);
}

QTEST_APPLESS_MAIN(tst_SimOperations)
#include "tst_simoperations.moc"
