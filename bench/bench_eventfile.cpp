// What one logbook row costs in an automatic event-file run, beyond the
// pause the service is given between rows (faked out here), file writes
// and their flush to disk included.
#include "files/ceventfilerun.h"
#include "logbook/clogcop.h"
#include "tests/support/cfakeclock.h"
#include "tests/support/cfakefilesource.h"

#include <QDir>
#include <QTemporaryDir>

#include "bench/cquietmain.h"

static void eventFilePerRow(benchmark::State &state)
{
    QTemporaryDir root;
    qputenv("FTP_DATA_ROOT", root.path().toLocal8Bit());
    QDir().mkpath(root.path() + QStringLiteral("/var/log/FTL"));
    CFakeClock clock;
    CFakeFileSource source;
    const int iRows = int(state.range(0));
    for (int i = 0; i < iRows; ++i) {
        CLogCOP entry;
        entry.LogSubType = 6017;
        entry.DateTime = QDateTime(QDate(2024, 1, 5), QTime(8, 0), Qt::UTC).addSecs(i);
        source.addRow(entry);
    }
    for (auto _ : state) {
        source.gsm.setNextLogbookRowID(0);
        CEventFileRun(source).GetAutoLogbookData(false);
    }
    state.SetItemsProcessed(state.iterations() * iRows);
}
BENCHMARK(eventFilePerRow)->Arg(100)->Unit(benchmark::kMillisecond);

FTP_BENCHMARK_MAIN()
