#include "controller/clogline.h"
#include "files/ctriggerhandling.h"

#include "controller/ctransfertypes.h"
#include "log/cmodulelog.h"

namespace {

using ETrigger = CRunTriggerFtpTransfer::ETrigger;

const int iText1Field = 10;
const int iText2Field = 11;

CTriggerAction logOnly(const CLogLine &line)
{
    CTriggerAction action;
    action.line = line;
    return action;
}

CTriggerAction refusal(const QString &sText, CRunFtpTransferStatus::EGroup eGroup)
{
    CTriggerAction action;
    action.line = debugLine(sText);
    action.bRefuse = true;
    action.eRefuseGroup = eGroup;
    return action;
}

CTriggerAction testFile(bool bServerOn, const char *pDisabled, const QString &sReceived, int iType)
{
    if (!bServerOn)
        return refusal(QLatin1String(pDisabled), CRunFtpTransferStatus::GroupTest);
    CTriggerAction action;
    action.line = debugLine(sReceived);
    action.iCreateTestFile = iType;
    return action;
}

int manFileTypeOf(const QString &sTriggerType)
{
    if (sTriggerType == QLatin1String("Complete"))
        return ManFile_Complete;
    if (sTriggerType == QLatin1String("Event"))
        return ManFile_Event;
    if (sTriggerType == QLatin1String("Delivery"))
        return ManFile_Delivery;
    return ManFile_NoTransfer;
}

void takeManualTrigger(CRunTriggerFtpTransfer &oTrigger, CTriggerRequests &requests, QList<CTriggerAction> &aActions)
{
    const QString sTriggerType = oTrigger.sTriggerType();
    aActions << logOnly(
        warningLine(streamItems({QStringLiteral("Trigger for man. Event-File transfer received, trigger type:"),
                                 quotedText(sTriggerType)})));
    requests.iManFileType = manFileTypeOf(sTriggerType);
    requests.dtManStartUtc = oTrigger.dtTriggerStartUtc();
    requests.dtManEndUtc = oTrigger.dtTriggerEndUtc();

    // The record is left with times no period reaches and no type.
    const QDateTime dtFarFuture = QDateTime::fromString(QStringLiteral("01.01.3000"), QStringLiteral("dd.MM.yyyy"));
    oTrigger.setTriggerStartUtc(dtFarFuture);
    oTrigger.setTriggerEndUtc(dtFarFuture);
    oTrigger.setField(iText1Field, QStringLiteral(""));
    oTrigger.setField(iText2Field, QStringLiteral(""));
    oTrigger.setTriggerType(QStringLiteral(""));

    aActions << logOnly(warningLine(streamItems({QStringLiteral("Trigger start (UTC)"),
                                                 quotedText(triggerTimeText(requests.dtManStartUtc)),
                                                 QStringLiteral(", Trigger end (UTC)"),
                                                 quotedText(triggerTimeText(requests.dtManEndUtc))})));
}

// Handles one request bit; false when it was not set.
bool takeTrigger(ETrigger eTrigger, CRunTriggerFtpTransfer &oTrigger, const CServerSwitches &servers,
                 CTriggerRequests &requests, QList<CTriggerAction> &aActions)
{
    if (!oTrigger.trigger(eTrigger))
        return false;
    oTrigger.setTrigger(eTrigger, false);

    switch (eTrigger) {
    case CRunTriggerFtpTransfer::bStartGpsFileTransfer:
        if (!servers.bData) {
            aActions << refusal(
                streamItems({QStringLiteral("gps file trigger ignored. Domain: "), servers.sDataDomain}),
                CRunFtpTransferStatus::GroupGps);
            requests.bGpsFileRequested = false;
        } else {
            aActions << logOnly(debugLine(QStringLiteral("Trigger for GPS-File transfer received")));
            requests.bGpsFileRequested = true;
        }
        break;
    case CRunTriggerFtpTransfer::bStartInfoFileTransfer:
        if (!servers.bService) {
            aActions << refusal(QStringLiteral("info file trigger ignored"), CRunFtpTransferStatus::GroupInfo);
        } else {
            aActions << logOnly(debugLine(QStringLiteral("Trigger for Info-File transfer received")));
            requests.bInfoFileRequested = true;
        }
        break;
    case CRunTriggerFtpTransfer::bStartAutoEventFileTransfer:
        // Automatic event files come only from the trigger monitor.
        aActions << logOnly(warningLine(QStringLiteral(
            "CRunTriggerFtpTransfer::bStartAutoEventFileTransfer received, but ignored due to new handling.")));
        break;
    case CRunTriggerFtpTransfer::bStartManEventFileTransfer:
        if (!servers.bData)
            aActions << refusal(QStringLiteral("data file trigger ignored"), CRunFtpTransferStatus::GroupEvent);
        else
            takeManualTrigger(oTrigger, requests, aActions);
        break;
    case CRunTriggerFtpTransfer::bStartSwUpdate:
        if (!servers.bUpdate) {
            aActions << refusal(QStringLiteral("software update search trigger ignored"),
                                CRunFtpTransferStatus::GroupUpdate);
        } else {
            requests.bSwUpdateRequested = true;
            aActions << logOnly(debugLine(QStringLiteral("Trigger SW update transfer received")));
        }
        break;
    case CRunTriggerFtpTransfer::bStartLogFileTransfer:
        // A waiting log archive is found by the scan; only a refusal is told.
        if (!servers.bData)
            aActions << refusal(QStringLiteral("log file transfer is disabled"), CRunFtpTransferStatus::GroupLog);
        break;
    case CRunTriggerFtpTransfer::bStartDataTestFileTransfer:
        aActions << testFile(servers.bData, "data test file transfer is disabled",
                             QStringLiteral("Trigger data test file transfer received"), TransferDataTest);
        break;
    case CRunTriggerFtpTransfer::bStartServiceTestFileTransfer:
        aActions << testFile(servers.bService, "service test file transfer is disabled",
                             QStringLiteral("Trigger service test file transfer received"), TransferServiceTest);
        break;
    case CRunTriggerFtpTransfer::bStartUpdateTestFileTransfer:
        aActions << testFile(servers.bUpdate, "update test file transfer is disabled",
                             QStringLiteral("Trigger update test file transfer received\n"), TransferUpdateTest);
        break;
    }
    return true;
}

// The order in which the request bits are visited.
const ETrigger aTriggerOrder[] = {
    CRunTriggerFtpTransfer::bStartGpsFileTransfer,         CRunTriggerFtpTransfer::bStartInfoFileTransfer,
    CRunTriggerFtpTransfer::bStartAutoEventFileTransfer,   CRunTriggerFtpTransfer::bStartManEventFileTransfer,
    CRunTriggerFtpTransfer::bStartSwUpdate,                CRunTriggerFtpTransfer::bStartLogFileTransfer,
    CRunTriggerFtpTransfer::bStartDataTestFileTransfer,    CRunTriggerFtpTransfer::bStartServiceTestFileTransfer,
    CRunTriggerFtpTransfer::bStartUpdateTestFileTransfer,
};

} // namespace

