#pragma once
// DtRegionMatches: one region set and the sets recorded as matching it, by
// their region-set handles. It owns none of them; a copy names the same
// sets.

#include <cstdint>

#include "ddm/DtHandleIndex.h"
#include "ddm/DtRegionSetList.h"

class DtRegionMatches {
public:
  using const_iterator = DtHandleIndex<DtRegionSetEntry>::const_iterator;

  DtRegionMatches() = default;
  explicit DtRegionMatches(DtRegionSet* set) : set_(set) {}

  DtRegionSet* regionSet() const { return set_; }
  void setRegionSet(DtRegionSet* set) { set_ = set; }

  // Null does nothing; a set of the same handle is replaced.
  void addMatch(DtRegionSet* set);
  void removeMatch(const DtRegionSet* set);
  bool isMember(std::uint32_t setHandle) const { return matches_.contains(setHandle); }
  std::uint32_t count() const { return matches_.size(); }
  // Forgets every match (deletes nothing).
  void empty() { matches_.clear(); }

  const_iterator begin() const { return matches_.begin(); }
  const_iterator end() const { return matches_.end(); }

private:
  DtRegionSet* set_ = nullptr;
  DtHandleIndex<DtRegionSetEntry> matches_;
};
