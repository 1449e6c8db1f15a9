#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QString>

#include <functional>

// How the service answers a call that a test chose to fail.
enum class EFault {
    None,
    Error, // a D-Bus error reply, and the call does nothing
    Stall, // the call is carried out, its reply comes after the caller's time-out
    Empty, // a get answered with an empty byte array, as a record the service lost
    Refuse // a set answered with a failure code, and nothing written
};

// Faults a test asked for, by operation (the method name, getLogbook): each
// lets iSkip calls pass, answers the next iCount, then the operation behaves
// again. A skip puts the fault on a chosen call (the row a run reaches).
class CFaultPlan
{
public:
    // sKind "error", "stall", "empty", "refuse" or "clear"; an empty operation with "clear"
    // clears every fault. False with a reason for an unknown operation or kind.
  bool set(const QString &sOperation, const QString &sKind, int iCount, int iSkip, QString *psError);
  // The fault for this call of the operation, counted down.
  EFault take(const QString &sOperation);

private:
    struct CFault
    {
        EFault eFault;
        int iCount;
        int iSkip;
    };
    QHash<QString, CFault> m_hFaults;
};

// The QtDBus call time-out a stalled reply outlasts.
constexpr int STALLED_REPLY_MS = 30000;

// Answers a call as the plan says: the reply fnAnswer makes, sent at once or
// after STALLED_REPLY_MS, or an error reply, an empty byte array or a
// failure code without calling fnAnswer.
void answerCall(CFaultPlan &plan, const QDBusConnection &connection, const QDBusMessage &call,
                const std::function<QDBusMessage()> &fnAnswer);
