#include "controller/clogline.h"
#include "trigger/ctriggerrules.h"

#include "records/cmainmode.h"
#include "trigger/ctriggerreason.h"

#include <limits>

namespace {

QString minutesText(int iMinutes)
{
    return QString::number(iMinutes) + QStringLiteral(" min");
}

// "( main mode: "MainModeLoading" )"
QString modeSuffix(int iMainMode)
{
    return QStringLiteral("( main mode: ") + quotedText(getMainModeText(iMainMode)) + QStringLiteral(" )");
}

QString pendingText(const QString &sWhat, int iMainMode)
{
    return QStringLiteral("Pending auto. event file transfer: ") + sWhat + QLatin1Char(' ') + modeSuffix(iMainMode);
}

// Collects the steps of one decision and keeps the state they leave behind.
class CDecision
{
public:
    CDecision(const CTriggerState &state, const CTriggerSettings &settings) : m_settings(settings)
    {
        m_outcome.state = state;
    }

    CTriggerState &state() { return m_outcome.state; }
    const CTriggerSettings &settings() const { return m_settings; }
    CTriggerOutcome outcome() const { return m_outcome; }

    bool timeTriggerActive() const { return m_settings.iDurationMinutes > 0; }
    bool inLoadingOrDischarge() const { return isLoadingOrDischarge(m_outcome.state.iMainMode); }
    // Events of the loading or discharge itself wait until it is over.
    bool holdsBack() const { return !m_settings.bReportDuringLoading && inLoadingOrDischarge(); }
    bool switchOn(int iSwitch) const { return (m_settings.iSwitches & iSwitch) != 0; }

    void log(const QString &sText) { add({ETriggerStep::Log, sText, false, 0, 0}); }
    void startTimer(int iIntervalMs)
    {
        add({ETriggerStep::StartTimer, QString(), false, 0, iIntervalMs});
        m_outcome.state.bTimerRunning = true;
    }
    void stopTimer()
    {
        add({ETriggerStep::StopTimer, QString(), false, 0, 0});
        m_outcome.state.bTimerRunning = false;
    }

    // Every report restarts the time trigger, so the next one comes a full
    // period after the last file of any reason.
    void report(int iReason, int iCompartment)
    {
        m_outcome.state.bPending = false;
        log(QStringLiteral("Create auto. event file, reason: ") + quotedText(getReasonText(iReason, iCompartment)));
        add({ETriggerStep::Emit, QString(), iReason == ReasonTimeTrigger, iReason, 0});
        if (!timeTriggerActive())
            return;
        log(QStringLiteral("Restart FTL time trigger after emitted FTL trigger with a duration of ") +
            minutesText(m_settings.iDurationMinutes));
        startTimer(timeTriggerIntervalMs(m_settings.iDurationMinutes));
    }

    // Only one trigger is held; a later one replaces it.
    void hold(int iReason, const QString &sText)
    {
        m_outcome.state.bPending = true;
        m_outcome.state.iPendingReason = iReason;
        log(sText);
    }

private:
    void add(const CTriggerStep &step) { m_outcome.aSteps.append(step); }

