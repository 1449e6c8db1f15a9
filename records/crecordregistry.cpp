#include "records/crecordregistry.h"

#include "records/ccommrecords.h"
#include "records/cvehiclerecords.h"
#include "records/cwmrecords.h"

#include <functional>

namespace {

using CMaker = std::function<std::unique_ptr<CRecord>()>;

template <typename T>
std::pair<QString, CMaker> entry(const char *pszName)
{
    return {QString::fromLatin1(pszName), [] { return std::unique_ptr<CRecord>(new T); }};
}

const QList<std::pair<QString, CMaker>> &registry()
{
    static const QList<std::pair<QString, CMaker>> aEntries = {
        entry<CSetGsmGprs>("CSetGsmGprs"),
        entry<CRunGsm>("CRunGsm"),
        entry<CRunGsmGprs>("CRunGsmGprs"),
        entry<CRunFtpTransferStatus>("CRunFtpTransferStatus"),
        entry<CRunTriggerFtpTransfer>("CRunTriggerFtpTransfer"),
        entry<CSetGsmGprsFtpData>("CSetGsmGprsFtpData"),
        entry<CSetGsmGprsFtpService>("CSetGsmGprsFtpService"),
        entry<CSetGsmGprsFtpUpdate>("CSetGsmGprsFtpUpdate"),
        entry<CSetFtpSwUpdate>("CSetFtpSwUpdate"),
        entry<CSetGpsTracking>("CSetGpsTracking"),
        entry<CSetLTServer>("CSetLTServer"),
        entry<CRunVpn>("CRunVpn"),
        entry<CSetGsm>("CSetGsm"),
        entry<CLogbookFilter>("CLogbookFilter"),
        entry<CSetCan>("CSetCan"),
        entry<CSetCompartmentSensorNonWM>("CSetCompartmentSensorNonWM"),
        entry<CSetGeneralNonWM>("CSetGeneralNonWM"),
        entry<CSetGeneralWM>("CSetGeneralWM"),
        entry<CSetGlobalSensorNonWM>("CSetGlobalSensorNonWM"),
        entry<CSetGeoFencing>("CSetGeoFencing"),
        entry<CRunCan>("CRunCan"),
        entry<CRunCompNonWM>("CRunCompNonWM"),
        entry<CRunCompSensorNonWM>("CRunCompSensorNonWM"),
        entry<CRunGeneralNonWM>("CRunGeneralNonWM"),
        entry<CRunGeneralWM>("CRunGeneralWM"),
        entry<CRunGeoFencing>("CRunGeoFencing"),
        entry<CRunTruck>("CRunTruck"),
        entry<CRunTruckSensorNonWM>("CRunTruckSensorNonWM"),
        entry<CSetMeterWM>("CSetMeterWM"),
        entry<CSetProductWM>("CSetProductWM"),
        entry<CRunProcessWM>("CRunProcessWM"),
        entry<OrderRecord>("OrderRecord"),
        entry<ProductRecord>("ProductRecord"),
        entry<CRunSealStateLGMWM>("CRunSealStateLGMWM"),
    };
    return aEntries;
}

} // namespace

QStringList recordNames()
{
    QStringList asNames;
    for (const auto &e : registry())
        asNames.append(e.first);
    return asNames;
}

std::unique_ptr<CRecord> makeRecord(const QString &sName)
{
    for (const auto &e : registry()) {
        if (e.first == sName)
            return e.second();
    }
    return nullptr;
}
