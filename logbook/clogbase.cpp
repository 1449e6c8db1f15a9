#include "logbook/clogbase.h"

#include <QIODevice>

CLogBase::CLogBase(qint32 iLogType)
    : LogType(iLogType), DateTime(QDate(1, 1, 1), QTime(0, 0))
{
}

CLogBase::~CLogBase() = default;

void CLogBase::readHeader(QDataStream &stream)
{
    stream >> iVersion >> LogType >> LogSubType >> RowID >> SecondaryRowID >> DateTime >> Compartment >> AuxValue;
}

void CLogBase::writeHeader(QDataStream &stream) const
{
    stream << iVersion << LogType << LogSubType << RowID << SecondaryRowID << DateTime << Compartment << AuxValue;
}

void CLogBase::readRow(const QByteArray &baRow)
{
    QDataStream stream(baRow);
    prepareRecordStream(stream);
    readHeader(stream);
    // Logbook payloads are taken as they come: no version check.
    stream >> iPayloadVersion >> baReserve;
    readFields(stream);
}

QByteArray CLogBase::toRow() const
{
    QByteArray baRow;
    QDataStream stream(&baRow, QIODevice::WriteOnly);
    prepareRecordStream(stream);
    writeHeader(stream);
    stream << iPayloadVersion << baReserve;
    writeFields(stream);
    return baRow;
}

QByteArray CLogBase::fieldBytes(QByteArray &baBuffer) const
{
    baBuffer.clear();
    QDataStream stream(&baBuffer, QIODevice::WriteOnly);
    prepareRecordStream(stream);
    writeFields(stream);
    return baBuffer;
}

namespace {
// Reads the header as far as the row holds it; missing fields stay zero.
CLogBase headerOf(const QByteArray &baRow)
{
    CLogBase header;
    header.LogType = 0;
    header.LogSubType = 0;
    header.DateTime = QDateTime();
    QDataStream stream(baRow);
    prepareRecordStream(stream);
    header.readHeader(stream);
    return header;
}
} // namespace

namespace LogRow {
qint32 LogType(const QByteArray &baRow)
{
    return headerOf(baRow).LogType;
}

qint32 LogSubType(const QByteArray &baRow)
{
    return headerOf(baRow).LogSubType;
}

quint64 RowID(const QByteArray &baRow)
{
    return headerOf(baRow).RowID;
}

QDateTime DateTime(const QByteArray &baRow)
{
    return headerOf(baRow).DateTime;
}
} // namespace LogRow
