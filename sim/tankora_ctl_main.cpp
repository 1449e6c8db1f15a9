// Command-line control of the stand-in vehicle: what the operator, the GSM
// module and the dial-up and FTP scripts publish through the service.

#include "sim/cctlcommand.h"
#include "sim/cctlrunner.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>


int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList asWords = app.arguments().mid(1);
    if (asWords.isEmpty() || asWords.first() == QLatin1String("--help")) {
        (asWords.isEmpty() ? err : out) << ctlUsage();
        return asWords.isEmpty() ? 1 : 0;
    }
    CCtlCommand command;
    QString sError;
    if (!parseCtlCommand(asWords, &command, &sError)) {
        err << "tankora-ctl: " << sError << "\n" << ctlUsage();
        return 1;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        err << "tankora-ctl: no session bus: " << bus.lastError().message() << Qt::endl;
        return 1;
    }
    CCtlRunner runner(bus, out, err);
    return runner.run(command);
}
