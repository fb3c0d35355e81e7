// The time manager's life, its setters and the HLA 1.3 time services. The
// advance steps are in DtTimeMgrAdvance.cpp, the messages in
// DtTimeMgrMessages.cpp.
#include "core/DtTimeMgr.h"

#include "core/DtTsoEventFedAmb.h"
#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"
#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtTimeMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;

constexpr const char* theTsoEventFedAmbName = "TsoEventFedAmb";

std::unique_ptr<RTI::FedTime> zero() { return std::unique_ptr<RTI::FedTime>(RTI::FedTimeFactory::makeZero()); }
}  // namespace

std::unique_ptr<DtTimeMgr> DtTimeMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params) {
  return theCreator.make(connectMgr, fom, params);
}

void DtTimeMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtTimeMgr::DtTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      lbts_(zero()),
      timePlusLookahead_(zero()),
      constrainedLbts_(zero()),
      federateTime_(zero()),
      lookahead_(zero()),
      requestedTime_(zero()),
      targetLookahead_(zero()),
      nerBound_(zero()),
      reducingLookahead_(zero()),
      pendingGrantTime_(zero()),
      saveTime_(zero()),
      regulationStart_(zero()),
      positiveInfinityTime_(zero()),
      zeroTime_(zero()),
      epsilonTime_(zero()) {
  positiveInfinityTime_->setPositiveInfinity();
  epsilonTime_->setEpsilon();
  *lbts_ = *positiveInfinityTime_;
  *constrainedLbts_ = *positiveInfinityTime_;
  queue_.setConstrainedSince(*positiveInfinityTime_);
  queue_.setQueueLookahead(*lookahead_);
  if (!connectMgr_) return;
  connectMgr_->setMsgQueue(&queue_);
  connectMgr_->setRetractList(&retracts_);
  connectMgr_->addFedAmbWrapper(theTsoEventFedAmbName, std::make_unique<DtTsoEventFedAmb>(this));
  subscribeHandlers();
}

DtTimeMgr::~DtTimeMgr() {
  if (connectMgr_) {
    handlers_.clear();
    connectMgr_->removeFedAmbWrapper(theTsoEventFedAmbName);
    // A federate that resigned inside a callback and joined again has a new
    // time manager whose queue and list stay.
    if (connectMgr_->msgQueue() == &queue_) connectMgr_->setMsgQueue(nullptr);
    if (connectMgr_->retractList() == &retracts_) connectMgr_->setRetractList(nullptr);
  }
  queue_.clear();
  retracts_.clear();
  delivered_.clear();
}

// ---- spare times

RTI::FedTime* DtTimeMgr::getTempTime() { return timePool_.get(); }

void DtTimeMgr::putTempTime(RTI::FedTime* time) { timePool_.put(time); }

// ---- setters

void DtTimeMgr::setFederateTime(const RTI::FedTime& t) {
  *federateTime_ = t;
  *timePlusLookahead_ = t;
  *timePlusLookahead_ += *lookahead_;
  retracts_.removeBefore(t);  // their time has passed: no longer retractable
}

void DtTimeMgr::setLookahead(const RTI::FedTime& l) {
  *lookahead_ = l;
  *timePlusLookahead_ = *federateTime_;
  *timePlusLookahead_ += l;
  queue_.setQueueLookahead(*lookahead_);
}

void DtTimeMgr::setReducingLookahead(const RTI::FedTime& l) {
  *reducingLookahead_ = l;
  queue_.setQueueLookahead(effectiveLookahead());
}

const RTI::FedTime& DtTimeMgr::effectiveLookahead() const {
  return lookaheadReducing_ ? *reducingLookahead_ : *lookahead_;
}

void DtTimeMgr::setAdvancePending(bool pending) {
  advancePending_ = pending;
  queue_.setAdvancePending(pending);
}

void DtTimeMgr::setTimeAvailable(bool available) {
  timeAvailable_ = available;
  queue_.setTimeAvailable(available);
}

// ---- regulation and constraint

