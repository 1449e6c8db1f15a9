#pragma once

#include "records/crecord.h"
#include "sim/crecordfields.h"

#include <QStringList>

// Record fields as test tables write them, each read from its text as the
// stand-in vehicle reads a typed value.

// One field; false for a field the record does not have or a text that
// does not fit it.
inline bool setFieldText(CRecord &record, int iField, const QString &sText)
{
    QString sError;
    return setFieldFromText(record, iField, sText, &sError);
}

// "N=text" with cSeparator between; a field that cannot be set stops the
// test program, as the table is wrong.
inline CRecord &withFields(CRecord &record, const QString &sFields, QChar cSeparator = QLatin1Char(' '))
{
    for (const QString &sField : sFields.split(cSeparator, Qt::SkipEmptyParts))
        if (!setFieldText(record, sField.section('=', 0, 0).toInt(), sField.section('=', 1)))
            qFatal("field %s does not fit", qPrintable(sField));
    return record;
}
template <class TRecord> TRecord recordWith(const QString &sFields)
{
    TRecord record;
    withFields(record, sFields);
    return record;
}
