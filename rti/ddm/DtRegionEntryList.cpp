#include "ddm/DtRegionEntryList.h"

#include <algorithm>

#include "ddm/DtRegion.h"

bool DtRegionEntryList::operator==(const DtRegionEntryList& other) const {
  return count() == other.count() && contains(other);
}

bool DtRegionEntryList::contains(const DtRegionEntryList& other) const {
  if (other.count() > count()) return false;
  return std::all_of(other.begin(), other.end(), [this](const DtRegionEntry& e) { return isMember(e.handle); });
}

bool DtRegionEntryList::contains(const DtRegionEntryList* other, std::uint32_t handle) const {
  return isMember(handle) && (!other || contains(*other));
}

bool DtRegionEntryList::contains(const DtRegionEntryList* other, const DtRegion& region) const {
  return contains(other, region.handle());
}

bool DtRegionEntryList::equal(const DtRegionEntryList* other, std::uint32_t handle) const {
  if (!isMember(handle)) return false;
  if (!other) return count() == 1;
  if (!contains(*other)) return false;
  if (count() == other->count()) return other->isMember(handle);
  return count() == other->count() + 1 && !other->isMember(handle);
}

bool DtRegionEntryList::equal(const DtRegionEntryList* other, const DtRegion& region) const {
  return equal(other, region.handle());
}
