#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

// A change of the vehicle's main mode.
class CLogOPMM : public CLogBase
{
public:
    CLogOPMM();
    explicit CLogOPMM(const QByteArray &baRow);

    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    qint32 MainMode = 0;

protected:
    void readFields(QDataStream &stream) override { stream >> MainMode; }
    void writeFields(QDataStream &stream) const override { stream << MainMode; }
};

// Main-mode entries of the fuel-pump module; they have no FTL form.
class CLogFPM : public CLogBase
{
public:
    CLogFPM();
    explicit CLogFPM(const QByteArray &baRow);

    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    QString Text1;
    qint32 Param1 = 0;
    double Value1 = 0.0;
    double Value2 = 0.0;
    double Value3 = 0.0;
    qint32 Param2 = 0;

protected:
    void readFields(QDataStream &stream) override
    {
        stream >> Text1 >> Param1 >> Value1 >> Value2 >> Value3 >> Param2;
    }
    void writeFields(QDataStream &stream) const override
    {
        stream << Text1 << Param1 << Value1 << Value2 << Value3 << Param2;
    }
};
