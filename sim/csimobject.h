#pragma once

#include <QByteArray>
#include <QObject>

class CSupervisor;
class CVehicleService;

// Test-only controls of the stand-in vehicle (/Sim), used by tankora-ctl:
// what on a vehicle the operator, the logbook writers and the supervisor do.
class CSimObject : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Sim")
public:
    CSimObject(CVehicleService *pService, CSupervisor *pSupervisor, QObject *pParent = nullptr);

public slots:
    // Row ID of the stored row, or a negative reply code.
    qlonglong addLogbookRow(const QByteArray &baRow);
    int offlineMode(int iSeconds);
    QString processNames();
    // Loads a vehicle profile file; an empty text on success, else the reason.
    QString loadProfile(const QString &sPath);
    // Answers iCount calls of an operation, after the next iSkip, with an
    // error or a stalled reply (sKind "error", "stall"), or clears its fault
    // ("clear"; an empty operation clears all). An empty text on success,
    // else the reason.
    QString setFault(const QString &sOperation, const QString &sKind, int iCount, int iSkip);

  private:
    CVehicleService *m_pService;
    CSupervisor *m_pSupervisor;
};
