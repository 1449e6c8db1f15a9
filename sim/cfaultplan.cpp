#include "sim/cfaultplan.h"

#include "sim/cserviceoperations.h"

#include <QDBusError>
#include <QVariant>
#include <QDebug>
#include <QTimer>

namespace {

// REPLY_NO_SUCCESS: the service's plain "not done".
constexpr int REPLY_FAILURE = 0;

bool isServiceOperation(const QString &sOperation)
{
    static const QStringList asLogbook = {QStringLiteral("getLogbook"), QStringLiteral("getLogbookDataTracking"),
                                          QStringLiteral("setLogbookGsmFtp")};
    if (asLogbook.contains(sOperation))
        return true;
    for (const EServiceObject eObject : {EServiceObject::Setup, EServiceObject::Runtime, EServiceObject::RuntimeWM}) {
        if (findOperationByMethod(eObject, sOperation, nullptr))
            return true;
    }
    return false;
}

} // namespace

bool CFaultPlan::set(const QString &sOperation, const QString &sKind, int iCount, int iSkip, QString *psError)
{
    if (sKind == QLatin1String("clear") && sOperation.isEmpty()) {
        m_hFaults.clear();
        return true;
    }
    if (!isServiceOperation(sOperation)) {
        *psError = QStringLiteral("\"%1\" is not an operation of the service").arg(sOperation);
        return false;
    }
    if (sKind == QLatin1String("clear")) {
        m_hFaults.remove(sOperation);
        return true;
    }
    static const QHash<QString, EFault> hKinds = {{QStringLiteral("error"), EFault::Error},
                                                  {QStringLiteral("stall"), EFault::Stall},
                                                  {QStringLiteral("empty"), EFault::Empty},
                                                  {QStringLiteral("refuse"), EFault::Refuse}};
    const auto kind = hKinds.find(sKind);
    if (kind == hKinds.end() || iCount < 1 || iSkip < 0) {
        *psError = QStringLiteral("a fault is \"error\", \"stall\", \"empty\" or \"refuse\", for one call or more, "
                                  "after no call or more");
        return false;
    }
    m_hFaults.insert(sOperation, {*kind, iCount, iSkip});
    return true;
}

EFault CFaultPlan::take(const QString &sOperation)
{
    const auto it = m_hFaults.find(sOperation);
    if (it == m_hFaults.end())
        return EFault::None;
    if (it->iSkip > 0) {
        --it->iSkip;
        return EFault::None;
    }
    const EFault eFault = it->eFault;
    if (--it->iCount <= 0)
        m_hFaults.erase(it);
    return eFault;
}

void answerCall(CFaultPlan &plan, const QDBusConnection &connection, const QDBusMessage &call,
                const std::function<QDBusMessage()> &fnAnswer)
{
    const EFault eFault = plan.take(call.member());
    if (eFault == EFault::Error) {
        qInfo().noquote() << "tankora-service: fault: error reply to" << call.member();
        connection.send(call.createErrorReply(QDBusError::Failed,
                                              QStringLiteral("%1 failed as the test asked").arg(call.member())));
        return;
    }
    if (eFault == EFault::Empty) {
        qInfo().noquote() << "tankora-service: fault: empty reply to" << call.member();
        connection.send(call.createReply(QVariant(QByteArray())));
        return;
    }
    if (eFault == EFault::Refuse) {
        qInfo().noquote() << "tankora-service: fault: failure code to" << call.member();
        connection.send(call.createReply(QVariant(int(REPLY_FAILURE))));
        return;
    }
    const QDBusMessage reply = fnAnswer();
    if (eFault == EFault::None) {
        connection.send(reply);
        return;
    }
    qInfo().noquote() << "tankora-service: fault: reply to" << call.member() << "held back";
    // Only this reply waits; every other caller is answered meanwhile.
    QTimer::singleShot(STALLED_REPLY_MS, [connection, reply] { connection.send(reply); });
}
