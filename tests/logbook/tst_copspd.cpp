#include "logbook/clogcop.h"
#include "logbook/clogspd.h"
#include "tests/logbook/logbooktest.h"

#include <QRegularExpression>
#include <QTest>

namespace {
// TE 2024-05-15 10:11:12 and TP 2023-01-02 03:04:05, T standing for TE.
const QString TE = QStringLiteral("20240515101112");
const QString TP = QStringLiteral("20230102030405");

struct CFields {
    int iParam1 = 0, iParam2 = 0, iParam3 = 0, iParam4 = 44, iCompartment = 2;
    QString sText1 = QStringLiteral("Diesel"), sText2 = QStringLiteral("ABC");
};

// The line of an entry of either class, stored an hour before the stamps its
// lines carry. The SPD period time differs from the entry's own, so a line
// that takes the wrong one fails; COP's Param5 to Param8 are 55 to 88. Only
// SPD's period events carry the period's time, and SPD notes the codes it
// has no line for.
void checkLine(bool bSpd, int iSubType, const CFields &f, const QString &sWant)
{
    CLogCOP cop;
    CLogSPD spd;
    for (CLogBase *pEntry : {static_cast<CLogBase *>(&cop), static_cast<CLogBase *>(&spd)}) {
        pEntry->LogSubType = iSubType;
        pEntry->Compartment = f.iCompartment;
        pEntry->DateTime = utc(2024, 5, 15, 9, 11, 12);
    }
    cop.Param1 = spd.Param1 = f.iParam1;
    cop.Param2 = spd.Param2 = f.iParam2;
    cop.Param3 = spd.Param3 = f.iParam3;
    cop.Param4 = spd.Param4 = f.iParam4;
    cop.Text1 = spd.Text1 = f.sText1;
    cop.Text2 = spd.Text2 = f.sText2;
    cop.Param5 = 55;
    cop.Param6 = 66;
    cop.Param7 = 77;
    cop.Param8 = 88;
    spd.EventTime = utc(2023, 1, 2, 2, 4, 5);
    if (!bSpd) {
        QCOMPARE(cop.getFTLStrings(3600), QStringList{sWant});
        return;
    }
    if (sWant == QLatin1String("Undefined"))
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral("^Undefined LogSubType = +%1$").arg(iSubType)));
    QCOMPARE(spd.getFTLStrings(3600), QStringList{sWant});
    QCOMPARE(IsSpdPeriodSubtype(iSubType), sWant.startsWith("42," + TP));
}
} // namespace

Q_DECLARE_METATYPE(CFields)

class TestCopSpd : public QObject
{
    Q_OBJECT

private slots:
    // One template of each shape: prefix only, a suffix chosen by Param3 or
    // by Param2 (the other holds 9, which no template lists), a state value
    // not listed (the prefix alone), each placeholder, the empty line, the
    // ends of both tables and the codes whose line differs between them.
    void templates_data()
    {
        QTest::addColumn<bool>("bSpd");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<CFields>("fields");
        QTest::addColumn<QString>("sWant");
        const auto add = [](bool bSpd, int iSubType, int iParam2, int iParam3, const char *pszWant) {
            CFields fields;
            fields.iParam2 = iParam2;
            fields.iParam3 = iParam3;
            QTest::addRow("%s %d Param2 %d Param3 %d", bSpd ? "SPD" : "COP", iSubType, iParam2, iParam3)
                << bSpd << iSubType << fields << stamped(pszWant, TE, TP);
        };
        add(false, 6001, 9, 7, "42,T,,6,");
        add(false, 6005, 0, 5, "42,T,3,39,12,0");
        add(false, 6007, 0, 5, "45,T,3,,,,,,55,66,77,5,88");
        add(false, 6010, 9, 2, "42,T,,16,0,1");
        add(false, 6036, 0, 5, "3,T,5");
        add(false, 6039, 0, 0, "");
        add(false, 6040, 0, 5, "40,T,3,ABC,3,0");
        add(false, 6047, 0, 5, "41,T,3,44,1,8");
        add(false, 6063, 0, 5, "46,T,3,Diesel");
        add(false, 6146, 3, 9, "42,T,,7,5,0");
        add(false, 6146, 7, 9, "42,T,,7,");
        add(false, 6150, 2, 9, "42,T,3,2,6,0");
        add(false, 6151, 9, 3, "42,T,3,1,5,0");
        add(false, 6190, 2, 9, "42,T,,18,6,0");
        add(true, 6001, 9, 0, "42,TE,,6,11,0");
        add(true, 6040, 0, 5, "40,TE,3,Diesel,3");
        add(true, 6041, 0, 0, "");
        add(true, 6044, 0, 5, "40,TE,3,ABC,0,44");
        add(true, 6107, 9, 7, "42,TE");
        add(true, 6150, 9, 3, "42,TE,3,2,5,0");
        add(true, 6159, 2, 9, "42,TE,3,13,6,1");
        add(true, 6190, 9, 2, "42,TE,,18,6,0");
        add(true, 6203, 9, 7, "42,TP");
        add(true, 6209, 9, 3, "42,TP,3,3,5,0");
        add(true, 6214, 9, 0, "42,TP,,7,1,0");
        add(true, 6217, 9, 1, "42,TP,3,18,2,0");
        add(true, 6218, 9, 1, "42,TP,,18,2,0");
    }
    void templates()
    {
        QFETCH(bool, bSpd);
        QFETCH(int, iSubType);
        QFETCH(CFields, fields);
        QFETCH(QString, sWant);
        checkLine(bSpd, iSubType, fields, sWant);
    }

