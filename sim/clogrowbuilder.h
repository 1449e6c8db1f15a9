#pragma once

#include "records/cfieldvalue.h"

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>
#include <QVector>

// A logbook row as a vehicle profile or tankora-ctl describes it.
struct CLogRowParts
{
    qint32 LogType = 0;
    qint32 LogSubType = -1;
    qint32 Compartment = -1;
    qint32 AuxValue = 0;
    QDateTime DateTime; // UTC
    QVector<CFieldValue> aPayload;
    // Whole records after the payload fields (level-volume and seal
    // entries embed them), each as the record writes itself.
    QVector<QByteArray> aEmbedded;
};

// Logbook type of the tracking rows, which the service keeps apart.
constexpr qint32 LOGTYPE_TRACKING = 1;

// Payload field kinds of an entry type in the layout notation of
// records/crecordlayout.h ("4i 2s 4i" for COP); empty for a type whose
// payload is nothing but embedded records.
QString payloadKinds(qint32 iLogType);

// Payload values converted to the kinds, one value per kind; false with a
// reason when the count or a value does not fit.
bool payloadFromTexts(const QString &sKinds, const QStringList &asValues, QVector<CFieldValue> *paPayload,
                      QString *psError);
bool payloadFromJson(const QString &sKinds, const QJsonArray &aValues, QVector<CFieldValue> *paPayload,
                     QString *psError);

// Header, payload version, reserve and fields, as the service stores a row.
QByteArray buildLogRow(const CLogRowParts &oParts);
