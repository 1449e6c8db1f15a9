#pragma once

#include <QString>

// Shell commands (pppd, killall, the FTP and LT clients) go through here so
// that tests can capture them and script their exit status.
class CShell
{
public:
    virtual ~CShell();
    // Runs the command through /bin/sh and returns system()'s status.
    virtual int run(const QString &sCommand) = 0;

    static CShell &instance();
    // Takes no ownership; nullptr restores the system shell.
    static void setInstance(CShell *pShell);
};

class CSystemShell : public CShell
{
public:
    int run(const QString &sCommand) override;
};

// A value placed into a command line as one word that the shell never
// interprets: 'it'\''s' style single quoting.
QString shellQuote(const QString &sValue);
