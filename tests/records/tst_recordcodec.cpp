#include "records/ccommrecords.h"
#include "records/crecordregistry.h"
#include "records/cvehiclerecords.h"
#include "records/cwmrecords.h"

#include <QRegularExpression>
#include <QtEndian>
#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

using FnFill = std::function<void(CRecord &)>;
Q_DECLARE_METATYPE(FnFill)

class TestRecordCodec : public QObject
{
    Q_OBJECT

    // Bytes written by hand from the stream layout, so the codec is checked
    // against the layout itself and not against Qt's own writer.
    static QByteArray be32(quint32 u) { return QByteArray::fromHex(QByteArray::number(u, 16).rightJustified(8, '0')); }
    static QByteArray be64(quint64 u) { return be32(quint32(u >> 32)) + be32(quint32(u)); }
    static QByteArray ieee(double d)
    {
        quint64 u = 0;
        std::memcpy(&u, &d, sizeof u);
        return be64(u);
    }
    static QByteArray flag(bool b) { return QByteArray(1, b ? '\1' : '\0'); }
    static QByteArray utf16(const QString &s)
    {
        QByteArray ba = be32(s.isNull() ? 0xffffffffu : quint32(s.size() * 2));
        for (QChar c : s)
            ba += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xff);
        return ba;
    }
    // Julian day 2460315 and 34200000 ms since midnight (5 January 2024, 09:30), UTC.
    static QByteArray stampJan5() { return be32(2460315) + be32(34200000) + QByteArray(1, '\2'); }
    // A date-time never set: day 0, no time, local.
    static QByteArray unsetStamp() { return be32(0) + be32(0xffffffffu) + QByteArray(1, '\xff'); }
    static QByteArray envelope() { return be32(256) + be32(32) + QByteArray(32, '\0'); }

    inline static const QDateTime dtJan5 = QDateTime(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    static CPositionFix sampleFix(int iCounter2 = 2)
    {
        return {256, dtJan5, {48.5, -9.25, 0}, {1, iCounter2, 3}, {0.5, 0, 0}};
    }
    static QByteArray sampleFixBytes()
    {
        return be32(256) + stampJan5() + ieee(48.5) + ieee(-9.25) + ieee(0) + be32(1) + be32(2) + be32(3) + ieee(0.5) +
               ieee(0) + ieee(0);
    }
    // A value of the field's kind that differs from every default.
    static CFieldValue sampleValue(EFieldType eType, int iField)
    {
        switch (eType) {
        case EFieldType::Int: return qint32(-1000 - 7 * iField);
        case EFieldType::Bool: return true;
        case EFieldType::Double: return 0.25 + iField;
        case EFieldType::Int64: return qint64(0x100000000LL * iField + 3);
        case EFieldType::Text: return QStringLiteral("f%1 Zürich").arg(iField);
        case EFieldType::Bytes: return QByteArray(3, char(iField));
        case EFieldType::DateTime: return dtJan5.addSecs(iField);
        case EFieldType::TextMap: return CTextMap{{QStringLiteral("k%1").arg(iField), QStringLiteral("v")}};
        case EFieldType::TextList: return QStringList{QStringLiteral("a"), QString::number(iField)};
        case EFieldType::IntList: return QList<qint32>{iField, -iField};
        case EFieldType::PositionFix: return sampleFix(iField);
        }
        return qint32(0);
    }
    static bool same(const CFieldValue &a, const CFieldValue &b) { return !fieldValueDiffers(a, b); }
    static void fillAll(CRecord &record, int iOffset = 0)
    {
        for (int i = 1; i <= record.fieldCount(); ++i)
            record.setField(i, sampleValue(record.layout().aeTypes[i - 1], i + iOffset));
    }

private slots:
    void goldenBytes_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<FnFill>("fnFill");
        QTest::addColumn<QByteArray>("baExpected");
        const QByteArray nul = utf16(QString());
        // Plain: a text, an empty text and unset (null) texts are three
        // different byte forms; defaults 60, 60, 57600 of the dial-up setup.
        QTest::newRow("plain dial-up setup")
            << "CSetGsmGprs"
            << FnFill([](CRecord &r) { r.setField(1, QStringLiteral("ab")); r.setField(2, QStringLiteral("")); })
            << envelope() + utf16("ab") + utf16("") + nul + nul + nul + be32(60) + be32(60) + be32(0) + nul +
                   be32(57600) + be32(0) + be32(0) + flag(false) + be32(0);
        // Flagged: every value after its flag, unset fields flagged false.
        QTest::newRow("flagged link state")
            << "CRunGsmGprs"
            << FnFill([](CRecord &r) { r.setField(1, qint32(1)); r.setField(5, QStringLiteral("10.0.0.7")); })
            << envelope() + flag(true) + be32(1) + flag(false) + nul + flag(false) + nul + flag(false) + be32(0) +
                   flag(true) + utf16("10.0.0.7") + flag(false) + nul;
        // A position fix embedded with its members and no envelope.
        QTest::newRow("flagged truck with position fix")
            << "CRunTruck" << FnFill([](CRecord &r) {
                   r.setField(1, qint32(3)); r.setField(3, dtJan5); r.setField(5, sampleFix());
                   r.setField(6, dtJan5); r.setField(8, sampleFix());
               })
            << envelope() + flag(true) + be32(3) + flag(false) + be32(0) + flag(true) + stampJan5() + flag(false) +
                   nul + flag(true) + sampleFixBytes() + flag(true) + stampJan5() + flag(false) + nul + flag(true) +
                   sampleFixBytes() + flag(false) + be32(0) + flag(false) + be32(0) + flag(false) + be32(0) +
                   flag(false) + be32(0);
        // The software-version entry: only the map is set.
        QByteArray baGeneral = envelope() + flag(false) + be32(0) + flag(false) + be32(0) + flag(false) + flag(false);
        for (int i = 4; i <= 13; ++i)
            baGeneral += flag(false) + nul;
        baGeneral += flag(false) + be32(0) + flag(false) + unsetStamp() + flag(false) + nul + flag(false) + be32(0) +
                     flag(false) + nul + flag(false) + be32(0);
        for (int i = 20; i <= 28; ++i)
            baGeneral += flag(false) + nul;
        baGeneral +=
            flag(true) + be32(1) + utf16("FTP_Data") + utf16("1.0.0") + flag(false) + nul + flag(false) + be32(0);
        QTest::newRow("flagged general runtime with software map") << "CRunGeneralNonWM" << FnFill([](CRecord &r) {
            r.setField(29, CTextMap{{QStringLiteral("FTP_Data"), QStringLiteral("1.0.0")}});
        }) << baGeneral;
        // The schedule carries its version a second time as first field; Remote defaults to true.
        QTest::newRow("schedule with version twice") << "CSetFtpSwUpdate" << FnFill([](CRecord &r) {
            r.setField(4, qint32(3)); r.setField(5, qint32(4)); r.setField(6, qint32(30));
        }) << envelope() + be32(256) + be32(0) + be32(0) + be32(3) + be32(4) + be32(30) + flag(true);
        // The logbook filter has no reserve; its int lists are a count and elements.
        QTest::newRow("logbook filter without reserve")
            << "CLogbookFilter"
            << FnFill([](CRecord &r) { r.setField(1, qint64(42)); r.setField(2, dtJan5); r.setField(3, dtJan5); })
            << be32(256) + be64(42) + stampJan5() + stampJan5() + be32(0) + be32(0) + be32(0xffffffffu) + be32(0) +
                   be32(0) + be32(0) + be32(0);
    }
    void goldenBytes()
    {
        QFETCH(QString, sRecord);
        QFETCH(FnFill, fnFill);
        QFETCH(QByteArray, baExpected);
        std::unique_ptr<CRecord> pRecord = makeRecord(sRecord);
        fnFill(*pRecord);
        QCOMPARE(pRecord->toByteArray().toHex(' '), baExpected.toHex(' '));
        QCOMPARE(pRecord->buffer(), baExpected);
        // Read back from the hand-made bytes into a fresh record: same bytes again.
        std::unique_ptr<CRecord> pRead = makeRecord(sRecord);
        QVERIFY(pRead->fromByteArray(baExpected));
        QCOMPARE(pRead->toByteArray().toHex(' '), baExpected.toHex(' '));
    }

    // An older version (and an empty byte array, which reads as version 0)
    // leaves the record untouched; a newer one is read normally.
    void versionCheck_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<QByteArray>("baVersion");
        QTest::addColumn<bool>("bTaken");
        QTest::newRow("255 on a 256 record") << "CSetGpsTracking" << be32(255) << false;
        QTest::newRow("300 on a 256 record") << "CSetGpsTracking" << be32(300) << true;
        QTest::newRow("negative on a 256 record") << "CSetGpsTracking" << be32(0xffffff00u) << false;
        QTest::newRow("empty bytes") << "CSetGsmGprs" << QByteArray() << false;
        QTest::newRow("0 on a CAN setup") << "CSetCan" << be32(0) << false;
        QTest::newRow("1 on a CAN setup") << "CSetCan" << be32(1) << true;
    }
    void versionCheck()
    {
        QFETCH(QString, sRecord);
        QFETCH(QByteArray, baVersion);
        QFETCH(bool, bTaken);
        std::unique_ptr<CRecord> pRecord = makeRecord(sRecord);
        fillAll(*pRecord);
        const QByteArray baBefore = pRecord->toByteArray();
        const qint32 iHeldVersion = pRecord->version();
        QByteArray baStream = baVersion;
        if (!baVersion.isEmpty()) {
            baStream += be32(32) + QByteArray(32, '\x55');
            for (int i = 0; i < pRecord->fieldCount(); ++i)
                baStream += be32(0x01020304);
        }
        QCOMPARE(pRecord->fromByteArray(baStream), bTaken);
        if (bTaken) {
            QCOMPARE(pRecord->version(), qFromBigEndian<qint32>(baVersion.constData()));
            QCOMPARE(pRecord->intAt(1), 0x01020304);
            QCOMPARE(pRecord->reserve(), QByteArray(32, '\x55'));
        } else {
            QCOMPARE(pRecord->version(), iHeldVersion);
            QCOMPARE(pRecord->toByteArray(), baBefore);
        }
    }

    // Only the mode flag is set: the cached addresses keep their values, and
    // a flag already set on the held record is not cleared by the read.
    void flaggedReadTakesFlaggedFieldsOnly()
    {
        CRunGsmGprs held;
        held.setLocalIp(QStringLiteral("10.1.1.1"));
        held.setRemoteIp(QStringLiteral("10.1.1.2"));
        held.setAllFlags(false);
        held.setFieldFlag(6, true);
        CRunGsmGprs incoming;
        incoming.setMode(3);
        incoming.setField(5, QStringLiteral("0.0.0.0"));
        incoming.setFieldFlag(5, false);
        QVERIFY(held.fromByteArray(incoming.toByteArray()));
        QCOMPARE(held.mode(), 3);
        QCOMPARE(held.localIp(), QStringLiteral("10.1.1.1"));
        QCOMPARE(held.remoteIp(), QStringLiteral("10.1.1.2"));
        QVERIFY(held.isChanged() && held.isFieldChanged(1) && held.isFieldChanged(6));
        QVERIFY(!held.isFieldChanged(5));
    }

    void changeTests_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<int>("iField");
        QTest::addColumn<QVariant>("vHeld");
        QTest::addColumn<QVariant>("vRead");
        QTest::addColumn<bool>("bChanged");
        // Flagged records: a flagged value equal to the held one is no change.
        QTest::newRow("int same") << "CRunTruck" << 1 << QVariant(3) << QVariant(3) << false;
        QTest::newRow("double 100.0 to 100.0") << "CRunProcessWM" << 6 << QVariant(100.0) << QVariant(100.0) << false;
        QTest::newRow("double 100.0 to 100.5") << "CRunProcessWM" << 6 << QVariant(100.0) << QVariant(100.5) << true;
        QTest::newRow("date-time 1 ms later")
            << "CRunTruck" << 3 << QVariant(dtJan5) << QVariant(dtJan5.addMSecs(1)) << true;
        // A position fix differs by its bytes: a counter alone makes it differ.
        QTest::newRow("fix same") << "CRunTruck" << 5 << QVariant(2) << QVariant(2) << false;
        QTest::newRow("fix counter differs") << "CRunTruck" << 5 << QVariant(2) << QVariant(99) << true;
        // Plain records that track changes: same rules without flags.
        QTest::newRow("tracked double same") << "CSetGeoFencing" << 2 << QVariant(100.0) << QVariant(100.0) << false;
        QTest::newRow("tracked bool") << "CSetGeoFencing" << 1 << QVariant(false) << QVariant(true) << true;
    }
    void changeTests()
    {
        QFETCH(QString, sRecord);
        QFETCH(int, iField);
        QFETCH(QVariant, vHeld);
        QFETCH(QVariant, vRead);
        QFETCH(bool, bChanged);
        std::unique_ptr<CRecord> pHeld = makeRecord(sRecord);
        const EFieldType eType = pHeld->layout().aeTypes[iField - 1];
        auto valueOf = [eType](const QVariant &v) -> CFieldValue {
            switch (eType) {
            case EFieldType::Int: return qint32(v.toInt());
            case EFieldType::Bool: return v.toBool();
            case EFieldType::Double: return v.toDouble();
            case EFieldType::DateTime: return v.toDateTime();
            default: return sampleFix(v.toInt());
            }
        };
        pHeld->setField(iField, valueOf(vHeld));
        pHeld->setAllFlags(false);
        std::unique_ptr<CRecord> pIncoming = makeRecord(sRecord);
        pIncoming->setField(iField, valueOf(vRead));
        QVERIFY(pHeld->fromByteArray(pIncoming->toByteArray()));
        QCOMPARE(pHeld->isChanged(), bChanged);
        QCOMPARE(pHeld->isFieldChanged(iField), bChanged);
        QVERIFY(same(pHeld->field(iField), valueOf(vRead)));
    }

    void notANumberInPositionFixReadsZero_data()
    {
        QTest::addColumn<int>("iDouble");
        for (int i = 0; i < 6; ++i)
            QTest::addRow("double %d", i) << i;
    }
    void notANumberInPositionFixReadsZero()
    {
        QFETCH(int, iDouble);
        QByteArray baFix = sampleFixBytes();
        static const int aiOffsets[] = {13, 21, 29, 49, 57, 65}; // the six doubles within the fix
        baFix.replace(aiOffsets[iDouble], 8, ieee(std::numeric_limits<double>::quiet_NaN()));
        CRunTruck truck;
        truck.fromByteArray(envelope() + flag(true) + be32(3) + flag(false) + be32(0) + flag(false) + unsetStamp() +
                            flag(false) + utf16(QString()) + flag(true) + baFix);
        const CPositionFix fix = truck.positionFixAt(5);
        const double adAll[] = {fix.adMeasures[0], fix.adMeasures[1], fix.adMeasures[2],
                                fix.adFurther[0],  fix.adFurther[1],  fix.adFurther[2]};
        const double adSample[] = {48.5, -9.25, 0.0, 0.5, 0.0, 0.0};
        for (int i = 0; i < 6; ++i) {
            QVERIFY(!std::isnan(adAll[i]));
            QCOMPARE(adAll[i], i == iDouble ? 0.0 : adSample[i]);
        }
    }

    // Short input: values past the end read as zero or empty; a plain body
    // takes them over, a flagged body reads false flags and keeps its values.
    void truncatedInput_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<int>("iKeepBytes");
        QTest::addColumn<bool>("bPlainOverwrites");
        QTest::newRow("plain cut after the user") << "CSetGsmGprs" << 40 + 22 << true;
        QTest::newRow("flagged cut after the mode") << "CRunGsmGprs" << 40 + 5 << false;
    }
    void truncatedInput()
    {
        QFETCH(QString, sRecord);
        QFETCH(int, iKeepBytes);
        QFETCH(bool, bPlainOverwrites);
        std::unique_ptr<CRecord> pSource = makeRecord(sRecord), pHeld = makeRecord(sRecord);
        fillAll(*pSource);
        fillAll(*pHeld, 50);
        QVERIFY(pHeld->fromByteArray(pSource->toByteArray().left(iKeepBytes)));
        const int iLast = pHeld->fieldCount();
        const EFieldType eLast = pHeld->layout().aeTypes[iLast - 1];
        if (bPlainOverwrites) {
            QVERIFY(same(pHeld->field(iLast), defaultFieldValue(eLast)));
        } else {
            QVERIFY(same(pHeld->field(1), pSource->field(1)));
            QVERIFY(same(pHeld->field(iLast), sampleValue(eLast, iLast + 50)));
        }
    }

    void trailingBytesIgnored()
    {
        CSetGpsTracking source, read;
        source.setTrackingMode(1);
        read.setTrackingMode(7);
        QVERIFY(read.fromByteArray(source.toByteArray() + QByteArray::fromHex("deadbeef0102")));
        QCOMPARE(read.toByteArray(), source.toByteArray());
    }

    // A list count far beyond the bytes that follow reads as an empty list
    // without reserving room for it.
    void hugeListCountReadsEmpty()
    {
        CRunCan can;
        QVERIFY(can.fromByteArray(be32(1) + be32(32) + QByteArray(32, '\0') + flag(true) + utf16("can0") + flag(true) +
                                  be32(0) + flag(true) + flag(false) + flag(true) + flag(true) + flag(true) +
                                  be32(0xfffffff0u) + utf16("x")));
        QVERIFY(can.textListAt(5).isEmpty());
        QVERIFY(can.interfaceReady());
    }

    // Each record as the service lays it out: version, body form (P plain, T plain that tracks changes,
    // F flagged), field count, then the kinds of single fields where a miscounted run of the layout would
    // land ("17b": field 17 is a bool; i int, b bool, d double, l int64, s text, y bytes, t date-time,
    // m text map, a text list, n int list, p position fix). Every record, pinned or not, keeps every
    // field through a write and a read into a fresh record.
    void everyRecord_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<QStringList>("asShape");
        const QStringList asShapes = {"CSetGsmGprs 256 P 14", "CRunGsm 256 F 11", "CRunGsmGprs 256 F 6",
            "CRunFtpTransferStatus 256 F 25 22l 25s", "CRunTriggerFtpTransfer 256 F 14 13t",
            "CSetGsmGprsFtpData 256 P 6", "CSetGsmGprsFtpService 256 P 5", "CSetGsmGprsFtpUpdate 256 P 6",
            "CSetFtpSwUpdate 256 P 7", "CSetGpsTracking 256 P 5", "CSetLTServer 256 P 11", "CRunVpn 256 F 4",
            "CSetGsm 256 P 9",
            "CLogbookFilter 256 P 10 7n", "CSetCan 1 P 1", "CSetCompartmentSensorNonWM 256 P 23",
            "CSetGeneralNonWM 256 P 135 17b 38b 44i 48b 55b 56i 65s 67l 71s 72b 99d 122l 131s 134i 135b",
            "CSetGeneralWM 256 P 44 11s 28s 29b 37i 41b", "CSetGlobalSensorNonWM 256 P 34", "CSetGeoFencing 256 T 3",
            "CRunCan 1 F 7 7a", "CRunCompNonWM 256 F 19 12t 14p 17p", "CRunCompSensorNonWM 256 F 24 19b 24i",
            "CRunGeneralNonWM 256 F 31 15t 28s 29m 31i", "CRunGeoFencing 256 F 4", "CRunTruck 256 F 12 8p",
            "CRunTruckSensorNonWM 256 F 101 86b", "CSetMeterWM 256 P 51 46s 48b 51s",
            "CSetProductWM 256 P 46 6d 43l 46b", "CRunProcessWM 256 F 34 23s 30i", "OrderRecord 256 F 19 12p 19s",
            "ProductRecord 256 P 1", "CRunSealStateLGMWM 256 F 15 3y 11t 13p"};
        for (const QString &sName : recordNames()) {
            const QStringList asFound = asShapes.filter(QRegularExpression("^" + sName + " "));
            QTest::newRow(qPrintable(sName))
                << sName << (asFound.isEmpty() ? QStringList() : asFound[0].split(' ').mid(1));
        }
    }
    void everyRecord()
    {
        QFETCH(QString, sRecord);
        QFETCH(QStringList, asShape);
        std::unique_ptr<CRecord> pSource = makeRecord(sRecord);
        QVERIFY(layoutIsConsistent(pSource->layout()));
        QVERIFY(!pSource->isChanged());
        if (!asShape.isEmpty()) {
            QCOMPARE(pSource->version(), asShape[0].toInt());
            QCOMPARE(int(pSource->layout().eBody), int(QStringLiteral("PTF").indexOf(asShape[1])));
            QCOMPARE(pSource->fieldCount(), asShape[2].toInt());
            QCOMPARE(pSource->reserve(), sRecord == "CLogbookFilter" ? QByteArray() : QByteArray(32, '\0'));
            for (const QString &sKind : asShape.mid(3)) {
                const EFieldType eType = pSource->layout().aeTypes.value(sKind.chopped(1).toInt() - 1);
                QVERIFY2(int(eType) == int(QStringLiteral("ibdlsytmanp").indexOf(sKind.back())), qPrintable(sKind));
            }
        }
        fillAll(*pSource);
        const QByteArray baBytes = pSource->toByteArray();
        std::unique_ptr<CRecord> pRead = makeRecord(sRecord);
        QVERIFY(pRead->fromByteArray(baBytes));
        for (int i = 1; i <= pSource->fieldCount(); ++i)
            QVERIFY2(same(pRead->field(i), pSource->field(i)), qPrintable(QString::number(i)));
        QCOMPARE(pRead->toByteArray(), baBytes);
    }

    void defaults()
    {
        const CSetGpsTracking tracking;
        QCOMPARE(tracking.intAt(3), 180);
        QCOMPARE(tracking.intAt(4), 100);
        QCOMPARE(tracking.intAt(5), 5);
        const CSetGsm gsm;
        QCOMPARE(gsm.intAt(5), 30);
        QCOMPARE(gsm.intAt(8), 3);
        const CLogbookFilter filter;
        QCOMPARE(filter.dtStart().date(), QDate(1, 1, 1));
        // Until the first read the monitor has no time trigger and holds events
        // during loading.
        const CSetGeneralNonWM general;
        QCOMPARE(general.sTimeZone(), QStringLiteral("Europe/Berlin"));
        QCOMPARE(general.timeTriggerMinutes(), 0);
        QVERIFY(!general.reportDuringLoading());
        QCOMPARE(CSetGeoFencing().doubleAt(2), 100.0);
        CRunGeoFencing geo;
        QCOMPARE(geo.intAt(4), 6);
        QVERIFY(!geo.insideGeofence());
        geo.setField(2, true); // either of the first two fields counts as inside
        QVERIFY(geo.insideGeofence());
    }
};

QTEST_APPLESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
