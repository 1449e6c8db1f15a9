#pragma once

#include "app/cshell.h"

#include <QStringList>

// The shell as the daemon sees it: every command is kept, none is run.
class CRecordingShell : public CShell
{
public:
    int run(const QString &sCommand) override
    {
        asCommands << sCommand;
        return 0;
    }
    QStringList asCommands;
};
