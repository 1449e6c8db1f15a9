#include "files/cftlheader.h"

#include "files/cfilesource.h"

namespace {

constexpr int MaxProducts = 200;

QString number(qint32 i)
{
    return QString::number(i);
}

QString flag(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString ftlHeaderStamp(const QString &sFirstLine, const QString &sLocalNow)
{
    const QStringList asFields = sFirstLine.split(QLatin1Char(','));
    if (sFirstLine.isEmpty() || asFields.size() < 2)
        return sLocalNow;
    return asFields.at(1);
}

QStringList ftlHeaderLines(const QString &sStamp, const CFtlHeaderValues &v)
{
    QStringList asLines;
    asLines << QStringLiteral("0,") + sStamp + QStringLiteral(",1.00");

    QString sLine1 = QStringLiteral("1,") + sStamp + QStringLiteral(",K.L. Ostrem,Tankora,,,,,1");
    if (!v.sGeneralWmText28.isEmpty())
        sLine1 += QStringLiteral(",") + v.sGeneralWmText28;
    if (v.bHasSealState)
        sLine1 += (v.sGeneralWmText28.isEmpty() ? QStringLiteral(",,") : QStringLiteral(",")) + number(v.iSealState);
    asLines << sLine1;

    asLines << QStringLiteral("2,") + sStamp + QStringLiteral(",") + number(v.VehicleType) + QStringLiteral(",")
                   + v.sGeneralWmText12 + QStringLiteral(",") + v.sGeneralWmText11;
    asLines << QStringLiteral("6,") + sStamp + QStringLiteral(",,")
                   + QStringList{number(v.DipStick), number(v.DelvType), number(v.iDelvSide), number(v.iLoadSide),
                                 number(v.iCompartmentCount), number(v.iNonWmValue1), flag(v.bNonWmFlag1),
                                 number(v.iWetlegConf)}
                         .join(QLatin1Char(','))
                   + QStringLiteral(",,,,,,,,,,,")
                   + QStringList{number(v.iNonWmValue2), flag(v.bNonWmFlag2), number(v.iNonWmValue3),
                                 number(v.iNonWmValue4)}
                         .join(QLatin1Char(','));
    if (v.bLgmActive1) {
        if (v.iMeterCount < 1) {
            asLines << QStringLiteral("10,") + sStamp + QStringLiteral(",0,,,,");
        } else {
            for (const QString &sMeter : v.asMeterValues)
                asLines << QStringLiteral("10,") + sStamp + QStringLiteral(",") + sMeter + QStringLiteral(",,,,")
                               + v.sGeneralWmText28;
        }
    }
    asLines << v.asProductLines;
    asLines << QStringLiteral("91,") + sStamp + QStringLiteral(",1");
    asLines << QStringLiteral("92,") + sStamp + QStringLiteral(",1");
    return asLines;
}

int ftlProductTable(qint32 iProductTable)
{
    switch (iProductTable) {
    case 3: return 1; // 54B
    case 4: return 3; // 54D
    case 5: return 4; // 54X
    case 7: return 1; // 06B
    case 9: return 5; // LIN
    default: return 0; // 06A, POL, none and unknown
    }
}

QString ftlProductLine(const QString &sStamp, const CSetProductWM &product)
{
    // One digit after the point in Qt's own formatting, as these lines have
    // always been written; the printf rule is for the entries' lines.
    return QStringLiteral("90,") + sStamp + QStringLiteral(",0,0,") + number(product.iProductValue1()) +
           QStringLiteral(",") + QString::asprintf("%.1f", double(product.iProductValue3())) + QStringLiteral(",") +
           QString::asprintf("%.1f", product.dProductValue1()) + QStringLiteral(",,") +
           number(ftlProductTable(product.iProductTable())) + QStringLiteral(",0.0000");
}

CFtlHeaderValues readFtlHeaderValues(CFileSource &source, const QString &sStamp)
{
    CFtlHeaderValues v;
    const CSetGeneralNonWM &general = source.generalSetup();
    v.bLgmActive1 = general.bLgmActive1();
    if (source.generalSetupAnswers()) {
        v.iNonWmValue1 = general.iNonWmValue1();
        v.DelvType = general.DelvType();
        v.bNonWmFlag1 = general.bNonWmFlag1();
        v.VehicleType = general.VehicleType();
        v.DipStick = general.DipStick();
        v.iDelvSide = general.iDelvSide();
        v.iLoadSide = general.iLoadSide();
        v.iWetlegConf = general.iWetlegConf();
        v.iNonWmValue2 = general.iNonWmValue2();
        v.bNonWmFlag2 = general.bNonWmFlag2();
        v.iNonWmValue3 = general.iNonWmValue3();
        v.iNonWmValue4 = general.iNonWmValue4();
    }
    CSetGeneralWM generalWM;
    if (source.readGeneralWM(generalWM)) {
        v.sGeneralWmText11 = generalWM.sGeneralWmText11();
        v.sGeneralWmText12 = generalWM.sGeneralWmText12();
        v.sGeneralWmText28 = generalWM.sGeneralWmText28();
        v.iCompartmentCount = generalWM.iCompartmentCount();
        v.iMeterCount = generalWM.iMeterCount();
    }
    if (source.hasRuntimeWM()) {
        CRunSealStateLGMWM seal;
        source.readSealState(seal);
        v.bHasSealState = true;
        v.iSealState = seal.iSealState();
    }
    if (v.bLgmActive1) {
        for (int i = 0; i < v.iMeterCount; ++i) {
            CSetMeterWM meter;
            const bool bRead = source.readMeter(i, meter);
            v.asMeterValues << (bRead && !meter.sMeterText().isEmpty() ? meter.sMeterText() : QStringLiteral("0"));
        }
    }
    if (source.hasSetup()) {
        for (int i = 0; i < MaxProducts; ++i) {
            CLogbookFilter filter;
            filter.setStartRowID(i);
            const QByteArray baProduct = source.productRecord(filter);
            if (baProduct.isEmpty())
                break;
            CSetProductWM product;
            product.fromByteArray(baProduct);
            v.asProductLines << ftlProductLine(sStamp, product);
        }
    }
    return v;
}

QByteArray ftlHeaderText(CFileSource &source, const QString &sFirstLine, const QString &sLocalNow)
{
    const QString sStamp = ftlHeaderStamp(sFirstLine, sLocalNow);
    QByteArray baText;
    for (const QString &sLine : ftlHeaderLines(sStamp, readFtlHeaderValues(source, sStamp)))
        baText += sLine.toLatin1() + "\r\n";
    return baText;
}
