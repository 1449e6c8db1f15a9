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
    bool start() { return m_dir.isValid() && qputenv("FTP_DATA_ROOT", m_dir.path().toLocal8Bit()); }
    // Where a vehicle path lies in the sandbox.
    QString path(const QString &sVehiclePath) const { return m_dir.path() + sVehiclePath; }
    // Removes a vehicle directory with all it holds; fresh: makes it anew, empty.
    bool removeDir(const QString &sVehiclePath) const { return QDir(path(sVehiclePath)).removeRecursively(); }
    bool freshDir(const QString &sVehiclePath) const
    {
        return removeDir(sVehiclePath) && QDir().mkpath(path(sVehiclePath));
    }

  private:
    QTemporaryDir m_dir;
};

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

// A whole file as a test expects it, without the "#" lines that head it.
inline QByteArray goldenBytes(const QString &sPath)
{
    QByteArray baBytes = fileBytes(sPath);
    while (baBytes.startsWith('#'))
        baBytes.remove(0, baBytes.indexOf('\n') + 1);
    return baBytes;
}
