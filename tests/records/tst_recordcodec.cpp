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
Q_DECLARE_METATYPE(CFieldValue)

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
        // Flagged: every value after its flag, unset fields flagged false; a position fix embedded
        // with its members and no envelope.
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
        QTest::addColumn<CFieldValue>("held");
        QTest::addColumn<CFieldValue>("read");
        QTest::addColumn<bool>("bChanged");
        // Flagged records: a flagged value equal to the held one is no change.
        QTest::newRow("int same") << "CRunTruck" << 1 << CFieldValue(qint32(3)) << CFieldValue(qint32(3)) << false;
        QTest::newRow("double 100.0 to 100.5") << "CRunProcessWM" << 6 << CFieldValue(100.0) << CFieldValue(100.5)
                                               << true;
        QTest::newRow("date-time 1 ms later")
            << "CRunTruck" << 3 << CFieldValue(dtJan5) << CFieldValue(dtJan5.addMSecs(1)) << true;
        // A position fix differs by its bytes: a counter alone makes it differ.
        QTest::newRow("fix counter differs")
            << "CRunTruck" << 5 << CFieldValue(sampleFix(2)) << CFieldValue(sampleFix(99)) << true;
        // Plain records that track changes: same rules without flags.
        QTest::newRow("tracked double same") << "CSetGeoFencing" << 2 << CFieldValue(100.0) << CFieldValue(100.0)
                                             << false;
        QTest::newRow("tracked bool") << "CSetGeoFencing" << 1 << CFieldValue(false) << CFieldValue(true) << true;
    }
    void changeTests()
    {
        QFETCH(QString, sRecord);
        QFETCH(int, iField);
        QFETCH(CFieldValue, held);
        QFETCH(CFieldValue, read);
        QFETCH(bool, bChanged);
        std::unique_ptr<CRecord> pHeld = makeRecord(sRecord), pIncoming = makeRecord(sRecord);
        pHeld->setField(iField, held);
        pHeld->setAllFlags(false);
        pIncoming->setField(iField, read);
        QVERIFY(pHeld->fromByteArray(pIncoming->toByteArray()));
        QCOMPARE(pHeld->isChanged(), bChanged);
        QCOMPARE(pHeld->isFieldChanged(iField), bChanged);
        QVERIFY(same(pHeld->field(iField), read));
    }

    void notANumberInPositionFixReadsZero()
    {
        const int iDouble = 5; // the last of the six doubles in the fix
        QByteArray baFix = sampleFixBytes();
        baFix.replace(65, 8, ieee(std::numeric_limits<double>::quiet_NaN()));
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

    // A few records pinned as the service lays them out, one per body form and kind of layout: version,
    // body form (P plain, T plain that tracks changes, F flagged), field count, then kinds of single
    // fields where a miscounted run would land ("17b": field 17 is a bool; i int, b bool, d double,
    // l int64, s text, y bytes, t date-time, m text map, a text list, n int list, p position fix).
    // Every record keeps every field through a write and a read into a fresh record.
    void everyRecord_data()
    {
        QTest::addColumn<QString>("sRecord");
        QTest::addColumn<QStringList>("asShape");
        const QStringList asShapes = {"CSetGsmGprs 256 P 14", "CSetGeoFencing 256 T 3", "CRunGsmGprs 256 F 6",
            "CSetCan 1 P 1", "CLogbookFilter 256 P 10 7n", "CRunCan 1 F 7 7a",
            "CSetGeneralNonWM 256 P 135 17b 38b 44i 65s 67l 99d 122l 135b",
            "CRunGeneralNonWM 256 F 31 15t 28s 29m 31i", "CRunSealStateLGMWM 256 F 15 3y 11t 13p"};
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

    // Until the first read the monitor has no time trigger and holds events during loading; either of
    // the first two geofence fields counts as inside.
    void defaults()
    {
        const CSetGeneralNonWM general;
        QCOMPARE(general.sTimeZone(), QStringLiteral("Europe/Berlin"));
        QCOMPARE(general.timeTriggerMinutes(), 0);
        QVERIFY(!general.reportDuringLoading());
        QCOMPARE(CLogbookFilter().dtStart().date(), QDate(1, 1, 1));
        CRunGeoFencing geo;
        QVERIFY(!geo.insideGeofence());
        geo.setField(2, true);
        QVERIFY(geo.insideGeofence());
    }
};

QTEST_APPLESS_MAIN(TestRecordCodec)
#include "tst_recordcodec.moc"
