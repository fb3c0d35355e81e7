#include "ddm/DtRegionSetList.h"

#include <vector>

#include "ddm/DtRegionSet.h"

DtRegionSet* DtRegionSetList::add(std::uint32_t handle, DtRegionSet* set) {
  if (!set) return nullptr;
  const auto replaced = sets_.put({handle, set});
  return replaced && replaced->set != set ? replaced->set : nullptr;
}

DtRegionSet* DtRegionSetList::remove(std::uint32_t handle) {
  const auto taken = sets_.take(handle);
  return taken ? taken->set : nullptr;
}

DtRegionSet* DtRegionSetList::lookup(std::uint32_t handle) const {
  const DtRegionSetEntry* entry = sets_.find(handle);
  return entry ? entry->set : nullptr;
}

void DtRegionSetList::destroy(std::uint32_t handle) {
  DtRegionSet* set = remove(handle);
  if (owning_) delete set;
}

void DtRegionSetList::destroyAll() {
  // Taken out before they go, so that a set's end finds the list consistent.
  while (!sets_.empty()) destroy(sets_.begin()->handle);
}

DtRegionSet* DtRegionSetList::getRegionSetAddHandle(std::uint32_t regionHandle, DtRegionSet* set) const {
  if (set && set->isMemberRegion(regionHandle)) return set;
  const DtRegionEntryList* current = set ? &set->regionList() : nullptr;
  for (const DtRegionSetEntry& entry : sets_) {
    if (entry.set->regionList().equal(current, regionHandle)) return entry.set;
  }
  return nullptr;
}

DtRegionSet* DtRegionSetList::getRegionSetSubHandle(std::uint32_t regionHandle, DtRegionSet* set) const {
  if (!set || !set->isMemberRegion(regionHandle)) return set;
  if (set->regionCount() <= 1) return nullptr;
  for (const DtRegionSetEntry& entry : sets_) {
    const DtRegionEntryList& regions = entry.set->regionList();
    if (!regions.isMember(regionHandle) && set->regionList().equal(&regions, regionHandle)) return entry.set;
  }
  return nullptr;
}

DtRegionSet* DtRegionSetList::getRegionSet(const DtRegionEntryList& regions) const {
  for (const DtRegionSetEntry& entry : sets_) {
    if (entry.set->regionList() == regions) return entry.set;
  }
  return nullptr;
}

void DtRegionSetList::removeRegionSets(const DtRegionSetList& sets, DtRegionSetList& removed) {
  std::vector<std::uint32_t> handles;  // first, as `sets` may be this list
  for (const DtRegionSetEntry& entry : sets) handles.push_back(entry.set->regionSetHandle());
  for (const std::uint32_t handle : handles) {
    if (DtRegionSet* taken = remove(handle)) removed.add(handle, taken);
  }
}
