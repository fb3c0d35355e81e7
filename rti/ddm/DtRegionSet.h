#pragma once
// DtRegionSet: the base of every region set: a set of regions under one
// region-set handle, owned by one federate, with the multicast channel the
// set's traffic takes. Object region sets (publication, subscription, the
// sets other federates announce) and interaction region sets derive from it.
//
// A set names its regions by handle; the region itself is filled in once it
// is known here (another federate's region may be announced after the set).
// It never owns its regions. The sets that collect the extents of their
// regions (remote and interaction sets) keep a bounding region for that,
// which the set owns.
//
// Region sets are not copied. Used on the federate's thread only.

#include <cstdint>
#include <memory>

#include "ddm/DtRegionEntryList.h"

class DtInterRegSetMsg;
class DtObjRegSetMsg;
class DtRegion;

class DtRegionSet {
public:
  DtRegionSet();
  // A set of one region, known by handle only.
  DtRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle);
  // A set of this region (none for null).
  DtRegionSet(std::uint32_t setHandle, DtRegion* region);
  DtRegionSet(const DtRegionSet&) = delete;
  DtRegionSet& operator=(const DtRegionSet&) = delete;
  virtual ~DtRegionSet();

  // The bounding region, when there is one, takes the same handle.
  virtual void setRegionSetHandle(std::uint32_t handle);
  virtual std::uint32_t regionSetHandle() const { return handle_; }
  // 0 until set.
  virtual void setFederateHandle(std::uint32_t federate) { federate_ = federate; }
  virtual std::uint32_t federateHandle() const { return federate_; }
  // A multicast group in host order; 0 for none.
  virtual void setAddress(std::uint32_t address) { address_ = address; }
  virtual std::uint32_t address() const { return address_; }

  // Null does nothing; a region whose handle is listed fills in its entry.
  virtual void addRegion(DtRegion* region);
  // Nothing when the handle is listed already.
  virtual void addRegion(std::uint32_t regionHandle);
  virtual void removeRegion(std::uint32_t regionHandle);
  virtual void emptyRegions();
  // Reserves the message's slots for the set's regions, then adds their
  // handles in the set's order (after any the message holds).
  virtual void fillInRegions(DtInterRegSetMsg* msg) const;
  virtual void fillInRegions(DtObjRegSetMsg* msg) const;
  // Null when the handle is not listed or its region is not known.
  virtual DtRegion* region(std::uint32_t regionHandle) const;
  // Null for the sets without one.
  virtual DtRegion* boundingRegion() const { return bounding_.get(); }
  // Whether the federate uses the set (every concrete set says what that is).
  virtual bool inUse() const = 0;
  // Despite its name: true when the set has at least one region, false when
  // it has none. Kept as it always answered; nothing here calls it.
  virtual bool isEmptyRegions() const;
  // The other set's regions, and the handle, are all regions of this one.
  virtual bool isMemberRegion(const DtRegionSet& other, std::uint32_t regionHandle) const;
  virtual bool isMemberRegion(const DtRegionSet& other) const;
  virtual bool isMemberRegion(std::uint32_t regionHandle) const;
  virtual const DtRegionEntryList& regionList() const { return regions_; }
  // Some known region of this set intersects some known region of the
  // other; regions known by handle only never do.
  virtual bool intersect(const DtRegionSet& other) const;
  // Some known region of this set intersects the region.
  virtual bool intersect(const DtRegion& region) const;
  virtual std::uint32_t regionCount() const { return regions_.count(); }

protected:
  // For the sets that keep a bounding region; it takes the set's handle.
  void setBoundingRegion(std::unique_ptr<DtRegion> region);
  // addRegion of the sets with a bounding region: the base's, then the
  // bounding region takes the region's space and appends its committed
  // extents. Removing a region does not shrink the bounding region.
  void addRegionToBounds(DtRegion* region);

private:
  std::uint32_t handle_ = 0;
  std::uint32_t federate_ = 0;
  DtRegionEntryList regions_;
  std::uint32_t address_ = 0;
  std::unique_ptr<DtRegion> bounding_;
};
