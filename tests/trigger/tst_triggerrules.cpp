#include "records/cvehiclerecords.h"
#include "tests/support/ctable.h"
#include "trigger/ctriggerreason.h"
#include "trigger/ctriggerrules.h"
#include "trigger/cvehicleconditions.h"

#include <QTest>

#include <functional>

namespace
{

// In "seen,held=2": held gives 2, seen gives 1, a word not there 0.
int wordValue(const QString &sWords, const char *pszWord)
{
    for (const QString &s : sWords.split(',')) {
        if (s.section('=', 0, 0) == QLatin1String(pszWord))
            return s.contains('=') ? s.section('=', 1).toInt() : 1;
    }
    return 0;
}

int *storedOf(CTriggerState &state, const QString &sWhat, int iIndex)
{
    const QHash<QString, int *> hStored = {{"hp", &state.iHighPressure},        {"truckseal", &state.iTruckSeal},
                                           {"doorleft", &state.iCabinDoorLeft}, {"doorright", &state.iCabinDoorRight},
                                           {"mode", &state.iMainMode},          {"compseal", &state.aiCompSeal[iIndex]},
                                           {"api", &state.aiApi[iIndex]},       {"manlid", &state.aiManlid[iIndex]}};
    return hStored.value(sWhat);
}

// The steps in the data file's words.
QString stepsText(const CTriggerOutcome &outcome)
{
    QStringList asSteps;
    for (const CTriggerStep &step : outcome.aSteps) {
        if (step.eKind == ETriggerStep::Log)
            asSteps << "log " + step.sText;
        else if (step.eKind == ETriggerStep::Emit)
            asSteps << (step.bForced ? "emit forced" : "emit");
        else
            asSteps << (step.eKind == ETriggerStep::StopTimer ? "stop" : "start " + QString::number(step.iIntervalMs));
    }
    return asSteps.join("; ");
}

} // namespace

class TestTriggerRules : public QObject
{
    Q_OBJECT

