// The implementor's declaration, object and ownership management services:
// traced, then checked (joined, no save or restore in the way), then handed
// to the object or interaction manager.
#include "core/DtRtiAmbassadorImplementor.h"

#include "core/DtServiceReasons.h"
#include "core/DtServiceTrace.h"
#include "core/DtWireType.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

const char* activity(RTI::Boolean active) { return active ? "active" : "passive"; }

}  // namespace

void DtRtiAmbassadorImplementor::checkJoinedAndSave(const char* reason) const {
  checkJoined(reason);
  testSaveProgress();
}

DtDataDistMgr* DtRtiAmbassadorImplementor::defaultRegionMgr() const {
  // The plain subscriptions act on the default region too while data
  // distribution is on; a federate without a manager has it off.
  return ddmOn() ? ddmMgr() : nullptr;
}

void DtRtiAmbassadorImplementor::traceClass(RTI::ObjectClassHandle theClass) const {
  DtNotifyVerbose("RTI=>\t%s(%lu)\n", DtServiceTrace::className(fomMgr(), theClass), theClass);
}

void DtRtiAmbassadorImplementor::traceInteraction(RTI::InteractionClassHandle theClass) const {
  DtNotifyVerbose("RTI=>\t%s(%lu)\n", DtServiceTrace::interactionName(fomMgr(), theClass), theClass);
}

// Declaration management.

void DtRtiAmbassadorImplementor::publishObjectClass(RTI::ObjectClassHandle theClass,
                                                    const RTI::AttributeHandleSet& attributeList) {
  traceHeader("publishObjectClass");
  if (DtServiceTrace::on()) {
    traceClass(theClass);
    DtServiceTrace::print(attributeList);
  }
  checkJoinedAndSave(DT_UNABLE(publishObjectClass));
  objectMgr("publishObjectClass").publish(theClass, attributeList);
}

void DtRtiAmbassadorImplementor::unpublishObjectClass(RTI::ObjectClassHandle theClass) {
  traceHeader("unpublishObjectClass");
  if (DtServiceTrace::on()) traceClass(theClass);
  checkJoinedAndSave(DT_UNABLE(unpublishObjectClass));
  objectMgr("unpublishObjectClass").unpublish(theClass);
}

void DtRtiAmbassadorImplementor::publishInteractionClass(RTI::InteractionClassHandle theInteraction) {
  traceHeader("publishInteractionClass");
  if (DtServiceTrace::on()) traceInteraction(theInteraction);
  checkJoinedAndSave(DT_UNABLE(publishInteractionClass));
  interactionMgr("publishInteractionClass").publish(theInteraction);
}

void DtRtiAmbassadorImplementor::unpublishInteractionClass(RTI::InteractionClassHandle theInteraction) {
  traceHeader("unpublishInteractionClass");
  if (DtServiceTrace::on()) traceInteraction(theInteraction);
  checkJoinedAndSave(DT_UNABLE(unpublishInteractionClass));
  interactionMgr("unpublishInteractionClass").unpublish(theInteraction);
}

void DtRtiAmbassadorImplementor::subscribeObjectClassAttributes(RTI::ObjectClassHandle theClass,
                                                                const RTI::AttributeHandleSet& attributeList,
                                                                RTI::Boolean active) {
  traceHeader("subscribeObjectClassAttributes");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s\n", DtServiceTrace::className(fomMgr(), theClass), theClass, activity(active));
    DtServiceTrace::print(attributeList);
  }
  checkJoinedAndSave(DT_UNABLE(subscribeObjectClassAttributes));
  DtObjectMgr& objects = objectMgr("subscribeObjectClassAttributes");
  objects.subscribe(theClass, attributeList, active);
  if (DtDataDistMgr* ddm = defaultRegionMgr()) {
    objects.subscribeObjectClassAttributesWithRegion(theClass, ddm->defaultRegion(), attributeList, active);
  }
}

void DtRtiAmbassadorImplementor::unsubscribeObjectClass(RTI::ObjectClassHandle theClass) {
  traceHeader("unsubscribeObjectClass");
  if (DtServiceTrace::on()) traceClass(theClass);
  checkJoinedAndSave(DT_UNABLE(unsubscribeObjectClass));
  DtObjectMgr& objects = objectMgr("unsubscribeObjectClass");
  objects.unsubscribe(theClass);
  if (DtDataDistMgr* ddm = defaultRegionMgr()) {
    objects.unsubscribeObjectClassWithRegion(theClass, ddm->defaultRegion());
  }
}

