#pragma once
// DtLocalRegionSet: the base of the region sets this federate makes itself,
// its publication and its (active and passive) subscription sets. It adds
// nothing to the object region set but its place among the classes.

#include <cstdint>

#include "ddm/DtObjectRegionSet.h"

class DtLocalRegionSet : public DtObjectRegionSet {
public:
  DtLocalRegionSet() = default;
  DtLocalRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtObjectRegionSet(setHandle, regionHandle) {}
  DtLocalRegionSet(std::uint32_t setHandle, DtRegion* region) : DtObjectRegionSet(setHandle, region) {}
};
