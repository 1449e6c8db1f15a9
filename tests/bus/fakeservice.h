#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>

// Records of one object of the stand-in database service: each get answers
// the bytes a test put there, or fails when there are none; each set stores
// the bytes and answers the reply code a test chose (success by default).
// Calls run on the service's own thread, so the daemon may block on them.
class CFakeRecords : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    void putRecord(const QString &sGet, const QByteArray &baBytes);
    void dropRecord(const QString &sGet);
    void setResult(const QString &sSet, int iResult);
    // Operations of every fake object, in the order they were called.
    static QStringList calls();
    static int callCount(const QString &sOperation);
    QList<QByteArray> written(const QString &sSet) const;

protected:
    QByteArray answerGet(const QString &sGet);
    int answerSet(const QString &sSet, const QByteArray &baBytes);

private:
    inline static QMutex s_lock;
    inline static QStringList s_asCalls;
    QHash<QString, QByteArray> m_hRecords;
    QHash<QString, int> m_hResults;
    QHash<QString, QList<QByteArray>> m_hWritten;
};

class CFakeSetup : public CFakeRecords
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Setup")

public slots:
    Q_SCRIPTABLE QByteArray getSetupGsmGprs() { return answerGet(QStringLiteral("getSetupGsmGprs")); }
    Q_SCRIPTABLE QByteArray getSetupGsmGprsFtpData() { return answerGet(QStringLiteral("getSetupGsmGprsFtpData")); }
    Q_SCRIPTABLE QByteArray getSetupGsmGprsFtpService()
    {
        return answerGet(QStringLiteral("getSetupGsmGprsFtpService"));
    }
    Q_SCRIPTABLE QByteArray getSetupGsmGprsFtpUpdate() { return answerGet(QStringLiteral("getSetupGsmGprsFtpUpdate")); }
    Q_SCRIPTABLE int setSetupGsmGprsFtpUpdate(int, const QByteArray &baBytes)
    {
        return answerSet(QStringLiteral("setSetupGsmGprsFtpUpdate"), baBytes);
    }
    Q_SCRIPTABLE QByteArray getSetupFtpSwUpdate() { return answerGet(QStringLiteral("getSetupFtpSwUpdate")); }
    Q_SCRIPTABLE QByteArray getSetupGpsTracking() { return answerGet(QStringLiteral("getSetupGpsTracking")); }
    Q_SCRIPTABLE QByteArray getSetupLTServer() { return answerGet(QStringLiteral("getSetupLTServer")); }
    Q_SCRIPTABLE QByteArray getSetupGeneralNonWM() { return answerGet(QStringLiteral("getSetupGeneralNonWM")); }
};

class CFakeRuntime : public CFakeRecords
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Runtime")

public slots:
    Q_SCRIPTABLE QByteArray getRuntimeGsm() { return answerGet(QStringLiteral("getRuntimeGsm")); }
    Q_SCRIPTABLE QByteArray getRuntimeGsmGprs() { return answerGet(QStringLiteral("getRuntimeGsmGprs")); }
    Q_SCRIPTABLE QByteArray getRuntimeFtpTransferStatus()
    {
        return answerGet(QStringLiteral("getRuntimeFtpTransferStatus"));
    }
    Q_SCRIPTABLE QByteArray getRuntimeTriggerFtpTransfer()
    {
        return answerGet(QStringLiteral("getRuntimeTriggerFtpTransfer"));
    }
    Q_SCRIPTABLE QByteArray getRuntimeVpn() { return answerGet(QStringLiteral("getRuntimeVpn")); }
    Q_SCRIPTABLE int setRuntimeGeneralNonWM(int, const QByteArray &baBytes)
    {
        return answerSet(QStringLiteral("setRuntimeGeneralNonWM"), baBytes);
    }
    Q_SCRIPTABLE int setRuntimeTriggerFtpTransfer(int, const QByteArray &baBytes)
    {
        return answerSet(QStringLiteral("setRuntimeTriggerFtpTransfer"), baBytes);
    }
};

// The stand-in service on a connection and a thread of its own: it owns
// com.Velkor.Tankora with /SetupData and /RuntimeData and sends the
// service's and the supervisor's signals.
class CFakeService
{
public:
    CFakeService();
    ~CFakeService();
    bool isReady() const { return m_bReady; }

    CFakeSetup setup;
    CFakeRuntime runtime;

    void sendSignal(const QString &sPath, const QString &sInterface, const QString &sSignal,
                    const QList<int> &aiArguments);

private:
    QThread m_thread;
    QDBusConnection m_bus;
    bool m_bReady = false;
};
