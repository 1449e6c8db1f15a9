#include "records/crecord.h"

#include "records/crecordstream.h"

#include <QIODevice>

CRecord::CRecord(const CRecordLayout &layout)
    : m_pLayout(&layout),
      m_iVersion(layout.iVersion),
      m_baReserve(layout.bReserve ? QByteArray(32, '\0') : QByteArray()),
      m_aValues(layout.aDefaults),
      m_abFlags(layout.aDefaults.size(), false)
{
}

QByteArray CRecord::toByteArray()
{
    m_baBuffer.clear();
    QDataStream stream(&m_baBuffer, QIODevice::WriteOnly);
    prepareRecordStream(stream);
    writeTo(stream);
    return m_baBuffer;
}

bool CRecord::fromByteArray(const QByteArray &baBytes)
{
    QDataStream stream(baBytes);
    prepareRecordStream(stream);
    return readFrom(stream);
}

void CRecord::writeTo(QDataStream &stream) const
{
    stream << m_iVersion;
    if (m_pLayout->bReserve)
        stream << m_baReserve;
    const bool bFlagged = m_pLayout->eBody == EBodyForm::Flagged;
    for (int i = 0; i < m_aValues.size(); ++i) {
        if (bFlagged)
            stream << bool(m_abFlags[i]);
        writeFieldValue(stream, m_aValues[i]);
    }
}

bool CRecord::readFrom(QDataStream &stream)
{
    qint32 iVersion = 0;
    stream >> iVersion;
    if (iVersion < m_pLayout->iVersion)
        return false;
    m_iVersion = iVersion;
    if (m_pLayout->bReserve)
        stream >> m_baReserve;
    readBody(stream);
    return true;
}

void CRecord::readBody(QDataStream &stream)
{
    const EBodyForm eBody = m_pLayout->eBody;
    for (int i = 0; i < m_aValues.size(); ++i) {
        bool bFlag = true;
        if (eBody == EBodyForm::Flagged)
            stream >> bFlag;
        const CFieldValue value = readFieldValue(stream, m_pLayout->aeTypes[i]);
        if (eBody == EBodyForm::Plain) {
            m_aValues[i] = value;
            continue;
        }
        // Reading never clears a flag: a field that was already marked stays
        // marked until its owner resets it.
        if (bFlag && fieldValueDiffers(m_aValues[i], value)) {
            m_aValues[i] = value;
            m_abFlags[i] = true;
            m_bChanged = true;
        } else if (eBody == EBodyForm::PlainTracked) {
            m_aValues[i] = value;
        }
    }
}

bool CRecord::isFieldChanged(int iField) const
{
    return iField >= 1 && iField <= m_abFlags.size() && m_abFlags[iField - 1];
}

void CRecord::setFieldFlag(int iField, bool bFlag)
{
    if (iField >= 1 && iField <= m_abFlags.size())
        m_abFlags[iField - 1] = bFlag;
}

void CRecord::setAllFlags(bool bFlag)
{
    m_abFlags.fill(bFlag);
    m_bChanged = bFlag;
}

const CFieldValue &CRecord::field(int iField) const
{
    static const CFieldValue none = qint32(0);
    if (iField < 1 || iField > m_aValues.size())
        return none;
    return m_aValues[iField - 1];
}

bool CRecord::setField(int iField, const CFieldValue &value)
{
    if (iField < 1 || iField > m_aValues.size()
        || fieldTypeOf(value) != m_pLayout->aeTypes[iField - 1])
        return false;
    m_aValues[iField - 1] = value;
    m_abFlags[iField - 1] = true;
    m_bChanged = true;
    return true;
}
