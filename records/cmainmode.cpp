#include "records/cmainmode.h"

QString getMainModeText(int iMode)
{
    static const char *const apszTexts[] = {
        "MainModeUndefined",      "MainModeACK",           "MainModeError",
        "MainModeLoading",        "MainModeDischarge",     "MainModeStatus",
        "MainModeMenu",           "MainModeRemote",        "MainModeCalibrate",
        "MainModeTouchCal",       "MainModeWaitSync",      "MainModeCompEmptyTest",
        "MainModeLoadingEnd",     "MainModeDischargeEnd",  "MainModeManLoadingPlan",
        "MainModeUpdate",         "MainModeLogIn",         "MainModePreset",
        "MainModeNoDriver",       "MainModeCustomerProfile", "MainModeInclinationTour",
        "MainModeCalibrateFpm",   "MainModeDrainFpm"};
    const int iCount = int(sizeof(apszTexts) / sizeof(apszTexts[0]));
    if (iMode < 0 || iMode >= iCount)
        return QString::number(iMode);
    return QString::fromLatin1(apszTexts[iMode]);
}
