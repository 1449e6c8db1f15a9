#include "app/cpaths.h"
#include "controller/cdata.h"

#include <QSettings>

void CData::readSettingsFromIniFile()
{
    const QString sPath = settingsFilePath();
    qDebug() << "CData::readSettingsFromIniFile() : " << sPath;

    QSettings ini(sPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("SETUP_GENERAL"));

    const QList<QPair<QString, QVariant>> aKeys = {
        {QStringLiteral("Use_Session_Bus"), 1},
        {QStringLiteral("TCP_Bus_Address"), QStringLiteral("tcp:host=127.0.0.1,port=7777")},
        {QStringLiteral("TCP_Bus_Name"), QStringLiteral("remote")},
        {QStringLiteral("Dbus_Connection_Retry"), 5000},
        {QStringLiteral("Setup_Poll_Rate"), 1000},
    };
    QList<QVariant> aValues;
    for (const auto &key : aKeys)
        aValues << ini.value(key.first, key.second);

    m_iUseSessionBus = aValues[0].toInt();
    m_sTcpBusAddress = aValues[1].toString();
    m_sTcpBusName = aValues[2].toString();
    m_iDbusConnectionRetry = aValues[3].toInt();
    m_iSetupPollRate = aValues[4].toInt();

    const QList<QVariant> aInEffect = {m_iUseSessionBus, m_sTcpBusAddress, m_sTcpBusName,
                                       m_iDbusConnectionRetry, m_iSetupPollRate};
    for (int i = 0; i < aKeys.size(); ++i)
        if (!ini.contains(aKeys[i].first))
            ini.setValue(aKeys[i].first, aInEffect[i]);
    ini.endGroup();
}
