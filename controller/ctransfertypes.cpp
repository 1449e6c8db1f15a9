#include "controller/ctransfertypes.h"

QString transferStatusName(int iState)
{
    switch (iState) {
    case FtpTransferStarted: return QStringLiteral("FtpTransferStarted");
    case OpenFtpConnection: return QStringLiteral("OpenFtpConnection");
    case CheckFileExists: return QStringLiteral("CheckFileExists");
    case TransferFile: return QStringLiteral("TransferFile");
    case FtpTransferFinished: return QStringLiteral("FtpTransferFinished");
    case FtpTransferFinishedError: return QStringLiteral("FtpTransferFinishedError");
    }
    return QStringLiteral("Initialisation");
}
