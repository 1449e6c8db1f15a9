#include "records/ccommrecords.h"
#include "records/cwmrecords.h"
#include "logbook/clogbase.h"
#include "logbook/clogopmm.h"
#include "sim/cvehicleprofile.h"

#include <QtTest>

class tst_SimProfile : public QObject
{
    Q_OBJECT
private slots:
    void sampleTruckLoads();
    void recordFieldsByNumber();
    void rowsInOrder();
    void refusedProfiles_data();
    void refusedProfiles();
};

void tst_SimProfile::sampleTruckLoads()
{
    QFile file(QStringLiteral(SIM_SOURCE_DIR "/profiles/truck.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    CVehicleProfile profile;
    QString sError;
    QVERIFY2(parseVehicleProfile(file.readAll(), &profile, &sError), qPrintable(sError));
    bool bFtpData = false;
    for (const CProfileRecord &record : profile.aRecords) {
        if (record.sRecordClass != QLatin1String("CSetGsmGprsFtpData"))
            continue;
        CSetGsmGprsFtpData setup;
        QVERIFY(setup.fromByteArray(record.baBytes));
        // The data server of the sample is the local back office.
        QVERIFY(setup.sDomain().startsWith(QLatin1String("127.0.0.1:")));
        QVERIFY(setup.isEnabled());
        bFtpData = true;
    }
    QVERIFY(bFtpData);
    QVERIFY(profile.aRows.size() >= 3);
}

void tst_SimProfile::recordFieldsByNumber()
{
    const QByteArray baJson = R"({"records": [
        {"record": "CSetGsmGprs", "fields": {"3": "internet.apn", "6": 45}},
        {"record": "CSetProductWM", "index": 1, "fields": {"1": 7, "6": 0.75}},
        {"record": "CRunGsmGprs", "fields": {"1": 1, "5": "10.64.0.2"}}]})";
    CVehicleProfile profile;
    QString sError;
    QVERIFY2(parseVehicleProfile(baJson, &profile, &sError), qPrintable(sError));
    QCOMPARE(profile.aRecords.size(), 3);
    CSetGsmGprs setup;
    QVERIFY(setup.fromByteArray(profile.aRecords[0].baBytes));
    QCOMPARE(setup.apn(), QStringLiteral("internet.apn"));
    QCOMPARE(setup.timeout(), 45);
    QCOMPARE(setup.IdleTime(), 60); // untouched fields keep their defaults
    QCOMPARE(profile.aRecords[1].iIndex, 1);
    CSetProductWM product;
    QVERIFY(product.fromByteArray(profile.aRecords[1].baBytes));
    QCOMPARE(product.iProductValue1(), 7);
    QCOMPARE(product.dProductValue1(), 0.75);
    CRunGsmGprs link;
    QVERIFY(link.fromByteArray(profile.aRecords[2].baBytes));
    QCOMPARE(link.mode(), 1);
    QCOMPARE(link.localIp(), QStringLiteral("10.64.0.2"));
}

void tst_SimProfile::rowsInOrder()
{
    const QByteArray baJson = R"({"logbook": [
        {"type": 19, "subtype": 13003, "compartment": 1, "time": "2026-12-01T05:58:00Z", "payload": [3]},
        {"type": 17, "time": "2026-12-01T06:10:00Z", "payload": ["GPRS", "connected"]},
        {"type": 5, "kinds": "i s", "payload": [4, "CAN bus off"]}]})";
    CVehicleProfile profile;
    QString sError;
    QVERIFY2(parseVehicleProfile(baJson, &profile, &sError), qPrintable(sError));
    QCOMPARE(profile.aRows.size(), 3);
    CLogOPMM mode(profile.aRows[0]);
    QCOMPARE(mode.LogSubType, 13003);
    QCOMPARE(mode.Compartment, 1);
    QCOMPARE(mode.MainMode, 3);
    QCOMPARE(mode.DateTime, QDateTime(QDate(2026, 12, 1), QTime(5, 58), Qt::UTC));
    QCOMPARE(LogRow::LogType(profile.aRows[1]), 17);
    QCOMPARE(LogRow::LogType(profile.aRows[2]), 5);
}

void tst_SimProfile::refusedProfiles_data()
{
    QTest::addColumn<QByteArray>("baJson");
    QTest::addColumn<QString>("sReason");
    QTest::newRow("not json") << QByteArray("{records") << "";
    QTest::newRow("an array") << QByteArray("[]") << "one JSON object";
    QTest::newRow("unknown record") << QByteArray(R"({"records": [{"record": "CSetCoffee"}]})") << "CSetCoffee";
    QTest::newRow("record outside the service")
        << QByteArray(R"({"records": [{"record": "OrderRecord"}]})") << "OrderRecord";
    QTest::newRow("field past the last") << QByteArray(R"({"records": [{"record": "CRunGsm", "fields": {"12": 1}}]})")
                                         << "field 12 out of range";
    QTest::newRow("field name") << QByteArray(R"({"records": [{"record": "CRunGsm", "fields": {"state": 4}}]})")
                                << "not a number";
    QTest::newRow("wrong kind") << QByteArray(R"({"records": [{"record": "CRunGsm", "fields": {"9": "ready"}}]})")
                                << "takes kind i";
    QTest::newRow("short payload") << QByteArray(R"({"logbook": [{"type": 17, "payload": ["GPRS"]}]})")
                                   << "logbook entry 1";
    QTest::newRow("bad time") << QByteArray(R"({"logbook": [{"type": 17, "time": "noon", "payload": ["a", "b"]}]})")
                              << "ISO 8601";
}

void tst_SimProfile::refusedProfiles()
{
    QFETCH(QByteArray, baJson);
    QFETCH(QString, sReason);
    CVehicleProfile profile;
    QString sError;
    QVERIFY(!parseVehicleProfile(baJson, &profile, &sError));
    QVERIFY(!sError.isEmpty());
    QVERIFY2(sError.contains(sReason), qPrintable(sError));
}

QTEST_APPLESS_MAIN(tst_SimProfile)
#include "tst_simprofile.moc"
