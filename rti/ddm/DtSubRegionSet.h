#pragma once
// DtSubRegionSet: a subscription region set of this federate, active or
// passive (the manager files it as one or the other; the set holds no
// flag). A subscription of class S fits a publication of class P when P is
// S or derives from S; its matches are recorded in S's publication tables,
// where an attribute stays while another subscription or passive set of
// the attribute still overlaps the publication set.
//
// Made, filed and deleted by the object data distribution manager.

#include <cstdint>

#include "ddm/DtLocalRegionSet.h"

class DtSubRegionSet : public DtLocalRegionSet {
public:
  DtSubRegionSet() = default;
  DtSubRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : DtLocalRegionSet(setHandle, regionHandle) {}
  DtSubRegionSet(std::uint32_t setHandle, DtRegion* region) : DtLocalRegionSet(setHandle, region) {}

  // The other set's regions join this one's; each known one files this set
  // as a subscription set (active) or a passive one.
  void addRegions(const DtRegionSet& other, bool active);
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
