#pragma once

#include <QDataStream>

// A record stream as the database service writes it: big-endian, the byte
// layout of stream version 12.
void prepareRecordStream(QDataStream &stream);
