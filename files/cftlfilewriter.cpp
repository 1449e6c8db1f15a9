#include "files/cftlfilewriter.h"

#include "files/cfilesource.h"
#include "files/cftlheader.h"
#include "files/cftlnames.h"
#include "log/cmodulelog.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

bool writeAll(int iFd, const QByteArray &baBytes)
{
    qsizetype llDone = 0;
    while (llDone < baBytes.size()) {
        const ssize_t llWritten = ::write(iFd, baBytes.constData() + llDone, size_t(baBytes.size() - llDone));
        if (llWritten < 0 && errno == EINTR)
            continue;
        if (llWritten <= 0)
            return false;
        llDone += llWritten;
    }
    return true;
}

bool writeSyncClose(int iFd, const QByteArray &baBytes)
{
    bool bOk = writeAll(iFd, baBytes);
    bOk = (::fsync(iFd) == 0) && bOk;
    bOk = (::close(iFd) == 0) && bOk;
    return bOk;
}

bool syncDirectory(const QString &sDir)
{
    const int iFd = ::open(QFile::encodeName(sDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (iFd < 0)
        return false;
    const bool bOk = ::fsync(iFd) == 0;
    ::close(iFd);
    return bOk;
}

int CFtlFileWriter::openForAppend(const QString &sPath)
{
    const int iFd = ::open(QFile::encodeName(sPath).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (iFd < 0)
        m_source.log(warningLine(QStringLiteral("cannot open file ") + sPath + QStringLiteral(" for writing. Error ")
                                 + QString::fromLocal8Bit(std::strerror(errno))));
    return iFd;
}

QByteArray CFtlFileWriter::headerText(const QString &sFirstLine)
{
    return ftlHeaderText(m_source, sFirstLine, m_dtLocalNow.toString(QStringLiteral("yyyyMMddhhmmss")));
}

bool CFtlFileWriter::WriteFtlFile(const QString &sPrefix, const QString &sTag, const QStringList &asLines,
                                  const QDateTime &dtFileTime)
{
    if (asLines.isEmpty() || asLines.first().isEmpty())
        return false;
    const QString sPath = ftlFilePath(sPrefix, sTag, dtFileTime);
    const bool bNew = !QFileInfo::exists(sPath);
    if (bNew)
        m_source.log(debugLine(QStringLiteral("Open new file and store the data in ") + quotedText(sPath)));
    const int iFd = openForAppend(sPath);
    if (iFd < 0)
        return false;

    QByteArray baBytes;
    if (bNew) {
        m_source.log(warningLine(streamItems({QStringLiteral("Start creation of new file:"), quotedText(sPath)})));
        baBytes = headerText(asLines.first());
    }
    for (const QString &sLine : asLines) {
        if (sLine.isEmpty()) {
            m_source.log(debugLine(QStringLiteral("length of FtlString is 0")));
            continue;
        }
        baBytes += sLine.toLatin1() + "\r\n";
    }
    return writeOrUndo(iFd, sPath, bNew, baBytes);
}

bool CFtlFileWriter::writeOrUndo(int iFd, const QString &sPath, bool bNew, const QByteArray &baBytes)
{
    // A half-written line must never reach the back office: on a failed
    // write the file goes back to the size it had before this call.
    const off_t llSizeBefore = ::lseek(iFd, 0, SEEK_END);
    // A new file's rows count as sent only once its name is on the disk too.
    if (writeSyncClose(iFd, baBytes) && (!bNew || syncDirectory(QFileInfo(sPath).path())))
        return true;
    const QString sError = QString::fromLocal8Bit(std::strerror(errno));
    if (bNew)
        QFile::remove(sPath);
    else if (llSizeBefore >= 0)
        QFile::resize(sPath, llSizeBefore);
    m_source.log(warningLine(QStringLiteral("write error on ") + sPath + QStringLiteral(": ") + sError));
    m_bWriteFailed = true;
    return false;
}

void CFtlFileWriter::writeHeaderOnlyFile(const QDateTime &dtFileTime)
{
    const QString sPath = ftlFilePath(QStringLiteral("EVE"), QStringLiteral("l"), dtFileTime);
    if (QFileInfo::exists(sPath))
        return;
    const int iFd = openForAppend(sPath);
    if (iFd < 0)
        return;
    if (!writeOrUndo(iFd, sPath, true, headerText(QString())))
        return;
    m_source.log(warningLine(streamItems({QStringLiteral("New event file (empty file for time trigger) created:"),
                                          quotedText(sPath), QStringLiteral(", size"),
                                          QString::number(QFileInfo(sPath).size())})));
}