    // The computed lines, texts as stored (both texts hold sText, written
    // where @ stands), and codes without a line around and between the ones
    // with a line.
    void computed_data()
    {
        QTest::addColumn<bool>("bSpd");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<CFields>("fields");
        QTest::addColumn<QString>("sWant");
        const auto add = [](const char *pszName, bool bSpd, int iSubType, int iParam1, int iParam2, int iParam3,
                            int iParam4, int iCompartment, const QString &sText, const char *pszWant) {
            const CFields fields{iParam1, iParam2, iParam3, iParam4, iCompartment, sText, sText};
            QTest::newRow(pszName) << bSpd << iSubType << fields
                                   << stamped(QString::fromUtf8(pszWant).replace("@", sText), TE, TP);
        };
        const QString sUmlauts = QString::fromUtf8("Kammer \xc3\x84\xc3\x96\xc3\x9c \xc3\x9f");
        add("COP 6002 first compartment", false, 6002, 0, 0, 0, 0, 0, "ABC", "42,T,1,1,11,0");
        add("COP 6131 rounding", false, 6131, 0, 0, 1234, 56789, 2, "ABC", "15,T,1.2,56.8,1,1");
        add("COP 6131 at the limits", false, 6131, 0, 0, 99999, 99999, 2, "ABC", "15,T,100.0,100.0,1,1");
        add("COP 6131 first out of range", false, 6131, 0, 0, 100000, 0, 2, "ABC", "");
        add("COP 6131 second out of range", false, 6131, 0, 0, 0, 100000, 2, "ABC", "");
        add("COP 6132 Param1 3 gives 1", false, 6132, 3, 0, 0, 0, 2, "ABC", "41,T,3,@,1,4");
        add("COP 6132 Param1 4 gives 0", false, 6132, 4, 0, 0, 0, 2, "ABC", "41,T,3,@,0,4");
        add("COP 6132 Param1 5 gives no flag", false, 6132, 5, 0, 0, 0, 2, "ABC", "41,T,3,@,,4");
        add("COP 6135 state 1", false, 6135, 0, 0, 1, 0, 2, "ABC", "12,T,3");
        add("COP 6135 state 3, no compartment", false, 6135, 0, 0, 3, 0, -1, "ABC", "12,T,0");
        add("COP 6135 state 2 no line", false, 6135, 0, 0, 2, 0, 2, "ABC", "");
        add("COP 6128 text with commas", false, 6128, 0, 0, 0, 0, 2, "a,b", "41,T,3,@,1,8");
        add("COP 6044 non-ASCII text", false, 6044, 0, 0, 0, 0, 2, sUmlauts, "40,T,3,@,0,0");
        add("COP 6063 text with placeholders", false, 6063, 0, 0, 0, 0, 0, "Diesel, {P3}", "46,T,1,@");
        add("SPD 6112 Param4 0", true, 6112, 0, 7, 1, 0, 2, "ABC", "40,TE,3,@,7,6");
        add("SPD 6112 Param4 9", true, 6112, 0, 7, 1, 9, 2, "ABC", "40,TE,3,@,7,3");
        add("SPD 6208 first compartment", true, 6208, 0, 0, 2, 0, 0, "ABC", "42,TP,1,11,6,0");
        add("SPD 6171 Param4 -1", true, 6171, 0, -2, 1, -1, 2, "ABC", "40,TE,3,@,-2,3");
        add("SPD 6132 Param1 3 gives 1", true, 6132, 3, 0, 1, 0, 2, "ABC", "41,TE,3,@,1,8");
        for (int iCode : {6000, 6008, 6112, 6191})
            add(qPrintable(QStringLiteral("COP %1").arg(iCode)), false, iCode, 0, 0, 1, 0, 2, "ABC", "Undefined");
        for (int iCode : {6000, 6002, 6131, 6202, 6210, 6215, 6219})
            add(qPrintable(QStringLiteral("SPD %1").arg(iCode)), true, iCode, 0, 0, 1, 0, 2, "ABC", "Undefined");
    }
    void computed() { templates(); }
};

QTEST_GUILESS_MAIN(TestCopSpd)
#include "tst_copspd.moc"
