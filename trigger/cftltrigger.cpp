#include "trigger/cftltrigger.h"

#include "app/cclock.h"
#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"

#include <QTimer>

namespace
{

bool validIndex(int iIndex, int iCount)
{
    return iIndex >= 0 && iIndex < iCount;
}

// "getSetupCan(1)": the operation as the null-reply line names it.
QString indexedOperation(const char *pszOperation, int iIndex)
{
    // Written as the log stream spaces it: "getSetupCan( 1 )".
    return QLatin1String(pszOperation) + QStringLiteral("( ") + QString::number(iIndex) + QStringLiteral(" )");
}

} // namespace

CFtlTrigger::CFtlTrigger(qint64 llOwnPid, QObject *pParent)
    : QObject(pParent), m_oCalls("CFtlTrigger", llOwnPid), m_pTimeTriggerTimer(new QTimer(this))
{
    m_pTimeTriggerTimer->setObjectName(QStringLiteral("FtlTimeTrigger"));
    m_pTimeTriggerTimer->setSingleShot(true);
}

void CFtlTrigger::init(ComVelkorTankoraSetupInterface *pDataSetup, ComVelkorTankoraRuntimeInterface *pDataRuntime)
{
    m_pDataSetup = pDataSetup;
    m_pDataRuntime = pDataRuntime;
    if (!m_pDataSetup)
        m_oCalls.warning(__LINE__, QStringLiteral("dataSetup is NULL"));
    else
        connectSetupSignals();
    if (!m_pDataRuntime)
        m_oCalls.warning(__LINE__, QStringLiteral("dataRuntime is NULL"));
    else
        connectRuntimeSignals();

    readInitialState();

    connect(m_pTimeTriggerTimer, &QTimer::timeout, this, &CFtlTrigger::onTimeTriggerTimeout);
    apply(timeTriggerArmed(currentState(), currentSettings()));
}

void CFtlTrigger::connectSetupSignals()
{
    using CSetup = ComVelkorTankoraSetupInterface;
    connect(m_pDataSetup, &CSetup::sigSetupCan, this, &CFtlTrigger::onSigSetupCan);
    connect(m_pDataSetup, &CSetup::sigSetupCompartmentSensorNonWM, this,
            &CFtlTrigger::onSigSetupCompartmentSensorNonWM);
    connect(m_pDataSetup, &CSetup::sigSetupGeneralNonWM, this, &CFtlTrigger::onSigSetupGeneralNonWM);
    connect(m_pDataSetup, &CSetup::sigSetupGeneralWM, this, &CFtlTrigger::onSigSetupGeneralWM);
    connect(m_pDataSetup, &CSetup::sigSetupGeoFencing, this, &CFtlTrigger::onSigSetupGeoFencing);
    connect(m_pDataSetup, &CSetup::sigSetupGlobalSensorNonWM, this, &CFtlTrigger::onSigSetupGlobalSensorNonWM);
}

void CFtlTrigger::connectRuntimeSignals()
{
    using CRuntime = ComVelkorTankoraRuntimeInterface;
    connect(m_pDataRuntime, &CRuntime::sigRuntimeCan, this, &CFtlTrigger::onSigRuntimeCan);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeCompNonWM, this, &CFtlTrigger::onSigRuntimeCompNonWM);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeCompSensorNonWM, this, &CFtlTrigger::onSigRuntimeCompSensorNonWM);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeGeneralNonWM, this, &CFtlTrigger::onSigRuntimeGeneralNonWM);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeGeoFencing, this, &CFtlTrigger::onSigRuntimeGeoFencing);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeTruck, this, &CFtlTrigger::onSigRuntimeTruck);
    connect(m_pDataRuntime, &CRuntime::sigRuntimeTruckSensorNonWM, this, &CFtlTrigger::onSigRuntimeTruckSensorNonWM);
}

// The first reads judge like any later change, so a door already open at
// start is reported.
void CFtlTrigger::readInitialState()
{
    onSigSetupGeneralNonWM(0);
    onSigSetupGeneralWM(0);
    onSigSetupGeoFencing(0);
    onSigSetupGlobalSensorNonWM(0);
    onSigRuntimeGeneralNonWM(0);
    onSigRuntimeGeoFencing(0);
    onSigRuntimeTruck(0);
    onSigRuntimeTruckSensorNonWM(0);
    for (int i = 0; i < COMPARTMENT_COUNT; ++i) {
        onSigSetupCompartmentSensorNonWM(0, i);
        onSigRuntimeCompNonWM(0, i);
        onSigRuntimeCompSensorNonWM(0, i);
    }
    for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
        onSigSetupCan(0, i);
        onSigRuntimeCan(0, i);
    }
}

bool CFtlTrigger::setupReady(int iProcess) const
{
    return m_pDataSetup && !m_oCalls.isOwn(iProcess);
}

