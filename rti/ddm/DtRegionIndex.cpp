#include "ddm/DtRegionIndex.h"

#include <algorithm>

#include "ddm/DtRegion.h"

namespace {

// A region no range of a first dimension can place.
bool meetsAnywhere(const DtRegion& region) {
  if (region.getSpaceHandle() == 0) return true;
  const DtRegionExtent* extents = region.getExtents();
  for (RTI::ULong e = 0; extents && e < region.getNumberOfExtents(); ++e) {
    if (extents[e].dimensionCount() == 0) return true;
  }
  return false;
}

}  // namespace

void DtRegionIndex::add(DtRegion& region) {
  remove(region);
  Filed filed{static_cast<std::int64_t>(region.getSpaceHandle()), {}, meetsAnywhere(region)};
  if (filed.everywhere) {
    everywhere_.push_back(&region);
  } else {
    Space& space = spaces_[filed.space];
    const DtRegionExtent* extents = region.getExtents();
    for (RTI::ULong e = 0; extents && e < region.getNumberOfExtents(); ++e) {
      const std::uint32_t lower = extents[e].getLowerBound(0), upper = extents[e].getUpperBound(0);
      space.widest = std::max(space.widest, upper >= lower ? upper - lower : 0u);
      filed.entries.push_back(space.byLower.insert({lower, {&region, upper}}));
    }
  }
  where_.emplace(&region, std::move(filed));
}

void DtRegionIndex::remove(const DtRegion& region) {
  const auto found = where_.find(&region);
  if (found == where_.end()) return;
  if (found->second.everywhere) {
    std::erase(everywhere_, &region);
  } else {
    Space& space = spaces_[found->second.space];
    for (const auto& entry : found->second.entries) space.byLower.erase(entry);
  }
  where_.erase(found);
}

void DtRegionIndex::candidates(const DtRegion& region, const std::function<void(DtRegion&)>& found) const {
  for (DtRegion* anywhere : everywhere_) found(*anywhere);
  if (meetsAnywhere(region)) {
    // It meets every region of every space.
    for (const auto& [filedRegion, filed] : where_) {
      if (!filed.everywhere) found(*const_cast<DtRegion*>(filedRegion));
    }
    return;
  }
  const auto space = spaces_.find(static_cast<std::int64_t>(region.getSpaceHandle()));
  if (space == spaces_.end()) return;
  std::vector<DtRegion*> hits;
  const DtRegionExtent* extents = region.getExtents();
  for (RTI::ULong e = 0; extents && e < region.getNumberOfExtents(); ++e) {
    const std::uint32_t lower = extents[e].getLowerBound(0), upper = extents[e].getUpperBound(0);
    // A filed range starts at most `widest` below this one's start, and at
    // or before its end (bounds taken inclusively: a superset).
    const std::uint32_t from = lower > space->second.widest ? lower - space->second.widest : 0;
    for (auto it = space->second.byLower.lower_bound(from); it != space->second.byLower.end() && it->first <= upper;
         ++it) {
      if (it->second.upper >= lower) hits.push_back(it->second.region);
    }
  }
  std::sort(hits.begin(), hits.end());
  hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
  for (DtRegion* hit : hits) found(*hit);
}

void DtRegionIndex::clear() {
  spaces_.clear();
  everywhere_.clear();
  where_.clear();
}
