#include "ddm/DtSubRegionSet.h"

#include "ddm/DtRegion.h"
#include "objects/DtObjectClassInfo.h"

void DtSubRegionSet::addRegions(const DtRegionSet& other, bool active) {
  for (const DtRegionEntry& entry : other.regionList()) {
    if (!entry.region) {
      addRegion(entry.handle);
      continue;
    }
    addRegion(entry.region);
    if (active) {
      entry.region->addObjSubRegSet(this);
    } else {
      entry.region->addObjPasRegSet(this);
    }
  }
}

bool DtSubRegionSet::fits(const DtObjectClassInfo& localClass, const DtObjectClassInfo& otherClass) const {
  return otherClass.isOfClass(localClass.handle());
}

void DtSubRegionSet::recordMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                    const DtAttributeHandleSet& attributes) const {
  cls.addMatchingPub(otherHandle, attributes);
}

void DtSubRegionSet::recordOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                   const DtAttributeHandleSet& attributes) const {
  cls.addOverlapPub(otherHandle, attributes);
}

void DtSubRegionSet::unrecord(DtObjectClassInfo& cls, const DtObjectRegionSet& other,
                              const DtObjectClassInfo& otherClass, const DtAttributeHandleSet& attributes) const {
  // The class's tables are shared by its subscription and passive sets: an
  // attribute the publication set still carries stays while another of them
  // overlaps it.
  DtAttributeHandleSet gone;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle a = attributes.getHandle(i);
    const DtAttrInfo* info = cls.attrByHandle(a);
    const auto overlapsOther = [&](const DtSubRegionSet* set) {
      return set && set != this && set->isOverlap(other.regionSetHandle());
    };
    const bool heldElsewhere = other.isMemberAttributes(otherClass.handle(), a) && info &&
                               (overlapsOther(info->subRegionSet()) || overlapsOther(info->pasRegionSet()));
    if (!heldElsewhere) gone.add(a);
  }
  if (!gone.isEmpty()) cls.removeMatchingPub(other.regionSetHandle(), gone);
}

void DtSubRegionSet::moveToOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle) const {
  cls.moveToOverlapPub(otherHandle);
}

void DtSubRegionSet::moveToMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                    const DtAttributeHandleSet& attributes) const {
  cls.moveToMatchingPub(otherHandle, attributes);
}
