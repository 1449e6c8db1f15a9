#include "sim/cctlrunner.h"

#include "records/ccommrecords.h"
#include "records/crecordregistry.h"
#include "records/creplycode.h"
#include "sim/cfieldtext.h"
#include "sim/clogrowbuilder.h"
#include "sim/crecordfields.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

namespace {
const int POLL_MS = 50;

QDBusMessage simCall(const QString &sMethod)
{
    return QDBusMessage::createMethodCall(QStringLiteral("com.Velkor.Tankora"), QStringLiteral("/Sim"),
                                          QStringLiteral("com.Velkor.Tankora.Sim"), sMethod);
}

QDBusMessage serviceCall(const CServiceOperation &op, const QString &sMethod)
{
    return QDBusMessage::createMethodCall(serviceBusName(op.eObject), serviceObjectPath(op.eObject),
                                          serviceInterface(op.eObject), sMethod);
}
} // namespace

CCtlRunner::CCtlRunner(const QDBusConnection &connection, QTextStream &out, QTextStream &err)
    : m_connection(connection), m_out(out), m_err(err)
{
}

int CCtlRunner::fail(const QString &sMessage)
{
    m_err << "tankora-ctl: " << sMessage << Qt::endl;
    return 1;
}

int CCtlRunner::run(const CCtlCommand &command)
{
    const QString &s = command.sCommand;
    if (s == QLatin1String("set"))
        return runSet(command);
    if (s == QLatin1String("get") || s == QLatin1String("dump"))
        return runGet(command, s == QLatin1String("dump"));
    if (s == QLatin1String("wait-for"))
        return runWaitFor(command);
    if (s == QLatin1String("trigger"))
        return runTrigger(command);
    if (s == QLatin1String("gsm-state"))
        return runGsmState(command);
    if (s == QLatin1String("add-row"))
        return runAddRow(command);
    if (s == QLatin1String("transfer-status"))
        return runTransferStatus(command);
    if (s == QLatin1String("offline")) {
        bool bOk = false;
        const int iSeconds = command.asArgs[0].toInt(&bOk);
        return bOk ? runSimCall(QStringLiteral("offlineMode"), {iSeconds})
                   : fail(QStringLiteral("offline needs a number of seconds"));
    }
    if (s == QLatin1String("fault"))
        return runFault(command);
    if (s == QLatin1String("processes"))
        return runSimCall(QStringLiteral("processNames"), {});
    return runSimCall(QStringLiteral("loadProfile"), {command.asArgs[0]});
}

const CServiceOperation *CCtlRunner::operationOf(const QString &sRecordClass)
{
    const CServiceOperation *pOp = findOperationByRecord(sRecordClass);
    if (!pOp)
        fail(QStringLiteral("\"%1\" is not a record of the service").arg(sRecordClass));
    return pOp;
}

std::unique_ptr<CRecord> CCtlRunner::currentRecord(const CServiceOperation &op, int iIndex, bool *pbOk,
                                                   QString *psError)
{
    std::unique_ptr<CRecord> pRecord = makeRecord(op.sRecordClass);
    QDBusMessage call = serviceCall(op, op.getMethod());
    if (op.eIndex == EIndexKind::Index) {
        call << iIndex;
    } else if (op.eIndex == EIndexKind::Filter) {
        CLogbookFilter filter;
        filter.setStartRowID(iIndex);
        call << filter.toByteArray();
    }
    const QDBusMessage reply = m_connection.call(call);
    *pbOk = reply.type() == QDBusMessage::ReplyMessage;
    if (!*pbOk) {
        const QString sError = op.getMethod() + QStringLiteral(": ") + reply.errorMessage();
        if (psError)
            *psError = sError;
        else
            fail(sError);
        return pRecord;
    }
    const QByteArray baBytes = reply.arguments().value(0).toByteArray();
    if (!baBytes.isEmpty())
        pRecord->fromByteArray(baBytes);
    pRecord->setAllFlags(false);
    return pRecord;
}

std::unique_ptr<CRecord> CCtlRunner::fetchRecord(const CCtlCommand &command, const CServiceOperation **ppOp)
{
    *ppOp = operationOf(command.asArgs[0]);
    if (!*ppOp)
        return nullptr;
    bool bOk = false;
    std::unique_ptr<CRecord> pRecord = currentRecord(**ppOp, command.iIndex, &bOk);
    return bOk ? std::move(pRecord) : nullptr;
}

int CCtlRunner::writeRecord(const CServiceOperation &op, int iIndex, CRecord &record)
{
    QDBusMessage call = serviceCall(op, op.setMethod());
    call << int(QCoreApplication::applicationPid());
    if (op.hasIndex())
        call << iIndex;
    call << record.toByteArray();
    const QDBusMessage reply = m_connection.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(op.setMethod() + QStringLiteral(": ") + reply.errorMessage());
    const int iResult = reply.arguments().value(0).toInt();
    if (iResult != REPLY_SUCCESS)
        return fail(op.setMethod() + QStringLiteral(" refused: ") + replyCodeName(iResult));
    return 0;
}

