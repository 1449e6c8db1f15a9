// The controller as the file builders' view of the database service.
#include "bus/logbookinterface.h"
#include "bus/runtimeinterface.h"
#include "bus/runtimewminterface.h"
#include "bus/setupinterface.h"
#include "controller/cdata.h"

QDateTime CData::nowUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

bool CData::hasLogbook() const
{
    return m_pDataLogbook != nullptr;
}

QByteArray CData::logbookRow(const CLogbookFilter &filter)
{
    CLogbookFilter copy = filter;
    return CBusCalls::replyBytes(m_pDataLogbook->getLogbook(copy.toByteArray()));
}

QByteArray CData::trackingRow(const CLogbookFilter &filter)
{
    CLogbookFilter copy = filter;
    return CBusCalls::replyBytes(m_pDataLogbook->getLogbookDataTracking(copy.toByteArray()));
}

bool CData::readGsmSettings(CSetGsm &settings)
{
    return m_oCalls.read(m_pDataSetup->getSetupGsm(), QStringLiteral("getSetupGsm"), settings);
}

int CData::writeGsmSettings(CSetGsm &settings)
{
    return m_oCalls.set(m_pDataSetup, &ComVelkorTankoraSetupInterface::setSetupGsm, settings);
}

bool CData::generalSetupAnswers()
{
    CSetGeneralNonWM probe;
    return m_oCalls.read(m_pDataSetup->getSetupGeneralNonWM(), QStringLiteral("getSetupGeneralNonWM"), probe);
}

bool CData::readGeneralWM(CSetGeneralWM &setup)
{
    return m_oCalls.read(m_pDataSetup->getSetupGeneralWM(), QStringLiteral("getSetupGeneralWM"), setup);
}

bool CData::readMeter(int iIndex, CSetMeterWM &meter)
{
    return m_oCalls.read(m_pDataSetup->getSetupMeterWM(iIndex), QStringLiteral("getSetupMeterWM"), meter);
}

QByteArray CData::productRecord(const CLogbookFilter &filter)
{
    CLogbookFilter copy = filter;
    return CBusCalls::replyBytes(m_pDataSetup->getSetupProductWM(copy.toByteArray()));
}

bool CData::readSealState(CRunSealStateLGMWM &seal)
{
    return m_oCalls.read(m_pDataRuntimeWM->getRuntimeSealStateLGMWM(), QStringLiteral("getRuntimeSealStateLGMWM"),
                         seal);
}

bool CData::readRuntimeGeneralNonWM(CRunGeneralNonWM &runtime)
{
    return m_oCalls.read(m_pDataRuntime->getRuntimeGeneralNonWM(), QStringLiteral("getRuntimeGeneralNonWM"), runtime);
}

bool CData::readRuntimeGeneralWM(CRunGeneralWM &runtime)
{
    return m_oCalls.read(m_pDataRuntime->getRuntimeGeneralWM(), QStringLiteral("getRuntimeGeneralWM"), runtime);
}

bool CData::readRuntimeGsmGprs(CRunGsmGprs &runtime)
{
    return m_oCalls.read(m_pDataRuntime->getRuntimeGsmGprs(), QStringLiteral("getRuntimeGsmGprs"), runtime);
}

bool CData::readSetupGsmGprs(CSetGsmGprs &setup)
{
    return m_oCalls.read(m_pDataSetup->getSetupGsmGprs(), QStringLiteral("getSetupGsmGprs"), setup);
}

bool CData::readRuntimeVpn(CRunVpn &runtime)
{
    return m_oCalls.read(m_pDataRuntime->getRuntimeVpn(), QStringLiteral("getRuntimeVpn"), runtime, ENullLog::Debug);
}

bool CData::readSetupGeneralNonWM(CSetGeneralNonWM &setup)
{
    return m_oCalls.read(m_pDataSetup->getSetupGeneralNonWM(), QStringLiteral("getSetupGeneralNonWM"), setup);
}

int CData::writeGsmFtpEntry(const QByteArray &baRow)
{
    // The reply is waited for but not judged: this write logs no "Dbus-Error".
    QDBusPendingReply<int> reply = m_pDataLogbook->setLogbookGsmFtp(int(m_llOwnPid), baRow);
    reply.waitForFinished();
    return reply.isError() ? 0 : reply.value();
}