bool CFtlTrigger::runtimeReady(int iProcess) const
{
    return m_pDataRuntime && !m_oCalls.isOwn(iProcess);
}

ENullLog CFtlTrigger::compartmentNullLog(int iCompIdx) const
{
    return iCompIdx < m_oSetGeneralWM.iCompartmentCount() ? ENullLog::Warning : ENullLog::Debug;
}

CTriggerState CFtlTrigger::currentState() const
{
    CTriggerState state = m_oState;
    state.bTimerRunning = m_pTimeTriggerTimer->isActive();
    return state;
}

CTriggerSettings CFtlTrigger::currentSettings() const
{
    CTriggerSettings settings;
    settings.iDurationMinutes = m_oSetGeneralNonWM.timeTriggerMinutes();
    settings.iSwitches = m_oSetGeneralNonWM.triggerSwitches();
    settings.bReportDuringLoading = m_oSetGeneralNonWM.reportDuringLoading();
    settings.iSensorChecks = m_oSetGeneralNonWM.sensorChecks();
    settings.bHighPressureAvailable =
        isHighPressureAvailable(m_oSetGeneralNonWM, m_oSetGeneralWM, m_oSetGlobalSensorNonWM);
    settings.bCanError = isCanError(m_aSetCan, m_aRunCan);
    settings.bLeftDoorSensor = m_oSetGlobalSensorNonWM.leftDoorSensor() > 0;
    settings.bRightDoorSensor = m_oSetGlobalSensorNonWM.rightDoorSensor() > 0;
    settings.bGeofencingEnabled = m_bGeoFencingEnabled;
    settings.bInsideGeofence = m_bInsideGeofence;
    return settings;
}

void CFtlTrigger::apply(const CTriggerOutcome &outcome)
{
    m_oState = outcome.state;
    for (const CTriggerStep &step : outcome.aSteps) {
        switch (step.eKind) {
        case ETriggerStep::Log: m_oCalls.warning(__LINE__, step.sText); break;
        case ETriggerStep::Emit: emit sigStartEventFile(step.bForced); break;
        case ETriggerStep::StartTimer:
            m_pTimeTriggerTimer->start(CClock::instance().intervalMs(step.iIntervalMs));
            break;
        case ETriggerStep::StopTimer: m_pTimeTriggerTimer->stop(); break;
        }
    }
}

void CFtlTrigger::onTimeTriggerTimeout()
{
    apply(timeTriggerExpired(currentState(), currentSettings()));
}

void CFtlTrigger::onSigSetupCan(int iProcess, int iCanIdx)
{
    if (!validIndex(iCanIdx, CAN_INTERFACE_COUNT) || !setupReady(iProcess))
        return;
    m_oCalls.get(m_pDataSetup->getSetupCan(iCanIdx), indexedOperation("getSetupCan", iCanIdx), m_aSetCan[iCanIdx]);
}

void CFtlTrigger::onSigSetupCompartmentSensorNonWM(int iProcessID, int iCompIdx)
{
    if (!validIndex(iCompIdx, COMPARTMENT_COUNT) || !setupReady(iProcessID))
        return;
    CSetCompartmentSensorNonWM oSetup;
    if (m_oCalls
            .get(m_pDataSetup->getSetupCompartmentSensorNonWM(iCompIdx),
                 indexedOperation("getSetupCompartmentSensorNonWM", iCompIdx), oSetup, compartmentNullLog(iCompIdx))
            .isNull())
        return;
    m_aiApiConfigured[iCompIdx] = oSetup.apiSensor();
    m_aiManlidConfigured[iCompIdx] = oSetup.manlidSensor();
}

void CFtlTrigger::onSigSetupGeneralNonWM(int iProcessID)
{
    if (!setupReady(iProcessID))
        return;
    const int iOldDuration = m_oSetGeneralNonWM.timeTriggerMinutes();
    if (m_oCalls.get(m_pDataSetup->getSetupGeneralNonWM(), QStringLiteral("getSetupGeneralNonWM()"), m_oSetGeneralNonWM)
            .isNull())
        return;
    apply(timeTriggerSetupChanged(currentState(), iProcessID, iOldDuration, m_oSetGeneralNonWM.timeTriggerMinutes()));
}

void CFtlTrigger::onSigSetupGeneralWM(int iProcessID)
{
    if (!setupReady(iProcessID))
        return;
    m_oCalls.get(m_pDataSetup->getSetupGeneralWM(), QStringLiteral("getSetupGeneralWM()"), m_oSetGeneralWM);
}

