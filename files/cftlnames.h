#pragma once

#include <QDateTime>
#include <QString>

// Names of the files of the FTL directory and the time offset of one run.

// The FTL directory, under the sandbox root when one is set.
QString ftlDirectory();

// "%04d%02d%02d%02d%02d%02d" of the date-time's own fields, no zone conversion.
QString ftlFileStamp(const QDateTime &dtFileTime);

// ftlDirectory() + "/" + prefix + tag + stamp + ".ftl".
QString ftlFilePath(const QString &sPrefix, const QString &sTag, const QDateTime &dtFileTime);

// Tag of event and level files: "l" for the automatic run, "m" for a manual one.
QString ftlRunTag(bool bManual);

// Tag of the meter files of level-volume selectors 2, 3, 4: "1d", "2d", "3d"
// in the automatic run, "1m", "2m", "3m" in a manual one; empty otherwise.
QString ftlMeterTag(int iSelector, bool bManual);

// The offset every entry's UTC stamp is moved by: local now minus now in
// seconds, rounded to whole hundreds (half away from zero). Both are read
// as wall clocks, so the zone a QDateTime carries does not matter.
qint32 ftlTimeOffsetSecs(const QDateTime &dtNowUtc, const QDateTime &dtLocalNow);
