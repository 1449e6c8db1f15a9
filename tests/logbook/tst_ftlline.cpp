#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"
#include "tests/support/ctable.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

// The number forms and names of ftlline.tsv.
class TestFtlLine : public QObject
{
    Q_OBJECT

  private slots:
    // Worked out by hand; the C library in its C locale confirms each.
    void fixed_data() { tableRows(QFINDTESTDATA("ftlline.tsv"), QStringLiteral("fixed")); }
    void fixed()
    {
        QFETCH(QStringList, row);
        const QByteArray baFormat = row[0].toLatin1();
        const double dValue = row[1].toDouble();
        const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        const locale_t previous = uselocale(cLocale);
        char acOracle[64];
        std::snprintf(acOracle, sizeof acOracle, baFormat.constData(), dValue);
        uselocale(previous);
        freelocale(cLocale);
        QCOMPARE(QString::fromLatin1(acOracle), row[2]);
        QCOMPARE(ftlFixed(baFormat.constData(), dValue), row[2]);
    }

    void rounded_data() { tableRows(QFINDTESTDATA("ftlline.tsv"), QStringLiteral("rounded")); }
    void rounded()
    {
        QFETCH(QStringList, row);
        QCOMPARE(ftlRounded(row[0] == "nan" ? qQNaN() : row[0].toDouble()), row[1]);
    }

    void names_data() { tableRows(QFINDTESTDATA("ftlline.tsv"), QStringLiteral("names")); }
    void names()
    {
        QFETCH(QStringList, row);
        QCOMPARE(row[0] == "type" ? logTypeName(row[1].toInt()) : logSubTypeName(row[1].toInt()), row[2]);
    }
};

QTEST_GUILESS_MAIN(TestFtlLine)
#include "tst_ftlline.moc"
