#include "logbook/clogspd.h"

#include "logbook/cftlline.h"
#include "logbook/cftltemplate.h"
#include "logbook/clogtypes.h"
#include "log/cmodulelog.h"

#include <QDebug>

bool IsSpdPeriodSubtype(qint32 iSubType)
{
    return (iSubType >= 6203 && iSubType <= 6209) || iSubType == 6214 || iSubType == 6217 || iSubType == 6218;
}

CLogSPD::CLogSPD() : CLogBase(LOG_SPD) {}

CLogSPD::CLogSPD(const QByteArray &baRow) : CLogSPD()
{
    readRow(baRow);
}

void CLogSPD::readFields(QDataStream &stream)
{
    stream >> Param1 >> Param2 >> Param3 >> Param4 >> Text1 >> Text2 >> EventTime;
}

void CLogSPD::writeFields(QDataStream &stream) const
{
    stream << Param1 << Param2 << Param3 << Param4 << Text1 << Text2 << EventTime;
}

QStringList CLogSPD::getFTLStrings(qint32 timeOffsetSecs) const
{
    return {ftlLineFor(timeOffsetSecs)};
}

QStringList CLogSPD::getFTLMarkerStrings(qint32 iSelector, qint32 timeOffsetSecs) const
{
    return {ftlLine(QStringLiteral("20"), ftlStamp(DateTime, timeOffsetSecs),
                    {iSelector != 0 ? QStringLiteral("63") : QStringLiteral("64")})};
}

QString CLogSPD::ftlLineFor(qint32 timeOffsetSecs) const
{
    const QString sStamp = ftlStamp(DateTime, timeOffsetSecs);
    const QString sComp = ftlCompartment(Compartment);
    switch (LogSubType) {
    case 6112:
    case 6170:
    case 6171:
        return ftlLine(
            QStringLiteral("40"), sStamp,
            {sComp, Text2, QString::number(Param2), Param4 == 0 ? QStringLiteral("6") : QStringLiteral("3")});
    case 6132: return ftlFlagLine(sStamp, sComp, Text2, Param1, QStringLiteral("8"));
    default: break;
    }
    const CFtlTemplate *pTemplate = spdTemplate(LogSubType);
    if (!pTemplate) {
        qDebug().noquote().nospace() << streamedLine({QStringLiteral("Undefined LogSubType = "), QString::number(LogSubType)});
        return ftlUndefined();
    }
    QHash<QString, QString> values = ftlEntryValues(sStamp, sComp, {Param1, Param2, Param3, Param4}, Text1, Text2);
    values.insert(QStringLiteral("{TP}"), ftlStamp(EventTime, timeOffsetSecs));
    return expandFtlTemplate(*pTemplate, values, pTemplate->eField == COP_PARAM2 ? Param2 : Param3);
}
