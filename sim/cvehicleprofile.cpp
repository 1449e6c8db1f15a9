#include "sim/cvehicleprofile.h"

#include "records/crecordregistry.h"
#include "sim/clogrowbuilder.h"
#include "sim/cfieldtext.h"
#include "sim/crecordfields.h"
#include "sim/cserviceoperations.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// {"record": CLASS, "fields": {...}} as the bytes of that record.
bool recordBytes(const QJsonObject &entry, bool bKeptByService, QByteArray *pbaBytes, QString *psError)
{
    const QString sClass = entry.value(QLatin1String("record")).toString();
    std::unique_ptr<CRecord> pCodec = makeRecord(sClass);
    if (!pCodec || (bKeptByService && !findOperationByRecord(sClass))) {
        *psError = QStringLiteral("\"%1\" is not a record the service keeps").arg(sClass);
        return false;
    }
    const QJsonObject fields = entry.value(QLatin1String("fields")).toObject();
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        bool bNumber = false;
        const int iField = it.key().toInt(&bNumber);
        QString sReason;
        if (!bNumber || !setFieldFromJson(*pCodec, iField, it.value(), &sReason)) {
            *psError = QStringLiteral("%1 field \"%2\": %3")
                           .arg(sClass, it.key(), bNumber ? sReason : QStringLiteral("not a number"));
            return false;
        }
    }
    *pbaBytes = pCodec->toByteArray();
    return true;
}

bool parseRecord(const QJsonObject &entry, CProfileRecord *pRecord, QString *psError)
{
    pRecord->sRecordClass = entry.value(QLatin1String("record")).toString();
    pRecord->iIndex = entry.value(QLatin1String("index")).toInt(0);
    return recordBytes(entry, true, &pRecord->baBytes, psError);
}

bool parseRow(const QJsonObject &entry, QByteArray *pbaRow, QString *psError)
{
    CLogRowParts oParts;
    oParts.LogType = entry.value(QLatin1String("type")).toInt();
    oParts.LogSubType = entry.value(QLatin1String("subtype")).toInt(-1);
    oParts.Compartment = entry.value(QLatin1String("compartment")).toInt(-1);
    oParts.AuxValue = entry.value(QLatin1String("aux")).toInt(0);
    CFieldValue stamp;
    if (entry.contains(QLatin1String("time"))) {
        if (!fieldValueFromJson(EFieldType::DateTime, entry.value(QLatin1String("time")), &stamp)) {
            *psError = QStringLiteral("time is not an ISO 8601 date-time");
            return false;
        }
        oParts.DateTime = std::get<QDateTime>(stamp);
    }
    const QString sKinds = entry.value(QLatin1String("kinds")).toString(payloadKinds(oParts.LogType));
    const QJsonArray aPayload = entry.value(QLatin1String("payload")).toArray();
    if (!payloadFromJson(sKinds, aPayload, &oParts.aPayload, psError))
        return false;
    for (const QJsonValue &embedded : entry.value(QLatin1String("records")).toArray()) {
        QByteArray baRecord;
        if (!recordBytes(embedded.toObject(), false, &baRecord, psError))
            return false;
        oParts.aEmbedded.append(baRecord);
    }
    *pbaRow = buildLogRow(oParts);
    return true;
}

template <typename T, typename FParse>
bool parseList(const QJsonArray &array, const char *pszWhat, QList<T> *pList, QString *psError, FParse parse)
{
    for (int i = 0; i < array.size(); ++i) {
        T item{};
        QString sReason;
        if (!array[i].isObject() || !parse(array[i].toObject(), &item, &sReason)) {
            *psError = QStringLiteral("%1 entry %2: %3")
                           .arg(QLatin1String(pszWhat))
                           .arg(i + 1)
                           .arg(array[i].isObject() ? sReason : QStringLiteral("not an object"));
            return false;
        }
        pList->append(item);
    }
    return true;
}

} // namespace

bool parseVehicleProfile(const QByteArray &baJson, CVehicleProfile *pProfile, QString *psError)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(baJson, &error);
    if (!document.isObject()) {
        *psError = error.error != QJsonParseError::NoError ? error.errorString()
                                                             : QStringLiteral("a profile is one JSON object");
        return false;
    }
    const QJsonObject root = document.object();
    return parseList(root.value(QLatin1String("records")).toArray(), "records", &pProfile->aRecords, psError,
                     parseRecord)
           && parseList(root.value(QLatin1String("logbook")).toArray(), "logbook", &pProfile->aRows, psError,
                        parseRow);
}
