#include "records/cvehiclerecords.h"
#include "trigger/ctriggerreason.h"
#include "trigger/ctriggerrules.h"
#include "trigger/cvehicleconditions.h"

#include <QTest>

#include <climits>

namespace {

// The one-value changes the monitor judges, then the time trigger's events.
enum EKind {
    HighPressure, CompSeal, TruckSeal, DoorLeft, DoorRight, Api, Manlid, MainMode,
    Armed, Expired, SetupChange
};

// What a row sets besides mode, switches and values, as bits; the same bits
// tell what the state holds afterwards.
constexpr int Available = 1; // high pressure available
constexpr int CanError = 2;
constexpr int ReportDuring = 4; // report during loading or discharge
constexpr int Checks = 8;       // sensor checks on
constexpr int LeftSensor = 16;
constexpr int RightSensor = 32;
constexpr int Geofencing = 64;  // enabled
constexpr int Inside = 128;     // inside the geofence
constexpr int Configured = 256; // API or manlid sensor configured
constexpr int DischargeSeen = 512;
constexpr int TimerRunning = 1024;
constexpr int Timed = 2048; // time trigger of 30 min
// The held trigger, by its reason.
constexpr int HeldHp = 1 << 12;
constexpr int HeldCompSeal = 2 << 12;
constexpr int HeldTruckSeal = 3 << 12;
constexpr int HeldTime = 4 << 12;

CTriggerSettings settingsOf(int iSituation, int iSwitches)
{
    CTriggerSettings settings;
    settings.iSwitches = iSwitches;
    settings.iDurationMinutes = (iSituation & Timed) ? 30 : 0;
    settings.bHighPressureAvailable = iSituation & Available;
    settings.bCanError = iSituation & CanError;
    settings.bReportDuringLoading = iSituation & ReportDuring;
    settings.iSensorChecks = (iSituation & Checks) ? 1 : 0;
    settings.bLeftDoorSensor = iSituation & LeftSensor;
    settings.bRightDoorSensor = iSituation & RightSensor;
    settings.bGeofencingEnabled = iSituation & Geofencing;
    settings.bInsideGeofence = iSituation & Inside;
    return settings;
}

CTriggerState stateOf(int iMode, int iSituation)
{
    CTriggerState state;
    state.iMainMode = iMode;
    state.iPendingReason = iSituation >> 12;
    state.bPending = state.iPendingReason != 0;
    state.bDischargeSeen = iSituation & DischargeSeen;
    state.bTimerRunning = iSituation & TimerRunning;
    return state;
}

int &storedOf(CTriggerState &state, EKind eKind, int iIndex)
{
    switch (eKind) {
    case HighPressure: return state.iHighPressure;
    case CompSeal: return state.aiCompSeal[iIndex];
    case TruckSeal: return state.iTruckSeal;
    case DoorLeft: return state.iCabinDoorLeft;
    case DoorRight: return state.iCabinDoorRight;
    case Api: return state.aiApi[iIndex];
    case Manlid: return state.aiManlid[iIndex];
    default: break;
    }
    return state.iMainMode;
}

// Every stored value, so a change kept in the wrong place shows.
QList<int> storedValues(const CTriggerState &state)
{
    QList<int> aiValues{state.iMainMode, state.iHighPressure, state.iTruckSeal, state.iCabinDoorLeft,
                        state.iCabinDoorRight};
    for (int i = 0; i < COMPARTMENT_COUNT; ++i)
        aiValues << state.aiCompSeal[i] << state.aiApi[i] << state.aiManlid[i];
    return aiValues;
}

// One line per step, so a whole decision compares in one go.
QStringList transcript(const CTriggerOutcome &outcome)
{
    QStringList asLines;
    for (const CTriggerStep &step : outcome.aSteps) {
        switch (step.eKind) {
        case ETriggerStep::Log: asLines << step.sText; break;
        case ETriggerStep::Emit: asLines << (step.bForced ? "emit forced" : "emit normal"); break;
        case ETriggerStep::StartTimer: asLines << QStringLiteral("start %1").arg(step.iIntervalMs); break;
        case ETriggerStep::StopTimer: asLines << "stop"; break;
        }
    }
    return asLines;
}

// What is held and whether a discharge is remembered, in the row's bits.
void checkKept(const CTriggerState &state, int iKept)
{
    QCOMPARE(state.bPending, (iKept >> 12) != 0);
    if (state.bPending)
        QCOMPARE(state.iPendingReason, iKept >> 12);
    QCOMPARE(state.bDischargeSeen, bool(iKept & DischargeSeen));
}

QStringList reported(const QString &sReason, bool bForced = false)
{
    return {"Create auto. event file, reason: \"" + sReason + "\"", bForced ? "emit forced" : "emit normal"};
}

QStringList held(const QString &sWhat, const char *pszMode)
{
    return {"Pending auto. event file transfer: " + sWhat + " ( main mode: \"MainMode" + pszMode + "\" )"};
}

const QStringList NOTHING;
const QStringList RESTART_30{"Restart FTL time trigger after emitted FTL trigger with a duration of 30 min",
                             "start 1800000"};

} // namespace

