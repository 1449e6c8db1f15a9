#pragma once

#include "controller/clogline.h"
#include "files/cpendingscan.h"
#include "records/ccommrecords.h"

#include <QDateTime>
#include <QList>

// What the operator interface's transfer requests and the monitor's event-
// file requests turn into, decided without the bus: the request flags of
// the controller, the record to write back, refusals to publish in the
// transfer status, test files to create, and the log lines, in order.

// The request state of the controller that triggers set.
struct CTriggerRequests
{
    bool bGpsFileRequested = false;
    bool bInfoFileRequested = false;
    bool bSwUpdateRequested = false;
    int iManFileType = 0;
    QDateTime dtManStartUtc;
    QDateTime dtManEndUtc;
    bool bAutoEventFileRequested = false;
    bool bAutoEventFileForced = false;
};

// One step of the handling: a log line, then possibly a refusal (the
// group's state goes to FtpTransferFinishedError and the whole status
// record is published) or a test file to create (its transfer type).
struct CTriggerAction
{
    CLogLine line;
    bool bRefuse = false;
    CRunFtpTransferStatus::EGroup eRefuseGroup = CRunFtpTransferStatus::GroupGps;
    int iCreateTestFile = 0;
};

struct CTransferTriggerOutcome
{
    // Some request bit was set: the record goes back with the handled bits cleared.
    bool bWriteBack = false;
    QList<CTriggerAction> aActions;
};

// Handles every set request bit of the record in the fixed order and
// clears it in the record.
CTransferTriggerOutcome handleTransferTrigger(CRunTriggerFtpTransfer &oTrigger, const CServerSwitches &servers,
                                      CTriggerRequests &requests);

// The service's answer to the trigger signal: an empty or missing record is
// warned about and handles nothing, and nothing is written back; any other
// is taken into oTrigger and handled.
CTransferTriggerOutcome handleTransferTriggerReply(const QByteArray &baReply, CRunTriggerFtpTransfer &oTrigger,
                                                   const CServerSwitches &servers, CTriggerRequests &requests);

// An automatic event-file request of the trigger monitor; bForced sticks
// until the file has been built.
QList<CTriggerAction> handleAutoEventTrigger(bool bForced, const CServerSwitches &servers,
                                             CTriggerRequests &requests);

// "yyyy-MM-dd hh:mm:ss,zzz", the form of the trigger and filter times in the log.
QString triggerTimeText(const QDateTime &dt);
