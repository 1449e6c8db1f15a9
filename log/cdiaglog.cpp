#include "log/cdiaglog.h"

#include "app/cpaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QTextStream>

#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {
const char *const g_aLevelTexts[] = {" D ", " W ", " C ", " F "};
const char *const g_aConsolePrefixes[] = {"\x1b[94m D: ", "\x1b[93m W: ", "\x1b[95m C: ", "\x1b[91m F: "};

void writeStdout(const QString &sText)
{
    const QByteArray baText = sText.toUtf8();
    fwrite(baText.constData(), 1, static_cast<size_t>(baText.size()), stdout);
    fflush(stdout);
}
} // namespace

int messageLevel(QtMsgType eType, QString *pConsolePrefix)
{
    int iLevel = -1;
    switch (eType) {
    case QtDebugMsg: iLevel = 0; break;
    case QtWarningMsg: iLevel = 1; break;
    case QtCriticalMsg: iLevel = 2; break;
    case QtFatalMsg: iLevel = 3; break;
    default: break;
    }
    if (pConsolePrefix)
        *pConsolePrefix = iLevel < 0 ? QString() : QString::fromLatin1(g_aConsolePrefixes[iLevel]);
    return iLevel < 0 ? 0 : iLevel;
}

QString plainLogLine(const QString &sIdentity, const QDateTime &dtUtc, int iLevel, const QString &sMessage)
{
    return sIdentity + QLatin1Char(':') + dtUtc.toString(QStringLiteral("yyyy-MM-dd_hh:mm:ss:zzz")) +
           QLatin1String(g_aLevelTexts[qBound(0, iLevel, 3)]) + sMessage;
}

QString consoleLogLine(const QString &sIdentity, const QDateTime &dtUtc, const QString &sPrefix,
                       const QString &sMessage)
{
    return QStringLiteral("\x1b[92m") + sIdentity + QStringLiteral("\x1b[0m:") +
           dtUtc.toString(QStringLiteral("hh:mm:ss:zzz")) + sPrefix + sMessage + QStringLiteral("\x1b[0m");
}

CDiagLog::CDiagLog(QString sSettingsPath) : fnStdout(writeStdout), m_sSettingsPath(std::move(sSettingsPath)) {}

CDiagLog::~CDiagLog()
{
    if (!m_bLogNotOpen && m_settings.iUseSysLog)
        closelog();
}

void CDiagLog::readSettings()
{
    m_sIdentity = QStringLiteral("NOID(") + QString::number(::getpid()) + QLatin1Char(')');
    m_settings = readLogSettings(m_sSettingsPath);
    m_bSettingsPending = false;
}

void CDiagLog::handle(QtMsgType eType, const QString &sMessage)
{
    if (m_bSettingsPending)
        readSettings();

    QString sPrefix;
    const int iLevel = messageLevel(eType, &sPrefix);
    const bool bConsole = m_settings.iDisplayMessage == 1 && iLevel >= m_settings.iDisplayLevel;
    const bool bLog = m_settings.iLogMessage == 1 && iLevel >= m_settings.iLogLevel;

    if (bConsole || bLog) {
        const QDateTime dtNow = fnNow();
        if (bConsole)
            fnStdout(consoleLogLine(m_sIdentity, dtNow, sPrefix, sMessage) + QLatin1Char('\n'));
        if (bLog) {
            if (m_settings.iUseSysLog == 0)
                writeToFile(iLevel, plainLogLine(m_sIdentity, dtNow, iLevel, sMessage));
            else
                writeSysLog(iLevel, sMessage);
        }
    }
    if (eType == QtFatalMsg)
        abort();
}

void CDiagLog::writeSysLog(int iLevel, const QString &sMessage)
{
    if (m_bLogNotOpen) {
        m_baSysLogIdentity = m_sIdentity.left(254).toLatin1();
        openlog(m_baSysLogIdentity.constData(), LOG_PID | LOG_CONS, LOG_USER);
        m_bLogNotOpen = false;
    }
    static const int aPriorities[] = {LOG_DEBUG, LOG_WARNING, LOG_CRIT, LOG_ALERT};
    syslog(aPriorities[qBound(0, iLevel, 3)], "%s", sMessage.toLatin1().constData());
}

bool CDiagLog::openLogFile()
{
    m_pFile = std::make_unique<QFile>(rootedPath(m_settings.sLogfileName));
    if (m_pFile->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return true;
    m_pFile.reset();
    return false;
}

void CDiagLog::rotate()
{
    const QString sName = rootedPath(m_settings.sLogfileName);
    m_pFile->flush();
    m_pFile->close();
    for (int i = m_settings.iLogfileRedundancy; i >= 1; --i) {
        const QString sCopy = sName + QLatin1Char('.') + QString::number(i);
        QFile::remove(sCopy);
        QFile::copy(i == 1 ? sName : sName + QLatin1Char('.') + QString::number(i - 1), sCopy);
    }
    QFile::remove(sName);
    if (!openLogFile())
        fnStdout(m_sIdentity + QStringLiteral("reopen log file failed\n"));
}

void CDiagLog::writeToFile(int iLevel, const QString &sLine)
{
    QMutexLocker locker(&m_fileLock);
    if (m_bLogNotOpen) {
        m_bLogNotOpen = false;
        if (m_settings.iLogMessage == 1 && !openLogFile())
            fnStdout(m_sIdentity + QStringLiteral("open log file failed\n"));
    }
    if (!m_pFile || m_settings.iLogMessage != 1 || iLevel < m_settings.iLogLevel)
        return;

    const QFileInfo info(m_pFile->fileName());
    if (info.exists() && info.size() > m_settings.llLogfileSize) {
        rotate();
        if (!m_pFile)
            return;
    }
    QTextStream stream(m_pFile.get());
    stream << sLine << '\n';
    stream.flush();
    m_pFile->flush();
}

void diagLogMessageHandler(QtMsgType eType, const QMessageLogContext &, const QString &sMessage)
{
    static CDiagLog diagLog(settingsFilePath());
    diagLog.handle(eType, sMessage);
}
