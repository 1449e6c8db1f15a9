#include "controller/cdialupcommand.h"

#include "app/cpaths.h"
#include "controller/ccommandword.h"
#include "controller/cgsmmodule.h"
#include "log/cmodulelog.h"
#include "records/ccommrecords.h"

#include <algorithm>

namespace {

const qint32 iMinSpeed = 1200;
const qint32 iMaxSpeed = 460800;
const qint32 iMinTimeout = 30;
// The assignment buffer of the dial-up held 100 bytes with its terminator.
const int iMaxAssignmentBytes = 99;
const qint32 iFirstUnknownAuthType = 3;

QString assignmentFrame(const QString &sName, const QString &sWord, bool bQuoted)
{
    const QString sQuote = bQuoted ? QStringLiteral("\"") : QString();
    return sName + QLatin1Char('=') + sQuote + sWord + sQuote + QStringLiteral(";export ") + sName +
           QLatin1Char(';');
}

} // namespace

int dialupSpeed(qint32 iSpeed)
{
    if (iSpeed < iMinSpeed)
        return iMinSpeed;
    if (iSpeed > iMaxSpeed - 1)
        return iMaxSpeed;
    return iSpeed;
}

int dialupTimeout(qint32 iTimeout)
{
    return std::max(iTimeout, iMinTimeout);
}

QString dialupAuthCommand(qint32 iAuthType, const QString &sModuleName)
{
    if (iAuthType < iFirstUnknownAuthType && isTelitModule(sModuleName))
        return QStringLiteral("AT#GAUTH=") + QString::number(iAuthType);
    return QStringLiteral("AT");
}

QString dialupApn(qint32 iAuthType, const QString &sModuleName, const QString &sApn)
{
    if (isTelitModule(sModuleName))
        return sApn;
    if (iAuthType == 1)
        return QStringLiteral("PAP:") + sApn;
    if (iAuthType == 2)
        return QStringLiteral("CHAP:") + sApn;
    return sApn;
}

QString dialupAssignment(const QString &sName, const QString &sValue)
{
    if (sValue.isEmpty())
        return assignmentFrame(sName, QString(), false);
    const int iFrameBytes = int(assignmentFrame(sName, QString(), true).toUtf8().size());
    const QString sCut = cutToUtf8Bytes(sValue, std::max(0, iMaxAssignmentBytes - iFrameBytes));
    return assignmentFrame(sName, commandWordTwice(sCut), true);
}

QString dialupCommand(const CSetGsmGprs &oSetup, const QString &sModuleName)
{
    const qint32 iAuthType = oSetup.authType();
    QString sCommand = QStringLiteral("/bin/sh -c \"");
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_USER"), oSetup.user());
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_GAUTH"), dialupAuthCommand(iAuthType, sModuleName));
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_APN"), dialupApn(iAuthType, sModuleName, oSetup.apn()));
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_PASSWD"), oSetup.password());
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_DNS1"), oSetup.dns1());
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_DNS2"), oSetup.dns2());
    sCommand += dialupAssignment(QStringLiteral("PXLN_GPRS_TIMEOUT"), QString::number(dialupTimeout(oSetup.timeout())));
    sCommand += commandWordTwice(rootedPath(QStringLiteral("/usr/sbin/pppd"))) + QStringLiteral(" call gprs ") +
                QString::number(dialupSpeed(oSetup.speed())) + QStringLiteral(" &\"");
    return sCommand;
}

QString stopDialupCommand()
{
    return QStringLiteral("killall pppd");
}

QString killDialupCommand()
{
    return QStringLiteral("killall -9 pppd");
}

QString killFtpClientCommand()
{
    return QStringLiteral("killall -9 FTP_Client");
}

QString commandReturnText(const QString &sCommand, int iStatus)
{
    return streamItems({QStringLiteral("return of '") + sCommand + QStringLiteral("': "), QString::number(iStatus)});
}

QString dialupReturnText(int iStatus)
{
    return QStringLiteral("return of pppd call gprs: ") + QString::number(iStatus) + QLatin1Char('\n');
}
