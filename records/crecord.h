#pragma once

#include "records/crecordlayout.h"

// A setup or runtime record of the database service: version, reserve and
// fields, read and written by its layout. Field numbers count from 1.
class CRecord
{
public:
    explicit CRecord(const CRecordLayout &layout);
    virtual ~CRecord() = default;

    // Envelope and body; the record keeps the bytes as its buffer.
    QByteArray toByteArray();
    // False when the bytes carry an older version: then nothing was taken over.
    bool fromByteArray(const QByteArray &baBytes);

    // The same on a stream that carries more than this record (logbook rows
    // embed records one after another).
    void writeTo(QDataStream &stream) const;
    bool readFrom(QDataStream &stream);

    qint32 version() const { return m_iVersion; }
    const QByteArray &reserve() const { return m_baReserve; }
    const QByteArray &buffer() const { return m_baBuffer; }
    int fieldCount() const { return int(m_aValues.size()); }
    const CRecordLayout &layout() const { return *m_pLayout; }

    bool isChanged() const { return m_bChanged; }
    bool isFieldChanged(int iField) const;
    void setFieldFlag(int iField, bool bFlag);
    // Every field flag and the record flag at once.
    void setAllFlags(bool bFlag);

    const CFieldValue &field(int iField) const;
    // Stores the value and marks the field and the record as changed. A
    // value of another kind than the field's is refused.
    bool setField(int iField, const CFieldValue &value);

    qint32 intAt(int iField) const { return valueAt<qint32>(iField); }
    bool boolAt(int iField) const { return valueAt<bool>(iField); }
    double doubleAt(int iField) const { return valueAt<double>(iField); }
    qint64 int64At(int iField) const { return valueAt<qint64>(iField); }
    QString textAt(int iField) const { return valueAt<QString>(iField); }
    QByteArray bytesAt(int iField) const { return valueAt<QByteArray>(iField); }
    QDateTime dateTimeAt(int iField) const { return valueAt<QDateTime>(iField); }
    CTextMap textMapAt(int iField) const { return valueAt<CTextMap>(iField); }
    QStringList textListAt(int iField) const { return valueAt<QStringList>(iField); }
    QList<qint32> intListAt(int iField) const { return valueAt<QList<qint32>>(iField); }
    CPositionFix positionFixAt(int iField) const { return valueAt<CPositionFix>(iField); }

private:
    template <typename T>
    T valueAt(int iField) const
    {
        const T *pValue = std::get_if<T>(&field(iField));
        return pValue ? *pValue : T{};
    }
    void readBody(QDataStream &stream);

    const CRecordLayout *m_pLayout;
    QByteArray m_baBuffer;
    qint32 m_iVersion;
    QByteArray m_baReserve;
    QVector<CFieldValue> m_aValues;
    QVector<bool> m_abFlags;
    bool m_bChanged = false;
};