int CCtlRunner::runSet(const CCtlCommand &command)
{
    QList<QPair<int, QString>> aPairs;
    QString sError;
    if (!parseFieldPairs(command.asArgs.mid(1), &aPairs, &sError))
        return fail(sError);
    const CServiceOperation *pOp = nullptr;
    std::unique_ptr<CRecord> pRecord = fetchRecord(command, &pOp);
    if (!pRecord)
        return 1;
    for (const auto &[iField, sValue] : aPairs) {
        if (!setFieldFromText(*pRecord, iField, sValue, &sError))
            return fail(command.asArgs[0] + QLatin1Char(' ') + sError);
    }
    return writeRecord(*pOp, command.iIndex, *pRecord);
}

int CCtlRunner::runGet(const CCtlCommand &command, bool bWholeRecord)
{
    const CServiceOperation *pOp = nullptr;
    std::unique_ptr<CRecord> pRecord = fetchRecord(command, &pOp);
    if (!pRecord)
        return 1;
    if (bWholeRecord) {
        m_out << recordText(*pRecord);
        return 0;
    }
    bool bOk = false;
    const int iField = command.asArgs[1].toInt(&bOk);
    if (!bOk || iField < 1 || iField > pRecord->fieldCount())
        return fail(QStringLiteral("%1 has no field %2").arg(command.asArgs[0], command.asArgs[1]));
    m_out << fieldValueText(pRecord->field(iField)) << Qt::endl;
    return 0;
}

int CCtlRunner::runWaitFor(const CCtlCommand &command)
{
    const CServiceOperation *pOp = operationOf(command.asArgs[0]);
    if (!pOp)
        return 1;
    bool bOk = false;
    std::unique_ptr<CRecord> pWanted = makeRecord(pOp->sRecordClass);
    const int iField = command.asArgs[1].toInt(&bOk);
    QString sError;
    if (!bOk || !setFieldFromText(*pWanted, iField, command.asArgs[2], &sError))
        return fail(command.asArgs[0] + QLatin1Char(' ') + (bOk ? sError : QStringLiteral("needs a field number")));
    const QString sWanted = fieldValueText(pWanted->field(iField));
    QDeadlineTimer deadline(command.iTimeoutMs);
    QString sLast;
    // A service that is not up yet is waited for as well.
    do {
        std::unique_ptr<CRecord> pRecord = currentRecord(*pOp, command.iIndex, &bOk, &sError);
        if (bOk) {
            sLast = fieldValueText(pRecord->field(iField));
            if (sLast == sWanted)
                return 0;
        }
        QThread::msleep(POLL_MS);
    } while (!deadline.hasExpired());
    if (!bOk)
        m_err << "tankora-ctl: " << sError << Qt::endl;
    else
        m_err << "tankora-ctl: " << command.asArgs[0] << " field " << iField << " is \"" << sLast << "\", not \""
              << sWanted << "\" after " << command.iTimeoutMs << " ms" << Qt::endl;
    return 2;
}

int CCtlRunner::runTrigger(const CCtlCommand &command)
{
    // The operator panel adds its request to those the daemon has not yet
    // taken, and leaves the window of a waiting manual request as it is.
    const CServiceOperation &op = *findOperationByRecord(QStringLiteral("CRunTriggerFtpTransfer"));
    bool bOk = false;
    std::unique_ptr<CRecord> pRecord = currentRecord(op, 0, &bOk);
    if (!bOk)
        return 1;
    auto &trigger = static_cast<CRunTriggerFtpTransfer &>(*pRecord);
    const bool bManualWaits = trigger.trigger(CRunTriggerFtpTransfer::bStartManEventFileTransfer);
    for (const QString &sName : command.asArgs) {
        const int iField = triggerField(sName);
        if (iField == 0)
            return fail(QStringLiteral("unknown transfer request \"%1\"").arg(sName));
        trigger.setTrigger(CRunTriggerFtpTransfer::ETrigger(iField), true);
    }
    if (!bManualWaits)
        trigger.setTriggerStartUtc(QDateTime::currentDateTimeUtc());
    return writeRecord(op, 0, trigger);
}

