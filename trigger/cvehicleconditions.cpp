#include "trigger/cvehicleconditions.h"

bool isHighPressureAvailable(const CSetGeneralNonWM &generalNonWM, const CSetGeneralWM &generalWM,
                             const CSetGlobalSensorNonWM &globalSensor)
{
    if (generalWM.highPressureWm() > 0 && globalSensor.highPressureSensor() > 0)
        return true;
    if (globalSensor.highPressureSwitch() <= 0)
        return false;
    if (generalNonWM.highPressureSetting() == 0)
        return false;
    if (generalWM.highPressureWm() != 0)
        return false;
    return generalNonWM.bLgmActive1() && !generalNonWM.lgmFlag3() && !generalNonWM.bLgmActive2() &&
           !generalNonWM.lgmFlag4();
}

bool isCanError(const CSetCanArray &aSetup, const CRunCanArray &aRuntime)
{
    for (int i = 0; i < CAN_INTERFACE_COUNT; ++i) {
        if (!aSetup[i].interfaceInUse())
            continue;
        if (aRuntime[i].interfaceError() || !aRuntime[i].interfaceReady())
            return true;
    }
    return false;
}
