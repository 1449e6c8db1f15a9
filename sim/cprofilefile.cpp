#include "sim/cprofilefile.h"

#include "sim/cvehicleprofile.h"
#include "sim/cvehicleservice.h"

#include <QFile>

bool loadProfileFile(CVehicleService &service, const QString &sPath, QString *psError)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *psError = QStringLiteral("%1: %2").arg(sPath, file.errorString());
        return false;
    }
    CVehicleProfile profile;
    QString sReason;
    if (!parseVehicleProfile(file.readAll(), &profile, &sReason) || !service.loadProfile(profile, &sReason)) {
        *psError = QStringLiteral("%1: %2").arg(sPath, sReason);
        return false;
    }
    return true;
}
