#include "sim/cvehicleservice.h"

#include "records/ccommrecords.h"
#include "records/creplycode.h"
#include "sim/clogrowbuilder.h"
#include "sim/clogrowheader.h"
#include "sim/crecordmerge.h"
#include "sim/csimreply.h"

#include <QDBusMessage>
#include <QDebug>

CVehicleService::CVehicleService(const QDBusConnection &connection, QObject *pParent)
    : QObject(pParent), m_connection(connection)
{
}

bool CVehicleService::open(const QString &sDatabase, QString *psError)
{
    return m_store.open(sDatabase, psError);
}

QByteArray CVehicleService::getRecord(const CServiceOperation &op, int iIndex) const
{
    return m_store.record(op.sRecordClass, op.hasIndex() ? iIndex : 0);
}

int CVehicleService::storeRecord(const CServiceOperation &op, int iIndex, const QByteArray &baBytes)
{
    const int iKey = op.hasIndex() ? iIndex : 0;
    if (iKey < 0)
        return SimReply::PARAMETER_ERROR;
    QByteArray baMerged;
    const int iResult = mergeRecordBytes(op.sRecordClass, m_store.record(op.sRecordClass, iKey), baBytes, &baMerged);
    if (iResult != REPLY_SUCCESS) {
        qWarning().noquote() << "tankora-service:" << op.setMethod() << "refused:" << replyCodeName(iResult);
        return iResult;
    }
    return m_store.putRecord(op.sRecordClass, iKey, baMerged) ? REPLY_SUCCESS : SimReply::SQL_QUERY_EXEC_INSERT;
}

int CVehicleService::setRecord(const CServiceOperation &op, int iIndex, int iProcess, const QByteArray &baBytes)
{
    const int iResult = storeRecord(op, iIndex, baBytes);
    if (iResult == REPLY_SUCCESS)
        emitChange(op, iProcess, iIndex);
    return iResult;
}

bool CVehicleService::loadProfile(const CVehicleProfile &profile, QString *psError)
{
    for (const CProfileRecord &record : profile.aRecords) {
        const int iResult = storeRecord(*findOperationByRecord(record.sRecordClass), record.iIndex, record.baBytes);
        if (iResult != REPLY_SUCCESS) {
            *psError = QStringLiteral("%1 %2: %3").arg(record.sRecordClass).arg(record.iIndex).arg(replyCodeName(iResult));
            return false;
        }
    }
    for (const QByteArray &baRow : profile.aRows) {
        const qint64 llRowID = addRow(baRow, false);
        if (llRowID < 0) {
            *psError = QStringLiteral("logbook row: %1").arg(replyCodeName(int(llRowID)));
            return false;
        }
    }
    return true;
}

bool CVehicleService::filterStartOf(const QByteArray &baFilter, qint64 *pllStart, QDateTime *pdtStart) const
{
    CLogbookFilter filter;
    if (decodeRecordStrict(filter, baFilter) != REPLY_SUCCESS) {
        qWarning() << "tankora-service: unreadable logbook filter of" << baFilter.size() << "bytes";
        return false;
    }
    *pllStart = filter.ullStartRowID();
    *pdtStart = filter.dtStart();
    return true;
}

QByteArray CVehicleService::firstRow(ELogBook eBook, const QByteArray &baFilter) const
{
    qint64 llStart = 0;
    QDateTime dtStart;
    if (!filterStartOf(baFilter, &llStart, &dtStart))
        return QByteArray();
    return m_store.firstRow(eBook, llStart, dtStart);
}

QByteArray CVehicleService::product(const QByteArray &baFilter) const
{
    qint64 llStart = 0;
    QDateTime dtStart;
    if (!filterStartOf(baFilter, &llStart, &dtStart) || llStart < 0 || llStart > std::numeric_limits<int>::max())
        return QByteArray();
    const CServiceOperation *pOp = findOperationByRecord(QStringLiteral("CSetProductWM"));
    return getRecord(*pOp, int(llStart));
}

qint64 CVehicleService::addRow(const QByteArray &baRow, bool bStampNow)
{
    CLogBase header;
    if (!readRowHeader(baRow, &header)) {
        qWarning() << "tankora-service: logbook row of" << baRow.size() << "bytes has no header";
        return SimReply::VALIDATION_ERROR;
    }
    const ELogBook eBook = header.LogType == LOGTYPE_TRACKING ? ELogBook::Tracking : ELogBook::Main;
    const qint64 llRowID =
        m_store.appendRow(eBook, baRow, bStampNow ? QDateTime::currentDateTimeUtc() : QDateTime());
    return llRowID > 0 ? llRowID : qint64(SimReply::SQL_QUERY_EXEC_INSERT);
}

void CVehicleService::emitChange(const CServiceOperation &op, int iProcess, int iIndex)
{
    QVariantList aArguments{iProcess};
    if (op.hasIndex())
        aArguments.append(iIndex);
    emitBusSignal(serviceObjectPath(op.eObject), serviceInterface(op.eObject), op.changeSignal(), aArguments);
}

void CVehicleService::emitBusSignal(const QString &sPath, const QString &sInterface, const QString &sName,
                                    const QVariantList &aArguments)
{
    QDBusMessage message = QDBusMessage::createSignal(sPath, sInterface, sName);
    message.setArguments(aArguments);
    if (!m_connection.send(message))
        qWarning().noquote() << "tankora-service: could not send" << sName;
}
