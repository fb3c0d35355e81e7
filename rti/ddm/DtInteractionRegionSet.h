#pragma once
// DtInteractionRegionSet: a region set of one interaction class, owned by one
// federate: a publication set (one region, one channel), an active or a
// passive subscription set, or another federate's publication or
// subscription set as announced (kind 30). It keeps the sets of the
// opposite role whose regions meet its own (its overlaps, paired on both
// sides, never owned) and a bounding region that collects the extents of
// every region added.
//
// A set going away takes itself out of every region that lists it and out
// of its partners' overlaps, so that neither keeps a dangling pointer.
//
// Not copied. Used on the federate's thread only.

#include <cstdint>

#include "ddm/DtRegionSet.h"
#include "ddm/DtRegionSetList.h"

class DtInteractionClassInfo;

class DtInteractionRegionSet : public DtRegionSet {
public:
  // Handle 0, federate 0, no regions, no channel.
  explicit DtInteractionRegionSet(DtInteractionClassInfo& cls);
  // One region known by handle only.
  DtInteractionRegionSet(std::uint32_t handle, DtInteractionClassInfo& cls, std::uint32_t regionHandle);
  // The region, when not null, added with its extents.
  DtInteractionRegionSet(std::uint32_t handle, DtInteractionClassInfo& cls, DtRegion* region);
  ~DtInteractionRegionSet() override;

  // Null does nothing; the bounding region takes the region's extents.
  void addRegion(DtRegion* region) override;
  void addRegion(std::uint32_t regionHandle) override;
  // The class's current active subscription set is this one.
  bool inUse() const override;

  DtInteractionClassInfo& classDesc() const { return *class_; }
  std::uint32_t classHandle() const;

  // Every region of the other set, in its order; a known region is told
  // that this set (publication, or subscription) now contains it.
  void addPubRegions(const DtInteractionRegionSet& other);
  void addSubRegions(const DtInteractionRegionSet& other);
  // The same for a passive set: its regions list it as their passive set.
  void addPasRegions(const DtInteractionRegionSet& other);

  // The overlaps, by region-set handle. Filing under a handle replaces;
  // null does nothing.
  void addOverlap(DtInteractionRegionSet* other);
  void removeOverlap(std::uint32_t handle);
  bool isOverlap(std::uint32_t handle) const { return overlaps_.isMember(handle); }
  std::uint32_t overlapCount() const { return overlaps_.count(); }
  const DtRegionSetList& overlaps() const { return overlaps_; }
  // Unpairs this set from every partner, on both sides.
  void emptyOverlaps();

private:
  // Tells each region of the other set that this one now uses it, by role.
  template <class Tell>
  void copyRegions(const DtInteractionRegionSet& other, Tell tell);

  DtInteractionClassInfo* class_;
  DtRegionSetList overlaps_{false};
};
