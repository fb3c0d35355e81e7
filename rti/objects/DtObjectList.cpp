#include "objects/DtObjectList.h"

#include "objects/DtRtiObject.h"

DtObjectList::~DtObjectList() { clear(); }

void DtObjectList::add(DtRtiObject* object) {
  if (!object) return;
  const auto [at, added] = byHandle_.try_emplace(object->objHandle(), Entry{object, nullptr});
  if (added) {
    at->second.item = list_.append(object);
  } else if (at->second.object != object) {
    DtRtiObject* replaced = at->second.object;
    const auto named = byName_.find(replaced->objName());
    if (named != byName_.end() && named->second == replaced) byName_.erase(named);
    DtListItem* item = list_.insertAfter(object, at->second.item);
    list_.remove(at->second.item);
    at->second = Entry{object, item};
  }
  // The first record of a name keeps it (the key is its own text).
  byName_.try_emplace(object->objName(), object);
}

bool DtObjectList::addNew(DtRtiObject* object) {
  if (!object) return false;
  const auto [named, free] = byName_.try_emplace(object->objName(), object);
  if (!free) return false;
  const auto [at, added] = byHandle_.try_emplace(object->objHandle(), Entry{object, nullptr});
  if (!added) {
    byName_.erase(named);
    return false;
  }
  at->second.item = list_.append(object);
  return true;
}

DtRtiObject* DtObjectList::remove(std::uint32_t handle) {
  const auto at = byHandle_.find(handle);
  if (at == byHandle_.end()) return nullptr;
  DtRtiObject* object = at->second.object;
  list_.remove(at->second.item);
  byHandle_.erase(at);
  const auto named = byName_.find(object->objName());
  if (named != byName_.end() && named->second == object) byName_.erase(named);
  return object;
}

void DtObjectList::clear() {
  list_.clear();
  byHandle_.clear();
  byName_.clear();
}

DtRtiObject* DtObjectList::find(std::uint32_t handle) const {
  const auto at = byHandle_.find(handle);
  return at == byHandle_.end() ? nullptr : at->second.object;
}

DtRtiObject* DtObjectList::find(const char* name) const {
  if (!name) return nullptr;
  const auto at = byName_.find(name);
  return at == byName_.end() ? nullptr : at->second;
}

std::vector<std::uint32_t> DtObjectList::handles() const {
  std::vector<std::uint32_t> all;
  all.reserve(list_.count());
  for (const DtListItem* item = list_.head(); item; item = item->next()) {
    all.push_back(static_cast<const DtRtiObject*>(item->data())->objHandle());
  }
  return all;
}
