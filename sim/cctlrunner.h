#pragma once

#include "sim/cctlcommand.h"
#include "sim/cserviceoperations.h"

#include <QDBusConnection>
#include <QTextStream>

#include <memory>

class CRecord;

// Carries out one tankora-ctl command against the service on the bus, as
// any process of the vehicle would: records through the service's own get
// and set operations, with the tool's process id as writer.
class CCtlRunner
{
public:
    CCtlRunner(const QDBusConnection &connection, QTextStream &out, QTextStream &err);
    // Exit code: 0 done, 1 refused or failed, 2 timed out.
    int run(const CCtlCommand &command);

private:
    int runSet(const CCtlCommand &command);
    int runGet(const CCtlCommand &command, bool bWholeRecord);
    int runWaitFor(const CCtlCommand &command);
    int runTrigger(const CCtlCommand &command);
    int runGsmState(const CCtlCommand &command);
    int runAddRow(const CCtlCommand &command);
    int runTransferStatus(const CCtlCommand &command);
    int runFault(const CCtlCommand &command);
    int runSimCall(const QString &sMethod, const QVariantList &aArguments);

    const CServiceOperation *operationOf(const QString &sRecordClass);
    // The record as the service holds it now (defaults when it holds none),
    // every flag cleared so that a write carries only the fields set after.
    // With psError the failure is handed back instead of printed.
    std::unique_ptr<CRecord> currentRecord(const CServiceOperation &op, int iIndex, bool *pbOk,
                                           QString *psError = nullptr);
    // The command's record (its first word) and operation; null when either is missing.
    std::unique_ptr<CRecord> fetchRecord(const CCtlCommand &command, const CServiceOperation **ppOp);
    int writeRecord(const CServiceOperation &op, int iIndex, CRecord &record);
    int fail(const QString &sMessage);

    QDBusConnection m_connection;
    QTextStream &m_out;
    QTextStream &m_err;
};
