#pragma once
// What the region tests share: routing spaces, regions with given bounds,
// a region's state as text, and a concrete local region set that says
// whether it is in use and counts its ends.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "objects/DtSpaceInfo.h"

// Geo (handle 1: X, Y), Radio (2: Freq), and the default space (0).
struct Spaces {
  Spaces() {
    geo.addDim("X");
    geo.addDim("Y");
    radio.addDim("Freq");
  }
  DtSpaceInfo none{"HlaDefaultSpace", 0};
  DtSpaceInfo geo{"Geo", 1};
  DtSpaceInfo radio{"Radio", 2};
};

using Range = std::pair<std::uint32_t, std::uint32_t>;

// An extent of these ranges, dimension by dimension, both bounds set.
inline DtRegionExtent extentOf(std::initializer_list<Range> ranges) {
  DtRegionExtent extent;
  extent.setDimensionCount(static_cast<std::uint32_t>(ranges.size()));
  std::uint32_t d = 0;
  for (const Range& r : ranges) {
    extent.setLowerBound(d, r.first);
    extent.setUpperBound(d++, r.second);
  }
  return extent;
}

// Sets every bound through the RTI::Region setters and commits.
inline void commitBounds(DtRegion& region, const std::vector<std::vector<Range>>& extents) {
  for (std::size_t e = 0; e < extents.size(); ++e) {
    for (std::size_t d = 0; d < extents[e].size(); ++d) {
      region.setRangeLowerBound(e, d, extents[e][d].first);
      region.setRangeUpperBound(e, d, extents[e][d].second);
    }
  }
  region.commitModifications();
}

// The extents as "[l,u) [l,u) | ..." with each bound's set mask.
inline std::string describeExtents(const DtRegionExtent* extents, std::uint32_t count) {
  std::string s;
  for (std::uint32_t e = 0; e < count; ++e) {
    if (e) s += " | ";
    for (std::uint32_t d = 0; d < extents[e].dimensionCount(); ++d) {
      const DtExtentDim dim = extents[e].getExtent(d);
      s += (d ? " [" : "[") + std::to_string(dim.getLowerBound()) + "," + std::to_string(dim.getUpperBound()) + ")" +
           std::to_string(dim.boundsCheck());
    }
  }
  return s;
}

// Everything a region's save record keeps, as text.
inline std::string describe(const DtRegion& r) {
  return "region " + std::to_string(r.handle()) + " space " + std::to_string(r.getSpaceHandle()) +
         (r.wasCommited() ? " committed" : "") + (r.validForService() ? " service" : "") + "\n  " +
         describeExtents(r.getExtents(), static_cast<std::uint32_t>(r.getNumberOfExtents())) + "\n  working " +
         (r.workingExtents() ? describeExtents(r.workingExtents(), static_cast<std::uint32_t>(r.getNumberOfExtents()))
                             : "none");
}

// A local set whose use the test decides; counts its ends.
class TestSet : public DtPubRegionSet {
public:
  explicit TestSet(std::uint32_t handle, int* ends = nullptr) : ends_(ends) { setRegionSetHandle(handle); }
  TestSet(std::uint32_t handle, DtRegion* region, int* ends = nullptr) : DtPubRegionSet(handle, region), ends_(ends) {}
  ~TestSet() override {
    if (ends_) ++*ends_;
  }
  bool inUse() const override { return used; }
  bool isMemberObject(std::uint32_t object) const override { return object == associatedObject; }

  bool used = false;
  std::uint32_t associatedObject = 0xFFFFFFFF;  // none

private:
  int* ends_;
};
