#pragma once

#include "records/crecord.h"

#include <QJsonValue>
#include <QString>

// One field of a record set from what a person wrote, by field number;
// false with a reason for a number the record does not have or a value
// that does not fit the field's kind.
bool setFieldFromText(CRecord &record, int iField, const QString &sValue, QString *psError);
bool setFieldFromJson(CRecord &record, int iField, const QJsonValue &value, QString *psError);

// Every field on its own line: "3 s internet.apn" (number, kind, value).
QString recordText(const CRecord &record);
