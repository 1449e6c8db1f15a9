#pragma once

#include <QString>

// States of the link and transfer machine; the values are those written to
// the log, the names those of the state-change line.
enum EPppState {
    PPP_IDLE = 1,
    GPRS_WAIT = 2,
    PPP_STARTUP = 3,
    PPP_STARTUP_WAIT = 4,
    SEND_INFO_FILE = 5,
    FILE_TRANSFER_ACTIVE = 6,
    FILE_WAIT_FINISH = 7,
    FILE_TRANSFER_FINISHED = 8,
    PPP_SHUTDOWN = 9,
    PPP_DISABLED = 10
};

// "PPP_IDLE" … "PPP_DISABLED"; any other value is "Unknown state".
QString pppStateName(int iState);

// The line written once per change of state, at the start of the next cycle.
QString stateChangeLine(int iState);
