#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What a power cut can leave in the FTL directory, and what the daemon
// makes of it at start. Every write of a row reaches the disk before the
// progress moves past the row, so whatever a cut tore was not counted as
// sent: the run after the start writes those rows again, into a file of
// its own.

// The length of the whole lines at the front of an FTL file: up to and
// including the last "\r\n" that comes before the first zero byte (a cut
// can leave zeros where the last write's bytes should be).
qsizetype wholeLinesLength(const QByteArray &baBytes);

struct CFtlRepair {
    enum EAction { Keep, CutBack, Remove };
    EAction eAction = Keep;
    qsizetype llLength = 0; // the length to cut back to
};

// What becomes of one file of the FTL directory: a torn tail is cut back
// to the last whole line; a file with no whole line, a header cut short,
// or a level or meter file with no line after its header is removed. A
// header-only event file stays: the time trigger writes such files on
// purpose. Log archives and files the daemon does not write stay as they are.
CFtlRepair ftlRepairOf(const QString &sName, const QByteArray &baBytes);

// Applies ftlRepairOf to every file of the FTL directory, each change on
// the disk before the next run; logs each file it changed.
void repairFtlDirectory(const std::function<void(const QString &)> &logWarning);
