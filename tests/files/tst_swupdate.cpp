#include "files/cswupdateschedule.h"
#include "records/ccommrecords.h"
#include "tests/support/ctable.h"

#include <ctime>

namespace
{
void useZone(const QByteArray &baZone)
{
    qputenv("TZ", baZone);
    ::tzset();
}

QDateTime utcOf(const QString &sText)
{
    return QDateTime::fromString(sText, Qt::ISODate);
}

qint64 secondsOf(const QString &sText)
{
    return sText == "-" ? 0 : utcOf(sText).toSecsSinceEpoch();
}

// Automatic look-up on or off, month, day, weekday, hour, minute.
CSetFtpSwUpdate setupOf(const QStringList &asFields)
{
    CSetFtpSwUpdate oSetup;
    oSetup.setRemote(asFields[0] == "1");
    oSetup.setMonth(asFields[1].toInt());
    oSetup.setDay(asFields[2].toInt());
    oSetup.setWeekday(asFields[3].toInt());
    oSetup.setHour(asFields[4].toInt());
    oSetup.setMinute(asFields[5].toInt());
    return oSetup;
}
} // namespace

class TestSwUpdate : public QObject
{
    Q_OBJECT

    // The schedule of the case the rows of schedule() walk through.
    CSwUpdateSchedule m_schedule;
    QString m_sCase;

  private slots:
    void initTestCase() { useZone("UTC"); }
    void cleanup() { useZone("UTC"); }

    void nextLookup_data() { tableRows(QFINDTESTDATA("swupdate.tsv"), QStringLiteral("nextLookup")); }
    void nextLookup()
    {
        QFETCH(QStringList, row);
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

    void schedule_data() { tableRows(QFINDTESTDATA("swupdate.tsv"), QStringLiteral("schedule")); }
    void schedule()
    {
        QFETCH(QStringList, row);
        if (row[0] != m_sCase) {
            m_schedule = CSwUpdateSchedule();
            m_sCase = row[0];
        }
        const CSetFtpSwUpdate oSetup = setupOf(row.mid(2, 6));
        bool bAfterRestart = row[8] == "1";
        QList<CLogLine> aLog;
        QCOMPARE(m_schedule.IsSwUpdateDue(oSetup, utcOf(row[1]), bAfterRestart, aLog, row.value(12) != "keep"),
                 row[9] == "1");
        QStringList asLines;
        for (const CLogLine &line : aLog)
            if (!line.sText.startsWith("Next software update lock-up in "))
                asLines << (line.eLevel == CLogLine::Warning ? "W " : "") + line.sText;
        QCOMPARE(asLines.join(QStringLiteral(" | ")), row[10]);
        QCOMPARE(m_schedule.nextLookup(), secondsOf(row[11]));
        QCOMPARE(bAfterRestart, oSetup.Remote() && row[8] == "1");
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
