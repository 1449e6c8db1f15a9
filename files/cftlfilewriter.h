#pragma once

#include <QDateTime>
#include <QStringList>

class CFileSource;

// Appends FTL lines to the files of the FTL directory; a file that is new
// gets the header first. Every write is flushed to disk before the progress
// of a run moves on, so a power cut loses nothing that was counted as sent.
class CFtlFileWriter
{
public:
    explicit CFtlFileWriter(CFileSource &source) : m_source(source) {}

    // The vehicle's local now as the header of a file without body lines
    // shows it; set once per run.
    void setLocalNow(const QDateTime &dtLocalNow) { m_dtLocalNow = dtLocalNow; }

    // False when there was nothing to write or the file could not be opened.
    bool WriteFtlFile(const QString &sPrefix, const QString &sTag, const QStringList &asLines,
                      const QDateTime &dtFileTime);
    // The header-only event file of a forced automatic run.
    void writeHeaderOnlyFile(const QDateTime &dtFileTime);
    // True once a write of this run failed (a full disk, say); the file was
    // cut back to where it stood, so the row can be written again later.
    bool writeFailed() const { return m_bWriteFailed; }

private:
    // Opens for appending (created 0644); -1 after logging the failure.
    int openForAppend(const QString &sPath);
    QByteArray headerText(const QString &sFirstLine);
    // Writes, flushes and closes; on a failure the file is cut back to its
    // size before (removed when this call created it) and false is returned.
    bool writeOrUndo(int iFd, const QString &sPath, bool bNew, const QByteArray &baBytes);

    CFileSource &m_source;
    QDateTime m_dtLocalNow;
    bool m_bWriteFailed = false;
};

// Writes all bytes, riding over interrupted writes; false on an error.
bool writeAll(int iFd, const QByteArray &baBytes);
// Writes all bytes, then flushes them to disk and closes; false on any error.
bool writeSyncClose(int iFd, const QByteArray &baBytes);
// Puts the directory's entries on the disk: a new file's name is not there
// before, however often the file itself was flushed. False on an error.
bool syncDirectory(const QString &sDir);
