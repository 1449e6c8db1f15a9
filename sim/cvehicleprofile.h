#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A vehicle described in JSON (format in sim/README.md): the records the
// service starts with and the logbook rows already written.
struct CProfileRecord
{
    QString sRecordClass;
    int iIndex = 0;
    QByteArray baBytes; // the record encoded with the given fields flagged
};

struct CVehicleProfile
{
    QList<CProfileRecord> aRecords;
    QList<QByteArray> aRows;
};

// False with the first problem found, naming the entry it is in.
bool parseVehicleProfile(const QByteArray &baJson, CVehicleProfile *pProfile, QString *psError);
