#pragma once

#include "logbook/clogcop.h"
#include "logbook/cloggps.h"
#include "logbook/cloggsmftp.h"
#include "logbook/cloglevelvolume.h"
#include "logbook/clogloading.h"
#include "logbook/clogopmm.h"
#include "logbook/clogseal.h"
#include "logbook/clogsmp.h"
#include "logbook/clogspd.h"
#include "logbook/clogtracking.h"
#include "records/crecord.h"
#include "tests/support/crecordtext.h"
#include "tests/support/ctable.h"

#include <QHash>

#include <memory>

// Logbook entries as test tables describe them: a class (COP, SPD, GPS,
// LEVEL, SEAL, OPMM, SMP, FPM, LOADING, DISCHARGE, GSMFTP, TRACK), a subtype
// and "key=value" values, blanks between: at (stored; a time alone is on
// 2024-01-05, UTC), comp (Compartment), P1..P8, X1, X2 (Param1.., Text1,
// Text2), tp (SPD period time), closed (seal), mode (main mode),
// fix=latitude,longitude,third measure,three counters,three further
// measures ("nan" allowed), and the level records' fields pN (process),
// sN (product setup), oN (order), rN (product).

inline QHash<QString, QString> valuesOf(const QString &sValues)
{
    QHash<QString, QString> values;
    for (const QString &sPair : sValues.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        values.insert(sPair.section(QLatin1Char('='), 0, 0), sPair.section(QLatin1Char('='), 1));
    return values;
}

template <class T> std::unique_ptr<T> withParams(QHash<QString, QString> &v)
{
    auto pEntry = std::make_unique<T>();
    pEntry->Param1 = v["P1"].toInt(), pEntry->Param2 = v["P2"].toInt();
    pEntry->Param3 = v["P3"].toInt(), pEntry->Param4 = v["P4"].toInt();
    pEntry->Text1 = v["X1"], pEntry->Text2 = v["X2"];
    return pEntry;
}

// A GPS or tracking entry with the fix of "fix", stamped "at".
template <class T> std::unique_ptr<T> withFix(QHash<QString, QString> &v)
{
    const QStringList asFix = (v["fix"] + QStringLiteral(",0,0,0,0,0,0,0,0,0")).split(QLatin1Char(','));
    auto pEntry = std::make_unique<T>();
    pEntry->Position.dtStamp = utcOf(v["at"]);
    for (int i = 0; i < 3; ++i) {
        pEntry->Position.adMeasures[i] = asFix[i].toDouble();
        pEntry->Position.aiCounters[i] = asFix[3 + i].toInt();
        pEntry->Position.adFurther[i] = asFix[6 + i] == "nan" ? qQNaN() : asFix[6 + i].toDouble();
    }
    return pEntry;
}

inline std::unique_ptr<CLogBase> makeEntry(const QString &sClass, QHash<QString, QString> &v)
{
    if (sClass == "COP") {
        auto pCop = withParams<CLogCOP>(v);
        pCop->Param5 = v["P5"].toInt(), pCop->Param6 = v["P6"].toInt();
        pCop->Param7 = v["P7"].toInt(), pCop->Param8 = v["P8"].toInt();
        return pCop;
    }
    if (sClass == "SPD") {
        auto pSpd = withParams<CLogSPD>(v);
        pSpd->EventTime = utcOf(v["tp"]);
        return pSpd;
    }
    if (sClass == "GPS")
        return withFix<CLogGps>(v);
    if (sClass == "TRACK")
        return withFix<CLogTracking>(v);
    if (sClass == "LEVEL") {
        auto pLevel = std::make_unique<CLogLevelVolume>();
        const QHash<QString, CRecord *> records{
            {"p", &pLevel->ProcessWM}, {"s", &pLevel->ProductWM}, {"o", &pLevel->Order}, {"r", &pLevel->Product}};
        for (auto it = v.cbegin(); it != v.cend(); ++it)
            if (records.contains(it.key().left(1)) && it.key().mid(1).toInt() > 0)
                setFieldText(*records[it.key().left(1)], it.key().mid(1).toInt(), it.value());
        return pLevel;
    }
    if (sClass == "SEAL") {
        auto pSeal = std::make_unique<CLogSeal>();
        pSeal->Seal.setSealState(v["closed"] == "1");
        return pSeal;
    }
    if (sClass == "OPMM") {
        auto pOpmm = std::make_unique<CLogOPMM>();
        pOpmm->MainMode = v["mode"].toInt();
        return pOpmm;
    }
    if (sClass == "LOADING")
        return std::make_unique<CLogLoading>();
    if (sClass == "DISCHARGE")
        return std::make_unique<CLogDischarge>();
    if (sClass == "SMP")
        return std::make_unique<CLogSMP>();
    if (sClass == "GSMFTP")
        return std::make_unique<CLogGsmFtp>();
    return std::make_unique<CLogFPM>();
}

// The entry with its header: subtype, Compartment (-1 when not given), stamp.
inline std::unique_ptr<CLogBase> logEntryOf(const QString &sClass, qint32 iSubType, QHash<QString, QString> v)
{
    std::unique_ptr<CLogBase> pEntry = makeEntry(sClass, v);
    pEntry->LogSubType = iSubType;
    pEntry->Compartment = v.value(QStringLiteral("comp"), QStringLiteral("-1")).toInt();
    pEntry->DateTime = utcOf(v["at"]);
    return pEntry;
}

// The rows of a table cell, "class subtype values" with "; " between ("-":
// none), added with row IDs going on from those already there.
inline void addRows(QList<QByteArray> &aRows, const QString &sRows)
{
    for (const QString &sRow : sRows.split(QStringLiteral("; "))) {
        const QStringList asWords = sRow.split(QLatin1Char(' '));
        if (asWords.size() < 2)
            continue;
        const auto pEntry = logEntryOf(asWords[0], asWords[1].toInt(), valuesOf(asWords.mid(2).join(' ')));
        pEntry->RowID = quint64(aRows.size() + 1);
        aRows.append(pEntry->toRow());
    }
}
