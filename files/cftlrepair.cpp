#include "files/cftlrepair.h"

#include "controller/clogline.h"
#include "files/cftlfilewriter.h"
#include "files/cftlnames.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace
{

// Files that start with an FTL header, which ends with its "92" line.
bool hasHeader(const QString &sName)
{
    for (const char *pPrefix : {"EVE", "LEV", "MTR", "TK_"}) {
        if (sName.startsWith(QLatin1String(pPrefix)))
            return true;
    }
    return false;
}

bool headerComplete(const QByteArray &baWhole)
{
    return baWhole.startsWith("92,") || baWhole.contains("\r\n92,");
}

// The lines after the header's "92" line.
QByteArray bodyOf(const QByteArray &baWhole)
{
    const qsizetype llEnd = baWhole.startsWith("92,") ? 0 : baWhole.indexOf("\r\n92,") + 2;
    return baWhole.mid(baWhole.indexOf("\r\n", llEnd) + 2);
}

} // namespace

qsizetype wholeLinesLength(const QByteArray &baBytes)
{
    const qsizetype llZero = baBytes.indexOf('\0');
    const QByteArray baClean = llZero < 0 ? baBytes : baBytes.left(llZero);
    const qsizetype llLast = baClean.lastIndexOf("\r\n");
    return llLast < 0 ? 0 : llLast + 2;
}

CFtlRepair ftlRepairOf(const QString &sName, const QByteArray &baBytes)
{
    if (sName.startsWith(QLatin1Char('.')))
        return {CFtlRepair::Remove, 0}; // a test file that never got its name
    if (!sName.endsWith(QLatin1String(".ftl")) && !sName.endsWith(QLatin1String(".tst")))
        return {};
    const qsizetype llWhole = wholeLinesLength(baBytes);
    const QByteArray baWhole = baBytes.left(llWhole);
    if (llWhole == 0 || (hasHeader(sName) && !headerComplete(baWhole)))
        return {CFtlRepair::Remove, 0};
    if ((sName.startsWith(QLatin1String("LEV")) || sName.startsWith(QLatin1String("MTR"))) && bodyOf(baWhole).isEmpty())
        return {CFtlRepair::Remove, 0};
    if (llWhole < baBytes.size())
        return {CFtlRepair::CutBack, llWhole};
    return {};
}

void repairFtlDirectory(const std::function<void(const QString &)> &logWarning)
{
    const QDir dir(ftlDirectory());
    bool bChanged = false;
    for (const QString &sName : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString sPath = dir.filePath(sName);
        QFile file(sPath);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray baBytes = file.readAll();
        file.close();
        const CFtlRepair repair = ftlRepairOf(sName, baBytes);
        if (repair.eAction == CFtlRepair::Remove && QFile::remove(sPath)) {
            logWarning(QStringLiteral("Incomplete file removed:") + quotedText(sPath) + QStringLiteral(", size") +
                       QString::number(baBytes.size()));
            bChanged = true;
        } else if (repair.eAction == CFtlRepair::CutBack) {
            const int iFd = ::open(QFile::encodeName(sPath).constData(), O_WRONLY | O_CLOEXEC);
            if (iFd < 0 || ::ftruncate(iFd, repair.llLength) != 0 || ::fsync(iFd) != 0) {
                logWarning(QStringLiteral("cannot cut back ") + sPath);
            } else {
                logWarning(QStringLiteral("Incomplete file cut back:") + quotedText(sPath) + QStringLiteral(" from ") +
                           QString::number(baBytes.size()) + QStringLiteral(" to ") + QString::number(repair.llLength) +
                           QStringLiteral(" bytes"));
            }
            if (iFd >= 0)
                ::close(iFd);
        }
    }
    if (bChanged)
        syncDirectory(dir.path());
}
