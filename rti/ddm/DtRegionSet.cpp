#include "ddm/DtRegionSet.h"

#include "ddm/DtRegion.h"
#include "msg/DtRegionSetMsgs.h"

DtRegionSet::DtRegionSet() = default;

DtRegionSet::DtRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle) : handle_(setHandle) {
  addRegion(regionHandle);
}

DtRegionSet::DtRegionSet(std::uint32_t setHandle, DtRegion* region) : handle_(setHandle) {
  if (region) addRegion(region);
}

DtRegionSet::~DtRegionSet() = default;

void DtRegionSet::setRegionSetHandle(std::uint32_t handle) {
  handle_ = handle;
  if (bounding_) bounding_->setHandle(handle);
}

void DtRegionSet::addRegion(DtRegion* region) {
  if (!region) return;
  if (DtRegionEntry* entry = regions_.lookup(region->handle())) {
    entry->region = region;
    return;
  }
  regions_.add(region->handle(), region);
}

void DtRegionSet::addRegion(std::uint32_t regionHandle) {
  if (!regions_.isMember(regionHandle)) regions_.add(regionHandle, nullptr);
}

void DtRegionSet::removeRegion(std::uint32_t regionHandle) { regions_.destroy(regionHandle); }

void DtRegionSet::emptyRegions() { regions_.destroyAll(); }

namespace {

template <class Msg>
void fillIn(Msg* msg, const DtRegionEntryList& regions) {
  if (!msg) return;
  msg->reserveRegionSlots(regions.count());
  for (const DtRegionEntry& entry : regions) msg->addRegion(entry.handle);
}

}  // namespace

void DtRegionSet::fillInRegions(DtInterRegSetMsg* msg) const { fillIn(msg, regions_); }

void DtRegionSet::fillInRegions(DtObjRegSetMsg* msg) const { fillIn(msg, regions_); }

DtRegion* DtRegionSet::region(std::uint32_t regionHandle) const {
  const DtRegionEntry* entry = regions_.lookup(regionHandle);
  return entry ? entry->region : nullptr;
}

bool DtRegionSet::isEmptyRegions() const { return regionCount() > 0; }

bool DtRegionSet::isMemberRegion(const DtRegionSet& other, std::uint32_t regionHandle) const {
  return regions_.contains(&other.regionList(), regionHandle);
}

bool DtRegionSet::isMemberRegion(const DtRegionSet& other) const { return regions_.contains(other.regionList()); }

bool DtRegionSet::isMemberRegion(std::uint32_t regionHandle) const { return regions_.isMember(regionHandle); }

bool DtRegionSet::intersect(const DtRegion& region) const {
  for (const DtRegionEntry& entry : regions_) {
    if (entry.region && entry.region->intersect(region)) return true;
  }
  return false;
}

bool DtRegionSet::intersect(const DtRegionSet& other) const {
  for (const DtRegionEntry& entry : regions_) {
    if (entry.region && other.intersect(*entry.region)) return true;
  }
  return false;
}

void DtRegionSet::setBoundingRegion(std::unique_ptr<DtRegion> region) {
  bounding_ = std::move(region);
  if (bounding_) bounding_->setHandle(handle_);
}

void DtRegionSet::addRegionToBounds(DtRegion* region) {
  if (!region) return;
  DtRegionSet::addRegion(region);
  if (!bounding_) return;
  bounding_->setSpace(region->space());
  bounding_->addExtents(region->getExtents(), region->getNumberOfExtents());
}