void CFtlTrigger::onSigSetupGeoFencing(int iProcessID)
{
    if (!setupReady(iProcessID))
        return;
    CSetGeoFencing oSetup;
    if (!m_oCalls.get(m_pDataSetup->getSetupGeoFencing(), QStringLiteral("getSetupGeoFencing()"), oSetup).isNull())
        m_bGeoFencingEnabled = oSetup.enabled();
}

void CFtlTrigger::onSigSetupGlobalSensorNonWM(int iProcessID)
{
    if (!setupReady(iProcessID))
        return;
    m_oCalls.get(m_pDataSetup->getSetupGlobalSensorNonWM(), QStringLiteral("getSetupGlobalSensorNonWM()"),
                 m_oSetGlobalSensorNonWM);
}

void CFtlTrigger::onSigRuntimeCan(int iProcess, int iCanIdx)
{
    if (!validIndex(iCanIdx, CAN_INTERFACE_COUNT) || !runtimeReady(iProcess))
        return;
    m_oCalls.get(m_pDataRuntime->getRuntimeCan(iCanIdx), indexedOperation("getRuntimeCan", iCanIdx), m_aRunCan[iCanIdx],
                 ENullLog::Debug);
}

void CFtlTrigger::onSigRuntimeCompNonWM(int iProcess, int iCompIdx)
{
    if (!validIndex(iCompIdx, COMPARTMENT_COUNT) || !runtimeReady(iProcess))
        return;
    CRunCompNonWM oRuntime;
    if (m_oCalls
            .get(m_pDataRuntime->getRuntimeCompNonWM(iCompIdx), indexedOperation("getRuntimeCompNonWM", iCompIdx),
                 oRuntime, compartmentNullLog(iCompIdx))
            .isNull())
        return;
    apply(compSealChanged(currentState(), currentSettings(), iCompIdx, oRuntime.sealState()));
}

void CFtlTrigger::onSigRuntimeCompSensorNonWM(int iProcess, int iCompIdx)
{
    if (!validIndex(iCompIdx, COMPARTMENT_COUNT) || !runtimeReady(iProcess))
        return;
    CRunCompSensorNonWM oRuntime;
    if (m_oCalls
            .get(m_pDataRuntime->getRuntimeCompSensorNonWM(iCompIdx),
                 indexedOperation("getRuntimeCompSensorNonWM", iCompIdx), oRuntime, ENullLog::Debug)
            .isNull())
        return;
    apply(
        apiChanged(currentState(), currentSettings(), iCompIdx, m_aiApiConfigured[iCompIdx] > 0, oRuntime.apiState()));
    apply(manlidChanged(currentState(), currentSettings(), iCompIdx, m_aiManlidConfigured[iCompIdx] > 0,
                        oRuntime.manlidState()));
}

void CFtlTrigger::onSigRuntimeGeneralNonWM(int iProcess)
{
    if (!runtimeReady(iProcess))
        return;
    CRunGeneralNonWM oRuntime;
    if (m_oCalls.get(m_pDataRuntime->getRuntimeGeneralNonWM(), QStringLiteral("getRuntimeGeneralNonWM()"), oRuntime)
            .isNull())
        return;
    apply(mainModeChanged(currentState(), currentSettings(), oRuntime.mainMode()));
}

void CFtlTrigger::onSigRuntimeGeoFencing(int iProcess)
{
    if (!runtimeReady(iProcess))
        return;
    CRunGeoFencing oRuntime;
    if (!m_oCalls
             .get(m_pDataRuntime->getRuntimeGeoFencing(), QStringLiteral("getRuntimeGeoFencing()"), oRuntime,
                  ENullLog::Debug)
             .isNull())
        m_bInsideGeofence = oRuntime.insideGeofence();
}

void CFtlTrigger::onSigRuntimeTruck(int iProcess)
{
    if (!runtimeReady(iProcess))
        return;
    CRunTruck oRuntime;
    if (m_oCalls.get(m_pDataRuntime->getRuntimeTruck(), QStringLiteral("getRuntimeTruck()"), oRuntime).isNull())
        return;
    apply(truckSealChanged(currentState(), currentSettings(), oRuntime.sealState()));
}

void CFtlTrigger::onSigRuntimeTruckSensorNonWM(int iProcess)
{
    if (!runtimeReady(iProcess))
        return;
    CRunTruckSensorNonWM oRuntime;
    if (m_oCalls
            .get(m_pDataRuntime->getRuntimeTruckSensorNonWM(), QStringLiteral("getRuntimeTruckSensorNonWM()"), oRuntime,
                 ENullLog::Debug)
            .isNull())
        return;
    apply(highPressureChanged(currentState(), currentSettings(), oRuntime.highPressureState()));
    apply(cabinDoorLeftChanged(currentState(), currentSettings(), oRuntime.leftDoorState()));
    apply(cabinDoorRightChanged(currentState(), currentSettings(), oRuntime.rightDoorState()));
}
