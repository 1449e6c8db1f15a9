#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The rules every FTL line of an event file follows; the back office parses
// these byte for byte.

// Conversions with no line for an entry return this text; the file drops it.
inline const QString &ftlUndefined()
{
    static const QString s = QStringLiteral("Undefined");
    return s;
}

// The stamp plus the local-time offset, as yyyyMMddhhmmss.
QString ftlStamp(const QDateTime &dtStamp, qint32 iOffsetSecs);
// The same moment, time of day only, as hhmmss.
QString ftlClock(const QDateTime &dtStamp, qint32 iOffsetSecs);

// A 0-based compartment index as written in a line: the first compartment is
// 1, an entry without compartment (-1) is 0.
QString ftlCompartment(qint32 iCompartment);

// A fraction in one of the printf formats the back office expects
// ("%2.1f", "%3.2f", "%4.6f", "%3.6f"), digit for digit as the C library's
// printf writes it, always with "." as the point.
QString ftlFixed(const char *pFormat, double dValue);

// A value rounded to the nearest integer, halves away from zero, in decimal.
// Values beyond 64 bits are held at the limit, and not-a-number is 0.
QString ftlRounded(double dValue);

// Record code, stamp, then the further fields, comma-separated.
QString ftlLine(const QString &sCode, const QString &sStamp, const QStringList &asFields = {});
