#pragma once

#include <QString>

// What a cycle does with a requested GPS file.
enum class EGpsRequest {
    Keep,  // a GPS file is on its way, or no data server: ask again next cycle
    Build, // build it now
    Drop   // the LT server sends positions itself while tracking is off
};

EGpsRequest gpsRequestStep(bool bGpsTransferActive, const QString &sDataDomain, bool bLtServerEnabled,
                           bool bGpsTracking);
