#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

// SMP events; their line depends on the subtype alone.
class CLogSMP : public CLogBase
{
public:
    CLogSMP();
    explicit CLogSMP(const QByteArray &baRow);

    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    QString Text1;
    QString Text2;
    qint32 Param1 = 0;
    QString Text3;
    qint32 Param2 = 0;

protected:
    void readFields(QDataStream &stream) override { stream >> Text1 >> Text2 >> Param1 >> Text3 >> Param2; }
    void writeFields(QDataStream &stream) const override { stream << Text1 << Text2 << Param1 << Text3 << Param2; }
};
