#pragma once

#include <QString>

// The DEBUG_MESSAGES group of the settings file.
struct CLogSettings
{
    int iDisplayMessage = 0;
    int iDisplayLevel = 1;
    int iLogMessage = 1;
    int iLogLevel = 1;
    qint64 llLogfileSize = 1048576;
    int iLogfileRedundancy = 1;
    QString sLogfileName;
    int iUseSysLog = 0;
};

// "/var/log/Tankora/" + the settings file's name up to and including the
// "." before "ini" + "log": ftp_d.ini gives /var/log/Tankora/ftp_d.log.
QString defaultLogfileName(const QString &sSettingsPath);

// Reads the group with its defaults and writes every missing key back, so a
// first start fills the file.
CLogSettings readLogSettings(const QString &sSettingsPath);
