#pragma once

#include <QString>

class CRunGsm;

// The module whose own authentication command the dial-up uses.
bool isTelitModule(const QString &sModuleName);

// The GSM module is ready for a data link when it reports state 4.
bool isGsmModuleReady(const CRunGsm &oRunGsm);

// Logged at debug level when the module is not ready.
QString gsmModuleNotReadyText();

// Logged when the module's name is read: GPRS module Name =  "Telit"
QString moduleNameText(const QString &sModuleName);
