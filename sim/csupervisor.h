#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QHash>
#include <QObject>

class CVehicleService;

// The process supervisor of the vehicle: every process announces itself with
// sigTrigger; one whose name is not known is asked with sigGetName, and one
// that tells its name with sigSendName is started with sigProcessStart.
class CSupervisor : public QObject
{
    Q_OBJECT
public:
    CSupervisor(CVehicleService *pService, int iServicePid, QObject *pParent = nullptr);

    // Subscribes to the Signals interface of every process on the bus.
    bool connectBus(QDBusConnection &connection);
    // Asks every process for an offline period of iSeconds.
    void sendOfflineMode(int iSeconds);
    // "pid name" per line, for the processes that told their name.
    QString processNames() const;

private slots:
    void onSigTrigger(int iProcess);
    void onSigSendName(int iProcess, const QByteArray &Processname);
    void onSigRestartGprsModule(int iProcess, int iReason);

private:
    void send(const char *pszSignal, int iSecond);

    CVehicleService *m_pService;
    int m_iServicePid;
    QHash<int, QByteArray> m_hNames;
};
