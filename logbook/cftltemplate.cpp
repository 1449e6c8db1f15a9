#include "logbook/cftltemplate.h"

#include "logbook/cftlline.h"

#include <algorithm>
#include <iterator>

namespace {
// Sorted by subtype code.
const CFtlTemplate g_aCopTemplates[] = {
    {6001, "42,{T},,6,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6002, "42,{T},{C},1,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6003, "42,{T},{C},11,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6004, "42,{T},{C},39,", COP_PARAM3, {{1, "1,0"}, {0, "2,0"}}},
    {6005, "42,{T},{C},39,12,0", COP_NONE, {}},
    {6006, "45,{T},{C},39,11,0", COP_NONE, {}},
    {6007, "45,{T},{C},,,,,,{P5},{P6},{P7},{P3},{P8}", COP_NONE, {}},
    {6010, "42,{T},,16,", COP_PARAM3, {{0, "2,1"}, {1, "1,1"}, {2, "0,1"}}},
    {6011, "42,{T},,20,0,1", COP_NONE, {}},
    {6012, "42,{T},,20,2,1", COP_NONE, {}},
    {6013, "42,{T},,20,1,1", COP_NONE, {}},
    {6014, "42,{T},,38,12,1", COP_NONE, {}},
    {6015, "42,{T},,17,", COP_PARAM3, {{0, "2,2"}, {1, "1,2"}, {2, "0,2"}}},
    {6016, "42,{T},,20,0,2", COP_NONE, {}},
    {6017, "42,{T},,20,2,2", COP_NONE, {}},
    {6018, "42,{T},,20,1,2", COP_NONE, {}},
    {6019, "42,{T},,38,12,2", COP_NONE, {}},
    {6020, "42,{T},,17,", COP_PARAM3, {{0, "2,3"}, {1, "1,3"}, {2, "0,3"}}},
    {6021, "42,{T},,20,0,3", COP_NONE, {}},
    {6022, "42,{T},,20,2,3", COP_NONE, {}},
    {6023, "42,{T},,20,1,3", COP_NONE, {}},
    {6024, "42,{T},,38,12,3", COP_NONE, {}},
    {6025, "42,{T},,32,", COP_PARAM3, {{1, "1,1"}, {0, "2,1"}}},
    {6026, "42,{T},,32,", COP_PARAM3, {{1, "1,2"}, {0, "2,2"}}},
    {6027, "42,{T},,32,", COP_PARAM3, {{1, "1,3"}, {0, "2,3"}}},
    {6028, "42,{T},,32,", COP_PARAM3, {{1, "1,4"}, {0, "2,4"}}},
    {6029, "42,{T},,33,", COP_PARAM3, {{1, "1,0"}, {0, "2,0"}}},
    {6032, "42,{T},{C},13,", COP_PARAM3, {{1, "1,1"}, {0, "2,1"}}},
    {6033, "42,{T},{C},13,", COP_PARAM3, {{1, "1,2"}, {0, "2,2"}}},
    {6034, "42,{T},{C},13,", COP_PARAM3, {{1, "1,3"}, {0, "2,3"}}},
    {6036, "3,{T},{P3}", COP_NONE, {}},
    {6037, "3,{T},{P3}", COP_NONE, {}},
    {6038, "42,{T},,27,", COP_PARAM3, {{1, "1,0"}, {0, "2,0"}}},
    {6040, "40,{T},{C},{X2},3,0", COP_NONE, {}},
    {6043, "46,{T},{C},0,,,,,1,0", COP_NONE, {}},
    {6044, "40,{T},{C},{X2},0,0", COP_NONE, {}},
    {6045, "40,{T},{C},{X2},1,0", COP_NONE, {}},
    {6047, "41,{T},{C},{P4},1,8", COP_NONE, {}},
    {6049, "20,{T},65", COP_NONE, {}},
    {6050, "20,{T},67", COP_NONE, {}},
    {6063, "46,{T},{C},{X1}", COP_NONE, {}},
    {6073, "42,{T},{C},18,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6074, "42,{T},,23,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6103, "42,{T},{C},2,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6104, "42,{T},{C},1,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6105, "42,{T},{C}", COP_PARAM3, {{1, ",11,2,0"}, {0, ",11,1,0"}}},
    {6106, "42,{T},{C}", COP_PARAM3, {{1, ",3,2,0"}, {0, ",3,1,0"}}},
    {6107, "42,{T},,7,", COP_PARAM3, {{1, "2,1"}, {0, "1,1"}}},
    {6108, "42,{T},,7,", COP_PARAM3, {{1, "2,2"}, {0, "1,2"}}},
    {6109, "42,{T},{C},29,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6110, "42,{T},,25,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6118, "42,{T},{C},39,12,0", COP_NONE, {}},
    {6128, "41,{T},{C},{X2},1,8", COP_NONE, {}},
    {6130, "42,{T},,7,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6133, "42,{T},1,18,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6134, "42,{T},2,18,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6144, "42,{T},,7,7,0", COP_NONE, {}},
    {6145, "42,{T},,7,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6146, "42,{T},,7,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6150, "42,{T},{C},2,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6151, "42,{T},{C},1,", COP_PARAM3, {{3, "5,0"}, {2, "6,0"}}},
    {6152, "42,{T},{C},1,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6153, "42,{T},{C}", COP_PARAM2, {{3, ",11,5,0"}, {2, ",11,6,0"}}},
    {6154, "42,{T},{C}", COP_PARAM2, {{3, ",3,5,0"}, {2, ",3,6,0"}}},
    {6155, "42,{T},,7,", COP_PARAM2, {{3, "5,1"}, {2, "6,1"}}},
    {6156, "42,{T},,7,", COP_PARAM2, {{3, "5,2"}, {2, "6,2"}}},
    {6157, "42,{T},,25,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6159, "42,{T},{C},13,", COP_PARAM2, {{3, "5,1"}, {2, "6,1"}}},
    {6160, "42,{T},{C},13,", COP_PARAM2, {{3, "5,2"}, {2, "6,2"}}},
    {6161, "42,{T},{C},13,", COP_PARAM2, {{3, "5,3"}, {2, "6,3"}}},
    {6186, "42,{T},{C},18,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6187, "42,{T},{C},18,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6189, "42,{T},,18,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6190, "42,{T},,18,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
};

// SPD events: mostly the same lines; period events use {TP}, their own time.
const CFtlTemplate g_aSpdTemplates[] = {
    {6001, "42,{T},,6,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6032, "42,{T},{C}", COP_PARAM3, {{1, ",13,1,1"}, {0, ",13,2,1"}}},
    {6033, "42,{T},{C}", COP_PARAM3, {{1, ",13,1,2"}, {0, ",13,2,2"}}},
    {6034, "42,{T},{C}", COP_PARAM3, {{1, ",13,1,3"}, {0, ",13,2,3"}}},
    {6039, "", COP_NONE, {}},
    {6040, "40,{T},{C},{X1},3", COP_NONE, {}},
    {6041, "", COP_NONE, {}},
    {6042, "", COP_NONE, {}},
    {6044, "40,{T},{C},{X2},0,{P4}", COP_NONE, {}},
    {6045, "40,{T},{C},{X2},1,{P4}", COP_NONE, {}},
    {6046, "", COP_NONE, {}},
    {6047, "41,{T},{C},{P4},1,8", COP_NONE, {}},
    {6049, "20,{T},65", COP_NONE, {}},
    {6050, "20,{T},67", COP_NONE, {}},
    {6103, "42,{T},{C},2,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6104, "42,{T},{C}", COP_PARAM3, {{1, ",1,2,0"}, {0, ",1,1,0"}}},
    {6105, "42,{T},{C}", COP_PARAM3, {{1, ",11,2,0"}, {0, ",11,1,0"}}},
    {6106, "42,{T},{C}", COP_PARAM3, {{1, ",3,2,0"}, {0, ",3,1,0"}}},
    {6107, "42,{T}", COP_PARAM3, {{1, ",,7,2,1"}, {0, ",,7,1,1"}}},
    {6108, "42,{T}", COP_PARAM3, {{1, ",,7,2,2"}, {0, ",,7,1,2"}}},
    {6109, "42,{T}", COP_PARAM3, {{1, ",,29,2,0"}, {0, ",,29,1,0"}}},
    {6110, "42,{T}", COP_PARAM3, {{1, ",,25,12,0"}, {0, ",,25,11,0"}}},
    {6111, "40,{T},{C},{X2},1,1", COP_NONE, {}},
    {6128, "41,{T},{C},{X2},1,8", COP_NONE, {}},
    {6130, "42,{T},,7,", COP_PARAM3, {{1, "12,0"}, {0, "11,0"}}},
    {6139, "40,{T},{C},{X2},1,{P4}", COP_NONE, {}},
    {6144, "42,{T},,7,7,0", COP_NONE, {}},
    {6145, "42,{T},,7,", COP_PARAM3, {{1, "2,0"}, {0, "1,0"}}},
    {6146, "42,{T},,7,", COP_PARAM2, {{3, "5,0"}, {2, "6,0"}}},
    {6150, "42,{T},{C},2,", COP_PARAM3, {{3, "5,0"}, {2, "6,0"}}},
    {6152, "42,{T},{C}", COP_PARAM3, {{3, ",1,5,0"}, {2, ",1,6,0"}}},
    {6153, "42,{T},{C}", COP_PARAM3, {{3, ",11,5,0"}, {2, ",11,6,0"}}},
    {6154, "42,{T},{C}", COP_PARAM3, {{3, ",3,5,0"}, {2, ",3,6,0"}}},
    {6155, "42,{T}", COP_PARAM3, {{3, ",,7,5,1"}, {2, ",,7,6,1"}}},
    {6156, "42,{T}", COP_PARAM3, {{3, ",,7,5,2"}, {2, ",,7,6,2"}}},
    {6157, "42,{T}", COP_PARAM3, {{3, ",,25,5,0"}, {2, ",,25,6,0"}}},
    {6159, "42,{T},{C}", COP_PARAM2, {{3, ",13,5,1"}, {2, ",13,6,1"}}},
    {6160, "42,{T},{C}", COP_PARAM2, {{3, ",13,5,2"}, {2, ",13,6,2"}}},
    {6161, "42,{T},{C}", COP_PARAM2, {{3, ",13,5,3"}, {2, ",13,6,3"}}},
    {6168, "40,{T},{C},{X2},1,1", COP_NONE, {}},
    {6169, "40,{T},{C},{X2},1,1", COP_NONE, {}},
    {6172, "40,{T},{C},{X2},1,{P4}", COP_NONE, {}},
    {6173, "40,{T},{C},{X2},1,{P4}", COP_NONE, {}},
    {6186, "42,{T},{C}", COP_PARAM3, {{1, ",18,2,0"}, {0, ",18,1,0"}}},
    {6187, "42,{T},{C}", COP_PARAM3, {{3, ",18,5,0"}, {2, ",18,6,0"}}},
    {6189, "42,{T},", COP_PARAM3, {{1, ",18,2,0"}, {0, ",18,1,0"}}},
    {6190, "42,{T},", COP_PARAM3, {{3, ",18,5,0"}, {2, ",18,6,0"}}},
    {6203, "42,{TP}", COP_PARAM3, {{0, ",,25,11,0"}, {1, ",,25,12,0"}, {2, ",,25,6,0"}, {3, ",,25,5,0"}}},
    {6204, "42,{TP}", COP_PARAM3, {{0, ",,7,1,1"}, {1, ",,7,2,1"}, {2, ",,7,6,1"}, {3, ",,7,5,1"}}},
    {6205, "42,{TP}", COP_PARAM3, {{0, ",,7,1,2"}, {1, ",,7,2,2"}, {2, ",,7,6,2"}, {3, ",,7,5,2"}}},
    {6206, "42,{TP},{C},2,", COP_PARAM3, {{0, "1,0"}, {1, "2,0"}, {2, "6,0"}, {3, "5,0"}}},
    {6207, "42,{TP},{C}", COP_PARAM3, {{0, ",1,1,0"}, {1, ",1,2,0"}, {2, ",1,6,0"}, {3, ",1,5,0"}}},
    {6208, "42,{TP},{C}", COP_PARAM3, {{0, ",11,1,0"}, {1, ",11,2,0"}, {2, ",11,6,0"}, {3, ",11,5,0"}}},
    {6209, "42,{TP},{C}", COP_PARAM3, {{0, ",3,1,0"}, {1, ",3,2,0"}, {2, ",3,6,0"}, {3, ",3,5,0"}}},
    {6214, "42,{TP},,7,", COP_PARAM3, {{0, "1,0"}, {1, "2,0"}, {2, "6,0"}, {3, "5,0"}}},
    {6217, "42,{TP},{C}", COP_PARAM3, {{0, ",18,1,0"}, {1, ",18,2,0"}, {2, ",18,6,0"}, {3, ",18,5,0"}}},
    {6218, "42,{TP},", COP_PARAM3, {{0, ",18,1,0"}, {1, ",18,2,0"}, {2, ",18,6,0"}, {3, ",18,5,0"}}},
};

template <size_t N> const CFtlTemplate *findTemplate(const CFtlTemplate (&aTable)[N], qint32 iSubType)
{
    const auto it = std::lower_bound(std::begin(aTable), std::end(aTable), iSubType,
                                     [](const CFtlTemplate &tmpl, qint32 iCode) { return tmpl.iCode < iCode; });
    return (it != std::end(aTable) && it->iCode == iSubType) ? it : nullptr;
}
} // namespace

const CFtlTemplate *copTemplate(qint32 iSubType)
{
    return findTemplate(g_aCopTemplates, iSubType);
}

const CFtlTemplate *spdTemplate(qint32 iSubType)
{
    return findTemplate(g_aSpdTemplates, iSubType);
}

QHash<QString, QString> ftlEntryValues(const QString &sStamp, const QString &sCompartment,
                                       std::initializer_list<qint32> aiParams, const QString &sText1,
                                       const QString &sText2)
{
    QHash<QString, QString> values = {{QStringLiteral("{T}"), sStamp},
                                      {QStringLiteral("{C}"), sCompartment},
                                      {QStringLiteral("{X1}"), sText1},
                                      {QStringLiteral("{X2}"), sText2}};
    int iIndex = 1;
    for (qint32 iParam : aiParams)
        values.insert(QStringLiteral("{P%1}").arg(iIndex++), QString::number(iParam));
    return values;
}

QString expandFtlTemplate(const CFtlTemplate &tmpl, const QHash<QString, QString> &values, qint32 iFieldValue)
{
    // One pass, so that a payload text holding "{…}" is written as stored.
    const QString sPrefix = QString::fromLatin1(tmpl.pPrefix);
    QString sLine;
    for (int i = 0; i < sPrefix.size(); ++i) {
        const int iClose = sPrefix[i] == QLatin1Char('{') ? sPrefix.indexOf(QLatin1Char('}'), i) : -1;
        if (iClose < 0) {
            sLine += sPrefix[i];
            continue;
        }
        sLine += values.value(sPrefix.mid(i, iClose - i + 1));
        i = iClose;
    }
    if (tmpl.eField == COP_NONE)
        return sLine;
    for (const CFtlSuffix &suffix : tmpl.aSuffixes)
        if (suffix.pSuffix && suffix.iValue == iFieldValue)
            return sLine + QString::fromLatin1(suffix.pSuffix);
    return sLine;
}

QString ftlFlagLine(const QString &sStamp, const QString &sCompartment, const QString &sText, qint32 iParam1,
                    const QString &sLast)
{
    const QString sFlag = iParam1 == 3 ? QStringLiteral("1") : iParam1 == 4 ? QStringLiteral("0") : QString();
    return ftlLine(QStringLiteral("41"), sStamp, {sCompartment, sText, sFlag, sLast});
}
