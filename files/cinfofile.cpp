#include "files/cinfofile.h"

#include "app/cpaths.h"
#include "files/cfilenamepart.h"
#include "files/cfilesource.h"
#include "files/crunclock.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr int LABEL_COLUMNS = 28;

} // namespace

QString infoFileLabel(const QString &sLabel)
{
    return sLabel.leftJustified(LABEL_COLUMNS, QLatin1Char(' '));
}

QByteArray infoFileText(const CInfoFileValues &v)
{
    const QList<QPair<const char *, QString>> aLines = {
        {"NRP Serial:", v.sNrpSerial},
        {"LRP Serial:", v.sLrpSerial},
        {"2nd Display Serial:", v.sDisplaySerial},
        {"Timestamp:", v.sTimestamp},
        {"Data Number:", v.sDataNumber},
        {"PPP Local IP:", v.sPppLocalIp},
        {"VPN Server IP:", v.sVpnServerIp},
        {"VPN Server Port:", v.sVpnServerPort},
        {"VPN IP Tankora:", v.sVpnIpTankora},
        {"NRP Rootfs Version:", v.sNrpRootfsVersion},
        {"NRP SW-Version:", v.sNrpSwVersion},
        {"LRP Rootfs Version:", v.sLrpRootfsVersion},
        {"LRP SW-Version:", v.sLrpSwVersion},
        {"2nd Display Rootfs Version:", v.sDisplayRootfsVersion},
        {"2nd Display SW-Version:", v.sDisplaySwVersion},
        {"NRP HSV/Vap.:", v.sNrpHsvVap},
        {"NRP Common:", v.sNrpCommon},
        {"LRP Common:", v.sLrpCommon},
        {"2nd Display Common:", v.sDisplayCommon},
        {"Seal state:", v.sSealState},
    };
    QStringList asLines;
    for (const auto &line : aLines)
        asLines << infoFileLabel(QLatin1String(line.first)) + line.second;
    // The back office's reader takes the last line without a carriage return.
    return (asLines.join(QStringLiteral("\r\n")) + QStringLiteral("\n")).toUtf8();
}

QString infoFilePath(const QString &sNrpSerial)
{
    return rootedPath(QStringLiteral("/tmp/tk_") + fileNamePart(sNrpSerial) + QStringLiteral(".info"));
}

CInfoFileValues readInfoFileValues(CFileSource &source)
{
    CInfoFileValues v;
    v.sTimestamp = startRunClock(source).dtLocalNow.toString(QStringLiteral("yyyyMMddHHmmss"));

    CRunGeneralNonWM nrp;
    if (source.readRuntimeGeneralNonWM(nrp)) {
        v.sNrpSerial = nrp.sNrpSerial();
        v.sDisplaySerial = nrp.sDisplaySerial();
        v.sNrpRootfsVersion = nrp.sNrpRootfsVersion();
        v.sNrpSwVersion = nrp.sNrpSwVersion();
        v.sDisplayRootfsVersion = nrp.sDisplayRootfsVersion();
        v.sDisplaySwVersion = nrp.sDisplaySwVersion();
        v.sNrpHsvVap = nrp.sNrpHsvVap();
        v.sNrpCommon = nrp.sNrpCommon();
        v.sDisplayCommon = nrp.sDisplayCommon();
    }
    CRunGeneralWM lrp;
    if (source.readRuntimeGeneralWM(lrp)) {
        v.sLrpSerial = lrp.sLrpSerial();
        v.sLrpRootfsVersion = lrp.sLrpRootfsVersion();
        v.sLrpSwVersion = lrp.sLrpSwVersion();
        v.sLrpCommon = lrp.sLrpCommon();
    }
    CSetGsm gsm;
    if (source.readGsmSettings(gsm))
        v.sDataNumber = gsm.sDataNumber();
    CRunGsmGprs link;
    if (source.readRuntimeGsmGprs(link))
        v.sPppLocalIp = link.localIp();
    CSetGsmGprs dialUp;
    if (source.readSetupGsmGprs(dialUp)) {
        v.sVpnServerIp = dialUp.vpnServerIp();
        v.sVpnServerPort = QString::number(dialUp.vpnServerPort());
    }
    CRunVpn vpn;
    if (source.readRuntimeVpn(vpn))
        v.sVpnIpTankora = vpn.text();

    // Only a vehicle with an LGM has a seal state worth reporting.
    CSetGeneralNonWM general;
    const bool bLgmActive = source.readSetupGeneralNonWM(general) && (general.bLgmActive1() || general.bLgmActive2());
    if (!bLgmActive) {
        source.log(debugLine(QStringLiteral("INFO-FILE: LGM is not active")));
    } else {
        CRunSealStateLGMWM seal;
        if (source.readSealState(seal))
            v.sSealState = seal.bSealState() ? QStringLiteral("1") : QStringLiteral("0");
    }
    return v;
}

bool BuildInfoFile(CFileSource &source, QString &sPath)
{
    const CInfoFileValues values = readInfoFileValues(source);
    sPath = infoFilePath(values.sNrpSerial);
    QFile::remove(sPath);
    QFile file(sPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QByteArray baText = infoFileText(values);
    if (file.write(baText) != baText.size())
        source.log(warningLine(QStringLiteral("write error on ") + sPath + QStringLiteral(": ") + file.errorString()));
    file.close();
    return true;
}
