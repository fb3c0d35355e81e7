#include "ddm/DtInteractionRegionSet.h"

#include <memory>

#include "ddm/DtRegion.h"
#include "objects/DtInteractionClassInfo.h"

DtInteractionRegionSet::DtInteractionRegionSet(DtInteractionClassInfo& cls) : class_(&cls) {
  setBoundingRegion(std::make_unique<DtRegion>());
}

DtInteractionRegionSet::DtInteractionRegionSet(std::uint32_t handle, DtInteractionClassInfo& cls,
                                               std::uint32_t regionHandle)
    : DtInteractionRegionSet(cls) {
  setRegionSetHandle(handle);
  addRegion(regionHandle);
}

DtInteractionRegionSet::DtInteractionRegionSet(std::uint32_t handle, DtInteractionClassInfo& cls, DtRegion* region)
    : DtInteractionRegionSet(cls) {
  setRegionSetHandle(handle);
  addRegion(region);
}

DtInteractionRegionSet::~DtInteractionRegionSet() {
  emptyOverlaps();
  // A region lists the set under its role; taking it out of all three
  // lists takes out only this set.
  const std::uint32_t cls = classHandle();
  for (const DtRegionEntry& entry : regionList()) {
    if (!entry.region) continue;
    entry.region->removeInterPubRegSet(cls, this);
    entry.region->removeInterSubRegSet(cls, this);
    entry.region->removeInterPasRegSet(cls, this);
  }
}

void DtInteractionRegionSet::addRegion(DtRegion* region) { addRegionToBounds(region); }

void DtInteractionRegionSet::addRegion(std::uint32_t regionHandle) { DtRegionSet::addRegion(regionHandle); }

bool DtInteractionRegionSet::inUse() const { return class_->subRegionSet() == this; }

std::uint32_t DtInteractionRegionSet::classHandle() const { return class_->handle(); }

template <class Tell>
void DtInteractionRegionSet::copyRegions(const DtInteractionRegionSet& other, Tell tell) {
  for (const DtRegionEntry& entry : other.regionList()) {
    if (!entry.region) {
      addRegion(entry.handle);
      continue;
    }
    addRegion(entry.region);
    tell(*entry.region);
  }
}

void DtInteractionRegionSet::addPubRegions(const DtInteractionRegionSet& other) {
  copyRegions(other, [this](DtRegion& region) { region.addInterPubRegSet(classHandle(), this); });
}

void DtInteractionRegionSet::addSubRegions(const DtInteractionRegionSet& other) {
  copyRegions(other, [this](DtRegion& region) { region.addInterSubRegSet(classHandle(), this); });
}

void DtInteractionRegionSet::addPasRegions(const DtInteractionRegionSet& other) {
  copyRegions(other, [this](DtRegion& region) { region.addInterPasRegSet(classHandle(), this); });
}

void DtInteractionRegionSet::addOverlap(DtInteractionRegionSet* other) {
  if (other) overlaps_.add(other->regionSetHandle(), other);
}

void DtInteractionRegionSet::removeOverlap(std::uint32_t handle) { overlaps_.remove(handle); }

void DtInteractionRegionSet::emptyOverlaps() {
  while (!overlaps_.empty()) {
    auto* partner = static_cast<DtInteractionRegionSet*>(overlaps_.begin()->set);
    partner->removeOverlap(regionSetHandle());
    overlaps_.remove(overlaps_.begin()->handle);
  }
}
