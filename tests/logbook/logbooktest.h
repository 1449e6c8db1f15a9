#pragma once

#include <QDateTime>
#include <QString>

// A moment as the service stores logbook stamps.
inline QDateTime utc(int iYear, int iMonth, int iDay, int iHour = 0, int iMinute = 0, int iSecond = 0)
{
    return QDateTime(QDate(iYear, iMonth, iDay), QTime(iHour, iMinute, iSecond), Qt::UTC);
}

// Expected lines are written as the line templates read: T (or TE) for the
// entry's stamp, TP for the period's own. Entry texts in the tests hold no
// capital T.
inline QString stamped(QString sLine, const QString &sStamp, const QString &sPeriodStamp = QString())
{
    sLine.replace(QLatin1String("TP"), sPeriodStamp);
    sLine.replace(QLatin1String("TE"), sStamp);
    return sLine.replace(QLatin1Char('T'), sStamp);
}
