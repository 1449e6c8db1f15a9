#pragma once

#include <QByteArray>
#include <QString>

// The daemon as the process supervisor and the version map know it.
QString daemonVersionText();
QByteArray busShortName();
QString versionMapName();

// A text in double quotes, as the log shows names and values.
QString quotedText(const QString &sText);

QString processStartText(const QString &sVersion);

// The LT client is restarted at every process start; it talks on the system
// bus, so its start exports that bus first.
QString ltClientStopCommand();
QString ltClientStartCommand(const QString &sClientPath);

// "\"/var/log/log_tx\" created." or "Failed to create /var/log/log_tx".
QString directoryCreationText(const QString &sPath, bool bCreated);
