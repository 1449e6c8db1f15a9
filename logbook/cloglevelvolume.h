#pragma once

#include "logbook/clogbase.h"
#include "records/cwmrecords.h"

#include <QStringList>

// A legal-metrology measurement result of a delivery or receipt: the
// measurement process, the product setup, the order and the product as they
// were when the measurement was approved.
class CLogLevelVolume : public CLogBase
{
public:
    CLogLevelVolume();
    explicit CLogLevelVolume(const QByteArray &baRow);

    bool isWmEntry() const override { return true; }
    QByteArray wmData() const override { return baReserve; }

    // The "11" measurement line, or no line when the selector does not take
    // this entry: 0 every entry, 1 compartments (0..99), 2, 3 and 4 the
    // metering positions 100, 101 and 102; any other selector none.
    QStringList getFTLStrings(qint32 iSelector, qint32 timeOffsetSecs) const;

    CRunProcessWM ProcessWM;
    CSetProductWM ProductWM;
    OrderRecord Order;
    ProductRecord Product;

protected:
    void readFields(QDataStream &stream) override;
    void writeFields(QDataStream &stream) const override;

private:
    QString ftlLineFor(qint32 timeOffsetSecs) const;
};

// Whether a selector takes the entry of this compartment (see above).
bool levelVolumeSelects(qint32 iSelector, qint32 iCompartment);
