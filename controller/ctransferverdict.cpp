#include "controller/clogline.h"
#include "controller/ctransferverdict.h"

#include "app/cpaths.h"
#include "controller/ctransfertypes.h"
#include "log/cmodulelog.h"

#include <QFileInfo>

namespace {

// How the byte counts follow the progress line's lead.
enum EFraming {
    FramingOf,       // " (t of  n transfered)"
    FramingOfPadded, // " (  t of  n transfered)"
    FramingSize      // " transfered t size n"
};

struct CKindRule
{
    int iFirstType;
    int iLastType;
    CRunFtpTransferStatus::EGroup eGroup;
    const char *pProgressLead;
    EFraming eFraming;
    const char *pResultLead;
    // The update look-up names the file it looked for instead of the state.
    bool bNamesFile;
    // A failed test file is removed and not counted as a failed transfer.
    bool bTestFile;
};

const CKindRule aKindRules[] = {
    {TransferInfo, TransferInfo, CRunFtpTransferStatus::GroupInfo, "Transfer state of info file: ", FramingOf,
     "Transfer of info file '", false, false},
    {TransferGps, TransferGps, CRunFtpTransferStatus::GroupGps, "Transfer state of GPS file: ", FramingOfPadded,
     "Transfer of gps file '", false, false},
    {TransferEvent, TransferEvent, CRunFtpTransferStatus::GroupEvent, "Transfer state of event file: ",
     FramingOfPadded, "Transfer of event file '", false, false},
    {TransferDelivery, TransferDeliveryAlt, CRunFtpTransferStatus::GroupEvent, "Transfer state of delivery file: ",
     FramingOf, "Transfer of delivery file '", false, false},
    {TransferSwUpdate, TransferSwUpdate, CRunFtpTransferStatus::GroupUpdate, "Transfer state '  name ", FramingOf,
     "Transfer of update file '", true, false},
    {TransferLog, TransferLog, CRunFtpTransferStatus::GroupLog, "Transfer state of log file: ", FramingSize,
     "Transfer of log file '", false, false},
    {TransferDataTest, TransferUpdateTest, CRunFtpTransferStatus::GroupTest, "Transfer state of test file: ",
     FramingOf, "Transfer of test file '", false, true},
};

const CKindRule *ruleFor(int iTransferType)
{
    for (const CKindRule &rule : aKindRules) {
        if (iTransferType >= rule.iFirstType && iTransferType <= rule.iLastType)
            return &rule;
    }
    return nullptr;
}

// The byte counts as items of the progress line, each framing text its own item.
QStringList byteCounts(EFraming eFraming, qint64 llTransferred, qint64 llTotal)
{
    const QString sTransferred = QString::number(llTransferred);
    const QString sTotal = QString::number(llTotal);
    switch (eFraming) {
    case FramingOf:
    case FramingOfPadded:
        return {eFraming == FramingOf ? QStringLiteral(" (") : QStringLiteral(" (  "), sTransferred,
                QStringLiteral(" of  "), sTotal, QStringLiteral(" transfered)")};
    case FramingSize: return {QStringLiteral(" transfered "), sTransferred, QStringLiteral(" size "), sTotal};
    }
    return {};
}

// Only the name itself counts, so a name from the record never points
// outside the FTL directory.
QString removablePath(const QString &sFileName)
{
    const QString sName = QFileInfo(sFileName).fileName();
    if (sName.isEmpty() || sName == QLatin1String(".") || sName == QLatin1String(".."))
        return QString();
    return rootedPath(QStringLiteral("/var/log/FTL")) + QLatin1Char('/') + sName;
}

} // namespace

bool transferStatusGroup(int iTransferType, CRunFtpTransferStatus::EGroup &eGroup)
{
    const CKindRule *pRule = ruleFor(iTransferType);
    if (!pRule)
        return false;
    eGroup = pRule->eGroup;
    return true;
}

CTransferVerdict judgeTransferStatus(int iTransferType, const CRunFtpTransferStatus &oStatus)
{
    CTransferVerdict verdict;
    const CKindRule *pRule = ruleFor(iTransferType);
    if (!pRule)
        return verdict;
    verdict.bJudged = true;
    verdict.eGroup = pRule->eGroup;

    const qint32 iState = oStatus.state(pRule->eGroup);
    const QString sFileName = oStatus.fileName(pRule->eGroup);
    const QString sSubject = pRule->bNamesFile ? sFileName : transferStatusName(iState);
    verdict.progress = debugLine(streamItems(
        QStringList{QLatin1String(pRule->pProgressLead), quotedText(sSubject)} +
        byteCounts(pRule->eFraming, oStatus.transferredBytes(pRule->eGroup), oStatus.totalBytes(pRule->eGroup))));

    // The result line: its lead, the quoted name and its end, as three items.
    const QString sResultStart =
        streamItems({QLatin1String(pRule->pResultLead), quotedText(sFileName)}) + QLatin1Char(' ');
    if (iState == FtpTransferFinished) {
        verdict.bFinished = true;
        verdict.result = debugLine(sResultStart + QStringLiteral("' finished"));
    } else if (iState == FtpTransferFinishedError) {
        verdict.bFinished = true;
        if (pRule->bTestFile) {
            verdict.result = warningLine(sResultStart + QStringLiteral("' failed. File removed"));
            verdict.sRemovePath = removablePath(sFileName);
        } else {
            verdict.bFinishedWithError = true;
            verdict.result = warningLine(sResultStart + QStringLiteral("' failed"));
        }
    }
    return verdict;
}
