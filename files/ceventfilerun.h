#pragma once

#include "controller/clogline.h"
#include "controller/ctransfertypes.h"
#include "files/cftlfilewriter.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

class CFileSource;

// One run that turns logbook rows into event, level and meter files.
class CEventFileRun
{
public:
    explicit CEventFileRun(CFileSource &source);

    // Every row not yet sent; the progress moves on after each row. A forced
    // run with nothing new still writes a header-only event file.
    void GetAutoLogbookData(bool bForced);
    // The rows of the operator's period; no progress is kept.
    void GetManLogbookData(ManFileType eType, const QDateTime &dtStartUtc, const QDateTime &dtEndUtc);

    // True when the row's own lines went into an event file.
    bool ConvertLogbookRow(const QByteArray &baRow, const QDateTime &dtFileTime, qint32 iOffsetSecs, bool bManual,
                           ManFileType eManType);

private:
    void writeLevelAndMeterLines(const QByteArray &baRow, const QDateTime &dtFileTime, qint32 iOffsetSecs,
                                 bool bManual);
    void closeSpdPeriod(const QDateTime &dtFileTime, qint32 iOffsetSecs, bool bManual);
    void log(const CLogLine &line);

    CFileSource &m_source;
    CFtlFileWriter m_writer;
    // Run state, fresh for every run.
    QStringList m_asLastGpsLines;
    bool m_bSpdPeriodOpen = false;
    QByteArray m_baSpdPeriodRow;
};

// Lines a conversion gave that are worth writing.
bool ftlLinesUsable(const QStringList &asLines);
