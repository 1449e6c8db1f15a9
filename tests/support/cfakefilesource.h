#pragma once

#include "files/cfilesource.h"
#include "logbook/clogbase.h"
#include "records/creplycode.h"

#include <QList>

#include <optional>

// The database service as the file builders see it, held in memory: rows in
// row-ID order, the GSM settings with the progress, and the setups of the
// FTL header. Each case changes what it needs.
class CFakeFileSource : public CFileSource
{
public:
    QList<QByteArray> aRows;
    QList<QByteArray> aTrackingRows;
    CSetGsm gsm;
    bool bGsmReadable = true;
    int iWriteReply = REPLY_SUCCESS;
    int iWritesBeforeRefusal = -1; // refuse after this many writes; -1 never
    int iWrites = 0;
    CSetGeneralNonWM general;
    bool bGeneralAnswers = true;
    bool bGeneralWMReadable = true;
    CSetGeneralWM generalWM;
    QList<CSetMeterWM> aMeters;
    QList<CSetProductWM> aProducts;
    bool bRuntimeWM = false;
    CRunSealStateLGMWM seal;
    bool bSealReadable = true;
    int iSealReads = 0;
    // Runtime and setup records of the info file and the test files; an
    // empty one stands for a record the service does not answer.
    std::optional<CRunGeneralNonWM> runGeneral;
    std::optional<CRunGeneralWM> runGeneralWM;
    std::optional<CRunGsmGprs> runGsmGprs;
    std::optional<CSetGsmGprs> setGsmGprs;
    std::optional<CRunVpn> runVpn;
    std::optional<CSetGeneralNonWM> setGeneral;
    // Rows sent with writeGsmFtpEntry, and the reply the service gives.
    QList<QByteArray> aGsmFtpRows;
    int iGsmFtpReply = REPLY_SUCCESS;
    QDateTime dtNow = QDateTime(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    QList<CLogLine> aLines;

    CFakeFileSource() { general.setField(71, QStringLiteral("UTC0")); }

    void log(const CLogLine &line) override { aLines.append(line); }
    QDateTime nowUtc() const override { return dtNow; }
    bool hasLogbook() const override { return true; }
    QByteArray logbookRow(const CLogbookFilter &filter) override { return firstFrom(aRows, filter); }
    QByteArray trackingRow(const CLogbookFilter &filter) override { return firstFrom(aTrackingRows, filter); }
    bool readGsmSettings(CSetGsm &settings) override
    {
        if (!bGsmReadable)
            return false;
        settings.fromByteArray(gsm.toByteArray());
        return true;
    }
    int writeGsmSettings(CSetGsm &settings) override
    {
        ++iWrites;
        if (iWritesBeforeRefusal >= 0 && iWrites > iWritesBeforeRefusal)
            return -1003;
        gsm.fromByteArray(settings.toByteArray());
        return iWriteReply;
    }
    const CSetGeneralNonWM &generalSetup() const override { return general; }
    bool generalSetupAnswers() override { return bGeneralAnswers; }
    bool hasSetup() const override { return true; }
    bool readGeneralWM(CSetGeneralWM &setup) override
    {
        if (bGeneralWMReadable)
            setup.fromByteArray(generalWM.toByteArray());
        return bGeneralWMReadable;
    }
    bool readMeter(int iIndex, CSetMeterWM &meter) override
    {
        if (iIndex >= aMeters.size())
            return false;
        meter.fromByteArray(aMeters[iIndex].toByteArray());
        return true;
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
        if (bSealReadable)
            state.fromByteArray(seal.toByteArray());
        return bSealReadable;
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

    bool logged(const QString &sText) const
    {
        for (const CLogLine &line : aLines) {
            if (line.sText == sText)
                return true;
        }
        return false;
    }

private:
    // Through the bytes, as the bus would carry the record.
    template<typename TRecord>
    static bool copyOf(std::optional<TRecord> &from, TRecord &to)
    {
        if (!from)
            return false;
        to.fromByteArray(from->toByteArray());
        return true;
    }

    // The service's rule: the first row at or after the start ID whose time
    // is not before the start time (year 1 meaning no limit).
    static QByteArray firstFrom(const QList<QByteArray> &aFrom, const CLogbookFilter &filter)
    {
        for (const QByteArray &baRow : aFrom) {
            if (qint64(LogRow::RowID(baRow)) < filter.ullStartRowID())
                continue;
            if (filter.dtStart().date().year() > 1 && LogRow::DateTime(baRow) < filter.dtStart())
                continue;
            return baRow;
        }
        return {};
    }
};
