#include "files/cswupdateschedule.h"
#include "records/ccommrecords.h"
#include "tests/support/crecordtext.h"
#include "tests/support/ctable.h"

#include <ctime>

namespace
{
void useZone(const QByteArray &baZone)
{
    qputenv("TZ", baZone);
    ::tzset();
}

qint64 secondsOf(const QString &sText)
{
    return sText == "-" ? 0 : utcOf(sText).toSecsSinceEpoch();
}

// Automatic look-up on or off, month, day, weekday, hour, minute.
CSetFtpSwUpdate setupOf(const QStringList &as)
{
    return recordWith<CSetFtpSwUpdate>(QStringLiteral("7=%1 2=%2 3=%3 4=%4 5=%5 6=%6").arg(as[0], as[1], as[2], as[3], as[4], as[5]));
}
// One look at the schedule as a row of [schedule] takes it.
bool lookAt(CSwUpdateSchedule &schedule, const QStringList &row, bool &bAfterRestart, QList<CLogLine> &aLog)
{
    return schedule.IsSwUpdateDue(setupOf(row.mid(2, 6)), utcOf(row[1]), bAfterRestart, aLog,
                                  row.value(12) != "keep");
}
} // namespace

class TestSwUpdate : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase() { useZone("UTC"); }
    void cleanup() { useZone("UTC"); }

    TABLE_TEST(nextLookup, "swupdate.tsv")
    {
        useZone(row[0].toLatin1());
        qint64 llNext = 12345;
        QString sLog = QStringLiteral("stale");
        QCOMPARE(ComputeNextLookup(quint8(row[1].toInt()), quint8(row[2].toInt()), quint8(row[3].toInt()),
                                   quint8(row[4].toInt()), quint8(row[5].toInt()), utcOf(row[6]), llNext, sLog),
                 row[7] == "-" ? -1 : 0);
        QCOMPARE(llNext, secondsOf(row[7]));
        // The line ends with a line break.
        QCOMPARE(sLog, row.size() > 8 ? row[8] + QLatin1Char('\n') : QString());
    }

    // Each row is one step of its case; the case's earlier steps run first
    // on a fresh schedule, so any row runs alone.
    TABLE_TEST(schedule, "swupdate.tsv")
    {
        const int iLine = QString::fromLatin1(QTest::currentDataTag()).section(' ', 1).toInt();
        CSwUpdateSchedule schedule;
        QList<CLogLine> aLog;
        for (const auto &step : tableLines(QFINDTESTDATA("swupdate.tsv"), QStringLiteral("schedule"))) {
            bool bAfterRestart = step.second[8] == "1";
            if (step.first < iLine && step.second[0] == row[0])
                lookAt(schedule, step.second, bAfterRestart, aLog);
        }
        aLog.clear();
        bool bAfterRestart = row[8] == "1";
        QCOMPARE(lookAt(schedule, row, bAfterRestart, aLog), row[9] == "1");
        aLog.removeIf([](const CLogLine &line) { return line.sText.startsWith("Next software update lock-up in "); });
        QCOMPARE(logText(aLog), row[10]);
        QCOMPARE(schedule.nextLookup(), secondsOf(row[11]));
        QCOMPARE(bAfterRestart, row[2] == "1" && row[8] == "1");
    }

    // A changed setup moves the next look-up, or clears it without a schedule.
    void recomputeForChangedSetup()
    {
        CSwUpdateSchedule schedule;
        QList<CLogLine> aLog;
        QCOMPARE(schedule.recompute(setupOf({"1", "0", "0", "2", "3", "0"}), utcOf("2024-01-01T02:59:00Z"), aLog), 0);
        QCOMPARE(schedule.nextLookup(), secondsOf("2024-01-01T03:00:00Z"));
        QCOMPARE(schedule.recompute(setupOf({"1", "0", "5", "0", "3", "0"}), utcOf("2024-01-01T02:59:00Z"), aLog), -1);
        QCOMPARE(schedule.nextLookup(), 0);
        QCOMPARE(aLog.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSwUpdate)
#include "tst_swupdate.moc"
