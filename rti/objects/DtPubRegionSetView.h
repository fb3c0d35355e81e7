#pragma once
// DtPubRegionSetView: what an object record asks of the publication region
// set of one of its attributes. Region sets belong to data distribution,
// the layer above this one: its publication region set (DtPubRegionSet)
// implements this view, and object records hold such a set through it,
// borrowed, never owned.

#include <cstdint>

class DtPubRegionSetView {
public:
  // The set's region-set handle.
  virtual std::uint32_t regionSetHandle() const = 0;
  // Whether this publication set overlaps and matches the remote
  // subscription region set of that handle.
  virtual bool isMatchOverlap(std::uint32_t regionSet) const = 0;

protected:
  DtPubRegionSetView() = default;
  DtPubRegionSetView(const DtPubRegionSetView&) = default;
  DtPubRegionSetView& operator=(const DtPubRegionSetView&) = default;
  ~DtPubRegionSetView() = default;
};
