#pragma once

#include <QList>
#include <QString>

// The bus objects of the vehicle's database service.
enum class EServiceObject { Setup, Runtime, RuntimeWM, Logbook };

// How a get call names the record it wants.
enum class EIndexKind {
    None,   // one record: getX() → ay
    Index,  // one of several: getX(int iIndex) → ay
    Filter  // by a filter record: getX(ay aFilter) → ay; set and signal by index
};

// One record the service keeps, with the get/set pair and the change signal
// built from its name: getSetupGsmGprs, setSetupGsmGprs, sigSetupGsmGprs.
struct CServiceOperation
{
    EServiceObject eObject;
    QString sName;        // "GsmGprs"
    QString sRecordClass; // "CSetGsmGprs"
    EIndexKind eIndex;
    QString sIndexArg; // argument name of the index, e.g. "iIndex"

    QString prefix() const; // "Setup" or "Runtime"
    // Sets and change signals of several records carry the index after iProcess.
    bool hasIndex() const { return eIndex != EIndexKind::None; }
    QString getMethod() const { return QLatin1String("get") + prefix() + sName; }
    QString setMethod() const { return QLatin1String("set") + prefix() + sName; }
    QString changeSignal() const { return QLatin1String("sig") + prefix() + sName; }
};

QString serviceObjectPath(EServiceObject eObject);
QString serviceInterface(EServiceObject eObject);
// Bus name that owns the object.
QString serviceBusName(EServiceObject eObject);

const QList<CServiceOperation> &serviceOperations();
// The operation behind a get or set method of an object; null when none.
const CServiceOperation *findOperationByMethod(EServiceObject eObject, const QString &sMethod, bool *pbIsGet);
const CServiceOperation *findOperationByRecord(const QString &sRecordClass);

// Introspection text of one record object, so that bus tools and generated
// proxies see the same operations the service answers.
QString introspectionXml(EServiceObject eObject);
