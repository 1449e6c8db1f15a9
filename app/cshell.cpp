#include "app/cshell.h"

#include "app/cseam.h"

#include <cstdlib>

CShell::~CShell() = default;

CShell &CShell::instance()
{
    return CSeam<CShell, CSystemShell>::instance();
}

void CShell::setInstance(CShell *pShell)
{
    CSeam<CShell, CSystemShell>::install(pShell);
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
