#include "files/cpendingscan.h"

#include "controller/ctransfertypes.h"
#include "log/cmodulelog.h"
#include "records/ccommrecords.h"

namespace {

const char *const apPatterns[PatternCount] = {
    "gps*", "EVE*", "Tankora_*.log.tar.gz", "*", "MTR*", "LEV*", "TK_Data_*", "TK_Service_*", "TK_Update_*",
};

const char *const apCheckNames[] = {
    "CheckPendingGPSFiles",      "CheckPendingEventFiles",       "CheckPendingLogFiles",
    "CheckPendingMbxFiles",      "CheckPendingDeliveryFiles",    "CheckPendingDataTestFiles",
    "CheckPendingServiceTestFiles", "CheckPendingUpdateTestFiles",
};

bool isDotEntry(const QString &sName)
{
    return sName == QLatin1String(".") || sName == QLatin1String("..");
}

// The mailbox sends the last entry of its listing; "." and ".." come last
// of all when the directory is listed with directories after files.
QString lastMailboxEntry(const QStringList &asNames)
{
    if (asNames.size() < 2)
        return QString();
    for (auto it = asNames.crbegin(); it != asNames.crend(); ++it) {
        if (!isDotEntry(*it))
            return *it;
    }
    return QString();
}

QString firstEntry(const QStringList &asNames)
{
    return asNames.isEmpty() ? QString() : asNames.first();
}

QString chosenName(EPendingKind eKind, const CPendingListings &listings)
{
    switch (eKind) {
    case PendingGps: {
        // A packed GPS file listed first blocks the GPS queue.
        const QString sName = firstEntry(listings.aNames[PatternGps]);
        return sName.endsWith(QLatin1String(".gz")) ? QString() : sName;
    }
    case PendingEvent: return firstEntry(listings.aNames[PatternEvent]);
    case PendingLog: return firstEntry(listings.aNames[PatternLog]);
    case PendingMailbox: return lastMailboxEntry(listings.aNames[PatternMailbox]);
    case PendingDelivery: {
        const QString sMeter = firstEntry(listings.aNames[PatternMeter]);
        return sMeter.isEmpty() ? firstEntry(listings.aNames[PatternLevel]) : sMeter;
    }
    case PendingDataTest: return firstEntry(listings.aNames[PatternDataTest]);
    case PendingServiceTest: return firstEntry(listings.aNames[PatternServiceTest]);
    case PendingUpdateTest: return firstEntry(listings.aNames[PatternUpdateTest]);
    }
    return QString();
}

enum EServer { ServerData, ServerService, ServerUpdate };

bool isOn(const CServerSwitches &servers, EServer eServer)
{
    switch (eServer) {
    case ServerData: return servers.bData;
    case ServerService: return servers.bService;
    case ServerUpdate: return servers.bUpdate;
    }
    return false;
}

struct CScanStep
{
    EPendingKind eKind;
    EServer eServer;
    const char *pDisabled;
    const char *pStart;
    TransferType eType;
};

// The fixed order of the waiting files.
const CScanStep aScanOrder[] = {
    {PendingEvent, ServerData, "File transfer is disabled", "Start event file transfer", TransferEvent},
    {PendingDelivery, ServerData, "File transfer is disabled", "Start event file transfer", TransferDelivery},
    {PendingGps, ServerData, "Gps data transfer is disabled", "Start GPS file transfer", TransferGps},
    {PendingDataTest, ServerData, "File transfer is disabled", "Start data test file transfer", TransferDataTest},
    {PendingServiceTest, ServerService, "File transfer is disabled", "Start service test file transfer",
     TransferServiceTest},
    {PendingUpdateTest, ServerUpdate, "File transfer is disabled", "Start update test file transfer",
     TransferUpdateTest},
    {PendingLog, ServerData, "File transfer is disabled", "Start log file transfer", TransferLog},
    {PendingMailbox, ServerData, "File transfer is disabled", "Start log file transfer", TransferLog},
};

// One of the three request rules: a request whose server is off is dropped.
void serveRequest(bool &bRequested, bool bServerOn, const char *pIgnored, const char *pStart, int iType,
                  bool bConsume, CNextTransfer &next)
{
    if (!bServerOn) {
        next.aLog << debugLine(QLatin1String(pIgnored));
        bRequested = false;
        return;
    }
    if (pStart)
        next.aLog << debugLine(QLatin1String(pStart));
    next.bFound = true;
    next.iType = iType;
    if (bConsume)
        bRequested = false;
}

CNextTransfer found(CNextTransfer next, int iType)
{
    next.bFound = true;
    next.iType = iType;
    return next;
}

} // namespace

