#include "logbook/cloglevelvolume.h"

#include "logbook/cftlline.h"
#include "logbook/clogtypes.h"

namespace {
// Compartments are 0..99; 100, 101 and 102 are the three metering positions.
constexpr qint32 FIRST_METERING_POSITION = 100;

// The back office's unit column for the meter's unit code.
QString unitColumn(qint32 iUnitCode)
{
    switch (iUnitCode) {
    case 2: return QStringLiteral("0");
    case 3: return QStringLiteral("3");
    case 6:
    case 8:
    case 10: return QStringLiteral("1");
    case 13: return QStringLiteral("2");
    case 24: return QStringLiteral("6");
    default: return QString();
    }
}

// Values in thousandths of their unit, as the measurement records hold them.
QString thousandths(const char *pFormat, qint32 iValue)
{
    return ftlFixed(pFormat, iValue / 1000.0);
}

// The unit code that counts pieces rather than thousandths.
constexpr qint32 UNIT_PIECES = 24;
} // namespace

bool levelVolumeSelects(qint32 iSelector, qint32 iCompartment)
{
    switch (iSelector) {
    case 0: return true;
    case 1: return iCompartment < FIRST_METERING_POSITION;
    case 2:
    case 3:
    case 4: return iCompartment == FIRST_METERING_POSITION + iSelector - 2;
    default: return false;
    }
}

CLogLevelVolume::CLogLevelVolume() : CLogBase(LOG_LEVEL_VOLUME) {}

CLogLevelVolume::CLogLevelVolume(const QByteArray &baRow) : CLogLevelVolume()
{
    readRow(baRow);
}

void CLogLevelVolume::readFields(QDataStream &stream)
{
    // One after another on the same stream; a record of an older version
    // reads nothing and keeps its values.
    ProcessWM.readFrom(stream);
    ProductWM.readFrom(stream);
    Order.readFrom(stream);
    Product.readFrom(stream);
}

void CLogLevelVolume::writeFields(QDataStream &stream) const
{
    ProcessWM.writeTo(stream);
    ProductWM.writeTo(stream);
    Order.writeTo(stream);
    Product.writeTo(stream);
}

QStringList CLogLevelVolume::getFTLStrings(qint32 iSelector, qint32 timeOffsetSecs) const
{
    if (!levelVolumeSelects(iSelector, Compartment))
        return {};
    return {ftlLineFor(timeOffsetSecs)};
}

QString CLogLevelVolume::ftlLineFor(qint32 timeOffsetSecs) const
{
    const bool bCompartment = Compartment < FIRST_METERING_POSITION;
    const bool bCompensated = ProductWM.compensationPresent();
    const qint32 iUnit = ProcessWM.unitCode();
    const qint32 iMode = ProcessWM.mode();

    QStringList asFields;
    asFields << QString::number(quint32(ProcessWM.entryNumber()));
    asFields << ((iMode == 1 || !bCompartment) ? QStringLiteral("0") : iMode == 2 ? QStringLiteral("1") : QString());
    asFields << QString::number(ProductWM.iProductValue1());
    asFields << (bCompartment ? QString() : ProcessWM.meteringPoint());
    asFields << unitColumn(iUnit);
    asFields << (iUnit == UNIT_PIECES ? ftlFixed("%3.2f", double(ProcessWM.uncompensatedVolume()))
                                      : thousandths("%3.2f", ProcessWM.uncompensatedVolume()));
    if (bCompensated)
        asFields << thousandths("%3.2f", ProcessWM.compensatedVolume())
                 << thousandths("%2.1f", ProcessWM.averageTemperature());
    else
        asFields << QString() << QString();
    asFields << (bCompartment ? ftlCompartment(Compartment) : QString());
    for (int i = 0; i < 6; ++i)
        asFields << QString();
    asFields << ftlClock(ProcessWM.measurementTime(), timeOffsetSecs);
    asFields << thousandths("%3.2f", bCompartment ? Order.compartmentValue() : ProcessWM.specialValue());
    asFields << QString() << QString();
    asFields << Product.product();
    asFields << (bCompensated ? thousandths("%3.2f", ProcessWM.mass()) : QString());
    asFields << QString();
    if (bCompartment)
        asFields << (Order.orderNumber() >= 1 ? QString::number(Order.orderNumber()) : QString());
    else
        asFields << Order.customerNumber();
    // Compartment flows are already in the unit; metering positions count
    // thousandths unless the unit code is 1.
    const double dFlow = ProcessWM.averageFlow();
    asFields << ftlRounded((iUnit == 1 || bCompartment) ? dFlow : dFlow / 1000.0);
    asFields << QString();
    asFields << (ProcessWM.approved() ? QStringLiteral("1") : QStringLiteral("0"));
    return ftlLine(QStringLiteral("11"), ftlStamp(DateTime, timeOffsetSecs), asFields);
}
