#pragma once

#include <QDateTime>
#include <QString>

// The vehicle's local time for a UTC date-time, from the general setup's time
// zone text (a TZ value such as "Europe/Berlin" or "CET-1CEST,M3.5.0,M10.5.0/3")
// and its summer-time switch. With the switch off, a moment that falls in
// the zone's summer time is given in the zone's standard time instead.
//
// The result carries the local wall clock (milliseconds 0) and is tagged UTC,
// so no later conversion moves its fields. The process's TZ is restored
// before it returns.
QDateTime GetLocalTime(const QString &sTimeZone, bool bSummerTime, const QDateTime &dtUtc);