// One decision: what changes (or which time-trigger event), in which mode
// and situation, the steps it takes and what is held afterwards.
struct CRow {
    EKind eKind;
    int iIndex;
    int iMode;
    int iSituation;
    int iSwitches;
    int iOld;
    int iNew;
    QStringList asSteps;
    int iKept;
};
Q_DECLARE_METATYPE(CRow)

class TestTriggerRules : public QObject
{
    Q_OBJECT

private slots:
    // The texts no decision below reports.
    void reasonTexts()
    {
        QCOMPARE(getReasonText(0, -1), QStringLiteral("Unknown"));
        QCOMPARE(getReasonText(18, -1), QStringLiteral("Default"));
    }

    // Setup fields WM 3, global sensor 7 and 29, non-WM 1, and the level
    // gauge flags non-WM 48 to 51 as bits 0 to 3.
    void highPressureAvailable_data()
    {
        QTest::addColumn<QList<int>>("aiFields");
        QTest::addColumn<bool>("bAvailable");
        QTest::newRow("metered pump with sensor") << QList<int>{1, 1, 0, 0, 0x0} << true;
        QTest::newRow("metered pump, no sensor") << QList<int>{1, 0, 0, 0, 0x0} << false;
        QTest::newRow("sensor, no metered pump") << QList<int>{0, 1, 0, 0, 0x0} << false;
        QTest::newRow("own switch, first gauge only") << QList<int>{0, 0, 1, 1, 0x1} << true;
        QTest::newRow("own switch, setting 0") << QList<int>{0, 0, 1, 0, 0x1} << false;
        QTest::newRow("own switch, 48 false") << QList<int>{0, 0, 1, 1, 0x0} << false;
        QTest::newRow("own switch, 49 true") << QList<int>{0, 0, 1, 1, 0x3} << false;
        QTest::newRow("own switch, 50 true") << QList<int>{0, 0, 1, 1, 0x5} << false;
        QTest::newRow("own switch, 51 true") << QList<int>{0, 0, 1, 1, 0x9} << false;
        QTest::newRow("own switch, metered pump field set") << QList<int>{2, 0, 1, 1, 0x1} << false;
        QTest::newRow("nothing fitted") << QList<int>{0, 0, 0, 1, 0x1} << false;
    }
    void highPressureAvailable()
    {
        QFETCH(QList<int>, aiFields);
        QFETCH(bool, bAvailable);
        CSetGeneralWM generalWM;
        generalWM.setField(3, qint32(aiFields[0]));
        CSetGlobalSensorNonWM globalSensor;
        globalSensor.setField(7, qint32(aiFields[1]));
        globalSensor.setField(29, qint32(aiFields[2]));
        CSetGeneralNonWM generalNonWM;
        generalNonWM.setField(1, qint32(aiFields[3]));
        for (int i = 0; i < 4; ++i)
            generalNonWM.setField(48 + i, bool(aiFields[4] & (1 << i)));
        QCOMPARE(isHighPressureAvailable(generalNonWM, generalWM, globalSensor), bAvailable);
    }

