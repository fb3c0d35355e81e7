#pragma once
// DtObjectRegionSet: the region set of object-class attributes, base of the
// federate's own publication and subscription sets (DtLocalRegionSet) and of
// the sets that stand for other federates' announcements. What the set
// carries (the attributes of classes and objects associated with its
// regions, the sets it overlaps and matches) comes with the object side of
// data distribution; here it is what a region asks of it, and its end, at
// which every region of the set forgets it.

#include <cstdint>

#include "ddm/DtRegionSet.h"

class DtObjectRegionSet : public DtRegionSet {
public:
  DtObjectRegionSet() = default;
  DtObjectRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtRegionSet(setHandle, regionHandle) {}
  DtObjectRegionSet(std::uint32_t setHandle, DtRegion* region) : DtRegionSet(setHandle, region) {}
  // Every known region of the set forgets it as a publication,
  // subscription and passive-subscription set.
  ~DtObjectRegionSet() override;

  // Whether attributes of the object are associated with the set.
  virtual bool isMemberObject(std::uint32_t object) const = 0;
};
