// The time manager's messages: the rtiexec's answers and bounds, other
// federates' retractions, and what it sends.
#include <type_traits>

#include "core/DtTimeMgr.h"
#include "net/DtConnectionMgr.h"
#include "net/DtObjectMsgs.h"
#include "net/DtTimeMsgs.h"
#include "util/DtNotify.h"

namespace {

// Calls the handler of the message's class on the time manager.
template <class M>
void forward(const M& msg, void* self) {
  auto* mgr = static_cast<DtTimeMgr*>(self);
  if constexpr (std::is_same_v<M, DtRegulationEnabledMsg>) {
    mgr->processRegulationEnabled(msg);
  } else if constexpr (std::is_same_v<M, DtConstrainedEnabledMsg>) {
    mgr->processConstrainedEnabled(msg);
  } else if constexpr (std::is_same_v<M, DtLbtsMsg>) {
    mgr->processLbts(msg);
  } else if constexpr (std::is_same_v<M, DtNerLbtsMsg>) {
    mgr->processNerLbts(msg);
  } else if constexpr (std::is_same_v<M, DtSyncConstrainedMsg>) {
    mgr->processSyncConstrained(msg);
  } else if constexpr (std::is_same_v<M, DtResumeConstrainedMsg>) {
    mgr->processResumeConstrained(msg);
  } else {
    mgr->processRetract(msg);
  }
}

template <class M>
void registerHandler(DtConnectionMgr* mgr, DtTimeMgr* self, bool add) {
  if (add) {
    M::addCallback(mgr, &forward<M>, self);
  } else {
    M::removeCallback(mgr, &forward<M>, self);
  }
}

// A new message of class M from the connection manager's factory; null (with
// a report) when the factory has none.
template <class M>
M* make(DtConnectionMgr* mgr) {
  DtRtiMsg* msg = mgr->create(M::currentKind());
  if (auto* typed = dynamic_cast<M*>(msg)) return typed;
  delete msg;
  DtNotifyError("RTI: no %s message to send\n", DtRtiMsg::kindToString(M::currentKind()));
  return nullptr;
}

}  // namespace

void DtTimeMgr::registerHandlers(bool add) {
  registerHandler<DtRegulationEnabledMsg>(connectMgr_, this, add);
  registerHandler<DtConstrainedEnabledMsg>(connectMgr_, this, add);
  registerHandler<DtLbtsMsg>(connectMgr_, this, add);
  registerHandler<DtNerLbtsMsg>(connectMgr_, this, add);
  registerHandler<DtSyncConstrainedMsg>(connectMgr_, this, add);
  registerHandler<DtResumeConstrainedMsg>(connectMgr_, this, add);
  registerHandler<DtRetractMsg>(connectMgr_, this, add);
}

bool DtTimeMgr::isThisFederate(unsigned long handle) const {
  return connectMgr_ && handle == connectMgr_->fedHandle();
}

// ---- received

void DtTimeMgr::processRegulationEnabled(const DtRegulationEnabledMsg& msg) {
  if (!isThisFederate(msg.requestingFederate()) || !regulationPending_) return;
  regulationPending_ = false;
  regulating_ = true;
  advanceTo(msg.time());
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
  if (constrained_) *constrainedLbts_ = *lbts_;
}

void DtTimeMgr::processLbts(const DtLbtsMsg& msg) {
  applyLbts(msg.laggardFederate(), msg.time(), msg.lagLbts());
  checkAdvance(true);
}

void DtTimeMgr::processNerLbts(const DtNerLbtsMsg& msg) {
  const auto cycle = static_cast<std::uint32_t>(msg.nerCycle());
  const bool cycleChanged = cycle != nerCycle_;
  nerCycle_ = cycle;
  const bool named = connectMgr_ && (msg.laggardFederate() & 0xFFFF) == (connectMgr_->fedHandle() & 0xFFFF);
  const bool useLag = named && !msg.isLagNerPending();
  const RTI::FedTime& v = useLag ? msg.lagLbts() : msg.time();
  if (nerPending_) processNextEvent(v, cycleChanged);
  applyLbts(msg.laggardFederate(), msg.time(), v);
  if (tarPending_ && (useLag || !msg.isNerPending())) processTimeAdvance();
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
