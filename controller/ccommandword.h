#pragma once

#include <QString>

// A value placed into a shell command line. Plain values (letters, digits,
// . _ - + , / : @ % = and a # after the first character) go in as they are,
// so the vehicle's usual command lines keep their familiar text; anything
// else is single-quoted so the shell hands it on unchanged and never runs a
// part of it. Empty stays empty.
QString commandWord(const QString &sValue);

// The same for a value that passes through two shells, as the dial-up
// assignments do (system()'s shell, then the "/bin/sh -c" of the command).
QString commandWordTwice(const QString &sValue);

// The longest front part of the value whose UTF-8 form has at most
// iMaxBytes bytes, never splitting a character.
QString cutToUtf8Bytes(const QString &sValue, int iMaxBytes);
