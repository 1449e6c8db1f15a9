#include "log/clogsettings.h"

#include <QSettings>

QString defaultLogfileName(const QString &sSettingsPath)
{
    const QString sFileName = sSettingsPath.mid(sSettingsPath.lastIndexOf(QLatin1Char('/')) + 1);
    const int iDot = sFileName.indexOf(QLatin1String(".ini"));
    const QString sStem = iDot < 0 ? sFileName : sFileName.left(iDot + 1);
    return QStringLiteral("/var/log/Tankora/") + sStem + QStringLiteral("log");
}

CLogSettings readLogSettings(const QString &sSettingsPath)
{
    CLogSettings set;
    set.sLogfileName = defaultLogfileName(sSettingsPath);

    QSettings ini(sSettingsPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("DEBUG_MESSAGES"));

    struct Key
    {
        const char *pName;
        QVariant vDefault;
    };
    const Key aKeys[] = {
        {"Display_Message", set.iDisplayMessage}, {"Display_Level", set.iDisplayLevel},
        {"Log_Message", set.iLogMessage},         {"Log_Level", set.iLogLevel},
        {"Logfile_Size", set.llLogfileSize},      {"Logfile_Redundancy", set.iLogfileRedundancy},
        {"Logfile_Name", set.sLogfileName},       {"Use_SysLog", set.iUseSysLog},
    };
    QVariant aValues[8];
    for (int i = 0; i < 8; ++i)
        aValues[i] = ini.value(QLatin1String(aKeys[i].pName), aKeys[i].vDefault);

    set.iDisplayMessage = aValues[0].toInt();
    set.iDisplayLevel = aValues[1].toInt();
    set.iLogMessage = aValues[2].toInt();
    set.iLogLevel = aValues[3].toInt();
    set.llLogfileSize = aValues[4].toLongLong();
    set.iLogfileRedundancy = aValues[5].toInt();
    set.sLogfileName = aValues[6].toString();
    set.iUseSysLog = aValues[7].toInt();

    const QVariant aInEffect[8] = {set.iDisplayMessage,    set.iDisplayLevel, set.iLogMessage,
                                   set.iLogLevel,          set.llLogfileSize, set.iLogfileRedundancy,
                                   set.sLogfileName,       set.iUseSysLog};
    for (int i = 0; i < 8; ++i) {
        const QString sKey = QLatin1String(aKeys[i].pName);
        if (!ini.contains(sKey))
            ini.setValue(sKey, aInEffect[i]);
    }
    ini.endGroup();
    return set;
}
