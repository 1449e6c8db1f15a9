#include "bus/handshaketexts.h"
#include "log/cmodulelog.h"

QString daemonVersionText()
{
    return QStringLiteral("1.2.29 / ") + QStringLiteral("tk-release-1.14.2-0-g3786225");
}

QByteArray busShortName()
{
    return QByteArrayLiteral("FTP1");
}

QString versionMapName()
{
    return QStringLiteral("FTP_Data");
}

QString quotedText(const QString &sText)
{
    return QLatin1Char('"') + sText + QLatin1Char('"');
}

QString processStartText(const QString &sVersion)
{
    return streamItems(
        {QStringLiteral("signal 'onsigProcessStart' received. Set SW-Version to "), quotedText(sVersion)});
}

QString ltClientStopCommand()
{
    return QStringLiteral("killall lt_client");
}

QString ltClientStartCommand(const QString &sClientPath)
{
    return QStringLiteral("export DBUS_SESSION_BUS_ADDRESS=\"unix:path=/var/run/dbus/system_bus_socket\" \n ") +
           sClientPath + QStringLiteral(" &");
}

QString directoryCreationText(const QString &sPath, bool bCreated)
{
    return bCreated ? streamItems({quotedText(sPath), QStringLiteral(" created.")})
                    : streamItems({QStringLiteral("Failed to create "), sPath});
}
