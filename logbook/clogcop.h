#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

// Events of the compartments, valves and sensors of the tank body.
class CLogCOP : public CLogBase
{
public:
    CLogCOP();
    explicit CLogCOP(const QByteArray &baRow);

    // Exactly one text: the line, the empty text (no line) or "Undefined".
    QStringList getFTLStrings(qint32 timeOffsetSecs) const;

    qint32 Param1 = 0;
    qint32 Param2 = 0;
    qint32 Param3 = 0;
    qint32 Param4 = 0;
    QString Text1;
    QString Text2;
    qint32 Param5 = 0;
    qint32 Param6 = 0;
    qint32 Param7 = 0;
    qint32 Param8 = 0;

protected:
    void readFields(QDataStream &stream) override;
    void writeFields(QDataStream &stream) const override;

private:
    QString ftlLineFor(const QString &sStamp) const;
};
