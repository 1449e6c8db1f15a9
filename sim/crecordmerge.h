#pragma once

#include "records/crecord.h"

#include <QByteArray>
#include <QString>

// Reads a whole record from bytes that must hold exactly one record:
// REPLY_SUCCESS, VALIDATION_ERROR for short or overlong bytes,
// WRONG_TYPE_FOR_THIS_SET for an older record version.
int decodeRecordStrict(CRecord &record, const QByteArray &baBytes);

// What the service keeps after a writer sets a record: a plain record as
// written; a flagged record merged field by field over what was kept, since
// writers flag only the fields they own (the dial-up scripts the link state,
// the daemon its software version). The kept bytes carry every flag set, so
// a reader always receives the whole record. Returns the reply code.
int mergeRecordBytes(const QString &sRecordClass, const QByteArray &baStored, const QByteArray &baIncoming,
                     QByteArray *pbaMerged);
