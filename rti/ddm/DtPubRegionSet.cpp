#include "ddm/DtPubRegionSet.h"

#include "ddm/DtRegion.h"
#include "objects/DtObjectClassInfo.h"

DtPubRegionSet::DtPubRegionSet(std::uint32_t setHandle, const DtRegionEntryList& regions) {
  setRegionSetHandle(setHandle);
  for (const DtRegionEntry& entry : regions) {
    if (!entry.region) {
      addRegion(entry.handle);
      continue;
    }
    addRegion(entry.region);
    entry.region->addObjPubRegSet(this);
  }
}

void DtPubRegionSet::addRegions(const DtRegionSet& other) {
  for (const DtRegionEntry& entry : other.regionList()) {
    if (!entry.region) {
      addRegion(entry.handle);
      continue;
    }
    addRegion(entry.region);
    entry.region->addObjPubRegSet(this);
  }
}

bool DtPubRegionSet::fits(const DtObjectClassInfo& localClass, const DtObjectClassInfo& otherClass) const {
  return localClass.isOfClass(otherClass.handle());
}

void DtPubRegionSet::recordMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                    const DtAttributeHandleSet& attributes) const {
  cls.addMatchingSub(otherHandle, attributes);
}

void DtPubRegionSet::recordOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                   const DtAttributeHandleSet& attributes) const {
  cls.addOverlapSub(otherHandle, attributes);
}

void DtPubRegionSet::unrecord(DtObjectClassInfo& cls, const DtObjectRegionSet& other, const DtObjectClassInfo&,
                              const DtAttributeHandleSet& attributes) const {
  cls.removeMatchingSub(other.regionSetHandle(), attributes);
}

void DtPubRegionSet::moveToOverlap(DtObjectClassInfo& cls, std::uint32_t otherHandle) const {
  cls.moveToOverlapSub(otherHandle);
}

void DtPubRegionSet::moveToMatching(DtObjectClassInfo& cls, std::uint32_t otherHandle,
                                    const DtAttributeHandleSet& attributes) const {
  cls.moveToMatchingSub(otherHandle, attributes);
}
