#pragma once
// DtSortedList: a doubly linked list of DtSortedListItem kept in ascending
// (or descending) order. Items with equal keys keep their order of
// insertion. The list owns its items. Subclasses make items of their own
// kind by overriding makeItem.
//
// Inserting and repositioning search for the place from both ends of the
// list, so an item that belongs at or near either end (time-stamped data
// arriving in order, a record advancing past all others) costs constant
// time; the place found is the one a walk from the head would find, as long
// as the list stands in order (reposition every item whose key changed).
//
// Not thread safe: the owner serialises access.

#include <cstdint>

#include "util/DtSortedListItem.h"

class DtSortedList {
public:
  explicit DtSortedList(int descending = 0) : descending_(descending != 0) {}
  DtSortedList(const DtSortedList&) = delete;
  DtSortedList& operator=(const DtSortedList&) = delete;
  virtual ~DtSortedList();

  // Reverses the list when the flag changes.
  virtual void setDescending(int descending);
  virtual int descending() const { return descending_ ? 1 : 0; }
  virtual DtSortedListItem* head() const { return head_; }
  virtual DtSortedListItem* tail() const { return tail_; }
  std::uint32_t count() const { return count_; }

  // Whether a may stand before b: a <= b ascending, a >= b descending.
  virtual bool inOrder(const DtSortedListItem* a, const DtSortedListItem* b) const;
  // Makes an item for the key (makeItem) and inserts it in order.
  virtual DtSortedListItem* insert(std::uint32_t key);
  // Inserts an item made by the caller in order, after all equal ones.
  DtSortedListItem* insertSorted(DtSortedListItem* item);
  // Detaches and deletes the item; returns its key (0 for null).
  virtual std::uint32_t removeItem(DtSortedListItem* item);
  virtual void clear();
  // The first item from the head with exactly this key, else null.
  virtual DtSortedListItem* find(std::uint32_t key) const;
  // Toggles the flag and reverses the order of the items.
  virtual void reverse();
  // apply() on every item in ascending key order.
  virtual void applyAll();
  virtual DtSortedListItem* makeItem(std::uint32_t key);

  // Links before `position` (at the tail when null).
  virtual void insertBefore(DtSortedListItem* item, DtSortedListItem* position);
  // Unlinks without deleting.
  virtual void detach(DtSortedListItem* item);
  // Restores the order around one listed item whose value changed.
  virtual void reposition(DtSortedListItem* item);
  virtual void moveForward(DtSortedListItem* item, DtSortedListItem* from);
  virtual void moveBackward(DtSortedListItem* item, DtSortedListItem* from);
  // Links before `position` (at the head when null).
  virtual void linkBefore(DtSortedListItem* item, DtSortedListItem* position);
  // Links after `position` (at the tail when null).
  virtual void linkAfter(DtSortedListItem* item, DtSortedListItem* position);

protected:
  DtSortedListItem* head_ = nullptr;
  DtSortedListItem* tail_ = nullptr;
  std::uint32_t count_ = 0;
  bool descending_;
};
