#pragma once
// An item of a DtSortedList, ordered by an unsigned 32-bit key. Subclasses
// (the time-ordered lists) replace the comparisons to order by their own
// values, and apply() to act on each item in DtSortedList::applyAll.

#include <cstdint>

class DtSortedListItem {
public:
  explicit DtSortedListItem(std::uint32_t key) : key_(key) {}
  DtSortedListItem(const DtSortedListItem&) = delete;
  DtSortedListItem& operator=(const DtSortedListItem&) = delete;
  virtual ~DtSortedListItem();

  virtual bool lessOrEqual(const DtSortedListItem* other) const { return key_ <= other->key_; }
  virtual bool less(const DtSortedListItem* other) const { return key_ < other->key_; }
  virtual bool greaterOrEqual(const DtSortedListItem* other) const { return key_ >= other->key_; }
  virtual bool greater(const DtSortedListItem* other) const { return key_ > other->key_; }
  virtual bool equal(const DtSortedListItem* other) const { return key_ == other->key_; }
  virtual void apply() {}

  std::uint32_t key() const { return key_; }
  // After a change while the item is listed, call DtSortedList::reposition.
  void setKey(std::uint32_t key) { key_ = key; }
  DtSortedListItem* next() const { return next_; }
  DtSortedListItem* prev() const { return prev_; }

private:
  friend class DtSortedList;
  template <class>
  friend struct DtLinkOps;
  DtSortedListItem* prev_ = nullptr;
  DtSortedListItem* next_ = nullptr;
  std::uint32_t key_;
};
