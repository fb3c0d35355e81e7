// The time manager's advance steps: the per-tick check, the time advance,
// flush and next-event steps, delivery from the queue and the grant.
//
// A step clears the kind of its request before it grants, so that a request
// the federate makes from inside timeAdvanceGrant stands.
#include "core/DtTimeMgr.h"

#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"

void DtTimeMgr::tick() {
  if (checkNeeded_) {
    checkNeeded_ = false;
    checkAdvance(true);
  } else if (nerPending_ && !nerEventFound_ && queue_.firstMsg()) {
    processNextEvent(*constrainedLbts_, false);
  }
}

bool DtTimeMgr::mayGrant(const RTI::FedTime& t, const RTI::FedTime& bound) const {
  if (grantsHeld_) return false;
  if (!constrained_) return true;
  if (t < bound) return true;
  return timeAvailable_ && t == bound;
}

bool DtTimeMgr::canGrant(const RTI::FedTime& t) const { return mayGrant(t, *constrainedLbts_); }

void DtTimeMgr::checkAdvance(bool cycleChanged) {
  checkRegulationStart();
  if (nerPending_) processNextEvent(*constrainedLbts_, cycleChanged);
  if (tarPending_) processTimeAdvance();
  if (flushPending_) processFlush(*requestedTime_);
  // The rtiexec learns once that this federate stopped at the save time.
  if (constrained_ && saveTimeAdvanceDue_ && savePointReached_) {
    sendSaveTimeAdvance();
    saveTimeAdvanceDue_ = false;
    savePointReached_ = false;
  }
}

// A pending save time stops an advance that would go past it: the events up
// to the save time are delivered, the grant is held (holdAtSavePoint) until
// the save is over. Whether the advance goes past the save time is judged by
// the time it would be granted, not by the save time it stops at (judged at
// the save time itself, a time advance request past it would be granted the
// save time, again and again, and never reach the save point).

void DtTimeMgr::processTimeAdvance() {
  if (startDeferredSave()) return;
  deliverReceiveOrder();  // the receive-order messages held while idle
  TempTime target(*this);
  saveTarget(*requestedTime_, *target);
  if (!canGrant(*target)) {
    // What is below the LBTS is safe to deliver already.
    deliverUpTo(*constrainedLbts_);
    queue_.setDeliveredBound(*constrainedLbts_);
    return;
  }
  if (constrained_) deliverUpTo(*target);
  if (isSaveTimeReached(*requestedTime_)) {
    holdAtSavePoint(*requestedTime_);
    return;
  }
  tarPending_ = false;
  grant(*requestedTime_);
}

void DtTimeMgr::processFlush(const RTI::FedTime& t) {
  if (startDeferredSave()) return;
  // Held like any advance while the rtiexec synchronises the constrained
  // federates: their times must stay where they told it.
  if (grantsHeld_) return;
  TempTime target(*this);
  *target = canGrant(t) ? t : *constrainedLbts_;
  if (*federateTime_ < *target) {
    if (lookaheadReducing_) reduceLookaheadFor(*target);
    sendTimeAdvanceRequest(*target, effectiveLookahead());
  }
  if (isSaveTimeReached(*target)) {
    holdAtSavePoint(*target);
    return;
  }
  deliverUpTo(*positiveInfinityTime_);  // everything queued, whatever its time
  flushPending_ = false;
  grant(*target);
}

