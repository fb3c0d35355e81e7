#include "core/DtRetractionList.h"

#include "msg/DtRtiMsg.h"
#include "util/DtPrintField.h"
#include "util/DtUlongKey.h"

DtRetractInfo::DtRetractInfo(std::uint32_t serialNumber, const RTI::FedTime& time)
    : serialNumber_(serialNumber), time_(RTI::FedTimeFactory::makeZero()) {
  *time_ = time;
}

void DtRetractInfo::print() const {
  DtPrintField("Serial Number:", serialNumber_);
  char text[100] = "";
  if (time_->getPrintableLength() < static_cast<int>(sizeof text)) time_->getPrintableString(text);
  DtPrintField("Time:", text);
}

// A record's place, ordered by its time stamp.
class DtRetractionList::Item : public DtSortedListItem {
public:
  explicit Item(std::unique_ptr<DtRetractInfo> record)
      : DtSortedListItem(record->serialNumber()), record_(std::move(record)) {}
  bool lessOrEqual(const DtSortedListItem* other) const override { return time() <= of(other); }
  bool less(const DtSortedListItem* other) const override { return time() < of(other); }
  bool greaterOrEqual(const DtSortedListItem* other) const override { return time() >= of(other); }
  bool greater(const DtSortedListItem* other) const override { return time() > of(other); }
  bool equal(const DtSortedListItem* other) const override { return time() == of(other); }
  const RTI::FedTime& time() const { return record_->time(); }
  DtRetractInfo* record() const { return record_.get(); }
  std::unique_ptr<DtRetractInfo> take() { return std::move(record_); }

private:
  static const RTI::FedTime& of(const DtSortedListItem* other) { return static_cast<const Item*>(other)->time(); }
  std::unique_ptr<DtRetractInfo> record_;
};

DtRetractionList::DtRetractionList() : bySerial_(119) {}

DtRetractionList::~DtRetractionList() { clear(); }

void DtRetractionList::addMsg(const DtRtiMsg& msg) {
  addRecord(std::make_unique<DtRetractInfo>(static_cast<std::uint32_t>(msg.serialNumber()), msg.time()));
}

void DtRetractionList::addRecord(std::unique_ptr<DtRetractInfo> record) {
  const std::uint32_t serial = record->serialNumber();
  deleteSerial(serial);
  auto* item = new Item(std::move(record));
  insertSorted(item);
  bySerial_.add(DtUlongKey(serial), item);
}

DtRetractionList::Item* DtRetractionList::findItem(std::uint32_t serialNumber) const {
  return static_cast<Item*>(bySerial_.find(DtUlongKey(serialNumber)));
}

std::unique_ptr<DtRetractInfo> DtRetractionList::removeSerial(std::uint32_t serialNumber) {
  Item* item = static_cast<Item*>(bySerial_.remove(DtUlongKey(serialNumber)));
  if (!item) return nullptr;
  std::unique_ptr<DtRetractInfo> record = item->take();
  removeItem(item);
  return record;
}

bool DtRetractionList::contains(std::uint32_t serialNumber) const { return findItem(serialNumber) != nullptr; }

void DtRetractionList::removeBefore(const RTI::FedTime& t) {
  while (auto* item = static_cast<Item*>(head())) {
    if (!(item->time() < t)) break;
    deleteSerial(item->record()->serialNumber());
  }
}

const DtRetractInfo* DtRetractionList::first() const { return head() ? static_cast<Item*>(head())->record() : nullptr; }

const DtRetractInfo* DtRetractionList::last() const { return tail() ? static_cast<Item*>(tail())->record() : nullptr; }

const DtRetractInfo* DtRetractionList::firstInWindow(const RTI::FedTime& lower, const RTI::FedTime& upper,
                                                     bool inclusive) const {
  if (upper < lower || (lower == upper && !inclusive)) return nullptr;
  for (auto* item = static_cast<Item*>(head()); item; item = static_cast<Item*>(item->next())) {
    const bool above = inclusive ? lower <= item->time() : lower < item->time();
    if (!above) continue;
    return item->time() <= upper ? item->record() : nullptr;
  }
  return nullptr;
}

void DtRetractionList::clear() {
  bySerial_.clear();
  DtSortedList::clear();
}

std::vector<const DtRetractInfo*> DtRetractionList::records() const {
  std::vector<const DtRetractInfo*> all;
  for (auto* item = static_cast<const Item*>(head()); item; item = static_cast<const Item*>(item->next())) {
    all.push_back(item->record());
  }
  return all;
}
