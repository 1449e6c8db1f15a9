// The stand-in database service of the vehicle: owns the service's bus
// names, keeps records and logbook rows, and supervises the processes.

#include "sim/clogbookobject.h"
#include "sim/cprofilefile.h"
#include "sim/crecordobject.h"
#include "sim/csimobject.h"
#include "sim/csupervisor.h"
#include "sim/cvehicleservice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusConnectionInterface>
#include <QDebug>

namespace {

bool registerRecordObject(QDBusConnection &bus, EServiceObject eObject, CVehicleService *pService)
{
    return bus.registerVirtualObject(serviceObjectPath(eObject), new CRecordObject(eObject, pService, pService));
}

bool registerObjects(QDBusConnection &bus, CVehicleService *pService, CSupervisor *pSupervisor)
{
    const auto eExport = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals;
    return registerRecordObject(bus, EServiceObject::Setup, pService)
           && registerRecordObject(bus, EServiceObject::Runtime, pService)
           && registerRecordObject(bus, EServiceObject::RuntimeWM, pService)
           && bus.registerObject(serviceObjectPath(EServiceObject::Logbook), new CLogbookObject(pService, pService),
                                 eExport)
           && bus.registerObject(QStringLiteral("/Sim"), new CSimObject(pService, pSupervisor, pService), eExport);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tankora-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in database service of the vehicle"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("db"), QStringLiteral("SQLite file, or :memory: (default)."),
                      QStringLiteral("path"), QStringLiteral(":memory:")});
    parser.addOption({QStringLiteral("profile"), QStringLiteral("Vehicle profile (JSON) to start with."),
                      QStringLiteral("file")});
    parser.process(app);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCritical() << "tankora-service: no session bus:" << bus.lastError().message();
        return 1;
    }
    auto *pService = new CVehicleService(bus, &app);
    QString sError;
    if (!pService->open(parser.value(QStringLiteral("db")), &sError)) {
        qCritical().noquote() << "tankora-service: cannot open the database:" << sError;
        return 1;
    }
    if (parser.isSet(QStringLiteral("profile"))
        && !loadProfileFile(*pService, parser.value(QStringLiteral("profile")), &sError)) {
        qCritical().noquote() << "tankora-service: profile refused:" << sError;
        return 1;
    }
    const int iPid = int(QCoreApplication::applicationPid());
    auto *pSupervisor = new CSupervisor(pService, iPid, &app);
    if (!registerObjects(bus, pService, pSupervisor) || !pSupervisor->connectBus(bus)) {
        qCritical() << "tankora-service: cannot export its objects:" << bus.lastError().message();
        return 1;
    }
    // The names last: whoever sees them can call at once.
    for (const char *pszName : {"com.Velkor.Tankora_WM", "com.Velkor.Tankora"}) {
        if (!bus.registerService(QLatin1String(pszName))) {
            qCritical() << "tankora-service: bus name" << pszName << "taken:" << bus.lastError().message();
            return 1;
        }
    }
    qInfo().noquote() << "tankora-service ready, pid" << iPid;
    return app.exec();
}
