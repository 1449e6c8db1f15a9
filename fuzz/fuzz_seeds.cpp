// Writes the seed corpora: every record with sample values, and a row of
// every entry type, so the fuzzers start from well-formed input.
#include "logbook/clogcop.h"
#include "logbook/clogfactory.h"
#include "logbook/cloggps.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogseal.h"
#include "logbook/clogspd.h"
#include "logbook/clogtypes.h"
#include "records/crecordregistry.h"

#include <QDir>
#include <QFile>

namespace {

void writeSeed(const QString &sDir, const QString &sName, const QByteArray &baBytes)
{
    QDir().mkpath(sDir);
    QFile file(sDir + QLatin1Char('/') + sName);
    if (file.open(QIODevice::WriteOnly))
        file.write(baBytes);
}

} // namespace

int main(int iArgc, char **ppArgv)
{
    if (iArgc < 2)
        return 2;
    const QString sRoot = QString::fromLocal8Bit(ppArgv[1]);
    const QStringList asNames = recordNames();
    for (int i = 0; i < asNames.size(); ++i) {
        std::unique_ptr<CRecord> pRecord = makeRecord(asNames[i]);
        for (int iField = 1; iField <= pRecord->fieldCount(); ++iField)
            pRecord->setFieldFlag(iField, true);
        writeSeed(sRoot + QStringLiteral("/records"), asNames[i], QByteArray(1, char(i)) + pRecord->toByteArray());
    }
    const QDateTime dtStamp(QDate(2024, 1, 5), QTime(9, 30), Qt::UTC);
    for (qint32 iType : {LOG_TRACKING, LOG_COP, LOG_DISCHARGE, LOG_GPS, LOG_LEVEL_VOLUME, LOG_LOADING, LOG_SEAL,
                         LOG_SPD, LOG_GSM_FTP, LOG_OPMM, LOG_SMP, LOG_FPM}) {
        CLogBase header(iType);
        header.DateTime = dtStamp;
        header.Compartment = 1;
        std::unique_ptr<CLogBase> pEntry = makeLogEntry(header.toRow());
        pEntry->DateTime = dtStamp;
        writeSeed(sRoot + QStringLiteral("/logrow"), QString::number(iType), pEntry->toRow());
    }
    writeSeed(sRoot + QStringLiteral("/settings"), QStringLiteral("ftp_d.ini"),
              "[DEBUG_MESSAGES]\nDebug=1\nLogfile=/var/log/Tankora/ftp_data.log\n"
              "[SETUP_GENERAL]\nUse_Session_Bus=1\n");
    writeSeed(sRoot + QStringLiteral("/listing"), QStringLiteral("names"),
              "\x18gps_20240105.ftl\nEVEl20240105093000.ftl\nTankora_1.log.tar.gz\nmail_0001.txt\n"
              "MTR1d20240105093000.ftl\nLEVl20240105093000.ftl\nTK_Data_1.ftl\n.\n..\n");
    return 0;
}
