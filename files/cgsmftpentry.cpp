#include "files/cgsmftpentry.h"

#include "files/cfilesource.h"
#include "logbook/cloggsmftp.h"
#include "logbook/clogtypes.h"

QByteArray gsmFtpEntryRow(int iEventCode)
{
    CLogGsmFtp entry;
    entry.LogType = LOG_GSM_FTP;
    entry.LogSubType = iEventCode;
    return entry.toRow();
}

void setLogbookGsmFtp(CFileSource &source, int iEventCode)
{
    source.writeGsmFtpEntry(gsmFtpEntryRow(iEventCode));
}
