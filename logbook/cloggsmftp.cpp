#include "logbook/cloggsmftp.h"

#include "logbook/clogtypes.h"

CLogGsmFtp::CLogGsmFtp() : CLogBase(LOG_GSM_FTP), Text1(QLatin1String("")), Text2(QLatin1String("")) {}

CLogGsmFtp::CLogGsmFtp(const QByteArray &baRow) : CLogGsmFtp()
{
    readRow(baRow);
}
