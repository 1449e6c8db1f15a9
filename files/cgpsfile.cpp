#include "files/cgpsfile.h"

#include "files/cfilesource.h"
#include "files/cftlfilewriter.h"
#include "files/cftlnames.h"
#include "files/crunclock.h"
#include "log/cmodulelog.h"
#include "logbook/cftlline.h"
#include "logbook/cftlposition.h"
#include "logbook/cloggps.h"
#include "logbook/clogtracking.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int LINE_BUFFER_CHARS = 99;

QString errorText(int iErrno)
{
    return QString::fromLocal8Bit(std::strerror(iErrno));
}

} // namespace

QString gpsFilePath(const QDateTime &dtLocal)
{
    return ftlDirectory() + QStringLiteral("/GPS_") + dtLocal.toString(QStringLiteral("yyyyMMdd"))
           + QStringLiteral(".ftl");
}

QByteArray gpsFileLine(const CPositionFix &fix, qint32 iOffsetSecs)
{
    const QString sLine = ftlPositionLine(ftlStamp(fix.dtStamp, iOffsetSecs), ftlPositionOf(fix));
    return (sLine + QStringLiteral("\r\n")).left(LINE_BUFFER_CHARS).toLatin1();
}

QString defaultPositionText(const CPositionFix &fix)
{
    return QStringLiteral("Invalid GPS position lat ") + QString::number(fix.latitude()) + QStringLiteral(" / lon ")
           + QString::number(fix.longitude()) + QStringLiteral(" (seems to be the default position)");
}

bool CGpsFileRun::WriteGpsLine(const CPositionFix &fix, qint32 iOffsetSecs)
{
    if (fix.dtStamp.toString(QStringLiteral("yyyyMMdd")).size() < 8) {
        m_source.log(warningLine(QStringLiteral("GPS data contains an invalid time")));
        return true;
    }
    const QDateTime dtLocal = fix.dtStamp.addSecs(iOffsetSecs);
    const QString sPath = gpsFilePath(dtLocal);
    const bool bNew = !QFile::exists(sPath);
    const int iFd = ::open(QFile::encodeName(sPath).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (iFd < 0) {
        m_source.log(warningLine(streamItems({QStringLiteral("open error "), errorText(errno)})));
        return true;
    }
    if (::flock(iFd, LOCK_EX | LOCK_NB) != 0) {
        const int iError = errno;
        if (iError == EWOULDBLOCK)
            m_source.log(warningLine(QStringLiteral("File %1 is locked").arg(sPath)));
        else
            m_source.log(warningLine(streamItems({QStringLiteral("flock returns error "), errorText(iError)})));
        ::close(iFd);
        return true;
    }

    const QString sStamp = ftlStamp(fix.dtStamp, iOffsetSecs);
    m_source.log(debugLine(QStringLiteral("file  Time ") + sStamp + QStringLiteral(" gps position LAT ") +
                           ftlFixed("%f", fix.latitude()) + QStringLiteral(" LON  ") + ftlFixed("%f", fix.longitude()) +
                           QLatin1Char('\n')));
    // The tracking progress moves past this row next: the line, and the
    // name of a new day's file, are on the disk before that.
    struct stat oBefore {};
    const bool bSized = ::fstat(iFd, &oBefore) == 0;
    const bool bWritten = writeAll(iFd, gpsFileLine(fix, iOffsetSecs)) && ::fsync(iFd) == 0
                          && (!bNew || syncDirectory(ftlDirectory()));
    if (!bWritten) {
        m_source.log(warningLine(QStringLiteral("write error on ") + sPath + QStringLiteral(": ") + errorText(errno)));
        // A full disk may have taken part of the line: the file goes back
        // to its last whole line, and a day's file that never got one goes.
        if (bNew)
            ::unlink(QFile::encodeName(sPath).constData());
        else if (bSized && ::ftruncate(iFd, oBefore.st_size) != 0)
            m_source.log(warningLine(QStringLiteral("write error on ") + sPath + QStringLiteral(": ") + errorText(errno)));
    }

    if (::flock(iFd, LOCK_UN) != 0)
        m_source.log(warningLine(streamItems(
            {QStringLiteral("GPD file "), quotedText(sPath), QStringLiteral("  unlock error : "), errorText(errno)})));
    ::close(iFd);
    return bWritten;
}

void CGpsFileRun::GetGpsData()
{
    CRunClock clock;
    qint64 llNextRowID = 0;
    if (!startProgressRun(m_source, true, clock, llNextRowID))
        return;

    for (;;) {
        CLogbookFilter filter;
        filter.setStartRowID(llNextRowID);
        const QByteArray baRow = m_source.trackingRow(filter);
        if (baRow.isEmpty()) {
            m_source.log(debugLine(QStringLiteral("Finish GetGpsData()")));
            return;
        }
        const CLogTracking entry(baRow);
        pauseBetweenRows();
        if (!entry.hasUsablePosition()) {
            m_source.log(warningLine(defaultPositionText(entry.Position)));
        } else if (!WriteGpsLine(entry.Position, clock.iOffsetSecs)) {
            // The progress stays before a row the disk did not take.
            m_source.log(warningLine(QStringLiteral("GPS file run stopped at row %1: it stays for the next run")
                                         .arg(entry.RowID)));
            return;
        }
        // A rejected position is passed for good, like a written one.
        if (!advanceProgress(m_source, qint64(entry.RowID), true))
            return;
        llNextRowID = qint64(entry.RowID) + 1;
    }
}
