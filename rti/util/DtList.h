#pragma once
// DtList: the library's doubly linked list of untyped pointers. The list
// owns its items and never the data: owners delete the data themselves
// before they clear a list. Walk it by hand (head(), then next() until
// null); a walk that removes the current item reads next() first.
//
// Not thread safe: the owner serialises access.

#include <cstdint>

#include "util/DtListItem.h"

class DtList {
public:
  DtList() = default;
  // Copies are shallow: new items that point at the same data, in order.
  DtList(const DtList& other);
  DtList& operator=(const DtList& other);
  virtual ~DtList();

  // Links an existing item after `after` (at the head when null).
  virtual void link(DtListItem* item, DtListItem* after);
  // Takes the item out; its own neighbour pointers are left as they were.
  virtual void unlink(DtListItem* item);

  // A new item for the data after `after` (at the head when null).
  DtListItem* insertAfter(void* data, DtListItem* after);
  DtListItem* append(void* data);
  // Unlinks and deletes the item; returns its data (null for a null item).
  void* remove(DtListItem* item);
  void clear();
  // The first item from the head that holds this very pointer, else null.
  DtListItem* find(const void* data) const;

  DtListItem* head() const { return head_; }
  DtListItem* tail() const { return tail_; }
  std::uint32_t count() const { return count_; }

private:
  void appendAll(const DtList& other);

  DtListItem* head_ = nullptr;
  DtListItem* tail_ = nullptr;
  std::uint32_t count_ = 0;
};
