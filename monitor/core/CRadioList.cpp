#include "core/CRadioList.h"

#include <algorithm>

namespace {

template <typename Map, typename Key>
CRadioReceive* Lookup(const Map& map, const Key& key)
{
    auto found = map.find(key);
    return found == map.end() ? nullptr : found->second;
}

} // namespace

CRadioReceive* CRadioList::FindDis(const DisRadioId& id) const { return Lookup(m_disIndex, id.Packed()); }

CRadioReceive* CRadioList::FindHla(std::uint32_t objectHandle) const { return Lookup(m_hlaIndex, objectHandle); }

CRadioReceive* CRadioList::FindHlaByName(const std::string& name) const { return Lookup(m_hlaNameIndex, name); }

CRadioReceive& CRadioList::AddDis(const DisRadioId& id)
{
    CRadioReceive& record = *m_records.emplace_back(std::make_unique<CRadioReceive>());
    m_disIndex.emplace(id.Packed(), &record);
    return record;
}

CRadioReceive& CRadioList::AddHla(std::unique_ptr<CRadioReceive> added)
{
    CRadioReceive& record = *m_records.emplace_back(std::move(added));
    m_hlaIndex.emplace(record.GetObjectHandle(), &record);
    m_hlaNameIndex.emplace(record.GetObjectName(), &record);   // keeps an earlier record of the same name
    return record;
}

bool CRadioList::RemoveHla(std::uint32_t objectHandle)
{
    CRadioReceive* record = FindHla(objectHandle);
    if (record == nullptr)
        return false;
    m_hlaIndex.erase(objectHandle);
    auto position = std::find_if(m_records.begin(), m_records.end(),
                                 [record](const auto& held) { return held.get() == record; });
    std::unique_ptr<CRadioReceive> removed = std::move(*position);
    m_records.erase(position);

    const std::string& name = removed->GetObjectName();
    if (FindHlaByName(name) == record) {
        // Another record of the same name, if any, now comes first.
        m_hlaNameIndex.erase(name);
        for (const auto& held : m_records)
            if (held->IsHla() && held->GetObjectName() == name) {
                m_hlaNameIndex.emplace(name, held.get());
                break;
            }
    }
    return true;
}

void CRadioList::Clear()
{
    m_disIndex.clear();
    m_hlaIndex.clear();
    m_hlaNameIndex.clear();
    m_records.clear();
}
