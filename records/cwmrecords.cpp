#include "records/cwmrecords.h"

namespace {

const CRecordLayout layoutSetMeterWM = makeRecordLayout(
    256, EBodyForm::Plain, "2b 14i d b 3i b 2i d 6i d i 2d i d i d i d i 2d i 2s b 2i s");
const CRecordLayout layoutSetProductWM =
    makeRecordLayout(256, EBodyForm::Plain, "2i s b i d i 3d 3i b i 4d 5i 4d 4i 4d 6i l i l b");
const CRecordLayout layoutRunProcessWM =
    makeRecordLayout(256, EBodyForm::Flagged, "5i d i t 2i t 2i 2b 7i s 11i");
const CRecordLayout layoutOrderRecord = makeRecordLayout(256, EBodyForm::Flagged, "2i l 8i p i 5d s");
const CRecordLayout layoutProductRecord = makeRecordLayout(256, EBodyForm::Plain, "s");
const CRecordLayout layoutSealRecord =
    makeRecordLayout(256, EBodyForm::Flagged, "b i 2y t s p s 2y t s p 2s");

} // namespace

CSetMeterWM::CSetMeterWM() : CRecord(layoutSetMeterWM) {}
CSetProductWM::CSetProductWM() : CRecord(layoutSetProductWM) {}
CRunProcessWM::CRunProcessWM() : CRecord(layoutRunProcessWM) {}
OrderRecord::OrderRecord() : CRecord(layoutOrderRecord) {}
ProductRecord::ProductRecord() : CRecord(layoutProductRecord) {}
CRunSealStateLGMWM::CRunSealStateLGMWM() : CRecord(layoutSealRecord) {}
