#include "logbook/clogfactory.h"
#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogseal.h"
#include "logbook/clogsmp.h"
#include "tests/logbook/logbooktest.h"

#include <QRegularExpression>
#include <QTest>

namespace {
// The entries whose line is a fixed literal.
enum EEntry { Opmm, Smp, Loading, Discharge, Seal };

// The stamp of every line: stored 2019-12-31 23:00:00, written with +1 h.
const QString STAMP = QStringLiteral("20200101000000");
} // namespace

Q_DECLARE_METATYPE(EEntry)

class TestShortLines : public QObject
{
    Q_OBJECT

private slots:
    // iValue is the main mode of a mode change and whether a seal is closed.
    void lines_data()
    {
        QTest::addColumn<EEntry>("eEntry");
        QTest::addColumn<int>("iSubType");
        QTest::addColumn<int>("iValue");
        QTest::addColumn<int>("iCompartment");
        QTest::addColumn<QStringList>("asWant");
        const QStringList asUndefined{QStringLiteral("Undefined")};
        QTest::newRow("mode status") << Opmm << 13005 << 5 << -1 << QStringList{"92,T,200,5"};
        QTest::newRow("mode wait sync") << Opmm << 13010 << 10 << -1 << QStringList{"92,T,200,10"};
        QTest::newRow("mode man. loading plan") << Opmm << 13014 << 14 << -1 << QStringList{"92,T,200,14"};
        QTest::newRow("mode inclination tour") << Opmm << 13020 << 20 << -1 << QStringList{"92,T,200,20"};
        QTest::newRow("mode 2") << Opmm << 13002 << 2 << -1 << asUndefined;
        QTest::newRow("mode 21") << Opmm << 13021 << 21 << -1 << asUndefined;
        QTest::newRow("mode line ignores the subtype") << Opmm << 13004 << 3 << -1 << QStringList{"20,T,65"};
        QTest::newRow("SMP 14008") << Smp << 14008 << 0 << -1 << asUndefined;
        QTest::newRow("loading 2002 gives nothing") << Loading << 2002 << 0 << 2 << QStringList{};
        QTest::newRow("loading with a discharge subtype") << Loading << 3000 << 0 << 2 << QStringList{};
        QTest::newRow("discharge 3000") << Discharge << 3000 << 0 << 4 << QStringList{"12,T,5"};
        QTest::newRow("discharge with a loading subtype") << Discharge << 2000 << 0 << 2 << QStringList{};
        QTest::newRow("seal broken, no subtype") << Seal << -1 << 0 << 3 << QStringList{"42,T,,31,11,0"};
    }
    void lines()
    {
        QFETCH(EEntry, eEntry);
        QFETCH(int, iSubType);
        QFETCH(int, iValue);
        QFETCH(int, iCompartment);
        QFETCH(QStringList, asWant);
        CLogOPMM opmm;
        opmm.MainMode = iValue;
        CLogSMP smp;
        CLogLoading loading;
        CLogDischarge discharge;
        CLogSeal seal;
        seal.Seal.setSealState(iValue != 0);
        CLogBase *const apEntries[] = {&opmm, &smp, &loading, &discharge, &seal};
        CLogBase &entry = *apEntries[eEntry];
        entry.LogSubType = iSubType;
        entry.Compartment = iCompartment;
        entry.DateTime = utc(2019, 12, 31, 23);
        for (QString &sLine : asWant)
            sLine = stamped(sLine, STAMP);
        if (eEntry == Opmm)
            QTest::ignoreMessage(QtDebugMsg,
                                 QRegularExpression("^CLogOPMM getFTLStrings\\(\\) sqdt = +\"" + STAMP + "\"$"));
        QCOMPARE(ftlLinesOf(entry, 3600), asWant);
    }
};

QTEST_GUILESS_MAIN(TestShortLines)
#include "tst_shortlines.moc"
