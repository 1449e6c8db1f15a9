#include "logbook/clogcop.h"

#include "logbook/cftlline.h"
#include "logbook/cftltemplate.h"
#include "logbook/clogtypes.h"

CLogCOP::CLogCOP() : CLogBase(LOG_COP) {}

CLogCOP::CLogCOP(const QByteArray &baRow) : CLogCOP()
{
    readRow(baRow);
}

void CLogCOP::readFields(QDataStream &stream)
{
    stream >> Param1 >> Param2 >> Param3 >> Param4 >> Text1 >> Text2 >> Param5 >> Param6 >> Param7 >> Param8;
}

void CLogCOP::writeFields(QDataStream &stream) const
{
    stream << Param1 << Param2 << Param3 << Param4 << Text1 << Text2 << Param5 << Param6 << Param7 << Param8;
}

QStringList CLogCOP::getFTLStrings(qint32 timeOffsetSecs) const
{
    return {ftlLineFor(ftlStamp(DateTime, timeOffsetSecs))};
}

QString CLogCOP::ftlLineFor(const QString &sStamp) const
{
    const QString sComp = ftlCompartment(Compartment);
    switch (LogSubType) {
    case 6039:
        return QString();
    case 6131:
        // Two measured values in thousandths; out of range means no line.
        if (Param3 > 99999 || Param4 > 99999)
            return QString();
        return ftlLine(QStringLiteral("15"), sStamp,
                       {ftlFixed("%2.1f", Param3 / 1000.0), ftlFixed("%2.1f", Param4 / 1000.0), QStringLiteral("1"),
                        QStringLiteral("1")});
    case 6132:
        return ftlFlagLine(sStamp, sComp, Text2, Param1, QStringLiteral("4"));
    case 6135:
        return (Param3 == 1 || Param3 == 3) ? ftlLine(QStringLiteral("12"), sStamp, {sComp}) : QString();
    default:
        break;
    }
    const CFtlTemplate *pTemplate = copTemplate(LogSubType);
    if (!pTemplate)
        return ftlUndefined();
    const QHash<QString, QString> values = ftlEntryValues(
        sStamp, sComp, {Param1, Param2, Param3, Param4, Param5, Param6, Param7, Param8}, Text1, Text2);
    return expandFtlTemplate(*pTemplate, values, pTemplate->eField == COP_PARAM2 ? Param2 : Param3);
}
