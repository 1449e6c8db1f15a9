#include "files/cftlnames.h"

#include "app/cpaths.h"

#include <cmath>

QString ftlDirectory()
{
    return rootedPath(QStringLiteral("/var/log/FTL"));
}

QString ftlFileStamp(const QDateTime &dtFileTime)
{
    const QDate date = dtFileTime.date();
    const QTime time = dtFileTime.time();
    return QString::asprintf("%04d%02d%02d%02d%02d%02d", date.year(), date.month(), date.day(), time.hour(),
                             time.minute(), time.second());
}

QString ftlFilePath(const QString &sPrefix, const QString &sTag, const QDateTime &dtFileTime)
{
    return ftlDirectory() + QLatin1Char('/') + sPrefix + sTag + ftlFileStamp(dtFileTime) + QStringLiteral(".ftl");
}

QString ftlRunTag(bool bManual)
{
    return bManual ? QStringLiteral("m") : QStringLiteral("l");
}

QString ftlMeterTag(int iSelector, bool bManual)
{
    if (iSelector < 2 || iSelector > 4)
        return QString();
    return QString::number(iSelector - 1) + (bManual ? QLatin1Char('m') : QLatin1Char('d'));
}

qint32 ftlTimeOffsetSecs(const QDateTime &dtNowUtc, const QDateTime &dtLocalNow)
{
    const QDateTime dtUtc = dtNowUtc.toUTC();
    const QDateTime dtNaiveUtc(dtUtc.date(), dtUtc.time(), Qt::UTC);
    const QDateTime dtNaiveLocal(dtLocalNow.date(), dtLocalNow.time(), Qt::UTC);
    const double dHundreds = double(dtNaiveUtc.secsTo(dtNaiveLocal)) / 100.0;
    return qint32(std::lround(dHundreds) * 100);
}
