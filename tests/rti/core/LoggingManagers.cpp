#include "LoggingManagers.h"

#include "fedtime.hh"
#include "objects/DtFomClassMgr.h"

// The object manager.

LoggingObjectMgr::LoggingObjectMgr(std::vector<std::string>* log, DtFomClassMgr* fom)
    : DtObjectMgr(nullptr, fom, nullptr), log_(log) {
  DtObjectClassInfo* sample = fom ? fom->classByHandle(3) : nullptr;
  object_ = std::make_unique<DtRtiObject>(11, "Obj11", sample);
  DtAttributeHandleSet owned;
  owned.add(1);
  object_->takeAttrs(owned);
}

void LoggingObjectMgr::publish(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a) {
  record(logCall("publish", c, a));
}
void LoggingObjectMgr::unpublish(RTI::ObjectClassHandle c) { record(logCall("unpublish", c)); }
void LoggingObjectMgr::subscribe(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a, RTI::Boolean active) {
  record(logCall("subscribe", c, a, active == RTI::RTI_TRUE));
}
void LoggingObjectMgr::unsubscribe(RTI::ObjectClassHandle c) { record(logCall("unsubscribe", c)); }

RTI::ObjectHandle LoggingObjectMgr::registerObj(RTI::ObjectClassHandle c) {
  record(logCall("registerObj", c));
  return 11;
}
RTI::ObjectHandle LoggingObjectMgr::registerObj(RTI::ObjectClassHandle c, const char* name) {
  record(logCall("registerObj", c, name));
  return 11;
}
std::uint32_t LoggingObjectMgr::sendUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleValuePairSet& v,
                                           const RTI::FedTime* time, const char* tag) {
  record(logCall("sendUpdate", o, v, time, tag));
  return 21;
}
std::uint32_t LoggingObjectMgr::deleteObj(RTI::ObjectHandle o, const RTI::FedTime* time, const char* tag) {
  record(logCall("deleteObj", o, time, tag));
  return 22;
}
void LoggingObjectMgr::localDeleteObj(RTI::ObjectHandle o) { record(logCall("localDeleteObj", o)); }
void LoggingObjectMgr::setAttributeTransportType(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a,
                                                 DtTransportType type) {
  record(logCall("setAttributeTransportType", o, a, static_cast<unsigned long>(type)));
}
void LoggingObjectMgr::setAttributeOrderType(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, DtOrderType type) {
  record(logCall("setAttributeOrderType", o, a, static_cast<unsigned long>(type)));
}
void LoggingObjectMgr::requestObjectUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) {
  record(logCall("requestObjectUpdate", o, a));
}
void LoggingObjectMgr::requestClassUpdate(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a) {
  record(logCall("requestClassUpdate", c, a));
}
void LoggingObjectMgr::divestOwnership(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, bool negotiated,
                                       const char* tag) {
  record(logCall("divestOwnership", o, a, negotiated, tag));
}
void LoggingObjectMgr::acquireAttrs(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, bool ifAvailable,
                                    const char* tag) {
  record(logCall("acquireAttrs", o, a, ifAvailable, tag));
}
void LoggingObjectMgr::cancelAcquire(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) {
  record(logCall("cancelAcquire", o, a));
}
void LoggingObjectMgr::cancelDivest(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) {
  record(logCall("cancelDivest", o, a));
}
RTI::AttributeHandleSet* LoggingObjectMgr::releaseResponse(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) {
  record(logCall("releaseResponse", o, a));
  auto* released = new DtAttributeHandleSet;
  released->add(2);
  return released;
}
void LoggingObjectMgr::queryOwnership(RTI::ObjectHandle o, RTI::AttributeHandle a) {
  record(logCall("queryOwnership", o, a));
}

// The look-ups of objects answer without writing to the log: traces use
// them too.
RTI::ObjectClassHandle LoggingObjectMgr::objectClass(RTI::ObjectHandle o) {
  if (o != 11) throw RTI::ObjectNotKnown("");
  return 3;
}
RTI::ObjectHandle LoggingObjectMgr::objectHandle(const char* name) {
  if (logText(name) != "Obj11") throw RTI::ObjectNotKnown("");
  return 11;
}
const char* LoggingObjectMgr::objectName(RTI::ObjectHandle o) {
  if (o != 11) throw RTI::ObjectNotKnown("");
  return object_->objName();
}
DtRtiObject* LoggingObjectMgr::knownObj(RTI::ObjectHandle o) const { return o == 11 ? object_.get() : nullptr; }

