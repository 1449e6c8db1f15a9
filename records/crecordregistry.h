#pragma once

#include "records/crecord.h"

#include <QStringList>

#include <memory>

// Every record class by its class name, for the stand-in vehicle's tools
// and for checks that must cover all records at once.
QStringList recordNames();
// Null for a name that is not a record.
std::unique_ptr<CRecord> makeRecord(const QString &sName);
