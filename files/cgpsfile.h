#pragma once

#include "records/cpositionfix.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class CFileSource;

// One run that appends the vehicle's tracked positions to the GPS file of
// each local day; the progress is kept after every tracking row, so each
// row is handled once, written or rejected.
class CGpsFileRun
{
public:
    explicit CGpsFileRun(CFileSource &source) : m_source(source) {}

    // Every tracking row not yet handled.
    void GetGpsData();
    // Appends the "08" line of one fix to its day's file. Another process
    // that holds the file's lock costs this fix its line; the daemon never waits.
    // False when the disk did not take the line (nothing of it stays).
    bool WriteGpsLine(const CPositionFix &fix, qint32 iOffsetSecs);

private:
    CFileSource &m_source;
};

// ftlDirectory() + "/GPS_" + the local date "yyyyMMdd" + ".ftl".
QString gpsFilePath(const QDateTime &dtLocal);

// The line as the file holds it, "\r\n" included; like every line of the
// back office's format it fits a 100-byte buffer, so an extreme fix is cut
// at 99 characters.
QByteArray gpsFileLine(const CPositionFix &fix, qint32 iOffsetSecs);

// The warning for a fix at the receiver's default position near 0°/0°.
QString defaultPositionText(const CPositionFix &fix);
