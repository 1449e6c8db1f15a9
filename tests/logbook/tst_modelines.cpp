#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogsmp.h"

#include <QTest>

class TestModeLines : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<int>("iMainMode");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QString>("sWant");
        const QString t = QStringLiteral("20200101000000");
        QTest::newRow("loading") << 3 << 13003 << "20," + t + ",65";
        QTest::newRow("discharge") << 4 << 13004 << "20," + t + ",67";
        QTest::newRow("comp. empty test") << 11 << 13011 << "20," + t + ",22";
        QTest::newRow("loading end") << 12 << 13012 << "20," + t + ",66";
        QTest::newRow("discharge end") << 13 << 13013 << "20," + t + ",68";
        QTest::newRow("status") << 5 << 13005 << "92," + t + ",200,5";
        QTest::newRow("wait sync") << 10 << 13010 << "92," + t + ",200,10";
        QTest::newRow("man. loading plan") << 14 << 13014 << "92," + t + ",200,14";
        QTest::newRow("inclination tour") << 20 << 13020 << "92," + t + ",200,20";
        QTest::newRow("21 undefined") << 21 << 13021 << "Undefined";
        QTest::newRow("undefined mode") << 0 << 13000 << "Undefined";
        QTest::newRow("2 undefined") << 2 << 13002 << "Undefined";
        QTest::newRow("negative") << -1 << 13000 << "Undefined";
        QTest::newRow("subtype is ignored") << 3 << 13004 << "20," + t + ",65";
    }
    void lines()
    {
        QFETCH(int, iMainMode);
        QFETCH(int, iSubType);
        QFETCH(QString, sWant);
        CLogOPMM entry;
        entry.MainMode = iMainMode;
        entry.LogSubType = iSubType;
        entry.DateTime = QDateTime(QDate(2019, 12, 31), QTime(23, 0), Qt::UTC);
        QCOMPARE(entry.getFTLStrings(3600), QStringList{sWant});
    }

    void readsRowByHand()
    {
        // Header, payload version 255 (still read), empty reserve, MainMode 4.
        const QByteArray baRow = QByteArray::fromHex("00000100" "00000013" "000032cc"
                                                     "0000000000000001" "0000000000000000"
                                                     "00258ec3" "00000000" "02"
                                                     "ffffffff" "00000000"
                                                     "000000ff" "00000000" "00000004");
        const CLogOPMM entry(baRow);
        QCOMPARE(entry.LogType, 19);
        QCOMPARE(entry.LogSubType, 13004);
        QCOMPARE(entry.iPayloadVersion, 255);
        QCOMPARE(entry.MainMode, 4);
        QCOMPARE(entry.getFTLStrings(0), QStringList{QStringLiteral("20,20261204000000,67")});
        QCOMPARE(entry.toRow().toHex(), baRow.toHex());

        CLogOPMM copy(entry.toRow());
        QCOMPARE(copy.payloadBytes().toHex(), QByteArray("00000004"));
    }

    void smpLines_data()
    {
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("14006") << 14006 << "20,20200229120000,16";
        QTest::newRow("14007") << 14007 << "20,20200229120000,49";
        QTest::newRow("14008") << 14008 << "Undefined";
        QTest::newRow("no subtype") << -1 << "Undefined";
    }
    void smpLines()
    {
        QFETCH(int, iSubType);
        QFETCH(QString, sWant);
        CLogSMP entry;
        entry.LogSubType = iSubType;
        entry.Text1 = QStringLiteral("ignored");
        entry.DateTime = QDateTime(QDate(2020, 2, 29), QTime(12, 0), Qt::UTC);
        QCOMPARE(entry.getFTLStrings(0), QStringList{sWant});
        // The row keeps every payload field.
        const CLogSMP copy(entry.toRow());
        QCOMPARE(copy.Text1, entry.Text1);
        QCOMPARE(copy.toRow().toHex(), entry.toRow().toHex());
    }

    void compartmentSteps_data()
    {
        QTest::addColumn<bool>("bLoading");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QStringList>("asWant");
        QTest::newRow("loading start, third compartment") << true << 2000 << 2 << QStringList{"12,20220701120000,3"};
        QTest::newRow("loading 2001") << true << 2001 << 0 << QStringList{"12,20220701120000,1"};
        QTest::newRow("loading 2002 gives nothing") << true << 2002 << 2 << QStringList{};
        QTest::newRow("discharge without compartment") << false << 3001 << -1 << QStringList{"12,20220701120000,0"};
        QTest::newRow("discharge 3000") << false << 3000 << 4 << QStringList{"12,20220701120000,5"};
        QTest::newRow("discharge with a loading subtype") << false << 2000 << 2 << QStringList{};
        QTest::newRow("loading with a discharge subtype") << true << 3000 << 2 << QStringList{};
    }
    void compartmentSteps()
    {
        QFETCH(bool, bLoading);
        QFETCH(int, iSubType);
        QFETCH(int, iCompartment);
        QFETCH(QStringList, asWant);
        CLogLoading loading;
        CLogDischarge discharge;
        CLogBase &entry = bLoading ? static_cast<CLogBase &>(loading) : discharge;
        entry.LogSubType = iSubType;
        entry.Compartment = iCompartment;
        entry.DateTime = QDateTime(QDate(2022, 7, 1), QTime(10, 0), Qt::UTC);
        QCOMPARE(bLoading ? loading.getFTLStrings(7200) : discharge.getFTLStrings(7200), asWant);
    }

    void dischargeRowKeepsValues()
    {
        CLogDischarge entry;
        entry.Value1 = 1.25;
        entry.Value3 = -7.5;
        entry.Text1 = QStringLiteral("D1");
        const CLogDischarge copy(entry.toRow());
        QCOMPARE(copy.LogType, 4);
        QCOMPARE(copy.Value1, 1.25);
        QCOMPARE(copy.Value3, -7.5);
        QCOMPARE(copy.Text1, QStringLiteral("D1"));
        QCOMPARE(CLogLoading(CLogLoading().toRow()).LogType, 8);
    }

    void fpmHasNoLine()
    {
        CLogFPM entry;
        entry.Text1 = QStringLiteral("pump");
        entry.Param1 = 3;
        entry.Value1 = 12.5;
        QCOMPARE(entry.getFTLStrings(0), QStringList{QStringLiteral("Undefined")});
        QCOMPARE(entry.LogType, 23);
        // All six fields survive a row round trip.
        CLogFPM copy(entry.toRow());
        QCOMPARE(copy.toRow().toHex(), entry.toRow().toHex());
        QCOMPARE(copy.Text1, QStringLiteral("pump"));
        QCOMPARE(copy.Value1, 12.5);
    }
};

QTEST_GUILESS_MAIN(TestModeLines)
#include "tst_modelines.moc"
