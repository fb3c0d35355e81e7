#include "PrintingFedAmb.h"

#include "ScriptSession.h"

// Each callback writes its line under its own name (__func__).
#define CALLBACK_LINE OutputLine("callback", __func__)

void PrintingFedAmb::done(const char* name, const OutputLine& line) {
  session_.emit(line);
  session_.callbackSeen(name);
}

bool PrintingFedAmb::sentinel(RTI::InteractionClassHandle theClass, const char* tag) {
  if (!session_.isSentinel(theClass)) return false;
  session_.sentinelSeen(tag);
  return true;
}

void PrintingFedAmb::synchronizationPointRegistrationSucceeded(const char* label) {
  done(__func__, CALLBACK_LINE.text(label));
}
void PrintingFedAmb::synchronizationPointRegistrationFailed(const char* label) {
  done(__func__, CALLBACK_LINE.text(label));
}
void PrintingFedAmb::announceSynchronizationPoint(const char* label, const char* tag) {
  done(__func__, CALLBACK_LINE.text(label).text(tag));
}
void PrintingFedAmb::federationSynchronized(const char* label) { done(__func__, CALLBACK_LINE.text(label)); }
void PrintingFedAmb::initiateFederateSave(const char* label) { done(__func__, CALLBACK_LINE.text(label)); }
void PrintingFedAmb::federationSaved() { done(__func__, CALLBACK_LINE); }
void PrintingFedAmb::federationNotSaved() { done(__func__, CALLBACK_LINE); }
void PrintingFedAmb::requestFederationRestoreSucceeded(const char* label) { done(__func__, CALLBACK_LINE.text(label)); }
void PrintingFedAmb::requestFederationRestoreFailed(const char* label, const char* reason) {
  done(__func__, CALLBACK_LINE.text(label).text(reason));
}
void PrintingFedAmb::federationRestoreBegun() { done(__func__, CALLBACK_LINE); }
void PrintingFedAmb::initiateFederateRestore(const char* label, RTI::FederateHandle handle) {
  done(__func__, CALLBACK_LINE.text(label).number(handle));
}
void PrintingFedAmb::federationRestored() { done(__func__, CALLBACK_LINE); }
void PrintingFedAmb::federationNotRestored() { done(__func__, CALLBACK_LINE); }

void PrintingFedAmb::startRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  done(__func__, CALLBACK_LINE.number(theClass));
}
void PrintingFedAmb::stopRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  done(__func__, CALLBACK_LINE.number(theClass));
}
void PrintingFedAmb::turnInteractionsOn(RTI::InteractionClassHandle theHandle) {
  if (session_.isSentinel(theHandle)) return;
  done(__func__, CALLBACK_LINE.number(theHandle));
}
void PrintingFedAmb::turnInteractionsOff(RTI::InteractionClassHandle theHandle) {
  if (session_.isSentinel(theHandle)) return;
  done(__func__, CALLBACK_LINE.number(theHandle));
}

