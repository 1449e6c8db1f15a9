#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

// A step of a compartment's loading.
class CLogLoading : public CLogBase
{
public:
    CLogLoading();
    explicit CLogLoading(const QByteArray &baRow);

    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    QString Text1;

protected:
    void readFields(QDataStream &stream) override { stream >> Text1; }
    void writeFields(QDataStream &stream) const override { stream << Text1; }
};

// A step of a compartment's discharge.
class CLogDischarge : public CLogBase
{
public:
    CLogDischarge();
    explicit CLogDischarge(const QByteArray &baRow);

    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    double Value1 = 0.0;
    double Value2 = 0.0;
    double Value3 = 0.0;
    QString Text1;

protected:
    void readFields(QDataStream &stream) override { stream >> Value1 >> Value2 >> Value3 >> Text1; }
    void writeFields(QDataStream &stream) const override { stream << Value1 << Value2 << Value3 << Text1; }
};

// The compartment line "12,<stamp>,<compartment>" of the two step subtypes
// given, or no line at all for any other subtype.
QStringList ftlCompartmentStep(const CLogBase &entry, qint32 iFirstSubType, qint32 timeOffsetSecs);
