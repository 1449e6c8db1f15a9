// Every record the daemon reads from other processes, fed with foreign bytes.
// The first byte picks the record; the rest is what the service sent.
#include "records/crecordregistry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    static const QStringList asNames = recordNames();
    if (uSize < 1)
        return 0;
    const QString &sName = asNames.at(pData[0] % asNames.size());
    const QByteArray baBytes(reinterpret_cast<const char *>(pData + 1), qsizetype(uSize - 1));
    std::unique_ptr<CRecord> pRecord = makeRecord(sName);
    if (pRecord->fromByteArray(baBytes)) {
        // What was read must write and read back without trouble.
        std::unique_ptr<CRecord> pAgain = makeRecord(sName);
        pAgain->fromByteArray(pRecord->toByteArray());
    }
    return 0;
}
