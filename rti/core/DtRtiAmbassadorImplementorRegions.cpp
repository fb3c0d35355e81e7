// The implementor's data distribution services and region tokens. Each is
// traced, checked (joined, no save or restore in the way) and then switched
// by data distribution: the region services ask the data distribution
// manager (a federate without one has data distribution off), the others the
// RID key RTI_dataDistMgmt. Off, a service prints "RTI DDM services turned
// off: unable to process <service>" and throws that text.
#include "core/DtRtiAmbassadorImplementor.h"

#include "core/DtServiceReasons.h"
#include "core/DtServiceTrace.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtNotify.h"

namespace {

const char* activity(RTI::Boolean active) { return active ? "active" : "passive"; }

// The attribute and region of each pair of a registration with regions.
void tracePairs(const RTI::AttributeHandle* attributes, RTI::Region* const* regions, RTI::ULong count) {
  if (!attributes || !regions) return;
  for (RTI::ULong i = 0; i < count; ++i) {
    DtNotifyVerbose("RTI=>\t%lu %lu\n", attributes[i], regions[i] ? DtServiceTrace::regionHandle(*regions[i]) : 0UL);
  }
}

}  // namespace

RTI::Region* DtRtiAmbassadorImplementor::createRegion(RTI::SpaceHandle theSpace, RTI::ULong numberOfExtents) {
  traceHeader("createRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu\n", DtServiceTrace::spaceName(fomMgr(), theSpace),
                    static_cast<unsigned long>(theSpace), numberOfExtents);
  }
  checkJoinedAndSave(DT_UNABLE(createRegion));
  requireDdm(ddmManagerActive(), "createRegion", "createRegion DDM services not active");
  return ddmMgr()->createRegion(theSpace, numberOfExtents);
}

void DtRtiAmbassadorImplementor::notifyAboutRegionModification(RTI::Region& theRegion) {
  traceHeader("notifyAboutRegionModification");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu\n", DtServiceTrace::regionHandle(theRegion));
  }
  checkJoinedAndSave(DT_UNABLE(notifyAboutRegionModification));
  requireDdm(ddmManagerActive(), "notifyAboutRegionModification", DT_DDM_OFF(notifyAboutRegionModification));
  ddmMgr()->notifyAboutRegionModification(theRegion);
}

void DtRtiAmbassadorImplementor::deleteRegion(RTI::Region* theRegion) {
  traceHeader("deleteRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu\n", theRegion ? DtServiceTrace::regionHandle(*theRegion) : 0UL);
  }
  checkJoinedAndSave(DT_UNABLE(deleteRegion));
  requireDdm(ddmManagerActive(), "deleteRegion", DT_DDM_OFF(deleteRegion));
  ddmMgr()->deleteRegion(theRegion);
}

RTI::ObjectHandle DtRtiAmbassadorImplementor::registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                                               RTI::AttributeHandle* theAttributes,
                                                                               RTI::Region** theRegions,
                                                                               RTI::ULong theNumberOfHandles) {
  traceHeader("registerObjectInstanceWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    theNumberOfHandles);
    tracePairs(theAttributes, theRegions, theNumberOfHandles);
  }
  checkJoinedAndSave(DT_UNABLE(registerObjectInstanceWithRegion));
  requireDdm(ddmManagerActive(), "registerObjectInstanceWithRegion", DT_DDM_OFF(registerObjectInstanceWithRegion));
  return objectMgr("registerObjectInstanceWithRegion")
      .registerObjectInstanceWithRegion(theClass, theAttributes, theRegions, theNumberOfHandles);
}

RTI::ObjectHandle DtRtiAmbassadorImplementor::registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                                               const char* theObject,
                                                                               RTI::AttributeHandle* theAttributes,
                                                                               RTI::Region** theRegions,
                                                                               RTI::ULong theNumberOfHandles) {
  traceHeader("registerObjectInstanceWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s %lu\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    DtServiceTrace::text(theObject), theNumberOfHandles);
    tracePairs(theAttributes, theRegions, theNumberOfHandles);
  }
  checkJoinedAndSave(DT_UNABLE(registerObjectInstanceWithRegion));
  requireDdm(ddmManagerActive(), "registerObjectInstanceWithRegion", DT_DDM_OFF(registerObjectInstanceWithRegion));
  return objectMgr("registerObjectInstanceWithRegion")
      .registerObjectInstanceWithRegion(theClass, theObject, theAttributes, theRegions, theNumberOfHandles);
}

