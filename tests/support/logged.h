#pragma once

#include <QMutex>
#include <QStringList>

#include <algorithm>

// Every message the code under test logs, from any thread (install
// capture() with qInstallMessageHandler).
namespace logged
{
inline QMutex lock;
inline QList<QPair<QtMsgType, QString>> aLines;

inline void capture(QtMsgType eType, const QMessageLogContext &, const QString &sMessage)
{
    QMutexLocker locker(&lock);
    aLines.append({eType, sMessage});
}
inline void clear()
{
    QMutexLocker locker(&lock);
    aLines.clear();
}
// How many messages contain the text.
inline int count(const QString &sText)
{
    QMutexLocker locker(&lock);
    return int(
        std::count_if(aLines.cbegin(), aLines.cend(), [&](const auto &line) { return line.second.contains(sText); }));
}
// The warnings, a line each.
inline QString warnings()
{
    QMutexLocker locker(&lock);
    QString sWarnings;
    for (const auto &line : std::as_const(aLines))
        sWarnings += line.first == QtWarningMsg ? line.second + '\n' : QString();
    return sWarnings;
}
} // namespace logged
