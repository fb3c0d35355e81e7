#pragma once
// DtRegionMatchList: pairs of region sets that stand in one relation (they
// match, they overlap, they do both), kept per set b as the entry of b's
// handle listing every set a paired with it. An entry goes with its last
// pair, so a look-up by b's handle tells whether b takes part at all.
//
// The list keeps its entries itself (they are bookkeeping made by addMatch);
// it never owns the sets they name.

#include <cstdint>
#include <optional>

#include "ddm/DtHandleIndex.h"
#include "ddm/DtRegionMatches.h"

struct DtRegionMatchEntry {
  std::uint32_t handle;
  DtRegionMatches matches;
};

class DtRegionMatchList {
public:
  using const_iterator = DtHandleIndex<DtRegionMatchEntry>::const_iterator;

  // Files the entry under the handle, replacing one there.
  void add(std::uint32_t setHandle, const DtRegionMatches& matches) { entries_.put({setHandle, matches}); }
  // Takes the entry out; nothing when there is none.
  std::optional<DtRegionMatches> remove(std::uint32_t setHandle);
  // Null when the set has no entry.
  DtRegionMatches* lookup(std::uint32_t setHandle);
  const DtRegionMatches* lookup(std::uint32_t setHandle) const;
  DtRegionMatches* operator[](std::uint32_t setHandle) { return lookup(setHandle); }

  // Records the pair: a joins the entry of b (made when absent). Null sets
  // do nothing.
  void addMatch(DtRegionSet* a, DtRegionSet* b);
  // Drops the pair; b's entry goes when it was its last.
  void removeMatch(const DtRegionSet* a, const DtRegionSet* b);
  void destroy(std::uint32_t setHandle) { entries_.take(setHandle); }
  void destroyAll() { entries_.clear(); }

  std::uint32_t count() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

private:
  DtHandleIndex<DtRegionMatchEntry> entries_;
};
