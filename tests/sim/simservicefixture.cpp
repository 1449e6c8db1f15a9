#include "simservicefixture.h"

#include <QDBusConnectionInterface>
#include <QTest>

CSimServiceFixture::~CSimServiceFixture()
{
    stop();
}

bool CSimServiceFixture::start(const QStringList &asArguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(TANKORA_SERVICE_BIN), asArguments);
    if (!m_process.waitForStarted())
        return false;
    QDBusConnectionInterface *pBus = QDBusConnection::sessionBus().interface();
    return QTest::qWaitFor(
        [&] {
            return m_process.state() == QProcess::Running
                   && pBus->isServiceRegistered(QStringLiteral("com.Velkor.Tankora")).value()
                   && pBus->isServiceRegistered(QStringLiteral("com.Velkor.Tankora_WM")).value();
        },
        10000);
}

void CSimServiceFixture::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished();
}

QDBusMessage CSimServiceFixture::call(const QString &sBusName, const QString &sPath, const QString &sInterface,
                                      const QString &sMethod, const QVariantList &aArguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(sBusName, sPath, sInterface, sMethod);
    message.setArguments(aArguments);
    return QDBusConnection::sessionBus().call(message);
}

QVariant CSimServiceFixture::callValue(const QString &sPath, const QString &sInterface, const QString &sMethod,
                                       const QVariantList &aArguments)
{
    const QString sBusName = sInterface.startsWith(QLatin1String("com.Velkor.Tankora_WM"))
                                 ? QStringLiteral("com.Velkor.Tankora_WM")
                                 : QStringLiteral("com.Velkor.Tankora");
    const QDBusMessage reply = call(sBusName, sPath, sInterface, sMethod, aArguments);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QVariant();
    return reply.arguments().value(0);
}

qlonglong CSimServiceFixture::addRow(const QByteArray &baRow)
{
    return callValue(QStringLiteral("/Sim"), QStringLiteral("com.Velkor.Tankora.Sim"),
                     QStringLiteral("addLogbookRow"), {baRow})
        .toLongLong();
}

int CSimServiceFixture::runCtl(const QStringList &asWords, QByteArray *pbaOut, QByteArray *pbaErr)
{
    QProcess ctl;
    ctl.start(QStringLiteral(TANKORA_CTL_BIN), asWords);
    if (!ctl.waitForFinished(30000))
        return -1;
    if (pbaOut)
        *pbaOut = ctl.readAllStandardOutput();
    if (pbaErr)
        *pbaErr = ctl.readAllStandardError();
    return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
}

bool CSignalCatcher::listen(const QString &sInterface, const QString &sName)
{
    return QDBusConnection::sessionBus().connect(QString(), QString(), sInterface, sName, this,
                                                 SLOT(onSignal(QDBusMessage)));
}

void CSignalCatcher::onSignal(const QDBusMessage &message)
{
    aCaught.append(message.arguments());
}
