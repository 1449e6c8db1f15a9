#pragma once

#include "records/crecord.h"

// Records of the link and the transfers: dial-up setup, GSM module and link
// state, FTP servers, transfer status and triggers, schedules.

class CSetGsmGprs : public CRecord
{
public:
    CSetGsmGprs();
    QString user() const { return textAt(1); }
    QString password() const { return textAt(2); }
    QString apn() const { return textAt(3); }
    QString dns1() const { return textAt(4); }
    QString dns2() const { return textAt(5); }
    qint32 timeout() const { return intAt(6); }
    qint32 IdleTime() const { return intAt(7); }
    QString vpnServerIp() const { return textAt(9); }
    qint32 speed() const { return intAt(10); }
    qint32 authType() const { return intAt(11); }
    qint32 vpnServerPort() const { return intAt(12); }
    void setUser(const QString &s) { setField(1, s); }
    void setPassword(const QString &s) { setField(2, s); }
    void setApn(const QString &s) { setField(3, s); }
    void setDns1(const QString &s) { setField(4, s); }
    void setDns2(const QString &s) { setField(5, s); }
    void setTimeout(qint32 i) { setField(6, i); }
    void setIdleTime(qint32 i) { setField(7, i); }
};

class CRunGsm : public CRecord
{
public:
    CRunGsm();
    QString moduleName() const { return textAt(1); }
    qint32 moduleState() const { return intAt(9); }
    void setModuleName(const QString &s) { setField(1, s); }
    void setModuleState(qint32 i) { setField(9, i); }
};

class CRunGsmGprs : public CRecord
{
public:
    CRunGsmGprs();
    qint32 mode() const { return intAt(1); }
    QString interfaceName() const { return textAt(2); }
    QString ttyDevice() const { return textAt(3); }
    qint32 speed() const { return intAt(4); }
    QString localIp() const { return textAt(5); }
    QString remoteIp() const { return textAt(6); }
    void setMode(qint32 i) { setField(1, i); }
    void setInterfaceName(const QString &s) { setField(2, s); }
    void setLocalIp(const QString &s) { setField(5, s); }
    void setRemoteIp(const QString &s) { setField(6, s); }
};

// Six groups of state, transferred bytes, total bytes and file name.
class CRunFtpTransferStatus : public CRecord
{
public:
    enum EGroup { GroupGps, GroupEvent, GroupLog, GroupTest, GroupInfo, GroupUpdate, GroupCount };
    CRunFtpTransferStatus();
    qint32 state(EGroup eGroup) const { return intAt(4 * eGroup + 1); }
    qint64 transferredBytes(EGroup eGroup) const { return int64At(4 * eGroup + 2); }
    qint64 totalBytes(EGroup eGroup) const { return int64At(4 * eGroup + 3); }
    QString fileName(EGroup eGroup) const { return textAt(4 * eGroup + 4); }
    QString furtherText() const { return textAt(25); }
    void setState(EGroup eGroup, qint32 i) { setField(4 * eGroup + 1, i); }
    void setTransferredBytes(EGroup eGroup, qint64 l) { setField(4 * eGroup + 2, l); }
    void setTotalBytes(EGroup eGroup, qint64 l) { setField(4 * eGroup + 3, l); }
    void setFileName(EGroup eGroup, const QString &s) { setField(4 * eGroup + 4, s); }
};

class CRunTriggerFtpTransfer : public CRecord
{
public:
    // Field numbers of the nine requests, in stream order.
    enum ETrigger {
        bStartGpsFileTransfer = 1,
        bStartManEventFileTransfer,
        bStartAutoEventFileTransfer,
        bStartLogFileTransfer,
        bStartSwUpdate,
        bStartDataTestFileTransfer,
        bStartServiceTestFileTransfer,
        bStartUpdateTestFileTransfer,
        bStartInfoFileTransfer
    };
    CRunTriggerFtpTransfer();
    bool trigger(ETrigger eTrigger) const { return boolAt(eTrigger); }
    void setTrigger(ETrigger eTrigger, bool b) { setField(eTrigger, b); }
    QString text1() const { return textAt(10); }
    QString text2() const { return textAt(11); }
    QDateTime dtTriggerStartUtc() const { return dateTimeAt(12); }
    QDateTime dtTriggerEndUtc() const { return dateTimeAt(13); }
    QString sTriggerType() const { return textAt(14); }
    void setTriggerStartUtc(const QDateTime &dt) { setField(12, dt); }
    void setTriggerEndUtc(const QDateTime &dt) { setField(13, dt); }
    void setTriggerType(const QString &s) { setField(14, s); }
};

