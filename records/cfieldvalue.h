#pragma once

#include "records/cpositionfix.h"

#include <QByteArray>
#include <QDataStream>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

// The value kinds a record field can hold, each with its fixed stream form.
enum class EFieldType {
    Int,        // qint32
    Bool,       // one byte
    Double,     // IEEE double
    Int64,      // qint64
    Text,       // QString, UTF-16 with byte length
    Bytes,      // QByteArray with length
    DateTime,   // Julian day, milliseconds, then a byte for the kind of time (UTC)
    TextMap,    // count, then key and value per entry
    TextList,   // count, then each text
    IntList,    // count, then each qint32
    PositionFix // its members, no envelope
};

using CTextMap = QHash<QString, QString>;
using CFieldValue = std::variant<qint32, bool, double, qint64, QString, QByteArray, QDateTime,
                                 CTextMap, QStringList, QList<qint32>, CPositionFix>;

// The value a field of this kind has before anything is read into it.
CFieldValue defaultFieldValue(EFieldType eType);
EFieldType fieldTypeOf(const CFieldValue &value);

void writeFieldValue(QDataStream &stream, const CFieldValue &value);
// Reads by the stream's own rules: past the end a value comes out as zero,
// false or empty. Lists never reserve more than the bytes that are there.
CFieldValue readFieldValue(QDataStream &stream, EFieldType eType);

// Whether a freshly read value counts as a change of the held one: doubles
// only when they really differ, position fixes by their streamed form.
bool fieldValueDiffers(const CFieldValue &held, const CFieldValue &read);
