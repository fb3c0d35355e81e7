// The implementor's support services (look-ups of names and handles) and
// advisory switches. The look-ups run no save or restore test: a federate may
// look names up while it saves or restores.
#include "core/DtRtiAmbassadorImplementor.h"

#include "core/DtFederateMgr.h"
#include "core/DtServiceOpening.h"
#include "core/DtServiceTrace.h"
#include "core/DtWireType.h"
#include "ddm/DtDataDistMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtNotify.h"
#include "util/DtStringFunctions.h"

// Every returned name is a new array that the caller frees with delete[].
// Each look-up's trace, refusal reasons and name come from its row.
namespace row = DtServiceRows;

RTI::ObjectClassHandle DtRtiAmbassadorImplementor::getObjectClassHandle(const char* theName) {
  openJoined(row::getObjectClassHandle, theName);
  return guardedFom().classHandle(theName);
}

char* DtRtiAmbassadorImplementor::getObjectClassName(RTI::ObjectClassHandle theHandle) {
  openJoined(row::getObjectClassName, theHandle);
  return DtStrdup(guardedFom().className(theHandle));
}

RTI::AttributeHandle DtRtiAmbassadorImplementor::getAttributeHandle(const char* theName,
                                                                    RTI::ObjectClassHandle whichClass) {
  openJoined(row::getAttributeHandle, theName, whichClass);
  return guardedFom().attrHandle(theName, whichClass);
}

char* DtRtiAmbassadorImplementor::getAttributeName(RTI::AttributeHandle theHandle, RTI::ObjectClassHandle whichClass) {
  openJoined(row::getAttributeName, theHandle, whichClass);
  return DtStrdup(guardedFom().attrName(theHandle, whichClass));
}

RTI::InteractionClassHandle DtRtiAmbassadorImplementor::getInteractionClassHandle(const char* theName) {
  openJoined(row::getInteractionClassHandle, theName);
  return guardedFom().interactionHandle(theName);
}

char* DtRtiAmbassadorImplementor::getInteractionClassName(RTI::InteractionClassHandle theHandle) {
  openJoined(row::getInteractionClassName, theHandle);
  return DtStrdup(guardedFom().interactionName(theHandle));
}

RTI::ParameterHandle DtRtiAmbassadorImplementor::getParameterHandle(const char* theName,
                                                                    RTI::InteractionClassHandle whichClass) {
  openJoined(row::getParameterHandle, theName, whichClass);
  return guardedFom().paramHandle(theName, whichClass);
}

char* DtRtiAmbassadorImplementor::getParameterName(RTI::ParameterHandle theHandle,
                                                   RTI::InteractionClassHandle whichClass) {
  openJoined(row::getParameterName, theHandle, whichClass);
  return DtStrdup(guardedFom().paramName(theHandle, whichClass));
}

RTI::ObjectHandle DtRtiAmbassadorImplementor::getObjectInstanceHandle(const char* theName) {
  openJoined(row::getObjectInstanceHandle, theName);
  return guardedObjectMgr().objectHandle(theName);
}

char* DtRtiAmbassadorImplementor::getObjectInstanceName(RTI::ObjectHandle theHandle) {
  DtNotifyVerbose("RTI=>getObjectInstanceName: %lu\n", theHandle);  // its trace is one line
  checkJoined(row::getObjectInstanceName.unable);
  return DtStrdup(guardedObjectMgr().objectName(theHandle));
}

RTI::ObjectClassHandle DtRtiAmbassadorImplementor::getObjectClass(RTI::ObjectHandle theObject) {
  openJoined(row::getObjectClass, theObject);
  return guardedObjectMgr().objectClass(theObject);
}

// The routing space look-ups need data distribution on.

RTI::SpaceHandle DtRtiAmbassadorImplementor::getRoutingSpaceHandle(const char* theName) {
  openJoined(row::getRoutingSpaceHandle, theName);
  requireDdm(row::getRoutingSpaceHandle);
  return guardedFom().spaceHandle(theName);
}

char* DtRtiAmbassadorImplementor::getRoutingSpaceName(RTI::SpaceHandle theHandle) {
  openJoined(row::getRoutingSpaceName, theHandle);
  requireDdm(row::getRoutingSpaceName);
  return DtStrdup(guardedFom().spaceName(theHandle));
}

RTI::DimensionHandle DtRtiAmbassadorImplementor::getDimensionHandle(const char* theName, RTI::SpaceHandle whichSpace) {
  openJoined(row::getDimensionHandle, theName, whichSpace);
  requireDdm(row::getDimensionHandle);
  return guardedFom().dimHandle(theName, whichSpace);
}

char* DtRtiAmbassadorImplementor::getDimensionName(RTI::DimensionHandle theHandle, RTI::SpaceHandle whichSpace) {
  openJoined(row::getDimensionName, theHandle, whichSpace);
  requireDdm(row::getDimensionName);
  return DtStrdup(guardedFom().dimName(theHandle, whichSpace));
}

