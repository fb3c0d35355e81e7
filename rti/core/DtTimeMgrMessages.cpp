// The time manager's messages: the rtiexec's answers and bounds, other
// federates' retractions, and what it sends.
#include "core/DtTimeMgr.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtSaveMsgs.h"
#include "msg/DtTimeMsgs.h"
#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "util/DtNotify.h"

namespace {

// A new message of class M from the connection manager's factory; null (with
// a report) when the factory has none of that class for its kind.
template <class M>
M* make(DtConnectionMgr* mgr) {
  std::unique_ptr<M> msg = DtMakeMsg<M>(*mgr);
  if (!msg) DtNotifyError("RTI: no %s message to send\n", DtRtiMsg::kindToString(M::currentKind()));
  return msg.release();
}

}  // namespace

void DtTimeMgr::subscribeHandlers() {
  using Self = DtTimeMgr;
  DtConnectionMgr* mgr = connectMgr_;
  handlers_.add<DtRegulationEnabledMsg, &Self::processRegulationEnabled>(mgr, this);
  handlers_.add<DtConstrainedEnabledMsg, &Self::processConstrainedEnabled>(mgr, this);
  handlers_.add<DtLbtsMsg, &Self::processLbts>(mgr, this);
  handlers_.add<DtNerLbtsMsg, &Self::processNerLbts>(mgr, this);
  handlers_.add<DtSyncConstrainedMsg, &Self::processSyncConstrained>(mgr, this);
  handlers_.add<DtResumeConstrainedMsg, &Self::processResumeConstrained>(mgr, this);
  handlers_.add<DtRetractMsg, &Self::processRetract>(mgr, this);
  handlers_.add<DtSaveTimeMsg, &Self::processSaveTime>(mgr, this);
}

bool DtTimeMgr::isThisFederate(unsigned long handle) const { return connectMgr_ && handle == connectMgr_->fedHandle(); }

// ---- received

void DtTimeMgr::processRegulationEnabled(const DtRegulationEnabledMsg& msg) {
  if (!isThisFederate(msg.requestingFederate()) || !regulationPending_ || regulationAwaitsBound_) return;
  if (constrained_ && *federateTime_ < msg.time()) {
    // Moved ahead so that its messages stay above every bound held: not
    // before its own LBTS lets it get there.
    *regulationStart_ = msg.time();
    regulationAwaitsBound_ = true;
    checkRegulationStart();
    return;
  }
  enableRegulationAt(msg.time());
}

void DtTimeMgr::checkRegulationStart() {
  if (!regulationAwaitsBound_ || grantsHeld_) return;
  if (constrained_ && *constrainedLbts_ < *regulationStart_) return;
  regulationAwaitsBound_ = false;
  if (constrained_) deliverUpTo(*regulationStart_);
  TempTime start(*this);
  *start = *regulationStart_;
  enableRegulationAt(*start);
}

void DtTimeMgr::enableRegulationAt(const RTI::FedTime& time) {
  regulationPending_ = false;
  regulating_ = true;
  const bool moved = advanceTo(time);
  if (moved) queue_.setGranted(*federateTime_, true);
  queue_.setRegulating(true);
  deliverUpTo(*federateTime_);
  if (RTI::FederateAmbassador* amb = connectMgr_->fedAmb()) amb->timeRegulationEnabled(*federateTime_);
}

void DtTimeMgr::processConstrainedEnabled(const DtConstrainedEnabledMsg& msg) {
  if (!isThisFederate(msg.requestingFederate()) || !constrainedPending_) return;
  constrainedPending_ = false;
  constrained_ = true;
  *lbts_ = msg.lbts();
  *constrainedLbts_ = msg.lbts();
  advanceTo(msg.time());
  queue_.setHeldLbts(*lbts_);
  queue_.setGranted(*federateTime_, true);
  queue_.setConstrainedSince(*federateTime_);
  queue_.setConstrained(true);
  deliverUpTo(*federateTime_);
  if (RTI::FederateAmbassador* amb = connectMgr_->fedAmb()) amb->timeConstrainedEnabled(*federateTime_);
}

void DtTimeMgr::applyLbts(unsigned long laggard, const RTI::FedTime& least, const RTI::FedTime& lag) {
  // The message carries the low 16 bits of the laggard's handle.
  const bool named = connectMgr_ && (laggard & 0xFFFF) == (connectMgr_->fedHandle() & 0xFFFF);
  const RTI::FedTime& candidate = named ? lag : least;
  if (lbts_->isPositiveInfinity() || *lbts_ < candidate) *lbts_ = candidate;
  queue_.setHeldLbts(*lbts_);
  if (constrained_) *constrainedLbts_ = *lbts_;
}

