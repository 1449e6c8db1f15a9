#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// One tankora-ctl command line, parsed but not yet checked against the
// records. Options (--index N, --timeout MS, --skip N, --kinds K) may stand anywhere;
// every other word is positional, so negative numbers need no escaping.
struct CCtlCommand
{
    QString sCommand;
    QStringList asArgs; // positional words after the command
    int iIndex = 0;
    int iTimeoutMs = 10000;
    int iSkip = 0;  // calls a fault lets pass before it begins
    QString sKinds; // payload kinds of add-row; empty: those of the entry type
};

// False with a reason for an unknown command, a missing option value or a
// wrong number of words.
bool parseCtlCommand(const QStringList &asWords, CCtlCommand *pCommand, QString *psError);

// Field/value pairs of "set CLASS FIELD VALUE [FIELD VALUE ...]".
bool parseFieldPairs(const QStringList &asWords, QList<QPair<int, QString>> *paPairs, QString *psError);

// Field number of a transfer request: its record name (bStartInfoFileTransfer)
// or its short name (info); 0 when unknown.
int triggerField(const QString &sName);
// Status group of CRunFtpTransferStatus by name (gps, event, log, test,
// info, update); -1 when unknown.
int transferGroup(const QString &sName);

QString ctlUsage();