void DtRtiAmbassadorImplementor::associateRegionForUpdates(RTI::Region& theRegion, RTI::ObjectHandle theObject,
                                                           const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("associateRegionForUpdates");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %lu\n", DtServiceTrace::regionHandle(theRegion), theObject);
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(associateRegionForUpdates));
  requireDdm(ddmManagerActive(), "associateRegionForUpdates", DT_DDM_OFF(associateRegionForUpdates));
  objectMgr("associateRegionForUpdates").associateRegionForUpdates(theRegion, theObject, theAttributes, 0);
}

void DtRtiAmbassadorImplementor::unassociateRegionForUpdates(RTI::Region& theRegion, RTI::ObjectHandle theObject) {
  traceHeader("unassociateRegionForUpdates");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %lu\n", DtServiceTrace::regionHandle(theRegion), theObject);
  }
  checkJoinedAndSave(DT_UNABLE(unassociateRegionForUpdates));
  requireDdm(ddmOn(), "unassociateRegionForUpdates", DT_DDM_OFF(unassociateRegionForUpdates));
  objectMgr("unassociateRegionForUpdates").unassociateRegionForUpdates(theRegion, theObject);
}

void DtRtiAmbassadorImplementor::subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle theClass,
                                                                          RTI::Region& theRegion,
                                                                          const RTI::AttributeHandleSet& attributeList,
                                                                          RTI::Boolean active) {
  traceHeader("subscribeObjectClassAttributesWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu %s\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    DtServiceTrace::regionHandle(theRegion), activity(active));
    DtServiceTrace::print(attributeList);
  }
  checkJoinedAndSave(DT_UNABLE(subscribeObjectClassAttributesWithRegion));
  requireDdm(ddmOn(), "subscribeObjectClassAttributesWithRegion", DT_DDM_OFF(subscribeObjectClassAttributesWithRegion));
  DtObjectMgr& objects = objectMgr("subscribeObjectClassAttributesWithRegion");
  // An empty set ends the subscription for the region.
  if (attributeList.size() == 0) {
    objects.unsubscribeObjectClassWithRegion(theClass, theRegion);
  } else {
    objects.subscribeObjectClassAttributesWithRegion(theClass, theRegion, attributeList, active);
  }
}

void DtRtiAmbassadorImplementor::unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle theClass,
                                                                  RTI::Region& theRegion) {
  // This one header has no colon.
  DtNotifyVerbose("RTI=>unsubscribeObjectClassWithRegion\n");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    DtServiceTrace::regionHandle(theRegion));
  }
  checkJoinedAndSave(DT_UNABLE(unsubscribeObjectClassWithRegion));
  requireDdm(ddmOn(), "unsubscribeObjectClassWithRegion", DT_DDM_OFF(unsubscribeObjectClassWithRegion));
  objectMgr("unsubscribeObjectClassWithRegion").unsubscribeObjectClassWithRegion(theClass, theRegion);
}

void DtRtiAmbassadorImplementor::subscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass,
                                                                     RTI::Region& theRegion, RTI::Boolean active) {
  traceHeader("subscribeInteractionClassWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu %s\n", DtServiceTrace::interactionName(fomMgr(), theClass), theClass,
                    DtServiceTrace::regionHandle(theRegion), activity(active));
  }
  checkJoinedAndSave(DT_UNABLE(subscribeInteractionClassWithRegion));
  requireDdm(ddmOn(), "subscribeInteractionClassWithRegion", DT_DDM_OFF(subscribeInteractionClassWithRegion));
  interactionMgr("subscribeInteractionClassWithRegion")
      .subscribeInteractionClassWithRegion(theClass, theRegion, active);
}

