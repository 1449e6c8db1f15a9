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

// Without a template the file is what an event file of this moment would
// start with.
bool writeHeaderOnly(CFileSource &source, const QString &sPath, const QString &sLocalNow)
{
    const int iFd = ::open(QFile::encodeName(sPath).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (iFd < 0) {
        source.log(warningLine(QStringLiteral("Error creating file ") + quotedText(sPath)));
        return false;
    }
    if (!writeSyncClose(iFd, ftlHeaderText(source, QString(), sLocalNow)))
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
        QFile::copy(sTemplate, sPath);
        source.log(debugLine(QStringLiteral("new ") + sKind + QStringLiteral(" test file copied: ") + quotedText(sPath)));
        return sPath;
    }
    if (!writeHeaderOnly(source, sPath, sLocalNow))
        return QString();
    source.log(warningLine(streamItems({QStringLiteral("New ") + sKind + QStringLiteral(" test file created:"),
                                        quotedText(sPath), QStringLiteral(", size"),
                                        QString::number(QFileInfo(sPath).size())})));
    return sPath;
}
