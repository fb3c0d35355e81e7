#include "ddm/DtRegionSetListByClass.h"

#include "ddm/DtRegionSet.h"

void DtRegionSetListByClass::addRegionSet(std::uint32_t classHandle, DtRegionSet* set) {
  if (set) regionSetList(classHandle).add(set->regionSetHandle(), set);
}

DtRegionSetList& DtRegionSetListByClass::regionSetList(std::uint32_t classHandle) {
  if (DtRegionSetList* list = lookup(classHandle)) return *list;
  auto made = std::make_unique<DtRegionSetList>(owning_);
  DtRegionSetList& list = *made;
  lists_.put({classHandle, std::move(made)});
  return list;
}

DtRegionSet* DtRegionSetListByClass::removeRegionSet(std::uint32_t classHandle, std::uint32_t setHandle,
                                                     bool dropEmpty) {
  DtRegionSetList* list = lookup(classHandle);
  if (!list) return nullptr;
  DtRegionSet* removed = list->remove(setHandle);
  if (dropEmpty && list->empty()) destroy(classHandle);
  return removed;
}

DtRegionSetList* DtRegionSetListByClass::lookup(std::uint32_t classHandle) const {
  const DtClassRegionSets* entry = lists_.find(classHandle);
  return entry ? entry->sets.get() : nullptr;
}

std::unique_ptr<DtRegionSetList> DtRegionSetListByClass::add(std::uint32_t classHandle,
                                                             std::unique_ptr<DtRegionSetList> list) {
  if (!list) return nullptr;
  auto replaced = lists_.put({classHandle, std::move(list)});
  return replaced ? std::move(replaced->sets) : nullptr;
}

std::unique_ptr<DtRegionSetList> DtRegionSetListByClass::remove(std::uint32_t classHandle) {
  auto taken = lists_.take(classHandle);
  return taken ? std::move(taken->sets) : nullptr;
}

void DtRegionSetListByClass::destroyAll() {
  while (!lists_.empty()) destroy(lists_.begin()->handle);
}
