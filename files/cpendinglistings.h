#pragma once

#include "files/cpendingscan.h"

// Lists the FTL directory (/var/log/FTL) and the mailbox directory
// (/var/log/log_tx), under the sandbox root when one is set, once per name
// pattern: files and directories, "." and ".." included, hidden files left
// out, names matched and sorted without regard to case, directories after
// files. A missing or unreadable directory lists nothing.
CPendingListings listPendingFiles();

// The same for two given directories.
CPendingListings listPendingFiles(const QString &sFtlDirectory, const QString &sMailboxDirectory);
