#include "files/cpendinglistings.h"

#include "app/cpaths.h"
#include "files/cftlnames.h"

#include <QDir>

CPendingListings listPendingFiles()
{
    return listPendingFiles(ftlDirectory(), rootedPath(QStringLiteral("/var/log/log_tx")));
}

CPendingListings listPendingFiles(const QString &sFtlDirectory, const QString &sMailboxDirectory)
{
    CPendingListings listings;
    listings.sFtlDirectory = sFtlDirectory;
    listings.sMailboxDirectory = sMailboxDirectory;
    for (int i = 0; i < PatternCount; ++i) {
        const EPendingPattern ePattern = EPendingPattern(i);
        const QDir dir(isMailboxPattern(ePattern) ? sMailboxDirectory : sFtlDirectory);
        listings.aNames[i] = dir.entryList(QStringList{pendingPatternText(ePattern)}, QDir::Files | QDir::Dirs,
                                           QDir::Name | QDir::IgnoreCase | QDir::DirsLast);
    }
    return listings;
}
