#include "logbook/cloglevelvolume.h"
#include "tests/logbook/logbooktest.h"

#include <QTest>

namespace {
// The compartment measurement of the reference delivery: stored at
// 2024-01-05 09:30:00, entry 7, mode 2, meter 3, fifth compartment, unit 2,
// 12.345 units, compensated 12.000 at 15.0 degrees, measured at 09:35:12,
// order value 1.000, Diesel, 0.850 mass, order 42, flow 2.5, approved.
const QString REFERENCE =
    QStringLiteral("11,20240105093000,7,1,3,,0,12.35,12.00,15.0,5,,,,,,,093512,1.00,,,Diesel,0.85,,42,3,,1");
// The same measurement taken at a metering position (100, 101 or 102).
const QString METERING =
    QStringLiteral("11,20240105093000,7,0,3,MP7,0,12.35,12.00,15.0,,,,,,,,093512,2.50,,,Diesel,0.85,,C-99,0,,1");

CLogLevelVolume reference(qint32 iCompartment)
{
    CLogLevelVolume entry;
    entry.DateTime = utc(2024, 1, 5, 9, 30);
    entry.Compartment = iCompartment;
    CRunProcessWM &process = entry.ProcessWM;
    process.setField(1, qint32(2));
    process.setField(2, qint32(12345));
    process.setField(3, qint32(12000));
    process.setField(4, qint32(850));
    process.setField(5, qint32(15000));
    process.setField(6, 2.5);
    process.setField(8, utc(2024, 1, 5, 9, 35, 12));
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

// Columns of the line, counted from the record code.
enum EColumn {
    STAMP = 1, ENTRY, KIND, UNIT = 6, VOLUME, COMPENSATED, TEMPERATURE, COMPARTMENT, CLOCK = 17,
    MASS = 22, ORDER = 24, FLOW, APPROVED = 27
};

enum ERecord { Process, ProductSetup, Order, Product };
struct CEdit {
    ERecord eRecord;
    int iField;
    CFieldValue value;
};
using CEdits = QList<CEdit>;
using CColumns = QMap<int, QString>;

CRecord &recordOf(CLogLevelVolume &entry, ERecord eRecord)
{
    switch (eRecord) {
    case Process: return entry.ProcessWM;
    case ProductSetup: return entry.ProductWM;
    case Order: return entry.Order;
    case Product: break;
    }
    return entry.Product;
}

// The reference line of a compartment or a metering position, with the
// columns given changed.
QString referenceWith(qint32 iCompartment, const CColumns &columns)
{
    QStringList asFields = (iCompartment < 100 ? REFERENCE : METERING).split(QLatin1Char(','));
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        asFields[it.key()] = it.value();
    return asFields.join(QLatin1Char(','));
}
} // namespace

Q_DECLARE_METATYPE(CEdits)
Q_DECLARE_METATYPE(CColumns)

class TestLevelVolume : public QObject
{
    Q_OBJECT

private slots:
    void referenceLines()
    {
        QCOMPARE(reference(4).getFTLStrings(0, 0), QStringList{REFERENCE});
        QCOMPARE(reference(101).getFTLStrings(3, 0), QStringList{METERING});
        // The measurement's clock moves with the offset, past midnight too.
        QCOMPARE(reference(4).getFTLStrings(0, 52000),
                 QStringList{referenceWith(4, {{STAMP, "20240105235640"}, {CLOCK, "000152"}})});
    }

    // Which outputs (selectors -1 to 5) take the entry of which compartment.
    void selectors_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QList<int>>("aiSelectors");
        QTest::newRow("compartment 4") << 4 << QList<int>{0, 1};
        QTest::newRow("last compartment") << 99 << QList<int>{0, 1};
        QTest::newRow("metering position 100") << 100 << QList<int>{0, 2};
        QTest::newRow("metering position 101") << 101 << QList<int>{0, 3};
        QTest::newRow("metering position 102") << 102 << QList<int>{0, 4};
    }
    void selectors()
    {
        QFETCH(int, iCompartment);
        QFETCH(QList<int>, aiSelectors);
        const CLogLevelVolume entry = reference(iCompartment);
        for (int iSelector = -1; iSelector <= 5; ++iSelector)
            QCOMPARE(entry.getFTLStrings(iSelector, 0).size(), aiSelectors.contains(iSelector) ? 1 : 0);
    }

