#pragma once
// DtPubRegionSet: a publication region set of this federate: the regions
// with which it publishes classes' attributes and updates objects'
// attributes, and the channel its updates take. A publication of class P
// fits a subscription of class S when P is S or derives from S; its matches
// are recorded in P's subscription tables. Object records hold it through
// DtPubRegionSetView.
//
// Made, filed and deleted by the object data distribution manager.

#include <cstdint>

#include "ddm/DtLocalRegionSet.h"
#include "objects/DtPubRegionSetView.h"

class DtRegionEntryList;

class DtPubRegionSet : public DtLocalRegionSet, public DtPubRegionSetView {
public:
  DtPubRegionSet() = default;
  DtPubRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtLocalRegionSet(setHandle, regionHandle) {}
  DtPubRegionSet(std::uint32_t setHandle, DtRegion* region) : DtLocalRegionSet(setHandle, region) {}
  // A set of these regions; each known region files the set as one of its
  // publication sets.
  DtPubRegionSet(std::uint32_t setHandle, const DtRegionEntryList& regions);

  std::uint32_t regionSetHandle() const override { return DtLocalRegionSet::regionSetHandle(); }
  bool isMatchOverlap(std::uint32_t setHandle) const override { return DtLocalRegionSet::isMatchOverlap(setHandle); }

  // The other set's regions join this one's; each known one files this set
  // as a publication set.
  void addRegions(const DtRegionSet& other);
  bool fits(const DtObjectClassInfo& localClass, const DtObjectClassInfo& otherClass) const override;

protected:
  void recordMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                      const DtAttributeHandleSet& attributes) const override;
  void recordOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                     const DtAttributeHandleSet& attributes) const override;
  void unrecord(DtObjectClassInfo& cls, const DtObjectRegionSet& other, const DtObjectClassInfo& otherClass,
                const DtAttributeHandleSet& attributes) const override;
  void moveToOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle) const override;
  void moveToMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                      const DtAttributeHandleSet& attributes) const override;
};
