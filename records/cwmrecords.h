#pragma once

#include "records/crecord.h"

// Weights-and-measures records: meters, products, the measurement process,
// orders and the seal record. Level-and-volume and seal logbook entries
// embed them as well.

class CSetMeterWM : public CRecord
{
public:
    CSetMeterWM();
    QString sMeterText() const { return textAt(46); }
};

class CSetProductWM : public CRecord
{
public:
    CSetProductWM();
    qint32 iProductValue1() const { return intAt(1); }
    bool compensationPresent() const { return boolAt(4); }
    qint32 iProductValue3() const { return intAt(5); }
    double dProductValue1() const { return doubleAt(6); }
    qint32 iProductTable() const { return intAt(7); }
};

class CRunProcessWM : public CRecord
{
public:
    CRunProcessWM();
    qint32 mode() const { return intAt(1); }
    qint32 uncompensatedVolume() const { return intAt(2); }
    qint32 compensatedVolume() const { return intAt(3); }
    qint32 mass() const { return intAt(4); }
    qint32 averageTemperature() const { return intAt(5); }
    double averageFlow() const { return doubleAt(6); }
    QDateTime measurementTime() const { return dateTimeAt(8); }
    bool approved() const { return boolAt(15); }
    qint32 entryNumber() const { return intAt(16); }
    QString meteringPoint() const { return textAt(23); }
    qint32 unitCode() const { return intAt(24); }
    qint32 specialValue() const { return intAt(30); }
};

class OrderRecord : public CRecord
{
public:
    OrderRecord();
    qint32 orderNumber() const { return intAt(7); }
    qint32 compartmentValue() const { return intAt(13); }
    QString customerNumber() const { return textAt(19); }
};

class ProductRecord : public CRecord
{
public:
    ProductRecord();
    QString product() const { return textAt(1); }
};

// The seal record: the LGM seal state of the WM runtime, and the body of
// seal logbook entries.
class CRunSealStateLGMWM : public CRecord
{
public:
    CRunSealStateLGMWM();
    bool bSealState() const { return boolAt(1); }
    qint32 iSealState() const { return intAt(2); }
    void setSealState(bool b) { setField(1, b); }
};
