#include "logbook/clogfactory.h"

#include "logbook/clogcop.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogseal.h"
#include "logbook/clogsmp.h"
#include "logbook/clogspd.h"
#include "logbook/clogtracking.h"

#include <QIODevice>
#include <QTest>

namespace {
// A row header written by hand: version 256, the type and subtype given,
// RowID 5, SecondaryRowID 0, 2024-05-15 10:11:12 UTC, third compartment,
// AuxValue 0.
QByteArray header(const char *pszType, const char *pszSubType)
{
    return QByteArray("00000100") + pszType + pszSubType
           + "0000000000000005" "0000000000000000" "00258b1e" "022f9200" "02" "00000002" "00000000";
}

// Header, payload version 256, a reserve of two bytes, then the fields.
QByteArray row(const char *pszType, const char *pszSubType, const char *pszFields)
{
    return QByteArray::fromHex(header(pszType, pszSubType) + "00000100" "00000002" "beef" + pszFields);
}

// Texts are UTF-16 with a byte length; "AB" and "xyz".
const char *const AB = "00000004" "00410042";
const char *const XYZ = "00000006" "00780079007a";
// 2023-01-02 03:04:05 UTC.
const char *const EVENT_TIME = "0025892b" "00a88888" "02";
// A position fix: version 256, 2021-06-01 08:30:00 UTC, latitude 48.123456,
// longitude 9.5, third measure 523.7, counters 1, 7, 120, further 1.5, 1.5, 1.5.
const char *const FIX = "00000100" "002586e7" "01d2eb40" "02"
                        "40480fcd67fd3f5b" "4023000000000000" "40805d999999999a"
                        "00000001" "00000007" "00000078"
                        "3ff8000000000000" "3ff8000000000000" "3ff8000000000000";

QByteArray concat(std::initializer_list<const char *> apszParts)
{
    QByteArray baHex;
    for (const char *psz : apszParts)
        baHex += psz;
    return baHex;
}

// A stream with the record conventions, to compose embedded records field by
// field in the order the service writes them.
class CRowWriter
{
public:
    CRowWriter() : m_stream(&m_baBytes, QIODevice::WriteOnly) { m_stream.setVersion(QDataStream::Qt_4_6); }
    QDataStream &stream() { return m_stream; }
    // A record envelope: version 256 and a reserve of 32 zero bytes.
    void envelope() { m_stream << qint32(256) << QByteArray(32, '\0'); }
    // Flagged fields: each value after a set flag.
    template <class T> void flagged(const T &value) { m_stream << true << value; }
    QByteArray bytes() const { return m_baBytes; }

private:
    QByteArray m_baBytes;
    QDataStream m_stream;
};

template <class T> const T *as(const std::unique_ptr<CLogBase> &pEntry)
{
    return dynamic_cast<const T *>(pEntry.get());
}
} // namespace

