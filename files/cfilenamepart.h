#pragma once

#include <QString>

// A text from a vehicle record (a unit's serial) made safe to stand inside a
// file name: no directory separator, no "..", no control character, so the
// file stays in the directory it is meant for whatever the record holds.
QString fileNamePart(const QString &sFromRecord);
