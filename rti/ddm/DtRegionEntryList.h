#pragma once
// DtRegionEntryList: the regions of a region set, by region handle. An entry
// names its region once the region is known here, and is null while only
// the handle is (a region of another federate not received yet). The list
// owns its entries, never the regions.
//
// The set algebra below lets data distribution reuse region sets: a set is
// identified by the handles of its regions alone, never by their bounds.

#include <cstdint>

#include "ddm/DtHandleIndex.h"

class DtRegion;

struct DtRegionEntry {
  std::uint32_t handle;
  DtRegion* region;  // null while the region is known by handle only
};

class DtRegionEntryList {
public:
  using const_iterator = DtHandleIndex<DtRegionEntry>::const_iterator;
  using iterator = DtHandleIndex<DtRegionEntry>::iterator;

  // Files the entry, replacing one of that handle.
  void add(std::uint32_t handle, DtRegion* region) { entries_.put({handle, region}); }
  // True when there was an entry.
  bool remove(std::uint32_t handle) { return entries_.take(handle).has_value(); }
  // Null when the handle is not in the list.
  DtRegionEntry* lookup(std::uint32_t handle) { return entries_.find(handle); }
  const DtRegionEntry* lookup(std::uint32_t handle) const { return entries_.find(handle); }
  DtRegionEntry* operator[](std::uint32_t handle) { return lookup(handle); }
  bool isMember(std::uint32_t handle) const { return entries_.contains(handle); }
  // Takes the entry out (the region stays as it is).
  void destroy(std::uint32_t handle) { entries_.take(handle); }
  void destroyAll() { entries_.clear(); }

  std::uint32_t count() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

  // The same handles (the regions may differ).
  bool operator==(const DtRegionEntryList& other) const;
  // Every handle of the other list is in this one.
  bool contains(const DtRegionEntryList& other) const;
  // The handle is in this list and, when the other list is given, this
  // list contains it.
  bool contains(const DtRegionEntryList* other, std::uint32_t handle) const;
  bool contains(const DtRegionEntryList* other, const DtRegion& region) const;
  // This list holds exactly the other list's handles plus this one (which
  // may be in the other list already); with no other list, exactly this
  // one handle.
  bool equal(const DtRegionEntryList* other, std::uint32_t handle) const;
  bool equal(const DtRegionEntryList* other, const DtRegion& region) const;

private:
  DtHandleIndex<DtRegionEntry> entries_;
};
