#include "trigger/ctriggerreason.h"

#include "records/cmainmode.h"

namespace {

QString compartmentText(const char *pszHead, int iCompartment, const char *pszTail)
{
    return QLatin1String(pszHead) + QString::number(iCompartment) + QLatin1String(pszTail);
}

} // namespace

QString getReasonText(int iReason, int iCompartment)
{
    switch (iReason) {
    case ReasonUnknown: return QStringLiteral("Unknown");
    case ReasonPendingHighPressure: return QStringLiteral("Pending trigger from high pressure switch off");
    case ReasonPendingCompSeal: return QStringLiteral("Pending trigger from SPD comp. seal break");
    case ReasonPendingTruckSeal: return QStringLiteral("Pending trigger from SPD truck seal break");
    case ReasonPendingTimeTrigger: return QStringLiteral("Pending trigger from the FTL time trigger");
    case ReasonHighPressureOff: return QStringLiteral("High pressure switched off");
    case ReasonCompSealBreak: return compartmentText("SPD comp. ", iCompartment, " seal breaks unexpected");
    case ReasonTruckSealBreak: return QStringLiteral("SPD truck seal breaks unexpected");
    case ReasonDischargeExited: return QStringLiteral("Discharge mode exited (no high pressure available)");
    case ReasonTimeTrigger: return QStringLiteral("FTL time trigger");
    case ReasonModeIntoLoading: return QStringLiteral("Mode change into loading or discharge");
    case ReasonModeOutOfLoading: return QStringLiteral("Mode change out of loading or discharge");
    case ReasonCabinDoorLeft: return QStringLiteral("Cabint door left opened");
    case ReasonCabinDoorRight: return QStringLiteral("Cabint door right opened");
    case ReasonApiOutsideLoading:
        return compartmentText("Api (comp. ", iCompartment, ") outside loading or discharge opened");
    case ReasonManlidOutsideLoading:
        return compartmentText("Manlid (comp. ", iCompartment, ") outside loading or discharge opened");
    case ReasonApiOutsideGeofence: return compartmentText("Api (comp. ", iCompartment, ") outside GeoFencing opened");
    case ReasonManlidOutsideGeofence:
        return compartmentText("Manlid (comp. ", iCompartment, ") outside GeoFencing opened");
    default: return QStringLiteral("Default");
    }
}

bool isLoadingOrDischarge(int iMainMode)
{
    return iMainMode == MainModeLoading || iMainMode == MainModeDischarge || iMainMode == MainModeCalibrateFpm;
}
