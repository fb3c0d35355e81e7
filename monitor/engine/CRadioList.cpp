#include "engine/CRadioList.h"

namespace {

template <typename Map, typename Key>
CRadioReceive* Lookup(const Map& map, const Key& key)
{
    auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second->record;
}

}   // namespace

CRadioReceive* CRadioList::FindDis(const DisRadioId& id) const { return Lookup(m_disIndex, id.Packed()); }

CRadioReceive* CRadioList::FindHla(std::uint32_t objectHandle) const { return Lookup(m_hlaIndex, objectHandle); }

CRadioReceive* CRadioList::FindHlaByName(const std::string& name) const { return Lookup(m_hlaNameIndex, name); }

CRadioReceive& CRadioList::HeardDis(const DisRadioId& id, std::uint64_t period)
{
    auto [found, added] = m_disIndex.try_emplace(id.Packed());
    if (added) {
        m_records.emplace_back();
        found->second = std::prev(m_records.end());
    }
    found->second->heardInPeriod = period;
    return found->second->record;
}

bool CRadioList::ReleaseDis(const DisRadioId& id, std::uint64_t period)
{
    auto found = m_disIndex.find(id.Packed());
    if (found == m_disIndex.end() || found->second->heardInPeriod == period)
        return false;
    m_records.erase(found->second);
    m_disIndex.erase(found);
    return true;
}

CRadioReceive& CRadioList::AddHla(CRadioReceive added)
{
    m_records.push_back({std::move(added)});
    const Position position = std::prev(m_records.end());
    m_hlaIndex.emplace(position->record.GetObjectHandle(), position);
    m_hlaNameIndex.emplace(position->record.GetObjectName(), position);   // keeps an earlier record of the same name
    return position->record;
}

bool CRadioList::RemoveHla(std::uint32_t objectHandle)
{
    auto found = m_hlaIndex.find(objectHandle);
    if (found == m_hlaIndex.end())
        return false;
    const Position position = found->second;
    m_hlaIndex.erase(found);
    const std::string name = position->record.GetObjectName();
    auto named = m_hlaNameIndex.find(name);
    const bool wasFirstOfName = named != m_hlaNameIndex.end() && named->second == position;
    m_records.erase(position);
    if (wasFirstOfName) {
        // Another record of the same name, if any, now comes first.
        m_hlaNameIndex.erase(named);
        for (auto held = m_records.begin(); held != m_records.end(); ++held)
            if (held->record.IsHla() && held->record.GetObjectName() == name) {
                m_hlaNameIndex.emplace(name, held);
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
