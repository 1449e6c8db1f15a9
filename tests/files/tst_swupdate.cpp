#include "files/cswupdateschedule.h"
#include "records/ccommrecords.h"

#include <QTest>

#include <ctime>

namespace
{

QDateTime utc(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond = 0)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute, iSecond), Qt::UTC);
}

void useZone(const QByteArray &baZone)
{
    qputenv("TZ", baZone);
    ::tzset();
}

CSetFtpSwUpdate swSetup(bool bRemote, int iMonth, int iDay, int iWeekday, int iHour = 3, int iMinute = 0)
{
    CSetFtpSwUpdate oSetup;
    oSetup.setRemote(bRemote);
    oSetup.setMonth(iMonth);
    oSetup.setDay(iDay);
    oSetup.setWeekday(iWeekday);
    oSetup.setHour(iHour);
    oSetup.setMinute(iMinute);
    return oSetup;
}

// One test of the schedule: when, with which setup, whether the start-up
// request is still open, and what must come out.
struct CStep {
    QDateTime dtNow;
    CSetFtpSwUpdate oSetup;
    bool bAfterRestart;
    bool bWantDue;
    QStringList asWantLines; // besides the "Next software update lock-up" ones
    QDateTime dtWantNext;
};

QString nextLine(int iDays, int iHours, int iMinutes, int iSeconds, const QString &sAt)
{
    return QString::asprintf("Next software update lock-up in %d Days %d Hours %d Minutes %d Seconds at ", iDays,
                             iHours, iMinutes, iSeconds) +
           sAt + QLatin1Char('\n');
}

} // namespace

Q_DECLARE_METATYPE(QList<CStep>)

