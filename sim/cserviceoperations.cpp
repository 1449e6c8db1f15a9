#include "sim/cserviceoperations.h"

namespace {

CServiceOperation single(EServiceObject eObject, const char *pszName, const char *pszClass)
{
    return {eObject, QString::fromLatin1(pszName), QString::fromLatin1(pszClass), EIndexKind::None, QString()};
}

CServiceOperation indexed(EServiceObject eObject, const char *pszName, const char *pszClass,
                          const char *pszIndexArg = "iIndex")
{
    return {eObject, QString::fromLatin1(pszName), QString::fromLatin1(pszClass), EIndexKind::Index,
            QString::fromLatin1(pszIndexArg)};
}

QString argXml(const char *pszName, const char *pszType, const char *pszDirection)
{
    return QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"%3\"/>\n")
        .arg(QLatin1String(pszName), QLatin1String(pszType), QLatin1String(pszDirection));
}

// Gets of filtered records carry the filter instead; their set and signal
// still name the record by its index.
QString indexArgXml(const CServiceOperation &op, bool bOnGet, const char *pszDirection)
{
    const bool bIndexed = bOnGet ? op.eIndex == EIndexKind::Index : op.hasIndex();
    return bIndexed ? argXml(op.sIndexArg.toLatin1().constData(), "i", pszDirection) : QString();
}

QString operationXml(const CServiceOperation &op)
{
    QString sXml;
    sXml += QStringLiteral("    <method name=\"%1\">\n").arg(op.getMethod());
    if (op.eIndex == EIndexKind::Filter)
        sXml += argXml("aFilter", "ay", "in");
    sXml += indexArgXml(op, true, "in");
    sXml += argXml("data", "ay", "out");
    sXml += QStringLiteral("    </method>\n    <method name=\"%1\">\n").arg(op.setMethod());
    sXml += argXml("iProcess", "i", "in");
    sXml += indexArgXml(op, false, "in");
    sXml += argXml("data", "ay", "in");
    sXml += argXml("iResult", "i", "out");
    sXml += QStringLiteral("    </method>\n    <signal name=\"%1\">\n").arg(op.changeSignal());
    sXml += argXml("iProcess", "i", "out");
    sXml += indexArgXml(op, false, "out");
    sXml += QStringLiteral("    </signal>\n");
    return sXml;
}

} // namespace

QString CServiceOperation::prefix() const
{
    return eObject == EServiceObject::Setup ? QStringLiteral("Setup") : QStringLiteral("Runtime");
}

QString serviceObjectPath(EServiceObject eObject)
{
    switch (eObject) {
    case EServiceObject::Setup: return QStringLiteral("/SetupData");
    case EServiceObject::Runtime: return QStringLiteral("/RuntimeData");
    case EServiceObject::RuntimeWM: return QStringLiteral("/RuntimeData_WM");
    case EServiceObject::Logbook: return QStringLiteral("/Logbook");
    }
    return QString();
}

QString serviceInterface(EServiceObject eObject)
{
    switch (eObject) {
    case EServiceObject::Setup: return QStringLiteral("com.Velkor.Tankora.Setup");
    case EServiceObject::Runtime: return QStringLiteral("com.Velkor.Tankora.Runtime");
    case EServiceObject::RuntimeWM: return QStringLiteral("com.Velkor.Tankora_WM.Runtime_WM");
    case EServiceObject::Logbook: return QStringLiteral("com.Velkor.Tankora.Logbook");
    }
    return QString();
}

QString serviceBusName(EServiceObject eObject)
{
    return eObject == EServiceObject::RuntimeWM ? QStringLiteral("com.Velkor.Tankora_WM")
                                                : QStringLiteral("com.Velkor.Tankora");
}

const QList<CServiceOperation> &serviceOperations()
{
    using E = EServiceObject;
    static const QList<CServiceOperation> aOperations = {
        single(E::Setup, "GsmGprs", "CSetGsmGprs"),
        single(E::Setup, "Gsm", "CSetGsm"),
        single(E::Setup, "GsmGprsFtpData", "CSetGsmGprsFtpData"),
        single(E::Setup, "GsmGprsFtpService", "CSetGsmGprsFtpService"),
        single(E::Setup, "GsmGprsFtpUpdate", "CSetGsmGprsFtpUpdate"),
        single(E::Setup, "FtpSwUpdate", "CSetFtpSwUpdate"),
        single(E::Setup, "GpsTracking", "CSetGpsTracking"),
        single(E::Setup, "LTServer", "CSetLTServer"),
        single(E::Setup, "GeneralNonWM", "CSetGeneralNonWM"),
        single(E::Setup, "GeneralWM", "CSetGeneralWM"),
        indexed(E::Setup, "MeterWM", "CSetMeterWM"),
        {E::Setup, QStringLiteral("ProductWM"), QStringLiteral("CSetProductWM"), EIndexKind::Filter,
         QStringLiteral("iIndex")},
        indexed(E::Setup, "Can", "CSetCan", "iCanInterfaceIndex"),
        indexed(E::Setup, "CompartmentSensorNonWM", "CSetCompartmentSensorNonWM"),
        single(E::Setup, "GeoFencing", "CSetGeoFencing"),
        single(E::Setup, "GlobalSensorNonWM", "CSetGlobalSensorNonWM"),
        single(E::Runtime, "Gsm", "CRunGsm"),
        single(E::Runtime, "GsmGprs", "CRunGsmGprs"),
        single(E::Runtime, "FtpTransferStatus", "CRunFtpTransferStatus"),
        single(E::Runtime, "TriggerFtpTransfer", "CRunTriggerFtpTransfer"),
        single(E::Runtime, "Vpn", "CRunVpn"),
        single(E::Runtime, "GeneralWM", "CRunGeneralWM"),
        single(E::Runtime, "GeneralNonWM", "CRunGeneralNonWM"),
        indexed(E::Runtime, "Can", "CRunCan"),
        indexed(E::Runtime, "CompNonWM", "CRunCompNonWM"),
        indexed(E::Runtime, "CompSensorNonWM", "CRunCompSensorNonWM"),
        single(E::Runtime, "GeoFencing", "CRunGeoFencing"),
        single(E::Runtime, "Truck", "CRunTruck"),
        single(E::Runtime, "TruckSensorNonWM", "CRunTruckSensorNonWM"),
        single(E::RuntimeWM, "SealStateLGMWM", "CRunSealStateLGMWM"),
        single(E::RuntimeWM, "ProcessWM", "CRunProcessWM"),
    };
    return aOperations;
}

const CServiceOperation *findOperationByMethod(EServiceObject eObject, const QString &sMethod, bool *pbIsGet)
{
    for (const CServiceOperation &op : serviceOperations()) {
        if (op.eObject != eObject)
            continue;
        if (op.getMethod() == sMethod || op.setMethod() == sMethod) {
            if (pbIsGet)
                *pbIsGet = op.getMethod() == sMethod;
            return &op;
        }
    }
    return nullptr;
}

const CServiceOperation *findOperationByRecord(const QString &sRecordClass)
{
    for (const CServiceOperation &op : serviceOperations()) {
        if (op.sRecordClass == sRecordClass)
            return &op;
    }
    return nullptr;
}

QString introspectionXml(EServiceObject eObject)
{
    QString sXml = QStringLiteral("  <interface name=\"%1\">\n").arg(serviceInterface(eObject));
    for (const CServiceOperation &op : serviceOperations()) {
        if (op.eObject == eObject)
            sXml += operationXml(op);
    }
    return sXml + QStringLiteral("  </interface>\n");
}
