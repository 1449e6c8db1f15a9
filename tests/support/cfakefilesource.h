#pragma once

#include "files/cfilesource.h"
#include "logbook/clogbase.h"
#include "records/creplycode.h"
#include "tests/support/ccelltext.h"
#include "tests/support/crecordtext.h"

#include <QList>
#include <QStringList>

#include <functional>
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

    // What a test table says the service holds, ";" between: "NAME.N=text"
    // sets field N of the record NAME (general, wm: general setups, meterK,
    // seal, gsm; nrp, lrp: general runtimes, ppp, dial: GSM/GPRS runtime and
    // setup, vpn, lgm: general setup as read at the info file; naming one of
    // these six makes it answer), "NAME-" makes the general setup, the WM
    // setup, the GSM settings or the seal state unreadable, "runtimeWM" says
    // the vehicle has WM runtimes, "now=" sets the clock.
    bool hold(const QString &sValues)
    {
        // clang-format off
        const QHash<QString, std::function<CRecord *()>> hRecords{
            {"general", [this] { return &general; }}, {"wm", [this] { return &generalWM; }},
            {"seal", [this] { return &seal; }},       {"gsm", [this] { return &gsm; }},
            {"nrp", [this] { return answering(runGeneral); }}, {"lrp", [this] { return answering(runGeneralWM); }},
            {"ppp", [this] { return answering(runGsmGprs); }}, {"dial", [this] { return answering(setGsmGprs); }},
            {"vpn", [this] { return answering(runVpn); }},     {"lgm", [this] { return answering(setGeneral); }}};
        const QHash<QString, bool *> hReadable{
            {"general-", &bGeneralAnswers}, {"wm-", &bGeneralWMReadable}, {"gsm-", &bGsmReadable}, {"seal-", &bSealReadable}};
        // clang-format on
        for (const QString &sValue : sValues.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString sName = sValue.section('.', 0, 0), sField = sValue.section('.', 1);
            bRuntimeWM |= sValue == "runtimeWM";
            if (hReadable.contains(sValue))
                *hReadable[sValue] = false;
            else if (sValue.startsWith("now="))
                dtNow = utcOf(sValue.mid(4));
            else if (sName.startsWith("meter")) {
                aMeters.resize(qMax(aMeters.size(), sName.mid(5).toInt() + 1));
                withFields(aMeters[sName.mid(5).toInt()], sField, ';');
            } else if (hRecords.contains(sName))
                withFields(*hRecords[sName](), sField, ';');
            else if (sValue != "runtimeWM" && sValue != "-")
                return false;
        }
        return true;
    }

    // Rows get increasing row IDs as they are added.
    void addRow(CLogBase &entry)
    {
        entry.RowID = quint64(aRows.size() + 1);
        aRows.append(entry.toRow());
    }

  private:
    template <class TRecord> static CRecord *answering(std::optional<TRecord> &record)
    {
        return &(record ? *record : record.emplace());
    }
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
