#include "records/crecordlayout.h"

#include <cctype>

namespace {

bool fieldTypeOfLetter(char c, EFieldType &eType)
{
    switch (c) {
    case 'i': eType = EFieldType::Int; return true;
    case 'b': eType = EFieldType::Bool; return true;
    case 'd': eType = EFieldType::Double; return true;
    case 'l': eType = EFieldType::Int64; return true;
    case 's': eType = EFieldType::Text; return true;
    case 'y': eType = EFieldType::Bytes; return true;
    case 't': eType = EFieldType::DateTime; return true;
    case 'm': eType = EFieldType::TextMap; return true;
    case 'a': eType = EFieldType::TextList; return true;
    case 'n': eType = EFieldType::IntList; return true;
    case 'p': eType = EFieldType::PositionFix; return true;
    default: return false;
    }
}

} // namespace

QVector<EFieldType> parseFieldTypes(const char *pszTypes)
{
    QVector<EFieldType> aeTypes;
    int iCount = 0;
    for (const char *p = pszTypes; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isdigit(c)) {
            iCount = iCount * 10 + (c - '0');
            continue;
        }
        if (std::isspace(c))
            continue;
        EFieldType eType;
        if (!fieldTypeOfLetter(*p, eType))
            return {};
        for (int i = 0; i < (iCount > 0 ? iCount : 1); ++i)
            aeTypes.append(eType);
        iCount = 0;
    }
    return aeTypes;
}

CRecordLayout makeRecordLayout(qint32 iVersion, EBodyForm eBody, const char *pszTypes,
                               std::initializer_list<std::pair<int, CFieldValue>> defaults,
                               bool bReserve)
{
    CRecordLayout layout;
    layout.iVersion = iVersion;
    layout.eBody = eBody;
    layout.bReserve = bReserve;
    layout.aeTypes = parseFieldTypes(pszTypes);
    for (EFieldType eType : layout.aeTypes)
        layout.aDefaults.append(defaultFieldValue(eType));
    for (const auto &def : defaults) {
        if (def.first >= 1 && def.first <= layout.aDefaults.size())
            layout.aDefaults[def.first - 1] = def.second;
    }
    return layout;
}

bool layoutIsConsistent(const CRecordLayout &layout)
{
    if (layout.aeTypes.isEmpty() || layout.aeTypes.size() != layout.aDefaults.size())
        return false;
    for (int i = 0; i < layout.aeTypes.size(); ++i) {
        if (fieldTypeOf(layout.aDefaults[i]) != layout.aeTypes[i])
            return false;
    }
    return true;
}
