#include "sim/clogrowbuilder.h"

#include "logbook/clogbase.h"
#include "records/crecordlayout.h"
#include "sim/cfieldtext.h"

#include <QHash>
#include <QIODevice>

namespace {

template <typename TList, typename FConvert>
bool convertPayload(const QString &sKinds, const TList &aValues, QVector<CFieldValue> *paPayload, QString *psError,
                    FConvert convert)
{
    const QVector<EFieldType> aeTypes = parseFieldTypes(sKinds.toLatin1().constData());
    if (aeTypes.isEmpty() && !sKinds.trimmed().isEmpty()) {
        *psError = QStringLiteral("unknown payload kinds \"%1\"").arg(sKinds);
        return false;
    }
    if (aeTypes.size() != aValues.size()) {
        *psError = QStringLiteral("payload needs %1 values (%2), got %3")
                       .arg(aeTypes.size())
                       .arg(sKinds)
                       .arg(aValues.size());
        return false;
    }
    paPayload->clear();
    for (int i = 0; i < aeTypes.size(); ++i) {
        CFieldValue value;
        if (!convert(aeTypes[i], aValues[i], &value)) {
            *psError = QStringLiteral("payload value %1 is not of kind %2").arg(i + 1).arg(fieldTypeName(aeTypes[i]));
            return false;
        }
        paPayload->append(value);
    }
    return true;
}

} // namespace

QString payloadKinds(qint32 iLogType)
{
    static const QHash<qint32, QString> hKinds = {
        {LOGTYPE_TRACKING, QStringLiteral("p b")}, {3, QStringLiteral("4i 2s 4i")}, {4, QStringLiteral("3d s")},
        {6, QStringLiteral("p")},        {7, QString()},                    {8, QStringLiteral("s")},
        {11, QStringLiteral("i")},          {12, QStringLiteral("4i 2s t")},
        {17, QStringLiteral("2s")},      {19, QStringLiteral("i")},         {20, QStringLiteral("2s i s i")},
        {23, QStringLiteral("s i 3d i")},
    };
    return hKinds.value(iLogType);
}

bool payloadFromTexts(const QString &sKinds, const QStringList &asValues, QVector<CFieldValue> *paPayload,
                      QString *psError)
{
    return convertPayload(sKinds, asValues, paPayload, psError,
                          [](EFieldType eType, const QString &s, CFieldValue *p) {
                              return fieldValueFromText(eType, s, p);
                          });
}

bool payloadFromJson(const QString &sKinds, const QJsonArray &aValues, QVector<CFieldValue> *paPayload,
                     QString *psError)
{
    return convertPayload(sKinds, aValues, paPayload, psError,
                          [](EFieldType eType, const QJsonValue &v, CFieldValue *p) {
                              return fieldValueFromJson(eType, v, p);
                          });
}

QByteArray buildLogRow(const CLogRowParts &oParts)
{
    CLogBase header(oParts.LogType);
    header.LogSubType = oParts.LogSubType;
    header.Compartment = oParts.Compartment;
    header.AuxValue = oParts.AuxValue;
    if (oParts.DateTime.isValid())
        header.DateTime = oParts.DateTime;
    const bool bTracking = oParts.LogType == LOGTYPE_TRACKING;
    QByteArray baRow;
    QDataStream stream(&baRow, QIODevice::WriteOnly);
    prepareRecordStream(stream);
    header.writeHeader(stream);
    // Tracking rows have their own payload version and a full reserve.
    stream << qint32(bTracking ? 1 : 256) << (bTracking ? QByteArray(32, '\0') : QByteArray());
    for (const CFieldValue &value : oParts.aPayload)
        writeFieldValue(stream, value);
    for (const QByteArray &baRecord : oParts.aEmbedded)
        stream.writeRawData(baRecord.constData(), int(baRecord.size()));
    return baRow;
}
