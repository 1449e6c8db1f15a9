#include "logbook/clogopmm.h"

#include "log/cmodulelog.h"

#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

#include <QDebug>

CLogOPMM::CLogOPMM() : CLogBase(LOG_OPMM) {}

CLogOPMM::CLogOPMM(const QByteArray &baRow) : CLogOPMM()
{
    readRow(baRow);
}

QStringList CLogOPMM::getFTLStrings(qint32 timeOffsetSecs) const
{
    const QString sStamp = ftlStamp(DateTime, timeOffsetSecs);
    qDebug().noquote().nospace() << streamedLine({QStringLiteral("CLogOPMM getFTLStrings() sqdt = "),
                                                  QLatin1Char('"') + sStamp + QLatin1Char('"')});

    // Control-mode codes of the back office for the loading and discharge modes.
    switch (MainMode) {
    case 3: return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("65")})};
    case 4: return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("67")})};
    case 11: return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("22")})};
    case 12: return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("66")})};
    case 13: return {ftlLine(QStringLiteral("20"), sStamp, {QStringLiteral("68")})};
    default: break;
    }
    if ((MainMode >= 5 && MainMode <= 10) || (MainMode >= 14 && MainMode <= 20))
        return {ftlLine(QStringLiteral("92"), sStamp, {QStringLiteral("200"), QString::number(MainMode)})};
    return {ftlUndefined()};
}

CLogFPM::CLogFPM() : CLogBase(LOG_FPM) {}

CLogFPM::CLogFPM(const QByteArray &baRow) : CLogFPM()
{
    readRow(baRow);
}

QStringList CLogFPM::getFTLStrings(qint32) const
{
    return {ftlUndefined()};
}
