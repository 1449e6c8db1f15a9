#include "records/cfieldvalue.h"

#include <cmath>

namespace {

// Lists are read element by element so that a garbage count cannot make the
// reader reserve memory for elements that are not in the stream.
template <typename T>
QList<T> readList(QDataStream &stream)
{
    QList<T> list;
    quint32 uCount = 0;
    stream >> uCount;
    for (quint32 i = 0; i < uCount && stream.status() == QDataStream::Ok; ++i) {
        T value{};
        stream >> value;
        if (stream.status() != QDataStream::Ok) {
            list.clear();
            break;
        }
        list.append(value);
    }
    return list;
}

template <typename T>
void writeList(QDataStream &stream, const QList<T> &list)
{
    stream << quint32(list.size());
    for (const T &value : list)
        stream << value;
}

template <typename T>
CFieldValue readPlain(QDataStream &stream)
{
    T value{};
    stream >> value;
    return value;
}

} // namespace

CFieldValue defaultFieldValue(EFieldType eType)
{
    switch (eType) {
    case EFieldType::Int:
        return qint32(0);
    case EFieldType::Bool:
        return false;
    case EFieldType::Double:
        return 0.0;
    case EFieldType::Int64:
        return qint64(0);
    case EFieldType::Text:
        return QString();
    case EFieldType::Bytes:
        return QByteArray();
    case EFieldType::DateTime:
        return QDateTime();
    case EFieldType::TextMap:
        return CTextMap();
    case EFieldType::TextList:
        return QStringList();
    case EFieldType::IntList:
        return QList<qint32>();
    case EFieldType::PositionFix:
        return CPositionFix();
    }
    return qint32(0);
}

EFieldType fieldTypeOf(const CFieldValue &value)
{
    static const EFieldType aeOrder[] = {
        EFieldType::Int,      EFieldType::Bool,    EFieldType::Double,   EFieldType::Int64,
        EFieldType::Text,     EFieldType::Bytes,   EFieldType::DateTime, EFieldType::TextMap,
        EFieldType::TextList, EFieldType::IntList, EFieldType::PositionFix};
    return aeOrder[value.index()];
}

void writeFieldValue(QDataStream &stream, const CFieldValue &value)
{
    std::visit(
        [&stream](const auto &v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QStringList>)
                writeList(stream, QList<QString>(v));
            else if constexpr (std::is_same_v<T, QList<qint32>>)
                writeList(stream, v);
            else
                stream << v;
        },
        value);
}

CFieldValue readFieldValue(QDataStream &stream, EFieldType eType)
{
    switch (eType) {
    case EFieldType::Int:
        return readPlain<qint32>(stream);
    case EFieldType::Bool:
        return readPlain<bool>(stream);
    case EFieldType::Double:
        return readPlain<double>(stream);
    case EFieldType::Int64:
        return readPlain<qint64>(stream);
    case EFieldType::Text:
        return readPlain<QString>(stream);
    case EFieldType::Bytes:
        return readPlain<QByteArray>(stream);
    case EFieldType::DateTime:
        return readPlain<QDateTime>(stream);
    case EFieldType::TextMap:
        return readPlain<CTextMap>(stream);
    case EFieldType::TextList:
        return QStringList(readList<QString>(stream));
    case EFieldType::IntList:
        return readList<qint32>(stream);
    case EFieldType::PositionFix:
        return readPlain<CPositionFix>(stream);
    }
    return qint32(0);
}

bool fieldValueDiffers(const CFieldValue &held, const CFieldValue &read)
{
    if (held.index() != read.index())
        return true;
    return std::visit(
        [&read](const auto &h) -> bool {
            using T = std::decay_t<decltype(h)>;
            const T &r = std::get<T>(read);
            if constexpr (std::is_same_v<T, double>)
                return std::fabs(h - r) > 0.0;
            else if constexpr (std::is_same_v<T, CPositionFix>)
                return h.serialized() != r.serialized();
            else
                return !(h == r);
        },
        held);
}
