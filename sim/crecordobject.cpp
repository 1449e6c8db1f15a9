#include "sim/crecordobject.h"

#include "sim/cvehicleservice.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDebug>

namespace {

// D-Bus signature the method of this operation takes.
QString expectedSignature(const CServiceOperation &op, bool bIsGet)
{
    if (bIsGet) {
        switch (op.eIndex) {
        case EIndexKind::None: return QString();
        case EIndexKind::Index: return QStringLiteral("i");
        case EIndexKind::Filter: return QStringLiteral("ay");
        }
    }
    return op.hasIndex() ? QStringLiteral("iiay") : QStringLiteral("iay");
}

} // namespace

CRecordObject::CRecordObject(EServiceObject eObject, CVehicleService *pService, QObject *pParent)
    : QDBusVirtualObject(pParent), m_eObject(eObject), m_pService(pService)
{
}

QString CRecordObject::introspect(const QString &) const
{
    return introspectionXml(m_eObject);
}

bool CRecordObject::handleMessage(const QDBusMessage &message, const QDBusConnection &connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    if (!message.interface().isEmpty() && message.interface() != serviceInterface(m_eObject))
        return false;
    bool bIsGet = false;
    const CServiceOperation *pOp = findOperationByMethod(m_eObject, message.member(), &bIsGet);
    if (!pOp)
        return false; // the bus library answers with an unknown-method error
    answerCall(m_pService->faults(), connection, message, [&] { return answer(message, *pOp, bIsGet); });
    return true;
}

QDBusMessage CRecordObject::answer(const QDBusMessage &message, const CServiceOperation &op, bool bIsGet)
{
    const QString sExpected = expectedSignature(op, bIsGet);
    if (message.signature() != sExpected) {
        qWarning().noquote() << "tankora-service:" << message.member() << "called with (" + message.signature() + ")";
        return message.createErrorReply(QDBusError::InvalidArgs,
                                        QStringLiteral("%1 takes (%2), not (%3)")
                                            .arg(message.member(), sExpected, message.signature()));
    }
    const QVariantList aArgs = message.arguments();
    if (bIsGet) {
        if (op.eIndex == EIndexKind::Filter)
            return message.createReply(m_pService->product(aArgs.value(0).toByteArray()));
        const int iIndex = op.eIndex == EIndexKind::Index ? aArgs.value(0).toInt() : 0;
        return message.createReply(m_pService->getRecord(op, iIndex));
    }
    const int iProcess = aArgs.value(0).toInt();
    const int iIndex = op.hasIndex() ? aArgs.value(1).toInt() : 0;
    const QByteArray baBytes = aArgs.last().toByteArray();
    return message.createReply(m_pService->setRecord(op, iIndex, iProcess, baBytes));
}
