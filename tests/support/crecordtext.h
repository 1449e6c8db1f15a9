#pragma once

#include "records/crecord.h"

#include <QDateTime>

// A record field from its text in a test table, in the field's own kind:
// numbers, "1"/"0" for booleans, ISO 8601 date-times, texts as they are.
inline bool setFieldText(CRecord &record, int iField, const QString &sText)
{
    switch (fieldTypeOf(record.field(iField))) {
    case EFieldType::Int: return record.setField(iField, qint32(sText.toInt()));
    case EFieldType::Bool: return record.setField(iField, sText == "1");
    case EFieldType::Double: return record.setField(iField, sText.toDouble());
    case EFieldType::DateTime: return record.setField(iField, QDateTime::fromString(sText, Qt::ISODate));
    default: return record.setField(iField, sText);
    }
}
