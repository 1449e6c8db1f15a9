#pragma once

#include <QDebug>

// Every message of a module starts "File: <module> Line: <n>: " so that a
// line in the vehicle's log leads straight to its source.
#define MODULE_DEBUG(sModule) qDebug() << "File: " sModule " Line: " << __LINE__ << ": "
#define MODULE_WARNING(sModule) qWarning() << "File: " sModule " Line: " << __LINE__ << ": "
