#pragma once

#include <QObject>
#include <QString>

// ---- bus side: includes and forward declarations ----
#include "bus/ccalls.h"
#include "records/ccommrecords.h"
#include "records/cvehiclerecords.h"

#include <QByteArray>

class ComVelkorTankoraSetupInterface;
class ComVelkorTankoraRuntimeInterface;
class ComVelkorTankora_WMRuntime_WMInterface;
class ComVelkorTankoraLogbookInterface;
class CFtlTrigger;
class QDBusConnection;
class Thread;
// ---- end bus side ----

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

    // ---- bus side: slots ----
    // The cycle of the transfer state machine.
    void datad();
    // Handshake with the process supervisor.
    void SendsigTrigger();
    void onsigGetName(int iPID, int iAppID);
    void onsigProcessStart(int iProcess, int iAppID);
    void onSigOfflineMode(int iProcessID, int iSeconds);
    // Change signals of the database service.
    void Signal_sigTriggerFtpTransfer(int iProcess);
    void Signal_sigRunGsmGprs(int iProcessID);
    void Signal_sigRunGsm(int iProcessID);
    void Signal_sigRuntimeFtpTransferStatus(int iProcessID);
    void Signal_RuntimeVpnChanged(int iProcessID);
    void Signal_sigSetupGsmGprsFtpUpdate(int iProcessID);
    void Signal_sigSetupGsmGprsFtpData(int iProcessID);
    void Signal_sigSetupGsmGprsFtpService(int iProcessID);
    void Signal_sigSetupGsmGprs(int iProcessID);
    void Signal_sigSetFtpSwUpdate(int iProcessID);
    void Signal_sigSetupGeneralNonWM(int iProcessID);
    void Signal_SetupLtServerChanged(int iProcessID);
    void Signal_SetupGpsTrackingChanged(int iProcessID);
    // ---- end bus side ----

    // ---- bus side: signals relayed to /Signals by the SignalsAdaptor ----
signals:
    void sigTrigger(int iProcess);
    void sigSendName(int iProcess, QByteArray Processname);
    void sigRestartGprsModule(int iProcess, int iReason);
    // ---- end bus side ----

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

    // ---- bus side: connection, handshake, change handling ----
public:
    // Link and transfer states; the names are those of the state-change line.
    enum EPppState {
        PPP_IDLE = 1,
        GPRS_WAIT,
        PPP_STARTUP,
        PPP_STARTUP_WAIT,
        SEND_INFO_FILE,
        FILE_TRANSFER_ACTIVE,
        FILE_WAIT_FINISH,
        FILE_TRANSFER_FINISHED,
        PPP_SHUTDOWN,
        PPP_DISABLED
    };

private:
    void createProxies(const QDBusConnection &bus);
    void subscribeProxySignals();
    void subscribeBusSignals(QDBusConnection &bus);
    void resetLinkState();
    void stopHeartbeatThread();
    void deleteProxies();
    void deleteHeartbeatThread();

    // Real start-up once the supervisor has started the daemon.
    void restartLtClient();
    void createLogTxDirectory();
    void startHeartbeatThread();
    void reportSoftwareVersion();
    void readGsmGprsSetupAtStart();
    void readGsmRuntimeAtStart();
    void startTriggerMonitor();
    void deleteTriggerMonitor();

    // Readers of the setups and runtime records that steer the transfers;
    // called at process start and by their change signals.
    void readFtpUpdateSetup();
    void readFtpDataSetup();
    void readFtpServiceSetup();
    void readSwUpdateSetup();
    void readGeneralSetup();
    void readLtServerSetup();
    void readVpnRuntime();
    void readGpsTrackingSetup();

    CBusCalls m_oCalls{"cdata", qint64(0)};

    ComVelkorTankoraSetupInterface *m_pDataSetup = nullptr;
    ComVelkorTankoraRuntimeInterface *m_pDataRuntime = nullptr;
    ComVelkorTankora_WMRuntime_WMInterface *m_pDataRuntimeWM = nullptr;
    ComVelkorTankoraLogbookInterface *m_pDataLogbook = nullptr;
    Thread *m_pHeartbeatThread = nullptr;
    CFtlTrigger *m_pFtlTrigger = nullptr;

    // Cached records, valid until their next change signal.
    CSetGsmGprs m_oSetGsmGprs;
    CRunGsm m_oRunGsm;
    CRunGsmGprs m_oRunGsmGprs;
    CRunFtpTransferStatus m_oRunFtpTransferStatus;
    CRunTriggerFtpTransfer m_oRunTriggerFtpTransfer;
    CSetGsmGprsFtpData m_oSetGsmGprsFtpData;
    CSetGsmGprsFtpService m_oSetGsmGprsFtpService;
    CSetGsmGprsFtpUpdate m_oSetGsmGprsFtpUpdate;
    CSetFtpSwUpdate m_oSetFtpSwUpdate;
    CSetGeneralNonWM m_oSetGeneralNonWM;

    // What the dial-up publishes about the link.
    bool m_bPppUp = false;
    bool m_bPppStopped = false;
    QString m_sRemoteIp;

    // Link and transfer state, reset on every connection.
    int m_iState = PPP_IDLE;
    int m_iPrevState = PPP_IDLE;
    int m_iDnsFailureCount = 0;
    int m_iTransferFailureCount = 0;
    bool m_bGpsTransferActive = false;
    bool m_bWaitTimePending = false;
    bool m_bSwUpdateGuiRequested = false;
    // ---- end bus side ----
};
