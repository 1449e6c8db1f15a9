#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

// The controller: owns the timers, the bus side and the transfer machinery.
class CData : public QObject
{
    Q_OBJECT

public:
    explicit CData(QObject *pParent = nullptr);
    ~CData() override;

    // SETUP_GENERAL of the settings file, kept for the whole run.
    int useSessionBus() const { return m_iUseSessionBus; }
    QString tcpBusAddress() const { return m_sTcpBusAddress; }
    QString tcpBusName() const { return m_sTcpBusName; }
    int dbusConnectionRetry() const { return m_iDbusConnectionRetry; }
    int setupPollRate() const { return m_iSetupPollRate; }

private slots:
    void connectDbus();
    void handleLinuxSignal();

private:
    void readSettingsFromIniFile();
    void installSignalPath();
    void removeLeftoverEventFiles();

    qint64 m_llOwnPid = 0;

    QTimer *m_pConnectTimer = nullptr;
    QTimer *m_pCycleTimer = nullptr;
    QTimer *m_pHeartbeatTimer = nullptr;
    QSocketNotifier *m_pSignalNotifier = nullptr;
    int m_iSignalReadFd = -1;

    int m_iUseSessionBus = 1;
    QString m_sTcpBusAddress;
    QString m_sTcpBusName;
    int m_iDbusConnectionRetry = 5000;
    int m_iSetupPollRate = 1000;

    // Transfer requests of the operator and the monitor.
    bool m_bGpsFileRequested = false;
    bool m_bAutoEventFileRequested = false;
    bool m_bAutoEventFileForced = false;
    int m_iManFileType = 0;
    bool m_bSwUpdateAfterRestart = true;

    // Link keeping and the offline request.
    bool m_bLtServerEnabled = false;
    bool m_bVpnActive = false;
    bool m_bGpsTracking = false;
    bool m_bOfflineRequest = false;
    int m_iOfflineSeconds = 0;

    bool m_bProcessStarted = false;
    bool m_bConnected = false;
};