void DtTimeMgr::processLbts(const DtLbtsMsg& msg) {
  applyLbts(msg.laggardFederate(), msg.time(), msg.lagLbts());
  checkAdvance(true);
}

void DtTimeMgr::processNerLbts(const DtNerLbtsMsg& msg) {
  // A next-event cycle asks every waiting regulator for its next event
  // again; its bounds are not yet confirmed and grant nothing (the LBTS
  // message that ends the cycle does).
  const auto cycle = static_cast<std::uint32_t>(msg.nerCycle());
  const bool cycleChanged = cycle != nerCycle_;
  nerCycle_ = cycle;
  if (!nerPending_ || !cycleChanged) return;
  nerFirstPass_ = true;
  processNextEvent(*constrainedLbts_, true);
}

void DtTimeMgr::processSyncConstrained(const DtSyncConstrainedMsg&) {
  grantsHeld_ = constrained_;
  sendConstrainedSync(*federateTime_, effectiveLookahead());
}

void DtTimeMgr::processResumeConstrained(const DtResumeConstrainedMsg& msg) {
  grantsHeld_ = false;
  applyLbts(msg.laggardFederate(), msg.time(), msg.lagLbts());
  checkAdvance(true);
  checkAdvance(true);
}

void DtTimeMgr::processRetract(const DtRetractMsg& msg) {
  if (isThisFederate(msg.federateHandle())) return;
  RTI::EventRetractionHandle handle;
  handle.theSerialNumber = msg.serialNumber();
  handle.sendingFederate = msg.federateHandle();
  if (queue_.retract(handle)) return;  // withdrawn before the federate saw it
  // Only a federate that received the event hears of its retraction.
  if (!delivered_.take(msg.federateHandle(), msg.serialNumber())) return;
  if (RTI::FederateAmbassador* amb = connectMgr_->fedAmb()) amb->requestRetraction(handle);
}

// ---- sent

void DtTimeMgr::sendStamped(DtRtiMsg* msg) {
  if (msg) connectMgr_->sendStampedAndDelete(msg, connectMgr_->internalTransportType(), 0);
}

void DtTimeMgr::sendEnableRegulation(const RTI::FedTime& time, const RTI::FedTime& lookahead) {
  if (!connectMgr_) return;
  if (auto* msg = make<DtEnableRegulationMsg>(connectMgr_)) {
    msg->set(time, lookahead, 0, 0);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendEnableConstrained(const RTI::FedTime& time, const RTI::FedTime& lookahead) {
  if (!connectMgr_) return;
  if (auto* msg = make<DtEnableConstrainedMsg>(connectMgr_)) {
    msg->set(time, lookahead, 0, 0);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendTimeAdvanceRequest(const RTI::FedTime& time, const RTI::FedTime& lookahead) {
  if (!connectMgr_ || !(regulating_ || constrained_)) return;
  if (auto* msg = make<DtTimeAdvanceRequestMsg>(connectMgr_)) {
    msg->set(time, lookahead, timeAvailable_ ? 1 : 0, 0);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendNextEventRequest(const RTI::FedTime& time, const RTI::FedTime& lookahead, bool available,
                                     std::uint32_t cycle) {
  // Only a regulator's next event bounds the others: the rtiexec keeps
  // next-event values for regulators alone.
  if (!connectMgr_ || !regulating_) return;
  if (auto* msg = make<DtNextEventRequestMsg>(connectMgr_)) {
    msg->set(time, lookahead, available ? 1 : 0, cycle);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendDisable(DtTimeService service) {
  if (!connectMgr_) return;
  if (auto* msg = make<DtDisableMsg>(connectMgr_)) {
    msg->set(service);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendConstrainedSync(const RTI::FedTime& time, const RTI::FedTime& lookahead) {
  if (!connectMgr_ || !(regulating_ || constrained_)) return;
  if (auto* msg = make<DtConstrainedSyncMsg>(connectMgr_)) {
    msg->set(time, lookahead, 0, 0);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendRetract(std::uint32_t serialNumber) {
  if (!connectMgr_) return;
  if (auto* msg = make<DtRetractMsg>(connectMgr_)) {
    msg->set(serialNumber);
    sendStamped(msg);
  }
}

void DtTimeMgr::sendSaveTimeAdvance() {
  if (!connectMgr_) return;
  if (auto* msg = make<DtSaveTimeAdvanceMsg>(connectMgr_)) sendStamped(msg);
}
