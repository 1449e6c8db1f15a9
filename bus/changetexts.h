#pragma once

#include <QString>

class CSetFtpSwUpdate;

// "true" or "false", as the change lines show switches.
QString flagText(bool bFlag);

// "Auto. Sw update parameter:  Remote true Month 0 Day 0 Weekday 1 Hour 3 Minute 30"
QString swUpdateParameterText(const CSetFtpSwUpdate &setup);
