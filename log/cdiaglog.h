#pragma once

#include "log/clogsettings.h"

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

class QFile;

// Level 0..3 of a Qt message type (debug, warning, critical, fatal); any
// other type is level 0 with an empty console prefix.
int messageLevel(QtMsgType eType, QString *pConsolePrefix = nullptr);

// "NOID(812):2026-12-04_11:22:00:123 W message"
QString plainLogLine(const QString &sIdentity, const QDateTime &dtUtc, int iLevel, const QString &sMessage);
// Coloured line for the console.
QString consoleLogLine(const QString &sIdentity, const QDateTime &dtUtc, const QString &sPrefix,
                       const QString &sMessage);

// The daemon's one sink for diagnostic messages: console, log file with size
// rotation, or the system log, as DEBUG_MESSAGES says.
class CDiagLog
{
public:
    explicit CDiagLog(QString sSettingsPath);
    ~CDiagLog();

    void handle(QtMsgType eType, const QString &sMessage);

    // For tests: the time source and the standard-output writer.
    std::function<QDateTime()> fnNow = [] { return QDateTime::currentDateTimeUtc(); };
    std::function<void(const QString &)> fnStdout;

    const CLogSettings &settings() const { return m_settings; }

private:
    void readSettings();
    void writeToFile(int iLevel, const QString &sLine);
    void rotate();
    bool openLogFile();
    void writeSysLog(int iLevel, const QString &sMessage);

    QString m_sSettingsPath;
    QString m_sIdentity;
    QByteArray m_baSysLogIdentity;
    CLogSettings m_settings;
    std::unique_ptr<QFile> m_pFile;
    bool m_bSettingsPending = true;
    bool m_bLogNotOpen = true;
    QMutex m_fileLock;
};

// The process-wide message handler installed first thing in main.
void diagLogMessageHandler(QtMsgType eType, const QMessageLogContext &context, const QString &sMessage);
