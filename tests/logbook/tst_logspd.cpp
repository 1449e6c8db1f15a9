#include "logbook/clogspd.h"

#include <QRegularExpression>
#include <QTest>

namespace {
const QString g_sTE = QStringLiteral("20240515101112");
const QString g_sTP = QStringLiteral("20230102030405");
} // namespace

class TestLogSpd : public QObject
{
    Q_OBJECT

    // An entry of the third compartment whose own time and period time differ,
    // so a line that takes the wrong one fails.
    static CLogSPD entry(int iSubType, int iParam2, int iParam3)
    {
        CLogSPD spd;
        spd.LogSubType = iSubType;
        spd.Param1 = 0;
        spd.Param2 = iParam2;
        spd.Param3 = iParam3;
        spd.Param4 = 44;
        spd.Text1 = QStringLiteral("T1x");
        spd.Text2 = QStringLiteral("T2x");
        spd.Compartment = 2;
        spd.DateTime = QDateTime(QDate(2024, 5, 15), QTime(10, 11, 12), Qt::UTC);
        spd.EventTime = QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5), Qt::UTC);
        return spd;
    }

private slots:
    // Every template of the SPD table, each state value it lists and one it
    // does not (the prefix alone); the other state field holds 9.
    void everyTemplate_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("6001 Param3 1") << 6001 << 9 << 1 << QStringLiteral("42,20240515101112,,6,12,0");
        QTest::newRow("6001 Param3 0") << 6001 << 9 << 0 << QStringLiteral("42,20240515101112,,6,11,0");
        QTest::newRow("6001 Param3 7: prefix alone") << 6001 << 9 << 7 << QStringLiteral("42,20240515101112,,6,");
        QTest::newRow("6032 Param3 1") << 6032 << 9 << 1 << QStringLiteral("42,20240515101112,3,13,1,1");
        QTest::newRow("6032 Param3 0") << 6032 << 9 << 0 << QStringLiteral("42,20240515101112,3,13,2,1");
        QTest::newRow("6032 Param3 7: prefix alone") << 6032 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6033 Param3 1") << 6033 << 9 << 1 << QStringLiteral("42,20240515101112,3,13,1,2");
        QTest::newRow("6033 Param3 0") << 6033 << 9 << 0 << QStringLiteral("42,20240515101112,3,13,2,2");
        QTest::newRow("6033 Param3 7: prefix alone") << 6033 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6034 Param3 1") << 6034 << 9 << 1 << QStringLiteral("42,20240515101112,3,13,1,3");
        QTest::newRow("6034 Param3 0") << 6034 << 9 << 0 << QStringLiteral("42,20240515101112,3,13,2,3");
        QTest::newRow("6034 Param3 7: prefix alone") << 6034 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6039 empty text") << 6039 << 0 << 0 << QStringLiteral("");
        QTest::newRow("6041 empty text") << 6041 << 0 << 0 << QStringLiteral("");
        QTest::newRow("6042 empty text") << 6042 << 0 << 0 << QStringLiteral("");
        QTest::newRow("6046 empty text") << 6046 << 0 << 0 << QStringLiteral("");
        QTest::newRow("6040 fixed") << 6040 << 0 << 5 << QStringLiteral("40,20240515101112,3,T1x,3");
        QTest::newRow("6044 fixed") << 6044 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,0,44");
        QTest::newRow("6045 fixed") << 6045 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,44");
        QTest::newRow("6047 fixed") << 6047 << 0 << 5 << QStringLiteral("41,20240515101112,3,44,1,8");
        QTest::newRow("6049 fixed") << 6049 << 0 << 5 << QStringLiteral("20,20240515101112,65");
        QTest::newRow("6050 fixed") << 6050 << 0 << 5 << QStringLiteral("20,20240515101112,67");
        QTest::newRow("6103 Param3 1") << 6103 << 9 << 1 << QStringLiteral("42,20240515101112,3,2,2,0");
        QTest::newRow("6103 Param3 0") << 6103 << 9 << 0 << QStringLiteral("42,20240515101112,3,2,1,0");
        QTest::newRow("6103 Param3 7: prefix alone") << 6103 << 9 << 7 << QStringLiteral("42,20240515101112,3,2,");
        QTest::newRow("6104 Param3 1") << 6104 << 9 << 1 << QStringLiteral("42,20240515101112,3,1,2,0");
        QTest::newRow("6104 Param3 0") << 6104 << 9 << 0 << QStringLiteral("42,20240515101112,3,1,1,0");
        QTest::newRow("6104 Param3 7: prefix alone") << 6104 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6105 Param3 1") << 6105 << 9 << 1 << QStringLiteral("42,20240515101112,3,11,2,0");
        QTest::newRow("6105 Param3 0") << 6105 << 9 << 0 << QStringLiteral("42,20240515101112,3,11,1,0");
        QTest::newRow("6105 Param3 7: prefix alone") << 6105 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6106 Param3 1") << 6106 << 9 << 1 << QStringLiteral("42,20240515101112,3,3,2,0");
        QTest::newRow("6106 Param3 0") << 6106 << 9 << 0 << QStringLiteral("42,20240515101112,3,3,1,0");
        QTest::newRow("6106 Param3 7: prefix alone") << 6106 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6107 Param3 1") << 6107 << 9 << 1 << QStringLiteral("42,20240515101112,,7,2,1");
        QTest::newRow("6107 Param3 0") << 6107 << 9 << 0 << QStringLiteral("42,20240515101112,,7,1,1");
        QTest::newRow("6107 Param3 7: prefix alone") << 6107 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6108 Param3 1") << 6108 << 9 << 1 << QStringLiteral("42,20240515101112,,7,2,2");
        QTest::newRow("6108 Param3 0") << 6108 << 9 << 0 << QStringLiteral("42,20240515101112,,7,1,2");
        QTest::newRow("6108 Param3 7: prefix alone") << 6108 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6109 Param3 1") << 6109 << 9 << 1 << QStringLiteral("42,20240515101112,,29,2,0");
        QTest::newRow("6109 Param3 0") << 6109 << 9 << 0 << QStringLiteral("42,20240515101112,,29,1,0");
        QTest::newRow("6109 Param3 7: prefix alone") << 6109 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6110 Param3 1") << 6110 << 9 << 1 << QStringLiteral("42,20240515101112,,25,12,0");
        QTest::newRow("6110 Param3 0") << 6110 << 9 << 0 << QStringLiteral("42,20240515101112,,25,11,0");
        QTest::newRow("6110 Param3 7: prefix alone") << 6110 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6111 fixed") << 6111 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,1");
        QTest::newRow("6168 fixed") << 6168 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,1");
        QTest::newRow("6169 fixed") << 6169 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,1");
        QTest::newRow("6128 fixed") << 6128 << 0 << 5 << QStringLiteral("41,20240515101112,3,T2x,1,8");
        QTest::newRow("6130 Param3 1") << 6130 << 9 << 1 << QStringLiteral("42,20240515101112,,7,12,0");
        QTest::newRow("6130 Param3 0") << 6130 << 9 << 0 << QStringLiteral("42,20240515101112,,7,11,0");
        QTest::newRow("6130 Param3 7: prefix alone") << 6130 << 9 << 7 << QStringLiteral("42,20240515101112,,7,");
        QTest::newRow("6139 fixed") << 6139 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,44");
        QTest::newRow("6172 fixed") << 6172 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,44");
        QTest::newRow("6173 fixed") << 6173 << 0 << 5 << QStringLiteral("40,20240515101112,3,T2x,1,44");
        QTest::newRow("6144 fixed") << 6144 << 0 << 5 << QStringLiteral("42,20240515101112,,7,7,0");
        QTest::newRow("6145 Param3 1") << 6145 << 9 << 1 << QStringLiteral("42,20240515101112,,7,2,0");
        QTest::newRow("6145 Param3 0") << 6145 << 9 << 0 << QStringLiteral("42,20240515101112,,7,1,0");
        QTest::newRow("6145 Param3 7: prefix alone") << 6145 << 9 << 7 << QStringLiteral("42,20240515101112,,7,");
        QTest::newRow("6146 Param2 3") << 6146 << 3 << 9 << QStringLiteral("42,20240515101112,,7,5,0");
        QTest::newRow("6146 Param2 2") << 6146 << 2 << 9 << QStringLiteral("42,20240515101112,,7,6,0");
        QTest::newRow("6146 Param2 7: prefix alone") << 6146 << 7 << 9 << QStringLiteral("42,20240515101112,,7,");
        QTest::newRow("6150 Param3 3") << 6150 << 9 << 3 << QStringLiteral("42,20240515101112,3,2,5,0");
        QTest::newRow("6150 Param3 2") << 6150 << 9 << 2 << QStringLiteral("42,20240515101112,3,2,6,0");
        QTest::newRow("6150 Param3 7: prefix alone") << 6150 << 9 << 7 << QStringLiteral("42,20240515101112,3,2,");
        QTest::newRow("6152 Param3 3") << 6152 << 9 << 3 << QStringLiteral("42,20240515101112,3,1,5,0");
        QTest::newRow("6152 Param3 2") << 6152 << 9 << 2 << QStringLiteral("42,20240515101112,3,1,6,0");
        QTest::newRow("6152 Param3 7: prefix alone") << 6152 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6153 Param3 3") << 6153 << 9 << 3 << QStringLiteral("42,20240515101112,3,11,5,0");
        QTest::newRow("6153 Param3 2") << 6153 << 9 << 2 << QStringLiteral("42,20240515101112,3,11,6,0");
        QTest::newRow("6153 Param3 7: prefix alone") << 6153 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6154 Param3 3") << 6154 << 9 << 3 << QStringLiteral("42,20240515101112,3,3,5,0");
        QTest::newRow("6154 Param3 2") << 6154 << 9 << 2 << QStringLiteral("42,20240515101112,3,3,6,0");
        QTest::newRow("6154 Param3 7: prefix alone") << 6154 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6155 Param3 3") << 6155 << 9 << 3 << QStringLiteral("42,20240515101112,,7,5,1");
        QTest::newRow("6155 Param3 2") << 6155 << 9 << 2 << QStringLiteral("42,20240515101112,,7,6,1");
        QTest::newRow("6155 Param3 7: prefix alone") << 6155 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6156 Param3 3") << 6156 << 9 << 3 << QStringLiteral("42,20240515101112,,7,5,2");
        QTest::newRow("6156 Param3 2") << 6156 << 9 << 2 << QStringLiteral("42,20240515101112,,7,6,2");
        QTest::newRow("6156 Param3 7: prefix alone") << 6156 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6157 Param3 3") << 6157 << 9 << 3 << QStringLiteral("42,20240515101112,,25,5,0");
        QTest::newRow("6157 Param3 2") << 6157 << 9 << 2 << QStringLiteral("42,20240515101112,,25,6,0");
        QTest::newRow("6157 Param3 7: prefix alone") << 6157 << 9 << 7 << QStringLiteral("42,20240515101112");
        QTest::newRow("6159 Param2 3") << 6159 << 3 << 9 << QStringLiteral("42,20240515101112,3,13,5,1");
        QTest::newRow("6159 Param2 2") << 6159 << 2 << 9 << QStringLiteral("42,20240515101112,3,13,6,1");
        QTest::newRow("6159 Param2 7: prefix alone") << 6159 << 7 << 9 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6160 Param2 3") << 6160 << 3 << 9 << QStringLiteral("42,20240515101112,3,13,5,2");
        QTest::newRow("6160 Param2 2") << 6160 << 2 << 9 << QStringLiteral("42,20240515101112,3,13,6,2");
        QTest::newRow("6160 Param2 7: prefix alone") << 6160 << 7 << 9 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6161 Param2 3") << 6161 << 3 << 9 << QStringLiteral("42,20240515101112,3,13,5,3");
        QTest::newRow("6161 Param2 2") << 6161 << 2 << 9 << QStringLiteral("42,20240515101112,3,13,6,3");
        QTest::newRow("6161 Param2 7: prefix alone") << 6161 << 7 << 9 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6186 Param3 1") << 6186 << 9 << 1 << QStringLiteral("42,20240515101112,3,18,2,0");
        QTest::newRow("6186 Param3 0") << 6186 << 9 << 0 << QStringLiteral("42,20240515101112,3,18,1,0");
        QTest::newRow("6186 Param3 7: prefix alone") << 6186 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6187 Param3 3") << 6187 << 9 << 3 << QStringLiteral("42,20240515101112,3,18,5,0");
        QTest::newRow("6187 Param3 2") << 6187 << 9 << 2 << QStringLiteral("42,20240515101112,3,18,6,0");
        QTest::newRow("6187 Param3 7: prefix alone") << 6187 << 9 << 7 << QStringLiteral("42,20240515101112,3");
        QTest::newRow("6189 Param3 1") << 6189 << 9 << 1 << QStringLiteral("42,20240515101112,,18,2,0");
        QTest::newRow("6189 Param3 0") << 6189 << 9 << 0 << QStringLiteral("42,20240515101112,,18,1,0");
        QTest::newRow("6189 Param3 7: prefix alone") << 6189 << 9 << 7 << QStringLiteral("42,20240515101112,");
        QTest::newRow("6190 Param3 3") << 6190 << 9 << 3 << QStringLiteral("42,20240515101112,,18,5,0");
        QTest::newRow("6190 Param3 2") << 6190 << 9 << 2 << QStringLiteral("42,20240515101112,,18,6,0");
        QTest::newRow("6190 Param3 7: prefix alone") << 6190 << 9 << 7 << QStringLiteral("42,20240515101112,");
        QTest::newRow("6203 Param3 0") << 6203 << 9 << 0 << QStringLiteral("42,20230102030405,,25,11,0");
        QTest::newRow("6203 Param3 1") << 6203 << 9 << 1 << QStringLiteral("42,20230102030405,,25,12,0");
        QTest::newRow("6203 Param3 2") << 6203 << 9 << 2 << QStringLiteral("42,20230102030405,,25,6,0");
        QTest::newRow("6203 Param3 3") << 6203 << 9 << 3 << QStringLiteral("42,20230102030405,,25,5,0");
        QTest::newRow("6203 Param3 7: prefix alone") << 6203 << 9 << 7 << QStringLiteral("42,20230102030405");
        QTest::newRow("6204 Param3 0") << 6204 << 9 << 0 << QStringLiteral("42,20230102030405,,7,1,1");
        QTest::newRow("6204 Param3 1") << 6204 << 9 << 1 << QStringLiteral("42,20230102030405,,7,2,1");
        QTest::newRow("6204 Param3 2") << 6204 << 9 << 2 << QStringLiteral("42,20230102030405,,7,6,1");
        QTest::newRow("6204 Param3 3") << 6204 << 9 << 3 << QStringLiteral("42,20230102030405,,7,5,1");
        QTest::newRow("6204 Param3 7: prefix alone") << 6204 << 9 << 7 << QStringLiteral("42,20230102030405");
        QTest::newRow("6205 Param3 0") << 6205 << 9 << 0 << QStringLiteral("42,20230102030405,,7,1,2");
        QTest::newRow("6205 Param3 1") << 6205 << 9 << 1 << QStringLiteral("42,20230102030405,,7,2,2");
        QTest::newRow("6205 Param3 2") << 6205 << 9 << 2 << QStringLiteral("42,20230102030405,,7,6,2");
        QTest::newRow("6205 Param3 3") << 6205 << 9 << 3 << QStringLiteral("42,20230102030405,,7,5,2");
        QTest::newRow("6205 Param3 7: prefix alone") << 6205 << 9 << 7 << QStringLiteral("42,20230102030405");
        QTest::newRow("6206 Param3 0") << 6206 << 9 << 0 << QStringLiteral("42,20230102030405,3,2,1,0");
        QTest::newRow("6206 Param3 1") << 6206 << 9 << 1 << QStringLiteral("42,20230102030405,3,2,2,0");
        QTest::newRow("6206 Param3 2") << 6206 << 9 << 2 << QStringLiteral("42,20230102030405,3,2,6,0");
        QTest::newRow("6206 Param3 3") << 6206 << 9 << 3 << QStringLiteral("42,20230102030405,3,2,5,0");
        QTest::newRow("6206 Param3 7: prefix alone") << 6206 << 9 << 7 << QStringLiteral("42,20230102030405,3,2,");
        QTest::newRow("6207 Param3 0") << 6207 << 9 << 0 << QStringLiteral("42,20230102030405,3,1,1,0");
        QTest::newRow("6207 Param3 1") << 6207 << 9 << 1 << QStringLiteral("42,20230102030405,3,1,2,0");
        QTest::newRow("6207 Param3 2") << 6207 << 9 << 2 << QStringLiteral("42,20230102030405,3,1,6,0");
        QTest::newRow("6207 Param3 3") << 6207 << 9 << 3 << QStringLiteral("42,20230102030405,3,1,5,0");
        QTest::newRow("6207 Param3 7: prefix alone") << 6207 << 9 << 7 << QStringLiteral("42,20230102030405,3");
        QTest::newRow("6208 Param3 0") << 6208 << 9 << 0 << QStringLiteral("42,20230102030405,3,11,1,0");
        QTest::newRow("6208 Param3 1") << 6208 << 9 << 1 << QStringLiteral("42,20230102030405,3,11,2,0");
        QTest::newRow("6208 Param3 2") << 6208 << 9 << 2 << QStringLiteral("42,20230102030405,3,11,6,0");
        QTest::newRow("6208 Param3 3") << 6208 << 9 << 3 << QStringLiteral("42,20230102030405,3,11,5,0");
        QTest::newRow("6208 Param3 7: prefix alone") << 6208 << 9 << 7 << QStringLiteral("42,20230102030405,3");
        QTest::newRow("6209 Param3 0") << 6209 << 9 << 0 << QStringLiteral("42,20230102030405,3,3,1,0");
        QTest::newRow("6209 Param3 1") << 6209 << 9 << 1 << QStringLiteral("42,20230102030405,3,3,2,0");
        QTest::newRow("6209 Param3 2") << 6209 << 9 << 2 << QStringLiteral("42,20230102030405,3,3,6,0");
        QTest::newRow("6209 Param3 3") << 6209 << 9 << 3 << QStringLiteral("42,20230102030405,3,3,5,0");
        QTest::newRow("6209 Param3 7: prefix alone") << 6209 << 9 << 7 << QStringLiteral("42,20230102030405,3");
        QTest::newRow("6214 Param3 0") << 6214 << 9 << 0 << QStringLiteral("42,20230102030405,,7,1,0");
        QTest::newRow("6214 Param3 1") << 6214 << 9 << 1 << QStringLiteral("42,20230102030405,,7,2,0");
        QTest::newRow("6214 Param3 2") << 6214 << 9 << 2 << QStringLiteral("42,20230102030405,,7,6,0");
        QTest::newRow("6214 Param3 3") << 6214 << 9 << 3 << QStringLiteral("42,20230102030405,,7,5,0");
        QTest::newRow("6214 Param3 7: prefix alone") << 6214 << 9 << 7 << QStringLiteral("42,20230102030405,,7,");
        QTest::newRow("6217 Param3 0") << 6217 << 9 << 0 << QStringLiteral("42,20230102030405,3,18,1,0");
        QTest::newRow("6217 Param3 1") << 6217 << 9 << 1 << QStringLiteral("42,20230102030405,3,18,2,0");
        QTest::newRow("6217 Param3 2") << 6217 << 9 << 2 << QStringLiteral("42,20230102030405,3,18,6,0");
        QTest::newRow("6217 Param3 3") << 6217 << 9 << 3 << QStringLiteral("42,20230102030405,3,18,5,0");
        QTest::newRow("6217 Param3 7: prefix alone") << 6217 << 9 << 7 << QStringLiteral("42,20230102030405,3");
        QTest::newRow("6218 Param3 0") << 6218 << 9 << 0 << QStringLiteral("42,20230102030405,,18,1,0");
        QTest::newRow("6218 Param3 1") << 6218 << 9 << 1 << QStringLiteral("42,20230102030405,,18,2,0");
        QTest::newRow("6218 Param3 2") << 6218 << 9 << 2 << QStringLiteral("42,20230102030405,,18,6,0");
        QTest::newRow("6218 Param3 3") << 6218 << 9 << 3 << QStringLiteral("42,20230102030405,,18,5,0");
        QTest::newRow("6218 Param3 7: prefix alone") << 6218 << 9 << 7 << QStringLiteral("42,20230102030405,");
    }
    void everyTemplate()
    {
        QFETCH(int, iSubType);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(QString, sWant);
        QCOMPARE(entry(iSubType, iParam2, iParam3).getFTLStrings(0), QStringList{sWant});
    }

    // The state of 6112, 6170 and 6171 is Param2 itself; Param4 picks the end.
    void stateLines_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam4");
        QTest::addColumn<QString>("sWant");
        for (int iCode : {6112, 6170, 6171}) {
            QTest::addRow("%d Param4 0", iCode) << iCode << 7 << 0 << "40," + g_sTE + ",3,T2x,7,6";
            QTest::addRow("%d Param4 9", iCode) << iCode << 7 << 9 << "40," + g_sTE + ",3,T2x,7,3";
            QTest::addRow("%d Param4 -1", iCode) << iCode << -2 << -1 << "40," + g_sTE + ",3,T2x,-2,3";
        }
    }
    void stateLines()
    {
        QFETCH(int, iSubType);
        QFETCH(int, iParam2);
        QFETCH(int, iParam4);
        QFETCH(QString, sWant);
        CLogSPD spd = entry(iSubType, iParam2, 1);
        spd.Param4 = iParam4;
        QCOMPARE(spd.getFTLStrings(0), QStringList{sWant});
    }

    void flagLine_data()
    {
        QTest::addColumn<int>("iParam1");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("3 gives 1") << 3 << "41," + g_sTE + ",3,T2x,1,8";
        QTest::newRow("4 gives 0") << 4 << "41," + g_sTE + ",3,T2x,0,8";
        QTest::newRow("5 gives no flag") << 5 << "41," + g_sTE + ",3,T2x,,8";
    }
    void flagLine()
    {
        QFETCH(int, iParam1);
        QFETCH(QString, sWant);
        CLogSPD spd = entry(6132, 0, 0);
        spd.Param1 = iParam1;
        QCOMPARE(spd.getFTLStrings(0), QStringList{sWant});
    }

    void unknownSubtypes_data()
    {
        QTest::addColumn<int>("iSubType");
        for (int iCode : {-1, 0, 5999, 6000, 6002, 6007, 6036, 6043, 6063, 6131, 6135, 6151, 6191, 6200, 6210,
                          6219, 14006})
            QTest::addRow("%d", iCode) << iCode;
    }
    void unknownSubtypes()
    {
        QFETCH(int, iSubType);
        QTest::ignoreMessage(QtDebugMsg,
                             QRegularExpression(QStringLiteral("^Undefined LogSubType = +%1$").arg(iSubType)));
        QCOMPARE(entry(iSubType, 1, 1).getFTLStrings(0), QStringList{QStringLiteral("Undefined")});
    }

    void offsets_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QDateTime>("dtEntry");
        QTest::addColumn<QDateTime>("dtEvent");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        const QDateTime dtNoon(QDate(2024, 5, 15), QTime(12, 0), Qt::UTC);
        QTest::newRow("entry time, zero") << 6049 << dtNoon << dtNoon.addDays(-3) << 0 << "20,20240515120000,65";
        QTest::newRow("entry time back over a leap day")
            << 6050 << QDateTime(QDate(2024, 3, 1), QTime(1, 0), Qt::UTC) << dtNoon << -7200
            << "20,20240229230000,67";
        QTest::newRow("period time over midnight")
            << 6208 << dtNoon << QDateTime(QDate(2023, 1, 1), QTime(23, 30), Qt::UTC) << 3600
            << "42,20230102003000,3,11,6,0";
        QTest::newRow("period time over new year backwards")
            << 6214 << dtNoon << QDateTime(QDate(2023, 1, 1), QTime(0, 10), Qt::UTC) << -900
            << "42,20221231235500,,7,6,0";
    }
    void offsets()
    {
        QFETCH(int, iSubType);
        QFETCH(QDateTime, dtEntry);
        QFETCH(QDateTime, dtEvent);
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        CLogSPD spd = entry(iSubType, 9, 2);
        spd.DateTime = dtEntry;
        spd.EventTime = dtEvent;
        QCOMPARE(spd.getFTLStrings(iOffset), QStringList{sWant});
    }

    void texts_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QString>("sText1");
        QTest::addColumn<QString>("sText2");
        QTest::addColumn<QString>("sWant");
        const QString sUmlauts = QString::fromUtf8("Z\xc3\xa4hler \xc3\x96l");
        QTest::newRow("6040 empty Text1") << 6040 << QString() << sUmlauts << "40," + g_sTE + ",3,,3";
        QTest::newRow("6040 non-ASCII Text1") << 6040 << sUmlauts << QString() << "40," + g_sTE + ",3," + sUmlauts + ",3";
        QTest::newRow("6045 empty Text2") << 6045 << sUmlauts << QString() << "40," + g_sTE + ",3,,1,44";
        QTest::newRow("6111 non-ASCII Text2") << 6111 << QString() << sUmlauts << "40," + g_sTE + ",3," + sUmlauts + ",1,1";
    }
    void texts()
    {
        QFETCH(int, iSubType);
        QFETCH(QString, sText1);
        QFETCH(QString, sText2);
        QFETCH(QString, sWant);
        CLogSPD spd = entry(iSubType, 0, 0);
        spd.Text1 = sText1;
        spd.Text2 = sText2;
        QCOMPARE(spd.getFTLStrings(0), QStringList{sWant});
    }

    void markers_data()
    {
        QTest::addColumn<int>("iSelector");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("opening") << 1 << 0 << "20,20240515101112,63";
        QTest::newRow("closing") << 0 << 0 << "20,20240515101112,64";
        QTest::newRow("any other selector opens") << 7 << 0 << "20,20240515101112,63";
        QTest::newRow("negative selector opens") << -1 << 0 << "20,20240515101112,63";
        QTest::newRow("offset takes the entry time back over midnight") << 0 << -36733 << "20,20240514235859,64";
    }
    void markers()
    {
        QFETCH(int, iSelector);
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        // Only the header counts: the subtype and the period time do not.
        QCOMPARE(entry(6002, 0, 0).getFTLMarkerStrings(iSelector, iOffset), QStringList{sWant});
    }

    void periodSubtypes_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<bool>("bPeriod");
        for (int iCode = 6200; iCode <= 6220; ++iCode)
            QTest::addRow("%d", iCode) << iCode
                                       << ((iCode >= 6203 && iCode <= 6209) || iCode == 6214 || iCode == 6217
                                           || iCode == 6218);
        QTest::newRow("6001") << 6001 << false;
    }
    void periodSubtypes()
    {
        QFETCH(int, iSubType);
        QFETCH(bool, bPeriod);
        QCOMPARE(IsSpdPeriodSubtype(iSubType), bPeriod);
    }
};

QTEST_GUILESS_MAIN(TestLogSpd)
#include "tst_logspd.moc"
