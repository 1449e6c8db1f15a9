#include "files/ceventfilerun.h"

#include "files/cfilesource.h"
#include "files/cftlnames.h"
#include "files/crunclock.h"
#include "files/ctriggerhandling.h"
#include "log/cmodulelog.h"
#include "logbook/cftlline.h"
#include "logbook/clogfactory.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogspd.h"
#include "logbook/clogtypes.h"

namespace {

const QString sEventPrefix = QStringLiteral("EVE");

} // namespace

bool ftlLinesUsable(const QStringList &asLines)
{
    return !asLines.isEmpty() && asLines.first() != ftlUndefined();
}

CEventFileRun::CEventFileRun(CFileSource &source) : m_source(source), m_writer(source) {}

void CEventFileRun::log(const CLogLine &line)
{
    m_source.log(line);
}

void CEventFileRun::writeLevelAndMeterLines(const QByteArray &baRow, const QDateTime &dtFileTime, qint32 iOffsetSecs,
                                            bool bManual)
{
    const CLogLevelVolume entry(baRow);
    for (int iSelector = 1; iSelector <= 4; ++iSelector) {
        const QStringList asLines = entry.getFTLStrings(iSelector, iOffsetSecs);
        if (!ftlLinesUsable(asLines))
            continue;
        const QString sPrefix = iSelector == 1 ? QStringLiteral("LEV") : QStringLiteral("MTR");
        const QString sTag = iSelector == 1 ? ftlRunTag(bManual) : ftlMeterTag(iSelector, bManual);
        // Each measurement is shown where the vehicle was when it was taken.
        if (!m_asLastGpsLines.isEmpty())
            m_writer.WriteFtlFile(sPrefix, sTag, m_asLastGpsLines, dtFileTime);
        m_writer.WriteFtlFile(sPrefix, sTag, asLines, dtFileTime);
    }
}

void CEventFileRun::closeSpdPeriod(const QDateTime &dtFileTime, qint32 iOffsetSecs, bool bManual)
{
    const CLogSPD period(m_baSpdPeriodRow);
    m_writer.WriteFtlFile(sEventPrefix, ftlRunTag(bManual), period.getFTLMarkerStrings(0, iOffsetSecs), dtFileTime);
    m_bSpdPeriodOpen = false;
}

bool CEventFileRun::ConvertLogbookRow(const QByteArray &baRow, const QDateTime &dtFileTime, qint32 iOffsetSecs,
                                      bool bManual, ManFileType eManType)
{
    const qint32 iType = LogRow::LogType(baRow);
    const qint32 iSubType = LogRow::LogSubType(baRow);
    const bool bDeliveryRun = bManual && eManType == ManFile_Delivery;
    const bool bEventRun = bManual && eManType == ManFile_Event;
    if (bDeliveryRun && iType != LOG_GPS && iType != LOG_LEVEL_VOLUME)
        return false;

    QStringList asLines;
    switch (iType) {
    case LOG_GPS:
        asLines = ftlLinesOf(*makeLogEntry(baRow), iOffsetSecs);
        if (ftlLinesUsable(asLines) && !bEventRun) {
            m_asLastGpsLines = asLines;
            // In a delivery file the position only heads the measurements.
            if (bDeliveryRun)
                asLines.clear();
        }
        break;
    case LOG_LEVEL_VOLUME:
        if (!bEventRun)
            writeLevelAndMeterLines(baRow, dtFileTime, iOffsetSecs, bManual);
        if (!bDeliveryRun)
            asLines = CLogLevelVolume(baRow).getFTLStrings(0, iOffsetSecs);
        break;
    case LOG_SPD: {
        const CLogSPD entry(baRow);
        asLines = entry.getFTLStrings(iOffsetSecs);
        if (ftlLinesUsable(asLines) && IsSpdPeriodSubtype(iSubType)) {
            if (!m_bSpdPeriodOpen) {
                m_writer.WriteFtlFile(sEventPrefix, ftlRunTag(bManual), entry.getFTLMarkerStrings(1, iOffsetSecs),
                                      dtFileTime);
                m_bSpdPeriodOpen = true;
            }
            m_baSpdPeriodRow = baRow;
        }
        break;
    }
    case LOG_COP:
    case LOG_DISCHARGE:
    case LOG_LOADING:
    case LOG_SEAL:
    case LOG_OPMM:
    case LOG_SMP:
    case LOG_FPM:
        asLines = ftlLinesOf(*makeLogEntry(baRow), iOffsetSecs);
        break;
    default:
        break;
    }

    if (!ftlLinesUsable(asLines))
        return false;
    // The period ends with the first row of another subtype, whatever its type.
    if (m_bSpdPeriodOpen && !IsSpdPeriodSubtype(iSubType))
        closeSpdPeriod(dtFileTime, iOffsetSecs, bManual);
    return m_writer.WriteFtlFile(sEventPrefix, ftlRunTag(bManual), asLines, dtFileTime);
}

