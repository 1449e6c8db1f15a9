// The settings file as an integrator might leave it on the vehicle.
#include "log/clogsettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    static QTemporaryDir dir;
    const QString sPath = dir.path() + QStringLiteral("/ftp_d.ini");
    QFile file(sPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(pData), qint64(uSize));
    file.close();
    readLogSettings(sPath);
    return 0;
}
