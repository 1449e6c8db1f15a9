#include "bus/changetexts.h"
#include "bus/runtimeinterface.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"
#include "log/cmodulelog.h"
#include "records/creplycode.h"

namespace
{

// A link-keeping switch: the change is logged, a repeat is not.
void takeSwitch(const CBusCalls &calls, bool &bMember, bool bNew, const QString &sName)
{
    if (bMember == bNew)
        return;
    calls.debug(__LINE__, streamItems({sName + QStringLiteral(" = "), flagText(bNew)}));
    bMember = bNew;
}

} // namespace

void CData::readGpsTrackingSetup()
{
    CSetGpsTracking oSetup;
    const bool bRead =
        !m_oCalls.get(m_pDataSetup->getSetupGpsTracking(), QStringLiteral("getSetupGpsTracking"), oSetup).isNull();
    m_bGpsTracking = bRead && oSetup.trackingMode() != 1;
}

void CData::readVpnRuntime()
{
    CRunVpn oRuntime;
    if (m_oCalls.get(m_pDataRuntime->getRuntimeVpn(), QStringLiteral("getRuntimeVpn"), oRuntime, ENullLog::Debug)
            .isNull()) {
        m_bVpnActive = false;
        return;
    }
    m_oCalls.debug(__LINE__, QStringLiteral("'RuntimeVpn' received"));
    takeSwitch(m_oCalls, m_bVpnActive, oRuntime.vpnActive(), QStringLiteral("VPNActive"));
}

void CData::readLtServerSetup()
{
    CSetLTServer oSetup;
    if (m_oCalls.get(m_pDataSetup->getSetupLTServer(), QStringLiteral("getSetupLTServer"), oSetup).isNull()) {
        m_bLtServerEnabled = false;
        return;
    }
    m_oCalls.debug(__LINE__, QStringLiteral("'SetupLTServer' received"));
    takeSwitch(m_oCalls, m_bLtServerEnabled, oSetup.enabled(), QStringLiteral("LtServerEnabled"));
}

void CData::readGeneralSetup()
{
    // An empty or failed reply keeps the cache as well; nothing is logged.
    const QByteArray baBytes = CBusCalls::replyBytes(m_pDataSetup->getSetupGeneralNonWM());
    if (!baBytes.isEmpty())
        m_oSetGeneralNonWM.fromByteArray(baBytes);
}

void CData::readSwUpdateSetup()
{
    if (m_oCalls.get(m_pDataSetup->getSetupFtpSwUpdate(), QStringLiteral("getSetupFtpSwUpdate"), m_oSetFtpSwUpdate)
            .isNull())
        return;
    m_oCalls.debug(__LINE__, swUpdateParameterText(m_oSetFtpSwUpdate));
    QList<CLogLine> aLog;
    if (m_oSwUpdateSchedule.recompute(m_oSetFtpSwUpdate, QDateTime::currentDateTime(), aLog) < 0)
        m_oCalls.warning(__LINE__, QStringLiteral("Error in ") + swUpdateParameterText(m_oSetFtpSwUpdate));
    for (const CLogLine &line : aLog)
        log(line);
}

void CData::readFtpServiceSetup()
{
    m_oCalls.getNoted(m_pDataSetup->getSetupGsmGprsFtpService(), QStringLiteral("getSetupGsmGprsFtpService"),
                      m_oSetGsmGprsFtpService, QStringLiteral("Received sigSetGsmGprsFtpService! "));
}

void CData::readFtpDataSetup()
{
    m_oCalls.getNoted(m_pDataSetup->getSetupGsmGprsFtpData(), QStringLiteral("getSetupGsmGprsFtpData"),
                      m_oSetGsmGprsFtpData, QStringLiteral("Received sigSetGsmGprsFtpData! "));
}

void CData::readFtpUpdateSetup()
{
    if (!m_oCalls.getNoted(m_pDataSetup->getSetupGsmGprsFtpUpdate(), QStringLiteral("getSetupGsmGprsFtpUpdate"),
                           m_oSetGsmGprsFtpUpdate, QStringLiteral("Received sigSetGsmGprsFtpUpdate! ")) ||
        !m_oSetGsmGprsFtpUpdate.searchTrigger())
        return;
    if (!m_oSetGsmGprsFtpUpdate.isEnabled()) {
        // The trigger stays set: a later domain change fires the search.
        m_oCalls.debug(__LINE__, QStringLiteral("software update search trigger ignored"));
        return;
    }
    m_bSwUpdateGuiRequested = true;
    m_oCalls.debug(__LINE__, QStringLiteral("Trigger software update"));
    m_oSetGsmGprsFtpUpdate.setSearchTrigger(false);
    // The service echoes this write with our own id, which is not read back.
    if (m_oCalls.set(m_pDataSetup, &ComVelkorTankoraSetupInterface::setSetupGsmGprsFtpUpdate, m_oSetGsmGprsFtpUpdate) ==
        REPLY_SUCCESS)
        m_oCalls.debug(__LINE__, QStringLiteral("oSetGsmGprsFtpUpdate OK"));
}