QString pendingPatternText(EPendingPattern ePattern)
{
    return QLatin1String(apPatterns[ePattern]);
}

bool isMailboxPattern(EPendingPattern ePattern)
{
    return ePattern == PatternMailbox;
}

bool checkPending(EPendingKind eKind, const CPendingListings &listings, QString &sFileName, CLogLine &lineFound)
{
    const QString sName = chosenName(eKind, listings);
    if (sName.isEmpty())
        return false;
    const QString &sDirectory = eKind == PendingMailbox ? listings.sMailboxDirectory : listings.sFtlDirectory;
    sFileName = sDirectory + QLatin1Char('/') + sName;
    lineFound = debugLine(streamItems({QLatin1String(apCheckNames[eKind]) + QStringLiteral("() file found:  "),
                                       QLatin1Char('"') + sFileName + QLatin1Char('"')}));
    return true;
}

CServerSwitches serverSwitches(const CSetGsmGprsFtpData &oData, const CSetGsmGprsFtpService &oService,
                               const CSetGsmGprsFtpUpdate &oUpdate)
{
    return CServerSwitches(oData.isEnabled(), oService.isEnabled(), oUpdate.isEnabled(), oData.sDomain());
}

CNextTransfer GetNextTransfer(CTransferRequests &requests, const CServerSwitches &servers,
                              const std::function<bool()> &fnSwUpdateDue, const CPendingListings &listings,
                              bool bLtServerEnabled, bool bVpnActive, bool bConsume)
{
    CNextTransfer next;
    const char *pSwIgnored = "software update search trigger ignored";
    if (requests.bInfoFileRequested) {
        serveRequest(requests.bInfoFileRequested, servers.bService, "info file trigger ignored",
                     "Start software info file", TransferInfo, bConsume, next);
        return next;
    }
    if (requests.bSwUpdateGuiRequested) {
        serveRequest(requests.bSwUpdateGuiRequested, servers.bUpdate, pSwIgnored,
                     "Start software update search triggered by GUI", TransferSwUpdate, bConsume, next);
        return next;
    }
    if (requests.bSwUpdateRequested) {
        serveRequest(requests.bSwUpdateRequested, servers.bUpdate, pSwIgnored, nullptr, TransferSwUpdate, bConsume,
                     next);
        return next;
    }
    if (servers.bUpdate && fnSwUpdateDue && fnSwUpdateDue()) {
        next.aLog << debugLine(QStringLiteral("Start software update search"));
        return found(next, TransferSwUpdate);
    }

    for (const CScanStep &step : aScanOrder) {
        QString sFileName;
        CLogLine lineFound;
        if (!checkPending(step.eKind, listings, sFileName, lineFound))
            continue;
        next.aLog << lineFound;
        if (!isOn(servers, step.eServer)) {
            next.aLog << debugLine(QLatin1String(step.pDisabled));
            return next;
        }
        next.aLog << debugLine(QLatin1String(step.pStart));
        next.sFileName = sFileName;
        return found(next, step.eType);
    }

    if (bLtServerEnabled)
        return found(next, TransferLtServer);
    if (bVpnActive)
        return found(next, TransferVpn);
    return next;
}
