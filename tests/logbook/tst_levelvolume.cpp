#include "logbook/cloglevelvolume.h"

#include <QTest>

namespace {
// The compartment measurement of the reference delivery: stored at
// 2024-01-05 09:30:00, entry 7, mode 2, meter 3, fifth compartment, unit 2,
// 12.345 units, compensated 12.000 at 15.0 degrees, measured at 09:35:12,
// order value 1.000, Diesel, 0.850 mass, order 42, flow 2.5, approved.
const char *const g_pszReference =
    "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
// The same measurement taken at a metering position (100, 101 or 102).
const char *const g_pszMetering =
    "11,20240105093000,7,0,3,MP7,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,C-99,0,,1";

CLogLevelVolume reference(qint32 iCompartment)
{
    CLogLevelVolume entry;
    entry.DateTime = QDateTime(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    entry.Compartment = iCompartment;
    CRunProcessWM &process = entry.ProcessWM;
    process.setField(1, qint32(2));
    process.setField(2, qint32(12345));
    process.setField(3, qint32(12000));
    process.setField(4, qint32(850));
    process.setField(5, qint32(15000));
    process.setField(6, 2.5);
    process.setField(8, QDateTime(QDate(2024, 1, 5), QTime(9, 35, 12), Qt::UTC));
    process.setField(15, true);
    process.setField(16, qint32(7));
    process.setField(23, QStringLiteral("MP7"));
    process.setField(24, qint32(2));
    process.setField(30, qint32(2500));
    entry.ProductWM.setField(1, qint32(3));
    entry.ProductWM.setField(4, true);
    entry.Order.setField(7, qint32(42));
    entry.Order.setField(13, qint32(1000));
    entry.Order.setField(19, QStringLiteral("C-99"));
    entry.Product.setField(1, QStringLiteral("Diesel"));
    return entry;
}

QStringList lineOrNone(const char *pszLine)
{
    return pszLine ? QStringList{QString::fromUtf8(pszLine)} : QStringList{};
}
} // namespace

class TestLevelVolume : public QObject
{
    Q_OBJECT

private slots:
    void referenceLine()
    {
        const QStringList asLines = reference(4).getFTLStrings(0, 0);
        QCOMPARE(asLines, lineOrNone(g_pszReference));
        QCOMPARE(asLines.first().split(QLatin1Char(',')).size(), 28);
        QCOMPARE(reference(101).getFTLStrings(3, 0).first().split(QLatin1Char(',')).size(), 28);
    }

    // Which output takes the entry of which compartment.
    void selectors_data()
    {
        QTest::addColumn<int>("iSelector");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QStringList>("asWant");
        const QStringList asNone;
        const QStringList asMetering = lineOrNone(g_pszMetering);
        QTest::newRow("4 selector 0") << 0 << 4 << lineOrNone(g_pszReference);
        QTest::newRow("4 selector 1") << 1 << 4 << lineOrNone(g_pszReference);
        QTest::newRow("4 selector 2") << 2 << 4 << asNone;
        QTest::newRow("4 selector 3") << 3 << 4 << asNone;
        QTest::newRow("4 selector 4") << 4 << 4 << asNone;
        QTest::newRow("4 selector 5") << 5 << 4 << asNone;
        QTest::newRow("4 selector -1") << -1 << 4 << asNone;
        const QStringList as99 =
            lineOrNone("11,20240105093000,7,1,3,,0,12.35,12.00,15.0,100,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1");
        QTest::newRow("99 selector 0") << 0 << 99 << as99;
        QTest::newRow("99 selector 1") << 1 << 99 << as99;
        QTest::newRow("99 selector 2") << 2 << 99 << asNone;
        QTest::newRow("first compartment")
            << 1 << 0
            << lineOrNone("11,20240105093000,7,1,3,,0,12.35,12.00,15.0,1,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1");
        QTest::newRow("no compartment")
            << 1 << -1
            << lineOrNone("11,20240105093000,7,1,3,,0,12.35,12.00,15.0,0,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1");
        QTest::newRow("100 selector 0") << 0 << 100 << asMetering;
        QTest::newRow("100 selector 1") << 1 << 100 << asNone;
        QTest::newRow("100 selector 2") << 2 << 100 << asMetering;
        QTest::newRow("100 selector 3") << 3 << 100 << asNone;
        QTest::newRow("101 selector 2") << 2 << 101 << asNone;
        QTest::newRow("101 selector 3") << 3 << 101 << asMetering;
        QTest::newRow("101 selector 4") << 4 << 101 << asNone;
        QTest::newRow("102 selector 0") << 0 << 102 << asMetering;
        QTest::newRow("102 selector 3") << 3 << 102 << asNone;
        QTest::newRow("102 selector 4") << 4 << 102 << asMetering;
        QTest::newRow("102 selector 5") << 5 << 102 << asNone;
        QTest::newRow("150 selector 0") << 0 << 150 << asMetering;
        QTest::newRow("150 selector 1") << 1 << 150 << asNone;
        QTest::newRow("150 selector 4") << 4 << 150 << asNone;
    }
    void selectors()
    {
        QFETCH(int, iSelector);
        QFETCH(int, iCompartment);
        QFETCH(QStringList, asWant);
        QCOMPARE(reference(iCompartment).getFTLStrings(iSelector, 0), asWant);
    }

