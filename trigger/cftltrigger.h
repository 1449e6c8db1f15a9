#pragma once

#include "bus/ccalls.h"
#include "records/cvehiclerecords.h"
#include "trigger/ctriggerrules.h"
#include "trigger/cvehicleconditions.h"

#include <QObject>

#include <array>

class ComVelkorTankoraSetupInterface;
class ComVelkorTankoraRuntimeInterface;
class QTimer;

// Watches the vehicle's setup and runtime records and asks for an automatic
// event file when something the back office must hear about happens: high
// pressure switched off, seals broken on the road, leaving discharge, mode
// changes, doors, API valves and manlids opened in the wrong place or mode,
// and the periodic time trigger. What happens during loading or discharge
// is reported at once or held until the job is over, as the setup says.
class CFtlTrigger : public QObject
{
    Q_OBJECT

public:
    explicit CFtlTrigger(qint64 llOwnPid, QObject *pParent = nullptr);

    // Called once right after construction. The proxies are not owned;
    // either may be missing, the monitor then watches what it has.
    void init(ComVelkorTankoraSetupInterface *pDataSetup, ComVelkorTankoraRuntimeInterface *pDataRuntime);

signals:
    // bForced only for a time trigger reported as it expires.
    void sigStartEventFile(bool bForced);

public slots:
    void onTimeTriggerTimeout();
    void onSigSetupCan(int iProcess, int iCanIdx);
    void onSigSetupCompartmentSensorNonWM(int iProcessID, int iCompIdx);
    void onSigSetupGeneralNonWM(int iProcessID);
    void onSigSetupGeneralWM(int iProcessID);
    void onSigSetupGeoFencing(int iProcessID);
    void onSigSetupGlobalSensorNonWM(int iProcessID);
    void onSigRuntimeCan(int iProcess, int iCanIdx);
    void onSigRuntimeCompNonWM(int iProcess, int iCompIdx);
    void onSigRuntimeCompSensorNonWM(int iProcess, int iCompIdx);
    void onSigRuntimeGeneralNonWM(int iProcess);
    void onSigRuntimeGeoFencing(int iProcess);
    void onSigRuntimeTruck(int iProcess);
    void onSigRuntimeTruckSensorNonWM(int iProcess);

private:
    void connectSetupSignals();
    void connectRuntimeSignals();
    void readInitialState();

    bool setupReady(int iProcess) const;
    bool runtimeReady(int iProcess) const;
    // Missing records of compartments the vehicle does not have are quiet.
    ENullLog compartmentNullLog(int iCompIdx) const;

    CTriggerState currentState() const;
    CTriggerSettings currentSettings() const;
    // Keeps the new state and carries out the steps in order.
    void apply(const CTriggerOutcome &outcome);

    CBusCalls m_oCalls;
    ComVelkorTankoraSetupInterface *m_pDataSetup = nullptr;
    ComVelkorTankoraRuntimeInterface *m_pDataRuntime = nullptr;
    QTimer *m_pTimeTriggerTimer = nullptr;

    // Pending trigger, discharge seen and the last states seen.
    CTriggerState m_oState;

    CSetCanArray m_aSetCan;
    CSetGeneralNonWM m_oSetGeneralNonWM;
    CSetGeneralWM m_oSetGeneralWM;
    CSetGlobalSensorNonWM m_oSetGlobalSensorNonWM;
    CRunCanArray m_aRunCan;
    bool m_bGeoFencingEnabled = false;
    bool m_bInsideGeofence = false;
    std::array<int, COMPARTMENT_COUNT> m_aiApiConfigured{};
    std::array<int, COMPARTMENT_COUNT> m_aiManlidConfigured{};
};
