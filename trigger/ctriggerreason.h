#pragma once

#include <QString>

// Why the monitor asks for an automatic event file. Codes 1 to 4 are
// triggers that were held back during loading or discharge and are reported
// once the vehicle leaves it.
enum ETriggerReason {
    ReasonUnknown = 0,
    ReasonPendingHighPressure = 1,
    ReasonPendingCompSeal = 2,
    ReasonPendingTruckSeal = 3,
    ReasonPendingTimeTrigger = 4,
    ReasonHighPressureOff = 5,
    ReasonCompSealBreak = 6,
    ReasonTruckSealBreak = 7,
    ReasonDischargeExited = 8,
    ReasonTimeTrigger = 9,
    ReasonModeIntoLoading = 10,
    ReasonModeOutOfLoading = 11,
    ReasonCabinDoorLeft = 12,
    ReasonCabinDoorRight = 13,
    ReasonApiOutsideLoading = 14,
    ReasonManlidOutsideLoading = 15,
    ReasonApiOutsideGeofence = 16,
    ReasonManlidOutsideGeofence = 17
};

// The text of the reason line; iCompartment is the index as the change
// signal gave it (only used by the compartment reasons).
QString getReasonText(int iReason, int iCompartment);

// Loading, discharge and meter calibration: the modes in which events may
// be held back until the vehicle is done.
bool isLoadingOrDischarge(int iMainMode);
