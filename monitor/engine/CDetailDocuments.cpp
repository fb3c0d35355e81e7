#include "engine/CDetailDocuments.h"

namespace {

template <typename Map, typename Key>
typename Map::mapped_type Find(const Map& map, const Key& key)
{
    if (map.empty())   // the common case on the PDU path: no window open
        return nullptr;
    auto found = map.find(key);
    return found == map.end() ? nullptr : found->second;
}

template <typename Map, typename Key>
typename Map::mapped_type Take(Map& map, const Key& key)
{
    auto found = map.find(key);
    if (found == map.end())
        return nullptr;
    auto document = std::move(found->second);
    map.erase(found);
    return document;
}

}   // namespace

std::shared_ptr<CQuorlexDoc> CDetailDocuments::FindDis(const DisRadioId& id) const { return Find(m_dis, id.Packed()); }

std::shared_ptr<CQuorlexHlaDoc> CDetailDocuments::FindHla(std::uint32_t objectHandle) const
{
    return Find(m_hla, objectHandle);
}

void CDetailDocuments::Add(std::shared_ptr<CQuorlexDoc> document)
{
    m_dis[document->GetRadioId().Packed()] = std::move(document);
}

void CDetailDocuments::Add(std::shared_ptr<CQuorlexHlaDoc> document)
{
    m_hla[document->GetObjectHandle()] = std::move(document);
}

std::shared_ptr<CQuorlexDoc> CDetailDocuments::TakeDis(const DisRadioId& id) { return Take(m_dis, id.Packed()); }

std::shared_ptr<CQuorlexHlaDoc> CDetailDocuments::TakeHla(std::uint32_t objectHandle)
{
    return Take(m_hla, objectHandle);
}

void CDetailDocuments::Remove(const CDetailDoc& document)
{
    if (const auto* dis = dynamic_cast<const CQuorlexDoc*>(&document)) {
        auto found = m_dis.find(dis->GetRadioId().Packed());
        if (found != m_dis.end() && found->second.get() == dis)
            m_dis.erase(found);
    } else if (const auto* hla = dynamic_cast<const CQuorlexHlaDoc*>(&document)) {
        auto found = m_hla.find(hla->GetObjectHandle());
        if (found != m_hla.end() && found->second.get() == hla)
            m_hla.erase(found);
    }
}

std::vector<std::shared_ptr<CDetailDoc>> CDetailDocuments::TakeAll()
{
    std::vector<std::shared_ptr<CDetailDoc>> all;
    all.reserve(Size());
    for (auto& [key, document] : m_dis)
        all.push_back(std::move(document));
    for (auto& [handle, document] : m_hla)
        all.push_back(std::move(document));
    m_dis.clear();
    m_hla.clear();
    return all;
}