void LoggingObjectMgr::subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle c, RTI::Region& r,
                                                                const RTI::AttributeHandleSet& a, RTI::Boolean active) {
  record(logCall("subscribeWithRegion", c, r, a, active == RTI::RTI_TRUE));
}
void LoggingObjectMgr::unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle c, RTI::Region& r) {
  record(logCall("unsubscribeWithRegion", c, r));
}
void LoggingObjectMgr::associateRegionForUpdates(RTI::Region& r, RTI::ObjectHandle o, const RTI::AttributeHandleSet& a,
                                                 int flag) {
  record(logCall("associateRegionForUpdates", r, o, a, flag));
}
void LoggingObjectMgr::unassociateRegionForUpdates(RTI::Region& r, RTI::ObjectHandle o) {
  record(logCall("unassociateRegionForUpdates", r, o));
}
RTI::ObjectHandle LoggingObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle c, const char* name,
                                                                     RTI::AttributeHandle* a, RTI::Region** r,
                                                                     RTI::ULong count) {
  record(logCall("registerWithRegion", c, name, a[0], *r[0], count));
  return 12;
}
RTI::ObjectHandle LoggingObjectMgr::registerObjectInstanceWithRegion(RTI::ObjectClassHandle c, RTI::AttributeHandle* a,
                                                                     RTI::Region** r, RTI::ULong count) {
  record(logCall("registerWithRegion", c, a[0], *r[0], count));
  return 12;
}
void LoggingObjectMgr::requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle c,
                                                                  const RTI::AttributeHandleSet& a,
                                                                  const RTI::Region& r) {
  record(logCall("requestClassUpdateWithRegion", c, a, r));
}
void LoggingObjectMgr::enableAttributeScopeSwitch() {
  record("enableAttributeScopeSwitch()");
  DtObjectMgr::enableAttributeScopeSwitch();
}
void LoggingObjectMgr::disableAttributeScopeSwitch() {
  record("disableAttributeScopeSwitch()");
  DtObjectMgr::disableAttributeScopeSwitch();
}

// The interaction manager.

LoggingInteractionMgr::LoggingInteractionMgr(std::vector<std::string>* log)
    : DtInteractionMgr(nullptr, nullptr, nullptr), log_(log) {}

void LoggingInteractionMgr::publish(RTI::InteractionClassHandle c) { log_->push_back(logCall("publish", c)); }
void LoggingInteractionMgr::unpublish(RTI::InteractionClassHandle c) { log_->push_back(logCall("unpublish", c)); }
void LoggingInteractionMgr::subscribe(RTI::InteractionClassHandle c, RTI::Boolean active) {
  log_->push_back(logCall("subscribe", c, active == RTI::RTI_TRUE));
}
void LoggingInteractionMgr::unsubscribe(RTI::InteractionClassHandle c) { log_->push_back(logCall("unsubscribe", c)); }
std::uint32_t LoggingInteractionMgr::send(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& p,
                                          const RTI::FedTime* time, const char* tag, RTI::ULong number) {
  log_->push_back(logCall("send", c, p, time, tag, number));
  return 31;
}
std::uint32_t LoggingInteractionMgr::send(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& p,
                                          const RTI::FedTime* time, const char* tag, const RTI::Region& region) {
  log_->push_back(logCall("send", c, p, time, tag, region));
  return 31;
}
void LoggingInteractionMgr::setTransport(RTI::InteractionClassHandle c, DtTransportType type) {
  log_->push_back(logCall("setTransport", c, static_cast<unsigned long>(type)));
}
void LoggingInteractionMgr::setOrder(RTI::InteractionClassHandle c, DtOrderType type) {
  log_->push_back(logCall("setOrder", c, static_cast<unsigned long>(type)));
}
void LoggingInteractionMgr::subscribeInteractionClassWithRegion(RTI::InteractionClassHandle c, RTI::Region& r,
                                                                RTI::Boolean active) {
  log_->push_back(logCall("subscribeWithRegion", c, r, active == RTI::RTI_TRUE));
}
void LoggingInteractionMgr::unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle c, RTI::Region& r) {
  log_->push_back(logCall("unsubscribeWithRegion", c, r));
}

