#pragma once

#include <QString>

class CVehicleService;

// Reads, parses and stores a vehicle profile file; false with the reason.
bool loadProfileFile(CVehicleService &service, const QString &sPath, QString *psError);
