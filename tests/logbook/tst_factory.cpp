#include "logbook/clogfactory.h"

#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogsmp.h"
#include "logbook/clogtracking.h"
#include "tests/logbook/logbooktest.h"

#include <QTest>
#include <QtEndian>

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

template <class T> std::unique_ptr<const T> decoded(const QByteArray &baRow)
{
    std::unique_ptr<CLogBase> pEntry = makeLogEntry(baRow);
    if (!dynamic_cast<const T *>(pEntry.get()))
        return nullptr;
    return std::unique_ptr<const T>(static_cast<T *>(pEntry.release()));
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
        QTest::newRow("type only") << 8 << 12 << 0 << 0ULL;
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
        add("COP cut in Param3", row("00000003", "00001777", COP).left(65), 3, {"45,T,3,,,,,,0,0,0,0,0"}, false);
        add("COP header only", row("00000003", "00001777", COP).left(45), 3, {"45,T,3,,,,,,0,0,0,0,0"}, false);
        add("discharge", row("00000004", "00000bb9", DISCHARGE), 4, {"12,T,3"});
        add("GPS", row("00000006", "00002af8", FIX), 6, {"08,T,9.500000,48.123456,523,11,99,1,7,1,1"});
        add("loading", row("00000008", "000007d1", XYZ), 8, {"12,T,3"});
        add("seal closed", seal("00000100", "01"), 11, {"42,T,,31,12,0"}, false);
        add("seal broken", seal("00000100", "00"), 11, {"42,T,,31,11,0"}, false);
        add("seal of a newer record", seal("0000012c", "01"), 11, {"42,T,,31,12,0"}, false);
        add("seal of an older record reads as broken", seal("000000ff", "01"), 11, {"42,T,,31,11,0"}, false);
        add("SPD compartment empty", row("0000000c", "0000179c", SPD), 12, {"40,T,3,xyz,0,4"});
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

    // Fields no line shows, found where the service put them.
    void fieldsNoLineShows()
    {
        const auto pDischarge = decoded<CLogDischarge>(row("00000004", "00000bb9", DISCHARGE));
        QVERIFY(pDischarge);
        QCOMPARE(pDischarge->Value1, 1.5);
        QCOMPARE(pDischarge->Value2, -2.25);
        QCOMPARE(pDischarge->Value3, 2.0);
        QCOMPARE(pDischarge->Text1, QStringLiteral("AB"));
        const auto pSmp = decoded<CLogSMP>(row("00000014", "000036b7", SMP));
        QVERIFY(pSmp);
        QCOMPARE(pSmp->Text2, QStringLiteral("xyz"));
        QCOMPARE(pSmp->Text3, QStringLiteral("C"));
        QCOMPARE(pSmp->Param2, -9);
        const auto pFpm = decoded<CLogFPM>(row("00000017", "00000001", FPM));
        QVERIFY(pFpm);
        QCOMPARE(pFpm->Param1, 3);
        QCOMPARE(pFpm->Value3, -2.25);
        QCOMPARE(pFpm->Param2, 4);
        const auto pGsm = decoded<CLogGsmFtp>(row("00000011", "ffffffff", AB + XYZ));
        QVERIFY(pGsm);
        QCOMPARE(pGsm->Text1, QStringLiteral("AB"));
        QCOMPARE(pGsm->Text2, QStringLiteral("xyz"));
        // The GPS file's line of a tracking entry carries the fix's own time.
        const auto pTracking = decoded<CLogTracking>(trackingRow());
        QVERIFY(pTracking);
        QVERIFY(!pTracking->Flag);
        QCOMPARE(pTracking->gpsLine(55800), QStringLiteral("08,20210602000000,9.500000,48.123456,523,11,99,1,7,1,1"));
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

    // Garbage never crashes: whole random rows, and real headers of each type
    // followed by random payload. The type is the second big-endian word when
    // the row holds it.
    void randomBytes()
    {
        const char *const apszTypes[] = {"00000001", "00000003", "00000004", "00000006", "00000007", "00000008",
                                         "0000000b", "0000000c", "00000011", "00000013", "00000014", "00000017"};
        quint32 uSeed = 20240515;
        const auto next = [&uSeed] {
            uSeed = uSeed * 1664525u + 1013904223u;
            return uSeed >> 24;
        };
        int iConverted = 0;
        for (int i = 0; i < 3000; ++i) {
            QByteArray baRow(int(next() % 160), '\0');
            for (char &c : baRow)
                c = char(next());
            if (i % 2 == 0)
                baRow.prepend(QByteArray::fromHex(header(apszTypes[i % 12], "00001772")));
            const qint32 iType = baRow.size() >= 8 ? qFromBigEndian<qint32>(baRow.constData() + 4) : 0;
            QCOMPARE(LogRow::LogType(baRow), iType);
            const auto pEntry = makeLogEntry(baRow);
            QCOMPARE(pEntry->LogType, iType);
            for (qint32 iSelector = 0; iSelector <= 4; ++iSelector)
                iConverted += ftlLinesOf(*pEntry, 3600, iSelector).size();
            QCOMPARE(LogRow::LogType(pEntry->toRow()), iType);
        }
        QVERIFY(iConverted > 0);
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
