#include "files/ctestfiles.h"

#include "app/cpaths.h"
#include "controller/ctransfertypes.h"
#include "files/cfilenamepart.h"
#include "files/cfilesource.h"
#include "files/cftlfilewriter.h"
#include "files/cftlheader.h"
#include "files/cftlnames.h"
#include "files/crunclock.h"
#include "log/cmodulelog.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct CTestKind
{
    int iTransferType;
    const char *pPrefix;
    const char *pName; // as the log names the kind
};

const CTestKind aKinds[] = {
    {TransferDataTest, "/TK_Data_", "data"},
    {TransferServiceTest, "/TK_Service_", "service"},
    {TransferUpdateTest, "/TK_Update_", "update"},
};

const CTestKind *kindOfPrefix(const QString &sPrefix)
{
    for (const CTestKind &kind : aKinds) {
        if (sPrefix == QLatin1String(kind.pPrefix))
            return &kind;
    }
    return nullptr;
}

QString lrpSerial(CFileSource &source)
{
    CRunGeneralWM lrp;
    return source.readRuntimeGeneralWM(lrp) ? lrp.sLrpSerial() : QStringLiteral("unknown");
}

// A test file gets its name only once it is whole on the disk: a power cut
// while it is written leaves a hidden file, which the start removes, never
// a test file cut short that the pending scan would send.
QString hiddenPath(const QString &sPath)
{
    const QFileInfo info(sPath);
    return info.path() + QStringLiteral("/.") + info.fileName();
}

bool publish(const QString &sHidden, const QString &sPath)
{
    const int iFd = ::open(QFile::encodeName(sHidden).constData(), O_RDONLY | O_CLOEXEC);
    const bool bSynced = iFd >= 0 && ::fsync(iFd) == 0;
    if (iFd >= 0)
        ::close(iFd);
    if (!bSynced || QFileInfo::exists(sPath) || ::rename(QFile::encodeName(sHidden).constData(),
                                                          QFile::encodeName(sPath).constData()) != 0) {
        QFile::remove(sHidden);
        return false;
    }
    return syncDirectory(QFileInfo(sPath).path());
}

// Without a template the file is what an event file of this moment would
// start with.
bool writeHeaderOnly(CFileSource &source, const QString &sPath, const QString &sLocalNow)
{
    // A file of that name from the same second gets the header appended.
    const bool bExists = QFileInfo::exists(sPath);
    const QString sTarget = bExists ? sPath : hiddenPath(sPath);
    const int iFd = ::open(QFile::encodeName(sTarget).constData(),
                           O_WRONLY | O_APPEND | O_CREAT | (bExists ? 0 : O_TRUNC) | O_CLOEXEC, 0644);
    if (iFd < 0) {
        source.log(warningLine(streamItems({QStringLiteral("Error creating file "), quotedText(sPath)})));
        return false;
    }
    if (!writeSyncClose(iFd, ftlHeaderText(source, QString(), sLocalNow)) || (!bExists && !publish(sTarget, sPath)))
        source.log(warningLine(QStringLiteral("write error on ") + sPath));
    // The operator tests the link right after this; the file must be whole.
    ::sync();
    return true;
}

} // namespace

QString testFilePrefix(int iTransferType)
{
    for (const CTestKind &kind : aKinds) {
        if (kind.iTransferType == iTransferType)
            return QLatin1String(kind.pPrefix);
    }
    return QString();
}

QString testFilePath(const QString &sPrefix, const QString &sLrpSerial, const QString &sStamp)
{
    return ftlDirectory() + sPrefix + fileNamePart(sLrpSerial) + QStringLiteral("_") + sStamp
           + QStringLiteral(".tst");
}

QString testFileTemplatePath()
{
    return rootedPath(QStringLiteral("/var/lib/Tankora/Eve.ftl"));
}

QString CreateTestFile(CFileSource &source, const QString &sPrefix)
{
    const CTestKind *pKind = kindOfPrefix(sPrefix);
    if (!pKind) {
        source.log(warningLine(QStringLiteral("unknown test file prefix ") + quotedText(sPrefix)));
        return QString();
    }
    const QString sKind = QLatin1String(pKind->pName);
    const QString sLocalNow = startRunClock(source).dtLocalNow.toString(QStringLiteral("yyyyMMddhhmmss"));
    const QString sPath = testFilePath(sPrefix, lrpSerial(source), sLocalNow);

    const QString sTemplate = testFileTemplatePath();
    if (QFileInfo::exists(sTemplate)) {
        // A file of that name from the same second stays and is sent as it is.
        if (!QFileInfo::exists(sPath) && QFile::copy(sTemplate, hiddenPath(sPath)))
            publish(hiddenPath(sPath), sPath);
        source.log(debugLine(
            streamItems({QStringLiteral("new ") + sKind + QStringLiteral(" test file copied: "), quotedText(sPath)})));
        return sPath;
    }
    if (!writeHeaderOnly(source, sPath, sLocalNow))
        return QString();
    source.log(warningLine(streamItems({QStringLiteral("New ") + sKind + QStringLiteral(" test file created:"),
                                        quotedText(sPath), QStringLiteral(", size"),
                                        QString::number(QFileInfo(sPath).size())})));
    return sPath;
}
