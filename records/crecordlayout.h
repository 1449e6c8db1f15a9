#pragma once

#include "records/cfieldvalue.h"

#include <QVector>

#include <initializer_list>
#include <utility>

// How a record's fields follow its envelope on the stream.
enum class EBodyForm {
    Plain,        // the fields one after another
    PlainTracked, // the same bytes, but reading marks what changed
    Flagged       // each field preceded by its change flag
};

// One table row per record: everything the codec needs to read and write it.
struct CRecordLayout
{
    qint32 iVersion = 256;
    EBodyForm eBody = EBodyForm::Plain;
    bool bReserve = true; // the 32-byte reserve after the version
    QVector<EFieldType> aeTypes;
    QVector<CFieldValue> aDefaults; // one per field, of the field's kind
};

// Field kinds in a compact notation, a run count before a letter:
// i int, b bool, d double, l int64, s text, y bytes, t date-time,
// m text map, a text list, n int list, p position fix.
// "5i 2b s" is five ints, two bools and a text. An unknown letter yields an
// empty list, so a typo shows at once as a record with no fields.
QVector<EFieldType> parseFieldTypes(const char *pszTypes);

// Fields are numbered from 1 in stream order; defaults not named are the
// kind's zero value.
CRecordLayout makeRecordLayout(qint32 iVersion, EBodyForm eBody, const char *pszTypes,
                               std::initializer_list<std::pair<int, CFieldValue>> defaults = {},
                               bool bReserve = true);

// True when every default has the kind of its field; checked by the tests
// for every record so that a wrong default cannot slip into a layout.
bool layoutIsConsistent(const CRecordLayout &layout);
