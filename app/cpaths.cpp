#include "app/cpaths.h"

#include <QtGlobal>

QString rootedPath(const QString &sVehiclePath)
{
    const QString sRoot = qEnvironmentVariable("FTP_DATA_ROOT");
    if (sRoot.isEmpty() || !sVehiclePath.startsWith(QLatin1Char('/')))
        return sVehiclePath;
    // A path that was already placed under the root stays as it is.
    if (sVehiclePath == sRoot || sVehiclePath.startsWith(sRoot + QLatin1Char('/')))
        return sVehiclePath;
    QString sBase = sRoot;
    while (sBase.endsWith(QLatin1Char('/')))
        sBase.chop(1);
    return sBase + sVehiclePath;
}

QString dnsTestHost(const QString &sVehicleHost)
{
    const QString sHost = qEnvironmentVariable("FTP_DATA_DNS_HOST");
    return sHost.isEmpty() ? sVehicleHost : sHost;
}

QString settingsFilePath()
{
    return rootedPath(QStringLiteral("/etc/Tankora/ftp_d.ini"));
}
