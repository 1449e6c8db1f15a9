#pragma once

#include <QHash>
#include <QString>

#include <initializer_list>

// Which field chooses a template's state suffix.
enum ECopField { COP_NONE, COP_PARAM2, COP_PARAM3 };

struct CFtlSuffix
{
    qint32 iValue;
    const char *pSuffix;
};

// One line template of compartment, valve and sensor events. The prefix holds
// placeholders: {T} stamp, {C} compartment, {P1}..{P8} numbers, {X1} {X2} texts.
struct CFtlTemplate
{
    qint32 iCode;
    const char *pPrefix;
    ECopField eField;
    CFtlSuffix aSuffixes[4];
};

// The template of a subtype, or nullptr when the subtype has none.
const CFtlTemplate *copTemplate(qint32 iSubType);
const CFtlTemplate *spdTemplate(qint32 iSubType);

// The "41" line of a compartment with the flag that Param1 3 ("1") or 4 ("0")
// sets, empty otherwise, and the closing code.
QString ftlFlagLine(const QString &sStamp, const QString &sCompartment, const QString &sText, qint32 iParam1,
                    const QString &sLast);

// Placeholder values of an entry: {T}, {C}, {P1}.. in the order given, {X1}, {X2}.
QHash<QString, QString> ftlEntryValues(const QString &sStamp, const QString &sCompartment,
                                       std::initializer_list<qint32> aiParams, const QString &sText1,
                                       const QString &sText2);

// The prefix with every placeholder replaced, then the suffix that the
// field's value selects; no suffix when the value matches none.
QString expandFtlTemplate(const CFtlTemplate &tmpl, const QHash<QString, QString> &values, qint32 iFieldValue);
