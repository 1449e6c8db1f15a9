#include "sim/csimobject.h"

#include "records/creplycode.h"
#include "sim/cprofilefile.h"
#include "sim/csimreply.h"
#include "sim/csupervisor.h"
#include "sim/cvehicleservice.h"

#include <QDebug>

CSimObject::CSimObject(CVehicleService *pService, CSupervisor *pSupervisor, QObject *pParent)
    : QObject(pParent), m_pService(pService), m_pSupervisor(pSupervisor)
{
}

qlonglong CSimObject::addLogbookRow(const QByteArray &baRow)
{
    return m_pService->addRow(baRow, false);
}

int CSimObject::offlineMode(int iSeconds)
{
    if (iSeconds < 0)
        return SimReply::PARAMETER_ERROR;
    m_pSupervisor->sendOfflineMode(iSeconds);
    return REPLY_SUCCESS;
}

QString CSimObject::processNames()
{
    return m_pSupervisor->processNames();
}

QString CSimObject::loadProfile(const QString &sPath)
{
    QString sError;
    return loadProfileFile(*m_pService, sPath, &sError) ? QString() : sError;
}

QString CSimObject::setFault(const QString &sOperation, const QString &sKind, int iCount, int iSkip)
{
    QString sError;
    if (!m_pService->faults().set(sOperation, sKind, iCount, iSkip, &sError))
        return sError;
    qInfo().noquote() << "tankora-service: fault:"
                      << (sOperation.isEmpty() ? QStringLiteral("every operation") : sOperation) << sKind << iCount
                      << "after" << iSkip;
    return QString();
}