void DtRtiAmbassadorImplementor::subscribeInteractionClass(RTI::InteractionClassHandle theClass, RTI::Boolean active) {
  traceHeader("subscribeInteractionClass");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s\n", DtServiceTrace::interactionName(fomMgr(), theClass), theClass,
                    activity(active));
  }
  checkJoinedAndSave(DT_UNABLE(subscribeInteractionClass));
  DtInteractionMgr& interactions = interactionMgr("subscribeInteractionClass");
  interactions.subscribe(theClass, active);
  if (DtDataDistMgr* ddm = defaultRegionMgr()) {
    interactions.subscribeInteractionClassWithRegion(theClass, ddm->defaultRegion(), active);
  }
}

void DtRtiAmbassadorImplementor::unsubscribeInteractionClass(RTI::InteractionClassHandle theClass) {
  traceHeader("unsubscribeInteractionClass");
  if (DtServiceTrace::on()) traceInteraction(theClass);
  checkJoinedAndSave(DT_UNABLE(unsubscribeInteractionClass));
  DtInteractionMgr& interactions = interactionMgr("unsubscribeInteractionClass");
  interactions.unsubscribe(theClass);
  if (DtDataDistMgr* ddm = defaultRegionMgr()) {
    interactions.unsubscribeInteractionClassWithRegion(theClass, ddm->defaultRegion());
  }
}

// Object management.

RTI::ObjectHandle DtRtiAmbassadorImplementor::registerObjectInstance(RTI::ObjectClassHandle theClass) {
  traceHeader("registerObjectInstance");
  if (DtServiceTrace::on()) traceClass(theClass);
  checkJoinedAndSave(DT_UNABLE(registerObjectInstance));
  return objectMgr("registerObjectInstance").registerObj(theClass);
}

RTI::ObjectHandle DtRtiAmbassadorImplementor::registerObjectInstance(RTI::ObjectClassHandle theClass,
                                                                     const char* theObject) {
  traceHeader("registerObjectInstance");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%s(%lu) %s\n", DtServiceTrace::className(fomMgr(), theClass), theClass,
                    DtServiceTrace::text(theObject));
  }
  checkJoinedAndSave(DT_UNABLE(registerObjectInstance));
  return objectMgr("registerObjectInstance").registerObj(theClass, theObject);
}

void DtRtiAmbassadorImplementor::updateAttributeValues(RTI::ObjectHandle theObject,
                                                       const RTI::AttributeHandleValuePairSet& theAttributes,
                                                       const char* theTag) {
  traceHeader("updateAttributeValues");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %s\n", theObject, DtServiceTrace::text(theTag));
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(updateAttributeValues));
  objectMgr("updateAttributeValues").sendUpdate(theObject, theAttributes, nullptr, theTag);
}

RTI::EventRetractionHandle DtRtiAmbassadorImplementor::updateAttributeValues(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes, const RTI::FedTime& theTime,
    const char* theTag) {
  traceHeader("updateAttributeValues");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %s %s\n", theObject, DtServiceTrace::TimeText(theTime).text(),
                    DtServiceTrace::text(theTag));
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(updateAttributeValues));
  checkTimeStamp(theTime, "updateAttributeValues", DT_UNABLE(updateAttributeValues), false);
  return retractionHandle(objectMgr("updateAttributeValues").sendUpdate(theObject, theAttributes, &theTime, theTag));
}

void DtRtiAmbassadorImplementor::sendInteraction(RTI::InteractionClassHandle theInteraction,
                                                 const RTI::ParameterHandleValuePairSet& theParameters,
                                                 const char* theTag) {
  traceHeader("sendInteraction");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %s\n", theInteraction, DtServiceTrace::text(theTag));
    DtServiceTrace::print(theParameters);
  }
  checkJoinedAndSave(DT_UNABLE(sendInteraction));
  interactionMgr("sendInteraction").send(theInteraction, theParameters, nullptr, theTag, 0UL);
}

RTI::EventRetractionHandle DtRtiAmbassadorImplementor::sendInteraction(
    RTI::InteractionClassHandle theInteraction, const RTI::ParameterHandleValuePairSet& theParameters,
    const RTI::FedTime& theTime, const char* theTag) {
  traceHeader("sendInteraction");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %s %s\n", theInteraction, DtServiceTrace::TimeText(theTime).text(),
                    DtServiceTrace::text(theTag));
    DtServiceTrace::print(theParameters);
  }
  checkJoinedAndSave(DT_UNABLE(sendInteraction));
  checkTimeStamp(theTime, "sendInteraction", DT_UNABLE(sendInteraction), false);
  return retractionHandle(interactionMgr("sendInteraction").send(theInteraction, theParameters, &theTime, theTag, 0UL));
}

void DtRtiAmbassadorImplementor::deleteObjectInstance(RTI::ObjectHandle theObject, const char* theTag) {
  traceHeader("deleteObjectInstance");
  DtNotifyVerbose("RTI=>\t%lu %s\n", theObject, DtServiceTrace::text(theTag));
  checkJoinedAndSave(DT_UNABLE(deleteObjectInstance));
  objectMgr("deleteObjectInstance").deleteObj(theObject, nullptr, theTag);
}

