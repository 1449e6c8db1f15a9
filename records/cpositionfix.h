#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QDateTime>

// A GPS position as the vehicle's records and logbook rows carry it.
struct CPositionFix
{
    qint32 iVersion = 256;
    QDateTime dtStamp = QDateTime(QDate(1, 1, 1), QTime(0, 0));
    double adMeasures[3] = {0.0, 0.0, 0.0}; // latitude, longitude, third measure
    qint32 aiCounters[3] = {0, 0, 0};
    double adFurther[3] = {0.0, 0.0, 0.0};

    double latitude() const { return adMeasures[0]; }
    double longitude() const { return adMeasures[1]; }

    // Its members streamed in order; two fixes differ when these bytes differ.
    QByteArray serialized() const;
};

QDataStream &operator<<(QDataStream &stream, const CPositionFix &fix);
// Takes the version as it comes; a double that is not a number reads as 0.
QDataStream &operator>>(QDataStream &stream, CPositionFix &fix);
