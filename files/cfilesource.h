#pragma once

#include "controller/clogline.h"
#include "records/ccommrecords.h"
#include "records/cvehiclerecords.h"
#include "records/cwmrecords.h"

#include <QByteArray>
#include <QDateTime>

// What the file builders ask of the database service and the controller.
// Each read returns false (after logging "… returns NULL") when the service
// has no answer; the record is then left as it was.
class CFileSource
{
public:
    virtual ~CFileSource() = default;

    virtual void log(const CLogLine &line) = 0;
    virtual QDateTime nowUtc() const = 0;

    virtual bool hasLogbook() const = 0;
    // One raw row, or an empty array when none is left.
    virtual QByteArray logbookRow(const CLogbookFilter &filter) = 0;
    virtual QByteArray trackingRow(const CLogbookFilter &filter) = 0;

    // The progress of the automatic runs.
    virtual bool readGsmSettings(CSetGsm &settings) = 0;
    // The reply code; anything but success has been logged.
    virtual int writeGsmSettings(CSetGsm &settings) = 0;

    // The controller's current copy of the general setup.
    virtual const CSetGeneralNonWM &generalSetup() const = 0;
    // Whether the service answers for the general setup now.
    virtual bool generalSetupAnswers() = 0;
    virtual bool hasSetup() const = 0;
    virtual bool readGeneralWM(CSetGeneralWM &setup) = 0;
    virtual bool readMeter(int iIndex, CSetMeterWM &meter) = 0;
    // The product of the index, or an empty array past the last.
    virtual QByteArray productRecord(const CLogbookFilter &filter) = 0;
    virtual bool hasRuntimeWM() const = 0;
    virtual bool readSealState(CRunSealStateLGMWM &seal) = 0;

    // What the info file and the test files say about the vehicle's units,
    // its link and its VPN.
    virtual bool readRuntimeGeneralNonWM(CRunGeneralNonWM &runtime) = 0;
    virtual bool readRuntimeGeneralWM(CRunGeneralWM &runtime) = 0;
    virtual bool readRuntimeGsmGprs(CRunGsmGprs &runtime) = 0;
    virtual bool readSetupGsmGprs(CSetGsmGprs &setup) = 0;
    // A vehicle without VPN has no such record: "… returns NULL" at debug level only.
    virtual bool readRuntimeVpn(CRunVpn &runtime) = 0;
    // The general setup as the service holds it now, not the controller's copy.
    virtual bool readSetupGeneralNonWM(CSetGeneralNonWM &setup) = 0;

    // Adds a GSM/FTP entry (its row bytes) to the logbook under the own
    // process number; the service stamps it. The reply code.
    virtual int writeGsmFtpEntry(const QByteArray &baRow) = 0;
};
