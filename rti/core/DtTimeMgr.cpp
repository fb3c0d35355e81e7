#include "core/DtTimeMgr.h"

#include "api/DtNotImplemented.h"
#include "net/DtConnectionMgr.h"
#include "util/DtCreatorHook.h"

namespace {
DtCreatorHook<DtTimeMgr, DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*> theCreator;
}  // namespace

std::unique_ptr<DtTimeMgr> DtTimeMgr::create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                             DtRIDParameters* params) {
  return theCreator.make(connectMgr, fom, params);
}

void DtTimeMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtTimeMgr::DtTimeMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params)
    : connectMgr_(connectMgr),
      fom_(fom),
      params_(params),
      lbts_(RTI::FedTimeFactory::makeZero()),
      federateTime_(RTI::FedTimeFactory::makeZero()),
      lookahead_(RTI::FedTimeFactory::makeZero()) {
  lbts_->setPositiveInfinity();
  if (connectMgr_) connectMgr_->setMsgQueue(&queue_);
}

DtTimeMgr::~DtTimeMgr() {
  // A federate that resigned inside a callback and joined again has a new
  // time manager whose queue stays.
  if (connectMgr_ && connectMgr_->msgQueue() == &queue_) connectMgr_->setMsgQueue(nullptr);
}

char DtTimeMgr::Queue::takeMsg(const DtRtiMsg&) {
  // The time-stamp-order queue comes with time management; a federate that
  // is not constrained gets every message at once.
  return 0;
}

void DtTimeMgr::tick() {}

void DtTimeMgr::enableTimeRegulation(const RTI::FedTime&, const RTI::FedTime&) {
  DtNotImplemented("enableTimeRegulation");
}
void DtTimeMgr::disableTimeRegulation() {
  if (!regulating_) throw RTI::TimeRegulationWasNotEnabled("");
}
void DtTimeMgr::enableTimeConstrained() { DtNotImplemented("enableTimeConstrained"); }
void DtTimeMgr::disableTimeConstrained() {
  if (!constrained_) throw RTI::TimeConstrainedWasNotEnabled("");
}
void DtTimeMgr::timeAdvanceRequest(const RTI::FedTime&) { DtNotImplemented("timeAdvanceRequest"); }
void DtTimeMgr::timeAdvanceRequestAvailable(const RTI::FedTime&) {
  DtNotImplemented("timeAdvanceRequestAvailable");
}
void DtTimeMgr::nextEventRequest(const RTI::FedTime&) { DtNotImplemented("nextEventRequest"); }
void DtTimeMgr::nextEventRequestAvailable(const RTI::FedTime&) {
  DtNotImplemented("nextEventRequestAvailable");
}
void DtTimeMgr::flushQueueRequest(const RTI::FedTime&) { DtNotImplemented("flushQueueRequest"); }
void DtTimeMgr::enableAsynchronousDelivery() { DtNotImplemented("enableAsynchronousDelivery"); }
void DtTimeMgr::disableAsynchronousDelivery() { DtNotImplemented("disableAsynchronousDelivery"); }

void DtTimeMgr::queryLBTS(RTI::FedTime& theTime) { theTime = *lbts_; }
void DtTimeMgr::queryFederateTime(RTI::FedTime& theTime) { theTime = *federateTime_; }
// Nothing is queued while the federate is not constrained.
void DtTimeMgr::queryMinNextEventTime(RTI::FedTime& theTime) { theTime = *lbts_; }
void DtTimeMgr::modifyLookahead(const RTI::FedTime&) { DtNotImplemented("modifyLookahead"); }
void DtTimeMgr::queryLookahead(RTI::FedTime& theTime) { theTime = *lookahead_; }
void DtTimeMgr::retract(RTI::EventRetractionHandle) {
  // Nothing that could be retracted was sent: sends are time-stamp ordered
  // only while regulating.
  throw RTI::InvalidRetractionHandle("");
}

bool DtTimeMgr::isValidTimeStamp(const RTI::FedTime& time) {
  std::unique_ptr<RTI::FedTime> floor(RTI::FedTimeFactory::makeZero());
  *floor = *federateTime_;
  *floor += *lookahead_;
  return *floor <= time;
}
