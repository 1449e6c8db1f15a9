#pragma once

#include <QString>

class CSetGsmGprs;

// The pppd start command and the PXLN_GPRS_… variables the dial-up scripts
// read, built from the GSM/GPRS setup and the module name.

// Line speed for "pppd call gprs": below 1200 gives 1200, above 460799 gives 460800.
int dialupSpeed(qint32 iSpeed);
// Dial-up time-out in seconds, never below 30.
int dialupTimeout(qint32 iTimeout);

// PXLN_GPRS_GAUTH: "AT#GAUTH=<type>" for a Telit module with a type below 3,
// "AT" otherwise.
QString dialupAuthCommand(qint32 iAuthType, const QString &sModuleName);
// PXLN_GPRS_APN: other modules with PAP (1) or CHAP (2) carry the
// authentication as "PAP:" / "CHAP:" in front of the APN.
QString dialupApn(qint32 iAuthType, const QString &sModuleName, const QString &sApn);

// "NAME=\"value\";export NAME;" as it goes between the double quotes of the
// "/bin/sh -c" argument; an empty value gives "NAME=;export NAME;". A value
// is cut so that the assignment keeps within 99 bytes (the dial-up scripts'
// historic limit) and is then quoted for both shells when it is not plain.
QString dialupAssignment(const QString &sName, const QString &sValue);

// The whole command for system(): "/bin/sh -c \"" + the assignments +
// "/usr/sbin/pppd call gprs <speed> &\"". It grows as long as the setup
// needs; nothing is cut but the single values.
QString dialupCommand(const CSetGsmGprs &oSetup, const QString &sModuleName);

// Commands that stop the link and the FTP client.
QString stopDialupCommand();    // "killall pppd"
QString killDialupCommand();    // "killall -9 pppd"
QString killFtpClientCommand(); // "killall -9 FTP_Client"

// "return of '<command>': <status>" as logged after the killall commands.
QString commandReturnText(const QString &sCommand, int iStatus);
// "return of pppd call gprs: <status>\n" as logged when pppd cannot be started.
QString dialupReturnText(int iStatus);
