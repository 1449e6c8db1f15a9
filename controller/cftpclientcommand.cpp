#include "controller/cftpclientcommand.h"

#include "app/cpaths.h"
#include "controller/ccommandword.h"
#include "controller/ctransfertypes.h"
#include "log/cmodulelog.h"

QString ftpClientOption(int iTransferType)
{
    switch (iTransferType) {
    case TransferGps: return QStringLiteral("-g");
    case TransferEvent: return QStringLiteral("-e");
    case TransferDelivery: return QStringLiteral("-d");
    case TransferLog: return QStringLiteral("-p");
    case TransferDataTest: return QStringLiteral("-t1");
    case TransferServiceTest: return QStringLiteral("-t2");
    case TransferUpdateTest: return QStringLiteral("-t3");
    case TransferSwUpdate: return QStringLiteral("-u");
    case TransferInfo: return QStringLiteral("-i");
    }
    return QString();
}

QString ftpClientCommand(const QString &sOption, const QString &sFileName)
{
    return commandWord(rootedPath(QStringLiteral("/usr/bin/Tankora/start_ftp_client"))) + QLatin1Char(' ') +
           sOption + QLatin1Char(' ') + commandWord(sFileName) + QStringLiteral(" &");
}

QString ftpClientReturnText(int iStatus)
{
    return streamItems({QStringLiteral("return of ftp client was: "), QString::number(iStatus)});
}
