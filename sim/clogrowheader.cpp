#include "sim/clogrowheader.h"

#include <QBuffer>
#include <QIODevice>

namespace {
// Header read from the row; the stream position tells where the payload starts.
bool readHeaderAt(QDataStream &stream, CLogBase *pHeader)
{
    prepareRecordStream(stream);
    pHeader->readHeader(stream);
    return stream.status() == QDataStream::Ok;
}
} // namespace

bool readRowHeader(const QByteArray &baRow, CLogBase *pHeader)
{
    QDataStream stream(baRow);
    return readHeaderAt(stream, pHeader);
}

QByteArray rewriteRowHeader(const QByteArray &baRow, qint64 llRowID, const QDateTime &dtStamp)
{
    QBuffer buffer;
    buffer.setData(baRow);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    CLogBase header;
    if (!readHeaderAt(in, &header))
        return QByteArray();
    const QByteArray baPayload = baRow.mid(int(buffer.pos()));
    header.RowID = quint64(llRowID);
    if (dtStamp.isValid())
        header.DateTime = dtStamp;
    QByteArray baOut;
    QDataStream out(&baOut, QIODevice::WriteOnly);
    prepareRecordStream(out);
    header.writeHeader(out);
    return baOut + baPayload;
}
