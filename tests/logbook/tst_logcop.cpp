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
