#pragma once

#include <QString>
#include <QVector>

#include <array>

// The compartments the monitor watches, whatever the vehicle has fitted.
constexpr int COMPARTMENT_COUNT = 24;

// The nominal time from start to the first time trigger.
constexpr int FIRST_TIME_TRIGGER_MS = 120000;

// Trigger switch bits of the general non-WM setup.
enum ETriggerSwitch {
    SwitchModeIntoLoading = 1,
    SwitchModeOutOfLoading = 2,
    SwitchCabinDoors = 4,
    SwitchApiOutsideLoading = 8,
    SwitchManlidOutsideLoading = 16,
    SwitchApiOutsideGeofence = 32,
    SwitchManlidOutsideGeofence = 64
};

// What the monitor last saw of the vehicle and what it holds back. Seal,
// door, API and manlid states are compared only as the service gives them.
struct CTriggerState {
    bool bPending = false;
    int iPendingReason = 0;
    bool bDischargeSeen = false;
    bool bTimerRunning = false;
    int iMainMode = 0;
    int iHighPressure = 0;
    std::array<int, COMPARTMENT_COUNT> aiCompSeal{};
    int iTruckSeal = 0;
    int iCabinDoorLeft = 0;
    int iCabinDoorRight = 0;
    std::array<int, COMPARTMENT_COUNT> aiApi{};
    std::array<int, COMPARTMENT_COUNT> aiManlid{};
};

// The settings and fittings a decision depends on, as the setups and the
// geofencing records last gave them.
struct CTriggerSettings {
    int iDurationMinutes = 0;      // time trigger period; off when <= 0
    int iSwitches = 0;             // ETriggerSwitch bits
    bool bReportDuringLoading = false;
    int iSensorChecks = 0;         // doors, API and manlids are watched when > 0
    bool bHighPressureAvailable = false;
    bool bCanError = false;
    bool bLeftDoorSensor = false;
    bool bRightDoorSensor = false;
    bool bGeofencingEnabled = false;
    bool bInsideGeofence = false;
};

enum class ETriggerStep {
    Log,        // a warning with sText
    Emit,       // sigStartEventFile(bForced) for iReason
    StartTimer, // (re)start the time trigger with iIntervalMs, nominal
    StopTimer
};

struct CTriggerStep {
    ETriggerStep eKind = ETriggerStep::Log;
    QString sText;
    bool bForced = false;
    int iReason = 0;
    int iIntervalMs = 0;
};

// What to do, in order, and the state to keep afterwards.
struct CTriggerOutcome {
    CTriggerState state;
    QVector<CTriggerStep> aSteps;
};

// The time trigger period in timer milliseconds, capped at the timer's range.
int timeTriggerIntervalMs(int iDurationMinutes);

// Each function judges one new value against the state: nothing happens
// when the value equals the stored one; otherwise the value is stored.
CTriggerOutcome highPressureChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew);
CTriggerOutcome mainModeChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew);
CTriggerOutcome compSealChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex, int iNew);
CTriggerOutcome truckSealChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew);
CTriggerOutcome cabinDoorLeftChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew);
CTriggerOutcome cabinDoorRightChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew);
CTriggerOutcome apiChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex,
                           bool bConfigured, int iNew);
CTriggerOutcome manlidChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex,
                              bool bConfigured, int iNew);

// The time trigger: armed two minutes after start, expired, or re-timed
// by a setup change (never by the first read, process 0).
CTriggerOutcome timeTriggerArmed(const CTriggerState &state, const CTriggerSettings &settings);
CTriggerOutcome timeTriggerExpired(const CTriggerState &state, const CTriggerSettings &settings);
CTriggerOutcome timeTriggerSetupChanged(const CTriggerState &state, int iProcess, int iOldDuration,
                                        int iNewDuration);
