#include "controller/cgsmmodule.h"

#include "log/cmodulelog.h"
#include "records/ccommrecords.h"

namespace {
const qint32 iModuleReadyState = 4;
}

bool isTelitModule(const QString &sModuleName)
{
    return sModuleName == QLatin1String("Telit");
}

bool isGsmModuleReady(const CRunGsm &oRunGsm)
{
    return oRunGsm.moduleState() == iModuleReadyState;
}

QString gsmModuleNotReadyText()
{
    return QStringLiteral("GSM-Module is not ready!");
}

QString moduleNameText(const QString &sModuleName)
{
    return streamItems({QStringLiteral("GPRS module Name = "), QLatin1Char('"') + sModuleName + QLatin1Char('"')});
}
