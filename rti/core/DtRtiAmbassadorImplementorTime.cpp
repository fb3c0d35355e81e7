// The implementor's time management services. None is traced. Each needs a
// joined federate and no save or restore in the way, then time management:
// on, the time manager carries the service out; off, the service is refused
// with "<service> disabled" while RTI_throwExceptionForDisabledService is
// set, and otherwise does nothing (a query leaves its time untouched).
#include "core/DtRtiAmbassadorImplementor.h"

#include "core/DtServiceReasons.h"
#include "core/DtTimeMgr.h"
#include "core/DtWireType.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"

// The joined-check reason and the disabled reason cut the asynchronous
// delivery services' names; the printed message names the service in full.
#define DT_TIME_SERVICE(name, reasonName, params, args)                          \
  void DtRtiAmbassadorImplementor::name params {                                 \
    checkJoined("Unable to process " #reasonName ".");                           \
    testSaveProgress();                                                          \
    if (timeServiceOn(#name, #reasonName " disabled")) timeMgr(#name).name args; \
  }

DT_TIME_SERVICE(enableTimeRegulation, enableTimeRegulation,
                (const RTI::FedTime& theFederateTime, const RTI::FedTime& theLookahead),
                (theFederateTime, theLookahead))
DT_TIME_SERVICE(disableTimeRegulation, disableTimeRegulation, (), ())
DT_TIME_SERVICE(enableTimeConstrained, enableTimeConstrained, (), ())
DT_TIME_SERVICE(disableTimeConstrained, disableTimeConstrained, (), ())
DT_TIME_SERVICE(timeAdvanceRequest, timeAdvanceRequest, (const RTI::FedTime& theTime), (theTime))
DT_TIME_SERVICE(timeAdvanceRequestAvailable, timeAdvanceRequestAvailable, (const RTI::FedTime& theTime), (theTime))
DT_TIME_SERVICE(nextEventRequest, nextEventRequest, (const RTI::FedTime& theTime), (theTime))
DT_TIME_SERVICE(nextEventRequestAvailable, nextEventRequestAvailable, (const RTI::FedTime& theTime), (theTime))
DT_TIME_SERVICE(flushQueueRequest, flushQueueRequest, (const RTI::FedTime& theTime), (theTime))
DT_TIME_SERVICE(enableAsynchronousDelivery, enableAsynchronousDeliver, (), ())
DT_TIME_SERVICE(disableAsynchronousDelivery, disableAsynchronousDeliver, (), ())
DT_TIME_SERVICE(queryLBTS, queryLBTS, (RTI::FedTime & theTime), (theTime))
DT_TIME_SERVICE(queryFederateTime, queryFederateTime, (RTI::FedTime & theTime), (theTime))
DT_TIME_SERVICE(queryMinNextEventTime, queryMinNextEventTime, (RTI::FedTime & theTime), (theTime))
DT_TIME_SERVICE(modifyLookahead, modifyLookahead, (const RTI::FedTime& theLookahead), (theLookahead))
DT_TIME_SERVICE(queryLookahead, queryLookahead, (RTI::FedTime & theTime), (theTime))
DT_TIME_SERVICE(retract, retract, (RTI::EventRetractionHandle theHandle), (theHandle))

#undef DT_TIME_SERVICE

// The order-type changes belong to the same chapter but are not switched by
// RTI_timeMgmt.
void DtRtiAmbassadorImplementor::changeAttributeOrderType(RTI::ObjectHandle theObject,
                                                          const RTI::AttributeHandleSet& theAttributes,
                                                          RTI::OrderingHandle theType) {
  checkJoined(DT_UNABLE(changeAttributeOrderType));
  testSaveProgress();
  objectMgr("changeAttributeOrderType")
      .setAttributeOrderType(theObject, theAttributes, DtWireType<DtOrderType>(theType));
}

void DtRtiAmbassadorImplementor::changeInteractionOrderType(RTI::InteractionClassHandle theClass,
                                                            RTI::OrderingHandle theType) {
  checkJoined(DT_UNABLE(changeInteractionOrderType));
  testSaveProgress();
  interactionMgr("changeInteractionOrderType").setOrder(theClass, DtWireType<DtOrderType>(theType));
}
