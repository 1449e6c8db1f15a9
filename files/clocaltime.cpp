#include "files/clocaltime.h"

#include <QByteArray>

#include <cstdlib>
#include <ctime>

namespace {

// Sets TZ for the lifetime of the object and puts the process's own value
// (or its absence) back afterwards.
class CZoneScope
{
public:
    explicit CZoneScope(const QString &sTimeZone)
    {
        const char *pOld = std::getenv("TZ");
        m_bHadZone = pOld != nullptr;
        if (m_bHadZone)
            m_baOldZone = pOld;
        ::setenv("TZ", sTimeZone.toLocal8Bit().constData(), 1);
        ::tzset();
    }
    ~CZoneScope()
    {
        if (m_bHadZone)
            ::setenv("TZ", m_baOldZone.constData(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    CZoneScope(const CZoneScope &) = delete;
    CZoneScope &operator=(const CZoneScope &) = delete;

private:
    bool m_bHadZone = false;
    QByteArray m_baOldZone;
};

QDateTime wallClockOf(const struct tm &fields)
{
    return QDateTime(QDate(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday),
                     QTime(fields.tm_hour, fields.tm_min, fields.tm_sec), Qt::UTC);
}

} // namespace

QDateTime GetLocalTime(const QString &sTimeZone, bool bSummerTime, const QDateTime &dtUtc)
{
    const time_t tSeconds = time_t(dtUtc.toSecsSinceEpoch());
    const CZoneScope zone(sTimeZone);

    struct tm local = {};
    if (!::localtime_r(&tSeconds, &local))
        return QDateTime(dtUtc.toUTC().date(), dtUtc.toUTC().time(), Qt::UTC);
    QDateTime dtLocal = wallClockOf(local);

    if (!bSummerTime && local.tm_isdst > 0) {
        // The same wall clock read as standard time lies later by exactly
        // the summer-time step; moving back by that step gives standard time.
        struct tm standard = local;
        standard.tm_isdst = 0;
        const time_t tAsStandard = ::mktime(&standard);
        if (tAsStandard != time_t(-1))
            dtLocal = dtLocal.addSecs(-qint64(tAsStandard - tSeconds));
    }
    return dtLocal;
}
