#include "logbook/clogtypes.h"

#include <QHash>

namespace {
// Names for diagnostics and the operator interface.
const char *const g_aTypeNames[] = {
    "unknown_LogbookType",
    "TRACKING",
    "COMP_MONITOR",
    "COP",
    "DISCHARGE",
    "ERROR",
    "GPS",
    "LEVEL_VOLUME",
    "LOADING",
    "LONG_TERM_STORAGE",
    "PARAMETER",
    "SEAL",
    "SPD",
    "QAS",
    "TIMESYNC",
    "CAN",
    "DRIVER",
    "GSM_FTP",
    "BLUETOOTH",
    "OPMM",
    "SMP",
    "SETUP_CHANGE",
    "LT_CLIENT",
    "FPM",
};

struct SubTypeName
{
    qint32 iCode;
    const char *pName;
};

const SubTypeName g_aSubTypeNames[] = {
    {4201, "CANError"}, {6001, "HighPressureSensor"}, {6002, "BottomValveChange"}, {6003, "LineValveChange"},
    {6004, "TAGScannerChange"}, {6005, "TAGScannerSensorChange"}, {6006, "TAGScannerSensorNoCode"},
    {6007, "TAGScannerSerial"}, {6008, "HallSensorChange"}, {6009, "HallCodeNotUnique"},
    {6010, "Overfill1SensorChange"}, {6011, "Overfill1SensorWait"}, {6012, "Overfill1SensorReady"},
    {6013, "Overfill1SensorFilled"}, {6014, "Overfill1SensorOPCode"}, {6015, "Overfill2SensorChange"},
    {6016, "Overfill2SensorWait"}, {6017, "Overfill2SensorReady"}, {6018, "Overfill2SensorFilled"},
    {6019, "Overfill2SensorOPCode"}, {6020, "Overfill3SensorChange"}, {6021, "Overfill3SensorWait"},
    {6022, "Overfill3SensorReady"}, {6023, "Overfill3SensorFilled"}, {6024, "Overfill3SensorOPCode"},
    {6025, "VapourNozzle1Sensor"}, {6026, "VapourNozzle2Sensor"}, {6027, "VapourNozzle3Sensor"},
    {6028, "VapourNozzle4Sensor"}, {6029, "CommonVapourNozzleSensor"}, {6032, "Wetleg1SensorChange"},
    {6033, "Wetleg2SensorChange"}, {6034, "Wetleg3SensorChange"}, {6035, "SlopeSensorChange"}, {6036, "DriverID"},
    {6037, "CustomerID"}, {6038, "ANA"}, {6039, "EvCompartmentConnected"}, {6040, "EvCompartmentReady"},
    {6041, "EvCompartmentStart"}, {6042, "EvCompartmentError"}, {6043, "EvCompartmentOverrideOp"},
    {6044, "CompartmentEmpty"}, {6045, "CompartmentNotEmpty"}, {6046, "CompartmentRestamount"},
    {6047, "LoadingplanChange"}, {6048, "COPChange"}, {6049, "ControlModeLoading"}, {6050, "ControlModeDischarge"},
    {6063, "EvCompartmentOverrideProduct"}, {6070, "ChannelACollectorChange"}, {6071, "ChannelBCollectorChange"},
    {6073, "ManifoldValveChange"}, {6103, "APIChange"}, {6104, "BottomValveSensorChange"},
    {6110, "ParkingBrakeChange"}, {6186, "ManifoldValveSensorChange"}, {8101, "CanWetlegSensor1"},
    {8102, "CanWetlegSensor2"}, {8103, "CanWetlegSensor3"}, {8104, "CanHighPressure"}, {8105, "CanWetlegManifodl"},
    {8201, "CanDischargeSignal"}, {8202, "CanLoadingSignal"}, {8203, "CanParkingBrake"}, {8204, "CanLeftCabinet"},
    {8205, "CanRightCabinet"}, {8206, "CanApiCouplingSensor"}, {8207, "CanBottomValveSensor"},
    {8208, "CanLineValveSensor"}, {8209, "CanManLidSensor"}, {8210, "CanSMSEmergencyReleaseSensor"},
    {8211, "CanChannelACollectorSensor"}, {8212, "CanChannelBCollectorSensor"}, {8213, "CanManifoldValveSensor"},
    {8214, "CanManifoldAPISensor"}, {8301, "CanBottomValve"}, {8302, "CanLineValve"},
    {8303, "CanPermissionLoadingStatus"}, {8304, "CanPermissionDischargeStatus"}, {8305, "CanCabinetValveStatus"},
    {8306, "CanMeasurement1ValveStatus"}, {8307, "CanMeasurement2ValveStatus"}, {8308, "CanProductLinkCompSensor"},
    {8309, "CanProductLinkMeterSensor"}, {8310, "eeEvCanAdditionalHose1"}, {8311, "eeEvCanAdditionalHose2"},
    {8312, "eeEvCanAdditionalHose3"}, {8313, "eeEvCanAdditionalHose1High"}, {8314, "eeEvCanAdditionalHose2High"},
    {8315, "eeEvCanAdditionalHose3High"}, {8316, "CanMeasurement3ValveStatus"}, {8318, "CanManifoldValve"},
    {8319, "CanManifoldPumpOut"}, {8320, "CanManifoldOutPumpedDel"}, {8321, "CanManifoldOutGravityDel"},
    {8401, "CanTagScanner"}, {8402, "CanVapourNozzle1"}, {8403, "CanVapourNozzle2"}, {8404, "CanVapourNozzle3"},
    {8405, "CanVapourNozzle4"}, {8406, "CanCommonVapourNozzle"}, {8407, "CanMeasurementHose1"},
    {8408, "CanMeasurementHose2"}, {8501, "CanOverfillSensor1"}, {8502, "CanOverfillSensor2"},
    {8503, "CanOverfillSensor3"}, {8504, "CanOverfillSensor4"}, {11000, "GPS_Data"}, {11001, "GPS_Enabled"},
    {11002, "GPS_Disabled"}, {11003, "GPS_ValidData"}, {11004, "GPS_NoData"}, {13003, "ModeLoading"},
    {13004, "ModeDischarge"}, {13005, "ModeStatus"}, {13006, "ModeMenu"}, {13007, "ModeRemote"},
    {13008, "ModeCalibrate"}, {13009, "ModeTouchCal"}, {13010, "ModeWaitSync"}, {13011, "ModeCompEmptyTest"},
    {13012, "ModeLoadingEnd"}, {13013, "ModeDischargeEnd"}, {15000, "SetupChangeLog"},
    {15001, "eeEvSCL_ProfileLoadFailed"}, {15002, "eeEvSCL_ProfileLoaded"}, {15003, "eeEvSCL_ConfigurationLoaded"},
    {15004, "eeEvSCL_ProfileAlreadyLoaded"}, {15005, "eeEvSCL_ProfileRestored"},
    {15006, "eeEvSCL_ProfileUnavailable"}, {15007, "eeEvSCL_ProfileLoadFailedRestore"},
    {16000, "eeEvLtClientEnabled"}, {16001, "eeEvLtServerConnected"}, {16002, "eeEvLtServerDisonnected"},
    {16003, "eeEvLtServerPingTimeout"}, {16004, "eeEvLtClientConfigurationChanged"},
};
} // namespace

QString logTypeName(qint32 iType)
{
    if (iType >= 0 && iType < qint32(sizeof(g_aTypeNames) / sizeof(g_aTypeNames[0])))
        return QString::fromLatin1(g_aTypeNames[iType]);
    return QString::number(iType);
}

QString logSubTypeName(qint32 iSubType)
{
    static const QHash<qint32, const char *> names = [] {
        QHash<qint32, const char *> map;
        for (const SubTypeName &entry : g_aSubTypeNames)
            map.insert(entry.iCode, entry.pName);
        return map;
    }();
    const char *pName = names.value(iSubType, nullptr);
    return pName ? QString::fromLatin1(pName) : QString::number(iSubType);
}
