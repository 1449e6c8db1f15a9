#include "sim/cservicestore.h"

#include "sim/clogrowheader.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

// Off unless asked for (QT_LOGGING_RULES="tankora.rows.debug=true"): the
// soak proves from it that the progress passed no row unread.
Q_LOGGING_CATEGORY(lcServedRows, "tankora.rows", QtInfoMsg)

namespace {

QString tableOf(ELogBook eBook)
{
    return eBook == ELogBook::Tracking ? QStringLiteral("tracking") : QStringLiteral("logbook");
}

// Comparable time stamp; a row without one sorts before every window.
qint64 stampOf(const QDateTime &dt)
{
    return dt.isValid() ? dt.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

bool runLogged(QSqlQuery &query)
{
    if (query.exec())
        return true;
    qWarning() << "tankora-service: SQL failed:" << query.lastError().text();
    return false;
}

} // namespace

CServiceStore::CServiceStore()
    : m_sConnection(QStringLiteral("tankora-store-%1").arg(quintptr(this), 0, 16))
{
}

CServiceStore::~CServiceStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_sConnection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_sConnection);
}

bool CServiceStore::open(const QString &sPath, QString *psError)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_sConnection);
    db.setDatabaseName(sPath);
    if (!db.open()) {
        *psError = db.lastError().text();
        return false;
    }
    // A real service's store survives a power cut: every commit is on the
    // disk, the journal's removal included, before the reply goes out.
    return exec(QStringLiteral("PRAGMA synchronous=EXTRA"), psError)
           && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS records (name TEXT NOT NULL, idx INTEGER NOT NULL, "
                               "data BLOB NOT NULL, PRIMARY KEY (name, idx))"),
                psError)
           && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS logbook (id INTEGER PRIMARY KEY, stamp INTEGER, "
                                  "data BLOB NOT NULL)"),
                   psError)
           && exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tracking (id INTEGER PRIMARY KEY, stamp INTEGER, "
                                  "data BLOB NOT NULL)"),
                   psError);
}

bool CServiceStore::exec(const QString &sStatement, QString *psError)
{
    QSqlQuery query(QSqlDatabase::database(m_sConnection));
    if (query.exec(sStatement))
        return true;
    *psError = query.lastError().text();
    return false;
}

QByteArray CServiceStore::record(const QString &sRecordClass, int iIndex) const
{
    QSqlQuery query(QSqlDatabase::database(m_sConnection));
    query.prepare(QStringLiteral("SELECT data FROM records WHERE name = ? AND idx = ?"));
    query.addBindValue(sRecordClass);
    query.addBindValue(iIndex);
    if (!runLogged(query) || !query.next())
        return QByteArray();
    return query.value(0).toByteArray();
}

bool CServiceStore::putRecord(const QString &sRecordClass, int iIndex, const QByteArray &baBytes)
{
    QSqlQuery query(QSqlDatabase::database(m_sConnection));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO records (name, idx, data) VALUES (?, ?, ?)"));
    query.addBindValue(sRecordClass);
    query.addBindValue(iIndex);
    query.addBindValue(baBytes);
    return runLogged(query);
}

qint64 CServiceStore::appendRow(ELogBook eBook, const QByteArray &baRow, const QDateTime &dtStamp)
{
    QSqlQuery next(QSqlDatabase::database(m_sConnection));
    next.prepare(QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM ") + tableOf(eBook));
    if (!runLogged(next) || !next.next())
        return -1;
    const qint64 llRowID = next.value(0).toLongLong();
    const QByteArray baStored = rewriteRowHeader(baRow, llRowID, dtStamp);
    CLogBase header;
    if (baStored.isEmpty() || !readRowHeader(baStored, &header))
        return -1;
    QSqlQuery insert(QSqlDatabase::database(m_sConnection));
    insert.prepare(QStringLiteral("INSERT INTO ") + tableOf(eBook)
                   + QStringLiteral(" (id, stamp, data) VALUES (?, ?, ?)"));
    insert.addBindValue(llRowID);
    insert.addBindValue(stampOf(header.DateTime));
    insert.addBindValue(baStored);
    return runLogged(insert) ? llRowID : -1;
}

QByteArray CServiceStore::firstRow(ELogBook eBook, qint64 llStartRowID, const QDateTime &dtStart) const
{
    const bool bTimeLimit = dtStart.isValid() && dtStart.date().year() > 1;
    QSqlQuery query(QSqlDatabase::database(m_sConnection));
    query.prepare(QStringLiteral("SELECT id, data FROM ") + tableOf(eBook) + QStringLiteral(" WHERE id >= ?")
                  + (bTimeLimit ? QStringLiteral(" AND stamp >= ?") : QString())
                  + QStringLiteral(" ORDER BY id LIMIT 1"));
    query.addBindValue(llStartRowID);
    if (bTimeLimit)
        query.addBindValue(stampOf(dtStart));
    if (!runLogged(query) || !query.next())
        return QByteArray();
    // Only reads by row ID move the progress; a time window's reads would
    // hide a row those passed over.
    if (!bTimeLimit)
        qCDebug(lcServedRows).noquote() << "tankora-service: served" << tableOf(eBook) << "row"
                                        << query.value(0).toLongLong();
    return query.value(1).toByteArray();
}
