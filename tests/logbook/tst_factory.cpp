#include "logbook/clogfactory.h"

#include "logbook/cloglevelvolume.h"
#include "tests/logbook/logbooktest.h"

#include <QTest>

namespace {
// A row header written by hand, every field distinct: version 256, the type
// and subtype given, RowID 5, SecondaryRowID 7, 2024-05-15 10:11:12 UTC,
// third compartment, AuxValue -1.
QByteArray header(const char *pszType, const char *pszSubType)
{
    return QByteArray("00000100") + pszType + pszSubType +
           "0000000000000005" "0000000000000007" "00258b1e" "022f9200" "02" "00000002" "ffffffff";
}

// Header, payload version, a reserve of two bytes, then the fields; all hex.
QByteArray row(const char *pszType, const char *pszSubType, const QByteArray &baFields = {},
               const char *pszVersion = "00000100")
{
    return QByteArray::fromHex(header(pszType, pszSubType) + pszVersion + "00000002" "beef" + baFields);
}

// Texts are UTF-16 with a byte length: "AB", "xyz", "C".
const QByteArray AB = "00000004" "00410042";
const QByteArray XYZ = "00000006" "00780079007a";
const QByteArray C = "00000002" "0043";
// A position fix: version 256, 2021-06-01 08:30:00 UTC, latitude 48.123456,
// longitude 9.5, third measure 523.7, counters 1, 7, 120, further 1.5 each.
const QByteArray FIX = "00000100" "002586e7" "01d2eb40" "02"
                       "40480fcd67fd3f5b" "4023000000000000" "40805d999999999a"
                       "00000001" "00000007" "00000078"
                       "3ff8000000000000" "3ff8000000000000" "3ff8000000000000";
// COP: Param1 to Param4 3, 2, 5, 4, Text1 AB, Text2 xyz, Param5 to Param8 10, 20, 30, -5.
const QByteArray COP = "00000003" "00000002" "00000005" "00000004" + AB + XYZ +
                       "0000000a" "00000014" "0000001e" "fffffffb";
// SPD: Param1 to Param4 3, 7, 2, 4, Text1 AB, Text2 xyz, EventTime 2023-01-02 03:04:05 UTC.
const QByteArray SPD = "00000003" "00000007" "00000002" "00000004" + AB + XYZ + "0025892b" "00a88888" "02";
// Discharge: 1.5, -2.25, 2.0, AB. SMP: AB, xyz, 9, C, -9. FPM: AB, 3, 1.5, 0.0, -2.25, 4.
const QByteArray DISCHARGE = "3ff8000000000000" "c002000000000000" "4000000000000000" + AB;
const QByteArray SMP = AB + XYZ + "00000009" + C + "fffffff7";
const QByteArray FPM = AB + "00000003" "3ff8000000000000" "0000000000000000" "c002000000000000" "00000004";

// Seal kind 2, then the seal record as far as its two state fields:
// version, reserve, then bSealState and iSealState 5, each flagged.
QByteArray seal(const char *pszRecordVersion, const char *pszClosed)
{
    return row("0000000b", "00000fa1",
               QByteArray("00000002") + pszRecordVersion + "00000020" + QByteArray(64, '0') + "01" + pszClosed +
                   "0100000005");
}

// Tracking rows carry payload version 1, a full reserve, the fix and the flag (here false).
QByteArray trackingRow()
{
    return QByteArray::fromHex(header("00000001", "00002af8") + "00000001" "00000020" + QByteArray(64, '0') + FIX +
                               "00");
}

} // namespace

class TestFactory : public QObject
{
    Q_OBJECT

private slots:
    void headerReaders()
    {
        const QByteArray baRow = row("0000000c", "00001781");
        QCOMPARE(LogRow::LogType(baRow), 12);
        QCOMPARE(LogRow::LogSubType(baRow), 6017);
        QCOMPARE(LogRow::RowID(baRow), 5ULL);
        QCOMPARE(LogRow::DateTime(baRow), utc(2024, 5, 15, 10, 11, 12));
        QCOMPARE(LogRow::DateTime(baRow).timeSpec(), Qt::UTC);
        const auto pEntry = makeLogEntry(baRow);
        QCOMPARE(pEntry->SecondaryRowID, 7ULL);
        QCOMPARE(pEntry->Compartment, 2);
        QCOMPARE(pEntry->AuxValue, -1);
        QCOMPARE(pEntry->toRow().left(45).toHex(), baRow.left(45).toHex());
    }

