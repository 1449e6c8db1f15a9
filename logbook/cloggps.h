#pragma once

#include "logbook/clogbase.h"
#include "records/cpositionfix.h"

#include <QStringList>

// A GPS position in the logbook; becomes the "08" line of event files.
class CLogGps : public CLogBase
{
public:
    CLogGps();
    explicit CLogGps(const QByteArray &baRow);

    // One text: the position line, or the empty text for subtypes other than GPS_Data.
    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    CPositionFix Position;

protected:
    void readFields(QDataStream &stream) override { stream >> Position; }
    void writeFields(QDataStream &stream) const override { stream << Position; }
};

// The fix's members as the position line uses them.
struct CFtlPosition;
CFtlPosition ftlPositionOf(const CPositionFix &fix);
