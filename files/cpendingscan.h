#pragma once

#include "controller/clogline.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CSetGsmGprsFtpData;
class CSetGsmGprsFtpService;
class CSetGsmGprsFtpUpdate;

// The waiting files are the transfer queue itself: what lies in the FTL
// directory and in the mailbox directory is sent, kind by kind, in a fixed
// order. Here the choice is made from directory listings handed in, so it
// can be decided without touching the disk.

// One listing per name pattern, in the order the directory lists it.
enum EPendingPattern {
    PatternGps,         // "gps*"
    PatternEvent,       // "EVE*"
    PatternLog,         // "Tankora_*.log.tar.gz"
    PatternMailbox,     // "*" in the mailbox directory
    PatternMeter,       // "MTR*"
    PatternLevel,       // "LEV*"
    PatternDataTest,    // "TK_Data_*"
    PatternServiceTest, // "TK_Service_*"
    PatternUpdateTest,  // "TK_Update_*"
    PatternCount
};

QString pendingPatternText(EPendingPattern ePattern);
// Every pattern but the mailbox one lists the FTL directory.
bool isMailboxPattern(EPendingPattern ePattern);

struct CPendingListings
{
    QString sFtlDirectory;
    QString sMailboxDirectory;
    QStringList aNames[PatternCount];
};

// The eight kinds of waiting file, each found by its own scan.
enum EPendingKind {
    PendingGps,
    PendingEvent,
    PendingLog,
    PendingMailbox,
    PendingDelivery,
    PendingDataTest,
    PendingServiceTest,
    PendingUpdateTest
};

// One scan: true with the full path (directory + "/" + name) and its
// "CheckPending…() file found:  \"path\"" line; false leaves both untouched.
bool checkPending(EPendingKind eKind, const CPendingListings &listings, QString &sFileName, CLogLine &found);

// Which of the three FTP servers take their kinds of transfer.
struct CServerSwitches
{
    CServerSwitches() = default;
    CServerSwitches(bool bDataOn, bool bServiceOn, bool bUpdateOn, const QString &sDomain = QString())
        : bData(bDataOn), bService(bServiceOn), bUpdate(bUpdateOn), sDataDomain(sDomain)
    {
    }

    bool bData = false;
    bool bService = false;
    bool bUpdate = false;
    // Shown when a GPS trigger is ignored.
    QString sDataDomain;
};

CServerSwitches serverSwitches(const CSetGsmGprsFtpData &oData, const CSetGsmGprsFtpService &oService,
                               const CSetGsmGprsFtpUpdate &oUpdate);

// The requests a look-up answer can consume.
struct CTransferRequests
{
    bool bInfoFileRequested = false;
    bool bSwUpdateGuiRequested = false;
    bool bSwUpdateRequested = false;
};

struct CNextTransfer
{
    bool bFound = false;
    int iType = 0;
    QString sFileName;
    QList<CLogLine> aLog;
};

// What to do next, by the first rule that applies: info file, look-up
// requested by the operator interface, look-up trigger, scheduled look-up
// (fnSwUpdateDue is asked only when the update server is enabled and
// nothing before it applied), the waiting files in their fixed order, then
// keeping the link for the LT server or the VPN. With bConsume the request
// flag that answered is cleared; a request whose server has been switched
// off meanwhile is dropped either way.
CNextTransfer GetNextTransfer(CTransferRequests &requests, const CServerSwitches &servers,
                              const std::function<bool()> &fnSwUpdateDue, const CPendingListings &listings,
                              bool bLtServerEnabled, bool bVpnActive, bool bConsume);
