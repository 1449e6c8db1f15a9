#pragma once

#include "files/cfilesource.h"
#include "logbook/clogbase.h"
#include "records/creplycode.h"
#include "tests/support/ccelltext.h"

#include <QList>
#include <QStringList>

#include <optional>

// The database service as the file builders see it, held in memory: rows in
// row-ID order, the GSM settings with the progress, and the setups of the
// FTL header. Each case changes what it needs; a record left empty (an
// optional without value, a meter or product past the end) is one the
// service does not answer.
class CFakeFileSource : public CFileSource
{
  public:
    QList<QByteArray> aRows, aTrackingRows;
    CSetGsm gsm;
    bool bGsmReadable = true;
    int iWritesBeforeRefusal = -1; // refuse every write after this many; -1 never
    int iWrites = 0;
    CSetGeneralNonWM general;
    bool bGeneralAnswers = true, bGeneralWMReadable = true, bRuntimeWM = false, bSealReadable = true;
    CSetGeneralWM generalWM;
    QList<CSetMeterWM> aMeters;
    QList<CSetProductWM> aProducts;
    CRunSealStateLGMWM seal;
    int iSealReads = 0;
    std::optional<CRunGeneralNonWM> runGeneral;
    std::optional<CRunGeneralWM> runGeneralWM;
    std::optional<CRunGsmGprs> runGsmGprs;
    std::optional<CSetGsmGprs> setGsmGprs;
    std::optional<CRunVpn> runVpn;
    std::optional<CSetGeneralNonWM> setGeneral;
    QList<QByteArray> aGsmFtpRows;
    int iGsmFtpReply = REPLY_SUCCESS;
    QDateTime dtNow = QDateTime(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    // What was logged, "D text" or "W text".
    QStringList asLog;

    CFakeFileSource() { general.setField(71, QStringLiteral("UTC0")); }

    void log(const CLogLine &line) override { asLog << logText({line}); }
    bool logged(const QString &sText) const { return asLog.contains("D " + sText) || asLog.contains("W " + sText); }
    QDateTime nowUtc() const override { return dtNow; }
    bool hasLogbook() const override { return true; }
    QByteArray logbookRow(const CLogbookFilter &filter) override { return firstFrom(aRows, filter); }
    QByteArray trackingRow(const CLogbookFilter &filter) override { return firstFrom(aTrackingRows, filter); }
    bool readGsmSettings(CSetGsm &settings) override { return bGsmReadable && (settings = gsm, true); }
    int writeGsmSettings(CSetGsm &settings) override
    {
        if (++iWrites > iWritesBeforeRefusal && iWritesBeforeRefusal >= 0)
            return -1003;
        gsm = settings;
        return REPLY_SUCCESS;
    }
    const CSetGeneralNonWM &generalSetup() const override { return general; }
    bool generalSetupAnswers() override { return bGeneralAnswers; }
    bool hasSetup() const override { return true; }
    bool readGeneralWM(CSetGeneralWM &setup) override { return bGeneralWMReadable && (setup = generalWM, true); }
    bool readMeter(int iIndex, CSetMeterWM &meter) override
    {
        return iIndex < aMeters.size() && (meter = aMeters[iIndex], true);
    }
    QByteArray productRecord(const CLogbookFilter &filter) override
    {
        const qint64 llIndex = filter.ullStartRowID();
        return llIndex < aProducts.size() ? aProducts[int(llIndex)].toByteArray() : QByteArray();
    }
    bool hasRuntimeWM() const override { return bRuntimeWM; }
    bool readSealState(CRunSealStateLGMWM &state) override
    {
        ++iSealReads;
        return bSealReadable && (state = seal, true);
    }
    bool readRuntimeGeneralNonWM(CRunGeneralNonWM &runtime) override { return copyOf(runGeneral, runtime); }
    bool readRuntimeGeneralWM(CRunGeneralWM &runtime) override { return copyOf(runGeneralWM, runtime); }
    bool readRuntimeGsmGprs(CRunGsmGprs &runtime) override { return copyOf(runGsmGprs, runtime); }
    bool readSetupGsmGprs(CSetGsmGprs &setup) override { return copyOf(setGsmGprs, setup); }
    bool readRuntimeVpn(CRunVpn &runtime) override { return copyOf(runVpn, runtime); }
    bool readSetupGeneralNonWM(CSetGeneralNonWM &setup) override { return copyOf(setGeneral, setup); }
    int writeGsmFtpEntry(const QByteArray &baRow) override
    {
        aGsmFtpRows.append(baRow);
        return iGsmFtpReply;
    }

    // Rows get increasing row IDs as they are added.
    void addRow(CLogBase &entry)
    {
        entry.RowID = quint64(aRows.size() + 1);
        aRows.append(entry.toRow());
    }

  private:
    template <typename TRecord> static bool copyOf(const std::optional<TRecord> &from, TRecord &to)
    {
        return from && (to = *from, true);
    }

    // The service's rule: the first row at or after the start ID whose time
    // is not before the start time (year 1 meaning no limit).
    static QByteArray firstFrom(const QList<QByteArray> &aFrom, const CLogbookFilter &filter)
    {
        for (const QByteArray &baRow : aFrom)
            if (qint64(LogRow::RowID(baRow)) >= filter.ullStartRowID() &&
                (filter.dtStart().date().year() <= 1 || LogRow::DateTime(baRow) >= filter.dtStart()))
                return baRow;
        return {};
    }
};
