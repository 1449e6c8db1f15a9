#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <locale.h>

class TestFtlLine : public QObject
{
    Q_OBJECT

  private slots:
    // Fractions as the C library's printf writes them: the exact binary
    // value rounded, exact ties to even, the sign of -0 kept. sWant is
    // worked out by hand; the C library itself confirms it.
    void fixed_data()
    {
        QTest::addColumn<QString>("sFormat");
        QTest::addColumn<double>("dValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("tie 1.25 to even") << "%2.1f" << 1.25 << "1.2";
        QTest::newRow("tie 0.375 to even") << "%3.2f" << 0.375 << "0.38";
        QTest::newRow("tie 12.125 to even") << "%3.2f" << 12.125 << "12.12";
        QTest::newRow("tie -0.25 to even") << "%2.1f" << -0.25 << "-0.2";
        QTest::newRow("tie 9.5078125 to even") << "%4.6f" << 9.5078125 << "9.507812";
        QTest::newRow("0.35 lies below its tie") << "%2.1f" << 0.35 << "0.3";
        QTest::newRow("12.345 lies above its tie") << "%3.2f" << 12.345 << "12.35";
        QTest::newRow("-0.05 lies below its tie") << "%2.1f" << -0.05 << "-0.1";
        QTest::newRow("negative zero") << "%2.1f" << -0.0 << "-0.0";
        QTest::newRow("rounds to negative zero") << "%3.6f" << -1e-9 << "-0.000000";
        QTest::newRow("width pads") << "%9.2f" << 1.5 << "     1.50";
        QTest::newRow("wide number") << "%2.1f" << 123456789.25 << "123456789.2";
    }
    void fixed()
    {
        QFETCH(QString, sFormat);
        QFETCH(double, dValue);
        QFETCH(QString, sWant);
        const QByteArray baFormat = sFormat.toLatin1();
        const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        const locale_t previous = uselocale(cLocale);
        char acOracle[64];
        std::snprintf(acOracle, sizeof acOracle, baFormat.constData(), dValue);
        uselocale(previous);
        freelocale(cLocale);
        QCOMPARE(QString::fromLatin1(acOracle), sWant);
        QCOMPARE(ftlFixed(baFormat.constData(), dValue), sWant);
    }

    void rounded_data()
    {
        QTest::addColumn<double>("dValue");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("2.5 up") << 2.5 << "3";
        QTest::newRow("-2.5 away from zero") << -2.5 << "-3";
        QTest::newRow("-0.4 is 0, unsigned") << -0.4 << "0";
        QTest::newRow("beyond 64 bits") << 1e300 << "9223372036854775807";
        QTest::newRow("far below") << -1e300 << "-9223372036854775808";
        QTest::newRow("not a number") << qQNaN() << "0";
    }
    void rounded()
    {
        QFETCH(double, dValue);
        QFETCH(QString, sWant);
        QCOMPARE(ftlRounded(dValue), sWant);
    }

    void names_data()
    {
        QTest::addColumn<bool>("bSubType");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sWant");
        QTest::newRow("type 0") << false << 0 << "unknown_LogbookType";
        QTest::newRow("type 23") << false << 23 << "FPM";
        QTest::newRow("type 24 unknown") << false << 24 << "24";
        QTest::newRow("type negative") << false << -3 << "-3";
        QTest::newRow("subtype first") << true << 4201 << "CANError";
        QTest::newRow("subtype handled but unnamed") << true << 6105 << "6105";
        QTest::newRow("subtype unknown") << true << 9999 << "9999";
    }
    void names()
    {
        QFETCH(bool, bSubType);
        QFETCH(int, iCode);
        QFETCH(QString, sWant);
        QCOMPARE(bSubType ? logSubTypeName(iCode) : logTypeName(iCode), sWant);
    }
};

QTEST_GUILESS_MAIN(TestFtlLine)
#include "tst_ftlline.moc"
