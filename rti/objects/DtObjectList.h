#pragma once
// DtObjectList: one of the object manager's lists of object records (all,
// known, owned, managed by the local RTI component), indexed by object
// handle and by object name, and kept in the order the records were added.
// The list never owns a record: the manager deletes each one once, after
// taking it out of every list.
//
// Look-ups by handle and by name are hash look-ups. The name index refers to
// the record's own name, so a record keeps its name while it is listed.
//
// Walks that act on the objects go through forEach, which takes the handles
// first and looks each one up again before its turn: the action may add or
// remove any record of any list, delete it, or call back into the federate,
// which may do the same.
//
// Used on the federate's thread only; no lock.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/DtList.h"

class DtRtiObject;

class DtObjectList {
public:
  DtObjectList() = default;
  DtObjectList(const DtObjectList&) = delete;
  DtObjectList& operator=(const DtObjectList&) = delete;
  ~DtObjectList();

  // Files the record under its handle and name; a record filed under the
  // same handle before is replaced (it keeps its place in the order).
  void add(DtRtiObject* object);
  // Files the record only when neither its handle nor its name is filed;
  // false (nothing filed) otherwise.
  bool addNew(DtRtiObject* object);
  // Takes the record of that handle out; null when there is none.
  DtRtiObject* remove(std::uint32_t handle);
  void clear();

  // Null when absent.
  DtRtiObject* find(std::uint32_t handle) const;
  DtRtiObject* find(const char* name) const;
  bool contains(std::uint32_t handle) const { return find(handle) != nullptr; }
  std::uint32_t count() const { return list_.count(); }
  bool empty() const { return list_.count() == 0; }

  // The records in the order they were added, for a walk that changes no
  // list (a walk that may, uses forEach).
  const DtList& list() const { return list_; }
  // The handles in that order, as they are now.
  std::vector<std::uint32_t> handles() const;

  // Calls action(record) for every record listed when the walk starts and
  // still listed when its turn comes.
  template <class Action>
  void forEach(Action&& action) const {
    for (const std::uint32_t handle : handles()) {
      if (DtRtiObject* object = find(handle)) action(*object);
    }
  }

private:
  struct Entry {
    DtRtiObject* object;
    DtListItem* item;
  };

  std::unordered_map<std::uint32_t, Entry> byHandle_;
  std::unordered_map<std::string_view, DtRtiObject*> byName_;
  DtList list_;
};
