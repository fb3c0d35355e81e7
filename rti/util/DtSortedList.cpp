#include "util/DtSortedList.h"

#include <utility>

#include "util/DtLinkOps.h"

DtSortedListItem::~DtSortedListItem() = default;

namespace {
// In the run first..last (which stands in order), `holds` is true for a
// leading part of the items and false for the rest. Returns the last item
// for which it holds, or null when it holds for none. The run is searched
// from both ends at once, so the cost follows the distance from the nearer
// end: an item in order with its neighbours at either end costs two tests.
template <class Holds>
DtSortedListItem* lastHolding(DtSortedListItem* first, DtSortedListItem* last, Holds holds) {
  if (!first) return nullptr;
  // Every item before `front` holds; every item after `back` does not.
  DtSortedListItem* front = first;
  DtSortedListItem* back = last;
  for (;;) {
    if (holds(back)) return back;
    if (front == back || !holds(front)) return front == first ? nullptr : front->prev();
    front = front->next();
    if (front == back) return back->prev();
    back = back->prev();
  }
}
}  // namespace

DtSortedList::~DtSortedList() { DtLinkOps<DtSortedListItem>::deleteAll(head_); }

void DtSortedList::setDescending(int descending) {
  if ((descending != 0) != descending_) reverse();
}

bool DtSortedList::inOrder(const DtSortedListItem* a, const DtSortedListItem* b) const {
  return descending_ ? a->greaterOrEqual(b) : a->lessOrEqual(b);
}

DtSortedListItem* DtSortedList::insert(std::uint32_t key) { return insertSorted(makeItem(key)); }

DtSortedListItem* DtSortedList::insertSorted(DtSortedListItem* item) {
  // Before the first item that may not stand before the new one, that is
  // after every item with an equal key.
  DtSortedListItem* last = lastHolding(head_, tail_, [&](const DtSortedListItem* c) { return inOrder(c, item); });
  insertBefore(item, last ? last->next_ : head_);
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
  // Before the first item from `from` on that may stand after the moved
  // one: ahead of the items with an equal key.
  DtSortedListItem* c = from;
  if (from) {
    DtSortedListItem* last = lastHolding(from, tail_, [&](const DtSortedListItem* x) { return !inOrder(item, x); });
    c = last ? last->next_ : from;
  }
  detach(item);
  if (c) {
    linkBefore(item, c);
  } else {
    linkAfter(item, nullptr);
  }
}

void DtSortedList::moveBackward(DtSortedListItem* item, DtSortedListItem* from) {
  // After the nearest item before `from` (or `from` itself) that may stand
  // before the moved one: behind the items with an equal key.
  DtSortedListItem* c =
      from ? lastHolding(head_, from, [&](const DtSortedListItem* x) { return inOrder(x, item); }) : nullptr;
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
