#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/clogopmm.h"
#include "records/ccommrecords.h"
#include "records/creplycode.h"
#include "sim/cfieldtext.h"
#include "sim/clogrowbuilder.h"
#include "sim/clogrowheader.h"
#include "sim/crecordfields.h"
#include "sim/crecordmerge.h"
#include "sim/csimreply.h"

#include <QtTest>

namespace {
// What the service keeps after the second write over the first.
QByteArray keptAfter(const char *pszRecord, CRecord &first, CRecord &second)
{
    QByteArray baStored;
    if (mergeRecordBytes(QLatin1String(pszRecord), QByteArray(), first.toByteArray(), &baStored) != REPLY_SUCCESS)
        return QByteArray("first refused");
    QByteArray baMerged;
    if (mergeRecordBytes(QLatin1String(pszRecord), baStored, second.toByteArray(), &baMerged) != REPLY_SUCCESS)
        return QByteArray("second refused");
    return baMerged;
}

QDateTime utc(int iYear, int iMonth, int iDay, int iHour, int iMinute)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute), Qt::UTC);
}

const QDateTime g_dtRow = utc(2026, 12, 1, 6, 10);

// A row as the profile or tankora-ctl describes it, with the payload as text.
QByteArray rowOfTexts(qint32 iLogType, qint32 iSubType, qint32 iCompartment, const QStringList &asValues)
{
    CLogRowParts oParts;
    oParts.LogType = iLogType;
    oParts.LogSubType = iSubType;
    oParts.Compartment = iCompartment;
    oParts.DateTime = g_dtRow;
    QString sError;
    if (!payloadFromTexts(payloadKinds(iLogType), asValues, &oParts.aPayload, &sError))
        return sError.toUtf8();
    return buildLogRow(oParts);
}

// The same row written by the daemon's own entry class.
QByteArray entryRow(CLogBase &entry, qint32 iSubType, qint32 iCompartment)
{
    entry.LogSubType = iSubType;
    entry.Compartment = iCompartment;
    entry.DateTime = g_dtRow;
    return entry.toRow();
}
} // namespace

class tst_SimCodec : public QObject
{
    Q_OBJECT
private slots:
    void fieldTexts_data();
    void fieldTexts();
    void badFieldTexts_data();
    void badFieldTexts();
    void fieldNumbersOutsideTheRecord_data();
    void fieldNumbersOutsideTheRecord();
    void flaggedWriteChangesOnlyItsFields();
    void plainWriteReplacesTheRecord();
    void refusedWrites_data();
    void refusedWrites();
    void rowsMatchTheEntryClasses_data();
    void rowsMatchTheEntryClasses();
    void payloadCountMustFit_data();
    void payloadCountMustFit();
    void rewrittenHeaderKeepsPayload();
    void shortRowHasNoHeader();
};

void tst_SimCodec::fieldTexts_data()
{
    QTest::addColumn<int>("iType");
    QTest::addColumn<QString>("sText");
    QTest::addColumn<QString>("sShown");
    QTest::newRow("int") << int(EFieldType::Int) << "-1" << "-1";
    QTest::newRow("bool word") << int(EFieldType::Bool) << "TRUE" << "true";
    QTest::newRow("bool digit") << int(EFieldType::Bool) << "0" << "false";
    QTest::newRow("double") << int(EFieldType::Double) << "0.84" << "0.83999999999999997";
    QTest::newRow("int64") << int(EFieldType::Int64) << "4294967296" << "4294967296";
    QTest::newRow("text") << int(EFieldType::Text) << "internet.apn" << "internet.apn";
    QTest::newRow("bytes") << int(EFieldType::Bytes) << "46545031" << "46545031";
    QTest::newRow("date-time utc") << int(EFieldType::DateTime) << "2026-12-01T06:02:10Z"
                                   << "2026-12-01T06:02:10.000Z";
    QTest::newRow("date-time without zone is utc") << int(EFieldType::DateTime) << "2026-12-01T06:02:10"
                                                   << "2026-12-01T06:02:10.000Z";
    QTest::newRow("text map") << int(EFieldType::TextMap) << "FTP_Data=1.2.29,HMI=3" << "FTP_Data=1.2.29,HMI=3";
    QTest::newRow("int list") << int(EFieldType::IntList) << "1,2,3" << "1,2,3";
    QTest::newRow("text list") << int(EFieldType::TextList) << "a,b" << "a,b";
    QTest::newRow("position") << int(EFieldType::PositionFix) << "52.5,9.75" << "52.5,9.75";
}

void tst_SimCodec::fieldTexts()
{
    QFETCH(int, iType);
    QFETCH(QString, sText);
    QFETCH(QString, sShown);
    CFieldValue value;
    QVERIFY(fieldValueFromText(EFieldType(iType), sText, &value));
    QCOMPARE(int(fieldTypeOf(value)), iType);
    QCOMPARE(fieldValueText(value), sShown);
}