void PrintingFedAmb::discoverObjectInstance(RTI::ObjectHandle theObject, RTI::ObjectClassHandle theObjectClass,
                                            const char* theObjectName) {
  // Later commands may name the object.
  if (theObjectName) session_.remember(theObjectName, theObject);
  done(__func__, CALLBACK_LINE.number(theObject).number(theObjectClass).text(theObjectName));
}
void PrintingFedAmb::reflectAttributeValues(RTI::ObjectHandle theObject,
                                            const RTI::AttributeHandleValuePairSet& theAttributes, const char* theTag) {
  done(__func__, CALLBACK_LINE.number(theObject).values(theAttributes).text(theTag));
}
void PrintingFedAmb::reflectAttributeValues(RTI::ObjectHandle theObject,
                                            const RTI::AttributeHandleValuePairSet& theAttributes,
                                            const RTI::FedTime& theTime, const char* theTag,
                                            RTI::EventRetractionHandle theHandle) {
  done(__func__,
       CALLBACK_LINE.number(theObject).values(theAttributes).time(theTime).text(theTag).retraction(theHandle));
}
void PrintingFedAmb::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                        const RTI::ParameterHandleValuePairSet& theParameters, const char* theTag) {
  if (sentinel(theInteraction, theTag)) return;
  done(__func__, CALLBACK_LINE.number(theInteraction).values(theParameters).text(theTag));
}
void PrintingFedAmb::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                        const RTI::ParameterHandleValuePairSet& theParameters,
                                        const RTI::FedTime& theTime, const char* theTag,
                                        RTI::EventRetractionHandle theHandle) {
  if (sentinel(theInteraction, theTag)) return;
  done(__func__,
       CALLBACK_LINE.number(theInteraction).values(theParameters).time(theTime).text(theTag).retraction(theHandle));
}
void PrintingFedAmb::removeObjectInstance(RTI::ObjectHandle theObject, const char* theTag) {
  done(__func__, CALLBACK_LINE.number(theObject).text(theTag));
}
void PrintingFedAmb::removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime, const char* theTag,
                                          RTI::EventRetractionHandle theHandle) {
  done(__func__, CALLBACK_LINE.number(theObject).time(theTime).text(theTag).retraction(theHandle));
}
void PrintingFedAmb::attributesInScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::attributesOutOfScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::provideAttributeValueUpdate(RTI::ObjectHandle theObject,
                                                 const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::turnUpdatesOnForObjectInstance(RTI::ObjectHandle theObject,
                                                    const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::turnUpdatesOffForObjectInstance(RTI::ObjectHandle theObject,
                                                     const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}

void PrintingFedAmb::requestAttributeOwnershipAssumption(RTI::ObjectHandle theObject,
                                                         const RTI::AttributeHandleSet& offeredAttributes,
                                                         const char* theTag) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(offeredAttributes).text(theTag));
}
void PrintingFedAmb::attributeOwnershipDivestitureNotification(RTI::ObjectHandle theObject,
                                                               const RTI::AttributeHandleSet& releasedAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(releasedAttributes));
}
void PrintingFedAmb::attributeOwnershipAcquisitionNotification(RTI::ObjectHandle theObject,
                                                               const RTI::AttributeHandleSet& securedAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(securedAttributes));
}
void PrintingFedAmb::attributeOwnershipUnavailable(RTI::ObjectHandle theObject,
                                                   const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::requestAttributeOwnershipRelease(RTI::ObjectHandle theObject,
                                                      const RTI::AttributeHandleSet& candidateAttributes,
                                                      const char* theTag) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(candidateAttributes).text(theTag));
}
void PrintingFedAmb::confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle theObject,
                                                                      const RTI::AttributeHandleSet& theAttributes) {
  done(__func__, CALLBACK_LINE.number(theObject).handles(theAttributes));
}
void PrintingFedAmb::informAttributeOwnership(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute,
                                              RTI::FederateHandle theOwner) {
  done(__func__, CALLBACK_LINE.number(theObject).number(theAttribute).number(theOwner));
}
void PrintingFedAmb::attributeIsNotOwned(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) {
  done(__func__, CALLBACK_LINE.number(theObject).number(theAttribute));
}
void PrintingFedAmb::attributeOwnedByRTI(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) {
  done(__func__, CALLBACK_LINE.number(theObject).number(theAttribute));
}

void PrintingFedAmb::timeRegulationEnabled(const RTI::FedTime& theFederateTime) {
  done(__func__, CALLBACK_LINE.time(theFederateTime));
}
void PrintingFedAmb::timeConstrainedEnabled(const RTI::FedTime& theFederateTime) {
  done(__func__, CALLBACK_LINE.time(theFederateTime));
}
void PrintingFedAmb::timeAdvanceGrant(const RTI::FedTime& theTime) { done(__func__, CALLBACK_LINE.time(theTime)); }
void PrintingFedAmb::requestRetraction(RTI::EventRetractionHandle theHandle) {
  done(__func__, CALLBACK_LINE.retraction(theHandle));
}