void CEventFileRun::GetAutoLogbookData(bool bForced)
{
    CRunClock clock;
    qint64 llNextRowID = 0;
    if (!startProgressRun(m_source, false, clock, llNextRowID))
        return;
    m_writer.setLocalNow(clock.dtLocalNow);

    bool bNothingWritten = true;
    for (;;) {
        CLogbookFilter filter;
        filter.setStartRowID(llNextRowID);
        const QByteArray baRow = m_source.logbookRow(filter);
        if (baRow.isEmpty())
            break;
        const qint64 llRowID = qint64(LogRow::RowID(baRow));
        pauseBetweenRows();
        if (ConvertLogbookRow(baRow, clock.dtLocalNow, clock.iOffsetSecs, false, ManFile_NoTransfer))
            bNothingWritten = false;
        if (m_writer.writeFailed()) {
            log(warningLine(QStringLiteral("Event file run stopped at row %1: it stays for the next run").arg(llRowID)));
            return;
        }
        // The stored progress never runs ahead of what is on disk.
        if (!advanceProgress(m_source, llRowID, false))
            return;
        llNextRowID = llRowID + 1;
    }

    if (bNothingWritten && bForced) {
        log(debugLine(QStringLiteral("Trigger empty event file (only header) transfer received")));
        m_writer.writeHeaderOnlyFile(clock.dtLocalNow);
    }
    if (m_bSpdPeriodOpen)
        closeSpdPeriod(clock.dtLocalNow, clock.iOffsetSecs, false);
    log(debugLine(QStringLiteral("Finish GetAutoLogbookData()")));
}

void CEventFileRun::GetManLogbookData(ManFileType eType, const QDateTime &dtStartUtc, const QDateTime &dtEndUtc)
{
    if (!m_source.hasLogbook()) {
        log(warningLine(QStringLiteral("DBus NOT valid!")));
        return;
    }
    if (eType == ManFile_NoTransfer) {
        log(warningLine(QStringLiteral("GetManLogbookData called with ManFile_NoTransfer")));
        return;
    }
    const CRunClock clock = startRunClock(m_source);
    m_writer.setLocalNow(clock.dtLocalNow);
    log(debugLine(runClockText(clock)));

    CLogbookFilter filter;
    filter.setStartRowID(1);
    filter.setStart(dtStartUtc);
    filter.setEnd(dtEndUtc);
    log(debugLine(streamItems({QStringLiteral("Filter start (UTC)"), quotedText(triggerTimeText(dtStartUtc)),
                               QStringLiteral(", end (UTC)"), quotedText(triggerTimeText(dtEndUtc))})));
    for (;;) {
        const QByteArray baRow = m_source.logbookRow(filter);
        if (baRow.isEmpty() || dtEndUtc < LogRow::DateTime(baRow))
            break;
        filter.setStartRowID(qint64(LogRow::RowID(baRow)) + 1);
        filter.setStart(QDateTime(QDate(1, 1, 1), QTime(0, 0)));
        pauseBetweenRows();
        ConvertLogbookRow(baRow, clock.dtLocalNow, clock.iOffsetSecs, true, eType);
    }
    if (m_bSpdPeriodOpen)
        closeSpdPeriod(clock.dtLocalNow, clock.iOffsetSecs, true);
    log(debugLine(QStringLiteral("Finish GetManLogbookData()")));
}
