#pragma once
// DtRegionSetListByClass: per interaction class handle, a list of region
// sets (a region's interaction publication sets, say). The table owns its
// inner lists; whether those own their sets is the flag it is made with,
// handed to every inner list it makes.

#include <cstdint>
#include <memory>

#include "ddm/DtHandleIndex.h"
#include "ddm/DtRegionSetList.h"

struct DtClassRegionSets {
  std::uint32_t handle;  // the interaction class
  std::unique_ptr<DtRegionSetList> sets;
};

class DtRegionSetListByClass {
public:
  using const_iterator = DtHandleIndex<DtClassRegionSets>::const_iterator;

  explicit DtRegionSetListByClass(bool owning = false) : owning_(owning) {}
  DtRegionSetListByClass(const DtRegionSetListByClass&) = delete;
  DtRegionSetListByClass& operator=(const DtRegionSetListByClass&) = delete;
  ~DtRegionSetListByClass() { destroyAll(); }

  // Files the set under its handle in the class's list (made when absent).
  // Null does nothing.
  void addRegionSet(std::uint32_t classHandle, DtRegionSet* set);
  // The class's list, made (with this table's flag) when absent.
  DtRegionSetList& regionSetList(std::uint32_t classHandle);
  // Takes the set out of the class's list and hands it back (null when
  // there is none). With dropEmpty, a list left empty goes too.
  DtRegionSet* removeRegionSet(std::uint32_t classHandle, std::uint32_t setHandle, bool dropEmpty);
  // Null when the class has no list.
  DtRegionSetList* lookup(std::uint32_t classHandle) const;
  // Files a list under the class; the list it replaces is handed back.
  std::unique_ptr<DtRegionSetList> add(std::uint32_t classHandle, std::unique_ptr<DtRegionSetList> list);
  // Takes the class's list out; null when there is none.
  std::unique_ptr<DtRegionSetList> remove(std::uint32_t classHandle);
  // Deletes the class's list (and its sets, when it owns them).
  void destroy(std::uint32_t classHandle) { remove(classHandle); }
  void destroyAll();

  std::uint32_t count() const { return lists_.size(); }
  const_iterator begin() const { return lists_.begin(); }
  const_iterator end() const { return lists_.end(); }

private:
  bool owning_;
  DtHandleIndex<DtClassRegionSets> lists_;
};
