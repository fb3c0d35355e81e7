// The radio records in the order they were first seen (the order the tree
// and "All Details" follow), with hash indexes so that a PDU finds its record
// at the same cost whether ten radios or ten thousand are known, and a record
// leaves at the same cost too.
//
// Each DIS record carries the sweep period in which it was last heard, so
// that a radio the tree's sweep dropped is released only when nothing was
// heard from it since that sweep began (see CQuorlexAppCore::OnDisRadioSwept).
//
// Not thread-safe: the application core guards it with its lock.
#pragma once

#include "engine/CRadioReceive.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

class CRadioList {
public:
    CRadioReceive* FindDis(const DisRadioId& id) const;
    CRadioReceive* FindHla(std::uint32_t objectHandle) const;
    // The first HLA record (in list order) with that object instance name.
    CRadioReceive* FindHlaByName(const std::string& name) const;

    // The record of a DIS radio heard in sweep period `period`, made (and
    // appended) when the radio is new.
    CRadioReceive& HeardDis(const DisRadioId& id, std::uint64_t period);
    // Removes a DIS record unless it was heard in `period`; false when it stays
    // (or there is none).
    bool ReleaseDis(const DisRadioId& id, std::uint64_t period);
    // Appends an HLA record; its object handle and name must be set.
    CRadioReceive& AddHla(CRadioReceive record);
    bool RemoveHla(std::uint32_t objectHandle);

    std::size_t Size() const { return m_records.size(); }
    // Calls `visit` with every record, in list order.
    template <typename Visit>
    void ForEach(Visit visit) const
    {
        for (const Entry& entry : m_records)
            visit(entry.record);
    }
    void Clear();

private:
    struct Entry {
        CRadioReceive record;
        std::uint64_t heardInPeriod = 0;   // DIS records
    };
    using Position = std::list<Entry>::iterator;

    std::list<Entry> m_records;
    // DIS records are found by their four numbers, HLA records by their
    // object handle, so a DIS PDU never lands in an HLA radio's record.
    std::unordered_map<std::uint64_t, Position> m_disIndex;
    std::unordered_map<std::uint32_t, Position> m_hlaIndex;
    std::unordered_map<std::string, Position> m_hlaNameIndex;   // the first record of each name
};