    // A short row reads as zero from where it ends.
    void shortRows_data()
    {
        QTest::addColumn<int>("iLength");
        QTest::addColumn<int>("iType");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<qulonglong>("ullRowID");
        QTest::newRow("empty") << 0 << 0 << 0 << 0ULL;
        QTest::newRow("half a subtype") << 10 << 12 << 0 << 0ULL;
        QTest::newRow("up to the row id") << 20 << 12 << 6017 << 5ULL;
    }
    void shortRows()
    {
        QFETCH(int, iLength);
        QFETCH(int, iType);
        QFETCH(int, iSubType);
        QFETCH(qulonglong, ullRowID);
        const QByteArray baRow = row("0000000c", "00001781").left(iLength);
        QCOMPARE(LogRow::LogType(baRow), iType);
        QCOMPARE(LogRow::LogSubType(baRow), iSubType);
        QCOMPARE(LogRow::RowID(baRow), ullRowID);
        QVERIFY(!LogRow::DateTime(baRow).isValid());
    }

    // Rows of every type as the service writes them: the lines of the class
    // the type names, and a row that holds every field written back the
    // same. The lines pick out the payload fields, so each field must be
    // read from its place.
    void entries_data()
    {
        QTest::addColumn<QByteArray>("baRow");
        QTest::addColumn<int>("iType");
        QTest::addColumn<QStringList>("asLines");
        QTest::addColumn<bool>("bWhole");
        const auto add = [](const char *pszName, const QByteArray &baRow, int iType, const QStringList &asLines,
                            bool bWhole = true) { QTest::newRow(pszName) << baRow << iType << asLines << bWhole; };
        add("COP scanner values", row("00000003", "00001777", COP), 3, {"45,T,3,,,,,,10,20,30,5,-5"});
        add("COP flag", row("00000003", "000017f4", COP), 3, {"41,T,3,xyz,1,4"});
        add("COP loading plan", row("00000003", "0000179f", COP), 3, {"41,T,3,4,1,8"});
        add("COP product", row("00000003", "000017af", COP), 3, {"46,T,3,AB"});
        add("COP state in Param2", row("00000003", "00001802", COP), 3, {"42,T,,7,6,0"});
        add("COP cut in the second text", row("00000003", "000017af", COP).left(85), 3, {"46,T,3,AB"}, false);
        add("COP header only", row("00000003", "00001777", COP).left(45), 3, {"45,T,3,,,,,,0,0,0,0,0"}, false);
        add("discharge", row("00000004", "00000bb9", DISCHARGE), 4, {"12,T,3"});
        add("GPS", row("00000006", "00002af8", FIX), 6, {"08,T,9.500000,48.123456,523,11,99,1,7,1,1"});
        add("loading", row("00000008", "000007d1", XYZ), 8, {"12,T,3"});
        add("seal closed", seal("00000100", "01"), 11, {"42,T,,31,12,0"}, false);
        add("seal of an older record reads as broken", seal("000000ff", "01"), 11, {"42,T,,31,11,0"}, false);
        add("SPD compartment ready", row("0000000c", "00001798", SPD), 12, {"40,T,3,AB,3"});
        add("SPD state in Param2", row("0000000c", "000017e0", SPD), 12, {"40,T,3,xyz,7,3"});
        add("SPD flag", row("0000000c", "000017f4", SPD), 12, {"41,T,3,xyz,1,8"});
        add("SPD period time", row("0000000c", "00001840", SPD), 12, {"42,20230102030405,3,11,6,0"});
        add("GSM/FTP", row("00000011", "ffffffff", AB + XYZ), 17, {});
        add("OPMM of payload version 255", row("00000013", "000032cc", "00000004", "000000ff"), 19, {"20,T,67"});
        add("SMP", row("00000014", "000036b7", SMP), 20, {"20,T,49"});
        add("FPM", row("00000017", "00000001", FPM), 23, {"Undefined"});
        add("tracking", trackingRow(), 1, {});
        add("type 5 has no class", row("00000005", "00000fa1"), 5, {});
        add("type 24 has no class", row("00000018", "00000fa1"), 24, {});
        add("too short for a type", QByteArray::fromHex(header("00000003", "00000000")).left(7), 0, {}, false);
    }
    void entries()
    {
        QFETCH(QByteArray, baRow);
        QFETCH(int, iType);
        QFETCH(QStringList, asLines);
        QFETCH(bool, bWhole);
        const auto pEntry = makeLogEntry(baRow);
        QVERIFY(pEntry);
        QCOMPARE(pEntry->LogType, iType);
        for (QString &sLine : asLines)
            sLine = stamped(sLine, QStringLiteral("20240515101112"));
        QCOMPARE(ftlLinesOf(*pEntry, 0), asLines);
        QCOMPARE(pEntry->isWmEntry(), iType == 11);
        QCOMPARE(pEntry->wmData().toHex(), QByteArray(iType == 11 ? "beef" : ""));
        if (bWhole)
            QCOMPARE(pEntry->toRow().toHex(), baRow.toHex());
    }

    // Only the compartment output takes a compartment's measurement.
    void levelVolumeTakesTheSelector()
    {
        CLogLevelVolume entry;
        entry.Compartment = 2;
        const auto pEntry = makeLogEntry(entry.toRow());
        QCOMPARE(ftlLinesOf(*pEntry, 0, 1).size(), 1);
        QVERIFY(ftlLinesOf(*pEntry, 0, 2).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