void DtTimeMgr::enableTimeRegulation(const RTI::FedTime& theFederateTime, const RTI::FedTime& theLookahead) {
  if (regulating_) throw RTI::TimeRegulationAlreadyEnabled("");
  if (regulationPending_) throw RTI::EnableTimeRegulationPending("");
  if (advancePending_) throw RTI::TimeAdvanceAlreadyInProgress("");
  if (theFederateTime < *federateTime_ || (constrained_ && !(theFederateTime == *federateTime_)))
    throw RTI::InvalidFederationTime("");
  if (theLookahead < *zeroTime_) throw RTI::InvalidLookahead("");
  *requestedTime_ = theFederateTime;
  setLookahead(theLookahead);
  regulationPending_ = true;
  sendEnableRegulation(*requestedTime_, effectiveLookahead());
}

void DtTimeMgr::disableTimeRegulation() {
  if (!regulating_) throw RTI::TimeRegulationWasNotEnabled("");
  sendDisable(DtTimeRegulation);
  regulating_ = false;
  queue_.setRegulating(false);
}

void DtTimeMgr::enableTimeConstrained() {
  if (constrained_) throw RTI::TimeConstrainedAlreadyEnabled("");
  if (constrainedPending_) throw RTI::EnableTimeConstrainedPending("");
  if (advancePending_) throw RTI::TimeAdvanceAlreadyInProgress("");
  constrainedPending_ = true;
  sendEnableConstrained(*federateTime_, effectiveLookahead());
}

void DtTimeMgr::disableTimeConstrained() {
  if (!constrained_) throw RTI::TimeConstrainedWasNotEnabled("");
  sendDisable(DtTimeConstrained);
  constrained_ = false;
  *constrainedLbts_ = *positiveInfinityTime_;
  queue_.setConstrained(false);
  checkNeeded_ = true;
}

// ---- advance requests

void DtTimeMgr::checkAdvanceAllowed(const RTI::FedTime& t) const {
  if (regulationPending_) throw RTI::EnableTimeRegulationPending("");
  if (constrainedPending_) throw RTI::EnableTimeConstrainedPending("");
  if (advancePending_) throw RTI::TimeAdvanceAlreadyInProgress("");
  if (t < *federateTime_) throw RTI::FederationTimeAlreadyPassed("");
}

void DtTimeMgr::beginAdvance(const RTI::FedTime& t, bool available) {
  checkAdvanceAllowed(t);
  *requestedTime_ = t;
  setTimeAvailable(available);
  setAdvancePending(true);
  queue_.clearDeliveredBound();
  checkNeeded_ = true;
}

void DtTimeMgr::beginNextEvent(const RTI::FedTime& t, bool available) {
  beginAdvance(t, available);
  *nerBound_ = *timePlusLookahead_;
  nerPending_ = true;
  nerEventFound_ = false;
  nerFirstPass_ = true;
}

void DtTimeMgr::timeAdvanceRequest(const RTI::FedTime& theTime) {
  beginAdvance(theTime, false);
  tarPending_ = true;
  if (lookaheadReducing_) {
    reduceLookaheadFor(theTime);
  } else {
    applyEpsilonLookahead(false);
  }
  sendTimeAdvanceRequest(theTime, effectiveLookahead());
}

void DtTimeMgr::timeAdvanceRequestAvailable(const RTI::FedTime& theTime) {
  beginAdvance(theTime, true);
  tarPending_ = true;
  // A request for the current time tells the rtiexec nothing new.
  if (!(*federateTime_ < theTime)) return;
  if (lookaheadReducing_) {
    reduceLookaheadFor(theTime);
  } else {
    restoreZeroLookahead();
  }
  sendTimeAdvanceRequest(theTime, effectiveLookahead());
}

void DtTimeMgr::nextEventRequest(const RTI::FedTime& theTime) {
  beginNextEvent(theTime, false);
  applyEpsilonLookahead(false);  // the first tick runs the next-event step
}

void DtTimeMgr::nextEventRequestAvailable(const RTI::FedTime& theTime) {
  beginNextEvent(theTime, true);
  if (epsilonLookahead_ && *federateTime_ < theTime) {
    zeroLookaheadRestored_ = true;
    restoreZeroLookahead();
  }
}

void DtTimeMgr::flushQueueRequest(const RTI::FedTime& theTime) {
  beginAdvance(theTime, true);
  flushPending_ = true;
}

// ---- lookahead

