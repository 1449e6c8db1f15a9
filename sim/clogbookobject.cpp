#include "sim/clogbookobject.h"

#include "logbook/clogbase.h"
#include "records/creplycode.h"
#include "sim/clogrowheader.h"
#include "sim/csimreply.h"
#include "sim/cvehicleservice.h"

#include <QDebug>

namespace {
constexpr qint32 LOGTYPE_GSM_FTP = 17;
}

CLogbookObject::CLogbookObject(CVehicleService *pService, QObject *pParent) : QObject(pParent), m_pService(pService)
{
}

template <typename T> T CLogbookObject::answered(const std::function<T()> &fnValue)
{
    if (!calledFromDBus())
        return fnValue();
    setDelayedReply(true);
    const QDBusMessage call = message();
    answerCall(m_pService->faults(), connection(), call,
               [&] { return call.createReply(QVariant::fromValue(fnValue())); });
    return T();
}

QByteArray CLogbookObject::getLogbook(const QByteArray &aFilter)
{
    return answered<QByteArray>([&] { return m_pService->firstRow(ELogBook::Main, aFilter); });
}

QByteArray CLogbookObject::getLogbookDataTracking(const QByteArray &aFilter)
{
    return answered<QByteArray>([&] { return m_pService->firstRow(ELogBook::Tracking, aFilter); });
}

int CLogbookObject::setLogbookGsmFtp(int iProcess, const QByteArray &data)
{
    return answered<int>([&] { return storeGsmFtpRow(iProcess, data); });
}

int CLogbookObject::storeGsmFtpRow(int iProcess, const QByteArray &data)
{
    CLogBase header;
    if (!readRowHeader(data, &header)) {
        qWarning() << "tankora-service: setLogbookGsmFtp without a row header from" << iProcess;
        return SimReply::VALIDATION_ERROR;
    }
    if (header.LogType != LOGTYPE_GSM_FTP) {
        qWarning() << "tankora-service: setLogbookGsmFtp with logbook type" << header.LogType << "from" << iProcess;
        return SimReply::WRONG_TYPE_FOR_THIS_SET;
    }
    // The service, not the writer, dates the entry.
    const qint64 llRowID = m_pService->addRow(data, true);
    if (llRowID < 0)
        return int(llRowID);
    emit sigLogbookGsmFtp(iProcess);
    return REPLY_SUCCESS;
}
