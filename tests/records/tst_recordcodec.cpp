#include "records/ccommrecords.h"
#include "records/crecordregistry.h"
#include "records/cvehiclerecords.h"
#include "records/cwmrecords.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <functional>

namespace
{

// One block of golden-records.txt: a new record reads each stream in turn
// (a clear step forgets which fields changed), must then give baGives and
// answer its getters as listed.
struct CStep {
    bool bClear = false;
    QByteArray baBytes;
};
struct CVector {
    QString sRecord;
    QString sLabel;
    bool bFresh = false;
    QList<CStep> aSteps;
    QByteArray baGives;
    QList<QPair<QString, QString>> aGets;
};

using FnGet = std::function<QVariant(const CRecord &)>;

template <class C, class R, class... A> FnGet getter(R (C::*pfnGet)(A...) const, A... args)
{
    return [=](const CRecord &r) { return QVariant::fromValue((static_cast<const C &>(r).*pfnGet)(args...)); };
}
// Named getters, by record and name as the data file writes them.
// clang-format off
#define G(C, fn) {QStringLiteral(#C "." #fn), getter(&C::fn)}
#define GA(C, fn, a) {QStringLiteral(#C "." #fn "(" #a ")"), getter(&C::fn, C::a)}
const QHash<QString, FnGet> &getters()
{
    static const QHash<QString, FnGet> hGetters = {
        G(CSetGsmGprs, user), G(CSetGsmGprs, password), G(CSetGsmGprs, apn), G(CSetGsmGprs, dns1),
        G(CSetGsmGprs, dns2), G(CSetGsmGprs, timeout), G(CSetGsmGprs, IdleTime), G(CSetGsmGprs, vpnServerIp),
        G(CSetGsmGprs, speed), G(CSetGsmGprs, authType), G(CSetGsmGprs, vpnServerPort),
        G(CRunGsm, moduleName), G(CRunGsm, moduleState),
        G(CRunGsmGprs, mode), G(CRunGsmGprs, interfaceName), G(CRunGsmGprs, ttyDevice), G(CRunGsmGprs, speed),
        G(CRunGsmGprs, localIp), G(CRunGsmGprs, remoteIp),
        GA(CRunFtpTransferStatus, state, GroupEvent), GA(CRunFtpTransferStatus, transferredBytes, GroupEvent),
        GA(CRunFtpTransferStatus, totalBytes, GroupEvent), GA(CRunFtpTransferStatus, fileName, GroupEvent),
        GA(CRunFtpTransferStatus, state, GroupUpdate), GA(CRunFtpTransferStatus, state, GroupInfo),
        GA(CRunTriggerFtpTransfer, trigger, bStartGpsFileTransfer),
        GA(CRunTriggerFtpTransfer, trigger, bStartManEventFileTransfer),
        GA(CRunTriggerFtpTransfer, trigger, bStartAutoEventFileTransfer),
        GA(CRunTriggerFtpTransfer, trigger, bStartInfoFileTransfer), G(CRunTriggerFtpTransfer, dtTriggerStartUtc),
        G(CRunTriggerFtpTransfer, dtTriggerEndUtc), G(CRunTriggerFtpTransfer, sTriggerType),
        G(CSetGsmGprsFtpData, sDomain), G(CSetGsmGprsFtpData, isEnabled),
        G(CSetGsmGprsFtpService, sDomain), G(CSetGsmGprsFtpService, isEnabled),
        G(CSetGsmGprsFtpUpdate, sDomain), G(CSetGsmGprsFtpUpdate, searchTrigger),
        G(CSetFtpSwUpdate, Month), G(CSetFtpSwUpdate, Day), G(CSetFtpSwUpdate, Weekday), G(CSetFtpSwUpdate, Hour),
        G(CSetFtpSwUpdate, Minute), G(CSetFtpSwUpdate, Remote),
        G(CSetGpsTracking, trackingMode),
        G(CSetLTServer, enabled),
        G(CRunVpn, text), G(CRunVpn, vpnActive),
        G(CLogbookFilter, ullStartRowID), G(CLogbookFilter, dtStart), G(CLogbookFilter, dtEnd),
        G(CSetGsm, sDataNumber), G(CSetGsm, iNextLogbookRowID), G(CSetGsm, iNextTrackingRowID),
        G(CSetMeterWM, sMeterText),
        G(CSetProductWM, iProductValue1), G(CSetProductWM, compensationPresent), G(CSetProductWM, iProductValue3),
        G(CSetProductWM, dProductValue1), G(CSetProductWM, iProductTable),
        G(CRunProcessWM, mode), G(CRunProcessWM, uncompensatedVolume), G(CRunProcessWM, compensatedVolume),
        G(CRunProcessWM, mass), G(CRunProcessWM, averageTemperature), G(CRunProcessWM, averageFlow),
        G(CRunProcessWM, measurementTime), G(CRunProcessWM, approved), G(CRunProcessWM, entryNumber),
        G(CRunProcessWM, meteringPoint), G(CRunProcessWM, unitCode), G(CRunProcessWM, specialValue),
        G(OrderRecord, orderNumber), G(OrderRecord, compartmentValue), G(OrderRecord, customerNumber),
        G(ProductRecord, product),
        G(CRunSealStateLGMWM, bSealState), G(CRunSealStateLGMWM, iSealState),
        G(CSetCan, interfaceInUse),
        G(CSetCompartmentSensorNonWM, manlidSensor), G(CSetCompartmentSensorNonWM, apiSensor),
        G(CSetGeneralNonWM, highPressureSetting), G(CSetGeneralNonWM, iNonWmValue1),
        G(CSetGeneralNonWM, sensorChecks), G(CSetGeneralNonWM, DelvType), G(CSetGeneralNonWM, bNonWmFlag1),
        G(CSetGeneralNonWM, bLgmActive1), G(CSetGeneralNonWM, bLgmActive2), G(CSetGeneralNonWM, lgmFlag3),
        G(CSetGeneralNonWM, lgmFlag4), G(CSetGeneralNonWM, VehicleType), G(CSetGeneralNonWM, DipStick),
        G(CSetGeneralNonWM, iDelvSide), G(CSetGeneralNonWM, iLoadSide), G(CSetGeneralNonWM, iWetlegConf),
        G(CSetGeneralNonWM, iNonWmValue2), G(CSetGeneralNonWM, bNonWmFlag2), G(CSetGeneralNonWM, iNonWmValue3),
        G(CSetGeneralNonWM, iNonWmValue4), G(CSetGeneralNonWM, sTimeZone), G(CSetGeneralNonWM, bSummerTime),
        G(CSetGeneralNonWM, timeTriggerMinutes), G(CSetGeneralNonWM, triggerSwitches),
        G(CSetGeneralNonWM, reportDuringLoading),
        G(CSetGeneralWM, highPressureWm), G(CSetGeneralWM, iCompartmentCount), G(CSetGeneralWM, sGeneralWmText11),
        G(CSetGeneralWM, sGeneralWmText12), G(CSetGeneralWM, sGeneralWmText28), G(CSetGeneralWM, iMeterCount),
        G(CSetGlobalSensorNonWM, highPressureSensor), G(CSetGlobalSensorNonWM, leftDoorSensor),
        G(CSetGlobalSensorNonWM, rightDoorSensor), G(CSetGlobalSensorNonWM, highPressureSwitch),
        G(CSetGeoFencing, enabled),
        G(CRunCan, interfaceError), G(CRunCan, interfaceReady),
        G(CRunCompNonWM, sealState),
        G(CRunCompSensorNonWM, manlidState), G(CRunCompSensorNonWM, apiState),
        G(CRunGeneralNonWM, mainMode), G(CRunGeneralNonWM, sNrpSerial), G(CRunGeneralNonWM, sNrpRootfsVersion),
        G(CRunGeneralNonWM, sNrpSwVersion), G(CRunGeneralNonWM, sNrpHsvVap), G(CRunGeneralNonWM, sNrpCommon),
        G(CRunGeneralNonWM, sDisplaySerial), G(CRunGeneralNonWM, sDisplayRootfsVersion),
        G(CRunGeneralNonWM, sDisplaySwVersion), G(CRunGeneralNonWM, sDisplayCommon),
        G(CRunGeneralWM, sLrpSerial), G(CRunGeneralWM, sLrpRootfsVersion), G(CRunGeneralWM, sLrpSwVersion),
        G(CRunGeneralWM, sLrpCommon),
        G(CRunGeoFencing, insideGeofence),
        G(CRunTruck, sealState),
        G(CRunTruckSensorNonWM, highPressureState), G(CRunTruckSensorNonWM, leftDoorState),
        G(CRunTruckSensorNonWM, rightDoorState)};
    return hGetters;
}
// clang-format on

// "00*32" is 32 bytes 00; a NAME stands for the bytes its define line gave.
bool appendBytes(const QStringList &asTokens, const QHash<QString, QByteArray> &hDefines, QByteArray &baOut)
{
    static const QRegularExpression reHex(QStringLiteral("^([0-9a-f]{2})+$"));
    for (const QString &sToken : asTokens) {
        const QStringList asParts = sToken.split('*');
        const int iCount = asParts.size() == 2 ? asParts[1].toInt() : 1;
        const QByteArray baUnit = hDefines.contains(asParts[0])        ? hDefines[asParts[0]]
                                  : reHex.match(asParts[0]).hasMatch() ? QByteArray::fromHex(asParts[0].toLatin1())
                                                                       : QByteArray();
        if (baUnit.isEmpty() || asParts.size() > 2 || iCount < 1)
            return false;
        baOut += baUnit.repeated(iCount);
    }
    return true;
}

// The vectors, and the records of the "every" lines.
QList<CVector> readVectors(const QString &sPath, QStringList &asEvery)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(sPath));
    QHash<QString, QByteArray> hDefines, hFresh;
    QList<CVector> aVectors;
    QByteArray *pTarget = nullptr;
    bool bGivesSet = false;
    const auto close = [&] {
        if (aVectors.isEmpty())
            return;
        CVector &v = aVectors.last();
        if (!bGivesSet && !v.aSteps.isEmpty())
            v.baGives = v.aSteps.last().baBytes;
        if (v.bFresh)
            hFresh[v.sRecord] = v.baGives;
    };
    for (int iLine = 1; !file.atEnd(); ++iLine) {
        const QStringList asWords = QString::fromUtf8(file.readLine()).section('#', 0, 0).simplified().split(' ');
        const QString sWord = asWords[0];
        if (sWord == "fresh" || sWord == "read") {
            close();
            aVectors.append(CVector{asWords.value(1), asWords.value(2, sWord), sWord == "fresh", {}, {}, {}});
            bGivesSet = false;
        }
        CVector *pVector = aVectors.isEmpty() ? nullptr : &aVectors.last();
        if (sWord.isEmpty() || sWord == "fresh") {
            pTarget = sWord.isEmpty() ? pTarget : &pVector->baGives;
        } else if (sWord == "define") {
            if (!appendBytes(asWords.mid(2), hDefines, hDefines[asWords.value(1)]))
                qFatal("line %d: bad define", iLine);
        } else if (sWord == "read" || sWord == "then" || sWord == "clear") {
            pVector->aSteps.append(CStep{sWord == "clear", {}});
            pTarget = sWord == "clear" ? nullptr : &pVector->aSteps.last().baBytes;
        } else if (sWord == "gives") {
            bGivesSet = true;
            pVector->baGives = asWords.value(1) == "fresh" ? hFresh.value(pVector->sRecord) : QByteArray();
            pTarget = &pVector->baGives;
        } else if (sWord == "every") {
            asEvery += asWords.mid(1);
        } else if (sWord == "get") {
            pVector->aGets.append({asWords.value(1), QStringList(asWords.mid(2)).join(' ')});
        } else if (!pTarget || !appendBytes(asWords, hDefines, *pTarget)) {
            qFatal("line %d: bytes out of place or not hex", iLine);
        }
    }
    close();
    return aVectors;
}

} // namespace

