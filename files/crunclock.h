#pragma once

#include <QDateTime>

class CFileSource;

// The vehicle's local now at the start of a run and the offset that moves
// every entry's UTC stamp to local time.
struct CRunClock
{
    QDateTime dtLocalNow;
    qint32 iOffsetSecs = 0;
};

CRunClock startRunClock(CFileSource &source);
// "Local time: "…", diff <offset>", as every run logs it first.
QString runClockText(const CRunClock &clock);

// The start of a run that keeps its progress in the GSM settings (the
// automatic event file, or the GPS file with bTracking): the logbook must be
// there and the settings readable. Sets the clock and the first row ID and
// logs them; false when the run cannot start.
bool startProgressRun(CFileSource &source, bool bTracking, CRunClock &clock, qint64 &llNextRowID);

// Moves the stored progress of the automatic event file (or of the GPS file)
// past one row. False when the run must end: the settings cannot be read or
// the service refuses the write.
bool advanceProgress(CFileSource &source, qint64 llRowID, bool bTracking);

// The pause the service gets between two rows.
void pauseBetweenRows();
