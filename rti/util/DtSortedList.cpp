#include "util/DtSortedList.h"

#include <utility>

#include "util/DtLinkOps.h"

DtSortedListItem::~DtSortedListItem() = default;

DtSortedList::~DtSortedList() { DtLinkOps<DtSortedListItem>::deleteAll(head_); }

void DtSortedList::setDescending(int descending) {
  if ((descending != 0) != descending_) reverse();
}

bool DtSortedList::inOrder(const DtSortedListItem* a, const DtSortedListItem* b) const {
  return descending_ ? a->greaterOrEqual(b) : a->lessOrEqual(b);
}

DtSortedListItem* DtSortedList::insert(std::uint32_t key) { return insertSorted(makeItem(key)); }

DtSortedListItem* DtSortedList::insertSorted(DtSortedListItem* item) {
  DtSortedListItem* position = head_;
  while (position && inOrder(position, item)) position = position->next_;
  insertBefore(item, position);
  return item;
}

std::uint32_t DtSortedList::removeItem(DtSortedListItem* item) {
  if (!item) return 0;
  detach(item);
  const std::uint32_t key = item->key_;
  delete item;
  return key;
}

void DtSortedList::clear() {
  DtSortedListItem* item = head_;
  while (item) {
    DtSortedListItem* next = item->next_;
    removeItem(item);
    item = next;
  }
}

DtSortedListItem* DtSortedList::find(std::uint32_t key) const {
  for (DtSortedListItem* item = head_; item; item = item->next_) {
    if (item->key_ == key) return item;
  }
  return nullptr;
}

void DtSortedList::reverse() {
  descending_ = !descending_;
  for (DtSortedListItem* item = head_; item;) {
    DtSortedListItem* next = item->next_;
    std::swap(item->prev_, item->next_);
    item = next;
  }
  std::swap(head_, tail_);
}

void DtSortedList::applyAll() {
  // Ascending key order either way; the neighbour is read first so that
  // apply() may remove its own item.
  if (descending_) {
    for (DtSortedListItem* item = tail_; item;) {
      DtSortedListItem* prev = item->prev_;
      item->apply();
      item = prev;
    }
  } else {
    for (DtSortedListItem* item = head_; item;) {
      DtSortedListItem* next = item->next_;
      item->apply();
      item = next;
    }
  }
}

DtSortedListItem* DtSortedList::makeItem(std::uint32_t key) { return new DtSortedListItem(key); }

void DtSortedList::insertBefore(DtSortedListItem* item, DtSortedListItem* position) {
  if (position) {
    linkBefore(item, position);
  } else {
    linkAfter(item, nullptr);
  }
}

void DtSortedList::detach(DtSortedListItem* item) {
  DtLinkOps<DtSortedListItem>::unlink(head_, tail_, item);
  item->prev_ = item->next_ = nullptr;
  --count_;
}

void DtSortedList::reposition(DtSortedListItem* item) {
  if (item->next_ && !inOrder(item, item->next_)) {
    moveForward(item, item->next_);
  } else if (item->prev_ && !inOrder(item->prev_, item)) {
    moveBackward(item, item->prev_);
  }
}

void DtSortedList::moveForward(DtSortedListItem* item, DtSortedListItem* from) {
  DtSortedListItem* c = from;
  while (c && !inOrder(item, c)) c = c->next_;
  detach(item);
  if (c) {
    linkBefore(item, c);
  } else {
    linkAfter(item, nullptr);
  }
}

void DtSortedList::moveBackward(DtSortedListItem* item, DtSortedListItem* from) {
  DtSortedListItem* c = from;
  while (c && !inOrder(c, item)) c = c->prev_;
  detach(item);
  if (c) {
    linkAfter(item, c);
  } else {
    linkBefore(item, nullptr);
  }
}

void DtSortedList::linkBefore(DtSortedListItem* item, DtSortedListItem* position) {
  if (!position) position = head_;
  DtLinkOps<DtSortedListItem>::insertBetween(head_, tail_, item, position ? position->prev_ : nullptr, position);
  ++count_;
}

void DtSortedList::linkAfter(DtSortedListItem* item, DtSortedListItem* position) {
  if (!position) position = tail_;
  DtLinkOps<DtSortedListItem>::insertBetween(head_, tail_, item, position, position ? position->next_ : nullptr);
  ++count_;
}
