#pragma once

#include <QByteArray>
#include <QObject>

class CVehicleService;

// The service's /Logbook object: row queries by filter and the GSM/FTP
// entries the daemon adds.
class CLogbookObject : public QObject
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
    CVehicleService *m_pService;
};