int CCtlRunner::runGsmState(const CCtlCommand &command)
{
    const CServiceOperation &op = *findOperationByRecord(QStringLiteral("CRunGsm"));
    if (command.asArgs.isEmpty()) {
        bool bOk = false;
        std::unique_ptr<CRecord> pRecord = currentRecord(op, 0, &bOk);
        if (bOk)
            m_out << static_cast<CRunGsm *>(pRecord.get())->moduleState() << Qt::endl;
        return bOk ? 0 : 1;
    }
    bool bOk = false;
    CRunGsm gsm;
    gsm.setModuleState(command.asArgs[0].toInt(&bOk));
    if (!bOk)
        return fail(QStringLiteral("the module state is a number (4 = ready)"));
    if (command.asArgs.size() > 1)
        gsm.setModuleName(command.asArgs[1]);
    return writeRecord(op, 0, gsm);
}

int CCtlRunner::runAddRow(const CCtlCommand &command)
{
    const QStringList &as = command.asArgs;
    CLogRowParts oParts;
    bool abOk[3] = {false, false, false};
    oParts.LogType = as[0].toInt(&abOk[0]);
    oParts.LogSubType = as[1].toInt(&abOk[1]);
    oParts.Compartment = as[2].toInt(&abOk[2]);
    if (!abOk[0] || !abOk[1] || !abOk[2])
        return fail(QStringLiteral("type, subtype and compartment are numbers"));
    CFieldValue stamp;
    if (!fieldValueFromText(EFieldType::DateTime, as[3], &stamp))
        return fail(QStringLiteral("\"%1\" is not an ISO 8601 date-time").arg(as[3]));
    oParts.DateTime = std::get<QDateTime>(stamp);
    const QString sKinds = command.sKinds.isEmpty() ? payloadKinds(oParts.LogType) : command.sKinds;
    QString sError;
    if (!payloadFromTexts(sKinds, as.mid(4), &oParts.aPayload, &sError))
        return fail(sError);
    return runSimCall(QStringLiteral("addLogbookRow"), {buildLogRow(oParts)});
}

int CCtlRunner::runTransferStatus(const CCtlCommand &command)
{
    const QStringList &as = command.asArgs;
    const int iGroup = transferGroup(as[0]);
    if (iGroup < 0)
        return fail(QStringLiteral("unknown status group \"%1\" (gps, event, log, test, info, update)").arg(as[0]));
    bool abOk[3] = {false, true, true};
    const auto eGroup = CRunFtpTransferStatus::EGroup(iGroup);
    CRunFtpTransferStatus status;
    status.setState(eGroup, as[1].toInt(&abOk[0]));
    if (as.size() > 2) {
        status.setTransferredBytes(eGroup, as[2].toLongLong(&abOk[1]));
        status.setTotalBytes(eGroup, as.value(3).toLongLong(&abOk[2]));
    }
    if (!abOk[0] || !abOk[1] || !abOk[2])
        return fail(QStringLiteral("state and byte counts are numbers"));
    if (as.size() > 4)
        status.setFileName(eGroup, as[4]);
    return writeRecord(*findOperationByRecord(QStringLiteral("CRunFtpTransferStatus")), 0, status);
}

int CCtlRunner::runFault(const CCtlCommand &command)
{
    const QStringList &as = command.asArgs;
    if (as.size() == 1) {
        return as[0] == QLatin1String("clear")
                   ? runSimCall(QStringLiteral("setFault"), {QString(), as[0], 0, 0})
                   : fail(QStringLiteral("fault OPERATION error|stall|empty|refuse [COUNT], or fault [OPERATION] clear"));
    }
    bool bOk = true;
    const int iCount = as.size() > 2 ? as[2].toInt(&bOk) : 1;
    if (!bOk)
        return fail(QStringLiteral("the count of a fault is a number"));
    return runSimCall(QStringLiteral("setFault"), {as[0], as[1], iCount, command.iSkip});
}

int CCtlRunner::runSimCall(const QString &sMethod, const QVariantList &aArguments)
{
    QDBusMessage call = simCall(sMethod);
    call.setArguments(aArguments);
    const QDBusMessage reply = m_connection.call(call);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(sMethod + QStringLiteral(": ") + reply.errorMessage());
    const QVariant result = reply.arguments().value(0);
    // Numbers are row IDs or reply codes; texts are listings or a reason.
    if (result.typeId() == QMetaType::QString) {
        const QString sText = result.toString();
        // Of the commands that answer with a text, these two answer a refusal.
        const bool bRefusal = sMethod == QLatin1String("loadProfile") || sMethod == QLatin1String("setFault");
        if (bRefusal && !sText.isEmpty())
            return fail(sText);
        m_out << sText;
        return 0;
    }
    const qlonglong llResult = result.toLongLong();
    if (sMethod == QLatin1String("addLogbookRow") && llResult > 0) {
        m_out << llResult << Qt::endl;
        return 0;
    }
    return llResult == REPLY_SUCCESS ? 0 : fail(sMethod + QStringLiteral(" refused: ") + replyCodeName(int(llResult)));
}
