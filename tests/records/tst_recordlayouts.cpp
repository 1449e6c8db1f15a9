#include "records/ccommrecords.h"
#include "records/crecordregistry.h"
#include "records/cvehiclerecords.h"
#include "records/cwmrecords.h"

#include <QTest>

// The layouts are long runs of field kinds; these cases pin each record's
// version, body form, field count and the kind of the fields in use, so a
// miscounted run shows here rather than as a shifted field on the vehicle.
class TestRecordLayouts : public QObject
{
    Q_OBJECT

private slots:
    void shape_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<int>("iVersion");
        QTest::addColumn<int>("iBody");
        QTest::addColumn<int>("iFields");
        const int P = int(EBodyForm::Plain), T = int(EBodyForm::PlainTracked), F = int(EBodyForm::Flagged);
        QTest::newRow("CSetGsmGprs") << "CSetGsmGprs" << 256 << P << 14;
        QTest::newRow("CRunGsm") << "CRunGsm" << 256 << F << 11;
        QTest::newRow("CRunGsmGprs") << "CRunGsmGprs" << 256 << F << 6;
        QTest::newRow("CRunFtpTransferStatus") << "CRunFtpTransferStatus" << 256 << F << 25;
        QTest::newRow("CRunTriggerFtpTransfer") << "CRunTriggerFtpTransfer" << 256 << F << 14;
        QTest::newRow("CSetGsmGprsFtpData") << "CSetGsmGprsFtpData" << 256 << P << 6;
        QTest::newRow("CSetGsmGprsFtpService") << "CSetGsmGprsFtpService" << 256 << P << 5;
        QTest::newRow("CSetGsmGprsFtpUpdate") << "CSetGsmGprsFtpUpdate" << 256 << P << 6;
        QTest::newRow("CSetFtpSwUpdate") << "CSetFtpSwUpdate" << 256 << P << 7;
        QTest::newRow("CSetGpsTracking") << "CSetGpsTracking" << 256 << P << 5;
        QTest::newRow("CSetLTServer") << "CSetLTServer" << 256 << P << 11;
        QTest::newRow("CRunVpn") << "CRunVpn" << 256 << F << 4;
        QTest::newRow("CSetGsm") << "CSetGsm" << 256 << P << 9;
        QTest::newRow("CLogbookFilter") << "CLogbookFilter" << 256 << P << 10;
        QTest::newRow("CSetCan") << "CSetCan" << 1 << P << 1;
        QTest::newRow("CSetCompartmentSensorNonWM") << "CSetCompartmentSensorNonWM" << 256 << P << 23;
        QTest::newRow("CSetGeneralNonWM") << "CSetGeneralNonWM" << 256 << P << 135;
        QTest::newRow("CSetGeneralWM") << "CSetGeneralWM" << 256 << P << 44;
        QTest::newRow("CSetGlobalSensorNonWM") << "CSetGlobalSensorNonWM" << 256 << P << 34;
        QTest::newRow("CSetGeoFencing") << "CSetGeoFencing" << 256 << T << 3;
        QTest::newRow("CRunCan") << "CRunCan" << 1 << F << 7;
        QTest::newRow("CRunCompNonWM") << "CRunCompNonWM" << 256 << F << 19;
        QTest::newRow("CRunCompSensorNonWM") << "CRunCompSensorNonWM" << 256 << F << 24;
        QTest::newRow("CRunGeneralNonWM") << "CRunGeneralNonWM" << 256 << F << 31;
        QTest::newRow("CRunGeoFencing") << "CRunGeoFencing" << 256 << F << 4;
        QTest::newRow("CRunTruck") << "CRunTruck" << 256 << F << 12;
        QTest::newRow("CRunTruckSensorNonWM") << "CRunTruckSensorNonWM" << 256 << F << 101;
        QTest::newRow("CSetMeterWM") << "CSetMeterWM" << 256 << P << 51;
        QTest::newRow("CSetProductWM") << "CSetProductWM" << 256 << P << 46;
        QTest::newRow("CRunProcessWM") << "CRunProcessWM" << 256 << F << 34;
        QTest::newRow("OrderRecord") << "OrderRecord" << 256 << F << 19;
        QTest::newRow("ProductRecord") << "ProductRecord" << 256 << P << 1;
        QTest::newRow("CRunSealStateLGMWM") << "CRunSealStateLGMWM" << 256 << F << 15;
    }
    void shape()
    {
        QFETCH(QString, sRecord);
        QFETCH(int, iVersion);
        QFETCH(int, iBody);
        QFETCH(int, iFields);
        std::unique_ptr<CRecord> pRecord = makeRecord(sRecord);
        QVERIFY(pRecord);
        QVERIFY(layoutIsConsistent(pRecord->layout()));
        QCOMPARE(pRecord->version(), iVersion);
        QCOMPARE(int(pRecord->layout().eBody), iBody);
        QCOMPARE(pRecord->fieldCount(), iFields);
        QCOMPARE(pRecord->reserve(), sRecord == "CLogbookFilter" ? QByteArray() : QByteArray(32, '\0'));
        QVERIFY(!pRecord->isChanged());
    }

    void everyRecordIsListed()
    {
        QCOMPARE(recordNames().size(), 34);
        QVERIFY(!makeRecord(QStringLiteral("CNoSuchRecord")));
    }

    // Kinds of the fields the daemon reads, where a miscount would land.
    void fieldKinds_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<int>("iField");
        QTest::addColumn<int>("iKind");
        const int I = int(EFieldType::Int), B = int(EFieldType::Bool), S = int(EFieldType::Text),
                  L = int(EFieldType::Int64), D = int(EFieldType::Double), M = int(EFieldType::TextMap),
                  Pf = int(EFieldType::PositionFix), Dt = int(EFieldType::DateTime),
                  A = int(EFieldType::TextList), Y = int(EFieldType::Bytes), N = int(EFieldType::IntList);
        QTest::newRow("general setup 17 bool") << "CSetGeneralNonWM" << 17 << B;
        QTest::newRow("general setup 38 bNonWmFlag1") << "CSetGeneralNonWM" << 38 << B;
        QTest::newRow("general setup 44 int") << "CSetGeneralNonWM" << 44 << I;
        QTest::newRow("general setup 48 bLgmActive1") << "CSetGeneralNonWM" << 48 << B;
        QTest::newRow("general setup 55 bool") << "CSetGeneralNonWM" << 55 << B;
        QTest::newRow("general setup 56 VehicleType") << "CSetGeneralNonWM" << 56 << I;
        QTest::newRow("general setup 65 text") << "CSetGeneralNonWM" << 65 << S;
        QTest::newRow("general setup 67 int64") << "CSetGeneralNonWM" << 67 << L;
        QTest::newRow("general setup 71 sTimeZone") << "CSetGeneralNonWM" << 71 << S;
        QTest::newRow("general setup 72 bSummerTime") << "CSetGeneralNonWM" << 72 << B;
        QTest::newRow("general setup 99 double") << "CSetGeneralNonWM" << 99 << D;
        QTest::newRow("general setup 122 int64") << "CSetGeneralNonWM" << 122 << L;
        QTest::newRow("general setup 131 text") << "CSetGeneralNonWM" << 131 << S;
        QTest::newRow("general setup 134 switches") << "CSetGeneralNonWM" << 134 << I;
        QTest::newRow("general setup 135 report") << "CSetGeneralNonWM" << 135 << B;
        QTest::newRow("general WM 11 text") << "CSetGeneralWM" << 11 << S;
        QTest::newRow("general WM 28 text") << "CSetGeneralWM" << 28 << S;
        QTest::newRow("general WM 29 bool") << "CSetGeneralWM" << 29 << B;
        QTest::newRow("general WM 37 meters") << "CSetGeneralWM" << 37 << I;
        QTest::newRow("general WM 41 bool") << "CSetGeneralWM" << 41 << B;
        QTest::newRow("general runtime 15 date-time") << "CRunGeneralNonWM" << 15 << Dt;
        QTest::newRow("general runtime 28 text") << "CRunGeneralNonWM" << 28 << S;
        QTest::newRow("general runtime 29 map") << "CRunGeneralNonWM" << 29 << M;
        QTest::newRow("general runtime 31 int") << "CRunGeneralNonWM" << 31 << I;
        QTest::newRow("compartment 12 date-time") << "CRunCompNonWM" << 12 << Dt;
        QTest::newRow("compartment 14 fix") << "CRunCompNonWM" << 14 << Pf;
        QTest::newRow("compartment 17 fix") << "CRunCompNonWM" << 17 << Pf;
        QTest::newRow("compartment sensor 19 bool") << "CRunCompSensorNonWM" << 19 << B;
        QTest::newRow("compartment sensor 24 int") << "CRunCompSensorNonWM" << 24 << I;
        QTest::newRow("truck 8 fix") << "CRunTruck" << 8 << Pf;
        QTest::newRow("truck sensor 86 bool") << "CRunTruckSensorNonWM" << 86 << B;
        QTest::newRow("CAN runtime 7 text list") << "CRunCan" << 7 << A;
        QTest::newRow("meter 46 sMeterText") << "CSetMeterWM" << 46 << S;
        QTest::newRow("meter 48 bool") << "CSetMeterWM" << 48 << B;
        QTest::newRow("meter 51 text") << "CSetMeterWM" << 51 << S;
        QTest::newRow("product 6 dProductValue1") << "CSetProductWM" << 6 << D;
        QTest::newRow("product 43 int64") << "CSetProductWM" << 43 << L;
        QTest::newRow("product 46 bool") << "CSetProductWM" << 46 << B;
        QTest::newRow("process 23 metering point") << "CRunProcessWM" << 23 << S;
        QTest::newRow("process 30 value") << "CRunProcessWM" << 30 << I;
        QTest::newRow("order 12 fix") << "OrderRecord" << 12 << Pf;
        QTest::newRow("order 19 customer") << "OrderRecord" << 19 << S;
        QTest::newRow("seal 3 bytes") << "CRunSealStateLGMWM" << 3 << Y;
        QTest::newRow("seal 11 date-time") << "CRunSealStateLGMWM" << 11 << Dt;
        QTest::newRow("seal 13 fix") << "CRunSealStateLGMWM" << 13 << Pf;
        QTest::newRow("transfer status 25 text") << "CRunFtpTransferStatus" << 25 << S;
        QTest::newRow("transfer status 22 int64") << "CRunFtpTransferStatus" << 22 << L;
        QTest::newRow("trigger 13 end") << "CRunTriggerFtpTransfer" << 13 << Dt;
        QTest::newRow("filter 7 list") << "CLogbookFilter" << 7 << N;
    }
    void fieldKinds()
    {
        QFETCH(QString, sRecord);
        QFETCH(int, iField);
        QFETCH(int, iKind);
        QCOMPARE(int(makeRecord(sRecord)->layout().aeTypes.value(iField - 1)), iKind);
    }

    void defaults()
    {
        const CSetGsmGprs gprs;
        QCOMPARE(gprs.timeout(), 60);
        QCOMPARE(gprs.IdleTime(), 60);
        QCOMPARE(gprs.speed(), 57600);
        const CSetFtpSwUpdate update;
        QCOMPARE(update.intAt(1), 256);
        QVERIFY(update.Remote());
        const CSetGpsTracking tracking;
        QCOMPARE(tracking.intAt(3), 180);
        QCOMPARE(tracking.intAt(4), 100);
        QCOMPARE(tracking.intAt(5), 5);
        const CSetGsm gsm;
        QCOMPARE(gsm.intAt(5), 30);
        QCOMPARE(gsm.intAt(8), 3);
        const CLogbookFilter filter;
        QCOMPARE(filter.dtStart().date(), QDate(1, 1, 1));
        QCOMPARE(filter.intAt(6), -1);
        const CSetGeneralNonWM general;
        QCOMPARE(general.sTimeZone(), QStringLiteral("Europe/Berlin"));
        QCOMPARE(general.timeTriggerMinutes(), 0);
        QVERIFY(!general.reportDuringLoading());
        const CSetGeoFencing geo;
        QCOMPARE(geo.doubleAt(2), 100.0);
        const CRunGeoFencing geoRun;
        QCOMPARE(geoRun.intAt(4), 6);
        QVERIFY(!geoRun.insideGeofence());
    }

    void compactNotation_data()
    {
        QTest::addColumn<QString>("sTypes");
        QTest::addColumn<int>("iCount");
        QTest::newRow("runs") << "5i 2b s" << 8;
        QTest::newRow("no spaces") << "i2ls" << 4;
        QTest::newRow("two-digit run") << "12d" << 12;
        QTest::newRow("unknown letter") << "3i x" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void compactNotation()
    {
        QFETCH(QString, sTypes);
        QFETCH(int, iCount);
        QCOMPARE(parseFieldTypes(sTypes.toLatin1().constData()).size(), iCount);
    }

    void geofenceEitherFieldCountsAsInside()
    {
        CRunGeoFencing geo;
        geo.setField(2, true);
        QVERIFY(geo.insideGeofence());
    }
};

QTEST_APPLESS_MAIN(TestRecordLayouts)
#include "tst_recordlayouts.moc"
