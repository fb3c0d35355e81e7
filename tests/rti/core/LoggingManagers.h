#pragma once
// Managers that write down, in one log shared with the scripted federate
// manager, every operation the implementor hands them and its arguments
// ("publish(3,{1})"), and answer with fixed results, so that a service
// table can say what each service hands over.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "RTI.hh"
#include "ServiceLog.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"

// The object manager: registrations give object 11, updates serial 21,
// deletions serial 22; object 11 is known, of class 3, named "Obj11", and
// owns attribute 1 of its class.
class LoggingObjectMgr : public DtObjectMgr {
public:
  LoggingObjectMgr(std::vector<std::string>* log, DtFomClassMgr* fom);

  void publish(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a) override;
  void unpublish(RTI::ObjectClassHandle c) override;
  void subscribe(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a, RTI::Boolean active) override;
  void unsubscribe(RTI::ObjectClassHandle c) override;
  RTI::ObjectHandle registerObj(RTI::ObjectClassHandle c) override;
  RTI::ObjectHandle registerObj(RTI::ObjectClassHandle c, const char* name) override;
  std::uint32_t sendUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleValuePairSet& v, const RTI::FedTime* time,
                           const char* tag) override;
  std::uint32_t deleteObj(RTI::ObjectHandle o, const RTI::FedTime* time, const char* tag) override;
  void localDeleteObj(RTI::ObjectHandle o) override;
  void setAttributeTransportType(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, DtTransportType type) override;
  void setAttributeOrderType(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, DtOrderType type) override;
  void requestObjectUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override;
  void requestClassUpdate(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a) override;
  void divestOwnership(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, bool negotiated,
                       const char* tag) override;
  void acquireAttrs(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a, bool ifAvailable, const char* tag) override;
  void cancelAcquire(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override;
  void cancelDivest(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override;
  RTI::AttributeHandleSet* releaseResponse(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override;
  void queryOwnership(RTI::ObjectHandle o, RTI::AttributeHandle a) override;
  RTI::ObjectClassHandle objectClass(RTI::ObjectHandle o) override;
  RTI::ObjectHandle objectHandle(const char* name) override;
  const char* objectName(RTI::ObjectHandle o) override;
  using DtObjectMgr::knownObj;
  DtRtiObject* knownObj(RTI::ObjectHandle o) const override;
  void subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle c, RTI::Region& r,
                                                const RTI::AttributeHandleSet& a, RTI::Boolean active) override;
  void unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle c, RTI::Region& r) override;
  void associateRegionForUpdates(RTI::Region& r, RTI::ObjectHandle o, const RTI::AttributeHandleSet& a,
                                 int flag) override;
  void unassociateRegionForUpdates(RTI::Region& r, RTI::ObjectHandle o) override;
  RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle c, const char* name,
                                                     RTI::AttributeHandle* a, RTI::Region** r,
                                                     RTI::ULong count) override;
  RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle c, RTI::AttributeHandle* a, RTI::Region** r,
                                                     RTI::ULong count) override;
  void requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle c, const RTI::AttributeHandleSet& a,
                                                  const RTI::Region& r) override;
  void enableAttributeScopeSwitch() override;
  void disableAttributeScopeSwitch() override;

private:
  void record(std::string call) { log_->push_back(std::move(call)); }

  std::vector<std::string>* log_;
  std::unique_ptr<DtRtiObject> object_;
};

// The interaction manager: sends give serial 31.
class LoggingInteractionMgr : public DtInteractionMgr {
public:
  explicit LoggingInteractionMgr(std::vector<std::string>* log);

  void publish(RTI::InteractionClassHandle c) override;
  void unpublish(RTI::InteractionClassHandle c) override;
  void subscribe(RTI::InteractionClassHandle c, RTI::Boolean active) override;
  void unsubscribe(RTI::InteractionClassHandle c) override;
  std::uint32_t send(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& p, const RTI::FedTime* time,
                     const char* tag, RTI::ULong number) override;
  std::uint32_t send(RTI::InteractionClassHandle c, const RTI::ParameterHandleValuePairSet& p, const RTI::FedTime* time,
                     const char* tag, const RTI::Region& region) override;
  void setTransport(RTI::InteractionClassHandle c, DtTransportType type) override;
  void setOrder(RTI::InteractionClassHandle c, DtOrderType type) override;
  void subscribeInteractionClassWithRegion(RTI::InteractionClassHandle c, RTI::Region& r, RTI::Boolean active) override;
  void unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle c, RTI::Region& r) override;

private:
  std::vector<std::string>* log_;
};

// The time manager: a query answers 2.5; time stamps pass while
// acceptTimeStamps holds.
class LoggingTimeMgr : public DtTimeMgr {
public:
  explicit LoggingTimeMgr(std::vector<std::string>* log);

  bool acceptTimeStamps = true;

  void enableTimeRegulation(const RTI::FedTime& time, const RTI::FedTime& lookahead) override;
  void disableTimeRegulation() override;
  void enableTimeConstrained() override;
  void disableTimeConstrained() override;
  void timeAdvanceRequest(const RTI::FedTime& time) override;
  void timeAdvanceRequestAvailable(const RTI::FedTime& time) override;
  void nextEventRequest(const RTI::FedTime& time) override;
  void nextEventRequestAvailable(const RTI::FedTime& time) override;
  void flushQueueRequest(const RTI::FedTime& time) override;
  void enableAsynchronousDelivery() override;
  void disableAsynchronousDelivery() override;
  void queryLBTS(RTI::FedTime& time) override;
  void queryFederateTime(RTI::FedTime& time) override;
  void queryMinNextEventTime(RTI::FedTime& time) override;
  void modifyLookahead(const RTI::FedTime& lookahead) override;
  void queryLookahead(RTI::FedTime& time) override;
  void retract(RTI::EventRetractionHandle handle) override;
  bool isValidTimeStamp(const RTI::FedTime& time) override;

private:
  void answer(const char* query, RTI::FedTime& time);

  std::vector<std::string>* log_;
};

// The data distribution manager: active while `active` holds; its default
// region is r1; createRegion gives its own region r5, the one local region;
// routing spaces are 1 for attributes and 2 for interactions.
class LoggingDdmMgr : public DtDataDistMgr {
public:
  explicit LoggingDdmMgr(std::vector<std::string>* log);

  bool on = true;
  TestRegion byDefault{1};
  TestRegion created{5};

  bool active() const override { return on; }
  DtRegion* createRegion(RTI::SpaceHandle space, RTI::ULong extents) override;
  void deleteRegion(RTI::Region* region) override;
  void notifyAboutRegionModification(RTI::Region& region) override;
  DtRegion& defaultRegion() override { return byDefault; }
  std::int32_t getAttributeRoutingSpaceHandle(RTI::AttributeHandle a, RTI::ObjectClassHandle c) override;
  std::int32_t getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle c) override;
  bool isMemberLocalRegions(RTI::RegionToken token) override { return token == created.handle(); }
  DtRegion* localRegion(RTI::RegionToken token) override { return isMemberLocalRegions(token) ? &created : nullptr; }

private:
  std::vector<std::string>* log_;
};
