#pragma once

#include "records/crecord.h"

// Records of the vehicle's state and fittings that the trigger monitor and
// the event-file header read. Only the fields in use are named.

class CSetCan : public CRecord
{
public:
    CSetCan();
    bool interfaceInUse() const { return intAt(1) != 0; }
};

class CSetCompartmentSensorNonWM : public CRecord
{
public:
    CSetCompartmentSensorNonWM();
    qint32 manlidSensor() const { return intAt(7); }
    qint32 apiSensor() const { return intAt(9); }
};

class CSetGeneralNonWM : public CRecord
{
public:
    CSetGeneralNonWM();
    qint32 highPressureSetting() const { return intAt(1); }
    qint32 iNonWmValue1() const { return intAt(2); }
    qint32 sensorChecks() const { return intAt(4); }
    qint32 DelvType() const { return intAt(18); }
    bool bNonWmFlag1() const { return boolAt(38); }
    bool bLgmActive1() const { return boolAt(48); }
    bool bLgmActive2() const { return boolAt(49); }
    bool lgmFlag3() const { return boolAt(50); }
    bool lgmFlag4() const { return boolAt(51); }
    qint32 VehicleType() const { return intAt(56); }
    qint32 DipStick() const { return intAt(57); }
    qint32 iDelvSide() const { return intAt(58); }
    qint32 iLoadSide() const { return intAt(59); }
    qint32 iWetlegConf() const { return intAt(60); }
    qint32 iNonWmValue2() const { return intAt(61); }
    bool bNonWmFlag2() const { return boolAt(62); }
    qint32 iNonWmValue3() const { return intAt(63); }
    qint32 iNonWmValue4() const { return intAt(64); }
    QString sTimeZone() const { return textAt(71); }
    bool bSummerTime() const { return boolAt(72); }
    qint32 timeTriggerMinutes() const { return intAt(133); }
    qint32 triggerSwitches() const { return intAt(134); }
    bool reportDuringLoading() const { return boolAt(135); }
};

class CSetGeneralWM : public CRecord
{
public:
    CSetGeneralWM();
    qint32 highPressureWm() const { return intAt(3); }
    qint32 iCompartmentCount() const { return intAt(4); }
    QString sGeneralWmText11() const { return textAt(11); }
    QString sGeneralWmText12() const { return textAt(12); }
    QString sGeneralWmText28() const { return textAt(28); }
    qint32 iMeterCount() const { return intAt(37); }
};

class CSetGlobalSensorNonWM : public CRecord
{
public:
    CSetGlobalSensorNonWM();
    qint32 highPressureSensor() const { return intAt(7); }
    qint32 leftDoorSensor() const { return intAt(8); }
    qint32 rightDoorSensor() const { return intAt(10); }
    qint32 highPressureSwitch() const { return intAt(29); }
};

class CSetGeoFencing : public CRecord
{
public:
    CSetGeoFencing();
    bool enabled() const { return boolAt(1); }
};

class CRunCan : public CRecord
{
public:
    CRunCan();
    bool interfaceError() const { return boolAt(3); }
    bool interfaceReady() const { return boolAt(4); }
};

class CRunCompNonWM : public CRecord
{
public:
    CRunCompNonWM();
    qint32 sealState() const { return intAt(3); }
    void setSealState(qint32 i) { setField(3, i); }
};

class CRunCompSensorNonWM : public CRecord
{
public:
    CRunCompSensorNonWM();
    qint32 manlidState() const { return intAt(5); }
    qint32 apiState() const { return intAt(6); }
};

class CRunGeneralNonWM : public CRecord
{
public:
    CRunGeneralNonWM();
    qint32 mainMode() const { return intAt(1); }
    QString sNrpSerial() const { return textAt(4); }
    QString sNrpRootfsVersion() const { return textAt(8); }
    QString sNrpSwVersion() const { return textAt(10); }
    QString sNrpHsvVap() const { return textAt(12); }
    QString sNrpCommon() const { return textAt(13); }
    QString sDisplaySerial() const { return textAt(20); }
    QString sDisplayRootfsVersion() const { return textAt(24); }
    QString sDisplaySwVersion() const { return textAt(26); }
    QString sDisplayCommon() const { return textAt(28); }
    CTextMap softwareVersions() const { return textMapAt(29); }
    void setMainMode(qint32 i) { setField(1, i); }
    void setSoftwareVersions(const CTextMap &map) { setField(29, map); }
};

class CRunGeneralWM : public CRecord
{
public:
    CRunGeneralWM();
    QString sLrpSerial() const { return textAt(1); }
    QString sLrpRootfsVersion() const { return textAt(5); }
    QString sLrpSwVersion() const { return textAt(7); }
    QString sLrpCommon() const { return textAt(11); }
};

class CRunGeoFencing : public CRecord
{
public:
    CRunGeoFencing();
    bool insideGeofence() const { return boolAt(1) || boolAt(2); }
};

class CRunTruck : public CRecord
{
public:
    CRunTruck();
    qint32 sealState() const { return intAt(1); }
};

class CRunTruckSensorNonWM : public CRecord
{
public:
    CRunTruckSensorNonWM();
    qint32 highPressureState() const { return intAt(4); }
    qint32 leftDoorState() const { return intAt(5); }
    qint32 rightDoorState() const { return intAt(6); }
};
