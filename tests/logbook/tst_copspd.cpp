#include "logbook/clogcop.h"
#include "logbook/clogspd.h"
#include "tests/logbook/logbooktest.h"

#include <QRegularExpression>
#include <QTest>

namespace {
// TE 2024-05-15 10:11:12 and TP 2023-01-02 03:04:05, T standing for TE.
const QString TE = QStringLiteral("20240515101112");
const QString TP = QStringLiteral("20230102030405");

// The lines of an entry of either class with the fields given, stored an
// hour before the stamps its lines carry, so every line also shows the
// offset applied. The SPD period time differs from the entry's own, so a
// line that takes the wrong one fails; COP's Param5 to Param8 are 55 to 88.
// SPD notes the codes it has no line for; only its period events carry the
// period's time.
void checkLines(bool bSpd, int iSubType, int iParam1, int iParam2, int iParam3, int iParam4, int iCompartment,
                const QString &sText1, const QString &sText2, const QString &sWant)
{
    CLogCOP cop;
    CLogSPD spd;
    for (CLogBase *pEntry : {static_cast<CLogBase *>(&cop), static_cast<CLogBase *>(&spd)}) {
        pEntry->LogSubType = iSubType;
        pEntry->Compartment = iCompartment;
        pEntry->DateTime = utc(2024, 5, 15, 9, 11, 12);
    }
    cop.Param1 = spd.Param1 = iParam1;
    cop.Param2 = spd.Param2 = iParam2;
    cop.Param3 = spd.Param3 = iParam3;
    cop.Param4 = spd.Param4 = iParam4;
    cop.Text1 = spd.Text1 = sText1;
    cop.Text2 = spd.Text2 = sText2;
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

class TestCopSpd : public QObject
{
    Q_OBJECT

private slots:
    // Every template of both tables, each state value it lists, and for a few
    // one it does not list (the prefix alone). The other state field holds 9,
    // which no template lists, so a template that reads the wrong field fails.
    void everyTemplate_data()
    {
        QTest::addColumn<bool>("bSpd");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<QString>("sWant");
        const auto add = [](bool bSpd, int iSubType, int iParam2, int iParam3, const char *pszWant) {
            QTest::addRow("%s %d Param2 %d Param3 %d", bSpd ? "SPD" : "COP", iSubType, iParam2, iParam3)
                << bSpd << iSubType << iParam2 << iParam3 << stamped(pszWant, TE, TP);
        };
        const auto cop = [&add](int iSubType, int iParam2, int iParam3, const char *pszWant) {
            add(false, iSubType, iParam2, iParam3, pszWant);
        };
        const auto spd = [&add](int iSubType, int iParam2, int iParam3, const char *pszWant) {
            add(true, iSubType, iParam2, iParam3, pszWant);
        };
        cop(6001, 9, 1, "42,T,,6,12,0");
        cop(6001, 9, 0, "42,T,,6,11,0");
        cop(6001, 9, 7, "42,T,,6,");
        cop(6002, 9, 1, "42,T,3,1,12,0");
        cop(6002, 9, 0, "42,T,3,1,11,0");
        cop(6003, 9, 1, "42,T,3,11,12,0");
        cop(6003, 9, 0, "42,T,3,11,11,0");
        cop(6004, 9, 1, "42,T,3,39,1,0");
        cop(6004, 9, 0, "42,T,3,39,2,0");
        cop(6005, 0, 5, "42,T,3,39,12,0");
        cop(6006, 0, 5, "45,T,3,39,11,0");
        cop(6007, 0, 5, "45,T,3,,,,,,55,66,77,5,88");
        cop(6010, 9, 0, "42,T,,16,2,1");
        cop(6010, 9, 1, "42,T,,16,1,1");
        cop(6010, 9, 2, "42,T,,16,0,1");
        cop(6010, 9, 7, "42,T,,16,");
        cop(6011, 0, 5, "42,T,,20,0,1");
        cop(6012, 0, 5, "42,T,,20,2,1");
        cop(6013, 0, 5, "42,T,,20,1,1");
        cop(6014, 0, 5, "42,T,,38,12,1");
        cop(6015, 9, 0, "42,T,,17,2,2");
        cop(6015, 9, 1, "42,T,,17,1,2");
        cop(6015, 9, 2, "42,T,,17,0,2");
        cop(6016, 0, 5, "42,T,,20,0,2");
        cop(6017, 0, 5, "42,T,,20,2,2");
        cop(6018, 0, 5, "42,T,,20,1,2");
        cop(6019, 0, 5, "42,T,,38,12,2");
        cop(6020, 9, 0, "42,T,,17,2,3");
        cop(6020, 9, 1, "42,T,,17,1,3");
        cop(6020, 9, 2, "42,T,,17,0,3");
        cop(6021, 0, 5, "42,T,,20,0,3");
        cop(6022, 0, 5, "42,T,,20,2,3");
        cop(6023, 0, 5, "42,T,,20,1,3");
        cop(6024, 0, 5, "42,T,,38,12,3");
        cop(6025, 9, 1, "42,T,,32,1,1");
        cop(6025, 9, 0, "42,T,,32,2,1");
        cop(6026, 9, 1, "42,T,,32,1,2");
        cop(6026, 9, 0, "42,T,,32,2,2");
        cop(6027, 9, 1, "42,T,,32,1,3");
        cop(6027, 9, 0, "42,T,,32,2,3");
        cop(6028, 9, 1, "42,T,,32,1,4");
        cop(6028, 9, 0, "42,T,,32,2,4");
        cop(6029, 9, 1, "42,T,,33,1,0");
        cop(6029, 9, 0, "42,T,,33,2,0");
        cop(6032, 9, 1, "42,T,3,13,1,1");
        cop(6032, 9, 0, "42,T,3,13,2,1");
        cop(6033, 9, 1, "42,T,3,13,1,2");
        cop(6033, 9, 0, "42,T,3,13,2,2");
        cop(6034, 9, 1, "42,T,3,13,1,3");
        cop(6034, 9, 0, "42,T,3,13,2,3");
        cop(6036, 0, 5, "3,T,5");
        cop(6037, 0, 5, "3,T,5");
        cop(6038, 9, 1, "42,T,,27,1,0");
        cop(6038, 9, 0, "42,T,,27,2,0");
        cop(6039, 0, 0, "");
        cop(6040, 0, 5, "40,T,3,ABC,3,0");
        cop(6043, 0, 5, "46,T,3,0,,,,,1,0");
        cop(6044, 0, 5, "40,T,3,ABC,0,0");
        cop(6045, 0, 5, "40,T,3,ABC,1,0");
        cop(6047, 0, 5, "41,T,3,44,1,8");
        cop(6049, 0, 5, "20,T,65");
        cop(6050, 0, 5, "20,T,67");
        cop(6063, 0, 5, "46,T,3,Diesel");
        cop(6073, 9, 1, "42,T,3,18,12,0");
        cop(6073, 9, 0, "42,T,3,18,11,0");
        cop(6074, 9, 1, "42,T,,23,12,0");
        cop(6074, 9, 0, "42,T,,23,11,0");
        cop(6103, 9, 1, "42,T,3,2,2,0");
        cop(6103, 9, 0, "42,T,3,2,1,0");
        cop(6104, 9, 1, "42,T,3,1,2,0");
        cop(6104, 9, 0, "42,T,3,1,1,0");
        cop(6105, 9, 1, "42,T,3,11,2,0");
        cop(6105, 9, 0, "42,T,3,11,1,0");
        cop(6105, 9, 7, "42,T,3");
        cop(6106, 9, 1, "42,T,3,3,2,0");
        cop(6106, 9, 0, "42,T,3,3,1,0");
        cop(6107, 9, 1, "42,T,,7,2,1");
        cop(6107, 9, 0, "42,T,,7,1,1");
        cop(6108, 9, 1, "42,T,,7,2,2");
        cop(6108, 9, 0, "42,T,,7,1,2");
        cop(6109, 9, 1, "42,T,3,29,2,0");
        cop(6109, 9, 0, "42,T,3,29,1,0");
        cop(6110, 9, 1, "42,T,,25,12,0");
        cop(6110, 9, 0, "42,T,,25,11,0");
        cop(6118, 0, 5, "42,T,3,39,12,0");
        cop(6128, 0, 5, "41,T,3,ABC,1,8");
        cop(6130, 9, 1, "42,T,,7,12,0");
        cop(6130, 9, 0, "42,T,,7,11,0");
        cop(6133, 9, 1, "42,T,1,18,2,0");
        cop(6133, 9, 0, "42,T,1,18,1,0");
        cop(6134, 9, 1, "42,T,2,18,2,0");
        cop(6134, 9, 0, "42,T,2,18,1,0");
        cop(6144, 0, 5, "42,T,,7,7,0");
        cop(6145, 9, 1, "42,T,,7,2,0");
        cop(6145, 9, 0, "42,T,,7,1,0");
        cop(6146, 3, 9, "42,T,,7,5,0");
        cop(6146, 2, 9, "42,T,,7,6,0");
        cop(6146, 7, 9, "42,T,,7,");
        cop(6150, 3, 9, "42,T,3,2,5,0");
        cop(6150, 2, 9, "42,T,3,2,6,0");
        cop(6151, 9, 3, "42,T,3,1,5,0");
        cop(6151, 9, 2, "42,T,3,1,6,0");
        cop(6152, 3, 9, "42,T,3,1,5,0");
        cop(6152, 2, 9, "42,T,3,1,6,0");
        cop(6153, 3, 9, "42,T,3,11,5,0");
        cop(6153, 2, 9, "42,T,3,11,6,0");
        cop(6154, 3, 9, "42,T,3,3,5,0");
        cop(6154, 2, 9, "42,T,3,3,6,0");
        cop(6155, 3, 9, "42,T,,7,5,1");
        cop(6155, 2, 9, "42,T,,7,6,1");
        cop(6156, 3, 9, "42,T,,7,5,2");
        cop(6156, 2, 9, "42,T,,7,6,2");
        cop(6157, 3, 9, "42,T,,25,5,0");
        cop(6157, 2, 9, "42,T,,25,6,0");
        cop(6159, 3, 9, "42,T,3,13,5,1");
        cop(6159, 2, 9, "42,T,3,13,6,1");
        cop(6160, 3, 9, "42,T,3,13,5,2");
        cop(6160, 2, 9, "42,T,3,13,6,2");
        cop(6161, 3, 9, "42,T,3,13,5,3");
        cop(6161, 2, 9, "42,T,3,13,6,3");
        cop(6186, 9, 1, "42,T,3,18,2,0");
        cop(6186, 9, 0, "42,T,3,18,1,0");
        cop(6187, 3, 9, "42,T,3,18,5,0");
        cop(6187, 2, 9, "42,T,3,18,6,0");
        cop(6189, 9, 1, "42,T,,18,2,0");
        cop(6189, 9, 0, "42,T,,18,1,0");
        cop(6190, 3, 9, "42,T,,18,5,0");
        cop(6190, 2, 9, "42,T,,18,6,0");
        spd(6001, 9, 1, "42,TE,,6,12,0");
        spd(6001, 9, 0, "42,TE,,6,11,0");
        spd(6001, 9, 7, "42,TE,,6,");
        spd(6032, 9, 1, "42,TE,3,13,1,1");
        spd(6032, 9, 0, "42,TE,3,13,2,1");
        spd(6032, 9, 7, "42,TE,3");
        spd(6033, 9, 1, "42,TE,3,13,1,2");
        spd(6033, 9, 0, "42,TE,3,13,2,2");
        spd(6034, 9, 1, "42,TE,3,13,1,3");
        spd(6034, 9, 0, "42,TE,3,13,2,3");
        spd(6039, 0, 0, "");
        spd(6041, 0, 0, "");
        spd(6042, 0, 0, "");
        spd(6046, 0, 0, "");
        spd(6040, 0, 5, "40,TE,3,Diesel,3");
        spd(6044, 0, 5, "40,TE,3,ABC,0,44");
        spd(6045, 0, 5, "40,TE,3,ABC,1,44");
        spd(6047, 0, 5, "41,TE,3,44,1,8");
        spd(6049, 0, 5, "20,TE,65");
        spd(6050, 0, 5, "20,TE,67");
        spd(6103, 9, 1, "42,TE,3,2,2,0");
        spd(6103, 9, 0, "42,TE,3,2,1,0");
        spd(6104, 9, 1, "42,TE,3,1,2,0");
        spd(6104, 9, 0, "42,TE,3,1,1,0");
        spd(6105, 9, 1, "42,TE,3,11,2,0");
        spd(6105, 9, 0, "42,TE,3,11,1,0");
        spd(6106, 9, 1, "42,TE,3,3,2,0");
        spd(6106, 9, 0, "42,TE,3,3,1,0");
        spd(6107, 9, 1, "42,TE,,7,2,1");
        spd(6107, 9, 0, "42,TE,,7,1,1");
        spd(6107, 9, 7, "42,TE");
        spd(6108, 9, 1, "42,TE,,7,2,2");
        spd(6108, 9, 0, "42,TE,,7,1,2");
        spd(6109, 9, 1, "42,TE,,29,2,0");
        spd(6109, 9, 0, "42,TE,,29,1,0");
        spd(6110, 9, 1, "42,TE,,25,12,0");
        spd(6110, 9, 0, "42,TE,,25,11,0");
        spd(6111, 0, 5, "40,TE,3,ABC,1,1");
        spd(6168, 0, 5, "40,TE,3,ABC,1,1");
        spd(6169, 0, 5, "40,TE,3,ABC,1,1");
        spd(6128, 0, 5, "41,TE,3,ABC,1,8");
        spd(6130, 9, 1, "42,TE,,7,12,0");
        spd(6130, 9, 0, "42,TE,,7,11,0");
        spd(6139, 0, 5, "40,TE,3,ABC,1,44");
        spd(6172, 0, 5, "40,TE,3,ABC,1,44");
        spd(6173, 0, 5, "40,TE,3,ABC,1,44");
        spd(6144, 0, 5, "42,TE,,7,7,0");
        spd(6145, 9, 1, "42,TE,,7,2,0");
        spd(6145, 9, 0, "42,TE,,7,1,0");
        spd(6146, 3, 9, "42,TE,,7,5,0");
        spd(6146, 2, 9, "42,TE,,7,6,0");
        spd(6150, 9, 3, "42,TE,3,2,5,0");
        spd(6150, 9, 2, "42,TE,3,2,6,0");
        spd(6152, 9, 3, "42,TE,3,1,5,0");
        spd(6152, 9, 2, "42,TE,3,1,6,0");
        spd(6153, 9, 3, "42,TE,3,11,5,0");
        spd(6153, 9, 2, "42,TE,3,11,6,0");
        spd(6154, 9, 3, "42,TE,3,3,5,0");
        spd(6154, 9, 2, "42,TE,3,3,6,0");
        spd(6155, 9, 3, "42,TE,,7,5,1");
        spd(6155, 9, 2, "42,TE,,7,6,1");
        spd(6156, 9, 3, "42,TE,,7,5,2");
        spd(6156, 9, 2, "42,TE,,7,6,2");
        spd(6157, 9, 3, "42,TE,,25,5,0");
        spd(6157, 9, 2, "42,TE,,25,6,0");
        spd(6159, 3, 9, "42,TE,3,13,5,1");
        spd(6159, 2, 9, "42,TE,3,13,6,1");
        spd(6160, 3, 9, "42,TE,3,13,5,2");
        spd(6160, 2, 9, "42,TE,3,13,6,2");
        spd(6161, 3, 9, "42,TE,3,13,5,3");
        spd(6161, 2, 9, "42,TE,3,13,6,3");
        spd(6186, 9, 1, "42,TE,3,18,2,0");
        spd(6186, 9, 0, "42,TE,3,18,1,0");
        spd(6187, 9, 3, "42,TE,3,18,5,0");
        spd(6187, 9, 2, "42,TE,3,18,6,0");
        spd(6189, 9, 1, "42,TE,,18,2,0");
        spd(6189, 9, 0, "42,TE,,18,1,0");
        spd(6189, 9, 7, "42,TE,");
        spd(6190, 9, 3, "42,TE,,18,5,0");
        spd(6190, 9, 2, "42,TE,,18,6,0");
        spd(6203, 9, 0, "42,TP,,25,11,0");
        spd(6203, 9, 1, "42,TP,,25,12,0");
        spd(6203, 9, 2, "42,TP,,25,6,0");
        spd(6203, 9, 3, "42,TP,,25,5,0");
        spd(6203, 9, 7, "42,TP");
        spd(6204, 9, 0, "42,TP,,7,1,1");
        spd(6204, 9, 1, "42,TP,,7,2,1");
        spd(6204, 9, 2, "42,TP,,7,6,1");
        spd(6204, 9, 3, "42,TP,,7,5,1");
        spd(6205, 9, 0, "42,TP,,7,1,2");
        spd(6205, 9, 1, "42,TP,,7,2,2");
        spd(6205, 9, 2, "42,TP,,7,6,2");
        spd(6205, 9, 3, "42,TP,,7,5,2");
        spd(6206, 9, 0, "42,TP,3,2,1,0");
        spd(6206, 9, 1, "42,TP,3,2,2,0");
        spd(6206, 9, 2, "42,TP,3,2,6,0");
        spd(6206, 9, 3, "42,TP,3,2,5,0");
        spd(6206, 9, 7, "42,TP,3,2,");
        spd(6207, 9, 0, "42,TP,3,1,1,0");
        spd(6207, 9, 1, "42,TP,3,1,2,0");
        spd(6207, 9, 2, "42,TP,3,1,6,0");
        spd(6207, 9, 3, "42,TP,3,1,5,0");
        spd(6208, 9, 0, "42,TP,3,11,1,0");
        spd(6208, 9, 1, "42,TP,3,11,2,0");
        spd(6208, 9, 2, "42,TP,3,11,6,0");
        spd(6208, 9, 3, "42,TP,3,11,5,0");
        spd(6209, 9, 0, "42,TP,3,3,1,0");
        spd(6209, 9, 1, "42,TP,3,3,2,0");
        spd(6209, 9, 2, "42,TP,3,3,6,0");
        spd(6209, 9, 3, "42,TP,3,3,5,0");
        spd(6214, 9, 0, "42,TP,,7,1,0");
        spd(6214, 9, 1, "42,TP,,7,2,0");
        spd(6214, 9, 2, "42,TP,,7,6,0");
        spd(6214, 9, 3, "42,TP,,7,5,0");
        spd(6217, 9, 0, "42,TP,3,18,1,0");
        spd(6217, 9, 1, "42,TP,3,18,2,0");
        spd(6217, 9, 2, "42,TP,3,18,6,0");
        spd(6217, 9, 3, "42,TP,3,18,5,0");
        spd(6218, 9, 0, "42,TP,,18,1,0");
        spd(6218, 9, 1, "42,TP,,18,2,0");
        spd(6218, 9, 2, "42,TP,,18,6,0");
        spd(6218, 9, 3, "42,TP,,18,5,0");
    }
    void everyTemplate()
    {
        QFETCH(bool, bSpd);
        QFETCH(int, iSubType);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(QString, sWant);
        checkLines(bSpd, iSubType, 0, iParam2, iParam3, 44, 2, "Diesel", "ABC", sWant);
    }

    // The computed lines, texts as stored (both texts hold sText, written
    // where @ stands), and the codes without a line.
    void lines_data()
    {
        QTest::addColumn<bool>("bSpd");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam1");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<int>("iParam4");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sText");
        QTest::addColumn<QString>("sWant");
        const auto add = [](const char *pszName, bool bSpd, int iSubType, int iParam1, int iParam2, int iParam3,
                            int iParam4, int iCompartment, const QString &sText, const char *pszWant) {
            QTest::newRow(pszName) << bSpd << iSubType << iParam1 << iParam2 << iParam3 << iParam4 << iCompartment
                                   << sText << stamped(QString::fromUtf8(pszWant).replace("@", sText), TE, TP);
        };
        const QString sUmlauts = QString::fromUtf8("Kammer \xc3\x84\xc3\x96\xc3\x9c \xc3\x9f");
        add("COP 6002 first compartment", false, 6002, 0, 0, 0, 0, 0, "ABC", "42,T,1,1,11,0");
        add("COP 6036 driver id", false, 6036, 0, 0, 4711, 0, 2, "ABC", "3,T,4711");
        add("COP 6131 rounding", false, 6131, 0, 0, 1234, 56789, 2, "ABC", "15,T,1.2,56.8,1,1");
        add("COP 6131 at the limits", false, 6131, 0, 0, 99999, 99999, 2, "ABC", "15,T,100.0,100.0,1,1");
        add("COP 6131 negative", false, 6131, 0, 0, -1500, -49, 2, "ABC", "15,T,-1.5,-0.0,1,1");
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
        add("SPD 6170 Param4 0", true, 6170, 0, 7, 1, 0, 2, "ABC", "40,TE,3,@,7,6");
        add("SPD 6171 Param4 -1", true, 6171, 0, -2, 1, -1, 2, "ABC", "40,TE,3,@,-2,3");
        add("SPD 6132 Param1 3 gives 1", true, 6132, 3, 0, 1, 0, 2, "ABC", "41,TE,3,@,1,8");
        add("SPD 6132 Param1 4 gives 0", true, 6132, 4, 0, 1, 0, 2, "ABC", "41,TE,3,@,0,8");
        add("SPD 6132 Param1 5 gives no flag", true, 6132, 5, 0, 1, 0, 2, "ABC", "41,TE,3,@,,8");
        add("SPD 6040 non-ASCII Text1", true, 6040, 0, 0, 1, 0, 2, sUmlauts, "40,TE,3,@,3");
        add("SPD 6045 empty Text2", true, 6045, 0, 0, 1, 0, 2, "", "40,TE,3,,1,0");
        for (int iCode : {5999, 6000, 6008, 6112, 6191, 6203})
            add(qPrintable(QStringLiteral("COP %1").arg(iCode)), false, iCode, 0, 0, 1, 0, 2, "ABC", "Undefined");
        for (int iCode : {6000, 6002, 6131, 6191, 6202, 6210, 6215, 6219})
            add(qPrintable(QStringLiteral("SPD %1").arg(iCode)), true, iCode, 0, 0, 1, 0, 2, "ABC", "Undefined");
    }
    void lines()
    {
        QFETCH(bool, bSpd);
        QFETCH(int, iSubType);
        QFETCH(int, iParam1);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(int, iParam4);
        QFETCH(int, iCompartment);
        QFETCH(QString, sText);
        QFETCH(QString, sWant);
        checkLines(bSpd, iSubType, iParam1, iParam2, iParam3, iParam4, iCompartment, sText, sText, sWant);
    }

    // Only the header counts: the subtype and the period time do not.
    void spdMarkers_data()
    {
        QTest::addColumn<int>("iSelector");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("opening") << 1 << "20,20240515101112,63";
        QTest::newRow("closing") << 0 << "20,20240515101112,64";
        QTest::newRow("any other selector opens") << 7 << "20,20240515101112,63";
    }
    void spdMarkers()
    {
        QFETCH(int, iSelector);
        QFETCH(QString, sWant);
        CLogSPD spd;
        spd.LogSubType = 6002;
        spd.DateTime = utc(2024, 5, 15, 9, 11, 12);
        spd.EventTime = utc(2023, 1, 2);
        QCOMPARE(spd.getFTLMarkerStrings(iSelector, 3600), QStringList{sWant});
    }
};

QTEST_GUILESS_MAIN(TestCopSpd)
#include "tst_copspd.moc"
