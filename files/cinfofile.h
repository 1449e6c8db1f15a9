#pragma once

#include <QByteArray>
#include <QString>

class CFileSource;

// What the info file tells the back office about the calling vehicle
// computer, with the values it gets when a record cannot be read.
struct CInfoFileValues
{
    QString sNrpSerial = QStringLiteral("unknown");
    QString sLrpSerial = QStringLiteral("unknown");
    QString sDisplaySerial = QStringLiteral("unknown");
    QString sTimestamp;
    QString sDataNumber = QStringLiteral("unknown");
    QString sPppLocalIp;
    QString sVpnServerIp = QStringLiteral("unknown");
    QString sVpnServerPort = QStringLiteral("unknown");
    QString sVpnIpTankora;
    QString sNrpRootfsVersion;
    QString sNrpSwVersion;
    QString sLrpRootfsVersion;
    QString sLrpSwVersion;
    QString sDisplayRootfsVersion;
    QString sDisplaySwVersion;
    QString sNrpHsvVap;
    QString sNrpCommon;
    QString sLrpCommon;
    QString sDisplayCommon;
    QString sSealState = QStringLiteral("-");
};

// The label padded with blanks so that every value starts in column 29.
QString infoFileLabel(const QString &sLabel);
// The twenty lines, "\r\n" after each but the last, which ends with "\n".
QByteArray infoFileText(const CInfoFileValues &values);
// rootedPath("/tmp/tk_" + serial + ".info"), the serial made safe for a name.
QString infoFilePath(const QString &sNrpSerial);

// Reads every source in turn; a record that cannot be read keeps its defaults.
CInfoFileValues readInfoFileValues(CFileSource &source);

// Builds the info file anew; sPath is its name also when it fails. True
// when the file could be opened for writing.
bool BuildInfoFile(CFileSource &source, QString &sPath);
