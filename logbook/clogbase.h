#pragma once

#include "records/crecordstream.h"

#include <QByteArray>
#include <QDataStream>
#include <QDateTime>

// Readers that look into a logbook row without building an entry; each reads
// the header from the start of the row. A short row reads as zero.
namespace LogRow {
qint32 LogType(const QByteArray &baRow);
qint32 LogSubType(const QByteArray &baRow);
quint64 RowID(const QByteArray &baRow);
QDateTime DateTime(const QByteArray &baRow);
} // namespace LogRow

// The header every logbook row starts with, and what all entry classes share.
class CLogBase
{
public:
    explicit CLogBase(qint32 iLogType = 0);
    virtual ~CLogBase();

    virtual bool isWmEntry() const { return false; }
    virtual QByteArray wmData() const { return m_baPayload; }
    // The class's fields only: no header, no payload version, no reserve.
    virtual QByteArray payloadBytes() { return fieldBytes(m_baClassPayload); }

    void readHeader(QDataStream &stream);
    void writeHeader(QDataStream &stream) const;

    // The whole row: header, payload version, reserve, fields.
    QByteArray toRow() const;

    // Payload version of the class and its reserve, carried as read. A new
    // entry's reserve is empty (length 0), not absent.
    qint32 iPayloadVersion = 256;
    QByteArray baReserve = QByteArray(0, '\0');

    qint32 iVersion = 256;
    qint32 LogType = 0;
    qint32 LogSubType = -1;
    quint64 RowID = 0;
    quint64 SecondaryRowID = 0;
    QDateTime DateTime;
    qint32 Compartment = -1;
    qint32 AuxValue = 0;

protected:
    // Fills the entry from a row; subclasses call it from their row constructor.
    void readRow(const QByteArray &baRow);
    virtual void readFields(QDataStream &) {}
    virtual void writeFields(QDataStream &) const {}
    // The fields alone, into the class's payload buffer.
    QByteArray fieldBytes(QByteArray &baBuffer) const;

    QByteArray m_baPayload;

private:
    QByteArray m_baClassPayload;
};
