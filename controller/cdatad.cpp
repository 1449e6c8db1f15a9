#include "app/cclock.h"
#include "controller/cdata.h"
#include "controller/cgpsrequest.h"
#include "files/ceventfilerun.h"
#include "files/cgpsfile.h"

#include <QTimer>

// One cycle: first the files asked for since the last cycle, then one step
// of the link and transfer machine. The timer is stopped meanwhile, so
// cycles never overlap however long the files take.
void CData::datad()
{
    m_pCycleTimer->stop();
    int iNextMs = CTransferMachine::CycleMs;
    if (m_bProcessStarted) {
        buildRequestedFiles();
        iNextMs = m_oMachine.step();
    }
    m_pCycleTimer->start(CClock::instance().intervalMs(iNextMs));
}

void CData::buildRequestedFiles()
{
    if (m_oRequests.bGpsFileRequested) {
        if (m_oMachine.gpsTransferActive())
            m_oCalls.debug(__LINE__, QStringLiteral("GPS file transfer is active"));
        const EGpsRequest eStep = gpsRequestStep(m_oMachine.gpsTransferActive(), m_oSetGsmGprsFtpData.sDomain(),
                                                 m_bLtServerEnabled, m_bGpsTracking);
        if (eStep == EGpsRequest::Build)
            CGpsFileRun(*this).GetGpsData();
        if (eStep != EGpsRequest::Keep)
            m_oRequests.bGpsFileRequested = false;
    }
    if (m_oRequests.bAutoEventFileRequested) {
        CEventFileRun(*this).GetAutoLogbookData(m_oRequests.bAutoEventFileForced);
        m_oRequests.bAutoEventFileRequested = false;
        m_oRequests.bAutoEventFileForced = false;
    }
    if (m_oRequests.iManFileType != ManFile_NoTransfer) {
        m_oCalls.debug(__LINE__, QStringLiteral("Build transfer file for man. Event-File"));
        CEventFileRun(*this).GetManLogbookData(ManFileType(m_oRequests.iManFileType), m_oRequests.dtManStartUtc,
                                               m_oRequests.dtManEndUtc);
        m_oRequests.iManFileType = ManFile_NoTransfer;
    }
}
