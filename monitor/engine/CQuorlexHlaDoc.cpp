#include "engine/CQuorlexHlaDoc.h"

CQuorlexHlaDoc::CQuorlexHlaDoc(std::uint32_t objectHandle) : m_objectHandle(objectHandle) {}

void CQuorlexHlaDoc::SetRadio(const CRadioReceive& radio)
{
    std::lock_guard lock(m_lock);
    m_radio = radio;
    StoreModParams(radio.GetModulationParameters());
}

void CQuorlexHlaDoc::DetachRadio()
{
    std::lock_guard lock(m_lock);
    m_radio.reset();
}

CQuorlexHlaDoc::Snapshot CQuorlexHlaDoc::TakeSnapshot() const
{
    Snapshot snapshot;
    snapshot.objectHandle = m_objectHandle;
    std::lock_guard lock(m_lock);
    CopyCommon(snapshot);
    snapshot.radio = m_radio;
    return snapshot;
}
