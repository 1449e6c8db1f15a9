#pragma once

#include "controller/ctransfermachine.h"
#include "files/cfilesource.h"
#include "files/cswupdateschedule.h"
#include "files/ctriggerhandling.h"

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

class CSignalPath;
class QTimer;

// The controller: owns the timers, the bus side and the transfer machinery.
class CData : public QObject, public CTransferHost, public CFileSource
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
    // How long a bus call waits for the service's reply: 25 s, the bus
    // library's own default, on the vehicle; a test shortens it.
    void setBusCallTimeoutMs(int iMs);

  private slots:
    void connectDbus();
    void handleLinuxSignal(int iSignal);

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

    // An event file requested by the trigger monitor.
    void onSigStartEventFile(bool bForced);

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
    CSignalPath *m_pSignalPath = nullptr;

    int m_iUseSessionBus = 1;
    QString m_sTcpBusAddress;
    QString m_sTcpBusName;
    int m_iDbusConnectionRetry = 5000;
    int m_iSetupPollRate = 1000;

    // Transfer requests of the operator and the monitor.
    CTriggerRequests m_oRequests;
    bool m_bSwUpdateAfterRestart = true;
    CSwUpdateSchedule m_oSwUpdateSchedule;
    // The link and transfer machine; its cycle is datad().
    CTransferMachine m_oMachine{*this};

    // Link keeping and the offline request.
    bool m_bLtServerEnabled = false;
    bool m_bVpnActive = false;
    bool m_bGpsTracking = false;
    bool m_bOfflineRequest = false;
    int m_iOfflineSeconds = 0;

    bool m_bProcessStarted = false;
    bool m_bConnected = false;

    // ---- bus side: connection, handshake, change handling ----
  private:
    // The name of the daemon's own session-bus connection.
    static QString sessionConnectionName();
    void createProxies(const QDBusConnection &bus);
    void applyBusCallTimeout();
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
    int m_iBusCallTimeoutMs = 25000;

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
    QString m_sRemoteIp;
    bool m_bSwUpdateGuiRequested = false;
    // ---- end bus side ----

    // ---- transfer controller: what the machine and the file builders use ----
  public:
    void log(const CLogLine &line) override;
    bool gsmModuleReady() override;
    void startDialUp() override;
    void stopDialUp() override;
    void killDialUp() override;
    void killFtpClient() override;
    bool nameResolves() override;
    void restartModule(int iReason) override;
    TransferType nextTransfer(bool bConsume, QString &sFileName) override;
    void startTransfer(TransferType eType, const QString &sFileName) override;
    bool sendInfoFile() override;
    void resetTransferStatus() override;
    void writeGsmFtpEntry(int iEventCode) override;
    bool serviceServerConfigured() const override;
    int idleTimeSeconds() const override;
    bool linkKeptForLtServerOrVpn() const override;
    bool offlineRequested() const override;
    void clearOfflineRequest() override;
    int offlineSeconds() const override;

    QDateTime nowUtc() const override;
    bool hasLogbook() const override;
    QByteArray logbookRow(const CLogbookFilter &filter) override;
    QByteArray trackingRow(const CLogbookFilter &filter) override;
    bool readGsmSettings(CSetGsm &settings) override;
    int writeGsmSettings(CSetGsm &settings) override;
    const CSetGeneralNonWM &generalSetup() const override { return m_oSetGeneralNonWM; }
    bool generalSetupAnswers() override;
    bool hasSetup() const override { return m_pDataSetup != nullptr; }
    bool readGeneralWM(CSetGeneralWM &setup) override;
    bool readMeter(int iIndex, CSetMeterWM &meter) override;
    QByteArray productRecord(const CLogbookFilter &filter) override;
    bool hasRuntimeWM() const override { return m_pDataRuntimeWM != nullptr; }
    bool readSealState(CRunSealStateLGMWM &seal) override;
    bool readRuntimeGeneralNonWM(CRunGeneralNonWM &runtime) override;
    bool readRuntimeGeneralWM(CRunGeneralWM &runtime) override;
    bool readRuntimeGsmGprs(CRunGsmGprs &runtime) override;
    bool readSetupGsmGprs(CSetGsmGprs &setup) override;
    bool readRuntimeVpn(CRunVpn &runtime) override;
    bool readSetupGeneralNonWM(CSetGeneralNonWM &setup) override;
    int writeGsmFtpEntry(const QByteArray &baRow) override;

  private:
    // Files requested since the last cycle, built before the machine runs.
    void buildRequestedFiles();
    // Publishes the status record as it stands.
    void writeTransferStatus(CRunFtpTransferStatus &status);
    void runFtpClient(const QString &sOption, const QString &sFileName);
    void runTriggerActions(const QList<CTriggerAction> &aActions);
    // ---- end transfer controller ----
};
