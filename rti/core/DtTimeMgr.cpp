#include "core/DtTimeMgr.h"

#include "api/DtNotImplemented.h"
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
    : connectMgr_(connectMgr), fom_(fom), params_(params) {}

DtTimeMgr::~DtTimeMgr() = default;

void DtTimeMgr::tick() {}

void DtTimeMgr::enableTimeRegulation(const RTI::FedTime&, const RTI::FedTime&) {
  DtNotImplemented("enableTimeRegulation");
}
void DtTimeMgr::disableTimeRegulation() { DtNotImplemented("disableTimeRegulation"); }
void DtTimeMgr::enableTimeConstrained() { DtNotImplemented("enableTimeConstrained"); }
void DtTimeMgr::disableTimeConstrained() { DtNotImplemented("disableTimeConstrained"); }
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
void DtTimeMgr::queryLBTS(RTI::FedTime&) { DtNotImplemented("queryLBTS"); }
void DtTimeMgr::queryFederateTime(RTI::FedTime&) { DtNotImplemented("queryFederateTime"); }
void DtTimeMgr::queryMinNextEventTime(RTI::FedTime&) { DtNotImplemented("queryMinNextEventTime"); }
void DtTimeMgr::modifyLookahead(const RTI::FedTime&) { DtNotImplemented("modifyLookahead"); }
void DtTimeMgr::queryLookahead(RTI::FedTime&) { DtNotImplemented("queryLookahead"); }
void DtTimeMgr::retract(RTI::EventRetractionHandle) { DtNotImplemented("retract"); }

bool DtTimeMgr::isValidTimeStamp(const RTI::FedTime&) { DtNotImplemented("isValidTimeStamp"); }