// The time manager.

LoggingTimeMgr::LoggingTimeMgr(std::vector<std::string>* log) : DtTimeMgr(nullptr, nullptr, nullptr), log_(log) {}

void LoggingTimeMgr::answer(const char* query, RTI::FedTime& time) {
  log_->push_back(logCall(query));
  time = RTIfedTime(2.5);
}

void LoggingTimeMgr::enableTimeRegulation(const RTI::FedTime& time, const RTI::FedTime& lookahead) {
  log_->push_back(logCall("enableTimeRegulation", time, lookahead));
}
void LoggingTimeMgr::disableTimeRegulation() { log_->push_back(logCall("disableTimeRegulation")); }
void LoggingTimeMgr::enableTimeConstrained() { log_->push_back(logCall("enableTimeConstrained")); }
void LoggingTimeMgr::disableTimeConstrained() { log_->push_back(logCall("disableTimeConstrained")); }
void LoggingTimeMgr::timeAdvanceRequest(const RTI::FedTime& time) {
  log_->push_back(logCall("timeAdvanceRequest", time));
}
void LoggingTimeMgr::timeAdvanceRequestAvailable(const RTI::FedTime& time) {
  log_->push_back(logCall("timeAdvanceRequestAvailable", time));
}
void LoggingTimeMgr::nextEventRequest(const RTI::FedTime& time) { log_->push_back(logCall("nextEventRequest", time)); }
void LoggingTimeMgr::nextEventRequestAvailable(const RTI::FedTime& time) {
  log_->push_back(logCall("nextEventRequestAvailable", time));
}
void LoggingTimeMgr::flushQueueRequest(const RTI::FedTime& time) {
  log_->push_back(logCall("flushQueueRequest", time));
}
void LoggingTimeMgr::enableAsynchronousDelivery() { log_->push_back(logCall("enableAsynchronousDelivery")); }
void LoggingTimeMgr::disableAsynchronousDelivery() { log_->push_back(logCall("disableAsynchronousDelivery")); }
void LoggingTimeMgr::queryLBTS(RTI::FedTime& time) { answer("queryLBTS", time); }
void LoggingTimeMgr::queryFederateTime(RTI::FedTime& time) { answer("queryFederateTime", time); }
void LoggingTimeMgr::queryMinNextEventTime(RTI::FedTime& time) { answer("queryMinNextEventTime", time); }
void LoggingTimeMgr::modifyLookahead(const RTI::FedTime& lookahead) {
  log_->push_back(logCall("modifyLookahead", lookahead));
}
void LoggingTimeMgr::queryLookahead(RTI::FedTime& time) { answer("queryLookahead", time); }
void LoggingTimeMgr::retract(RTI::EventRetractionHandle handle) {
  log_->push_back(logCall("retract", handle.theSerialNumber, handle.sendingFederate));
}
bool LoggingTimeMgr::isValidTimeStamp(const RTI::FedTime& time) {
  log_->push_back(logCall("isValidTimeStamp", time));
  return acceptTimeStamps;
}

// The data distribution manager.

LoggingDdmMgr::LoggingDdmMgr(std::vector<std::string>* log) : DtDataDistMgr(nullptr, nullptr), log_(log) {}

DtRegion* LoggingDdmMgr::createRegion(RTI::SpaceHandle space, RTI::ULong extents) {
  log_->push_back(logCall("createRegion", space, extents));
  return &created;
}
void LoggingDdmMgr::deleteRegion(RTI::Region* region) { log_->push_back(logCall("deleteRegion", region)); }
void LoggingDdmMgr::notifyAboutRegionModification(RTI::Region& region) {
  log_->push_back(logCall("notifyAboutRegionModification", region));
}
std::int32_t LoggingDdmMgr::getAttributeRoutingSpaceHandle(RTI::AttributeHandle a, RTI::ObjectClassHandle c) {
  log_->push_back(logCall("getAttributeRoutingSpaceHandle", a, c));
  return 1;
}
std::int32_t LoggingDdmMgr::getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle c) {
  log_->push_back(logCall("getInteractionRoutingSpaceHandle", c));
  return 2;
}
