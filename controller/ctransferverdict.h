#pragma once

#include "controller/clogline.h"
#include "records/ccommrecords.h"

// What one transfer status update means for the running transfer, judged by
// the kind of file that is being sent.
struct CTransferVerdict
{
    // False for a type that reads no status group (none running, LT server,
    // VPN): then nothing else is set.
    bool bJudged = false;
    CRunFtpTransferStatus::EGroup eGroup = CRunFtpTransferStatus::GroupGps;
    CLogLine progress;
    // Final state 4 or 10 of the group.
    bool bFinished = false;
    bool bFinishedWithError = false;
    // "Transfer of … finished" / "… failed"; empty text while still running.
    CLogLine result;
    // A failed test file is deleted from the FTL directory; empty otherwise.
    QString sRemovePath;
};

// The status group a transfer type reads; false for a type that reads none.
bool transferStatusGroup(int iTransferType, CRunFtpTransferStatus::EGroup &eGroup);

CTransferVerdict judgeTransferStatus(int iTransferType, const CRunFtpTransferStatus &oStatus);