// The three FTP server setups share one shape; the service setup has no flag.
class CSetGsmGprsFtpServer : public CRecord
{
public:
    QString sDomain() const { return textAt(1); }
    void setDomain(const QString &s) { setField(1, s); }
    // A domain of two characters or more switches the server's transfers on.
    bool isEnabled() const { return sDomain().size() >= 2; }

protected:
    explicit CSetGsmGprsFtpServer(const CRecordLayout &layout) : CRecord(layout) {}
};

class CSetGsmGprsFtpData : public CSetGsmGprsFtpServer
{
public:
    CSetGsmGprsFtpData();
};

class CSetGsmGprsFtpService : public CSetGsmGprsFtpServer
{
public:
    CSetGsmGprsFtpService();
};

class CSetGsmGprsFtpUpdate : public CSetGsmGprsFtpServer
{
public:
    CSetGsmGprsFtpUpdate();
    bool searchTrigger() const { return boolAt(6); }
    void setSearchTrigger(bool b) { setField(6, b); }
};

// The version integer travels a second time as the first field.
class CSetFtpSwUpdate : public CRecord
{
public:
    CSetFtpSwUpdate();
    qint32 Month() const { return intAt(2); }
    qint32 Day() const { return intAt(3); }
    qint32 Weekday() const { return intAt(4); }
    qint32 Hour() const { return intAt(5); }
    qint32 Minute() const { return intAt(6); }
    bool Remote() const { return boolAt(7); }
    void setMonth(qint32 i) { setField(2, i); }
    void setDay(qint32 i) { setField(3, i); }
    void setWeekday(qint32 i) { setField(4, i); }
    void setHour(qint32 i) { setField(5, i); }
    void setMinute(qint32 i) { setField(6, i); }
    void setRemote(bool b) { setField(7, b); }
};

class CSetGpsTracking : public CRecord
{
public:
    CSetGpsTracking();
    qint32 trackingMode() const { return intAt(1); }
    void setTrackingMode(qint32 i) { setField(1, i); }
};

class CSetLTServer : public CRecord
{
public:
    CSetLTServer();
    bool enabled() const { return boolAt(1); }
    void setEnabled(bool b) { setField(1, b); }
};

class CRunVpn : public CRecord
{
public:
    CRunVpn();
    QString text() const { return textAt(3); }
    bool vpnActive() const { return boolAt(4); }
    void setText(const QString &s) { setField(3, s); }
    void setVpnActive(bool b) { setField(4, b); }
};

// GSM settings; also where the event-file and GPS-file progress is kept.
class CSetGsm : public CRecord
{
public:
    CSetGsm();
    QString sDataNumber() const { return textAt(2); }
    qint32 iNextLogbookRowID() const { return intAt(3); }
    qint32 iNextTrackingRowID() const { return intAt(4); }
    void setDataNumber(const QString &s) { setField(2, s); }
    void setNextLogbookRowID(qint32 i) { setField(3, i); }
    void setNextTrackingRowID(qint32 i) { setField(4, i); }
};

// The argument of the logbook and product queries; no reserve.
class CLogbookFilter : public CRecord
{
public:
    CLogbookFilter();
    qint64 ullStartRowID() const { return int64At(1); }
    QDateTime dtStart() const { return dateTimeAt(2); }
    QDateTime dtEnd() const { return dateTimeAt(3); }
    void setStartRowID(qint64 l) { setField(1, l); }
    void setStart(const QDateTime &dt) { setField(2, dt); }
    void setEnd(const QDateTime &dt) { setField(3, dt); }
};
