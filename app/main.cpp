#include "app/csignalpath.h"
#include "app/csystemdnotify.h"
#include "controller/cdata.h"
#include "log/cdiaglog.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    qInstallMessageHandler(diagLogMessageHandler);
    qWarning("'ftp_data' started");

    QCoreApplication app(argc, argv);

    // Until the bus is connected, SIGINT and SIGTERM end the daemon through
    // a path of their own and SIGHUP is only logged there; the handler
    // itself only writes the number.
    const CSignalPath *pEarlyPath = new CSignalPath(&app);
    QObject::connect(pEarlyPath, &CSignalPath::sigSignal, &app, [](int iSignal) {
        bool bExit = false;
        const QString sText = earlySignalText(iSignal, &bExit);
        if (!sText.isEmpty())
            qWarning("%s", qPrintable(sText));
        if (bExit)
            QCoreApplication::exit(0);
    });
    if (signal(SIGINT, writeSignalToSocket) == SIG_ERR || signal(SIGTERM, writeSignalToSocket) == SIG_ERR ||
        signal(SIGHUP, writeSignalToSocket) == SIG_ERR)
        qFatal("ERR - %s(%d): An error occurred while setting a signal handler.\n", "main", __LINE__);

    // Before the controller, whose commands must not inherit the unit's socket.
    CSystemdNotify *pNotify = new CSystemdNotify(&app);
    CData *pData = new CData(&app);
    pNotify->start();
    const int iExitCode = QCoreApplication::exec();
    pNotify->stopping();
    delete pData;
    return iExitCode;
}