    const CTriggerSettings &m_settings;
    CTriggerOutcome m_outcome;
};

// A seal read as broken (3) after a known state (not 0) was broken on the
// road, not found broken at start.
constexpr int SEAL_BROKEN = 3;
constexpr int SEAL_UNKNOWN = 0;
constexpr int OPENED = 1;

void judgeSealBreak(CDecision &decision, int iStored, int iNew, int iPendingReason, const QString &sPendingWhat,
                    int iReason, int iCompartment)
{
    if (iNew != SEAL_BROKEN || iStored == SEAL_UNKNOWN)
        return;
    if (decision.holdsBack())
        decision.hold(iPendingReason, pendingText(sPendingWhat, decision.state().iMainMode));
    else
        decision.report(iReason, iCompartment);
}

// A door opening during loading or discharge is part of the job: dropped,
// not held.
void judgeCabinDoor(CDecision &decision, int iNew, bool bSensor, int iReason)
{
    if (!decision.switchOn(SwitchCabinDoors) || decision.holdsBack())
        return;
    if (iNew == OPENED && decision.settings().iSensorChecks > 0 && bSensor)
        decision.report(iReason, -1);
}

struct COpeningRules {
    int iOutsideLoadingSwitch;
    int iOutsideLoadingReason;
    int iOutsideGeofenceSwitch;
    int iOutsideGeofenceReason;
};

void judgeOpening(CDecision &decision, const COpeningRules &rules, int iIndex, bool bConfigured, int iNew)
{
    if (iNew != OPENED || decision.settings().iSensorChecks <= 0 || !bConfigured)
        return;
    if (decision.switchOn(rules.iOutsideLoadingSwitch) && !decision.inLoadingOrDischarge())
        decision.report(rules.iOutsideLoadingReason, iIndex);
    const CTriggerSettings &settings = decision.settings();
    if (decision.switchOn(rules.iOutsideGeofenceSwitch) && settings.bGeofencingEnabled && !settings.bInsideGeofence)
        decision.report(rules.iOutsideGeofenceReason, iIndex);
}

bool validCompartment(int iIndex)
{
    return iIndex >= 0 && iIndex < COMPARTMENT_COUNT;
}

using CCompartmentStates = std::array<int, COMPARTMENT_COUNT>;

// Where one compartment's state is kept in the state.
auto compartmentOf(CCompartmentStates CTriggerState::*paiStates, int iIndex)
{
    return [paiStates, iIndex](CTriggerState &state) -> int & { return (state.*paiStates)[iIndex]; };
}

auto memberOf(int CTriggerState::*piState)
{
    return [piState](CTriggerState &state) -> int & { return state.*piState; };
}

// A repeated value changes nothing; a new one is judged, then kept.
template <typename FStored, typename FJudge>
CTriggerOutcome judgeChange(const CTriggerState &state, const CTriggerSettings &settings, int iNew, FStored stored,
                            FJudge judge)
{
    CDecision decision(state, settings);
    if (iNew == stored(decision.state()))
        return decision.outcome();
    judge(decision);
    stored(decision.state()) = iNew;
    return decision.outcome();
}

template <typename FJudge>
CTriggerOutcome judgeChange(const CTriggerState &state, const CTriggerSettings &settings, int iNew,
                            int CTriggerState::*piState, FJudge judge)
{
    return judgeChange(state, settings, iNew, memberOf(piState), judge);
}

CTriggerOutcome openingChanged(const CTriggerState &state, const CTriggerSettings &settings,
                               CCompartmentStates CTriggerState::*paiStates, const COpeningRules &rules, int iIndex,
                               bool bConfigured, int iNew)
{
    if (!validCompartment(iIndex))
        return {state, {}};
    return judgeChange(state, settings, iNew, compartmentOf(paiStates, iIndex), [&](CDecision &decision) {
        judgeOpening(decision, rules, iIndex, bConfigured, iNew);
    });
}

} // namespace

int timeTriggerIntervalMs(int iDurationMinutes)
{
    const qint64 llMs = qint64(iDurationMinutes) * 60000;
    if (llMs > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return llMs < 0 ? 0 : int(llMs);
}

CTriggerOutcome highPressureChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew)
{
    return judgeChange(state, settings, iNew, &CTriggerState::iHighPressure, [&](CDecision &decision) {
        if (iNew != 0 || !settings.bHighPressureAvailable)
            return;
        if (settings.bCanError)
            decision.log(QStringLiteral("Ignore high pressure switched off due to CAN error"));
        else if (decision.holdsBack())
            decision.hold(ReasonPendingHighPressure,
                          pendingText(QStringLiteral("high pressure switched off"), state.iMainMode));
        else
            decision.report(ReasonHighPressureOff, -1);
    });
}

CTriggerOutcome mainModeChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew)
{
    // The stored mode stays the old one until every step is judged.
    return judgeChange(state, settings, iNew, &CTriggerState::iMainMode, [&](CDecision &decision) {
        const int iOld = state.iMainMode;
        if (iNew == MainModeStatus) {
            if (decision.state().bDischargeSeen && !settings.bHighPressureAvailable)
                decision.report(ReasonDischargeExited, -1);
            decision.state().bDischargeSeen = false;
        } else if (iNew == MainModeDischarge) {
            decision.state().bDischargeSeen = true;
        }
        const bool bNewInLoading = isLoadingOrDischarge(iNew);
        if (decision.switchOn(SwitchModeIntoLoading) && bNewInLoading)
            decision.report(ReasonModeIntoLoading, -1);
        if (decision.switchOn(SwitchModeOutOfLoading) && isLoadingOrDischarge(iOld))
            decision.report(ReasonModeOutOfLoading, -1);
        if (decision.timeTriggerActive() && !decision.state().bTimerRunning && !bNewInLoading) {
            decision.log(QStringLiteral("Restart FTL time trigger with a duration of ") +
                         minutesText(settings.iDurationMinutes) + QStringLiteral(" after leaving main mode: ") +
                         quotedText(getMainModeText(iOld)));
            decision.startTimer(timeTriggerIntervalMs(settings.iDurationMinutes));
        }
        if (decision.state().bPending && !bNewInLoading)
            decision.report(decision.state().iPendingReason, -1);
    });
}

