#include "records/cvehiclerecords.h"

namespace {

const CRecordLayout layoutSetCan = makeRecordLayout(1, EBodyForm::Plain, "i");
const CRecordLayout layoutSetCompartmentSensorNonWM = makeRecordLayout(256, EBodyForm::Plain, "23i");
const CRecordLayout layoutSetGeneralNonWM = makeRecordLayout(
    256, EBodyForm::Plain,
    "5i 8b 3i b i 3b 4i b 2i b i b i b i 2b i 2b 5i 11b 6i b 2i s i l 2i b s b 3i 3b 3i s b"
    " 2i 4b 2i 4b i b i d s i s 3i 4b 2i b 4i 2b 2i b l i 3b i b s b s 3i b",
    {{71, QStringLiteral("Europe/Berlin")}});
const CRecordLayout layoutSetGeneralWM =
    makeRecordLayout(256, EBodyForm::Plain, "9i 3s 15i s b 2i b 2i b 4i 2b 3i");
const CRecordLayout layoutSetGlobalSensorNonWM = makeRecordLayout(256, EBodyForm::Plain, "34i");
const CRecordLayout layoutSetGeoFencing =
    makeRecordLayout(256, EBodyForm::PlainTracked, "b d b", {{2, 100.0}});
const CRecordLayout layoutRunCan = makeRecordLayout(1, EBodyForm::Flagged, "s i 2b 3a");
const CRecordLayout layoutRunCompNonWM = makeRecordLayout(256, EBodyForm::Flagged, "5i b 5i t s p t s p 2i");
const CRecordLayout layoutRunCompSensorNonWM =
    makeRecordLayout(256, EBodyForm::Flagged, "2b 16i b i b i b i");
const CRecordLayout layoutRunGeneralNonWM =
    makeRecordLayout(256, EBodyForm::Flagged, "2i b 10s i t s i s i 9s m s i");
const CRecordLayout layoutRunGeneralWM = makeRecordLayout(256, EBodyForm::Flagged, "9s i s");
const CRecordLayout layoutRunGeoFencing = makeRecordLayout(256, EBodyForm::Flagged, "3b i", {{4, 6}});
const CRecordLayout layoutRunTruck = makeRecordLayout(256, EBodyForm::Flagged, "2i t s p t s p 4i");
const CRecordLayout layoutRunTruckSensorNonWM = makeRecordLayout(256, EBodyForm::Flagged, "85i b 15i");

} // namespace

CSetCan::CSetCan() : CRecord(layoutSetCan) {}
CSetCompartmentSensorNonWM::CSetCompartmentSensorNonWM() : CRecord(layoutSetCompartmentSensorNonWM) {}
CSetGeneralNonWM::CSetGeneralNonWM() : CRecord(layoutSetGeneralNonWM) {}
CSetGeneralWM::CSetGeneralWM() : CRecord(layoutSetGeneralWM) {}
CSetGlobalSensorNonWM::CSetGlobalSensorNonWM() : CRecord(layoutSetGlobalSensorNonWM) {}
CSetGeoFencing::CSetGeoFencing() : CRecord(layoutSetGeoFencing) {}
CRunCan::CRunCan() : CRecord(layoutRunCan) {}
CRunCompNonWM::CRunCompNonWM() : CRecord(layoutRunCompNonWM) {}
CRunCompSensorNonWM::CRunCompSensorNonWM() : CRecord(layoutRunCompSensorNonWM) {}
CRunGeneralNonWM::CRunGeneralNonWM() : CRecord(layoutRunGeneralNonWM) {}
CRunGeneralWM::CRunGeneralWM() : CRecord(layoutRunGeneralWM) {}
CRunGeoFencing::CRunGeoFencing() : CRecord(layoutRunGeoFencing) {}
CRunTruck::CRunTruck() : CRecord(layoutRunTruck) {}
CRunTruckSensorNonWM::CRunTruckSensorNonWM() : CRecord(layoutRunTruckSensorNonWM) {}
