// Logbook rows as the service hands them over, through every conversion.
#include "logbook/clogfactory.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    const QByteArray baRow(reinterpret_cast<const char *>(pData), qsizetype(uSize));
    std::unique_ptr<CLogBase> pEntry = makeLogEntry(baRow);
    for (qint32 iSelector = 0; iSelector <= 5; ++iSelector)
        ftlLinesOf(*pEntry, 3600, iSelector);
    pEntry->toRow();
    return 0;
}
