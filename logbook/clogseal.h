#pragma once

#include "logbook/clogbase.h"
#include "records/cwmrecords.h"

#include <QStringList>

// A change of a legal-metrology seal, with the seal record as it was then.
class CLogSeal : public CLogBase
{
public:
    CLogSeal();
    explicit CLogSeal(const QByteArray &baRow);

    bool isWmEntry() const override { return true; }
    QByteArray wmData() const override { return baReserve; }

    // Exactly one "42" seal line: closed ("12,0") or broken ("11,0"), whatever
    // the kind of seal.
    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    qint32 SealKind = 0;
    CRunSealStateLGMWM Seal;

protected:
    void readFields(QDataStream &stream) override;
    void writeFields(QDataStream &stream) const override;
};
