#pragma once

#include <QString>

// Logbook types as the service stores them in a row's header.
enum ELogType : qint32 {
    LOG_TRACKING = 1,
    LOG_COP = 3,
    LOG_DISCHARGE = 4,
    LOG_GPS = 6,
    LOG_LEVEL_VOLUME = 7,
    LOG_LOADING = 8,
    LOG_SEAL = 11,
    LOG_SPD = 12,
    LOG_GSM_FTP = 17,
    LOG_OPMM = 19,
    LOG_SMP = 20,
    LOG_FPM = 23,
};

// "TRACKING", "COP", …; any other value by its decimal digits.
QString logTypeName(qint32 iType);
// "CANError", "ModeLoading", …; any other code by its decimal digits.
QString logSubTypeName(qint32 iSubType);
