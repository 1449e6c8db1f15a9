#pragma once

#include <QString>

// The vehicle's operating modes, as the general runtime record carries them.
enum EMainMode {
    MainModeUndefined = 0,
    MainModeACK,
    MainModeError,
    MainModeLoading,
    MainModeDischarge,
    MainModeStatus,
    MainModeMenu,
    MainModeRemote,
    MainModeCalibrate,
    MainModeTouchCal,
    MainModeWaitSync,
    MainModeCompEmptyTest,
    MainModeLoadingEnd,
    MainModeDischargeEnd,
    MainModeManLoadingPlan,
    MainModeUpdate,
    MainModeLogIn,
    MainModePreset,
    MainModeNoDriver,
    MainModeCustomerProfile,
    MainModeInclinationTour,
    MainModeCalibrateFpm,
    MainModeDrainFpm
};

// The mode's identifier for log lines; an unknown code as its decimal text.
QString getMainModeText(int iMode);
