#include "bus/changetexts.h"

#include "log/cmodulelog.h"
#include "records/ccommrecords.h"

QString flagText(bool bFlag)
{
    return bFlag ? QStringLiteral("true") : QStringLiteral("false");
}

QString swUpdateParameterText(const CSetFtpSwUpdate &setup)
{
    return streamItems({QStringLiteral("Auto. Sw update parameter:  Remote "), flagText(setup.Remote()),
                        QStringLiteral(" Month "), QString::number(setup.Month()), QStringLiteral(" Day "),
                        QString::number(setup.Day()), QStringLiteral(" Weekday "), QString::number(setup.Weekday()),
                        QStringLiteral(" Hour "), QString::number(setup.Hour()), QStringLiteral(" Minute "),
                        QString::number(setup.Minute())});
}
