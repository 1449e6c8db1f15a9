// What decoding and encoding one record costs, per record kind, and what an
// entry's conversion into FTL lines costs, per entry type.
#include "logbook/clogcop.h"
#include "logbook/clogfactory.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogspd.h"
#include "logbook/clogtypes.h"
#include "records/crecordregistry.h"

#include "bench/cquietmain.h"

namespace {

QByteArray sampleBytes(const QString &sName)
{
    std::unique_ptr<CRecord> pRecord = makeRecord(sName);
    pRecord->setAllFlags(true);
    return pRecord->toByteArray();
}

void decodeRecord(benchmark::State &state, const QString &sName)
{
    const QByteArray baBytes = sampleBytes(sName);
    std::unique_ptr<CRecord> pRecord = makeRecord(sName);
    for (auto _ : state)
        benchmark::DoNotOptimize(pRecord->fromByteArray(baBytes));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * baBytes.size());
}

void encodeRecord(benchmark::State &state, const QString &sName)
{
    std::unique_ptr<CRecord> pRecord = makeRecord(sName);
    for (auto _ : state)
        benchmark::DoNotOptimize(pRecord->toByteArray());
    state.SetItemsProcessed(state.iterations());
}

void convertEntry(benchmark::State &state, qint32 iType, qint32 iSubType)
{
    CLogBase header(iType);
    header.LogSubType = iSubType;
    header.DateTime = QDateTime(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    header.Compartment = 2;
    const QByteArray baRow = makeLogEntry(header.toRow())->toRow();
    for (auto _ : state) {
        std::unique_ptr<CLogBase> pEntry = makeLogEntry(baRow);
        benchmark::DoNotOptimize(ftlLinesOf(*pEntry, 3600));
    }
    state.SetItemsProcessed(state.iterations());
}

int registerAll()
{
    for (const QString &sName : recordNames()) {
        benchmark::RegisterBenchmark(("decode/" + sName).toStdString().c_str(),
                                     [sName](benchmark::State &state) { decodeRecord(state, sName); });
        benchmark::RegisterBenchmark(("encode/" + sName).toStdString().c_str(),
                                     [sName](benchmark::State &state) { encodeRecord(state, sName); });
    }
    const QList<QPair<qint32, qint32>> aEntries = {{LOG_COP, 6017},     {LOG_DISCHARGE, 5001}, {LOG_GPS, 11000},
                                                   {LOG_LEVEL_VOLUME, 0}, {LOG_LOADING, 8001},   {LOG_SEAL, 0},
                                                   {LOG_SPD, 6203},     {LOG_OPMM, 0},         {LOG_SMP, 14006},
                                                   {LOG_FPM, 0}};
    for (const auto &entry : aEntries) {
        benchmark::RegisterBenchmark(("convert/" + logTypeName(entry.first)).toStdString().c_str(),
                                     [entry](benchmark::State &state) { convertEntry(state, entry.first, entry.second); });
    }
    return 0;
}

const int iRegistered = registerAll();

} // namespace

FTP_BENCHMARK_MAIN()
