#pragma once

#include <QString>

// Result of every set call of the database service; only this one is success.
constexpr int REPLY_SUCCESS = 1;

// The code's name for log lines; an unknown code as its decimal text.
QString replyCodeName(int iResult);