    void canError_data()
    {
        QTest::addColumn<int>("iInUse"); // bit per interface
        QTest::addColumn<int>("iErrors");
        QTest::addColumn<int>("iReady");
        QTest::addColumn<bool>("bCanError");
        QTest::newRow("none in use") << 0 << 7 << 0 << false;
        QTest::newRow("all in use and ready") << 7 << 0 << 7 << false;
        QTest::newRow("in use, not ready") << 1 << 0 << 0 << true;
        QTest::newRow("in use, error") << 4 << 4 << 4 << true;
        QTest::newRow("error on an interface not in use") << 1 << 2 << 1 << false;
        QTest::newRow("one of three not ready") << 7 << 0 << 5 << true;
    }
    void canError()
    {
        QFETCH(int, iInUse);
        QFETCH(int, iErrors);
        QFETCH(int, iReady);
        QFETCH(bool, bCanError);
        CSetCanArray aSetup;
        CRunCanArray aRuntime;
        for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
            aSetup[i].setField(1, qint32((iInUse >> i) & 1));
            aRuntime[i].setField(3, bool((iErrors >> i) & 1));
            aRuntime[i].setField(4, bool((iReady >> i) & 1));
        }
        QCOMPARE(isCanError(aSetup, aRuntime), bCanError);
    }

    // Each decision: its steps, what the state holds afterwards, whether the
    // timer runs, and that a changed value is kept in its place only. For a
    // main-mode change iMode is the old mode; for the time trigger iSwitches
    // is the process of a setup change and iOld, iNew the durations.
    void decisions_data()
    {
        QTest::addColumn<CRow>("row");
        const QStringList asHpOff = reported("High pressure switched off");
        const QStringList asInto = reported("Mode change into loading or discharge");
        const QStringList asOutOf = reported("Mode change out of loading or discharge");
        const QStringList asExited = reported("Discharge mode exited (no high pressure available)");
        const int A = Available;
        const int D = Checks | LeftSensor | RightSensor;
        const int O = Checks | Configured;
        const int G = Checks | Configured | Geofencing;
        const int S = DischargeSeen;
        const auto add = [](const char *pszName, EKind eKind, int iIndex, int iMode, int iSituation, int iSwitches,
                            int iOld, int iNew, const QStringList &asSteps, int iKept) {
            QTest::newRow(pszName) << CRow{eKind, iIndex, iMode, iSituation, iSwitches, iOld, iNew, asSteps, iKept};
        };
        add("hp switched off", HighPressure, 0, 5, A, 0, 1, 0, asHpOff, 0);
        add("hp off again", HighPressure, 0, 5, A, 0, 0, 0, NOTHING, 0);
        add("hp switched on", HighPressure, 0, 5, A, 0, 0, 1, NOTHING, 0);
        add("hp not fitted", HighPressure, 0, 5, 0, 0, 1, 0, NOTHING, 0);
        add("hp CAN error", HighPressure, 0, 5, A | CanError, 0, 1, 0,
            QStringList{"Ignore high pressure switched off due to CAN error"}, 0);
        add("hp held during CalibrateFpm", HighPressure, 0, 21, A, 0, 1, 0,
            held("high pressure switched off", "CalibrateFpm"), HeldHp);
        add("hp reported during Loading when allowed", HighPressure, 0, 3, A | ReportDuring, 0, 1, 0, asHpOff, 0);
        add("hp report clears the held trigger", HighPressure, 0, 5, A | HeldCompSeal, 0, 1, 0, asHpOff, 0);

        add("seal break after a known state", CompSeal, 2, 5, 0, 0, 1, 3,
            reported("SPD comp. 2 seal breaks unexpected"), 0);
        add("seal broken at start", CompSeal, 2, 5, 0, 0, 0, 3, NOTHING, 0);
        add("seal sealed again", CompSeal, 2, 5, 0, 0, 3, 1, NOTHING, 0);
        add("seal held, replacing a held hp trigger", CompSeal, 5, 4, HeldHp, 0, 1, 3,
            held("spd compartment seal breaks unexpected for compartment 5", "Discharge"), HeldCompSeal);
        add("truck seal break", TruckSeal, 0, 5, 0, 0, 1, 3, reported("SPD truck seal breaks unexpected"), 0);
        add("truck seal held during Loading", TruckSeal, 0, 3, 0, 0, 1, 3,
            held("spd truck seal breaks unexpected", "Loading"), HeldTruckSeal);

        add("left door opened", DoorLeft, 0, 5, Checks | LeftSensor, 4, 0, 1, reported("Cabint door left opened"), 0);
        add("right door opened", DoorRight, 0, 5, Checks | RightSensor, 4, 0, 1, reported("Cabint door right opened"),
            0);
        add("door, every switch but the doors", DoorLeft, 0, 5, D, 0x7B, 0, 1, NOTHING, 0);
        add("door, sensor checks off", DoorLeft, 0, 5, LeftSensor | RightSensor, 4, 0, 1, NOTHING, 0);
        add("right door without its sensor", DoorRight, 0, 5, Checks | LeftSensor, 4, 0, 1, NOTHING, 0);
        add("door closed", DoorLeft, 0, 5, D, 4, 1, 0, NOTHING, 0);
        add("door dropped during Discharge", DoorLeft, 0, 4, D, 4, 0, 1, NOTHING, 0);

        add("api during Loading", Api, 2, 3, O, 8, 0, 1, NOTHING, 0);
        add("api inside the geofence", Api, 2, 5, G | Inside, 32, 0, 1, NOTHING, 0);
        add("api, geofencing off", Api, 2, 5, O, 32, 0, 1, NOTHING, 0);
        add("api outside the geofence while Loading, bits 3 and 5", Api, 2, 3, G, 40, 0, 1,
            reported("Api (comp. 2) outside GeoFencing opened"), 0);
        add("api outside loading and geofence", Api, 7, 5, G, 40, 0, 1,
            reported("Api (comp. 7) outside loading or discharge opened") +
                reported("Api (comp. 7) outside GeoFencing opened"),
            0);
        add("api not configured", Api, 2, 5, G & ~Configured, 40, 0, 1, NOTHING, 0);
        add("api, sensor checks off", Api, 2, 5, G & ~Checks, 40, 0, 1, NOTHING, 0);
        add("api closed", Api, 2, 5, G, 40, 1, 0, NOTHING, 0);
        add("manlid outside loading", Manlid, 5, 5, O, 16, 0, 1,
            reported("Manlid (comp. 5) outside loading or discharge opened"), 0);
        add("manlid outside the geofence", Manlid, 5, 4, G, 64, 0, 1,
            reported("Manlid (comp. 5) outside GeoFencing opened"), 0);
        add("manlid, api switches only", Manlid, 5, 5, G, 40, 0, 1, NOTHING, 0);

        add("into Loading, bit 0", MainMode, 0, 5, A, 1, 5, 3, asInto, 0);
        add("into Loading, bit 1 only", MainMode, 0, 5, A, 2, 5, 3, NOTHING, 0);
        add("out of Loading, bit 1", MainMode, 0, 3, A, 2, 3, 5, asOutOf, 0);
        add("out of CalibrateFpm, bit 1", MainMode, 0, 21, A, 2, 21, 6, asOutOf, 0);
        add("out of LoadingEnd, bit 1", MainMode, 0, 12, A, 2, 12, 5, NOTHING, 0);
        add("Loading to Discharge, bits 0 and 1", MainMode, 0, 3, A, 3, 3, 4, asInto + asOutOf, S);
        add("Status after Discharge, no high pressure", MainMode, 0, 4, S, 0, 4, 5, asExited, 0);
        add("Status after Discharge, high pressure", MainMode, 0, 4, A | S, 0, 4, 5, NOTHING, 0);
        add("Status without Discharge seen", MainMode, 0, 13, 0, 2, 13, 5, NOTHING, 0);
        add("Discharge seen survives other modes", MainMode, 0, 4, S, 0, 4, 13, NOTHING, S);
        add("held hp reported on leaving Loading", MainMode, 0, 3, A | HeldHp, 0, 3, 5,
            reported("Pending trigger from high pressure switch off"), 0);
        add("held trigger kept into Discharge", MainMode, 0, 3, A | HeldCompSeal, 0, 3, 4, NOTHING, S | HeldCompSeal);
        add("held time trigger reported unforced", MainMode, 0, 21, A | HeldTime, 0, 21, 6,
            reported("Pending trigger from the FTL time trigger"), 0);
        add("held trigger lost to the discharge exit report", MainMode, 0, 4, S | HeldTruckSeal, 0, 4, 5, asExited, 0);
        add("time trigger restarted on leaving Loading", MainMode, 0, 3, A | Timed, 0, 3, 5,
            QStringList{
                "Restart FTL time trigger with a duration of 30 min after leaving main mode: \"MainModeLoading\"",
                "start 1800000"},
            0);
        add("running time trigger left alone", MainMode, 0, 3, A | Timed | TimerRunning, 0, 3, 5, NOTHING, 0);
        add("no time trigger restart into Loading", MainMode, 0, 5, A | Timed, 0, 5, 3, NOTHING, 0);
        add("report restarts the time trigger first", MainMode, 0, 3, A | Timed, 2, 3, 5, asOutOf + RESTART_30, 0);
        add("same mode", MainMode, 0, 3, S | HeldHp | Timed, 3, 3, 3, NOTHING, S | HeldHp);

        const QStringList asForced = QStringList{"stop"} + reported("FTL time trigger", true) + RESTART_30;
        const QString sRestart =
            QStringLiteral("Stop and restart FTL time trigger after setup change with a duration of ");
        const int R = TimerRunning;
        const auto timer = [&add](const char *pszName, EKind eKind, int iMode, int iSituation, int iProcess,
                                  int iOldDuration, int iDuration, const QStringList &asSteps, int iKept) {
            add(pszName, eKind, 0, iMode, iSituation, iProcess, iOldDuration, iDuration, asSteps, iKept);
        };
        timer("armed, first after two minutes", Armed, 5, 0, 0, 0, 30,
              QStringList{"Start FTL time trigger with a duration of 30 min", "start 120000"}, 0);
        timer("armed, off", Armed, 5, 0, 0, 0, 0, NOTHING, 0);
        timer("expired in Status, forced", Expired, 5, R, 0, 0, 30, asForced, 0);
        timer("expired during Loading, held", Expired, 3, R, 0, 0, 30,
              QStringList{
                  "stop",
                  "Pending auto. event file transfer: FTl time trigger expired ( main mode: \"MainModeLoading\" )"},
              HeldTime);
        timer("expired, switched off meanwhile", Expired, 5, R, 0, 0, 0, QStringList{"stop"}, 0);
        timer("setup, first read at start", SetupChange, 5, R, 0, 0, 30, NOTHING, 0);
        timer("setup, duration unchanged", SetupChange, 5, R, 812, 30, 30, NOTHING, 0);
        timer("setup, 30 to 0 stops", SetupChange, 5, R, 812, 30, 0,
              QStringList{"stop", "FTL time trigger not active any longer"}, 0);
        timer("setup, 0 to 45 starts", SetupChange, 5, R, 812, 0, 45,
              QStringList{"stop", sRestart + "45 min", "start 2700000"}, 0);
        timer("setup, beyond the timer", SetupChange, 5, R, 812, 30, 100000,
              QStringList{"stop", sRestart + "100000 min", QStringLiteral("start %1").arg(INT_MAX)}, 0);
    }
    void decisions()
    {
        QFETCH(CRow, row);
        const auto [eKind, iIndex, iMode, iSituation, iSwitches, iOld, iNew, asSteps, iKept] = row;
        const bool bTimer = eKind >= Armed;
        CTriggerState state = stateOf(iMode, iSituation);
        CTriggerSettings settings = settingsOf(iSituation, iSwitches);
        if (bTimer)
            settings.iDurationMinutes = iNew;
        else
            storedOf(state, eKind, iIndex) = iOld;
        const bool bConfigured = iSituation & Configured;
        CTriggerOutcome outcome;
        switch (eKind) {
        case HighPressure: outcome = highPressureChanged(state, settings, iNew); break;
        case CompSeal: outcome = compSealChanged(state, settings, iIndex, iNew); break;
        case TruckSeal: outcome = truckSealChanged(state, settings, iNew); break;
        case DoorLeft: outcome = cabinDoorLeftChanged(state, settings, iNew); break;
        case DoorRight: outcome = cabinDoorRightChanged(state, settings, iNew); break;
        case Api: outcome = apiChanged(state, settings, iIndex, bConfigured, iNew); break;
        case Manlid: outcome = manlidChanged(state, settings, iIndex, bConfigured, iNew); break;
        case MainMode: outcome = mainModeChanged(state, settings, iNew); break;
        case Armed: outcome = timeTriggerArmed(state, settings); break;
        case Expired: outcome = timeTriggerExpired(state, settings); break;
        case SetupChange: outcome = timeTriggerSetupChanged(state, iSwitches, iOld, iNew); break;
        }
        QCOMPARE(transcript(outcome), asSteps);
        checkKept(outcome.state, iKept);
        // The timer runs from its last start until a stop.
        bool bRunning = iSituation & TimerRunning;
        for (const QString &sStep : asSteps)
            bRunning = sStep.startsWith("start ") || (bRunning && sStep != "stop");
        QCOMPARE(outcome.state.bTimerRunning, bRunning);
        if (bTimer)
            return;
        storedOf(state, eKind, iIndex) = iNew;
        QCOMPARE(storedValues(outcome.state), storedValues(state));
    }
};

QTEST_GUILESS_MAIN(TestTriggerRules)
#include "tst_triggerrules.moc"
