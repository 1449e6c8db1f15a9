#pragma once

#include <QByteArray>

class CFileSource;

// The events of the data link that the daemon notes in the vehicle's
// logbook itself.
enum EGsmFtpEvent : int {
    GsmFtpLinkOffline = 9228, // link taken down and disabled on an offline request
    GsmFtpLinkBack = 9229,    // the disable time has ended, the link may be used again
};

// The row bytes of a fresh GSM/FTP entry with the event code as its
// subtype; it carries no time of its own, the service stamps it.
QByteArray gsmFtpEntryRow(int iEventCode);

// Writes one GSM/FTP entry into the logbook. A refused write changes
// nothing for the link: the reply is not acted upon.
void setLogbookGsmFtp(CFileSource &source, int iEventCode);