void tst_SimCodec::badFieldTexts_data()
{
    QTest::addColumn<int>("iType");
    QTest::addColumn<QString>("sText");
    QTest::newRow("int word") << int(EFieldType::Int) << "three";
    QTest::newRow("bool word") << int(EFieldType::Bool) << "yes";
    QTest::newRow("bytes odd hex") << int(EFieldType::Bytes) << "4g";
    QTest::newRow("date") << int(EFieldType::DateTime) << "yesterday";
    QTest::newRow("map without =") << int(EFieldType::TextMap) << "FTP_Data";
    QTest::newRow("int list word") << int(EFieldType::IntList) << "1,x";
    QTest::newRow("position one number") << int(EFieldType::PositionFix) << "52.5";
}

void tst_SimCodec::badFieldTexts()
{
    QFETCH(int, iType);
    QFETCH(QString, sText);
    CFieldValue value;
    QVERIFY(!fieldValueFromText(EFieldType(iType), sText, &value));
}

void tst_SimCodec::fieldNumbersOutsideTheRecord_data()
{
    QTest::addColumn<int>("iField");
    QTest::addColumn<QString>("sValue");
    QTest::addColumn<bool>("bOk");
    QTest::newRow("APN") << 3 << "internet.apn" << true;
    QTest::newRow("time-out") << 6 << "45" << true;
    QTest::newRow("time-out as text") << 6 << "long" << false;
    QTest::newRow("field 0") << 0 << "1" << false;
    QTest::newRow("past the last") << 15 << "1" << false;
}

void tst_SimCodec::fieldNumbersOutsideTheRecord()
{
    QFETCH(int, iField);
    QFETCH(QString, sValue);
    QFETCH(bool, bOk);
    CSetGsmGprs setup;
    QString sError;
    QCOMPARE(setFieldFromText(setup, iField, sValue, &sError), bOk);
    QCOMPARE(sError.isEmpty(), bOk);
    if (bOk)
        QCOMPARE(fieldValueText(setup.field(iField)), sValue);
}

void tst_SimCodec::flaggedWriteChangesOnlyItsFields()
{
    CRunGsmGprs up;
    up.setMode(1);
    up.setInterfaceName(QStringLiteral("ppp0"));
    up.setLocalIp(QStringLiteral("10.64.0.2"));
    CRunGsmGprs down;
    down.setMode(3);
    const QByteArray baMerged = keptAfter("CRunGsmGprs", up, down);
    CRunGsmGprs reader;
    QVERIFY(reader.fromByteArray(baMerged));
    QCOMPARE(reader.mode(), 3);
    QCOMPARE(reader.interfaceName(), QStringLiteral("ppp0"));
    QCOMPARE(reader.localIp(), QStringLiteral("10.64.0.2"));
    // Every flag travels set, so a reader takes over the whole record.
    CRunGsmGprs expected;
    expected.setMode(3);
    expected.setInterfaceName(QStringLiteral("ppp0"));
    expected.setLocalIp(QStringLiteral("10.64.0.2"));
    expected.setAllFlags(true);
    QCOMPARE(baMerged.toHex(), expected.toByteArray().toHex());
}

void tst_SimCodec::plainWriteReplacesTheRecord()
{
    CSetGsmGprs first;
    first.setApn(QStringLiteral("internet.apn"));
    first.setUser(QStringLiteral("truck"));
    CSetGsmGprs second;
    second.setApn(QStringLiteral("web.apn"));
    QCOMPARE(keptAfter("CSetGsmGprs", first, second).toHex(), second.toByteArray().toHex());
}

void tst_SimCodec::refusedWrites_data()
{
    QTest::addColumn<QString>("sRecord");
    QTest::addColumn<QByteArray>("baBytes");
    QTest::addColumn<int>("iResult");
    CRunGsmGprs gprs;
    gprs.setMode(1);
    const QByteArray baGood = gprs.toByteArray();
    QByteArray baOld = baGood;
    baOld[3] = char(0xFF); // version 255
    baOld[2] = char(0x00);
    QTest::newRow("empty") << "CRunGsmGprs" << QByteArray() << SimReply::VALIDATION_ERROR;
    QTest::newRow("three bytes") << "CRunGsmGprs" << QByteArray("\x01\x02\x03", 3) << SimReply::VALIDATION_ERROR;
    QTest::newRow("cut short") << "CRunGsmGprs" << baGood.left(baGood.size() - 3) << SimReply::VALIDATION_ERROR;
    QTest::newRow("trailing bytes") << "CRunGsmGprs" << baGood + QByteArray(4, 'x') << SimReply::VALIDATION_ERROR;
    QTest::newRow("version 255") << "CRunGsmGprs" << baOld << SimReply::WRONG_TYPE_FOR_THIS_SET;
    QTest::newRow("not a record") << "CRunCoffee" << baGood << SimReply::PARAMETER_ERROR;
}

