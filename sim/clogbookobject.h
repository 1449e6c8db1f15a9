#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QObject>

#include <functional>

class CVehicleService;

// The service's /Logbook object: row queries by filter and the GSM/FTP
// entries the daemon adds.
class CLogbookObject : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.Velkor.Tankora.Logbook")
public:
    explicit CLogbookObject(CVehicleService *pService, QObject *pParent = nullptr);

public slots:
    QByteArray getLogbook(const QByteArray &aFilter);
    QByteArray getLogbookDataTracking(const QByteArray &aFilter);
    int setLogbookGsmFtp(int iProcess, const QByteArray &data);

signals:
    void sigLogbookGsmFtp(int iProcess);

private:
    // The slot's value as the fault plan lets it out (QtDBus then sends nothing itself).
    template <typename T> T answered(const std::function<T()> &fnValue);
    int storeGsmFtpRow(int iProcess, const QByteArray &data);

    CVehicleService *m_pService;
};
