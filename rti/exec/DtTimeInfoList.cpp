#include "exec/DtTimeInfoList.h"

#include "exec/DtTimeInfo.h"
#include "util/DtUlongKey.h"

// ---- DtTimeInfoItem

DtTimeInfoItem::DtTimeInfoItem(DtTimeInfo* info, std::uint32_t sortKind)
    : DtSortedListItem(info->federateHandle()), info_(info), sortKind_(sortKind) {}

int DtTimeInfoItem::compare(const DtSortedListItem* other, bool* known) const {
  const DtTimeInfo& a = *info_;
  const DtTimeInfo& b = *static_cast<const DtTimeInfoItem*>(other)->info_;
  *known = true;
  auto order = [](const RTI::FedTime& x, const RTI::FedTime& y) { return x < y ? -1 : (x == y ? 0 : 1); };
  switch (sortKind_) {
    case byTime: return order(a.time(), b.time());
    case byLookahead: return order(a.lookahead(), b.lookahead());
    case byLbts: return order(a.lbts(), b.lbts());
    case byNerLbts: {
      const int byValue = order(a.nerLbts(), b.nerLbts());
      if (byValue != 0) return byValue;
      // Among equal NER LBTS, a time that is not available comes first.
      return static_cast<int>(a.timeAvailable()) - static_cast<int>(b.timeAvailable());
    }
    default: *known = false; return 0;
  }
}

bool DtTimeInfoItem::lessOrEqual(const DtSortedListItem* other) const {
  bool known = false;
  const int c = compare(other, &known);
  return known && c <= 0;
}

bool DtTimeInfoItem::less(const DtSortedListItem* other) const {
  bool known = false;
  const int c = compare(other, &known);
  return known && c < 0;
}

bool DtTimeInfoItem::greaterOrEqual(const DtSortedListItem* other) const {
  bool known = false;
  const int c = compare(other, &known);
  return known && c >= 0;
}

bool DtTimeInfoItem::greater(const DtSortedListItem* other) const {
  bool known = false;
  const int c = compare(other, &known);
  return known && c > 0;
}

bool DtTimeInfoItem::equal(const DtSortedListItem* other) const {
  bool known = false;
  const int c = compare(other, &known);
  return known && c == 0;
}

void DtTimeInfoItem::print() const { info_->print(); }

// ---- DtTimeInfoList

DtTimeInfoList::DtTimeInfoList(std::uint32_t sortKind) : DtSortedList(0), byHandle_(119), sortKind_(sortKind) {}

DtTimeInfoList::~DtTimeInfoList() { clear(); }

DtTimeInfoItem* DtTimeInfoList::add(DtTimeInfo* info) {
  const DtUlongKey key(info->federateHandle());
  if (auto* old = static_cast<DtTimeInfoItem*>(byHandle_.remove(key))) removeItem(old);
  auto* item = new DtTimeInfoItem(info, sortKind_);
  insertSorted(item);
  byHandle_.add(key, item);
  return item;
}

DtTimeInfo* DtTimeInfoList::remove(std::uint32_t handle) {
  auto* item = static_cast<DtTimeInfoItem*>(byHandle_.remove(DtUlongKey(handle)));
  if (!item) return nullptr;
  DtTimeInfo* info = item->info();
  removeItem(item);
  return info;
}

void DtTimeInfoList::removeAndDelete(std::uint32_t handle) { delete remove(handle); }

DtTimeInfoItem* DtTimeInfoList::findItem(std::uint32_t handle) const {
  return static_cast<DtTimeInfoItem*>(byHandle_.find(DtUlongKey(handle)));
}

DtTimeInfo* DtTimeInfoList::findInfo(std::uint32_t handle) const {
  DtTimeInfoItem* item = findItem(handle);
  return item ? item->info() : nullptr;
}

void DtTimeInfoList::setTime(std::uint32_t handle, const RTI::FedTime& time) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setTime(time);
  if (sortKind_ == byTime || sortKind_ == byLbts) DtSortedList::reposition(item);
}

void DtTimeInfoList::setLookahead(std::uint32_t handle, const RTI::FedTime& lookahead) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setLookahead(lookahead);
  if (sortKind_ == byLookahead || sortKind_ == byLbts) DtSortedList::reposition(item);
}

void DtTimeInfoList::setTimeAndLookahead(std::uint32_t handle, const RTI::FedTime& time,
                                         const RTI::FedTime& lookahead) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setTime(time);
  item->info()->setLookahead(lookahead);
  DtSortedList::reposition(item);
}

void DtTimeInfoList::setNerTime(std::uint32_t handle, const RTI::FedTime& time) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setNerTime(time);
  if (sortKind_ == byNerLbts) DtSortedList::reposition(item);
}

void DtTimeInfoList::setNerLookahead(std::uint32_t handle, const RTI::FedTime& lookahead) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setNerLookahead(lookahead);
  if (sortKind_ == byNerLbts) DtSortedList::reposition(item);
}

void DtTimeInfoList::setNerTimeAndLookahead(std::uint32_t handle, const RTI::FedTime& time,
                                            const RTI::FedTime& lookahead) {
  DtTimeInfoItem* item = findItem(handle);
  if (!item) return;
  item->info()->setNerTime(time);
  item->info()->setNerLookahead(lookahead);
  DtSortedList::reposition(item);
}

void DtTimeInfoList::reposition(const DtTimeInfo* info) {
  if (!info) return;
  if (DtTimeInfoItem* item = findItem(info->federateHandle())) DtSortedList::reposition(item);
}

DtTimeInfoItem* DtTimeInfoList::second() const {
  return head() ? static_cast<DtTimeInfoItem*>(head()->next()) : nullptr;
}

DtTimeInfo* DtTimeInfoList::firstInfo() const { return first() ? first()->info() : nullptr; }

DtTimeInfo* DtTimeInfoList::secondInfo() const { return second() ? second()->info() : nullptr; }

DtTimeInfo* DtTimeInfoList::minExcept(std::uint32_t handle) const {
  DtTimeInfoItem* item = first();
  if (item && handle != 0 && item->info()->federateHandle() == handle)
    item = static_cast<DtTimeInfoItem*>(item->next());
  return item ? item->info() : nullptr;
}

DtTimeInfo* DtTimeInfoList::maxExcept(std::uint32_t handle) const {
  DtTimeInfoItem* item = last();
  if (item && handle != 0 && item->info()->federateHandle() == handle)
    item = static_cast<DtTimeInfoItem*>(item->prev());
  return item ? item->info() : nullptr;
}

void DtTimeInfoList::printAll() const {
  for (auto* item = first(); item; item = static_cast<DtTimeInfoItem*>(item->next())) item->print();
}

void DtTimeInfoList::clear() {
  byHandle_.clear();
  DtSortedList::clear();
}