CTransferTriggerOutcome handleTransferTrigger(CRunTriggerFtpTransfer &oTrigger, const CServerSwitches &servers,
                                      CTriggerRequests &requests)
{
    CTransferTriggerOutcome outcome;
    for (const ETrigger eTrigger : aTriggerOrder) {
        if (takeTrigger(eTrigger, oTrigger, servers, requests, outcome.aActions))
            outcome.bWriteBack = true;
    }
    return outcome;
}

CTransferTriggerOutcome handleTransferTriggerReply(const QByteArray &baReply, CRunTriggerFtpTransfer &oTrigger,
                                                   const CServerSwitches &servers, CTriggerRequests &requests)
{
    if (baReply.isEmpty()) {
        CTransferTriggerOutcome outcome;
        outcome.aActions << logOnly(warningLine(QStringLiteral("'getRuntimeTriggerFtpTransfer' returns NULL")));
        return outcome;
    }
    oTrigger.fromByteArray(baReply);
    return handleTransferTrigger(oTrigger, servers, requests);
}

QList<CTriggerAction> handleAutoEventTrigger(bool bForced, const CServerSwitches &servers,
                                             CTriggerRequests &requests)
{
    if (!servers.bData) {
        CTriggerAction action = refusal(QStringLiteral("Data file trigger ignored"), CRunFtpTransferStatus::GroupEvent);
        action.line.eLevel = CLogLine::Warning;
        return {action};
    }
    requests.bAutoEventFileRequested = true;
    if (!requests.bAutoEventFileForced)
        requests.bAutoEventFileForced = bForced;
    return {logOnly(debugLine(QStringLiteral("Trigger for auto. event file transfer received")))};
}

QString triggerTimeText(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss,zzz"));
}
