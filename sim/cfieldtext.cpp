#include "sim/cfieldtext.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

bool boolFromText(const QString &sText, bool *pbOk)
{
    const QString s = sText.trimmed().toLower();
    *pbOk = s == QLatin1String("true") || s == QLatin1String("false") || s == QLatin1String("1")
            || s == QLatin1String("0");
    return s == QLatin1String("true") || s == QLatin1String("1");
}

QDateTime dateTimeFromText(const QString &sText)
{
    QDateTime dt = QDateTime::fromString(sText.trimmed(), Qt::ISODateWithMs);
    // The vehicle keeps its time stamps in UTC.
    if (dt.isValid() && dt.timeSpec() == Qt::LocalTime)
        dt.setTimeSpec(Qt::UTC);
    return dt;
}

QStringList listItems(const QString &sText)
{
    return sText.isEmpty() ? QStringList() : sText.split(QLatin1Char(','));
}

bool positionFromParts(const QStringList &asParts, CPositionFix *pFix)
{
    if (asParts.size() < 2 || asParts.size() > 3)
        return false;
    bool bOk = true;
    for (int i = 0; i < asParts.size() && bOk; ++i)
        pFix->adMeasures[i] = asParts[i].trimmed().toDouble(&bOk);
    return bOk;
}

template <typename T, typename F>
QString joined(const QList<T> &list, F toText)
{
    QStringList as;
    for (const T &value : list)
        as.append(toText(value));
    return as.join(QLatin1Char(','));
}

QString scalarJsonText(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

bool listFromJson(EFieldType eType, const QJsonArray &array, CFieldValue *pValue)
{
    QStringList asItems;
    for (const QJsonValue &item : array)
        asItems.append(scalarJsonText(item));
    return fieldValueFromText(eType, asItems.join(QLatin1Char(',')), pValue);
}

bool objectFromJson(EFieldType eType, const QJsonObject &object, CFieldValue *pValue)
{
    if (eType == EFieldType::TextMap) {
        CTextMap map;
        for (auto it = object.begin(); it != object.end(); ++it)
            map.insert(it.key(), scalarJsonText(it.value()));
        *pValue = map;
        return true;
    }
    if (eType != EFieldType::PositionFix)
        return false;
    CPositionFix fix;
    fix.adMeasures[0] = object.value(QLatin1String("latitude")).toDouble();
    fix.adMeasures[1] = object.value(QLatin1String("longitude")).toDouble();
    fix.adMeasures[2] = object.value(QLatin1String("altitude")).toDouble();
    // The receiver's counters and further measures, when a row gives them.
    const QJsonArray aCounters = object.value(QLatin1String("counters")).toArray();
    const QJsonArray aFurther = object.value(QLatin1String("further")).toArray();
    for (int i = 0; i < 3; ++i) {
        fix.aiCounters[i] = aCounters.at(i).toInt();
        fix.adFurther[i] = aFurther.at(i).toDouble();
    }
    if (object.contains(QLatin1String("time"))) {
        fix.dtStamp = dateTimeFromText(object.value(QLatin1String("time")).toString());
        if (!fix.dtStamp.isValid())
            return false;
    }
    *pValue = fix;
    return true;
}

} // namespace

bool fieldValueFromText(EFieldType eType, const QString &sText, CFieldValue *pValue)
{
    bool bOk = true;
    switch (eType) {
    case EFieldType::Int: *pValue = qint32(sText.trimmed().toInt(&bOk)); break;
    case EFieldType::Bool: *pValue = boolFromText(sText, &bOk); break;
    case EFieldType::Double: *pValue = sText.trimmed().toDouble(&bOk); break;
    case EFieldType::Int64: *pValue = qint64(sText.trimmed().toLongLong(&bOk)); break;
    case EFieldType::Text: *pValue = sText; break;
    case EFieldType::Bytes: {
        const QByteArray baHex = sText.trimmed().toLatin1();
        const QByteArray ba = QByteArray::fromHex(baHex);
        bOk = ba.toHex() == baHex.toLower();
        *pValue = ba;
        break;
    }
    case EFieldType::DateTime: {
        const QDateTime dt = dateTimeFromText(sText);
        bOk = dt.isValid();
        *pValue = dt;
        break;
    }
    case EFieldType::TextMap: {
        CTextMap map;
        for (const QString &sItem : listItems(sText)) {
            const int iEq = sItem.indexOf(QLatin1Char('='));
            bOk = bOk && iEq > 0;
            map.insert(sItem.left(iEq), sItem.mid(iEq + 1));
        }
        *pValue = map;
        break;
    }
    case EFieldType::TextList: *pValue = listItems(sText); break;
    case EFieldType::IntList: {
        QList<qint32> aValues;
        for (const QString &sItem : listItems(sText)) {
            bool bItemOk = false;
            aValues.append(sItem.trimmed().toInt(&bItemOk));
            bOk = bOk && bItemOk;
        }
        *pValue = aValues;
        break;
    }
    case EFieldType::PositionFix: {
        CPositionFix fix;
        bOk = positionFromParts(sText.split(QLatin1Char(',')), &fix);
        *pValue = fix;
        break;
    }
    }
    return bOk;
}

bool fieldValueFromJson(EFieldType eType, const QJsonValue &value, CFieldValue *pValue)
{
    if (value.isArray())
        return listFromJson(eType, value.toArray(), pValue);
    if (value.isObject())
        return objectFromJson(eType, value.toObject(), pValue);
    if (value.isUndefined() || value.isNull())
        return false;
    // A whole number for a double or a bool for a flag field reads naturally.
    if (value.isBool() && eType != EFieldType::Bool && eType != EFieldType::Text)
        return false;
    return fieldValueFromText(eType, scalarJsonText(value), pValue);
}

QString fieldValueText(const CFieldValue &value)
{
    return std::visit(
        [](const auto &v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, qint32> || std::is_same_v<T, qint64>)
                return QString::number(v);
            else if constexpr (std::is_same_v<T, bool>)
                return v ? QStringLiteral("true") : QStringLiteral("false");
            else if constexpr (std::is_same_v<T, double>)
                return QString::number(v, 'g', 17);
            else if constexpr (std::is_same_v<T, QString>)
                return v;
            else if constexpr (std::is_same_v<T, QByteArray>)
                return QString::fromLatin1(v.toHex());
            else if constexpr (std::is_same_v<T, QDateTime>)
                return v.toUTC().toString(Qt::ISODateWithMs);
            else if constexpr (std::is_same_v<T, CTextMap>) {
                QStringList as;
                for (auto it = v.begin(); it != v.end(); ++it)
                    as.append(it.key() + QLatin1Char('=') + it.value());
                as.sort();
                return as.join(QLatin1Char(','));
            } else if constexpr (std::is_same_v<T, QStringList>)
                return v.join(QLatin1Char(','));
            else if constexpr (std::is_same_v<T, QList<qint32>>)
                return joined(v, [](qint32 i) { return QString::number(i); });
            else
                return QString::number(v.latitude(), 'g', 17) + QLatin1Char(',')
                       + QString::number(v.longitude(), 'g', 17);
        },
        value);
}

QString fieldTypeName(EFieldType eType)
{
    static const char acLetters[] = "ibdlsytmanp";
    return QString(QLatin1Char(acLetters[int(eType)]));
}