  private slots:
    // Each decision: its steps, what is held afterwards, whether the timer
    // runs, and that a changed value is kept in its place only.
    TABLE_TEST(decisions, "decisions.tsv")
    {
        QCOMPARE(row.size(), 9);
        const QString sWhat = row[0], sIn = row[3], sKept = row[8];
        const int iIndex = row[1].toInt(), iOld = row[5].toInt(), iNew = row[6].toInt();
        const bool bTimer = sWhat == "armed" || sWhat == "expired" || sWhat == "setup";
        CTriggerSettings settings;
        settings.iSwitches = row[4].toInt();
        settings.iDurationMinutes = bTimer ? iNew : wordValue(sIn, "timed") * 30;
        settings.bHighPressureAvailable = wordValue(sIn, "hp");
        settings.bCanError = wordValue(sIn, "canerr");
        settings.bReportDuringLoading = wordValue(sIn, "during");
        settings.iSensorChecks = wordValue(sIn, "checks");
        settings.bLeftDoorSensor = wordValue(sIn, "left");
        settings.bRightDoorSensor = wordValue(sIn, "right");
        settings.bGeofencingEnabled = wordValue(sIn, "geo");
        settings.bInsideGeofence = wordValue(sIn, "inside");
        CTriggerState state;
        state.iMainMode = row[2].toInt();
        state.iPendingReason = wordValue(sIn, "held");
        state.bPending = state.iPendingReason != 0;
        state.bDischargeSeen = wordValue(sIn, "seen");
        state.bTimerRunning = wordValue(sIn, "running");
        QVERIFY2(bTimer || storedOf(state, sWhat, iIndex), qPrintable(sWhat));
        if (!bTimer)
            *storedOf(state, sWhat, iIndex) = iOld;
        const bool bConf = wordValue(sIn, "conf");
        const QHash<QString, std::function<CTriggerOutcome()>> hDecide = {
            {"hp", [&] { return highPressureChanged(state, settings, iNew); }},
            {"compseal", [&] { return compSealChanged(state, settings, iIndex, iNew); }},
            {"truckseal", [&] { return truckSealChanged(state, settings, iNew); }},
            {"doorleft", [&] { return cabinDoorLeftChanged(state, settings, iNew); }},
            {"doorright", [&] { return cabinDoorRightChanged(state, settings, iNew); }},
            {"api", [&] { return apiChanged(state, settings, iIndex, bConf, iNew); }},
            {"manlid", [&] { return manlidChanged(state, settings, iIndex, bConf, iNew); }},
            {"mode", [&] { return mainModeChanged(state, settings, iNew); }},
            {"armed", [&] { return timeTriggerArmed(state, settings); }},
            {"expired", [&] { return timeTriggerExpired(state, settings); }},
            {"setup", [&] { return timeTriggerSetupChanged(state, iIndex, iOld, iNew); }}};
        const CTriggerOutcome outcome = hDecide[sWhat]();
        QCOMPARE(stepsText(outcome), row[7]);
        QCOMPARE(outcome.state.bPending ? outcome.state.iPendingReason : 0, wordValue(sKept, "held"));
        QCOMPARE(outcome.state.bDischargeSeen, bool(wordValue(sKept, "seen")));
        // The timer runs from its last start until a stop.
        bool bRunning = state.bTimerRunning;
        for (const QString &sStep : row[7].split("; "))
            bRunning = sStep.startsWith("start ") || (bRunning && sStep != "stop");
        QCOMPARE(outcome.state.bTimerRunning, bRunning);
        if (!bTimer)
            *storedOf(state, sWhat, iIndex) = iNew;
        // Every stored value, so a change kept in the wrong place shows.
        const CTriggerState &kept = outcome.state;
        QCOMPARE(QList<int>(
                     {kept.iMainMode, kept.iHighPressure, kept.iTruckSeal, kept.iCabinDoorLeft, kept.iCabinDoorRight}),
                 QList<int>({state.iMainMode, state.iHighPressure, state.iTruckSeal, state.iCabinDoorLeft,
                             state.iCabinDoorRight}));
        QVERIFY(kept.aiCompSeal == state.aiCompSeal && kept.aiApi == state.aiApi && kept.aiManlid == state.aiManlid);
    }

    // High pressure available, from the setup fields; a CAN error, from the
    // CAN setups and runtimes.
    TABLE_TEST(vehicleConditions, "decisions.tsv")
    {
        const auto digit = [&row](int iColumn, int i) { return row[iColumn].mid(i, 1).toInt(); };
        CSetGeneralWM generalWM;
        CSetGlobalSensorNonWM globalSensor;
        CSetGeneralNonWM generalNonWM;
        CSetCanArray aSetup;
        CRunCanArray aRuntime;
        bool bResult = false;
        if (row[0] == "available") {
            generalWM.setField(3, qint32(row[1].toInt()));
            globalSensor.setField(7, qint32(row[2].toInt()));
            globalSensor.setField(29, qint32(row[3].toInt()));
            generalNonWM.setField(1, qint32(row[4].toInt()));
            for (int i = 0; i < 4; ++i)
                generalNonWM.setField(48 + i, bool(digit(5, i)));
            bResult = isHighPressureAvailable(generalNonWM, generalWM, globalSensor);
        } else {
            for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
                aSetup[i].setField(1, qint32(digit(1, i)));
                aRuntime[i].setField(3, bool(digit(2, i)));
                aRuntime[i].setField(4, bool(digit(3, i)));
            }
            bResult = isCanError(aSetup, aRuntime);
        }
        QCOMPARE(QString(bResult ? "yes" : "no"), row.last());
    }

    // The texts no decision reports.
    void reasonTexts()
    {
        QCOMPARE(getReasonText(0, -1), QStringLiteral("Unknown"));
        QCOMPARE(getReasonText(18, -1), QStringLiteral("Default"));
    }
};

QTEST_GUILESS_MAIN(TestTriggerRules)
#include "tst_triggerrules.moc"
