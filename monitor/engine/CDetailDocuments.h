// The open detail documents, one at most per radio: DIS documents by radio
// key, HLA documents by object handle.
//
// Not thread-safe: the application core guards it with its lock. The
// documents themselves are shared with the windows that show them.
#pragma once

#include "engine/CQuorlexDoc.h"
#include "engine/CQuorlexHlaDoc.h"

#include <memory>
#include <unordered_map>
#include <vector>

class CDetailDocuments {
public:
    std::shared_ptr<CQuorlexDoc> FindDis(const DisRadioId& id) const;
    std::shared_ptr<CQuorlexHlaDoc> FindHla(std::uint32_t objectHandle) const;

    void Add(std::shared_ptr<CQuorlexDoc> document);
    void Add(std::shared_ptr<CQuorlexHlaDoc> document);

    // Removes and returns the document (null when none is open).
    std::shared_ptr<CQuorlexDoc> TakeDis(const DisRadioId& id);
    std::shared_ptr<CQuorlexHlaDoc> TakeHla(std::uint32_t objectHandle);
    // Removes exactly this document, if it is still open.
    void Remove(const CDetailDoc& document);
    // Removes and returns every document, the DIS ones first.
    std::vector<std::shared_ptr<CDetailDoc>> TakeAll();

    std::size_t Size() const { return m_dis.size() + m_hla.size(); }

private:
    std::unordered_map<std::uint64_t, std::shared_ptr<CQuorlexDoc>> m_dis;
    std::unordered_map<std::uint32_t, std::shared_ptr<CQuorlexHlaDoc>> m_hla;
};