    // The unit column and the volume scaling.
    void units_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<int>("iUnit");
        QTest::addColumn<int>("iVolume");
        QTest::addColumn<QString>("sWant");
        const QString sTail = QStringLiteral(",12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1");
        const QString sHead = QStringLiteral("11,20240105093000,7,1,3,,");
        QTest::newRow("2") << 4 << 2 << 12345 << sHead + "0,12.35" + sTail;
        QTest::newRow("3") << 4 << 3 << 12345 << sHead + "3,12.35" + sTail;
        QTest::newRow("6") << 4 << 6 << 12345 << sHead + "1,12.35" + sTail;
        QTest::newRow("8") << 4 << 8 << 12345 << sHead + "1,12.35" + sTail;
        QTest::newRow("10") << 4 << 10 << 12345 << sHead + "1,12.35" + sTail;
        QTest::newRow("13") << 4 << 13 << 12345 << sHead + "2,12.35" + sTail;
        QTest::newRow("24 counts pieces") << 4 << 24 << 12 << sHead + "6,12.00" + sTail;
        QTest::newRow("24 large count") << 4 << 24 << 12345 << sHead + "6,12345.00" + sTail;
        QTest::newRow("1 has no column") << 4 << 1 << 12345 << sHead + ",12.35" + sTail;
        QTest::newRow("0 has no column") << 4 << 0 << 12345 << sHead + ",12.35" + sTail;
        QTest::newRow("7 has no column") << 4 << 7 << 12345 << sHead + ",12.35" + sTail;
        QTest::newRow("metering position, 24")
            << 101 << 24 << 12
            << "11,20240105093000,7,0,3,MP7,6,12.00,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,C-99,0,,1";
    }
    void units()
    {
        QFETCH(int, iCompartment);
        QFETCH(int, iUnit);
        QFETCH(int, iVolume);
        QFETCH(QString, sWant);
        CLogLevelVolume entry = reference(iCompartment);
        entry.ProcessWM.setField(24, qint32(iUnit));
        entry.ProcessWM.setField(2, qint32(iVolume));
        QCOMPARE(entry.getFTLStrings(0, 0), QStringList{sWant});
    }

