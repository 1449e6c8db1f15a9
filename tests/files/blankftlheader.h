#pragma once

#include <QByteArray>
#include <QString>

// The FTL header of a vehicle with blank setups and no WM runtime, as every
// event, level, meter and header-only test file of these tests starts.
inline QByteArray blankFtlHeader(const QString &sTs)
{
    return QStringLiteral("0,%1,1.00\r\n"
                          "1,%1,K.L. Ostrem,Tankora,,,,,1\r\n"
                          "2,%1,0,,\r\n"
                          "6,%1,,0,0,0,0,0,0,0,0,,,,,,,,,,,0,0,0,0\r\n"
                          "91,%1,1\r\n"
                          "92,%1,1\r\n")
        .arg(sTs)
        .toLatin1();
}
