#pragma once

#include "logbook/clogbase.h"

#include <QString>

// GSM/FTP events the daemon writes into the logbook itself.
class CLogGsmFtp : public CLogBase
{
public:
    CLogGsmFtp();
    explicit CLogGsmFtp(const QByteArray &baRow);


    QString Text1;
    QString Text2;

protected:
    void readFields(QDataStream &stream) override { stream >> Text1 >> Text2; }
    void writeFields(QDataStream &stream) const override { stream << Text1 << Text2; }
};