    // Kind, compensation, order number and approval.
    void columns_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<int>("iMode");
        QTest::addColumn<bool>("bCompensated");
        QTest::addColumn<int>("iOrderNumber");
        QTest::addColumn<bool>("bApproved");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("mode 1")
            << 4 << 1 << true << 42 << true
            << "11,20240105093000,7,0,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("mode 3 leaves the kind empty")
            << 4 << 3 << true << 42 << true
            << "11,20240105093000,7,,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("mode 0 leaves the kind empty")
            << 4 << 0 << true << 42 << true
            << "11,20240105093000,7,,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("metering position, mode 3 is kind 0")
            << 100 << 3 << true << 42 << true
            << "11,20240105093000,7,0,3,MP7,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,C-99,0,,1";
        QTest::newRow("compensation off")
            << 4 << 2 << false << 42 << true
            << "11,20240105093000,7,1,3,,0,12.35,,,5,,,,,,,093512,1.00,,,Diesel,,,42,3,,1";
        QTest::newRow("metering position, compensation off")
            << 102 << 2 << false << 42 << true
            << "11,20240105093000,7,0,3,MP7,0,12.35,,,,,,,,,,093512,2.50,,,Diesel,,,C-99,0,,1";
        QTest::newRow("order number 0")
            << 4 << 2 << true << 0 << true
            << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,,3,,1";
        QTest::newRow("order number negative")
            << 4 << 2 << true << -5 << true
            << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,,3,,1";
        QTest::newRow("order number 1")
            << 4 << 2 << true << 1 << true
            << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,1,3,,1";
        QTest::newRow("metering position shows the customer, not the order")
            << 101 << 2 << true << 0 << true
            << "11,20240105093000,7,0,3,MP7,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,C-99,0,,1";
        QTest::newRow("not approved")
            << 4 << 2 << true << 42 << false
            << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,0";
    }
    void columns()
    {
        QFETCH(int, iCompartment);
        QFETCH(int, iMode);
        QFETCH(bool, bCompensated);
        QFETCH(int, iOrderNumber);
        QFETCH(bool, bApproved);
        QFETCH(QString, sWant);
        CLogLevelVolume entry = reference(iCompartment);
        entry.ProcessWM.setField(1, qint32(iMode));
        entry.ProcessWM.setField(15, bApproved);
        entry.ProductWM.setField(4, bCompensated);
        entry.Order.setField(7, qint32(iOrderNumber));
        QCOMPARE(entry.getFTLStrings(0, 0), QStringList{sWant});
    }

    // Compartment flows are whole units already; metering positions count
    // thousandths unless the unit code is 1. Halves round away from zero.
    void flow_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<int>("iUnit");
        QTest::addColumn<double>("dFlow");
        QTest::addColumn<QString>("sFlow");
        QTest::newRow("2.5 up") << 4 << 2 << 2.5 << "3";
        QTest::newRow("3.5 up") << 4 << 2 << 3.5 << "4";
        QTest::newRow("2.4999 down") << 4 << 2 << 2.4999 << "2";
        QTest::newRow("-2.5 away from zero") << 4 << 2 << -2.5 << "-3";
        QTest::newRow("0.49 to 0") << 4 << 2 << 0.49 << "0";
        QTest::newRow("compartment 1499 not scaled") << 4 << 3 << 1499.0 << "1499";
        QTest::newRow("large compartment flow") << 4 << 2 << 123456789.5 << "123456790";
        QTest::newRow("metering 1499/1000") << 101 << 3 << 1499.0 << "1";
        QTest::newRow("metering 1500/1000") << 101 << 3 << 1500.0 << "2";
        QTest::newRow("metering 2500/1000") << 101 << 3 << 2500.0 << "3";
        QTest::newRow("metering -1500/1000") << 101 << 3 << -1500.0 << "-2";
        QTest::newRow("metering unit 1 not scaled") << 101 << 1 << 1499.0 << "1499";
        QTest::newRow("not a number") << 4 << 2 << qQNaN() << "0";
    }
    void flow()
    {
        QFETCH(int, iCompartment);
        QFETCH(int, iUnit);
        QFETCH(double, dFlow);
        QFETCH(QString, sFlow);
        CLogLevelVolume entry = reference(iCompartment);
        entry.ProcessWM.setField(24, qint32(iUnit));
        entry.ProcessWM.setField(6, dFlow);
        const QStringList asFields = entry.getFTLStrings(0, 0).first().split(QLatin1Char(','));
        QCOMPARE(asFields.size(), 28);
        QCOMPARE(asFields.at(25), sFlow);
    }

    // Thousandths written with two (one for the temperature) decimals.
    void values_data()
    {
        QTest::addColumn<int>("iField");
        QTest::addColumn<int>("iValue");
        QTest::addColumn<QString>("sWant");
        const QString sHead = QStringLiteral("11,20240105093000,7,1,3,,0,");
        QTest::newRow("volume 0.05") << 2 << 50 << sHead + "0.05,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("volume largest") << 2 << 2147483647
                                        << sHead + "2147483.65,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("volume negative")
            << 2 << -12345 << sHead + "-12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("compensated 0") << 3 << 0 << sHead + "12.35,0.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("compensated large")
            << 3 << 987654321 << sHead + "12.35,987654.32,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("temperature 0.05") << 5 << 50 << sHead + "12.35,12.00,0.1,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("temperature below zero")
            << 5 << -5500 << sHead + "12.35,12.00,-5.5,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("mass 0.005") << 4 << 5 << sHead + "12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.01,,42,3,,1";
        QTest::newRow("entry number 0")
            << 16 << 0 << "11,20240105093000,0,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("entry number unsigned")
            << 16 << -1
            << "11,20240105093000,4294967295,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1";
    }
    void values()
    {
        QFETCH(int, iField);
        QFETCH(int, iValue);
        QFETCH(QString, sWant);
        CLogLevelVolume entry = reference(4);
        entry.ProcessWM.setField(iField, qint32(iValue));
        QCOMPARE(entry.getFTLStrings(0, 0), QStringList{sWant});
    }

    void orderAndSpecialValues()
    {
        CLogLevelVolume entry = reference(4);
        entry.Order.setField(13, qint32(50));
        QCOMPARE(entry.getFTLStrings(1, 0).first().split(QLatin1Char(',')).at(18), QStringLiteral("0.05"));
        entry = reference(100);
        entry.ProcessWM.setField(30, qint32(-2147483647 - 1));
        QCOMPARE(entry.getFTLStrings(2, 0).first().split(QLatin1Char(',')).at(18), QStringLiteral("-2147483.65"));
    }

    void offsets_data()
    {
        QTest::addColumn<int>("iOffset");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("back into the day before")
            << -36000 << "11,20240104233000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,233512,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("measurement time past midnight")
            << 52000 << "11,20240105235640,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,000152,1.00,,,Diesel,0.85,,42,3,,1";
        QTest::newRow("one hour")
            << 3600 << "11,20240105103000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,103512,1.00,,,Diesel,0.85,,42,3,,1";
    }
    void offsets()
    {
        QFETCH(int, iOffset);
        QFETCH(QString, sWant);
        QCOMPARE(reference(4).getFTLStrings(1, iOffset), QStringList{sWant});
    }

    void texts_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QString>("sProduct");
        QTest::addColumn<QString>("sMeteringPoint");
        QTest::addColumn<QString>("sCustomer");
        QTest::addColumn<QString>("sWant");
        const QString sOil = QString::fromUtf8("Heiz\xc3\xb6l EL");
        QTest::newRow("empty product") << 4 << QString() << "MP7" << "C-99"
                                       << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,,0.85,,42,3,,1";
        QTest::newRow("non-ASCII product")
            << 4 << sOil << "MP7" << "C-99"
            << "11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,," + sOil + ",0.85,,42,3,,1";
        QTest::newRow("empty metering point and customer")
            << 101 << "Diesel" << QString() << QString()
            << "11,20240105093000,7,0,3,,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,,0,,1";
        QTest::newRow("non-ASCII customer")
            << 101 << "Diesel" << "MP7" << sOil
            << "11,20240105093000,7,0,3,MP7,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,," + sOil + ",0,,1";
    }
    void texts()
    {
        QFETCH(int, iCompartment);
        QFETCH(QString, sProduct);
        QFETCH(QString, sMeteringPoint);
        QFETCH(QString, sCustomer);
        QFETCH(QString, sWant);
        CLogLevelVolume entry = reference(iCompartment);
        entry.Product.setField(1, sProduct);
        entry.ProcessWM.setField(23, sMeteringPoint);
        entry.Order.setField(19, sCustomer);
        QCOMPARE(entry.getFTLStrings(0, 0), QStringList{sWant});
    }

    void rowRoundTrip()
    {
        CLogLevelVolume entry = reference(4);
        entry.baReserve = QByteArray::fromHex("0102030405");
        entry.RowID = 99;
        const QByteArray baRow = entry.toRow();
        const CLogLevelVolume copy(baRow);
        QCOMPARE(copy.LogType, 7);
        QCOMPARE(copy.RowID, 99ULL);
        QCOMPARE(copy.getFTLStrings(0, 0), lineOrNone(g_pszReference));
        QCOMPARE(copy.toRow().toHex(), baRow.toHex());
        QVERIFY(copy.isWmEntry());
        QCOMPARE(copy.wmData().toHex(), QByteArray("0102030405"));

        // Only the four records, one after the other.
        CLogLevelVolume fresh = reference(4);
        QByteArray baFields = fresh.ProcessWM.toByteArray() + fresh.ProductWM.toByteArray()
                              + fresh.Order.toByteArray() + fresh.Product.toByteArray();
        QCOMPARE(fresh.payloadBytes().toHex(), baFields.toHex());
    }

    void newEntry()
    {
        const CLogLevelVolume entry;
        QCOMPARE(entry.LogType, 7);
        QCOMPARE(entry.LogSubType, -1);
        QVERIFY(entry.isWmEntry());
        QVERIFY(entry.wmData().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLevelVolume)
#include "tst_levelvolume.moc"
