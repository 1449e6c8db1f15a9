#include "logbook/clogseal.h"

#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

CLogSeal::CLogSeal() : CLogBase(LOG_SEAL) {}

CLogSeal::CLogSeal(const QByteArray &baRow) : CLogSeal()
{
    readRow(baRow);
}

void CLogSeal::readFields(QDataStream &stream)
{
    stream >> SealKind;
    // A seal record of an older version is not taken over: the entry then
    // reports the seal as broken.
    Seal.readFrom(stream);
}

void CLogSeal::writeFields(QDataStream &stream) const
{
    stream << SealKind;
    Seal.writeTo(stream);
}

QStringList CLogSeal::getFTLStrings(qint32 timeOffsetSecs) const
{
    return {ftlLine(QStringLiteral("42"), ftlStamp(DateTime, timeOffsetSecs),
                    {QString(), QStringLiteral("31"), Seal.bSealState() ? QStringLiteral("12") : QStringLiteral("11"),
                     QStringLiteral("0")})};
}
