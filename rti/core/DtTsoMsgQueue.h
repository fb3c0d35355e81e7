#pragma once
// DtTsoMsgQueue: the time manager's queue of received messages that a
// time-constrained federate may not see yet. The connection manager offers
// it every message it is about to dispatch (takeMsg); the queue keeps a copy
// of
//   - a time-stamp-ordered message, in time-stamp order (equal stamps in
//     arrival order), unless an advance is under way and its stamp is within
//     what that advance already delivered; one stamped before the federate
//     became constrained is dropped (one stamped exactly then is kept,
//     whatever advance comes next: a regulator with zero lookahead may send
//     it);
//   - but not a late one: stamped below the LBTS the federate holds (nothing
//     can come below it any more), below the time it was granted, or at that
//     time after an advance that was not available. Only a best-effort
//     message that lost the race against the bound can be late: it is
//     dropped, counted and reported (at most once a second), never
//     delivered out of time-stamp order;
//   - a receive-order message while the federate is idle (no advance under
//     way, no asynchronous delivery), in arrival order.
// Messages that are not subject to constraint (their class says so), and
// everything while the federate is not constrained, pass at once. The time
// manager drains the queue as it grants: the held receive-order messages
// first, then the time-stamped ones up to the granted time.
//
// Used on the thread that ticks.

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "net/DtRtiMsgQueue.h"
#include "util/DtSortedList.h"

class DtTsoMsgQueue : public DtRtiMsgQueue, public DtSortedList {
public:
  DtTsoMsgQueue();
  ~DtTsoMsgQueue() override;

  // The connection manager's question: true when the queue kept the message
  // (a copy) or dropped it; false when the caller dispatches it now.
  char takeMsg(const DtRtiMsg& msg) override { return queueIfNeeded(msg) ? 1 : 0; }
  bool queueIfNeeded(const DtRtiMsg& msg);

  // Mirrors of the time manager's state.
  bool regulating() const { return regulating_; }
  void setRegulating(bool flag) { regulating_ = flag; }
  bool constrained() const { return constrained_; }
  void setConstrained(bool flag) { constrained_ = flag; }
  bool asyncDelivery() const { return asyncDelivery_; }
  void setAsyncDelivery(bool flag) { asyncDelivery_ = flag; }
  bool timeAvailable() const { return timeAvailable_; }
  void setTimeAvailable(bool flag) { timeAvailable_ = flag; }
  bool advancePending() const { return advancePending_; }
  void setAdvancePending(bool flag) { advancePending_ = flag; }
  const RTI::FedTime& constrainedSince() const { return *constrainedSince_; }
  void setConstrainedSince(const RTI::FedTime& time) { *constrainedSince_ = time; }
  const RTI::FedTime& queueLookahead() const { return *queueLookahead_; }
  void setQueueLookahead(const RTI::FedTime& time) { *queueLookahead_ = time; }
  const RTI::FedTime& deliveredBound() const { return *deliveredBound_; }
  void setDeliveredBound(const RTI::FedTime& time) {
    *deliveredBound_ = time;
    deliveredBoundSet_ = true;
  }
  // A new advance has delivered nothing yet: every time-stamped message is
  // queued until it sets a delivered bound again.
  void clearDeliveredBound() { deliveredBoundSet_ = false; }
  // What makes a message late: the LBTS the federate holds (infinity: none
  // yet) and its last grant (`available` when messages at its time may
  // still come). Off, nothing is late (the messages of a restore).
  void setHeldLbts(const RTI::FedTime& lbts) { *heldLbts_ = lbts; }
  void setGranted(const RTI::FedTime& time, bool available);
  // The time a regulator's next-event request told the rtiexec (until its
  // grant): the rtiexec may let the others advance on it, so a best-effort
  // message stamped below it that comes now is late too.
  void setReportedTime(const RTI::FedTime& time);
  void setLateCheck(bool on) { lateCheck_ = on; }
  bool isLate(const RTI::FedTime& stamp, bool bestEffort = false) const;
  // Late messages dropped so far.
  std::uint64_t lateDropped() const { return lateDropped_; }

  // Every queued time-stamped message with this sender and serial number
  // (one update may travel as several messages) taken out; the first one
  // returned, null when none matched.
  std::unique_ptr<DtRtiMsg> extract(const RTI::EventRetractionHandle& handle);
  // Deletes what extract finds; true when anything was queued.
  bool retract(const RTI::EventRetractionHandle& handle);
  // Deletes every queued time-stamped message of the sender.
  void removeFederate(std::uint32_t federateHandle);
  // Deletes every queued message, the time-stamped and the held ones.
  void clear() override;
  // The next message to deliver for a grant up to t: the oldest held
  // receive-order message, else the first time-stamped one when its stamp
  // is not after t; null when none. The caller owns it.
  std::unique_ptr<DtRtiMsg> nextDeliverable(const RTI::FedTime& t);
  std::unique_ptr<DtRtiMsg> popIfNotAfter(const RTI::FedTime& t);
  // The oldest held receive-order message; null when none.
  std::unique_ptr<DtRtiMsg> popHeld();
  std::unique_ptr<DtRtiMsg> popFirst();
  // The first time-stamped message, left in place; null when none.
  const DtRtiMsg* firstMsg() const;
  // Every queued time-stamped message, left in place, from the first.
  std::vector<const DtRtiMsg*> queuedMsgs() const;
  std::uint32_t heldCount() const { return static_cast<std::uint32_t>(roHoldList_.size()); }

private:
  class Item;

  std::deque<std::unique_ptr<DtRtiMsg>> roHoldList_;
  bool constrained_ = false;
  bool regulating_ = false;
  bool asyncDelivery_ = false;
  bool timeAvailable_ = true;
  bool advancePending_ = false;
  std::unique_ptr<RTI::FedTime> constrainedSince_;
  std::unique_ptr<RTI::FedTime> queueLookahead_;
  std::unique_ptr<RTI::FedTime> deliveredBound_;
  std::unique_ptr<RTI::FedTime> heldLbts_;
  std::unique_ptr<RTI::FedTime> grantedTime_;
  bool grantedAvailable_ = true;
  bool granted_ = false;
  std::unique_ptr<RTI::FedTime> reportedTime_;
  bool reported_ = false;
  bool lateCheck_ = true;
  bool deliveredBoundSet_ = false;
  std::uint64_t lateDropped_ = 0;
};
