#include "files/cswupdateschedule.h"
#include "records/ccommrecords.h"

#include <QTest>

#include <cstdlib>
#include <ctime>

namespace {

QDateTime utc(int iYear, int iMonth, int iDay, int iHour, int iMinute, int iSecond = 0)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute, iSecond), Qt::UTC);
}

void useZone(const QByteArray &baZone)
{
    qputenv("TZ", baZone);
    ::tzset();
}

CSetFtpSwUpdate swSetup(bool bRemote, int iMonth, int iDay, int iWeekday, int iHour, int iMinute)
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
struct CStep
{
    QDateTime dtNow;
    CSetFtpSwUpdate oSetup;
    bool bAfterRestart;
    bool bWantDue;
    // The lines besides the "Next software update lock-up" ones.
    QStringList asWantLines;
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
    void initTestCase() { useZone("UTC"); }
    void cleanup() { useZone("UTC"); }

    void nextLookup_data()
    {
        QTest::addColumn<QByteArray>("baZone");
        QTest::addColumn<int>("iMonth");
        QTest::addColumn<int>("iDay");
        QTest::addColumn<int>("iWeekday");
        QTest::addColumn<int>("iHour");
        QTest::addColumn<int>("iMinute");
        QTest::addColumn<QDateTime>("dtNow");
        QTest::addColumn<int>("iWant");
        QTest::addColumn<QDateTime>("dtWantNext");
        QTest::addColumn<QString>("sWantLog");
        const QByteArray baUtc("UTC");
        const QDateTime dtNone;

        // 1 January 2024 is a Monday; weekday 2 is Monday.
        QTest::newRow("Monday 02:59 for Monday 03:00")
            << baUtc << 0 << 0 << 2 << 3 << 0 << utc(2024, 1, 1, 2, 59) << 0 << utc(2024, 1, 1, 3, 0)
            << nextLine(0, 0, 1, 0, "01.01.2024. 03:00:00");
        QTest::newRow("Monday 03:01 waits a week")
            << baUtc << 0 << 0 << 2 << 3 << 0 << utc(2024, 1, 1, 3, 1) << 0 << utc(2024, 1, 8, 3, 0)
            << nextLine(6, 23, 59, 0, "08.01.2024. 03:00:00");
        QTest::newRow("the very second counts as today")
            << baUtc << 0 << 0 << 2 << 3 << 0 << utc(2024, 1, 1, 3, 0) << 0 << utc(2024, 1, 1, 3, 0)
            << nextLine(0, 0, 0, 0, "01.01.2024. 03:00:00");
        QTest::newRow("later in the week")
            << baUtc << 0 << 0 << 6 << 12 << 30 << utc(2024, 1, 1, 10, 0) << 0 << utc(2024, 1, 5, 12, 30)
            << nextLine(4, 2, 30, 0, "05.01.2024. 12:30:00");
        QTest::newRow("Sunday comes after Monday")
            << baUtc << 0 << 0 << 1 << 8 << 0 << utc(2024, 1, 1, 10, 0) << 0 << utc(2024, 1, 7, 8, 0)
            << nextLine(5, 22, 0, 0, "07.01.2024. 08:00:00");
        QTest::newRow("Saturday into the new year")
            << baUtc << 0 << 0 << 4 << 6 << 15 << utc(2024, 12, 28, 9, 0) << 0 << utc(2025, 1, 1, 6, 15)
            << nextLine(3, 21, 15, 0, "01.01.2025. 06:15:00");
        QTest::newRow("over a leap day")
            << baUtc << 0 << 0 << 6 << 10 << 0 << utc(2024, 2, 28, 10, 0) << 0 << utc(2024, 3, 1, 10, 0)
            << nextLine(2, 0, 0, 0, "01.03.2024. 10:00:00");
        QTest::newRow("end of February without leap day")
            << baUtc << 0 << 0 << 5 << 10 << 0 << utc(2023, 2, 28, 10, 0) << 0 << utc(2023, 3, 2, 10, 0)
            << nextLine(2, 0, 0, 0, "02.03.2023. 10:00:00");
        QTest::newRow("month without day is weekly")
            << baUtc << 5 << 0 << 3 << 0 << 0 << utc(2024, 1, 1, 0, 0) << 0 << utc(2024, 1, 2, 0, 0)
            << nextLine(1, 0, 0, 0, "02.01.2024. 00:00:00");
        QTest::newRow("hour past midnight carries into the next day")
            << baUtc << 0 << 0 << 2 << 25 << 0 << utc(2024, 1, 1, 10, 0) << 0 << utc(2024, 1, 2, 1, 0)
            << nextLine(0, 15, 0, 0, "02.01.2024. 01:00:00");

        QTest::newRow("yearly later this year")
            << baUtc << 6 << 15 << 0 << 12 << 0 << utc(2024, 1, 1, 0, 0) << 0 << utc(2024, 6, 15, 12, 0)
            << nextLine(166, 12, 0, 0, "15.06.2024. 12:00:00");
        QTest::newRow("yearly passed moves a year on")
            << baUtc << 1 << 1 << 0 << 0 << 0 << utc(2024, 6, 1, 0, 0) << 0 << utc(2025, 1, 1, 0, 0)
            << nextLine(214, 0, 0, 0, "01.01.2025. 00:00:00");
        QTest::newRow("yearly ignores the weekday")
            << baUtc << 3 << 1 << 7 << 0 << 0 << utc(2024, 1, 1, 0, 0) << 0 << utc(2024, 3, 1, 0, 0)
            << nextLine(60, 0, 0, 0, "01.03.2024. 00:00:00");
        QTest::newRow("yearly at this very second")
            << baUtc << 1 << 1 << 0 << 0 << 0 << utc(2024, 1, 1, 0, 0) << 0 << utc(2024, 1, 1, 0, 0)
            << nextLine(0, 0, 0, 0, "01.01.2024. 00:00:00");
        QTest::newRow("New Year's Eve half a minute late")
            << baUtc << 12 << 31 << 0 << 23 << 59 << utc(2024, 12, 31, 23, 59, 30) << 0 << utc(2025, 12, 31, 23, 59)
            << nextLine(364, 23, 59, 30, "31.12.2025. 23:59:00");
        QTest::newRow("30 February becomes 2 March")
            << baUtc << 2 << 30 << 0 << 0 << 0 << utc(2023, 1, 10, 0, 0) << 0 << utc(2023, 3, 2, 0, 0)
            << nextLine(51, 0, 0, 0, "02.03.2023. 00:00:00");
        QTest::newRow("30 February of a leap year becomes 1 March")
            << baUtc << 2 << 30 << 0 << 0 << 0 << utc(2024, 1, 10, 0, 0) << 0 << utc(2024, 3, 1, 0, 0)
            << nextLine(51, 0, 0, 0, "01.03.2024. 00:00:00");
        QTest::newRow("29 February of a leap year")
            << baUtc << 2 << 29 << 0 << 6 << 0 << utc(2024, 1, 10, 0, 0) << 0 << utc(2024, 2, 29, 6, 0)
            << nextLine(50, 6, 0, 0, "29.02.2024. 06:00:00");
        QTest::newRow("29 February without leap day")
            << baUtc << 2 << 29 << 0 << 6 << 0 << utc(2023, 1, 10, 0, 0) << 0 << utc(2023, 3, 1, 6, 0)
            << nextLine(50, 6, 0, 0, "01.03.2023. 06:00:00");
        QTest::newRow("29 February passed goes into next year's March")
            << baUtc << 2 << 29 << 0 << 12 << 0 << utc(2024, 3, 1, 0, 0) << 0 << utc(2025, 3, 1, 12, 0)
            << nextLine(365, 12, 0, 0, "01.03.2025. 12:00:00");

        // Local time of the process: the look-up hour is Berlin's wall clock.
        QTest::newRow("yearly in Berlin summer")
            << QByteArray("Europe/Berlin") << 7 << 1 << 0 << 3 << 0 << utc(2024, 6, 30, 0, 0) << 0
            << utc(2024, 7, 1, 1, 0) << nextLine(1, 1, 0, 0, "01.07.2024. 03:00:00");
        // Whole days of 86400 s: over the spring switch the wall clock moves on by the hour.
        QTest::newRow("weekly over the Berlin spring switch")
            << QByteArray("Europe/Berlin") << 0 << 0 << 2 << 3 << 0 << utc(2024, 3, 30, 9, 0) << 0
            << utc(2024, 4, 1, 2, 0) << nextLine(1, 17, 0, 0, "01.04.2024. 04:00:00");
        QTest::newRow("weekly in New York")
            << QByteArray("America/New_York") << 0 << 0 << 2 << 3 << 0 << utc(2024, 1, 1, 7, 59) << 0
            << utc(2024, 1, 1, 8, 0) << nextLine(0, 0, 1, 0, "01.01.2024. 03:00:00");

        QTest::newRow("no schedule at all") << baUtc << 0 << 0 << 0 << 3 << 0 << utc(2024, 1, 1, 0, 0) << -1 << dtNone
                                            << "";
        QTest::newRow("month without day or weekday")
            << baUtc << 5 << 0 << 0 << 3 << 0 << utc(2024, 1, 1, 0, 0) << -1 << dtNone << "";
        QTest::newRow("day without month or weekday")
            << baUtc << 0 << 9 << 0 << 3 << 0 << utc(2024, 1, 1, 0, 0) << -1 << dtNone << "";
    }
    void nextLookup()
    {
        QFETCH(QByteArray, baZone);
        QFETCH(int, iMonth);
        QFETCH(int, iDay);
        QFETCH(int, iWeekday);
        QFETCH(int, iHour);
        QFETCH(int, iMinute);
        QFETCH(QDateTime, dtNow);
        QFETCH(int, iWant);
        QFETCH(QDateTime, dtWantNext);
        QFETCH(QString, sWantLog);
        useZone(baZone);
        qint64 llNext = 12345;
        QString sLog = QStringLiteral("stale");
        QCOMPARE(ComputeNextLookup(quint8(iMonth), quint8(iDay), quint8(iWeekday), quint8(iHour), quint8(iMinute),
                                   dtNow, llNext, sLog),
                 iWant);
        QCOMPARE(llNext, dtWantNext.isValid() ? dtWantNext.toSecsSinceEpoch() : 0);
        QCOMPARE(sLog, sWantLog);
    }

