// The radio records in the order they were first seen (the order the tree
// and "All Details" follow), with hash indexes so that a PDU finds its record
// at the same cost whether ten radios or ten thousand are known.
//
// Not thread-safe: the application core guards it with its lock.
#pragma once

#include "core/CRadioReceive.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CRadioList {
public:
    CRadioReceive* FindDis(const DisRadioId& id) const;
    CRadioReceive* FindHla(std::uint32_t objectHandle) const;
    // The first HLA record (in list order) with that object instance name.
    CRadioReceive* FindHlaByName(const std::string& name) const;

    // Appends a new DIS record for the radio (the caller checked it is new).
    CRadioReceive& AddDis(const DisRadioId& id);
    // Appends an HLA record; its object handle and name must be set.
    CRadioReceive& AddHla(std::unique_ptr<CRadioReceive> record);
    bool RemoveHla(std::uint32_t objectHandle);

    std::size_t Size() const { return m_records.size(); }
    const CRadioReceive& At(std::size_t index) const { return *m_records[index]; }
    void Clear();

private:
    std::vector<std::unique_ptr<CRadioReceive>> m_records;
    // DIS records are found by their four numbers, HLA records by their
    // object handle, so a DIS PDU never lands in an HLA radio's record.
    std::unordered_map<std::uint64_t, CRadioReceive*> m_disIndex;
    std::unordered_map<std::uint32_t, CRadioReceive*> m_hlaIndex;
    std::unordered_map<std::string, CRadioReceive*> m_hlaNameIndex;   // the first record of each name
};