void DtTimeMgr::processNextEvent(const RTI::FedTime& bound, bool cycleChanged) {
  if (startDeferredSave()) return;
  const bool foundBefore = nerEventFound_;
  deliverReceiveOrder();
  nerAfterSave_ = false;
  TempTime next(*this);
  // The time the step would grant without a save pending.
  TempTime unstopped(*this);
  if (!constrained_) {
    *next = *requestedTime_;
    *unstopped = *next;
  } else {
    TempTime limit(*this);
    *unstopped = nerEventFound_ ? *nerBound_ : *requestedTime_;
    saveTarget(*unstopped, *limit);
    findNextEvents(*limit, *next, bound);
    if (tsoEventDelivered_) *unstopped = *next;
  }

  if (mayGrant(*next, bound)) {
    if (*federateTime_ < *next) {
      if (lookaheadReducing_) reduceLookaheadFor(*next);
      sendTimeAdvanceRequest(*next, effectiveLookahead());
      zeroLookaheadRestored_ = false;
    } else {
      if (zeroLookaheadRestored_) {
        if (lookahead_->isZero()) {
          applyEpsilonLookahead(true);
        } else {
          zeroLookaheadRestored_ = false;
        }
      }
      // Granted its own time (an event of that time came after its
      // request): the rtiexec, which took the request's time, learns that
      // this federate may send from here.
      if (regulating_) sendTimeAdvanceRequest(*next, effectiveLookahead());
    }
    if (isSaveTimeReached(*unstopped)) {
      // Events found before the save time are this step's; without them the
      // step runs again once the save is over.
      nerAfterSave_ = !(tsoEventDelivered_ && *next < *requestedTime_);
      holdAtSavePoint(*requestedTime_);
      return;
    }
    nerPending_ = false;
    grant(*next);
    return;
  }

  if (nerEventFound_ && !foundBefore) {
    // Events of this time went out: the rtiexec learns that the federate
    // will not go past it.
    sendTimeAdvanceRequest(*next, effectiveLookahead());
    queue_.setDeliveredBound(*next);
  } else if (!nerEventFound_) {
    // The least time this federate can still be granted, queued events
    // included, which with its lookahead bounds what it may send: told at
    // the start of the request, in answer to each next-event cycle, and
    // whenever it rose (queued messages that were no events for this
    // federate went). An event still on its way is counted by the answer
    // to the next cycle.
    TempTime report(*this);
    *report = *next;
    const DtRtiMsg* first = queue_.firstMsg();
    if (first && first->time() < *report) *report = first->time();
    if (nerFirstPass_ || *nerBound_ < *report) {
      nerFirstPass_ = false;
      *nerBound_ = *report;
      if (regulating_) queue_.setReportedTime(*report);
      sendNextEventRequest(*report, effectiveLookahead(), timeAvailable_, nerCycle_);
    }
  }
  static_cast<void>(cycleChanged);
}

void DtTimeMgr::findNextEvents(const RTI::FedTime& limit, RTI::FedTime& next, const RTI::FedTime& bound) {
  tsoEventDelivered_ = false;
  while (!tsoEventDelivered_) {
    const DtRtiMsg* first = queue_.firstMsg();
    if (!first || !(first->time() <= limit) || grantsHeld_) break;
    if (constrained_ && !(first->time() <= bound)) break;
    const std::unique_ptr<DtRtiMsg> msg = queue_.popFirst();
    next = msg->time();
    if (connectMgr_) connectMgr_->processMsg(*msg);
  }
  if (!tsoEventDelivered_) {
    next = limit;
    return;
  }
  // The rest of that time stamp goes with it.
  deliverUpTo(next);
  nerEventFound_ = true;
  *nerBound_ = next;
}

void DtTimeMgr::deliverReceiveOrder() {
  while (std::unique_ptr<DtRtiMsg> msg = queue_.popHeld()) {
    if (connectMgr_) connectMgr_->processMsg(*msg);
  }
}

void DtTimeMgr::deliverUpTo(const RTI::FedTime& t) {
  while (std::unique_ptr<DtRtiMsg> msg = queue_.nextDeliverable(t)) {
    if (connectMgr_) connectMgr_->processMsg(*msg);
  }
}

bool DtTimeMgr::advanceTo(const RTI::FedTime& t) {
  setAdvancePending(false);
  if (!(*federateTime_ < t)) return false;
  restoreZeroLookahead();
  setFederateTime(t);
  return true;
}

void DtTimeMgr::grant(const RTI::FedTime& t) {
  grantPending_ = false;
  if (lookaheadReducing_) finishLookaheadReduction();
  advanceTo(t);
  // What is stamped before it (or at it, after an advance that was not
  // available) is late from now on.
  queue_.setGranted(*federateTime_, timeAvailable_);
  if (RTI::FederateAmbassador* amb = connectMgr_ ? connectMgr_->fedAmb() : nullptr) {
    // A copy: the federate may advance again from inside the callback.
    TempTime granted(*this);
    *granted = *federateTime_;
    amb->timeAdvanceGrant(*granted);
  }
}