void DtRtiAmbassadorImplementor::unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass,
                                                                       RTI::Region& theRegion) {
  traceHeader("unsubscribeInteractionClassWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu\n", DtServiceTrace::interactionName(fomMgr(), theClass), theClass,
                    DtServiceTrace::regionHandle(theRegion));
  }
  checkJoinedAndSave(DT_UNABLE(unsubscribeInteractionClassWithRegion));
  requireDdm(ddmOn(), "unsubscribeInteractionClassWithRegion", DT_DDM_OFF(unsubscribeInteractionClassWithRegion));
  interactionMgr("unsubscribeInteractionClassWithRegion").unsubscribeInteractionClassWithRegion(theClass, theRegion);
}

// Sending with a region needs no data distribution.
void DtRtiAmbassadorImplementor::sendInteractionWithRegion(RTI::InteractionClassHandle theInteraction,
                                                           const RTI::ParameterHandleValuePairSet& theParameters,
                                                           const char* theTag, const RTI::Region& theRegion) {
  traceHeader("sendInteractionWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s %lu\n", DtServiceTrace::interactionName(fomMgr(), theInteraction),
                    theInteraction, DtServiceTrace::text(theTag), DtServiceTrace::regionHandle(theRegion));
    DtServiceTrace::print(theParameters);
  }
  checkJoinedAndSave(DT_UNABLE(sendInteractionWithRegion));
  interactionMgr("sendInteractionWithRegion").send(theInteraction, theParameters, nullptr, theTag, theRegion);
}

RTI::EventRetractionHandle DtRtiAmbassadorImplementor::sendInteractionWithRegion(
    RTI::InteractionClassHandle theInteraction, const RTI::ParameterHandleValuePairSet& theParameters,
    const RTI::FedTime& theTime, const char* theTag, const RTI::Region& theRegion) {
  traceHeader("sendInteractionWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s %s %lu\n", DtServiceTrace::interactionName(fomMgr(), theInteraction),
                    theInteraction, DtServiceTrace::TimeText(theTime).text(), DtServiceTrace::text(theTag),
                    DtServiceTrace::regionHandle(theRegion));
    DtServiceTrace::print(theParameters);
  }
  checkJoinedAndSave(DT_UNABLE(sendInteractionWithRegion));
  checkTimeStamp(theTime, "sendInteractionWithRegion", DT_UNABLE(sendInteractionWithRegion), false);
  return retractionHandle(
      interactionMgr("sendInteractionWithRegion").send(theInteraction, theParameters, &theTime, theTag, theRegion));
}

void DtRtiAmbassadorImplementor::requestClassAttributeValueUpdateWithRegion(
    RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& theAttributes, const RTI::Region& theRegion) {
  traceHeader("requestClassAttributeValueUpdateWithRegion");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %lu\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    DtServiceTrace::regionHandle(theRegion));
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(requestClassAttributeValueUpdateWithRegion));
  requireDdm(ddmOn(), "requestClassAttributeValueUpdateWithRegion",
             DT_DDM_OFF(requestClassAttributeValueUpdateWithRegion));
  objectMgr("requestClassAttributeValueUpdateWithRegion")
      .requestClassAttributeValueUpdateWithRegion(theClass, theAttributes, theRegion);
}

// The region tokens run no save or restore test, and their refusals cut the
// services' names as the system always has.
RTI::RegionToken DtRtiAmbassadorImplementor::getRegionToken(RTI::Region* theRegion) {
  traceHeader("getRegionToken");
  checkJoined("Unable to process getRegionToke.");
  requireDdm(ddmOn(), "getRegionToken", "RTI DDM services turned off: unable to process getRegionToke");
  guardedDdm();
  // A region that is not the RTI's has no token.
  const auto* region = dynamic_cast<const DtRegion*>(theRegion);
  if (!region) throw RTI::RegionNotKnown("");
  return region->handle();
}

RTI::Region* DtRtiAmbassadorImplementor::getRegion(RTI::RegionToken theToken) {
  traceHeader("getRegion");
  DtNotifyVerbose("RTI=>\t%lu\n", theToken);
  checkJoined("Unable to process getRegio.");
  requireDdm(ddmOn(), "getRegion", "RTI DDM services turned off: unable to process getRegio");
  DtDataDistMgr& ddm = guardedDdm();
  if (!ddm.isMemberLocalRegions(theToken)) throw RTI::RegionNotKnown("");
  return ddm.localRegion(theToken);
}
