#pragma once
// DtRegionSetList: region sets by region-set handle, walked in filing order.
// Whether the list owns its sets is fixed when it is made: an owning list
// (the data distribution managers' tables of their sets) deletes a set when
// it destroys its entry and at its end; a list that does not own them (a
// region's lists of the sets that contain it, a set's overlaps) never
// deletes one. A copy never owns.
//
// It also finds the set that a set becomes when one region is added to it or
// taken from it, so that sets of the same regions are shared rather than
// made twice.

#include <cstdint>

#include "ddm/DtHandleIndex.h"

class DtRegionEntryList;
class DtRegionSet;

struct DtRegionSetEntry {
  std::uint32_t handle;
  DtRegionSet* set;
};

class DtRegionSetList {
public:
  using const_iterator = DtHandleIndex<DtRegionSetEntry>::const_iterator;

  explicit DtRegionSetList(bool owning = false) : owning_(owning) {}
  // The same sets, not owned.
  DtRegionSetList(const DtRegionSetList& other) : sets_(other.sets_) {}
  DtRegionSetList& operator=(const DtRegionSetList&) = delete;
  ~DtRegionSetList() { destroyAll(); }

  bool owning() const { return owning_; }

  // Files the set; the set filed before under the handle, when it is
  // another one, is handed back (and no longer owned here). Null does
  // nothing.
  DtRegionSet* add(std::uint32_t handle, DtRegionSet* set);
  // Takes the set out (the caller has it now); null when there is none.
  DtRegionSet* remove(std::uint32_t handle);
  DtRegionSet* lookup(std::uint32_t handle) const;
  DtRegionSet* operator[](std::uint32_t handle) const { return lookup(handle); }
  bool isMember(std::uint32_t handle) const { return sets_.contains(handle); }
  // Takes the entry out, deleting the set when the list owns it.
  void destroy(std::uint32_t handle);
  void destroyAll();

  std::uint32_t count() const { return sets_.size(); }
  bool empty() const { return sets_.empty(); }
  const_iterator begin() const { return sets_.begin(); }
  const_iterator end() const { return sets_.end(); }
  std::vector<std::uint32_t> handles() const { return sets_.handles(); }
  // Sets filed later rank higher (0: not filed).
  std::uint64_t filingRank(std::uint32_t handle) const { return sets_.filingRank(handle); }

  // The set that `set` becomes with the region added: `set` itself when it
  // has the region already, else the first set here whose regions are
  // exactly its regions and the region (with no set: the region alone).
  // Null when there is none.
  DtRegionSet* getRegionSetAddHandle(std::uint32_t regionHandle, DtRegionSet* set) const;
  // The set that `set` becomes without the region: `set` itself when it is
  // null or does not have the region, null when the region is its only one,
  // else the first set here without the region whose regions and the region
  // are exactly `set`'s. Null when there is none.
  DtRegionSet* getRegionSetSubHandle(std::uint32_t regionHandle, DtRegionSet* set) const;
  // The first set with exactly these regions; null when there is none.
  DtRegionSet* getRegionSet(const DtRegionEntryList& regions) const;
  // Moves every set of `sets` that is here (by its handle) into `removed`.
  void removeRegionSets(const DtRegionSetList& sets, DtRegionSetList& removed);

private:
  bool owning_ = false;
  DtHandleIndex<DtRegionSetEntry> sets_;
};