    // Each column from its field: the reference entry with the fields given
    // changed, and the reference line with the columns given changed.
    void columns_data()
    {
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<CEdits>("aEdits");
        QTest::addColumn<CColumns>("columns");
        const auto add = [](const char *pszName, int iCompartment, const CEdits &aEdits, const CColumns &columns) {
            QTest::newRow(pszName) << iCompartment << aEdits << columns;
        };
        add("last compartment", 99, {}, {{COMPARTMENT, "100"}});
        add("unit 6", 4, {{Process, 24, 6}}, {{UNIT, "1"}});
        add("unit 1 has no column", 4, {{Process, 24, 1}}, {{UNIT, ""}});
        add("unit 24 counts pieces", 4, {{Process, 24, 24}, {Process, 2, 12}}, {{UNIT, "6"}, {VOLUME, "12.00"}});
        add("mode 1", 4, {{Process, 1, 1}}, {{KIND, "0"}});
        add("mode 3 leaves the kind empty", 4, {{Process, 1, 3}}, {{KIND, ""}});
        add("metering position, mode 3 is kind 0", 100, {{Process, 1, 3}}, {});
        add("compensation off", 4, {{ProductSetup, 4, false}}, {{COMPENSATED, ""}, {TEMPERATURE, ""}, {MASS, ""}});
        add("order number 0", 4, {{Order, 7, 0}}, {{ORDER, ""}});
        add("order number 1", 4, {{Order, 7, 1}}, {{ORDER, "1"}});
        add("metering position shows the customer, not the order", 102, {{Order, 7, 0}}, {});
        add("not approved", 4, {{Process, 15, false}}, {{APPROVED, "0"}});
        add("entry number unsigned", 4, {{Process, 16, -1}}, {{ENTRY, "4294967295"}});
        add("compartment flow in units", 4, {{Process, 24, 3}, {Process, 6, 1499.0}}, {{UNIT, "3"}, {FLOW, "1499"}});
        add("metering flow in thousandths", 101, {{Process, 24, 3}, {Process, 6, 1499.0}}, {{UNIT, "3"}, {FLOW, "1"}});
        add("metering flow of unit 1 in units", 101, {{Process, 24, 1}, {Process, 6, 1499.0}},
            {{UNIT, ""}, {FLOW, "1499"}});
    }
    void columns()
    {
        QFETCH(int, iCompartment);
        QFETCH(CEdits, aEdits);
        QFETCH(CColumns, columns);
        CLogLevelVolume entry = reference(iCompartment);
        for (const CEdit &edit : aEdits)
            QVERIFY(recordOf(entry, edit.eRecord).setField(edit.iField, edit.value));
        QCOMPARE(entry.getFTLStrings(0, 0), QStringList{referenceWith(iCompartment, columns)});
    }

    // The four records one after the other, read back from the row; the
    // measurement data of legal metrology is the reserve.
    void row()
    {
        CLogLevelVolume entry = reference(4);
        entry.baReserve = QByteArray::fromHex("0102030405");
        QCOMPARE(entry.payloadBytes().toHex(), (entry.ProcessWM.toByteArray() + entry.ProductWM.toByteArray() +
                                                entry.Order.toByteArray() + entry.Product.toByteArray())
                                                   .toHex());
        const CLogLevelVolume copy(entry.toRow());
        QCOMPARE(copy.getFTLStrings(0, 0), QStringList{REFERENCE});
        QVERIFY(copy.isWmEntry());
        QCOMPARE(copy.wmData().toHex(), QByteArray("0102030405"));
    }
};

QTEST_GUILESS_MAIN(TestLevelVolume)
#include "tst_levelvolume.moc"