class TestSwUpdate : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup() { useZone("UTC"); }

    // Parameters: month, day, weekday (1 = Sunday), hour, minute.
    void nextLookup_data()
    {
        QTest::addColumn<QByteArray>("baZone");
        QTest::addColumn<QList<int>>("aiParameters");
        QTest::addColumn<QDateTime>("dtNow");
        QTest::addColumn<QDateTime>("dtWantNext");
        QTest::addColumn<QString>("sWantLog");
        auto row = [](const char *pName, const QByteArray &baZone, const QList<int> &aiParameters,
                      const QDateTime &dtNow, const QDateTime &dtNext, const QString &sLog) {
            QTest::newRow(pName) << baZone << aiParameters << dtNow << dtNext << sLog;
        };
        // 1 January 2024 is a Monday; weekday 2 is Monday.
        row("Monday 02:59 for Monday 03:00", "UTC", {0, 0, 2, 3, 0}, utc(2024, 1, 1, 2, 59), utc(2024, 1, 1, 3, 0),
            nextLine(0, 0, 1, 0, "01.01.2024. 03:00:00"));
        row("Monday 03:01 waits a week", "UTC", {0, 0, 2, 3, 0}, utc(2024, 1, 1, 3, 1), utc(2024, 1, 8, 3, 0),
            nextLine(6, 23, 59, 0, "08.01.2024. 03:00:00"));
        row("the very second counts as today", "UTC", {0, 0, 2, 3, 0}, utc(2024, 1, 1, 3, 0), utc(2024, 1, 1, 3, 0),
            nextLine(0, 0, 0, 0, "01.01.2024. 03:00:00"));
        row("Sunday comes after Monday", "UTC", {0, 0, 1, 8, 0}, utc(2024, 1, 1, 10, 0), utc(2024, 1, 7, 8, 0),
            nextLine(5, 22, 0, 0, "07.01.2024. 08:00:00"));
        row("month without day is weekly", "UTC", {5, 0, 3, 0, 0}, utc(2024, 1, 1, 0, 0), utc(2024, 1, 2, 0, 0),
            nextLine(1, 0, 0, 0, "02.01.2024. 00:00:00"));
        row("yearly ignores the weekday", "UTC", {3, 1, 7, 0, 0}, utc(2024, 1, 1, 0, 0), utc(2024, 3, 1, 0, 0),
            nextLine(60, 0, 0, 0, "01.03.2024. 00:00:00"));
        row("yearly passed half a minute ago", "UTC", {12, 31, 0, 23, 59}, utc(2024, 12, 31, 23, 59, 30),
            utc(2025, 12, 31, 23, 59), nextLine(364, 23, 59, 30, "31.12.2025. 23:59:00"));
        row("30 February becomes 2 March", "UTC", {2, 30, 0, 0, 0}, utc(2023, 1, 10, 0, 0), utc(2023, 3, 2, 0, 0),
            nextLine(51, 0, 0, 0, "02.03.2023. 00:00:00"));
        // The hour is the process's wall clock; a day is 86400 s, so over the
        // spring switch the wall clock moves on by the hour.
        row("weekly over the Berlin spring switch", "Europe/Berlin", {0, 0, 2, 3, 0}, utc(2024, 3, 30, 9, 0),
            utc(2024, 4, 1, 2, 0), nextLine(1, 17, 0, 0, "01.04.2024. 04:00:00"));
        // 1 January 2040, past the end of a 32-bit seconds count, is a Sunday.
        row("weekly after 2038", "UTC", {0, 0, 2, 3, 0}, utc(2040, 1, 1, 10, 0), utc(2040, 1, 2, 3, 0),
            nextLine(0, 17, 0, 0, "02.01.2040. 03:00:00"));
        row("no schedule at all", "UTC", {0, 0, 0, 3, 0}, utc(2024, 1, 1, 0, 0), QDateTime(), "");
        row("month without day or weekday", "UTC", {5, 0, 0, 3, 0}, utc(2024, 1, 1, 0, 0), QDateTime(), "");
    }
    void nextLookup()
    {
        QFETCH(QByteArray, baZone);
        QFETCH(QList<int>, aiParameters);
        QFETCH(QDateTime, dtNow);
        QFETCH(QDateTime, dtWantNext);
        QFETCH(QString, sWantLog);
        useZone(baZone);
        qint64 llNext = 12345;
        QString sLog = QStringLiteral("stale");
        const QList<int> &p = aiParameters;
        QCOMPARE(ComputeNextLookup(quint8(p[0]), quint8(p[1]), quint8(p[2]), quint8(p[3]), quint8(p[4]), dtNow, llNext,
                                   sLog),
                 dtWantNext.isValid() ? 0 : -1);
        QCOMPARE(llNext, dtWantNext.isValid() ? dtWantNext.toSecsSinceEpoch() : 0);
        QCOMPARE(sLog, sWantLog);
    }

    void schedule_data()
    {
        QTest::addColumn<QList<CStep>>("aSteps");
        const CSetFtpSwUpdate oMonday = swSetup(true, 0, 0, 2);
        const CSetFtpSwUpdate oOff = swSetup(false, 0, 0, 2);
        const QString sRestart = QStringLiteral("Request software update after every restart");
        const QString sStart = QStringLiteral("Start software update look-up");
        const QString sOffWarning = QStringLiteral("Automatic software update is disabled");
        QTest::newRow("start-up look-up, then the weekly one") << QList<CStep>{
            {utc(2024, 1, 1, 2, 0), oMonday, true, true, {sRestart}, utc(2024, 1, 1, 3, 0)},
            {utc(2024, 1, 1, 2, 30), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)}, // the look-up has started
            {utc(2024, 1, 1, 3, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
            {utc(2024, 1, 1, 3, 0, 1), oMonday, false, true, {sStart}, utc(2024, 1, 8, 3, 0)},
            {utc(2024, 1, 1, 3, 5), oMonday, false, false, {}, utc(2024, 1, 8, 3, 0)},
        };
        QTest::newRow("nothing scheduled: not even the start-up look-up") << QList<CStep>{
            {utc(2024, 1, 1, 2, 0), swSetup(true, 0, 0, 0), true, false, {}, QDateTime()},
            {utc(2024, 3, 1, 2, 0), swSetup(true, 5, 0, 0), true, false, {}, QDateTime()},
        };
        QTest::newRow("switched off: warned once") << QList<CStep>{
            {utc(2024, 1, 1, 2, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
            {utc(2024, 1, 1, 2, 1), oOff, true, false, {sOffWarning}, utc(2024, 1, 1, 3, 0)},
            {utc(2024, 1, 9, 4, 0), oOff, false, false, {}, utc(2024, 1, 1, 3, 0)},
            // Switched on again: the schedule starts afresh.
            {utc(2024, 1, 9, 4, 0), oMonday, false, false, {}, utc(2024, 1, 15, 3, 0)},
        };
        QTest::newRow("switched off from the start: no warning")
            << QList<CStep>{{utc(2024, 1, 1, 2, 0), oOff, true, false, {}, QDateTime()}};
        QTest::newRow("a changed weekday takes effect at the next test") << QList<CStep>{
            {utc(2024, 1, 1, 2, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
            {utc(2024, 1, 1, 2, 10), swSetup(true, 0, 0, 3), false, false, {}, utc(2024, 1, 2, 3, 0)},
            {utc(2024, 1, 2, 3, 0, 1), swSetup(true, 0, 0, 3), false, true, {sStart}, utc(2024, 1, 9, 3, 0)},
        };
        QTest::newRow("yearly, parameters taken as bytes") << QList<CStep>{
            {utc(2024, 1, 1, 0, 0), swSetup(true, 256 + 1, 2, 0, 0), false, false, {}, utc(2024, 1, 2, 0, 0)},
            {utc(2024, 1, 2, 0, 0, 1), swSetup(true, 256 + 1, 2, 0, 0), false, true, {sStart}, utc(2025, 1, 2, 0, 0)},
        };
    }
    void schedule()
    {
        QFETCH(QList<CStep>, aSteps);
        useZone("UTC");
        CSwUpdateSchedule schedule;
        for (const CStep &step : aSteps) {
            bool bAfterRestart = step.bAfterRestart;
            QList<CLogLine> aLog;
            QCOMPARE(schedule.IsSwUpdateDue(step.oSetup, step.dtNow, bAfterRestart, aLog), step.bWantDue);
            QStringList asLines;
            for (const CLogLine &line : aLog) {
                const bool bWarning = line.sText == QLatin1String("Automatic software update is disabled");
                QCOMPARE(line.eLevel, bWarning ? CLogLine::Warning : CLogLine::Debug);
                if (!line.sText.startsWith(QLatin1String("Next software update lock-up in ")))
                    asLines << line.sText;
            }
            QCOMPARE(asLines, step.asWantLines);
            QCOMPARE(schedule.nextLookup(), step.dtWantNext.isValid() ? step.dtWantNext.toSecsSinceEpoch() : 0);
            // Only a disabled look-up drops the start-up request.
            QCOMPARE(bAfterRestart, step.oSetup.Remote() && step.bAfterRestart);
        }
    }

    // A changed setup moves the next look-up, or clears it without a schedule.
    void recomputeForChangedSetup()
    {
        useZone("UTC");
        CSwUpdateSchedule schedule;
        QList<CLogLine> aLog;
        QCOMPARE(schedule.recompute(swSetup(true, 0, 0, 2), utc(2024, 1, 1, 2, 59), aLog), 0);
        QCOMPARE(schedule.nextLookup(), utc(2024, 1, 1, 3, 0).toSecsSinceEpoch());
        QCOMPARE(aLog.size(), 1);
        QCOMPARE(schedule.recompute(swSetup(true, 0, 5, 0), utc(2024, 1, 1, 2, 59), aLog), -1);
        QCOMPARE(schedule.nextLookup(), 0);
        QCOMPARE(aLog.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSwUpdate)
#include "tst_swupdate.moc"
