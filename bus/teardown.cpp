#include "bus/logbookinterface.h"
#include "bus/runtimeinterface.h"
#include "bus/runtimewminterface.h"
#include "bus/setupinterface.h"
#include "bus/thread.h"
#include "controller/cdata.h"
#include "trigger/cftltrigger.h"

#include <QThread>

void CData::stopHeartbeatThread()
{
    if (!m_pHeartbeatThread)
        return;
    m_pHeartbeatThread->stop = true;
    // The loop ends within one heartbeat period; give it up to two.
    if (!m_pHeartbeatThread->wait(2000))
        m_oCalls.warning(__LINE__, QStringLiteral("Heartbeat thread still running at shutdown"));
}

void CData::deleteTriggerMonitor()
{
    delete m_pFtlTrigger;
    m_pFtlTrigger = nullptr;
}

void CData::deleteProxies()
{
    delete m_pDataSetup;
    m_pDataSetup = nullptr;
    delete m_pDataRuntime;
    m_pDataRuntime = nullptr;
    delete m_pDataRuntimeWM;
    m_pDataRuntimeWM = nullptr;
    delete m_pDataLogbook;
    m_pDataLogbook = nullptr;
}

void CData::deleteHeartbeatThread()
{
    if (!m_pHeartbeatThread)
        return;
    // Never destroy a running thread: wait for its last heartbeat.
    m_pHeartbeatThread->wait();
    delete m_pHeartbeatThread;
    m_pHeartbeatThread = nullptr;
}
