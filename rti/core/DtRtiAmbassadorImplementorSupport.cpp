// The implementor's support services (look-ups of names and handles) and
// advisory switches. The look-ups run no save or restore test: a federate may
// look names up while it saves or restores.
#include "core/DtRtiAmbassadorImplementor.h"

#include "core/DtFederateMgr.h"
#include "core/DtServiceReasons.h"
#include "core/DtServiceTrace.h"
#include "core/DtWireType.h"
#include "ddm/DtDataDistMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtNotify.h"
#include "util/DtStringFunctions.h"

// Every returned name is a new array that the caller frees with delete[].

RTI::ObjectClassHandle DtRtiAmbassadorImplementor::getObjectClassHandle(const char* theName) {
  traceHeader("getObjectClassHandle");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(theName));
  checkJoined(DT_UNABLE(getObjectClassHandle));
  return guardedFom().classHandle(theName);
}

char* DtRtiAmbassadorImplementor::getObjectClassName(RTI::ObjectClassHandle theHandle) {
  traceHeader("getObjectClassName");
  DtNotifyVerbose("RTI=>\t%lu\n", theHandle);
  checkJoined(DT_UNABLE(getObjectClassName));
  return DtStrdup(guardedFom().className(theHandle));
}

RTI::AttributeHandle DtRtiAmbassadorImplementor::getAttributeHandle(const char* theName,
                                                                    RTI::ObjectClassHandle whichClass) {
  traceHeader("getAttributeHandle");
  DtNotifyVerbose("RTI=>\t%s %lu\n", DtServiceTrace::text(theName), whichClass);
  checkJoined(DT_UNABLE(getAttributeHandle));
  return guardedFom().attrHandle(theName, whichClass);
}

char* DtRtiAmbassadorImplementor::getAttributeName(RTI::AttributeHandle theHandle, RTI::ObjectClassHandle whichClass) {
  traceHeader("getAttributeName");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theHandle, whichClass);
  checkJoined(DT_UNABLE(getAttributeName));
  return DtStrdup(guardedFom().attrName(theHandle, whichClass));
}

RTI::InteractionClassHandle DtRtiAmbassadorImplementor::getInteractionClassHandle(const char* theName) {
  traceHeader("getInteractionClassHandle");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(theName));
  checkJoined(DT_UNABLE(getInteractionClassHandle));
  return guardedFom().interactionHandle(theName);
}

char* DtRtiAmbassadorImplementor::getInteractionClassName(RTI::InteractionClassHandle theHandle) {
  traceHeader("getInteractionClassName");
  DtNotifyVerbose("RTI=>\t%lu\n", theHandle);
  checkJoined(DT_UNABLE(getInteractionClassName));
  return DtStrdup(guardedFom().interactionName(theHandle));
}

RTI::ParameterHandle DtRtiAmbassadorImplementor::getParameterHandle(const char* theName,
                                                                    RTI::InteractionClassHandle whichClass) {
  traceHeader("getParameterHandle");
  DtNotifyVerbose("RTI=>\t%s %lu\n", DtServiceTrace::text(theName), whichClass);
  checkJoined(DT_UNABLE(getParameterHandle));
  return guardedFom().paramHandle(theName, whichClass);
}

char* DtRtiAmbassadorImplementor::getParameterName(RTI::ParameterHandle theHandle,
                                                   RTI::InteractionClassHandle whichClass) {
  traceHeader("getParameterName");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theHandle, whichClass);
  checkJoined(DT_UNABLE(getParameterName));
  return DtStrdup(guardedFom().paramName(theHandle, whichClass));
}

RTI::ObjectHandle DtRtiAmbassadorImplementor::getObjectInstanceHandle(const char* theName) {
  traceHeader("getObjectInstanceHandle");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(theName));
  checkJoined(DT_UNABLE(getObjectInstanceHandle));
  return guardedObjectMgr().objectHandle(theName);
}

char* DtRtiAmbassadorImplementor::getObjectInstanceName(RTI::ObjectHandle theHandle) {
  DtNotifyVerbose("RTI=>getObjectInstanceName: %lu\n", theHandle);  // its trace is one line
  checkJoined(DT_UNABLE(getObjectInstanceName));
  return DtStrdup(guardedObjectMgr().objectName(theHandle));
}

RTI::ObjectClassHandle DtRtiAmbassadorImplementor::getObjectClass(RTI::ObjectHandle theObject) {
  traceHeader("getObjectClass");
  DtNotifyVerbose("RTI=>\t%lu\n", theObject);
  checkJoined(DT_UNABLE(getObjectClass));
  return guardedObjectMgr().objectClass(theObject);
}

