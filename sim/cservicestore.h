#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The two logbooks of the vehicle: tracking rows count their own row IDs.
enum class ELogBook { Main, Tracking };

// Storage of the stand-in service: records as byte arrays under their class
// name and index, logbook rows as the bytes their writers sent. SQLite, in a
// file or in memory (":memory:").
class CServiceStore
{
public:
    CServiceStore();
    ~CServiceStore();
    CServiceStore(const CServiceStore &) = delete;
    CServiceStore &operator=(const CServiceStore &) = delete;

    bool open(const QString &sPath, QString *psError);

    // Null when the record was never set.
    QByteArray record(const QString &sRecordClass, int iIndex) const;
    bool putRecord(const QString &sRecordClass, int iIndex, const QByteArray &baBytes);

    // Stores a row under the next row ID, written into the row's header
    // together with the time stamp when one is given. The row ID, or -1 when
    // the row has no readable header or cannot be stored.
    qint64 appendRow(ELogBook eBook, const QByteArray &baRow, const QDateTime &dtStamp = QDateTime());
    // The first row in row-ID order with an ID of at least llStartRowID and
    // a time stamp not before dtStart; a dtStart of year 1 or earlier, or an
    // invalid one, sets no time limit. Empty when none is left.
    QByteArray firstRow(ELogBook eBook, qint64 llStartRowID, const QDateTime &dtStart) const;

private:
    bool exec(const QString &sStatement, QString *psError);
    QString m_sConnection;
};
