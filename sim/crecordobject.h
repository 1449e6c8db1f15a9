#pragma once

#include "sim/cserviceoperations.h"

#include <QDBusVirtualObject>

class CVehicleService;

// One record object of the service (/SetupData, /RuntimeData,
// /RuntimeData_WM): answers every get and set of its operation table.
class CRecordObject : public QDBusVirtualObject
{
    Q_OBJECT
public:
    CRecordObject(EServiceObject eObject, CVehicleService *pService, QObject *pParent = nullptr);

    QString introspect(const QString &sPath) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QDBusMessage answer(const QDBusMessage &message, const CServiceOperation &op, bool bIsGet);

    EServiceObject m_eObject;
    CVehicleService *m_pService;
};
