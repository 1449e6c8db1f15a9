#pragma once

#include "logbook/clogbase.h"

#include <QStringList>

#include <memory>

// The entry of a raw logbook row, of the class its LogType names. A row of a
// type the daemon has no class for (or too short to name its type) gives a
// plain entry holding the header, payload version and reserve only. Never null.
std::unique_ptr<CLogBase> makeLogEntry(const QByteArray &baRow);

// The event-file lines of an entry, whatever its class; the selector only
// matters to level-and-volume entries. Entries without an event-file form
// (tracking, GSM/FTP, unknown types) give no lines.
QStringList ftlLinesOf(const CLogBase &entry, qint32 timeOffsetSecs, qint32 iSelector = 0);
