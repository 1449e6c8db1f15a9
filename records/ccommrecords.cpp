#include "records/ccommrecords.h"

namespace {

const QDateTime dtYearOne(QDate(1, 1, 1), QTime(0, 0));

const CRecordLayout layoutSetGsmGprs =
    makeRecordLayout(256, EBodyForm::Plain, "5s 3i s 3i b i", {{6, 60}, {7, 60}, {10, 57600}});
const CRecordLayout layoutRunGsm = makeRecordLayout(256, EBodyForm::Flagged, "4s 2i b s i 2s");
const CRecordLayout layoutRunGsmGprs = makeRecordLayout(256, EBodyForm::Flagged, "i 2s i 2s");
const CRecordLayout layoutRunFtpTransferStatus =
    makeRecordLayout(256, EBodyForm::Flagged, "i2ls i2ls i2ls i2ls i2ls i2ls s");
const CRecordLayout layoutRunTriggerFtpTransfer =
    makeRecordLayout(256, EBodyForm::Flagged, "9b 2s 2t s");
const CRecordLayout layoutFtpServerWithFlag = makeRecordLayout(256, EBodyForm::Plain, "4s i b");
const CRecordLayout layoutFtpServer = makeRecordLayout(256, EBodyForm::Plain, "4s i");
const CRecordLayout layoutSetFtpSwUpdate =
    makeRecordLayout(256, EBodyForm::Plain, "6i b", {{1, 256}, {7, true}});
const CRecordLayout layoutSetGpsTracking =
    makeRecordLayout(256, EBodyForm::Plain, "5i", {{3, 180}, {4, 100}, {5, 5}});
const CRecordLayout layoutSetLTServer = makeRecordLayout(256, EBodyForm::Plain, "b s i 2s 5i b");
const CRecordLayout layoutRunVpn = makeRecordLayout(256, EBodyForm::Flagged, "b i s b");
const CRecordLayout layoutSetGsm =
    makeRecordLayout(256, EBodyForm::Plain, "2s 3i 2s 2i", {{5, 30}, {8, 3}});
const CRecordLayout layoutLogbookFilter = makeRecordLayout(
    256, EBodyForm::Plain, "l 2t i n i n 3i", {{2, dtYearOne}, {3, dtYearOne}, {6, -1}}, false);

} // namespace

CSetGsmGprs::CSetGsmGprs() : CRecord(layoutSetGsmGprs) {}
CRunGsm::CRunGsm() : CRecord(layoutRunGsm) {}
CRunGsmGprs::CRunGsmGprs() : CRecord(layoutRunGsmGprs) {}
CRunFtpTransferStatus::CRunFtpTransferStatus() : CRecord(layoutRunFtpTransferStatus) {}
CRunTriggerFtpTransfer::CRunTriggerFtpTransfer() : CRecord(layoutRunTriggerFtpTransfer) {}
CSetGsmGprsFtpData::CSetGsmGprsFtpData() : CSetGsmGprsFtpServer(layoutFtpServerWithFlag) {}
CSetGsmGprsFtpService::CSetGsmGprsFtpService() : CSetGsmGprsFtpServer(layoutFtpServer) {}
CSetGsmGprsFtpUpdate::CSetGsmGprsFtpUpdate() : CSetGsmGprsFtpServer(layoutFtpServerWithFlag) {}
CSetFtpSwUpdate::CSetFtpSwUpdate() : CRecord(layoutSetFtpSwUpdate) {}
CSetGpsTracking::CSetGpsTracking() : CRecord(layoutSetGpsTracking) {}
CSetLTServer::CSetLTServer() : CRecord(layoutSetLTServer) {}
CRunVpn::CRunVpn() : CRecord(layoutRunVpn) {}
CSetGsm::CSetGsm() : CRecord(layoutSetGsm) {}
CLogbookFilter::CLogbookFilter() : CRecord(layoutLogbookFilter) {}
