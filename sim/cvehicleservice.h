#pragma once

#include "sim/cfaultplan.h"
#include "sim/cserviceoperations.h"
#include "sim/cservicestore.h"
#include "sim/cvehicleprofile.h"

#include <QDBusConnection>
#include <QObject>

// What every bus object of the stand-in service calls: records and logbook
// rows kept in the store, and the change signal after each write.
class CVehicleService : public QObject
{
    Q_OBJECT
public:
    explicit CVehicleService(const QDBusConnection &connection, QObject *pParent = nullptr);

    bool open(const QString &sDatabase, QString *psError);
    CServiceStore &store() { return m_store; }
    CFaultPlan &faults() { return m_faults; }

    QByteArray getRecord(const CServiceOperation &op, int iIndex) const;
    // Merges, stores and announces the record; the reply code of the set.
    int setRecord(const CServiceOperation &op, int iIndex, int iProcess, const QByteArray &baBytes);
    // The same without a change signal, for loading a vehicle profile.
    int storeRecord(const CServiceOperation &op, int iIndex, const QByteArray &baBytes);

    // Records and rows of a vehicle profile, without change signals; false
    // with the first record or row the service refused.
    bool loadProfile(const CVehicleProfile &profile, QString *psError);

    // The logbook query of a filter record; empty for none left or a bad filter.
    QByteArray firstRow(ELogBook eBook, const QByteArray &baFilter) const;
    // The product whose index is the filter's start row ID.
    QByteArray product(const QByteArray &baFilter) const;
    // Row ID of the added row, or a negative reply code.
    qint64 addRow(const QByteArray &baRow, bool bStampNow);

    void emitChange(const CServiceOperation &op, int iProcess, int iIndex);
    void emitBusSignal(const QString &sPath, const QString &sInterface, const QString &sName,
                       const QVariantList &aArguments);

private:
    bool filterStartOf(const QByteArray &baFilter, qint64 *pllStart, QDateTime *pdtStart) const;

    QDBusConnection m_connection;
    CServiceStore m_store;
    CFaultPlan m_faults;
};
