#include "controller/cstates.h"
#include "log/cmodulelog.h"

QString pppStateName(int iState)
{
    switch (iState) {
    case PPP_IDLE: return QStringLiteral("PPP_IDLE");
    case GPRS_WAIT: return QStringLiteral("GPRS_WAIT");
    case PPP_STARTUP: return QStringLiteral("PPP_STARTUP");
    case PPP_STARTUP_WAIT: return QStringLiteral("PPP_STARTUP_WAIT");
    case SEND_INFO_FILE: return QStringLiteral("SEND_INFO_FILE");
    case FILE_TRANSFER_ACTIVE: return QStringLiteral("FILE_TRANSFER_ACTIVE");
    case FILE_WAIT_FINISH: return QStringLiteral("FILE_WAIT_FINISH");
    case FILE_TRANSFER_FINISHED: return QStringLiteral("FILE_TRANSFER_FINISHED");
    case PPP_SHUTDOWN: return QStringLiteral("PPP_SHUTDOWN");
    case PPP_DISABLED: return QStringLiteral("PPP_DISABLED");
    }
    return QStringLiteral("Unknown state");
}

QString stateChangeLine(int iState)
{
    return streamItems({QStringLiteral("******** Statechange to "),
                        QLatin1Char('"') + pppStateName(iState) + QLatin1Char('"'), QStringLiteral(" ********")});
}