void DtTimeMgr::modifyLookahead(const RTI::FedTime& theLookahead) {
  if (theLookahead < *zeroTime_) throw RTI::InvalidLookahead("");
  if (theLookahead < effectiveLookahead()) {
    // A reduction: the promised bound stands, so the lookahead shrinks as
    // the federate advances, over the following grants.
    if (lookahead_->isZero() || epsilonLookahead_) return;
    *targetLookahead_ = theLookahead;
    lookaheadReducing_ = true;
    setReducingLookahead(*lookahead_);
    return;
  }
  if (*lookahead_ <= theLookahead) {
    setLookahead(theLookahead);
    lookaheadReducing_ = false;
  } else {
    *targetLookahead_ = theLookahead;
    setReducingLookahead(theLookahead);
  }
  if (nerPending_) {
    nerFirstPass_ = true;  // the rtiexec hears the new lookahead
    processNextEvent(*constrainedLbts_, true);
  } else {
    sendTimeAdvanceRequest(*federateTime_, effectiveLookahead());
  }
}

void DtTimeMgr::reduceLookaheadFor(const RTI::FedTime& t) {
  TempTime distance(*this);
  *distance = t;
  *distance -= *federateTime_;
  if (*lookahead_ < *distance) {
    setReducingLookahead(*targetLookahead_);
  } else {
    TempTime reduced(*this);
    *reduced = *lookahead_;
    *reduced -= *distance;
    if (*reduced < *targetLookahead_) *reduced = *targetLookahead_;
    setReducingLookahead(*reduced);
  }
  if (!timeAvailable_ && reducingLookahead_->isZero()) {
    setReducingLookahead(*epsilonTime_);
    epsilonReducing_ = true;
  }
}

void DtTimeMgr::finishLookaheadReduction() {
  if (epsilonReducing_) {
    setLookahead(*zeroTime_);
    epsilonReducing_ = false;
  } else {
    setLookahead(effectiveLookahead());
  }
  if (*lookahead_ == *targetLookahead_) {
    lookaheadReducing_ = false;
    queue_.setQueueLookahead(*lookahead_);
    applyEpsilonLookahead(false);
  }
}

void DtTimeMgr::applyEpsilonLookahead(bool force) {
  if (regulating_ && lookahead_->isZero() && (force || !timeAvailable_)) {
    setLookahead(*epsilonTime_);
    epsilonLookahead_ = true;
  }
}

void DtTimeMgr::restoreZeroLookahead() {
  if (epsilonLookahead_ && timeAvailable_) {
    setLookahead(*zeroTime_);
    epsilonLookahead_ = false;
  }
}

// ---- queries, delivery switches and retraction

void DtTimeMgr::queryLBTS(RTI::FedTime& theTime) { theTime = *lbts_; }

void DtTimeMgr::queryFederateTime(RTI::FedTime& theTime) { theTime = *federateTime_; }

void DtTimeMgr::queryMinNextEventTime(RTI::FedTime& theTime) {
  const DtRtiMsg* first = queue_.firstMsg();
  theTime = (first && first->time() < *lbts_) ? first->time() : *lbts_;
}

void DtTimeMgr::queryLookahead(RTI::FedTime& theTime) { theTime = epsilonLookahead_ ? *zeroTime_ : *lookahead_; }

void DtTimeMgr::enableAsynchronousDelivery() {
  if (queue_.asyncDelivery()) throw RTI::AsynchronousDeliveryAlreadyEnabled("");
  queue_.setAsyncDelivery(true);
  deliverUpTo(*federateTime_);
}

void DtTimeMgr::disableAsynchronousDelivery() {
  if (!queue_.asyncDelivery()) throw RTI::AsynchronousDeliveryAlreadyDisabled("");
  queue_.setAsyncDelivery(false);
}

void DtTimeMgr::retract(RTI::EventRetractionHandle theHandle) {
  const auto serial = static_cast<std::uint32_t>(theHandle.theSerialNumber);
  if (!isThisFederate(theHandle.sendingFederate) || theHandle.theSerialNumber != serial ||
      !retracts_.contains(serial)) {
    throw RTI::InvalidRetractionHandle("");
  }
  sendRetract(serial);
  retracts_.deleteSerial(serial);
}

bool DtTimeMgr::isValidTimeStamp(const RTI::FedTime& time) {
  if (!advancePending_) return *timePlusLookahead_ <= time;
  TempTime floor(*this);
  *floor = *requestedTime_;
  *floor += *lookahead_;
  return *floor <= time;
}
