#include "logbook/clogcop.h"
#include "logbook/cftltemplate.h"
#include "logbook/clogspd.h"

#include <QTest>

class TestLogCop : public QObject
{
    Q_OBJECT

    static CLogCOP entry(int iSubType, int iParam3, int iCompartment = -1)
    {
        CLogCOP cop;
        cop.LogSubType = iSubType;
        cop.Param3 = iParam3;
        cop.Compartment = iCompartment;
        cop.DateTime = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
        return cop;
    }

private slots:
    void lines_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam1");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<int>("iParam4");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sWant");
        const QString t = QStringLiteral("20210304050607");
        QTest::newRow("6001 on") << 6001 << 0 << 0 << 1 << 0 << -1 << "42," + t + ",,6,12,0";
        QTest::newRow("6001 off") << 6001 << 0 << 0 << 0 << 0 << -1 << "42," + t + ",,6,11,0";
        QTest::newRow("6001 unknown state: prefix alone") << 6001 << 0 << 0 << 7 << 0 << -1 << "42," + t + ",,6,";
        QTest::newRow("6002 first compartment") << 6002 << 0 << 0 << 0 << 0 << 0 << "42," + t + ",1,1,11,0";
        QTest::newRow("6010 three states") << 6010 << 0 << 0 << 2 << 0 << -1 << "42," + t + ",,16,0,1";
        QTest::newRow("6036 driver id") << 6036 << 0 << 0 << 4711 << 0 << -1 << "3," + t + ",4711";
        QTest::newRow("6039 writes nothing") << 6039 << 0 << 0 << 1 << 0 << -1 << "";
        QTest::newRow("6047 loading plan") << 6047 << 0 << 0 << 0 << 12 << 1 << "41," + t + ",2,12,1,8";
        QTest::newRow("6049 control mode loading") << 6049 << 0 << 0 << 0 << 0 << -1 << "20," + t + ",65";
        QTest::newRow("6105 suffix carries its comma") << 6105 << 0 << 0 << 1 << 0 << 3 << "42," + t + ",4,11,2,0";
        QTest::newRow("6131 rounding") << 6131 << 0 << 0 << 1234 << 56789 << -1 << "15," + t + ",1.2,56.8,1,1";
        QTest::newRow("6131 at the limit") << 6131 << 0 << 0 << 99999 << 0 << -1 << "15," + t + ",100.0,0.0,1,1";
        QTest::newRow("6131 out of range") << 6131 << 0 << 0 << 100000 << 0 << -1 << "";
        QTest::newRow("6132 flag 1") << 6132 << 3 << 0 << 0 << 0 << 2 << "41," + t + ",3,ABC,1,4";
        QTest::newRow("6132 flag empty") << 6132 << 5 << 0 << 0 << 0 << 2 << "41," + t + ",3,ABC,,4";
        QTest::newRow("6135 state 3") << 6135 << 0 << 0 << 3 << 0 << 4 << "12," + t + ",5";
        QTest::newRow("6135 state 2 no line") << 6135 << 0 << 0 << 2 << 0 << 4 << "";
        QTest::newRow("6146 chosen by Param2") << 6146 << 0 << 3 << 2 << 0 << -1 << "42," + t + ",,7,5,0";
        QTest::newRow("6151 chosen by Param3") << 6151 << 0 << 3 << 2 << 0 << 0 << "42," + t + ",1,1,6,0";
        QTest::newRow("6190 last") << 6190 << 0 << 2 << 0 << 0 << -1 << "42," + t + ",,18,6,0";
        QTest::newRow("6131 zero") << 6131 << 0 << 0 << 0 << 0 << 2 << "15," + t + ",0.0,0.0,1,1";
        QTest::newRow("6131 negative") << 6131 << 0 << 0 << -1500 << -49 << 2 << "15," + t + ",-1.5,-0.0,1,1";
        QTest::newRow("6131 second at the limit") << 6131 << 0 << 0 << 5 << 99999 << 2 << "15," + t + ",0.0,100.0,1,1";
        QTest::newRow("6131 second out of range") << 6131 << 0 << 0 << 5 << 100000 << 2 << "";
        QTest::newRow("6132 Param1 4 gives 0") << 6132 << 4 << 0 << 0 << 0 << 2 << "41," + t + ",3,ABC,0,4";
        QTest::newRow("6132 Param1 3 gives 1") << 6132 << 3 << 0 << 0 << 0 << -1 << "41," + t + ",0,ABC,1,4";
        QTest::newRow("6132 Param1 0 gives no flag") << 6132 << 0 << 0 << 0 << 0 << 2 << "41," + t + ",3,ABC,,4";
        QTest::newRow("6135 state 1") << 6135 << 0 << 0 << 1 << 0 << 2 << "12," + t + ",3";
        QTest::newRow("6135 state 3, no compartment") << 6135 << 0 << 0 << 3 << 0 << -1 << "12," + t + ",0";
        QTest::newRow("6135 state 0") << 6135 << 0 << 0 << 0 << 0 << 2 << "";
        QTest::newRow("6008 named but no template") << 6008 << 0 << 0 << 0 << 0 << -1 << "Undefined";
        QTest::newRow("6191") << 6191 << 0 << 0 << 0 << 0 << -1 << "Undefined";
        QTest::newRow("5999") << 5999 << 0 << 0 << 0 << 0 << -1 << "Undefined";
    }
    void lines()
    {
        QFETCH(int, iSubType);
        QFETCH(int, iParam1);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(int, iParam4);
        QFETCH(int, iCompartment);
        QFETCH(QString, sWant);
        CLogCOP cop = entry(iSubType, iParam3, iCompartment);
        cop.Param1 = iParam1;
        cop.Param2 = iParam2;
        cop.Param4 = iParam4;
        cop.Text2 = QStringLiteral("ABC");
        QCOMPARE(cop.getFTLStrings(0), QStringList{sWant});
    }

    // Every template of the COP table, each state value it lists and one it
    // does not (the prefix alone). The other state field holds 9, which no
    // template lists, so a template that reads the wrong field fails.
    void everyTemplate_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("6001 Param3 1") << 6001 << 9 << 1 << QStringLiteral("42,20210304050607,,6,12,0");
        QTest::newRow("6001 Param3 0") << 6001 << 9 << 0 << QStringLiteral("42,20210304050607,,6,11,0");
        QTest::newRow("6001 Param3 7: prefix alone") << 6001 << 9 << 7 << QStringLiteral("42,20210304050607,,6,");
        QTest::newRow("6002 Param3 1") << 6002 << 9 << 1 << QStringLiteral("42,20210304050607,3,1,12,0");
        QTest::newRow("6002 Param3 0") << 6002 << 9 << 0 << QStringLiteral("42,20210304050607,3,1,11,0");
        QTest::newRow("6002 Param3 7: prefix alone") << 6002 << 9 << 7 << QStringLiteral("42,20210304050607,3,1,");
        QTest::newRow("6003 Param3 1") << 6003 << 9 << 1 << QStringLiteral("42,20210304050607,3,11,12,0");
        QTest::newRow("6003 Param3 0") << 6003 << 9 << 0 << QStringLiteral("42,20210304050607,3,11,11,0");
        QTest::newRow("6003 Param3 7: prefix alone") << 6003 << 9 << 7 << QStringLiteral("42,20210304050607,3,11,");
        QTest::newRow("6004 Param3 1") << 6004 << 9 << 1 << QStringLiteral("42,20210304050607,3,39,1,0");
        QTest::newRow("6004 Param3 0") << 6004 << 9 << 0 << QStringLiteral("42,20210304050607,3,39,2,0");
        QTest::newRow("6004 Param3 7: prefix alone") << 6004 << 9 << 7 << QStringLiteral("42,20210304050607,3,39,");
        QTest::newRow("6005 fixed") << 6005 << 0 << 5 << QStringLiteral("42,20210304050607,3,39,12,0");
        QTest::newRow("6006 fixed") << 6006 << 0 << 5 << QStringLiteral("45,20210304050607,3,39,11,0");
        QTest::newRow("6007 fixed") << 6007 << 0 << 5 << QStringLiteral("45,20210304050607,3,,,,,,55,66,77,5,88");
        QTest::newRow("6010 Param3 0") << 6010 << 9 << 0 << QStringLiteral("42,20210304050607,,16,2,1");
        QTest::newRow("6010 Param3 1") << 6010 << 9 << 1 << QStringLiteral("42,20210304050607,,16,1,1");
        QTest::newRow("6010 Param3 2") << 6010 << 9 << 2 << QStringLiteral("42,20210304050607,,16,0,1");
        QTest::newRow("6010 Param3 7: prefix alone") << 6010 << 9 << 7 << QStringLiteral("42,20210304050607,,16,");
        QTest::newRow("6011 fixed") << 6011 << 0 << 5 << QStringLiteral("42,20210304050607,,20,0,1");
        QTest::newRow("6012 fixed") << 6012 << 0 << 5 << QStringLiteral("42,20210304050607,,20,2,1");
        QTest::newRow("6013 fixed") << 6013 << 0 << 5 << QStringLiteral("42,20210304050607,,20,1,1");
        QTest::newRow("6014 fixed") << 6014 << 0 << 5 << QStringLiteral("42,20210304050607,,38,12,1");
        QTest::newRow("6015 Param3 0") << 6015 << 9 << 0 << QStringLiteral("42,20210304050607,,17,2,2");
        QTest::newRow("6015 Param3 1") << 6015 << 9 << 1 << QStringLiteral("42,20210304050607,,17,1,2");
        QTest::newRow("6015 Param3 2") << 6015 << 9 << 2 << QStringLiteral("42,20210304050607,,17,0,2");
        QTest::newRow("6015 Param3 7: prefix alone") << 6015 << 9 << 7 << QStringLiteral("42,20210304050607,,17,");
        QTest::newRow("6016 fixed") << 6016 << 0 << 5 << QStringLiteral("42,20210304050607,,20,0,2");
        QTest::newRow("6017 fixed") << 6017 << 0 << 5 << QStringLiteral("42,20210304050607,,20,2,2");
        QTest::newRow("6018 fixed") << 6018 << 0 << 5 << QStringLiteral("42,20210304050607,,20,1,2");
        QTest::newRow("6019 fixed") << 6019 << 0 << 5 << QStringLiteral("42,20210304050607,,38,12,2");
        QTest::newRow("6020 Param3 0") << 6020 << 9 << 0 << QStringLiteral("42,20210304050607,,17,2,3");
        QTest::newRow("6020 Param3 1") << 6020 << 9 << 1 << QStringLiteral("42,20210304050607,,17,1,3");
        QTest::newRow("6020 Param3 2") << 6020 << 9 << 2 << QStringLiteral("42,20210304050607,,17,0,3");
        QTest::newRow("6020 Param3 7: prefix alone") << 6020 << 9 << 7 << QStringLiteral("42,20210304050607,,17,");
        QTest::newRow("6021 fixed") << 6021 << 0 << 5 << QStringLiteral("42,20210304050607,,20,0,3");
        QTest::newRow("6022 fixed") << 6022 << 0 << 5 << QStringLiteral("42,20210304050607,,20,2,3");
        QTest::newRow("6023 fixed") << 6023 << 0 << 5 << QStringLiteral("42,20210304050607,,20,1,3");
        QTest::newRow("6024 fixed") << 6024 << 0 << 5 << QStringLiteral("42,20210304050607,,38,12,3");
        QTest::newRow("6025 Param3 1") << 6025 << 9 << 1 << QStringLiteral("42,20210304050607,,32,1,1");
        QTest::newRow("6025 Param3 0") << 6025 << 9 << 0 << QStringLiteral("42,20210304050607,,32,2,1");
        QTest::newRow("6025 Param3 7: prefix alone") << 6025 << 9 << 7 << QStringLiteral("42,20210304050607,,32,");
        QTest::newRow("6026 Param3 1") << 6026 << 9 << 1 << QStringLiteral("42,20210304050607,,32,1,2");
        QTest::newRow("6026 Param3 0") << 6026 << 9 << 0 << QStringLiteral("42,20210304050607,,32,2,2");
        QTest::newRow("6026 Param3 7: prefix alone") << 6026 << 9 << 7 << QStringLiteral("42,20210304050607,,32,");
        QTest::newRow("6027 Param3 1") << 6027 << 9 << 1 << QStringLiteral("42,20210304050607,,32,1,3");
        QTest::newRow("6027 Param3 0") << 6027 << 9 << 0 << QStringLiteral("42,20210304050607,,32,2,3");
        QTest::newRow("6027 Param3 7: prefix alone") << 6027 << 9 << 7 << QStringLiteral("42,20210304050607,,32,");
        QTest::newRow("6028 Param3 1") << 6028 << 9 << 1 << QStringLiteral("42,20210304050607,,32,1,4");
        QTest::newRow("6028 Param3 0") << 6028 << 9 << 0 << QStringLiteral("42,20210304050607,,32,2,4");
        QTest::newRow("6028 Param3 7: prefix alone") << 6028 << 9 << 7 << QStringLiteral("42,20210304050607,,32,");
        QTest::newRow("6029 Param3 1") << 6029 << 9 << 1 << QStringLiteral("42,20210304050607,,33,1,0");
        QTest::newRow("6029 Param3 0") << 6029 << 9 << 0 << QStringLiteral("42,20210304050607,,33,2,0");
        QTest::newRow("6029 Param3 7: prefix alone") << 6029 << 9 << 7 << QStringLiteral("42,20210304050607,,33,");
        QTest::newRow("6032 Param3 1") << 6032 << 9 << 1 << QStringLiteral("42,20210304050607,3,13,1,1");
        QTest::newRow("6032 Param3 0") << 6032 << 9 << 0 << QStringLiteral("42,20210304050607,3,13,2,1");
        QTest::newRow("6032 Param3 7: prefix alone") << 6032 << 9 << 7 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6033 Param3 1") << 6033 << 9 << 1 << QStringLiteral("42,20210304050607,3,13,1,2");
        QTest::newRow("6033 Param3 0") << 6033 << 9 << 0 << QStringLiteral("42,20210304050607,3,13,2,2");
        QTest::newRow("6033 Param3 7: prefix alone") << 6033 << 9 << 7 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6034 Param3 1") << 6034 << 9 << 1 << QStringLiteral("42,20210304050607,3,13,1,3");
        QTest::newRow("6034 Param3 0") << 6034 << 9 << 0 << QStringLiteral("42,20210304050607,3,13,2,3");
        QTest::newRow("6034 Param3 7: prefix alone") << 6034 << 9 << 7 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6036 fixed") << 6036 << 0 << 5 << QStringLiteral("3,20210304050607,5");
        QTest::newRow("6037 fixed") << 6037 << 0 << 5 << QStringLiteral("3,20210304050607,5");
        QTest::newRow("6038 Param3 1") << 6038 << 9 << 1 << QStringLiteral("42,20210304050607,,27,1,0");
        QTest::newRow("6038 Param3 0") << 6038 << 9 << 0 << QStringLiteral("42,20210304050607,,27,2,0");
        QTest::newRow("6038 Param3 7: prefix alone") << 6038 << 9 << 7 << QStringLiteral("42,20210304050607,,27,");
        QTest::newRow("6039 empty text") << 6039 << 0 << 0 << QStringLiteral("");
        QTest::newRow("6040 fixed") << 6040 << 0 << 5 << QStringLiteral("40,20210304050607,3,T2x,3,0");
        QTest::newRow("6043 fixed") << 6043 << 0 << 5 << QStringLiteral("46,20210304050607,3,0,,,,,1,0");
        QTest::newRow("6044 fixed") << 6044 << 0 << 5 << QStringLiteral("40,20210304050607,3,T2x,0,0");
        QTest::newRow("6045 fixed") << 6045 << 0 << 5 << QStringLiteral("40,20210304050607,3,T2x,1,0");
        QTest::newRow("6047 fixed") << 6047 << 0 << 5 << QStringLiteral("41,20210304050607,3,44,1,8");
        QTest::newRow("6049 fixed") << 6049 << 0 << 5 << QStringLiteral("20,20210304050607,65");
        QTest::newRow("6050 fixed") << 6050 << 0 << 5 << QStringLiteral("20,20210304050607,67");
        QTest::newRow("6063 fixed") << 6063 << 0 << 5 << QStringLiteral("46,20210304050607,3,T1x");
        QTest::newRow("6073 Param3 1") << 6073 << 9 << 1 << QStringLiteral("42,20210304050607,3,18,12,0");
        QTest::newRow("6073 Param3 0") << 6073 << 9 << 0 << QStringLiteral("42,20210304050607,3,18,11,0");
        QTest::newRow("6073 Param3 7: prefix alone") << 6073 << 9 << 7 << QStringLiteral("42,20210304050607,3,18,");
        QTest::newRow("6074 Param3 1") << 6074 << 9 << 1 << QStringLiteral("42,20210304050607,,23,12,0");
        QTest::newRow("6074 Param3 0") << 6074 << 9 << 0 << QStringLiteral("42,20210304050607,,23,11,0");
        QTest::newRow("6074 Param3 7: prefix alone") << 6074 << 9 << 7 << QStringLiteral("42,20210304050607,,23,");
        QTest::newRow("6103 Param3 1") << 6103 << 9 << 1 << QStringLiteral("42,20210304050607,3,2,2,0");
        QTest::newRow("6103 Param3 0") << 6103 << 9 << 0 << QStringLiteral("42,20210304050607,3,2,1,0");
        QTest::newRow("6103 Param3 7: prefix alone") << 6103 << 9 << 7 << QStringLiteral("42,20210304050607,3,2,");
        QTest::newRow("6104 Param3 1") << 6104 << 9 << 1 << QStringLiteral("42,20210304050607,3,1,2,0");
        QTest::newRow("6104 Param3 0") << 6104 << 9 << 0 << QStringLiteral("42,20210304050607,3,1,1,0");
        QTest::newRow("6104 Param3 7: prefix alone") << 6104 << 9 << 7 << QStringLiteral("42,20210304050607,3,1,");
        QTest::newRow("6105 Param3 1") << 6105 << 9 << 1 << QStringLiteral("42,20210304050607,3,11,2,0");
        QTest::newRow("6105 Param3 0") << 6105 << 9 << 0 << QStringLiteral("42,20210304050607,3,11,1,0");
        QTest::newRow("6105 Param3 7: prefix alone") << 6105 << 9 << 7 << QStringLiteral("42,20210304050607,3");
        QTest::newRow("6106 Param3 1") << 6106 << 9 << 1 << QStringLiteral("42,20210304050607,3,3,2,0");
        QTest::newRow("6106 Param3 0") << 6106 << 9 << 0 << QStringLiteral("42,20210304050607,3,3,1,0");
        QTest::newRow("6106 Param3 7: prefix alone") << 6106 << 9 << 7 << QStringLiteral("42,20210304050607,3");
        QTest::newRow("6107 Param3 1") << 6107 << 9 << 1 << QStringLiteral("42,20210304050607,,7,2,1");
        QTest::newRow("6107 Param3 0") << 6107 << 9 << 0 << QStringLiteral("42,20210304050607,,7,1,1");
        QTest::newRow("6107 Param3 7: prefix alone") << 6107 << 9 << 7 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6108 Param3 1") << 6108 << 9 << 1 << QStringLiteral("42,20210304050607,,7,2,2");
        QTest::newRow("6108 Param3 0") << 6108 << 9 << 0 << QStringLiteral("42,20210304050607,,7,1,2");
        QTest::newRow("6108 Param3 7: prefix alone") << 6108 << 9 << 7 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6109 Param3 1") << 6109 << 9 << 1 << QStringLiteral("42,20210304050607,3,29,2,0");
        QTest::newRow("6109 Param3 0") << 6109 << 9 << 0 << QStringLiteral("42,20210304050607,3,29,1,0");
        QTest::newRow("6109 Param3 7: prefix alone") << 6109 << 9 << 7 << QStringLiteral("42,20210304050607,3,29,");
        QTest::newRow("6110 Param3 1") << 6110 << 9 << 1 << QStringLiteral("42,20210304050607,,25,12,0");
        QTest::newRow("6110 Param3 0") << 6110 << 9 << 0 << QStringLiteral("42,20210304050607,,25,11,0");
        QTest::newRow("6110 Param3 7: prefix alone") << 6110 << 9 << 7 << QStringLiteral("42,20210304050607,,25,");
        QTest::newRow("6118 fixed") << 6118 << 0 << 5 << QStringLiteral("42,20210304050607,3,39,12,0");
        QTest::newRow("6128 fixed") << 6128 << 0 << 5 << QStringLiteral("41,20210304050607,3,T2x,1,8");
        QTest::newRow("6130 Param3 1") << 6130 << 9 << 1 << QStringLiteral("42,20210304050607,,7,12,0");
        QTest::newRow("6130 Param3 0") << 6130 << 9 << 0 << QStringLiteral("42,20210304050607,,7,11,0");
        QTest::newRow("6130 Param3 7: prefix alone") << 6130 << 9 << 7 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6133 Param3 1") << 6133 << 9 << 1 << QStringLiteral("42,20210304050607,1,18,2,0");
        QTest::newRow("6133 Param3 0") << 6133 << 9 << 0 << QStringLiteral("42,20210304050607,1,18,1,0");
        QTest::newRow("6133 Param3 7: prefix alone") << 6133 << 9 << 7 << QStringLiteral("42,20210304050607,1,18,");
        QTest::newRow("6134 Param3 1") << 6134 << 9 << 1 << QStringLiteral("42,20210304050607,2,18,2,0");
        QTest::newRow("6134 Param3 0") << 6134 << 9 << 0 << QStringLiteral("42,20210304050607,2,18,1,0");
        QTest::newRow("6134 Param3 7: prefix alone") << 6134 << 9 << 7 << QStringLiteral("42,20210304050607,2,18,");
        QTest::newRow("6144 fixed") << 6144 << 0 << 5 << QStringLiteral("42,20210304050607,,7,7,0");
        QTest::newRow("6145 Param3 1") << 6145 << 9 << 1 << QStringLiteral("42,20210304050607,,7,2,0");
        QTest::newRow("6145 Param3 0") << 6145 << 9 << 0 << QStringLiteral("42,20210304050607,,7,1,0");
        QTest::newRow("6145 Param3 7: prefix alone") << 6145 << 9 << 7 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6146 Param2 3") << 6146 << 3 << 9 << QStringLiteral("42,20210304050607,,7,5,0");
        QTest::newRow("6146 Param2 2") << 6146 << 2 << 9 << QStringLiteral("42,20210304050607,,7,6,0");
        QTest::newRow("6146 Param2 7: prefix alone") << 6146 << 7 << 9 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6150 Param2 3") << 6150 << 3 << 9 << QStringLiteral("42,20210304050607,3,2,5,0");
        QTest::newRow("6150 Param2 2") << 6150 << 2 << 9 << QStringLiteral("42,20210304050607,3,2,6,0");
        QTest::newRow("6150 Param2 7: prefix alone") << 6150 << 7 << 9 << QStringLiteral("42,20210304050607,3,2,");
        QTest::newRow("6151 Param3 3") << 6151 << 9 << 3 << QStringLiteral("42,20210304050607,3,1,5,0");
        QTest::newRow("6151 Param3 2") << 6151 << 9 << 2 << QStringLiteral("42,20210304050607,3,1,6,0");
        QTest::newRow("6151 Param3 7: prefix alone") << 6151 << 9 << 7 << QStringLiteral("42,20210304050607,3,1,");
        QTest::newRow("6152 Param2 3") << 6152 << 3 << 9 << QStringLiteral("42,20210304050607,3,1,5,0");
        QTest::newRow("6152 Param2 2") << 6152 << 2 << 9 << QStringLiteral("42,20210304050607,3,1,6,0");
        QTest::newRow("6152 Param2 7: prefix alone") << 6152 << 7 << 9 << QStringLiteral("42,20210304050607,3,1,");
        QTest::newRow("6153 Param2 3") << 6153 << 3 << 9 << QStringLiteral("42,20210304050607,3,11,5,0");
        QTest::newRow("6153 Param2 2") << 6153 << 2 << 9 << QStringLiteral("42,20210304050607,3,11,6,0");
        QTest::newRow("6153 Param2 7: prefix alone") << 6153 << 7 << 9 << QStringLiteral("42,20210304050607,3");
        QTest::newRow("6154 Param2 3") << 6154 << 3 << 9 << QStringLiteral("42,20210304050607,3,3,5,0");
        QTest::newRow("6154 Param2 2") << 6154 << 2 << 9 << QStringLiteral("42,20210304050607,3,3,6,0");
        QTest::newRow("6154 Param2 7: prefix alone") << 6154 << 7 << 9 << QStringLiteral("42,20210304050607,3");
        QTest::newRow("6155 Param2 3") << 6155 << 3 << 9 << QStringLiteral("42,20210304050607,,7,5,1");
        QTest::newRow("6155 Param2 2") << 6155 << 2 << 9 << QStringLiteral("42,20210304050607,,7,6,1");
        QTest::newRow("6155 Param2 7: prefix alone") << 6155 << 7 << 9 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6156 Param2 3") << 6156 << 3 << 9 << QStringLiteral("42,20210304050607,,7,5,2");
        QTest::newRow("6156 Param2 2") << 6156 << 2 << 9 << QStringLiteral("42,20210304050607,,7,6,2");
        QTest::newRow("6156 Param2 7: prefix alone") << 6156 << 7 << 9 << QStringLiteral("42,20210304050607,,7,");
        QTest::newRow("6157 Param2 3") << 6157 << 3 << 9 << QStringLiteral("42,20210304050607,,25,5,0");
        QTest::newRow("6157 Param2 2") << 6157 << 2 << 9 << QStringLiteral("42,20210304050607,,25,6,0");
        QTest::newRow("6157 Param2 7: prefix alone") << 6157 << 7 << 9 << QStringLiteral("42,20210304050607,,25,");
        QTest::newRow("6159 Param2 3") << 6159 << 3 << 9 << QStringLiteral("42,20210304050607,3,13,5,1");
        QTest::newRow("6159 Param2 2") << 6159 << 2 << 9 << QStringLiteral("42,20210304050607,3,13,6,1");
        QTest::newRow("6159 Param2 7: prefix alone") << 6159 << 7 << 9 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6160 Param2 3") << 6160 << 3 << 9 << QStringLiteral("42,20210304050607,3,13,5,2");
        QTest::newRow("6160 Param2 2") << 6160 << 2 << 9 << QStringLiteral("42,20210304050607,3,13,6,2");
        QTest::newRow("6160 Param2 7: prefix alone") << 6160 << 7 << 9 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6161 Param2 3") << 6161 << 3 << 9 << QStringLiteral("42,20210304050607,3,13,5,3");
        QTest::newRow("6161 Param2 2") << 6161 << 2 << 9 << QStringLiteral("42,20210304050607,3,13,6,3");
        QTest::newRow("6161 Param2 7: prefix alone") << 6161 << 7 << 9 << QStringLiteral("42,20210304050607,3,13,");
        QTest::newRow("6186 Param3 1") << 6186 << 9 << 1 << QStringLiteral("42,20210304050607,3,18,2,0");
        QTest::newRow("6186 Param3 0") << 6186 << 9 << 0 << QStringLiteral("42,20210304050607,3,18,1,0");
        QTest::newRow("6186 Param3 7: prefix alone") << 6186 << 9 << 7 << QStringLiteral("42,20210304050607,3,18,");
        QTest::newRow("6187 Param2 3") << 6187 << 3 << 9 << QStringLiteral("42,20210304050607,3,18,5,0");
        QTest::newRow("6187 Param2 2") << 6187 << 2 << 9 << QStringLiteral("42,20210304050607,3,18,6,0");
        QTest::newRow("6187 Param2 7: prefix alone") << 6187 << 7 << 9 << QStringLiteral("42,20210304050607,3,18,");
        QTest::newRow("6189 Param3 1") << 6189 << 9 << 1 << QStringLiteral("42,20210304050607,,18,2,0");
        QTest::newRow("6189 Param3 0") << 6189 << 9 << 0 << QStringLiteral("42,20210304050607,,18,1,0");
        QTest::newRow("6189 Param3 7: prefix alone") << 6189 << 9 << 7 << QStringLiteral("42,20210304050607,,18,");
        QTest::newRow("6190 Param2 3") << 6190 << 3 << 9 << QStringLiteral("42,20210304050607,,18,5,0");
        QTest::newRow("6190 Param2 2") << 6190 << 2 << 9 << QStringLiteral("42,20210304050607,,18,6,0");
        QTest::newRow("6190 Param2 7: prefix alone") << 6190 << 7 << 9 << QStringLiteral("42,20210304050607,,18,");
    }
    void everyTemplate()
    {
        QFETCH(int, iSubType);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(QString, sWant);
        CLogCOP cop = entry(iSubType, iParam3, 2);
        cop.Param2 = iParam2;
        cop.Param4 = 44;
        cop.Text1 = QStringLiteral("T1x");
        cop.Text2 = QStringLiteral("T2x");
        cop.Param5 = 55;
        cop.Param6 = 66;
        cop.Param7 = 77;
        cop.Param8 = 88;
        QCOMPARE(cop.getFTLStrings(0), QStringList{sWant});
    }

    void unknownSubtypes_data()
    {
        QTest::addColumn<int>("iSubType");
        for (int iCode : {-1, 0, 2000, 5999, 6000, 6008, 6009, 6030, 6031, 6035, 6041, 6042, 6046, 6048, 6111,
                          6112, 6191, 6203, 6218, 13003})
            QTest::addRow("%d", iCode) << iCode;
    }
    void unknownSubtypes()
    {
        QFETCH(int, iSubType);
        QCOMPARE(entry(iSubType, 1, 2).getFTLStrings(0), QStringList{QStringLiteral("Undefined")});
    }

    void offsets_data()
    {
        QTest::addColumn<QDateTime>("dtStamp");
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("zero") << QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC) << 0
                              << "42,20210304050607,3,1,12,0";
        QTest::newRow("forward over new year") << QDateTime(QDate(2021, 12, 31), QTime(23, 59, 30), Qt::UTC)
                                               << 3600 << "42,20220101005930,3,1,12,0";
        QTest::newRow("back over midnight") << QDateTime(QDate(2021, 3, 1), QTime(0, 30), Qt::UTC) << -3600
                                            << "42,20210228233000,3,1,12,0";
        QTest::newRow("back over a leap day") << QDateTime(QDate(2024, 3, 1), QTime(1, 0), Qt::UTC) << -7200
                                              << "42,20240229230000,3,1,12,0";
        QTest::newRow("odd seconds") << QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC) << 53
                                     << "42,20210304050700,3,1,12,0";
    }
    void offsets()
    {
        QFETCH(QDateTime, dtStamp);
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        CLogCOP cop = entry(6002, 1, 2);
        cop.DateTime = dtStamp;
        QCOMPARE(cop.getFTLStrings(iOffset), QStringList{sWant});
    }

    void texts_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QString>("sText");
        QTest::addColumn<QString>("sWant");
        const QString t = QStringLiteral("20210304050607");
        const QString sUmlauts = QString::fromUtf8("Kammer \xc3\x84\xc3\x96\xc3\x9c \xc3\x9f");
        QTest::newRow("6040 empty compartment text") << 6040 << QString() << "40," + t + ",3,,3,0";
        QTest::newRow("6044 non-ASCII compartment text") << 6044 << sUmlauts << "40," + t + ",3," + sUmlauts + ",0,0";
        QTest::newRow("6128 text with commas") << 6128 << "a,b" << "41," + t + ",3,a,b,1,8";
        QTest::newRow("6063 empty product") << 6063 << QString() << "46," + t + ",3,";
        QTest::newRow("6063 non-ASCII product") << 6063 << sUmlauts << "46," + t + ",3," + sUmlauts;
    }
    void texts()
    {
        QFETCH(int, iSubType);
        QFETCH(QString, sText);
        QFETCH(QString, sWant);
        CLogCOP cop = entry(iSubType, 0, 2);
        (iSubType == 6063 ? cop.Text1 : cop.Text2) = sText;
        QCOMPARE(cop.getFTLStrings(0), QStringList{sWant});
    }

    void scannerValues()
    {
        CLogCOP cop = entry(6007, 5, 1);
        cop.Param5 = 10;
        cop.Param6 = 20;
        cop.Param7 = 30;
        cop.Param8 = 40;
        QCOMPARE(cop.getFTLStrings(0), QStringList{QStringLiteral("45,20210304050607,2,,,,,,10,20,30,5,40")});
    }

    void textsWrittenAsStored()
    {
        CLogCOP cop = entry(6063, 0, 0);
        cop.Text1 = QStringLiteral("Diesel, {P3}");
        QCOMPARE(cop.getFTLStrings(0), QStringList{QStringLiteral("46,20210304050607,1,Diesel, {P3}")});
    }

    void everyTemplateIsFound()
    {
        // Lookup is a binary search: every code between 6001 and 6190 that has a
        // template must be reachable, the others must not.
        int iFound = 0;
        for (int iCode = 5990; iCode <= 6200; ++iCode) {
            const CFtlTemplate *pTemplate = copTemplate(iCode);
            if (pTemplate) {
                QCOMPARE(pTemplate->iCode, iCode);
                ++iFound;
            }
        }
        QCOMPARE(iFound, 74); // 78 subtypes less the four computed ones
    }

    void spdLines_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iParam2");
        QTest::addColumn<int>("iParam3");
        QTest::addColumn<int>("iParam4");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sWant");
        const QString te = QStringLiteral("20240515101112");
        const QString tp = QStringLiteral("20230102030405");
        QTest::newRow("6208 period uses its own time") << 6208 << 0 << 2 << 0 << 0 << "42," + tp + ",1,11,6,0";
        QTest::newRow("6203 unknown state: prefix alone") << 6203 << 0 << 4 << 0 << -1 << "42," + tp;
        QTest::newRow("6218 four states") << 6218 << 0 << 3 << 0 << -1 << "42," + tp + ",,18,5,0";
        QTest::newRow("6112 Param4 0") << 6112 << 7 << 0 << 0 << 1 << "40," + te + ",2,T2,7,6";
        QTest::newRow("6112 Param4 other") << 6112 << 7 << 0 << 9 << 1 << "40," + te + ",2,T2,7,3";
        QTest::newRow("6171 like 6112") << 6171 << 7 << 0 << 9 << 1 << "40," + te + ",2,T2,7,3";
        QTest::newRow("6040 prints Text1") << 6040 << 0 << 0 << 0 << 0 << "40," + te + ",1,T1,3";
        QTest::newRow("6044 ends with Param4") << 6044 << 0 << 0 << 12 << 0 << "40," + te + ",1,T2,0,12";
        QTest::newRow("6150 state from Param3") << 6150 << 2 << 3 << 0 << 0 << "42," + te + ",1,2,5,0";
        QTest::newRow("6001 as COP") << 6001 << 0 << 1 << 0 << -1 << "42," + te + ",,6,12,0";
        QTest::newRow("6032 as COP") << 6032 << 0 << 1 << 0 << 0 << "42," + te + ",1,13,1,1";
        QTest::newRow("6041 writes nothing") << 6041 << 0 << 1 << 0 << 0 << "";
        QTest::newRow("6189 no compartment") << 6189 << 0 << 0 << 0 << 4 << "42," + te + ",,18,1,0";
        QTest::newRow("6002 is COP only") << 6002 << 0 << 0 << 0 << 0 << "Undefined";
        QTest::newRow("6219") << 6219 << 0 << 0 << 0 << 0 << "Undefined";
    }
    void spdLines()
    {
        QFETCH(int, iSubType);
        QFETCH(int, iParam2);
        QFETCH(int, iParam3);
        QFETCH(int, iParam4);
        QFETCH(int, iCompartment);
        QFETCH(QString, sWant);
        CLogSPD spd;
        spd.LogSubType = iSubType;
        spd.Param2 = iParam2;
        spd.Param3 = iParam3;
        spd.Param4 = iParam4;
        spd.Compartment = iCompartment;
        spd.Text1 = QStringLiteral("T1");
        spd.Text2 = QStringLiteral("T2");
        spd.DateTime = QDateTime(QDate(2024, 5, 15), QTime(10, 11, 12), Qt::UTC);
        spd.EventTime = QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5), Qt::UTC);
        QCOMPARE(spd.getFTLStrings(0), QStringList{sWant});
        QCOMPARE(IsSpdPeriodSubtype(iSubType), sWant.startsWith(QStringLiteral("42,20230102030405")));
    }

    void spdFlagAndMarkers()
    {
        CLogSPD spd;
        spd.LogSubType = 6132;
        spd.Param1 = 4;
        spd.Compartment = 2;
        spd.Text2 = QStringLiteral("ABC");
        spd.DateTime = QDateTime(QDate(2023, 1, 2), QTime(3, 4, 5), Qt::UTC);
        QCOMPARE(spd.getFTLStrings(0), QStringList{QStringLiteral("41,20230102030405,3,ABC,0,8")});
        QCOMPARE(spd.getFTLMarkerStrings(1, 0), QStringList{QStringLiteral("20,20230102030405,63")});
        QCOMPARE(spd.getFTLMarkerStrings(0, 0), QStringList{QStringLiteral("20,20230102030405,64")});
        spd.EventTime = QDateTime(QDate(2023, 1, 1), QTime(0, 0), Qt::UTC);
        const CLogSPD copy(spd.toRow());
        QCOMPARE(copy.EventTime, spd.EventTime);
        QCOMPARE(copy.toRow().toHex(), spd.toRow().toHex());
    }

    void everySpdTemplateIsFound()
    {
        int iFound = 0;
        for (int iCode = 5990; iCode <= 6230; ++iCode)
            if (const CFtlTemplate *pTemplate = spdTemplate(iCode)) {
                QCOMPARE(pTemplate->iCode, iCode);
                ++iFound;
            }
        QCOMPARE(iFound, 57); // 61 subtypes less the four computed ones
    }

    void rowRoundTrip()
    {
        CLogCOP cop = entry(6040, 1, 2);
        cop.Param8 = -8;
        cop.Text1 = QStringLiteral("t1");
        const CLogCOP copy(cop.toRow());
        QCOMPARE(copy.Param8, -8);
        QCOMPARE(copy.Text1, QStringLiteral("t1"));
        QCOMPARE(copy.toRow().toHex(), cop.toRow().toHex());
    }
};

QTEST_GUILESS_MAIN(TestLogCop)
#include "tst_logcop.moc"
