#include "records/ccommrecords.h"
#include "records/creplycode.h"
#include "simservicefixture.h"

#include <QtTest>

namespace {

template <typename T>
T runtimeRecord(const char *pszMethod)
{
    T record;
    record.fromByteArray(CSimServiceFixture::callValue(QStringLiteral("/RuntimeData"),
                                                       QStringLiteral("com.Velkor.Tankora.Runtime"),
                                                       QLatin1String(pszMethod), {})
                             .toByteArray());
    return record;
}

QByteArray processName(qint64 llPid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(llPid));
    return comm.open(QIODevice::ReadOnly) ? comm.readAll().trimmed() : QByteArray();
}

QByteArray childrenOf(qint64 llPid)
{
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(llPid));
    return children.open(QIODevice::ReadOnly) ? children.readAll().trimmed() : QByteArray();
}

int setSetup(const char *pszMethod, const CRecord &setup)
{
    CRecord copy = setup;
    return CSimServiceFixture::callValue(QStringLiteral("/SetupData"), QStringLiteral("com.Velkor.Tankora.Setup"),
                                         QLatin1String(pszMethod), {4711, copy.toByteArray()})
        .toInt();
}

} // namespace

class tst_SimStandins : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pppdPublishesTheLink_data();
    void pppdPublishesTheLink();
    void ltClientStaysUntilKilled();
    void ftpClientSendsAndReports_data();
    void ftpClientSendsAndReports();

private:
    QString path(const char *pszRelative) const { return m_root.filePath(QLatin1String(pszRelative)); }
    CSimServiceFixture m_service;
    QTemporaryDir m_root;
    QTemporaryDir m_backOffice;
    QProcess m_ftpServer;
    QString m_sFtpDomain;
};

void tst_SimStandins::initTestCase()
{
    QVERIFY(m_root.isValid());
    QVERIFY(m_service.start());
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TANKORA_CTL"), QStringLiteral(TANKORA_CTL_BIN));
    install.setProcessEnvironment(env);
    install.start(QStringLiteral("/bin/sh"), {QStringLiteral(SIM_SOURCE_DIR "/install-sandbox.sh"), m_root.path()});
    QVERIFY(install.waitForFinished(30000));
    QCOMPARE(install.exitCode(), 0);
    for (const char *pszProgram : {"usr/sbin/pppd", "usr/bin/Tankora/start_ftp_client", "usr/bin/Tankora/lt_client",
                                   "usr/bin/tankora-ctl"})
        QVERIFY2(QFileInfo(path(pszProgram)).isExecutable(), pszProgram);

    // The back office: a local FTP server on a port of its own choosing.
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import pyftpdlib")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return; // the FTP cases skip themselves
    m_ftpServer.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral("-c"),
                       QStringLiteral("import sys\n"
                                      "from pyftpdlib.authorizers import DummyAuthorizer\n"
                                      "from pyftpdlib.handlers import FTPHandler\n"
                                      "from pyftpdlib.servers import FTPServer\n"
                                      "a = DummyAuthorizer(); a.add_user('truck', 'tanker', sys.argv[1], perm='elradfmw')\n"
                                      "FTPHandler.authorizer = a\n"
                                      "s = FTPServer(('127.0.0.1', 0), FTPHandler)\n"
                                      "print(s.address[1], flush=True)\n"
                                      "s.serve_forever()\n"),
                       m_backOffice.path()});
    QVERIFY(m_ftpServer.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_ftpServer.canReadLine(), 20000);
    m_sFtpDomain = QStringLiteral("127.0.0.1:") + QString::fromLatin1(m_ftpServer.readLine().trimmed());
}

void tst_SimStandins::cleanupTestCase()
{
    if (m_ftpServer.state() != QProcess::NotRunning) {
        m_ftpServer.kill();
        m_ftpServer.waitForFinished();
    }
}

void tst_SimStandins::pppdPublishesTheLink_data()
{
    QTest::addColumn<QString>("sApn");
    QTest::addColumn<QString>("sSpeed");
    QTest::newRow("telit module") << "internet.apn" << "57600";
    QTest::newRow("pap prefix") << "PAP:internet" << "460800";
}

void tst_SimStandins::pppdPublishesTheLink()
{
    QFETCH(QString, sApn);
    QFETCH(QString, sSpeed);
    QProcess pppd;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PXLN_GPRS_APN"), sApn);
    env.insert(QStringLiteral("PXLN_GPRS_USER"), QStringLiteral("truck"));
    env.insert(QStringLiteral("PXLN_GPRS_GAUTH"), QStringLiteral("AT#GAUTH=1"));
    env.insert(QStringLiteral("PXLN_GPRS_TIMEOUT"), QStringLiteral("30"));
    pppd.setProcessEnvironment(env);
    QFile::remove(path("var/log/pppd.env"));
    pppd.start(path("usr/sbin/pppd"), {QStringLiteral("call"), QStringLiteral("gprs"), sSpeed});
    QVERIFY(pppd.waitForStarted());
    // "killall pppd" finds it by this name.
    QCOMPARE(processName(pppd.processId()), QByteArray("pppd"));
    QTRY_COMPARE_WITH_TIMEOUT(runtimeRecord<CRunGsmGprs>("getRuntimeGsmGprs").mode(), 1, 20000);
    const CRunGsmGprs up = runtimeRecord<CRunGsmGprs>("getRuntimeGsmGprs");
    QCOMPARE(up.speed(), sSpeed.toInt());
    QVERIFY(!up.localIp().isEmpty());
    QFile envFile(path("var/log/pppd.env"));
    QVERIFY(envFile.open(QIODevice::ReadOnly));
    const QByteArray baEnv = envFile.readAll();
    QVERIFY2(baEnv.contains("PXLN_GPRS_APN=" + sApn.toLatin1() + "\n"), baEnv.constData());
    QVERIFY2(baEnv.contains("PXLN_GPRS_GAUTH=AT#GAUTH=1\n"), baEnv.constData());
    QVERIFY2(baEnv.contains("PXLN_GPRS_TIMEOUT=30\n"), baEnv.constData());
    QVERIFY2(baEnv.contains("ARGS=call gprs " + sSpeed.toLatin1() + "\n"), baEnv.constData());

    pppd.terminate();
    QVERIFY(pppd.waitForFinished(20000));
    QCOMPARE(pppd.exitCode(), 0);
    const CRunGsmGprs down = runtimeRecord<CRunGsmGprs>("getRuntimeGsmGprs");
    QCOMPARE(down.mode(), 3);
    QVERIFY(down.localIp().isEmpty());
}

