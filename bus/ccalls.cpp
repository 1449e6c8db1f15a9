#include "bus/ccalls.h"

#include "log/cmodulelog.h"
#include "records/crecord.h"
#include "records/creplycode.h"

#include <QDebug>

QString nullReplyText(const QString &sOperation)
{
    return sOperation + QStringLiteral(" returns NULL");
}

QString setFailureText(int iResult)
{
    return streamItems({QStringLiteral("Dbus-Error: "), QLatin1Char('"') + replyCodeName(iResult) + QLatin1Char('"')});
}

bool isOwnProcess(int iProcess, qint64 llOwnPid)
{
    return qint64(iProcess) == llOwnPid;
}

bool isAddressedToUs(int iSender, int iAddressed, qint64 llOwnPid)
{
    return !isOwnProcess(iSender, llOwnPid) && isOwnProcess(iAddressed, llOwnPid);
}

QByteArray CBusCalls::get(QDBusPendingReply<QByteArray> reply, const QString &sOperation, CRecord &record,
                          ENullLog eLog) const
{
    const QByteArray baBytes = replyBytes(reply);
    if (baBytes.isNull()) {
        if (eLog == ENullLog::Warning)
            warning(__LINE__, nullReplyText(sOperation));
        else
            debug(__LINE__, nullReplyText(sOperation));
        return baBytes;
    }
    record.fromByteArray(baBytes);
    return baBytes;
}

QByteArray CBusCalls::replyBytes(QDBusPendingReply<QByteArray> reply)
{
    reply.waitForFinished();
    // An error reply carries its message as an argument, never a record.
    return reply.isError() ? QByteArray() : reply.value();
}

bool CBusCalls::getNoted(QDBusPendingReply<QByteArray> reply, const QString &sOperation, CRecord &record,
                         const QString &sReceived) const
{
    if (get(reply, sOperation, record).isNull())
        return false;
    debug(__LINE__, sReceived);
    return true;
}

bool CBusCalls::acceptChange(int iProcess, const QString &sSignal) const
{
    if (isOwn(iProcess))
        return false;
    debug(__LINE__,
          streamItems({QLatin1Char('\'') + sSignal + QStringLiteral("' received from "), QString::number(iProcess)}));
    return true;
}

int CBusCalls::judge(QDBusPendingReply<int> reply) const
{
    reply.waitForFinished();
    const int iResult = reply.isError() ? 0 : reply.value();
    if (iResult != REPLY_SUCCESS)
        warning(__LINE__, setFailureText(iResult));
    return iResult;
}

QByteArray CBusCalls::encoded(CRecord &record)
{
    return record.toByteArray();
}

void CBusCalls::debug(int iLine, const QString &sText) const
{
    qDebug().noquote().nospace() << moduleLogLine(m_pszModule, iLine, sText);
}

void CBusCalls::warning(int iLine, const QString &sText) const
{
    qWarning().noquote().nospace() << moduleLogLine(m_pszModule, iLine, sText);
}
