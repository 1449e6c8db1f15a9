#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A file tree of the vehicle for one test program: $FTP_DATA_ROOT points
// into a temporary directory, so /var/log/FTL, /tmp and /var/lib/Tankora
// of the daemon land there and vanish with the test.
class CSandboxRoot
{
public:
    // False when no temporary directory could be made.
    bool start()
    {
        if (!m_dir.isValid())
            return false;
        qputenv("FTP_DATA_ROOT", m_dir.path().toLocal8Bit());
        return true;
    }
    QString root() const { return m_dir.path(); }
    // Where a vehicle path lies in the sandbox.
    QString path(const QString &sVehiclePath) const { return m_dir.path() + sVehiclePath; }
    // Removes a vehicle directory with all it holds, and makes it anew empty.
    bool freshDir(const QString &sVehiclePath) const
    {
        QDir(path(sVehiclePath)).removeRecursively();
        return QDir().mkpath(path(sVehiclePath));
    }
    bool removeDir(const QString &sVehiclePath) const { return QDir(path(sVehiclePath)).removeRecursively(); }

private:
    QTemporaryDir m_dir;
};

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &sPath)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
}