// The routing space look-ups need data distribution on.

RTI::SpaceHandle DtRtiAmbassadorImplementor::getRoutingSpaceHandle(const char* theName) {
  traceHeader("getRoutingSpaceHandle");
  DtNotifyVerbose("RTI=>\t%s\n", DtServiceTrace::text(theName));
  checkJoined(DT_UNABLE(getRoutingSpaceHandle));
  requireDdm(ddmOn(), "getRoutingSpaceHandle", DT_DDM_OFF(getRoutingSpaceHandle));
  return guardedFom().spaceHandle(theName);
}

char* DtRtiAmbassadorImplementor::getRoutingSpaceName(RTI::SpaceHandle theHandle) {
  traceHeader("getRoutingSpaceName");
  DtNotifyVerbose("RTI=>\t%lu\n", static_cast<unsigned long>(theHandle));
  checkJoined(DT_UNABLE(getRoutingSpaceName));
  requireDdm(ddmOn(), "getRoutingSpaceName", DT_DDM_OFF(getRoutingSpaceName));
  return DtStrdup(guardedFom().spaceName(theHandle));
}

RTI::DimensionHandle DtRtiAmbassadorImplementor::getDimensionHandle(const char* theName, RTI::SpaceHandle whichSpace) {
  traceHeader("getDimensionHandle");
  DtNotifyVerbose("RTI=>\t%s %lu\n", DtServiceTrace::text(theName), static_cast<unsigned long>(whichSpace));
  checkJoined(DT_UNABLE(getDimensionHandle));
  requireDdm(ddmOn(), "getDimensionHandle", DT_DDM_OFF(getDimensionHandle));
  return guardedFom().dimHandle(theName, whichSpace);
}

char* DtRtiAmbassadorImplementor::getDimensionName(RTI::DimensionHandle theHandle, RTI::SpaceHandle whichSpace) {
  traceHeader("getDimensionName");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theHandle, static_cast<unsigned long>(whichSpace));
  checkJoined(DT_UNABLE(getDimensionName));
  requireDdm(ddmOn(), "getDimensionName", DT_DDM_OFF(getDimensionName));
  return DtStrdup(guardedFom().dimName(theHandle, whichSpace));
}

RTI::SpaceHandle DtRtiAmbassadorImplementor::getAttributeRoutingSpaceHandle(RTI::AttributeHandle theHandle,
                                                                            RTI::ObjectClassHandle whichClass) {
  traceHeader("getAttributeRoutingSpaceHandle");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theHandle, whichClass);
  checkJoined(DT_UNABLE(getAttributeRoutingSpaceHandle));
  requireDdm(ddmOn(), "getAttributeRoutingSpaceHandle", DT_DDM_OFF(getAttributeRoutingSpaceHandle));
  return guardedDdm().getAttributeRoutingSpaceHandle(theHandle, whichClass);
}

RTI::SpaceHandle DtRtiAmbassadorImplementor::getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle theHandle) {
  traceHeader("getInteractionRoutingSpaceHandle");
  DtNotifyVerbose("RTI=>\t%lu\n", theHandle);
  checkJoined(DT_UNABLE(getInteractionRoutingSpaceHandle));
  requireDdm(ddmOn(), "getInteractionRoutingSpaceHandle", DT_DDM_OFF(getInteractionRoutingSpaceHandle));
  return guardedDdm().getInteractionRoutingSpaceHandle(theHandle);
}

// Transport and order names come from the federate manager; none is traced.

RTI::TransportationHandle DtRtiAmbassadorImplementor::getTransportationHandle(const char* theName) {
  checkJoined(DT_UNABLE(getTransportationHandle));
  return federationMgr("getTransportationHandle").getTransportationHandle(DtString(theName));
}

char* DtRtiAmbassadorImplementor::getTransportationName(RTI::TransportationHandle theHandle) {
  checkJoined(DT_UNABLE(getTransportationName));
  return federationMgr("getTransportationName").getTransportationName(DtWireType<DtTransportType>(theHandle));
}

RTI::OrderingHandle DtRtiAmbassadorImplementor::getOrderingHandle(const char* theName) {
  checkJoined(DT_UNABLE(getOrderingHandle));
  return federationMgr("getOrderingHandle").getOrderHandle(DtString(theName));
}

char* DtRtiAmbassadorImplementor::getOrderingName(RTI::OrderingHandle theHandle) {
  checkJoined(DT_UNABLE(getOrderingName));
  return federationMgr("getOrderingName").getOrderName(DtWireType<DtOrderType>(theHandle));
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
