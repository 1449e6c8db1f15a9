#include "controller/ctransferstatusreset.h"

#include "controller/ctransfertypes.h"

namespace {

const int iFurtherTextField = 25;

using EGroup = CRunFtpTransferStatus::EGroup;

// The setters run in the order the service has always received them.
void resetTotalFirst(CRunFtpTransferStatus &oStatus, EGroup eGroup)
{
    oStatus.setTotalBytes(eGroup, 0);
    oStatus.setTransferredBytes(eGroup, 0);
    oStatus.setState(eGroup, FtpTransferReset);
    oStatus.setFileName(eGroup, QStringLiteral(""));
}

void resetStateFirst(CRunFtpTransferStatus &oStatus, EGroup eGroup, const QString &sFileName)
{
    oStatus.setState(eGroup, FtpTransferReset);
    oStatus.setTransferredBytes(eGroup, 0);
    oStatus.setTotalBytes(eGroup, 0);
    oStatus.setFileName(eGroup, sFileName);
}

} // namespace

CRunFtpTransferStatus transferStatusResetRecord()
{
    CRunFtpTransferStatus oStatus;
    resetTotalFirst(oStatus, CRunFtpTransferStatus::GroupTest);
    resetStateFirst(oStatus, CRunFtpTransferStatus::GroupGps, QString());
    resetStateFirst(oStatus, CRunFtpTransferStatus::GroupEvent, QStringLiteral(""));
    resetStateFirst(oStatus, CRunFtpTransferStatus::GroupLog, QStringLiteral(""));
    oStatus.setField(iFurtherTextField, QStringLiteral(""));
    resetTotalFirst(oStatus, CRunFtpTransferStatus::GroupInfo);
    resetTotalFirst(oStatus, CRunFtpTransferStatus::GroupUpdate);
    oStatus.setField(iFurtherTextField, QStringLiteral(""));
    return oStatus;
}
