#pragma once

#include "controller/clogline.h"
#include "controller/ctransfertypes.h"

#include <QString>

// What the link and transfer machine asks of the rest of the daemon: the
// dial-up, the FTP client, the pending-file scan, the setups it reads and the
// log. The controller implements it; tests script it.
class CTransferHost
{
public:
    virtual ~CTransferHost() = default;

    virtual void log(const CLogLine &line) = 0;

    // Dial-up.
    virtual bool gsmModuleReady() = 0;
    virtual void startDialUp() = 0;
    virtual void stopDialUp() = 0;      // "killall pppd"
    virtual void killDialUp() = 0;      // "killall -9 pppd"
    virtual void killFtpClient() = 0;   // "killall -9 FTP_Client"
    virtual bool nameResolves() = 0;
    virtual void restartModule(int iReason) = 0;

    // Work and transfers.
    virtual TransferType nextTransfer(bool bConsume, QString &sFileName) = 0;
    // Starts the FTP client for one pending transfer of types 1 to 10.
    virtual void startTransfer(TransferType eType, const QString &sFileName) = 0;
    // Builds the info file and hands it to the FTP client; false when it
    // could not be built.
    virtual bool sendInfoFile() = 0;
    virtual void resetTransferStatus() = 0;
    virtual void writeGsmFtpEntry(int iEventCode) = 0;

    // Setups and requests.
    virtual bool serviceServerConfigured() const = 0;
    virtual int idleTimeSeconds() const = 0;
    virtual bool linkKeptForLtServerOrVpn() const = 0;
    virtual bool offlineRequested() const = 0;
    virtual void clearOfflineRequest() = 0;
    virtual int offlineSeconds() const = 0;
};