    void schedule_data()
    {
        QTest::addColumn<QList<CStep>>("aSteps");
        const CSetFtpSwUpdate oMonday = swSetup(true, 0, 0, 2, 3, 0);
        const QString sRestart = QStringLiteral("Request software update after every restart");
        const QString sStart = QStringLiteral("Start software update look-up");
        const QString sDisabled = QStringLiteral("Automatic software update is disabled");

        QTest::newRow("start-up look-up, then the weekly one")
            << QList<CStep>{
                   {utc(2024, 1, 1, 2, 0), oMonday, true, true, {sRestart}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 2, 1), oMonday, true, true, {sRestart}, utc(2024, 1, 1, 3, 0)},
                   // The look-up has started.
                   {utc(2024, 1, 1, 2, 30), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 3, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 3, 0, 1), oMonday, false, true, {sStart}, utc(2024, 1, 8, 3, 0)},
                   {utc(2024, 1, 1, 3, 5), oMonday, false, false, {}, utc(2024, 1, 8, 3, 0)},
                   {utc(2024, 1, 8, 3, 0, 1), oMonday, false, true, {sStart}, utc(2024, 1, 15, 3, 0)},
               };
        QTest::newRow("nothing scheduled: not even the start-up look-up")
            << QList<CStep>{
                   {utc(2024, 1, 1, 2, 0), swSetup(true, 0, 0, 0, 3, 0), true, false, {}, QDateTime()},
                   {utc(2024, 3, 1, 2, 0), swSetup(true, 0, 0, 0, 3, 0), true, false, {}, QDateTime()},
                   {utc(2024, 3, 1, 2, 0), swSetup(true, 5, 0, 0, 3, 0), true, false, {}, QDateTime()},
               };
        QTest::newRow("switched off: warned once")
            << QList<CStep>{
                   {utc(2024, 1, 1, 2, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 2, 1), swSetup(false, 0, 0, 2, 3, 0), true, false, {sDisabled},
                    utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 4, 0), swSetup(false, 0, 0, 2, 3, 0), false, false, {}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 9, 4, 0), swSetup(false, 0, 0, 2, 3, 0), false, false, {}, utc(2024, 1, 1, 3, 0)},
                   // Switched on again: the schedule starts afresh.
                   {utc(2024, 1, 9, 4, 0), oMonday, false, false, {}, utc(2024, 1, 15, 3, 0)},
               };
        QTest::newRow("switched off from the start: no warning")
            << QList<CStep>{
                   {utc(2024, 1, 1, 2, 0), swSetup(false, 0, 0, 2, 3, 0), true, false, {}, QDateTime()},
               };
        QTest::newRow("a changed weekday takes effect at the next test")
            << QList<CStep>{
                   {utc(2024, 1, 1, 2, 0), oMonday, false, false, {}, utc(2024, 1, 1, 3, 0)},
                   {utc(2024, 1, 1, 2, 10), swSetup(true, 0, 0, 3, 3, 0), false, false, {}, utc(2024, 1, 2, 3, 0)},
                   {utc(2024, 1, 2, 3, 0, 1), swSetup(true, 0, 0, 3, 3, 0), false, true, {sStart},
                    utc(2024, 1, 9, 3, 0)},
               };
        QTest::newRow("yearly, parameters taken as bytes")
            << QList<CStep>{
                   {utc(2024, 1, 1, 0, 0), swSetup(true, 256 + 1, 2, 0, 0, 0), false, false, {},
                    utc(2024, 1, 2, 0, 0)},
                   {utc(2024, 1, 2, 0, 0, 1), swSetup(true, 256 + 1, 2, 0, 0, 0), false, true, {sStart},
                    utc(2025, 1, 2, 0, 0)},
               };
    }
    void schedule()
    {
        QFETCH(QList<CStep>, aSteps);
        CSwUpdateSchedule schedule;
        for (int i = 0; i < aSteps.size(); ++i) {
            const CStep &step = aSteps.at(i);
            bool bAfterRestart = step.bAfterRestart;
            QList<CLogLine> aLog;
            const bool bDue = schedule.IsSwUpdateDue(step.oSetup, step.dtNow, bAfterRestart, aLog);
            QVERIFY2(bDue == step.bWantDue, qPrintable(QStringLiteral("step %1").arg(i)));
            QStringList asLines;
            for (const CLogLine &line : aLog) {
                if (!line.sText.startsWith(QLatin1String("Next software update lock-up in ")))
                    asLines << line.sText;
            }
            QCOMPARE(asLines, step.asWantLines);
            for (const CLogLine &line : aLog)
                QCOMPARE(line.eLevel, line.sText == QLatin1String("Automatic software update is disabled")
                                          ? CLogLine::Warning
                                          : CLogLine::Debug);
            QCOMPARE(schedule.nextLookup(), step.dtWantNext.isValid() ? step.dtWantNext.toSecsSinceEpoch() : 0);
            // Only a disabled look-up drops the start-up request.
            QCOMPARE(bAfterRestart, step.oSetup.Remote() ? step.bAfterRestart : false);
        }
    }

    void recomputeForChangedSetup()
    {
        CSwUpdateSchedule schedule;
        QList<CLogLine> aLog;
        QCOMPARE(schedule.recompute(swSetup(true, 0, 0, 2, 3, 0), utc(2024, 1, 1, 2, 59), aLog), 0);
        QCOMPARE(schedule.nextLookup(), utc(2024, 1, 1, 3, 0).toSecsSinceEpoch());
        QCOMPARE(aLog.size(), 1);
        QCOMPARE(aLog.first().sText, nextLine(0, 0, 1, 0, "01.01.2024. 03:00:00"));
        aLog.clear();
        QCOMPARE(schedule.recompute(swSetup(true, 0, 5, 0, 3, 0), utc(2024, 1, 1, 2, 59), aLog), -1);
        QCOMPARE(schedule.nextLookup(), 0);
        QVERIFY(aLog.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSwUpdate)
#include "tst_swupdate.moc"
