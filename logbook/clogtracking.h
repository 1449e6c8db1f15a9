#pragma once

#include "logbook/clogbase.h"
#include "records/cpositionfix.h"

#include <QString>

// A tracked position of the vehicle. It has no event-file form; the GPS file
// writes its position line with the fix's own time.
class CLogTracking : public CLogBase
{
public:
    CLogTracking();
    explicit CLogTracking(const QByteArray &baRow);

    // Positions within a quarter degree of 0°/0° are the receiver's default
    // position, not a fix.
    bool hasUsablePosition() const;
    // The "08" position line of the GPS file, without line end; the stamp is
    // the fix's time plus the offset.
    QString gpsLine(qint32 timeOffsetSecs) const;

    CPositionFix Position;
    bool Flag = true;

protected:
    void readFields(QDataStream &stream) override { stream >> Position >> Flag; }
    void writeFields(QDataStream &stream) const override { stream << Position << Flag; }
};