void tst_SimStandins::ltClientStaysUntilKilled()
{
    QProcess ltClient;
    ltClient.start(path("usr/bin/Tankora/lt_client"), {});
    QVERIFY(ltClient.waitForStarted());
    // "killall lt_client" finds it by this name, and only that ends it.
    QCOMPARE(processName(ltClient.processId()), QByteArray("lt_client"));
    QCOMPARE(ltClient.state(), QProcess::Running);
    // Its first nap shows that it is past its start and listens for the end.
    QTRY_VERIFY(!childrenOf(ltClient.processId()).isEmpty());
    ltClient.terminate();
    QVERIFY(ltClient.waitForFinished(10000));
    QCOMPARE(ltClient.exitCode(), 0);
}

void tst_SimStandins::ftpClientSendsAndReports_data()
{
    QTest::addColumn<QString>("sOption");
    QTest::addColumn<int>("iGroup");
    QTest::addColumn<bool>("bServerUp");
    QTest::newRow("event file") << "-e" << int(CRunFtpTransferStatus::GroupEvent) << true;
    QTest::newRow("delivery file") << "-d" << int(CRunFtpTransferStatus::GroupEvent) << true;
    QTest::newRow("gps file") << "-g" << int(CRunFtpTransferStatus::GroupGps) << true;
    QTest::newRow("log archive") << "-p" << int(CRunFtpTransferStatus::GroupLog) << true;
    QTest::newRow("data test file") << "-t1" << int(CRunFtpTransferStatus::GroupTest) << true;
    QTest::newRow("server down") << "-e" << int(CRunFtpTransferStatus::GroupEvent) << false;
}

void tst_SimStandins::ftpClientSendsAndReports()
{
    QFETCH(QString, sOption);
    QFETCH(int, iGroup);
    QFETCH(bool, bServerUp);
    if (m_sFtpDomain.isEmpty())
        QSKIP("python3-pyftpdlib is not installed");
    CSetGsmGprsFtpData setup;
    // Port 1 on the loopback refuses every connection.
    setup.setDomain(bServerUp ? m_sFtpDomain : QStringLiteral("127.0.0.1:1"));
    setup.setField(2, QStringLiteral("truck"));
    setup.setField(3, QStringLiteral("tanker"));
    QCOMPARE(setSetup("setSetupGsmGprsFtpData", setup), REPLY_SUCCESS);

    const QString sName = QStringLiteral("T%1.EVE").arg(QTest::currentDataTag()).remove(QLatin1Char(' '));
    const QString sFile = path("var/log/FTL/") + sName;
    const QByteArray baContent = "00,FTL header\r\n10,one line\r\n";
    QFile file(sFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(baContent);
    file.close();

    CSignalCatcher updates;
    QVERIFY(updates.listen(QStringLiteral("com.Velkor.Tankora.Runtime"), QStringLiteral("sigRuntimeFtpTransferStatus")));
    QProcess client;
    client.start(path("usr/bin/Tankora/start_ftp_client"), {sOption, sFile});
    QVERIFY(client.waitForFinished(60000));
    // Started, connection, file check, transfer, end: one update per step.
    QTRY_COMPARE(updates.aCaught.size(), 5);
    const auto eGroup = CRunFtpTransferStatus::EGroup(iGroup);
    const CRunFtpTransferStatus status = runtimeRecord<CRunFtpTransferStatus>("getRuntimeFtpTransferStatus");
    QCOMPARE(status.fileName(eGroup), sName);
    QCOMPARE(status.totalBytes(eGroup), qint64(baContent.size()));
    if (bServerUp) {
        QCOMPARE(status.state(eGroup), 4);
        QCOMPARE(status.transferredBytes(eGroup), qint64(baContent.size()));
        QVERIFY(!QFile::exists(sFile));
        QFile sent(m_backOffice.filePath(sName));
        QVERIFY(sent.open(QIODevice::ReadOnly));
        QCOMPARE(sent.readAll(), baContent);
    } else {
        QCOMPARE(status.state(eGroup), 10);
        QVERIFY(QFile::exists(sFile)); // kept for the next attempt
    }
}

QTEST_GUILESS_MAIN(tst_SimStandins)
#include "tst_simstandins.moc"
