#pragma once

#include "records/cvehiclerecords.h"

#include <array>

// The vehicle's CAN interfaces, as many as the monitor watches.
constexpr int CAN_INTERFACE_COUNT = 3;

using CSetCanArray = std::array<CSetCan, CAN_INTERFACE_COUNT>;
using CRunCanArray = std::array<CRunCan, CAN_INTERFACE_COUNT>;

// Whether the vehicle has a high-pressure pump whose switch-off means
// something: a legally metered pump with its sensor, or a non-metered pump
// on its own switch without the level gauges that replace it.
bool isHighPressureAvailable(const CSetGeneralNonWM &generalNonWM, const CSetGeneralWM &generalWM,
                             const CSetGlobalSensorNonWM &globalSensor);

// A CAN interface in use that reports an error or is not ready: then a
// high-pressure state of 0 may be a lost sensor rather than a switch-off.
bool isCanError(const CSetCanArray &aSetup, const CRunCanArray &aRuntime);