RTI::EventRetractionHandle DtRtiAmbassadorImplementor::deleteObjectInstance(RTI::ObjectHandle theObject,
                                                                            const RTI::FedTime& theTime,
                                                                            const char* theTag) {
  traceHeader("deleteObjectInstance");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu %s %s\n", theObject, DtServiceTrace::TimeText(theTime).text(),
                    DtServiceTrace::text(theTag));
  }
  checkJoinedAndSave(DT_UNABLE(deleteObjectInstance));
  checkTimeStamp(theTime, "deleteObjectInstance", DT_UNABLE(deleteObjectInstance), false);
  return retractionHandle(objectMgr("deleteObjectInstance").deleteObj(theObject, &theTime, theTag));
}

void DtRtiAmbassadorImplementor::localDeleteObjectInstance(RTI::ObjectHandle theObject) {
  traceHeader("localDeleteObjectInstance");
  DtNotifyVerbose("RTI=>\t%lu\n", theObject);
  checkJoinedAndSave(DT_UNABLE(localDeleteObjectInstance));
  objectMgr("localDeleteObjectInstance").localDeleteObj(theObject);
}

void DtRtiAmbassadorImplementor::changeAttributeTransportationType(RTI::ObjectHandle theObject,
                                                                   const RTI::AttributeHandleSet& theAttributes,
                                                                   RTI::TransportationHandle theType) {
  traceHeader("changeAttributeTransportationType");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theObject, theType);
  checkJoinedAndSave(DT_UNABLE(changeAttributeTransportationType));
  objectMgr("changeAttributeTransportationType")
      .setAttributeTransportType(theObject, theAttributes, DtWireType<DtTransportType>(theType));
}

void DtRtiAmbassadorImplementor::changeInteractionTransportationType(RTI::InteractionClassHandle theClass,
                                                                     RTI::TransportationHandle theType) {
  traceHeader("changeInteractionTransportationType");
  DtNotifyVerbose("RTI=>\t%lu %lu\n", theClass, theType);
  checkJoinedAndSave(DT_UNABLE(changeInteractionTransportationType));
  interactionMgr("changeInteractionTransportationType").setTransport(theClass, DtWireType<DtTransportType>(theType));
}

void DtRtiAmbassadorImplementor::requestObjectAttributeValueUpdate(RTI::ObjectHandle theObject,
                                                                   const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("requestObjectAttributeValueUpdate");
  if (DtServiceTrace::on()) {
    DtNotifyVerbose("RTI=>\t%lu\n", theObject);
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(requestObjectAttributeValueUpdate));
  objectMgr("requestObjectAttributeValueUpdate").requestObjectUpdate(theObject, theAttributes);
}

void DtRtiAmbassadorImplementor::requestClassAttributeValueUpdate(RTI::ObjectClassHandle theClass,
                                                                  const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("requestClassAttributeValueUpdate");
  if (DtServiceTrace::on()) {
    traceClass(theClass);
    DtServiceTrace::print(theAttributes);
  }
  checkJoinedAndSave(DT_UNABLE(requestClassAttributeValueUpdate));
  objectMgr("requestClassAttributeValueUpdate").requestClassUpdate(theClass, theAttributes);
}

// Ownership management: the object manager's divest and acquire operations
// take a flag for the negotiated and if-available forms, and a null tag for
// the forms without one.

void DtRtiAmbassadorImplementor::traceObjectAndSet(RTI::ObjectHandle theObject, const char* tag,
                                                   const RTI::AttributeHandleSet& attributes) const {
  if (!DtServiceTrace::on()) return;
  if (tag) {
    DtNotifyVerbose("RTI=>\t%lu (tag = %s)\n", theObject, tag);
  } else {
    DtNotifyVerbose("RTI=>\t%lu\n", theObject);
  }
  DtServiceTrace::print(attributes);
}

void DtRtiAmbassadorImplementor::unconditionalAttributeOwnershipDivestiture(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("unconditionalAttributeOwnershipDivestiture");
  traceObjectAndSet(theObject, nullptr, theAttributes);
  checkJoinedAndSave(DT_UNABLE(unconditionalAttributeOwnershipDivestiture));
  objectMgr("unconditionalAttributeOwnershipDivestiture").divestOwnership(theObject, theAttributes, false, nullptr);
}

