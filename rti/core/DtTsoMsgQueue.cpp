#include "core/DtTsoMsgQueue.h"

#include "msg/DtRtiMsg.h"
#include "util/DtFomTypes.h"

// A queued message (owned), ordered by its time stamp.
class DtTsoMsgQueue::Item : public DtSortedListItem {
public:
  explicit Item(std::unique_ptr<DtRtiMsg> msg) : DtSortedListItem(0), msg_(std::move(msg)) {}
  bool lessOrEqual(const DtSortedListItem* other) const override { return time() <= of(other); }
  bool less(const DtSortedListItem* other) const override { return time() < of(other); }
  bool greaterOrEqual(const DtSortedListItem* other) const override { return time() >= of(other); }
  bool greater(const DtSortedListItem* other) const override { return time() > of(other); }
  bool equal(const DtSortedListItem* other) const override { return time() == of(other); }
  const RTI::FedTime& time() const { return msg_->time(); }
  const DtRtiMsg& msg() const { return *msg_; }
  std::unique_ptr<DtRtiMsg> take() { return std::move(msg_); }

private:
  static const RTI::FedTime& of(const DtSortedListItem* other) { return static_cast<const Item*>(other)->time(); }
  std::unique_ptr<DtRtiMsg> msg_;
};

namespace {
std::unique_ptr<RTI::FedTime> zero() { return std::unique_ptr<RTI::FedTime>(RTI::FedTimeFactory::makeZero()); }

bool matches(const DtRtiMsg& msg, const RTI::EventRetractionHandle& handle) {
  return msg.serialNumber() == handle.theSerialNumber && msg.federateHandle() == handle.sendingFederate;
}
}  // namespace

DtTsoMsgQueue::DtTsoMsgQueue()
    : DtSortedList(0), constrainedSince_(zero()), queueLookahead_(zero()), deliveredBound_(zero()) {}

DtTsoMsgQueue::~DtTsoMsgQueue() { clear(); }

bool DtTsoMsgQueue::queueIfNeeded(const DtRtiMsg& msg) {
  if (!msg.isConstrained() || !constrained_) return false;
  if (msg.orderType() == DtTimestampOrder) {
    const RTI::FedTime& stamp = msg.time();
    if (stamp < *constrainedSince_) return true;  // dropped: from before the federate was constrained
    if (stamp == *constrainedSince_ && !timeAvailable_) return true;
    if (advancePending_ && stamp <= *deliveredBound_) return false;
    insertSorted(new Item(std::unique_ptr<DtRtiMsg>(msg.cloneWithTransport(1))));
    return true;
  }
  if (asyncDelivery_ || advancePending_) return false;
  roHoldList_.emplace_back(msg.cloneWithTransport(1));
  return true;
}

std::unique_ptr<DtRtiMsg> DtTsoMsgQueue::extract(const RTI::EventRetractionHandle& handle) {
  std::unique_ptr<DtRtiMsg> found;
  for (auto* item = static_cast<Item*>(head()); item;) {
    auto* next = static_cast<Item*>(item->next());
    if (matches(item->msg(), handle)) {
      detach(item);
      std::unique_ptr<DtRtiMsg> msg = item->take();
      delete item;
      if (!found) found = std::move(msg);
    }
    item = next;
  }
  return found;
}

bool DtTsoMsgQueue::retract(const RTI::EventRetractionHandle& handle) { return extract(handle) != nullptr; }

void DtTsoMsgQueue::removeFederate(std::uint32_t federateHandle) {
  for (auto* item = static_cast<Item*>(head()); item;) {
    auto* next = static_cast<Item*>(item->next());
    if (item->msg().federateHandle() == federateHandle) removeItem(item);
    item = next;
  }
}

void DtTsoMsgQueue::clear() {
  DtSortedList::clear();
  roHoldList_.clear();
}

std::unique_ptr<DtRtiMsg> DtTsoMsgQueue::nextDeliverable(const RTI::FedTime& t) {
  if (!roHoldList_.empty()) {
    std::unique_ptr<DtRtiMsg> msg = std::move(roHoldList_.front());
    roHoldList_.pop_front();
    return msg;
  }
  return popIfNotAfter(t);
}

std::unique_ptr<DtRtiMsg> DtTsoMsgQueue::popIfNotAfter(const RTI::FedTime& t) {
  auto* item = static_cast<Item*>(head());
  if (!item || !(item->time() <= t)) return nullptr;
  return popFirst();
}

std::unique_ptr<DtRtiMsg> DtTsoMsgQueue::popFirst() {
  auto* item = static_cast<Item*>(head());
  if (!item) return nullptr;
  detach(item);
  std::unique_ptr<DtRtiMsg> msg = item->take();
  delete item;
  return msg;
}

const DtRtiMsg* DtTsoMsgQueue::firstMsg() const {
  auto* item = static_cast<const Item*>(head());
  return item ? &item->msg() : nullptr;
}

std::vector<const DtRtiMsg*> DtTsoMsgQueue::queuedMsgs() const {
  std::vector<const DtRtiMsg*> msgs;
  for (auto* item = static_cast<const Item*>(head()); item; item = static_cast<const Item*>(item->next())) {
    msgs.push_back(&item->msg());
  }
  return msgs;
}