void tst_SimCodec::refusedWrites()
{
    QFETCH(QString, sRecord);
    QFETCH(QByteArray, baBytes);
    QFETCH(int, iResult);
    QByteArray baMerged("untouched");
    QCOMPARE(mergeRecordBytes(sRecord, QByteArray(), baBytes, &baMerged), iResult);
    QCOMPARE(baMerged, QByteArray("untouched"));
}

void tst_SimCodec::rowsMatchTheEntryClasses_data()
{
    QTest::addColumn<QByteArray>("baBuilt");
    QTest::addColumn<QByteArray>("baEntry");

    CLogGsmFtp gsmEntry;
    gsmEntry.Text1 = QStringLiteral("GPRS");
    gsmEntry.Text2 = QStringLiteral("connected");
    QTest::newRow("gsm/ftp") << rowOfTexts(17, -1, -1, {"GPRS", "connected"}) << entryRow(gsmEntry, -1, -1);

    CLogOPMM opmmEntry;
    opmmEntry.MainMode = 3;
    QTest::newRow("main mode") << rowOfTexts(19, 13003, 2, {"3"}) << entryRow(opmmEntry, 13003, 2);

    CLogGps gpsEntry;
    gpsEntry.Position.adMeasures[0] = 52.3759;
    gpsEntry.Position.adMeasures[1] = 9.732;
    QTest::newRow("gps") << rowOfTexts(6, 11000, -1, {"52.3759,9.732"}) << entryRow(gpsEntry, 11000, -1);
}

void tst_SimCodec::rowsMatchTheEntryClasses()
{
    QFETCH(QByteArray, baBuilt);
    QFETCH(QByteArray, baEntry);
    QCOMPARE(baBuilt.toHex(), baEntry.toHex());
}

void tst_SimCodec::payloadCountMustFit_data()
{
    QTest::addColumn<int>("iLogType");
    QTest::addColumn<QStringList>("asValues");
    QTest::addColumn<bool>("bOk");
    QTest::newRow("cop ten values") << 3 << QStringList{"1", "0", "0", "0", "", "", "0", "0", "0", "0"} << true;
    QTest::newRow("cop nine values") << 3 << QStringList{"1", "0", "0", "0", "", "", "0", "0", "0"} << false;
    QTest::newRow("cop text in an int") << 3 << QStringList{"x", "0", "0", "0", "", "", "0", "0", "0", "0"}
                                        << false;
    QTest::newRow("spd with event time") << 12 << QStringList{"1", "2", "3", "4", "a", "b", "2026-12-01T06:00:00Z"}
                                         << true;
    QTest::newRow("tracking") << 1 << QStringList{"52.1,9.7", "true"} << true;
}

void tst_SimCodec::payloadCountMustFit()
{
    QFETCH(int, iLogType);
    QFETCH(QStringList, asValues);
    QFETCH(bool, bOk);
    QVector<CFieldValue> aPayload;
    QString sError;
    QCOMPARE(payloadFromTexts(payloadKinds(iLogType), asValues, &aPayload, &sError), bOk);
    QCOMPARE(sError.isEmpty(), bOk);
}

void tst_SimCodec::rewrittenHeaderKeepsPayload()
{
    CLogGsmFtp entry;
    entry.Text1 = QStringLiteral("FTP");
    entry.Text2 = QStringLiteral("event file sent");
    entry.Compartment = 5;
    entry.AuxValue = 9;
    const QByteArray baRow = entry.toRow();
    const QDateTime dtStamp = utc(2026, 12, 6, 21, 0);
    const QByteArray baStored = rewriteRowHeader(baRow, 7, dtStamp);
    CLogGsmFtp stored(baStored);
    QCOMPARE(stored.RowID, quint64(7));
    QCOMPARE(stored.DateTime, dtStamp);
    QCOMPARE(stored.LogType, 17);
    QCOMPARE(stored.Compartment, 5);
    QCOMPARE(stored.AuxValue, 9);
    QCOMPARE(stored.Text2, QStringLiteral("event file sent"));
    // Without a time stamp only the row ID changes.
    CLogGsmFtp kept(rewriteRowHeader(baRow, 8));
    QCOMPARE(kept.RowID, quint64(8));
    QCOMPARE(kept.DateTime, entry.DateTime);
}

void tst_SimCodec::shortRowHasNoHeader()
{
    const QByteArray baShort = CLogGsmFtp().toRow().left(20);
    CLogBase header;
    QVERIFY(!readRowHeader(baShort, &header));
    QVERIFY(rewriteRowHeader(baShort, 1).isEmpty());
}

QTEST_APPLESS_MAIN(tst_SimCodec)
#include "tst_simcodec.moc"