class TestFactory : public QObject
{
    Q_OBJECT

private slots:
    void cop()
    {
        const auto pEntry = makeLogEntry(row("00000003", "00001772",
                                             concat({"00000001", "00000002", "00000001", "00000004", AB, XYZ,
                                                     "0000000a", "00000014", "0000001e", "fffffffb"})));
        const CLogCOP *pCop = as<CLogCOP>(pEntry);
        QVERIFY(pCop);
        QCOMPARE(pCop->LogSubType, 6002);
        QCOMPARE(pCop->RowID, 5ULL);
        QCOMPARE(pCop->Param4, 4);
        QCOMPARE(pCop->Text1, QStringLiteral("AB"));
        QCOMPARE(pCop->Text2, QStringLiteral("xyz"));
        QCOMPARE(pCop->Param8, -5);
        QCOMPARE(pCop->baReserve.toHex(), QByteArray("beef"));
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("42,20240515101112,3,1,12,0")});
    }

    void discharge()
    {
        const auto pEntry =
            makeLogEntry(row("00000004", "00000bb9", concat({"3ff8000000000000", "c002000000000000", "0000000000000000", AB})));
        const CLogDischarge *pDischarge = as<CLogDischarge>(pEntry);
        QVERIFY(pDischarge);
        QCOMPARE(pDischarge->Value1, 1.5);
        QCOMPARE(pDischarge->Value2, -2.25);
        QCOMPARE(pDischarge->Text1, QStringLiteral("AB"));
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("12,20240515101112,3")});
    }

    void gps()
    {
        const auto pEntry = makeLogEntry(row("00000006", "00002af8", FIX));
        const CLogGps *pGps = as<CLogGps>(pEntry);
        QVERIFY(pGps);
        QCOMPARE(pGps->Position.latitude(), 48.123456);
        QCOMPARE(pGps->Position.aiCounters[2], 120);
        QCOMPARE(ftlLinesOf(*pEntry, 0),
                 QStringList{QStringLiteral("08,20240515101112,9.500000,48.123456,523,11,99,1,7,1,1")});
    }

    void loading()
    {
        const auto pEntry = makeLogEntry(row("00000008", "000007d1", XYZ));
        const CLogLoading *pLoading = as<CLogLoading>(pEntry);
        QVERIFY(pLoading);
        QCOMPARE(pLoading->Text1, QStringLiteral("xyz"));
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("12,20240515101112,3")});
    }

    void spd()
    {
        const auto pEntry = makeLogEntry(row("0000000c", "00001840",
                                             concat({"00000000", "00000000", "00000002", "00000000", AB, XYZ,
                                                     EVENT_TIME})));
        const CLogSPD *pSpd = as<CLogSPD>(pEntry);
        QVERIFY(pSpd);
        QCOMPARE(pSpd->LogSubType, 6208);
        QCOMPARE(pSpd->EventTime, QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5), Qt::UTC));
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("42,20230102030405,3,11,6,0")});
    }

    void gsmFtp()
    {
        const auto pEntry = makeLogEntry(row("00000011", "ffffffff", concat({AB, XYZ})));
        const CLogGsmFtp *pGsm = as<CLogGsmFtp>(pEntry);
        QVERIFY(pGsm);
        QCOMPARE(pGsm->Text2, QStringLiteral("xyz"));
        QVERIFY(ftlLinesOf(*pEntry, 0).isEmpty());
    }

    void opmm()
    {
        const auto pEntry = makeLogEntry(row("00000013", "000032cb", "0000000b"));
        const CLogOPMM *pOpmm = as<CLogOPMM>(pEntry);
        QVERIFY(pOpmm);
        QCOMPARE(pOpmm->MainMode, 11);
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("20,20240515101112,22")});
    }

    void smp()
    {
        const auto pEntry = makeLogEntry(row("00000014", "000036b7", concat({AB, XYZ, "00000009", AB, "fffffff7"})));
        const CLogSMP *pSmp = as<CLogSMP>(pEntry);
        QVERIFY(pSmp);
        QCOMPARE(pSmp->Param1, 9);
        QCOMPARE(pSmp->Text3, QStringLiteral("AB"));
        QCOMPARE(pSmp->Param2, -9);
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("20,20240515101112,49")});
    }

    void fpm()
    {
        const auto pEntry = makeLogEntry(row("00000017", "00000001",
                                             concat({AB, "00000003", "3ff8000000000000", "0000000000000000",
                                                     "c002000000000000", "00000004"})));
        const CLogFPM *pFpm = as<CLogFPM>(pEntry);
        QVERIFY(pFpm);
        QCOMPARE(pFpm->Value3, -2.25);
        QCOMPARE(pFpm->Param2, 4);
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("Undefined")});
    }

    void seal()
    {
        CRowWriter seal;
        seal.stream() << qint32(3);
        seal.envelope();
        seal.flagged(true);
        seal.flagged(qint32(2));
        const auto pEntry = makeLogEntry(row("0000000b", "00000000", seal.bytes().toHex().constData()));
        const CLogSeal *pSeal = as<CLogSeal>(pEntry);
        QVERIFY(pSeal);
        QCOMPARE(pSeal->SealKind, 3);
        QCOMPARE(pSeal->Seal.iSealState(), 2);
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{QStringLiteral("42,20240515101112,,31,12,0")});
    }

    void tracking()
    {
        // Tracking rows carry payload version 1 and a full reserve.
        const QByteArray baRow = QByteArray::fromHex(header("00000001", "00002af8") + "00000001" "00000020"
                                                     + QByteArray(64, '0') + FIX + "01");
        const auto pEntry = makeLogEntry(baRow);
        const CLogTracking *pTracking = as<CLogTracking>(pEntry);
        QVERIFY(pTracking);
        QCOMPARE(pTracking->iPayloadVersion, 1);
        QCOMPARE(pTracking->baReserve, QByteArray(32, '\0'));
        QCOMPARE(pTracking->Position.longitude(), 9.5);
        QVERIFY(pTracking->Flag);
        QVERIFY(ftlLinesOf(*pEntry, 0).isEmpty());
        QCOMPARE(pTracking->toRow().toHex(), baRow.toHex());
    }

    // The four embedded records, written field by field in stream order, and
    // the fields the measurement line reads found where they belong.
    void levelVolume()
    {
        CRowWriter payload;
        QDataStream &s = payload.stream();
        const QDateTime dtMeasured(QDate(2024, 1, 5), QTime(9, 35, 12), Qt::UTC);
        payload.envelope(); // measurement process, flagged
        for (qint32 i = 1; i <= 5; ++i)
            payload.flagged(i * 10);
        payload.flagged(2.5);
        payload.flagged(qint32(70));
        payload.flagged(dtMeasured);
        payload.flagged(qint32(90));
        payload.flagged(qint32(100));
        payload.flagged(dtMeasured);
        payload.flagged(qint32(120));
        payload.flagged(qint32(130));
        payload.flagged(false);
        payload.flagged(true);
        for (qint32 i = 16; i <= 22; ++i)
            payload.flagged(i * 10);
        payload.flagged(QStringLiteral("MP7"));
        for (qint32 i = 24; i <= 34; ++i)
            payload.flagged(i == 24 ? qint32(2) : i * 10);
        payload.envelope(); // product setup, plain
        s << qint32(3) << qint32(0) << QStringLiteral("p") << true << qint32(0) << 0.0 << qint32(0);
        s << 0.0 << 0.0 << 0.0 << qint32(0) << qint32(0) << qint32(0) << false << qint32(0);
        for (int i = 0; i < 4; ++i)
            s << 0.0;
        for (int i = 0; i < 5; ++i)
            s << qint32(0);
        for (int i = 0; i < 4; ++i)
            s << 0.0;
        for (int i = 0; i < 4; ++i)
            s << qint32(0);
        for (int i = 0; i < 4; ++i)
            s << 0.0;
        for (int i = 0; i < 6; ++i)
            s << qint32(0);
        s << qint64(0) << qint32(0) << qint64(0) << false;
        payload.envelope(); // order, flagged
        payload.flagged(qint32(0));
        payload.flagged(qint32(0));
        payload.flagged(qint64(0));
        for (qint32 i = 4; i <= 11; ++i)
            payload.flagged(i == 7 ? qint32(42) : qint32(0));
        payload.flagged(CPositionFix());
        payload.flagged(qint32(1000));
        for (int i = 14; i <= 18; ++i)
            payload.flagged(0.0);
        payload.flagged(QStringLiteral("C-99"));
        payload.envelope(); // product, plain
        s << QStringLiteral("Diesel");

        const auto pEntry = makeLogEntry(row("00000007", "00000000", payload.bytes().toHex().constData()));
        const CLogLevelVolume *pLevel = as<CLogLevelVolume>(pEntry);
        QVERIFY(pLevel);
        QCOMPARE(pLevel->ProcessWM.entryNumber(), 160);
        QCOMPARE(pLevel->ProcessWM.unitCode(), 2);
        QCOMPARE(pLevel->ProcessWM.specialValue(), 300);
        QCOMPARE(pLevel->ProductWM.iProductValue1(), 3);
        QCOMPARE(pLevel->Order.customerNumber(), QStringLiteral("C-99"));
        QCOMPARE(pLevel->Product.product(), QStringLiteral("Diesel"));
        QCOMPARE(ftlLinesOf(*pEntry, 0, 1), QStringList{QStringLiteral(
                     "11,20240515101112,160,,3,,0,0.02,0.03,0.1,3,,,,,,,093512,1.00,,,Diesel,0.04,,42,3,,1")});
        QVERIFY(ftlLinesOf(*pEntry, 0, 2).isEmpty());
    }

    // Types without a class keep their header and give no lines.
    void unknownTypes_data()
    {
        QTest::addColumn<QByteArray>("baType");
        QTest::addColumn<int>("iType");
        QTest::newRow("0") << QByteArray("00000000") << 0;
        QTest::newRow("2 COMP_MONITOR") << QByteArray("00000002") << 2;
        QTest::newRow("5 ERROR") << QByteArray("00000005") << 5;
        QTest::newRow("21 SETUP_CHANGE") << QByteArray("00000015") << 21;
        QTest::newRow("24") << QByteArray("00000018") << 24;
        QTest::newRow("negative") << QByteArray("fffffffd") << -3;
    }
    void unknownTypes()
    {
        QFETCH(QByteArray, baType);
        QFETCH(int, iType);
        const auto pEntry = makeLogEntry(row(baType.constData(), "00000fa1", AB));
        QVERIFY(pEntry);
        QCOMPARE(pEntry->LogType, iType);
        QCOMPARE(pEntry->LogSubType, 4001);
        QCOMPARE(pEntry->Compartment, 2);
        QCOMPARE(pEntry->baReserve.toHex(), QByteArray("beef"));
        QVERIFY(!pEntry->isWmEntry());
        QVERIFY(!as<CLogCOP>(pEntry) && !as<CLogSPD>(pEntry) && !as<CLogGsmFtp>(pEntry));
        QVERIFY(ftlLinesOf(*pEntry, 0).isEmpty());
    }

    // A row that ends early still builds its class; what is missing reads as
    // zero or empty, and the entry still converts.
    void truncatedRows_data()
    {
        QTest::addColumn<int>("iBytes");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<QString>("sText1");
        QTest::addColumn<QString>("sWant");
        const QByteArray baFull = row("00000003", "00001772",
                                      concat({"00000001", "00000002", "00000001", "00000004", AB, XYZ}));
        QTest::newRow("whole") << int(baFull.size()) << 1 << "AB" << "42,20240515101112,3,1,12,0";
        QTest::newRow("in the second text") << int(baFull.size()) - 3 << 1 << "AB" << "42,20240515101112,3,1,12,0";
        QTest::newRow("in the third parameter") << int(baFull.size()) - 24 << 0 << "" << "42,20240515101112,3,1,11,0";
        QTest::newRow("header only") << 45 << 0 << "" << "42,20240515101112,3,1,11,0";
    }
    void truncatedRows()
    {
        QFETCH(int, iBytes);
        QFETCH(int, iParam3);
        QFETCH(QString, sText1);
        QFETCH(QString, sWant);
        const QByteArray baFull = row("00000003", "00001772",
                                      concat({"00000001", "00000002", "00000001", "00000004", AB, XYZ}));
        const auto pEntry = makeLogEntry(baFull.left(iBytes));
        const CLogCOP *pCop = as<CLogCOP>(pEntry);
        QVERIFY(pCop);
        QCOMPARE(pCop->Param3, iParam3);
        QCOMPARE(pCop->Text1, sText1);
        QCOMPARE(pCop->Param8, 0);
        QCOMPARE(ftlLinesOf(*pEntry, 0), QStringList{sWant});
    }

    void tooShortForAType()
    {
        for (int iBytes : {0, 3, 7}) {
            const auto pEntry = makeLogEntry(QByteArray::fromHex(header("00000003", "00000000")).left(iBytes));
            QVERIFY(pEntry);
            QCOMPARE(pEntry->LogType, 0);
            QVERIFY(ftlLinesOf(*pEntry, 0).isEmpty());
        }
    }

    // Garbage never crashes: whole random rows, and rows with a real header of
    // each type followed by random payload.
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
            QByteArray baTail(int(next() % 160), '\0');
            for (char &c : baTail)
                c = char(next());
            const QByteArray baRow = (i % 2) ? baTail
                                             : QByteArray::fromHex(header(apszTypes[i % 12], "00001772")) + baTail;
            const auto pEntry = makeLogEntry(baRow);
            QVERIFY(pEntry);
            for (qint32 iSelector = 0; iSelector <= 4; ++iSelector)
                iConverted += ftlLinesOf(*pEntry, 3600, iSelector).size();
            QCOMPARE(LogRow::LogType(pEntry->toRow()), pEntry->LogType);
        }
        QVERIFY(iConverted > 0);
    }
};

QTEST_GUILESS_MAIN(TestFactory)
#include "tst_factory.moc"