CTriggerOutcome compSealChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex, int iNew)
{
    if (!validCompartment(iIndex))
        return {state, {}};
    const QString sPendingWhat =
        QStringLiteral("spd compartment seal breaks unexpected for compartment ") + QString::number(iIndex);
    return judgeChange(state, settings, iNew, compartmentOf(&CTriggerState::aiCompSeal, iIndex),
                       [&](CDecision &decision) {
                           judgeSealBreak(decision, state.aiCompSeal[iIndex], iNew, ReasonPendingCompSeal,
                                          sPendingWhat, ReasonCompSealBreak, iIndex);
                       });
}

CTriggerOutcome truckSealChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew)
{
    return judgeChange(state, settings, iNew, &CTriggerState::iTruckSeal, [&](CDecision &decision) {
        judgeSealBreak(decision, state.iTruckSeal, iNew, ReasonPendingTruckSeal,
                       QStringLiteral("spd truck seal breaks unexpected"), ReasonTruckSealBreak, -1);
    });
}

CTriggerOutcome cabinDoorLeftChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew)
{
    return judgeChange(state, settings, iNew, &CTriggerState::iCabinDoorLeft, [&](CDecision &decision) {
        judgeCabinDoor(decision, iNew, settings.bLeftDoorSensor, ReasonCabinDoorLeft);
    });
}

CTriggerOutcome cabinDoorRightChanged(const CTriggerState &state, const CTriggerSettings &settings, int iNew)
{
    return judgeChange(state, settings, iNew, &CTriggerState::iCabinDoorRight, [&](CDecision &decision) {
        judgeCabinDoor(decision, iNew, settings.bRightDoorSensor, ReasonCabinDoorRight);
    });
}

CTriggerOutcome apiChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex,
                           bool bConfigured, int iNew)
{
    static const COpeningRules rules{SwitchApiOutsideLoading, ReasonApiOutsideLoading, SwitchApiOutsideGeofence,
                                     ReasonApiOutsideGeofence};
    return openingChanged(state, settings, &CTriggerState::aiApi, rules, iIndex, bConfigured, iNew);
}

CTriggerOutcome manlidChanged(const CTriggerState &state, const CTriggerSettings &settings, int iIndex,
                              bool bConfigured, int iNew)
{
    static const COpeningRules rules{SwitchManlidOutsideLoading, ReasonManlidOutsideLoading,
                                     SwitchManlidOutsideGeofence, ReasonManlidOutsideGeofence};
    return openingChanged(state, settings, &CTriggerState::aiManlid, rules, iIndex, bConfigured, iNew);
}

CTriggerOutcome timeTriggerArmed(const CTriggerState &state, const CTriggerSettings &settings)
{
    CDecision decision(state, settings);
    if (!decision.timeTriggerActive())
        return decision.outcome();
    decision.log(QStringLiteral("Start FTL time trigger with a duration of ") +
                 minutesText(settings.iDurationMinutes));
    decision.startTimer(FIRST_TIME_TRIGGER_MS);
    return decision.outcome();
}

CTriggerOutcome timeTriggerExpired(const CTriggerState &state, const CTriggerSettings &settings)
{
    CDecision decision(state, settings);
    decision.stopTimer();
    if (!decision.timeTriggerActive())
        return decision.outcome();
    // Held, the timer stays stopped until a report or the end of the job
    // starts it again.
    if (decision.holdsBack())
        decision.hold(ReasonPendingTimeTrigger,
                      pendingText(QStringLiteral("FTl time trigger expired"), state.iMainMode));
    else
        decision.report(ReasonTimeTrigger, -1);
    return decision.outcome();
}

CTriggerOutcome timeTriggerSetupChanged(const CTriggerState &state, int iProcess, int iOldDuration,
                                        int iNewDuration)
{
    CTriggerSettings settings;
    settings.iDurationMinutes = iNewDuration;
    CDecision decision(state, settings);
    if (iProcess == 0 || iNewDuration == iOldDuration)
        return decision.outcome();
    decision.stopTimer();
    if (iNewDuration < 1) {
        decision.log(QStringLiteral("FTL time trigger not active any longer"));
        return decision.outcome();
    }
    decision.log(QStringLiteral("Stop and restart FTL time trigger after setup change with a duration of ") +
                 minutesText(iNewDuration));
    decision.startTimer(timeTriggerIntervalMs(iNewDuration));
    return decision.outcome();
}
