#include "ddm/DtRegionMatchList.h"

#include "ddm/DtRegionSet.h"

std::optional<DtRegionMatches> DtRegionMatchList::remove(std::uint32_t setHandle) {
  auto taken = entries_.take(setHandle);
  if (!taken) return std::nullopt;
  return std::move(taken->matches);
}

DtRegionMatches* DtRegionMatchList::lookup(std::uint32_t setHandle) {
  DtRegionMatchEntry* entry = entries_.find(setHandle);
  return entry ? &entry->matches : nullptr;
}

const DtRegionMatches* DtRegionMatchList::lookup(std::uint32_t setHandle) const {
  const DtRegionMatchEntry* entry = entries_.find(setHandle);
  return entry ? &entry->matches : nullptr;
}

void DtRegionMatchList::addMatch(DtRegionSet* a, DtRegionSet* b) {
  if (!a || !b) return;
  DtRegionMatches* matches = lookup(b->regionSetHandle());
  if (!matches) {
    entries_.put({b->regionSetHandle(), DtRegionMatches(b)});
    matches = lookup(b->regionSetHandle());
  }
  matches->addMatch(a);
}

void DtRegionMatchList::removeMatch(const DtRegionSet* a, const DtRegionSet* b) {
  if (!a || !b) return;
  DtRegionMatches* matches = lookup(b->regionSetHandle());
  if (!matches) return;
  matches->removeMatch(a);
  if (matches->count() == 0) destroy(b->regionSetHandle());
}