void DtRtiAmbassadorImplementor::negotiatedAttributeOwnershipDivestiture(RTI::ObjectHandle theObject,
                                                                         const RTI::AttributeHandleSet& theAttributes,
                                                                         const char* theTag) {
  traceHeader("negotiatedAttributeOwnershipDivestiture");
  traceObjectAndSet(theObject, DtServiceTrace::text(theTag), theAttributes);
  checkJoinedAndSave(DT_UNABLE(negotiatedAttributeOwnershipDivestiture));
  objectMgr("negotiatedAttributeOwnershipDivestiture").divestOwnership(theObject, theAttributes, true, theTag);
}

void DtRtiAmbassadorImplementor::attributeOwnershipAcquisition(RTI::ObjectHandle theObject,
                                                               const RTI::AttributeHandleSet& desiredAttributes,
                                                               const char* theTag) {
  traceHeader("attributeOwnershipAcquisition");
  traceObjectAndSet(theObject, DtServiceTrace::text(theTag), desiredAttributes);
  checkJoinedAndSave(DT_UNABLE(attributeOwnershipAcquisition));
  objectMgr("attributeOwnershipAcquisition").acquireAttrs(theObject, desiredAttributes, false, theTag);
}

void DtRtiAmbassadorImplementor::attributeOwnershipAcquisitionIfAvailable(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& desiredAttributes) {
  traceHeader("attributeOwnershipAcquisitionIfAvailable");
  traceObjectAndSet(theObject, nullptr, desiredAttributes);
  checkJoinedAndSave(DT_UNABLE(attributeOwnershipAcquisitionIfAvailable));
  objectMgr("attributeOwnershipAcquisitionIfAvailable").acquireAttrs(theObject, desiredAttributes, true, nullptr);
}

RTI::AttributeHandleSet* DtRtiAmbassadorImplementor::attributeOwnershipReleaseResponse(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("attributeOwnershipReleaseResponse");
  traceObjectAndSet(theObject, nullptr, theAttributes);
  checkJoinedAndSave(DT_UNABLE(attributeOwnershipReleaseResponse));
  return objectMgr("attributeOwnershipReleaseResponse").releaseResponse(theObject, theAttributes);
}

void DtRtiAmbassadorImplementor::cancelNegotiatedAttributeOwnershipDivestiture(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("cancelNegotiatedAttributeOwnershipDivestiture");
  traceObjectAndSet(theObject, nullptr, theAttributes);
  checkJoinedAndSave(DT_UNABLE(cancelNegotiatedAttributeOwnershipDivestiture));
  objectMgr("cancelNegotiatedAttributeOwnershipDivestiture").cancelDivest(theObject, theAttributes);
}

void DtRtiAmbassadorImplementor::cancelAttributeOwnershipAcquisition(RTI::ObjectHandle theObject,
                                                                     const RTI::AttributeHandleSet& theAttributes) {
  traceHeader("cancelAttributeOwnershipAcquisition");
  traceObjectAndSet(theObject, nullptr, theAttributes);
  checkJoinedAndSave(DT_UNABLE(cancelAttributeOwnershipAcquisition));
  objectMgr("cancelAttributeOwnershipAcquisition").cancelAcquire(theObject, theAttributes);
}

void DtRtiAmbassadorImplementor::traceObjectAttribute(RTI::ObjectHandle theObject,
                                                      RTI::AttributeHandle theAttribute) const {
  if (!DtServiceTrace::on()) return;
  DtNotifyVerbose("RTI=>\t%lu %s(%lu)\n", theObject,
                  DtServiceTrace::attributeName(fomMgr(), objMgr(), theObject, theAttribute), theAttribute);
}

void DtRtiAmbassadorImplementor::queryAttributeOwnership(RTI::ObjectHandle theObject,
                                                         RTI::AttributeHandle theAttribute) {
  traceHeader("queryAttributeOwnership");
  traceObjectAttribute(theObject, theAttribute);
  checkJoinedAndSave(DT_UNABLE(queryAttributeOwnership));
  objectMgr("queryAttributeOwnership").queryOwnership(theObject, theAttribute);
}

// Answered here, from the object manager's record of the object.
RTI::Boolean DtRtiAmbassadorImplementor::isAttributeOwnedByFederate(RTI::ObjectHandle theObject,
                                                                    RTI::AttributeHandle theAttribute) {
  traceHeader("isAttributeOwnedByFederate");
  checkJoinedAndSave(DT_UNABLE(isAttributeOwnedByFederate));
  const DtRtiObject* object = objectMgr("isAttributeOwnedByFederate").knownObj(theObject);
  if (!object) throw RTI::ObjectNotKnown("");
  const DtObjectClassInfo* knownClass = object->knownClass();
  if (!knownClass || !knownClass->allAttrs().isMember(theAttribute)) {
    throw RTI::AttributeNotDefined("");
  }
  traceObjectAttribute(theObject, theAttribute);
  return object->owned(theAttribute) ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}