RTI::SpaceHandle DtRtiAmbassadorImplementor::getAttributeRoutingSpaceHandle(RTI::AttributeHandle theHandle,
                                                                            RTI::ObjectClassHandle whichClass) {
  openJoined(row::getAttributeRoutingSpaceHandle, theHandle, whichClass);
  requireDdm(row::getAttributeRoutingSpaceHandle);
  return guardedDdm().getAttributeRoutingSpaceHandle(theHandle, whichClass);
}

RTI::SpaceHandle DtRtiAmbassadorImplementor::getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle theHandle) {
  openJoined(row::getInteractionRoutingSpaceHandle, theHandle);
  requireDdm(row::getInteractionRoutingSpaceHandle);
  return guardedDdm().getInteractionRoutingSpaceHandle(theHandle);
}

// Transport and order names come from the federate manager; none is traced.

RTI::TransportationHandle DtRtiAmbassadorImplementor::getTransportationHandle(const char* theName) {
  checkJoined(row::getTransportationHandle.unable);
  return federationMgr(row::getTransportationHandle.name).getTransportationHandle(DtString(theName));
}

char* DtRtiAmbassadorImplementor::getTransportationName(RTI::TransportationHandle theHandle) {
  checkJoined(row::getTransportationName.unable);
  return federationMgr(row::getTransportationName.name).getTransportationName(DtWireType<DtTransportType>(theHandle));
}

RTI::OrderingHandle DtRtiAmbassadorImplementor::getOrderingHandle(const char* theName) {
  checkJoined(row::getOrderingHandle.unable);
  return federationMgr(row::getOrderingHandle.name).getOrderHandle(DtString(theName));
}

char* DtRtiAmbassadorImplementor::getOrderingName(RTI::OrderingHandle theHandle) {
  checkJoined(row::getOrderingName.unable);
  return federationMgr(row::getOrderingName.name).getOrderName(DtWireType<DtOrderType>(theHandle));
}

// The advisory switches set a flag of the object or interaction manager;
// their refusals cut the last letter of the service's name.
#define DT_ADVISORY_SWITCH(service, cutName, manager, operation) \
  void DtRtiAmbassadorImplementor::service() {                   \
    traceHeader(#service);                                       \
    checkJoinedAndSave("Unable to process " #cutName ".");       \
    manager(#service).operation();                               \
  }

DT_ADVISORY_SWITCH(enableClassRelevanceAdvisorySwitch, enableClassRelevanceAdvisorySwitc, objectMgr,
                   enableClassRelevanceSwitch)
DT_ADVISORY_SWITCH(disableClassRelevanceAdvisorySwitch, disableClassRelevanceAdvisorySwitc, objectMgr,
                   disableClassRelevanceSwitch)
DT_ADVISORY_SWITCH(enableAttributeRelevanceAdvisorySwitch, enableAttributeRelevanceAdvisorySwitc, objectMgr,
                   enableAttributeRelevanceSwitch)
DT_ADVISORY_SWITCH(disableAttributeRelevanceAdvisorySwitch, disableAttributeRelevanceAdvisorySwitc, objectMgr,
                   disableAttributeRelevanceSwitch)
DT_ADVISORY_SWITCH(enableInteractionRelevanceAdvisorySwitch, enableInteractionRelevanceAdvisorySwitc, interactionMgr,
                   enableRelevanceAdvisorySwitch)
DT_ADVISORY_SWITCH(disableInteractionRelevanceAdvisorySwitch, disableInteractionRelevanceAdvisorySwitc, interactionMgr,
                   disableRelevanceAdvisorySwitch)
#undef DT_ADVISORY_SWITCH

// The attribute scope switches belong to data distribution; with it off they
// say so and set the switch all the same.
void DtRtiAmbassadorImplementor::warnWithoutDdm(const char* service) const {
  if (!ddmOn()) DtNotifyError("RTI DDM services turned off: unable to process %s\n", service);
}

void DtRtiAmbassadorImplementor::enableAttributeScopeAdvisorySwitch() {
  traceHeader("enableAttributeScopeAdvisorySwitch");
  checkJoinedAndSave("Unable to process enableAttributeScopeAdvisorySwitc.");
  warnWithoutDdm("enableAttributeScopeAdvisorySwitch");
  guardedObjectMgr().enableAttributeScopeSwitch();
}

void DtRtiAmbassadorImplementor::disableAttributeScopeAdvisorySwitch() {
  traceHeader("disableAttributeScopeAdvisorySwitch");
  checkJoinedAndSave("Unable to process disableAttributeScopeAdvisorySwitc.");
  warnWithoutDdm("disableAttributeScopeAdvisorySwitch");
  objectMgr("disableAttributeScopeAdvisorySwitch").disableAttributeScopeSwitch();
}
