#pragma once
// DtRegionIndex: regions filed by the first dimension of their committed
// extents, per routing space, so that the regions a given region may meet
// are found without walking every region of the federation. The answer is
// a superset: a region's own intersect test has the last word.
//
// A region without a space, of space 0 (the default region, which meets
// every region) or with extents of no dimension is always a candidate. A
// region must be filed again after its extents change, and taken out before
// it goes. Not owning; used on the federate's thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

class DtRegion;

class DtRegionIndex {
public:
  // Files the region under its extents as they are now (again, when it was
  // filed before).
  void add(DtRegion& region);
  void remove(const DtRegion& region);
  bool contains(const DtRegion& region) const { return where_.count(&region) != 0; }
  // Each filed region that may meet `region`, once.
  void candidates(const DtRegion& region, const std::function<void(DtRegion&)>& found) const;
  std::size_t size() const { return where_.size(); }
  void clear();

private:
  struct Entry {
    DtRegion* region;
    std::uint32_t upper;
  };
  struct Space {
    std::multimap<std::uint32_t, Entry> byLower;
    std::uint32_t widest = 0;  // the widest range filed yet; never shrinks
  };
  struct Filed {
    std::int64_t space;
    std::vector<std::multimap<std::uint32_t, Entry>::iterator> entries;
    bool everywhere;
  };

  std::unordered_map<std::int64_t, Space> spaces_;
  std::vector<DtRegion*> everywhere_;
  std::unordered_map<const DtRegion*, Filed> where_;
};
