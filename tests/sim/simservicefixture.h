#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>

// Runs tankora-service on the test's private bus and talks to it.
class CSimServiceFixture
{
public:
    ~CSimServiceFixture();
    // Starts the service and waits until it owns both bus names.
    bool start(const QStringList &asArguments = {});
    void stop();
    int servicePid() const { return int(m_process.processId()); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    static QDBusMessage call(const QString &sBusName, const QString &sPath, const QString &sInterface,
                             const QString &sMethod, const QVariantList &aArguments);
    // The reply's first value, or an invalid QVariant for an error reply.
    static QVariant callValue(const QString &sPath, const QString &sInterface, const QString &sMethod,
                              const QVariantList &aArguments);
    static qlonglong addRow(const QByteArray &baRow);
    // Runs tankora-ctl to its end; exit code, with what it printed.
    static int runCtl(const QStringList &asWords, QByteArray *pbaOut = nullptr, QByteArray *pbaErr = nullptr);

private:
    QProcess m_process;
};

// Collects one bus signal from any sender, for checks on what the service sends.
class CSignalCatcher : public QObject
{
    Q_OBJECT
public:
    bool listen(const QString &sInterface, const QString &sName);
    QList<QVariantList> aCaught;

public slots:
    void onSignal(const QDBusMessage &message);
};
