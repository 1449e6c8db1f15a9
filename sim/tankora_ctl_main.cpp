// Command-line control of the stand-in vehicle: what the operator, the GSM
// module and the dial-up and FTP scripts publish through the service.

#include "sim/cctlcommand.h"
#include "sim/cctlrunner.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

namespace {

// One command per line of stdin over one connection, until stdin ends: a
// script that reports many times a second (the FTP client, sped up) pays
// no process start per report, and its reports keep their order.
int serve(CCtlRunner &runner, QTextStream &out, QTextStream &err)
{
    QTextStream in(stdin);
    QString sLine;
    int iWorst = 0;
    while (in.readLineInto(&sLine)) {
        CCtlCommand command;
        QString sError;
        const int iResult = parseCtlCommand(sLine.split(QLatin1Char(' '), Qt::SkipEmptyParts), &command, &sError)
                                ? runner.run(command)
                                : (err << "tankora-ctl: " << sError << Qt::endl, 1);
        iWorst = qMax(iWorst, iResult);
        out.flush();
    }
    return iWorst;
}

} // namespace

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
    const bool bServe = asWords == QStringList{QStringLiteral("--serve")};
    CCtlCommand command;
    QString sError;
    if (!bServe && !parseCtlCommand(asWords, &command, &sError)) {
        err << "tankora-ctl: " << sError << "\n" << ctlUsage();
        return 1;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        err << "tankora-ctl: no session bus: " << bus.lastError().message() << Qt::endl;
        return 1;
    }
    CCtlRunner runner(bus, out, err);
    return bServe ? serve(runner, out, err) : runner.run(command);
}