Q_DECLARE_METATYPE(CVector)

class TestRecordCodec : public QObject
{
    Q_OBJECT

  private slots:
    void vectors_data()
    {
        QTest::addColumn<CVector>("vector");
        // Every record the daemon reads or writes, each needing the bytes of a fresh one.
        QStringList asWithoutFresh;
        const QList<CVector> aVectors =
            readVectors(QStringLiteral(FTP_TEST_DATA "/golden-records.txt"), asWithoutFresh);
        QCOMPARE(asWithoutFresh.size(), 34);
        for (const CVector &v : aVectors) {
            if (v.bFresh)
                asWithoutFresh.removeAll(v.sRecord);
            QTest::addRow("%s %s", qPrintable(v.sRecord), qPrintable(v.sLabel)) << v;
        }
        QVERIFY2(asWithoutFresh.isEmpty(), qPrintable("no fresh bytes for " + asWithoutFresh.join(", ")));
    }
    void vectors()
    {
        QFETCH(CVector, vector);
        std::unique_ptr<CRecord> pRecord = makeRecord(vector.sRecord);
        QVERIFY2(pRecord, qPrintable(vector.sRecord));
        for (const CStep &step : vector.aSteps) {
            if (step.bClear)
                pRecord->setAllFlags(false);
            else
                pRecord->fromByteArray(step.baBytes);
        }
        QCOMPARE(pRecord->toByteArray().toHex(' '), vector.baGives.toHex(' '));
        for (const auto &get : vector.aGets) {
            const QString sName = vector.sRecord + '.' + get.first;
            QVERIFY2(getters().contains(sName) || get.first == "isChanged", qPrintable(sName));
            const QVariant value =
                get.first == "isChanged" ? QVariant(pRecord->isChanged()) : getters()[sName](*pRecord);
            QCOMPARE(value.toString(), get.second);
        }
    }
};

QTEST_APPLESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
