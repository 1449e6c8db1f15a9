#pragma once

#include <QByteArray>
#include <QDBusPendingReply>
#include <QString>

class CRecord;

// Texts of the calling convention, kept apart so the log lines can be
// checked without a bus.
// "getSetupGsmGprs returns NULL"
QString nullReplyText(const QString &sOperation);
// Dbus-Error:  "DB_ACCESS_WHILE_BACKUP"; an unknown code as its number.
QString setFailureText(int iResult);

// A change signal written by the daemon itself must not come back to it.
bool isOwnProcess(int iProcess, qint64 llOwnPid);
// The supervisor's handshake: from another process and addressed to us.
bool isAddressedToUs(int iSender, int iAddressed, qint64 llOwnPid);

// How loud a missing record is: most readers warn, a few only note it.
enum class ENullLog { Warning, Debug };

// The one way every module talks to the database service: each call is
// taken at once (the main thread waits for the reply), a null record keeps
// the cached copy, and a refused write is logged with its reply code.
class CBusCalls
{
  public:
    // sModule heads each line ("cdata", "CFtlTrigger").
    CBusCalls(const char *pszModule, qint64 llOwnPid) : m_pszModule(pszModule), m_llOwnPid(llOwnPid) {}

    qint64 ownPid() const { return m_llOwnPid; }
    bool isOwn(int iProcess) const { return isOwnProcess(iProcess, m_llOwnPid); }

    // Waits for the record. Null: logs "<sOperation> returns NULL", leaves
    // the record as it was and returns the null bytes. Otherwise decodes the
    // bytes into the record. The bytes are returned for callers that look
    // at the raw reply.
    QByteArray get(QDBusPendingReply<QByteArray> reply, const QString &sOperation, CRecord &record,
                   ENullLog eLog = ENullLog::Warning) const;

    // Waits for the reply code; anything but success, a failed call
    // included, is logged. Returns the code (0 for a failed call).
    int judge(QDBusPendingReply<int> reply) const;

    // Encodes the record and writes it with the daemon's process id.
    template <class TProxy>
    int set(TProxy *pProxy, QDBusPendingReply<int> (TProxy::*pfnSet)(int, const QByteArray &), CRecord &record) const
    {
        return judge((pProxy->*pfnSet)(int(m_llOwnPid), encoded(record)));
    }

    // The bytes of a get reply: waits for it, and an error reply (the call
    // failed or timed out) gives the null bytes, never the error's text.
    static QByteArray replyBytes(QDBusPendingReply<QByteArray> reply);

    // The same get, answering only whether a record came.
    bool read(QDBusPendingReply<QByteArray> reply, const QString &sOperation, CRecord &record,
              ENullLog eLog = ENullLog::Warning) const
    {
        return !get(reply, sOperation, record, eLog).isNull();
    }

    // A get that notes a successful read with sReceived.
    bool getNoted(QDBusPendingReply<QByteArray> reply, const QString &sOperation, CRecord &record,
                  const QString &sReceived) const;

    // The change filter of a slot that announces another writer's change
    // with "'<signal>' received from <id>"; true when the change is to be read.
    bool acceptChange(int iProcess, const QString &sSignal) const;

    void debug(int iLine, const QString &sText) const;
    void warning(int iLine, const QString &sText) const;

  private:
    static QByteArray encoded(CRecord &record);

    const char *m_pszModule;
    qint64 m_llOwnPid;
};
