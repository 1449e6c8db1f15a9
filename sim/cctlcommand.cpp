#include "sim/cctlcommand.h"

#include "records/ccommrecords.h"

#include <QHash>

namespace {

struct CCommandShape
{
    int iMinArgs;
    int iMaxArgs; // -1: any number
};

const QHash<QString, CCommandShape> &commandShapes()
{
    static const QHash<QString, CCommandShape> hShapes = {
        {QStringLiteral("set"), {3, -1}},
        {QStringLiteral("get"), {2, 2}},
        {QStringLiteral("dump"), {1, 1}},
        {QStringLiteral("wait-for"), {3, 3}},
        {QStringLiteral("trigger"), {1, -1}},
        {QStringLiteral("offline"), {1, 1}},
        {QStringLiteral("gsm-state"), {0, 2}},
        {QStringLiteral("add-row"), {4, -1}},
        {QStringLiteral("transfer-status"), {2, 5}},
        {QStringLiteral("processes"), {0, 0}},
        {QStringLiteral("load"), {1, 1}},
        {QStringLiteral("fault"), {1, 3}},
    };
    return hShapes;
}

bool takeIntOption(const QStringList &asWords, int *pi, int *piValue, QString *psError)
{
    bool bOk = false;
    if (*pi + 1 < asWords.size())
        *piValue = asWords[*pi + 1].toInt(&bOk);
    if (!bOk) {
        *psError = asWords[*pi] + QStringLiteral(" needs a number");
        return false;
    }
    ++*pi;
    return true;
}

} // namespace

bool parseCtlCommand(const QStringList &asWords, CCtlCommand *pCommand, QString *psError)
{
    QStringList asPositional;
    for (int i = 0; i < asWords.size(); ++i) {
        const QString &sWord = asWords[i];
        if (sWord == QLatin1String("--index")) {
            if (!takeIntOption(asWords, &i, &pCommand->iIndex, psError))
                return false;
        } else if (sWord == QLatin1String("--timeout")) {
            if (!takeIntOption(asWords, &i, &pCommand->iTimeoutMs, psError))
                return false;
        } else if (sWord == QLatin1String("--skip")) {
            if (!takeIntOption(asWords, &i, &pCommand->iSkip, psError))
                return false;
        } else if (sWord == QLatin1String("--kinds") && i + 1 < asWords.size()) {
            pCommand->sKinds = asWords[++i];
        } else if (sWord.startsWith(QLatin1String("--"))) {
            *psError = QStringLiteral("unknown option ") + sWord;
            return false;
        } else {
            asPositional.append(sWord);
        }
    }
    if (asPositional.isEmpty()) {
        *psError = QStringLiteral("no command given");
        return false;
    }
    pCommand->sCommand = asPositional.takeFirst();
    pCommand->asArgs = asPositional;
    const auto it = commandShapes().constFind(pCommand->sCommand);
    if (it == commandShapes().constEnd()) {
        *psError = QStringLiteral("unknown command ") + pCommand->sCommand;
        return false;
    }
    const int iCount = asPositional.size();
    if (iCount < it->iMinArgs || (it->iMaxArgs >= 0 && iCount > it->iMaxArgs)) {
        *psError = QStringLiteral("wrong number of arguments for ") + pCommand->sCommand;
        return false;
    }
    return true;
}

bool parseFieldPairs(const QStringList &asWords, QList<QPair<int, QString>> *paPairs, QString *psError)
{
    if (asWords.isEmpty() || asWords.size() % 2 != 0) {
        *psError = QStringLiteral("fields come as pairs of field number and value");
        return false;
    }
    for (int i = 0; i < asWords.size(); i += 2) {
        bool bOk = false;
        const int iField = asWords[i].toInt(&bOk);
        if (!bOk || iField < 1) {
            *psError = QStringLiteral("\"%1\" is not a field number").arg(asWords[i]);
            return false;
        }
        paPairs->append({iField, asWords[i + 1]});
    }
    return true;
}

int triggerField(const QString &sName)
{
    using T = CRunTriggerFtpTransfer;
    static const QList<std::tuple<const char *, const char *, int>> aTriggers = {
        {"bStartGpsFileTransfer", "gps", T::bStartGpsFileTransfer},
        {"bStartManEventFileTransfer", "man-event", T::bStartManEventFileTransfer},
        {"bStartAutoEventFileTransfer", "auto-event", T::bStartAutoEventFileTransfer},
        {"bStartLogFileTransfer", "log", T::bStartLogFileTransfer},
        {"bStartSwUpdate", "sw-update", T::bStartSwUpdate},
        {"bStartDataTestFileTransfer", "data-test", T::bStartDataTestFileTransfer},
        {"bStartServiceTestFileTransfer", "service-test", T::bStartServiceTestFileTransfer},
        {"bStartUpdateTestFileTransfer", "update-test", T::bStartUpdateTestFileTransfer},
        {"bStartInfoFileTransfer", "info", T::bStartInfoFileTransfer},
    };
    for (const auto &[pszField, pszShort, iField] : aTriggers) {
        if (sName == QLatin1String(pszField) || sName == QLatin1String(pszShort))
            return iField;
    }
    return 0;
}

int transferGroup(const QString &sName)
{
    static const QStringList asGroups = {QStringLiteral("gps"),  QStringLiteral("event"), QStringLiteral("log"),
                                         QStringLiteral("test"), QStringLiteral("info"),  QStringLiteral("update")};
    return int(asGroups.indexOf(sName));
}

QString ctlUsage()
{
    return QStringLiteral(
        "usage: tankora-ctl COMMAND [ARGS] [--index N] [--timeout MS] [--skip N] [--kinds K]\n"
        "       tankora-ctl --serve                  one command per line of stdin, one connection\n"
        "  set CLASS FIELD VALUE [FIELD VALUE ...]   write record fields\n"
        "  get CLASS FIELD                           print one field\n"
        "  dump CLASS                                print every field\n"
        "  wait-for CLASS FIELD VALUE                wait until the field holds VALUE\n"
        "  trigger NAME [NAME ...]                   raise transfer requests (gps, man-event,\n"
        "                                            auto-event, log, sw-update, data-test,\n"
        "                                            service-test, update-test, info)\n"
        "  offline SECONDS                           ask every process for an offline period\n"
        "  gsm-state [STATE [MODULE]]                print or publish the GSM module state\n"
        "  add-row TYPE SUBTYPE COMPARTMENT TIME [VALUE ...]  add a logbook row\n"
        "  transfer-status GROUP STATE [SENT TOTAL [FILE]]    publish an FTP transfer state\n"
        "  processes                                 processes that told the supervisor their name\n"
        "  load PROFILE                              load a vehicle profile\n"
        "  fault OPERATION KIND [COUNT] [--skip N]   after N calls (default 0), answer the next\n"
        "                                            COUNT (default 1) with an error, after the\n"
        "                                            caller's time-out (stall), an empty byte\n"
        "                                            array or a failure code (refuse)\n"
        "  fault [OPERATION] clear                   clear the fault of one or every operation\n");
}
