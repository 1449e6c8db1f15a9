#include "sim/crecordmerge.h"

#include "records/crecordregistry.h"
#include "records/crecordstream.h"
#include "records/creplycode.h"
#include "sim/csimreply.h"

int decodeRecordStrict(CRecord &record, const QByteArray &baBytes)
{
    QDataStream stream(baBytes);
    prepareRecordStream(stream);
    const bool bTaken = record.readFrom(stream);
    if (stream.status() != QDataStream::Ok)
        return SimReply::VALIDATION_ERROR;
    // An older record is not read past its version.
    if (!bTaken)
        return SimReply::WRONG_TYPE_FOR_THIS_SET;
    return stream.atEnd() ? REPLY_SUCCESS : SimReply::VALIDATION_ERROR;
}

int mergeRecordBytes(const QString &sRecordClass, const QByteArray &baStored, const QByteArray &baIncoming,
                     QByteArray *pbaMerged)
{
    std::unique_ptr<CRecord> pRecord = makeRecord(sRecordClass);
    if (!pRecord)
        return SimReply::PARAMETER_ERROR;
    if (!baStored.isEmpty())
        pRecord->fromByteArray(baStored);
    const int iResult = decodeRecordStrict(*pRecord, baIncoming);
    if (iResult != REPLY_SUCCESS)
        return iResult;
    pRecord->setAllFlags(true);
    *pbaMerged = pRecord->toByteArray();
    return REPLY_SUCCESS;
}
