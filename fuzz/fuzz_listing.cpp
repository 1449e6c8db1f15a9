// Directory listings and record texts that other processes control: names
// dropped into the FTL and mailbox directories, and unit serials that end up
// in file names. Whatever they hold, the chosen file must stay inside the
// directory it was listed in.
#include "files/cfilenamepart.h"
#include "files/cpendingscan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    if (uSize < 1)
        return 0;
    // The first byte sets the request flags and server switches; the rest
    // is one name per line, spread over the listings by its first byte.
    const uint8_t uFlags = pData[0];
    const QString sText = QString::fromUtf8(reinterpret_cast<const char *>(pData + 1), qsizetype(uSize - 1));
    CPendingListings listings;
    listings.sFtlDirectory = QStringLiteral("/var/log/FTL");
    listings.sMailboxDirectory = QStringLiteral("/var/log/log_tx");
    for (const QString &sName : sText.split(QLatin1Char('\n'))) {
        const int iPattern = sName.isEmpty() ? 0 : sName.at(0).unicode() % PatternCount;
        listings.aNames[iPattern].append(sName);
    }

    const auto bInside = [&listings](const QString &sPath) {
        return sPath.startsWith(listings.sFtlDirectory + QLatin1Char('/'))
            || sPath.startsWith(listings.sMailboxDirectory + QLatin1Char('/'));
    };
    for (int iKind = PendingGps; iKind <= PendingUpdateTest; ++iKind) {
        QString sFile;
        CLogLine found;
        if (checkPending(EPendingKind(iKind), listings, sFile, found) && !bInside(sFile))
            std::abort();
    }
    CTransferRequests requests;
    requests.bInfoFileRequested = uFlags & 1;
    requests.bSwUpdateGuiRequested = uFlags & 2;
    requests.bSwUpdateRequested = uFlags & 4;
    const CServerSwitches servers(uFlags & 8, uFlags & 16, uFlags & 32, QStringLiteral("office"));
    const CNextTransfer next = GetNextTransfer(requests, servers, [uFlags] { return bool(uFlags & 64); }, listings,
                                               uFlags & 128, uFlags & 3, true);
    if (!next.sFileName.isEmpty() && !bInside(next.sFileName))
        std::abort();

    const QString sPart = fileNamePart(sText);
    if (sPart.contains(QLatin1Char('/')) || sPart.contains(QStringLiteral("..")))
        std::abort();
    return 0;
}
