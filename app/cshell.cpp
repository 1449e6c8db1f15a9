#include "app/cshell.h"

#include <cstdlib>

CShell::~CShell() = default;

namespace {
CShell *g_pShell = nullptr;
}

CShell &CShell::instance()
{
    static CSystemShell systemShell;
    return g_pShell ? *g_pShell : systemShell;
}

void CShell::setInstance(CShell *pShell)
{
    g_pShell = pShell;
}

int CSystemShell::run(const QString &sCommand)
{
    return ::system(sCommand.toLocal8Bit().constData());
}

QString shellQuote(const QString &sValue)
{
    QString sQuoted = sValue;
    sQuoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + sQuoted + QLatin1Char('\'');
}
