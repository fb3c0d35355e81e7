#pragma once
// DtAttrSetTable: attribute handle sets filed under a handle: the attributes
// that each remote federate subscribes in a class, or that each region set
// subscribes, matches or overlaps. The set operations below move attributes
// between such tables as subscriptions and region matches change; an entry
// that a removal leaves empty goes.

#include <cstdint>

#include "api/DtAttributeHandleSet.h"
#include "objects/DtHandleTable.h"

class DtAttrSetTable : public DtHandleTable<DtAttributeHandleSet> {
public:
  // Unites the set into the entry for `key`; files a copy when there is none.
  void addSet(std::uint32_t key, const DtAttributeHandleSet& set);
  // Takes the set's attributes out of the entry for `key`.
  void removeSet(std::uint32_t key, const DtAttributeHandleSet& set);
  // Moves the whole entry for `key` into `to` (united with what `to` holds
  // under that key).
  void moveSet(DtAttrSetTable& to, std::uint32_t key);
  // Moves only the attributes of `set` from the entry for `key` into `to`;
  // the others stay.
  void moveSet(DtAttrSetTable& to, std::uint32_t key, const DtAttributeHandleSet& set);
};
