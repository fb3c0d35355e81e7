#include "util/DtList.h"

#include "util/DtLinkOps.h"

DtListItem::~DtListItem() = default;

DtList::DtList(const DtList& other) { appendAll(other); }

DtList& DtList::operator=(const DtList& other) {
  if (this == &other) return *this;
  clear();
  appendAll(other);
  return *this;
}

DtList::~DtList() {
  // Items only; the data belong to whoever put them here.
  DtLinkOps<DtListItem>::deleteAll(head_);
}

void DtList::appendAll(const DtList& other) {
  for (DtListItem* item = other.head_; item; item = item->next_) append(item->data_);
}

void DtList::link(DtListItem* item, DtListItem* after) {
  DtLinkOps<DtListItem>::insertBetween(head_, tail_, item, after, after ? after->next_ : head_);
  ++count_;
}

void DtList::unlink(DtListItem* item) {
  DtLinkOps<DtListItem>::unlink(head_, tail_, item);
  --count_;
}

DtListItem* DtList::insertAfter(void* data, DtListItem* after) {
  auto* item = new DtListItem(data);
  link(item, after);
  return item;
}

DtListItem* DtList::append(void* data) { return insertAfter(data, tail_); }

void* DtList::remove(DtListItem* item) {
  if (!item) return nullptr;
  void* data = item->data_;
  unlink(item);
  delete item;
  return data;
}

void DtList::clear() {
  DtListItem* item = head_;
  while (item) {
    DtListItem* next = item->next_;
    remove(item);
    item = next;
  }
}

DtListItem* DtList::find(const void* data) const {
  for (DtListItem* item = head_; item; item = item->next_) {
    if (item->data_ == data) return item;
  }
  return nullptr;
}
