#include "sim/crecordfields.h"

#include "sim/cfieldtext.h"

namespace {

template <typename TValue, typename FConvert>
bool setConverted(CRecord &record, int iField, const TValue &value, QString *psError, FConvert convert)
{
    if (iField < 1 || iField > record.fieldCount()) {
        *psError = QStringLiteral("field %1 out of range 1..%2").arg(iField).arg(record.fieldCount());
        return false;
    }
    const EFieldType eType = record.layout().aeTypes[iField - 1];
    CFieldValue converted;
    if (!convert(eType, value, &converted)) {
        *psError = QStringLiteral("field %1 takes kind %2").arg(iField).arg(fieldTypeName(eType));
        return false;
    }
    record.setField(iField, converted);
    return true;
}

} // namespace

bool setFieldFromText(CRecord &record, int iField, const QString &sValue, QString *psError)
{
    return setConverted(record, iField, sValue, psError, fieldValueFromText);
}

bool setFieldFromJson(CRecord &record, int iField, const QJsonValue &value, QString *psError)
{
    return setConverted(record, iField, value, psError, fieldValueFromJson);
}

QString recordText(const CRecord &record)
{
    QString sText;
    for (int i = 1; i <= record.fieldCount(); ++i)
        sText += QStringLiteral("%1 %2 %3\n")
                     .arg(i)
                     .arg(fieldTypeName(record.layout().aeTypes[i - 1]), fieldValueText(record.field(i)));
    return sText;
}
