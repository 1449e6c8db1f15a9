#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

// Compartment, valve and sensor events of the SPD, some with a period time
// of their own.
class CLogSPD : public CLogBase
{
public:
    CLogSPD();
    explicit CLogSPD(const QByteArray &baRow);

    // Exactly one text: the line, the empty text (no line) or "Undefined".
    QStringList getFTLStrings(qint32 timeOffsetSecs) const;
    // "20,<stamp>,63" for a selector other than 0, "20,<stamp>,64" for 0.
    QStringList getFTLMarkerStrings(qint32 iSelector, qint32 timeOffsetSecs) const;

    qint32 Param1 = 0;
    qint32 Param2 = 0;
    qint32 Param3 = 0;
    qint32 Param4 = 0;
    QString Text1;
    QString Text2;
    QDateTime EventTime;

protected:
    void readFields(QDataStream &stream) override;
    void writeFields(QDataStream &stream) const override;

private:
    QString ftlLineFor(qint32 timeOffsetSecs) const;
};

// The period events, whose lines carry the period's own time.
bool IsSpdPeriodSubtype(qint32 iSubType);
