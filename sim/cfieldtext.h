#pragma once

#include "records/cfieldvalue.h"

#include <QJsonValue>
#include <QString>

// Field values as a person types them on the command line or in a vehicle
// profile, and back. Texts: ints and doubles in decimal, bools as
// true/false/1/0, date-times in ISO 8601 (UTC when no zone is given), bytes
// in hex, lists as "a,b,c", text maps as "key=value,key=value", position
// fixes as "latitude,longitude".
bool fieldValueFromText(EFieldType eType, const QString &sText, CFieldValue *pValue);
// The same from JSON: numbers, booleans and strings for single values,
// arrays for lists, objects for text maps and position fixes
// ({"latitude": 52.1, "longitude": 9.8, "time": "...", with "altitude",
// "counters" [3 ints] and "further" [3 numbers] when given).
bool fieldValueFromJson(EFieldType eType, const QJsonValue &value, CFieldValue *pValue);
QString fieldValueText(const CFieldValue &value);
// One letter of the layout notation (records/crecordlayout.h) per kind.
QString fieldTypeName(EFieldType eType);
