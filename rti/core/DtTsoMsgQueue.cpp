#include "core/DtTsoMsgQueue.h"

#include <string>

#include "msg/DtRtiMsg.h"
#include "util/DtFomTypes.h"
#include "util/DtNoticeLimiter.h"

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

std::string printable(const RTI::FedTime& time) {
  char text[64] = "";
  if (time.getPrintableLength() < static_cast<int>(sizeof text))
    const_cast<RTI::FedTime&>(time).getPrintableString(text);
  return text;
}
}  // namespace

DtTsoMsgQueue::DtTsoMsgQueue()
    : DtSortedList(0),
      constrainedSince_(zero()),
      queueLookahead_(zero()),
      deliveredBound_(zero()),
      heldLbts_(zero()),
      grantedTime_(zero()),
      reportedTime_(zero()) {
  heldLbts_->setPositiveInfinity();
}

DtTsoMsgQueue::~DtTsoMsgQueue() { clear(); }

bool DtTsoMsgQueue::queueIfNeeded(const DtRtiMsg& msg) {
  if (!msg.isConstrained() || !constrained_) return false;
  if (msg.orderType() == DtTimestampOrder) {
    const RTI::FedTime& stamp = msg.time();
    if (stamp < *constrainedSince_) return true;  // dropped: from before the federate was constrained
    if (isLate(stamp, msg.transportType() == DtBestEffort)) {
      ++lateDropped_;
      DtNotifyErrorLimited("late time-stamped message",
                           "RTI: a time-stamped message stamped %s came after the bound had passed it (LBTS %s): "
                           "dropped, %llu so far\n",
                           printable(stamp).c_str(), printable(*heldLbts_).c_str(),
                           static_cast<unsigned long long>(lateDropped_));
      return true;
    }
    if (advancePending_ && deliveredBoundSet_ && stamp <= *deliveredBound_) return false;
    insertSorted(new Item(std::unique_ptr<DtRtiMsg>(msg.cloneWithTransport(1))));
    return true;
  }
  if (asyncDelivery_ || advancePending_) return false;
  roHoldList_.emplace_back(msg.cloneWithTransport(1));
  return true;
}

void DtTsoMsgQueue::setGranted(const RTI::FedTime& time, bool available) {
  *grantedTime_ = time;
  grantedAvailable_ = available;
  granted_ = true;
  reported_ = false;
}

void DtTsoMsgQueue::setReportedTime(const RTI::FedTime& time) {
  *reportedTime_ = time;
  reported_ = true;
}

bool DtTsoMsgQueue::isLate(const RTI::FedTime& stamp, bool bestEffort) const {
  if (!lateCheck_) return false;
  if (bestEffort && reported_ && stamp < *reportedTime_) return true;
  if (!heldLbts_->isPositiveInfinity() && stamp < *heldLbts_) return true;
  if (!granted_) return false;
  return stamp < *grantedTime_ || (stamp == *grantedTime_ && !grantedAvailable_);
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
  if (std::unique_ptr<DtRtiMsg> msg = popHeld()) return msg;
  return popIfNotAfter(t);
}

std::unique_ptr<DtRtiMsg> DtTsoMsgQueue::popHeld() {
  if (roHoldList_.empty()) return nullptr;
  std::unique_ptr<DtRtiMsg> msg = std::move(roHoldList_.front());
  roHoldList_.pop_front();
  return msg;
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
