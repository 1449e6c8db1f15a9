#include "controller/cgpsrequest.h"

EGpsRequest gpsRequestStep(bool bGpsTransferActive, const QString &sDataDomain, bool bLtServerEnabled,
                           bool bGpsTracking)
{
    if (bGpsTransferActive || sDataDomain.size() <= 1)
        return EGpsRequest::Keep;
    return !bLtServerEnabled || bGpsTracking ? EGpsRequest::Build : EGpsRequest::Drop;
}
