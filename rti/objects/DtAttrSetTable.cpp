#include "objects/DtAttrSetTable.h"

void DtAttrSetTable::addSet(std::uint32_t key, const DtAttributeHandleSet& set) {
  if (DtAttributeHandleSet* entry = find(key)) {
    *entry = entry->setUnion(set);
  } else {
    put(key, set);
  }
}

void DtAttrSetTable::removeSet(std::uint32_t key, const DtAttributeHandleSet& set) {
  DtAttributeHandleSet* entry = find(key);
  if (!entry) return;
  *entry = entry->removeSetIntersection(set);
  if (entry->isEmpty()) remove(key);
}

void DtAttrSetTable::moveSet(DtAttrSetTable& to, std::uint32_t key) {
  const DtAttributeHandleSet* entry = find(key);
  if (!entry) return;
  to.addSet(key, *entry);
  remove(key);
}

void DtAttrSetTable::moveSet(DtAttrSetTable& to, std::uint32_t key, const DtAttributeHandleSet& set) {
  DtAttributeHandleSet* entry = find(key);
  if (!entry) return;
  const DtAttributeHandleSet moving = entry->setIntersection(set);
  *entry = entry->removeSetIntersection(set);
  if (entry->isEmpty()) remove(key);
  if (!moving.isEmpty()) to.addSet(key, moving);
}
