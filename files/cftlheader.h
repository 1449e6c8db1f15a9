#pragma once

#include <QString>
#include <QStringList>

class CFileSource;
class CSetProductWM;

// What the header of every FTL file says about the vehicle, with the values
// the back office gets when a setup cannot be read.
struct CFtlHeaderValues
{
    qint32 iNonWmValue1 = 0;
    qint32 DelvType = 0;
    bool bNonWmFlag1 = false;
    qint32 VehicleType = 6;
    qint32 DipStick = 0;
    qint32 iDelvSide = 0;
    qint32 iLoadSide = 0;
    qint32 iWetlegConf = 0;
    qint32 iNonWmValue2 = 0;
    bool bNonWmFlag2 = false;
    qint32 iNonWmValue3 = 0;
    qint32 iNonWmValue4 = 0;
    bool bLgmActive1 = false;

    QString sGeneralWmText11;
    QString sGeneralWmText12 = QStringLiteral("-------");
    QString sGeneralWmText28;
    qint32 iCompartmentCount = 0;
    qint32 iMeterCount = 0;

    bool bHasSealState = false; // only with the WM runtime
    qint32 iSealState = 0;
    QStringList asMeterValues;  // per meter: its text, or "0"
    QStringList asProductLines; // complete "90" lines without line end
};

// The stamp of the header: the second field of the first body line, or
// local now when there is no such field.
QString ftlHeaderStamp(const QString &sFirstLine, const QString &sLocalNow);
// The header lines, without line ends.
QStringList ftlHeaderLines(const QString &sStamp, const CFtlHeaderValues &values);
// "90,<stamp>,0,0,<value1>,<value3>.0,<dvalue1>,,<table>,0.0000"
QString ftlProductLine(const QString &sStamp, const CSetProductWM &product);
// The correction table of a product as the back office numbers it.
int ftlProductTable(qint32 iProductTable);

// Reads the header values from the service, with the defaults above for
// what cannot be read; the product lines carry sStamp.
CFtlHeaderValues readFtlHeaderValues(CFileSource &source, const QString &sStamp);
// The whole header text, "\r\n" after each line.
QByteArray ftlHeaderText(CFileSource &source, const QString &sFirstLine, const QString &sLocalNow);
