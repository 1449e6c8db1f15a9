#pragma once

#include "logbook/clogbase.h"

#include <QByteArray>
#include <QDateTime>

// The header of a stored logbook row; false when the bytes are too short
// to hold one.
bool readRowHeader(const QByteArray &baRow, CLogBase *pHeader);

// The row with its header's RowID replaced, and its time stamp when one is
// given; the payload after the header is kept byte for byte. Empty when the
// row has no complete header.
QByteArray rewriteRowHeader(const QByteArray &baRow, qint64 llRowID, const QDateTime &dtStamp = QDateTime());
