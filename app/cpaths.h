#pragma once

#include <QString>

// Every absolute path of the vehicle passes through here, so that a whole
// daemon can run inside a sandbox directory named by $FTP_DATA_ROOT.
// Unset, the paths are the vehicle's own.
QString rootedPath(const QString &sVehiclePath);

// Name of the host used for the name-resolution check ($FTP_DATA_DNS_HOST
// replaces the vehicle's fixed public host where there is no DNS).
QString dnsTestHost(const QString &sVehicleHost);

// The settings file of the daemon.
QString settingsFilePath();
