#include "api/DtFedAmbWrapper.h"

DtFedAmbWrapper::DtFedAmbWrapper(RTI::FederateAmbassador* next) : fedAmb_(next) {}

DtFedAmbWrapper::~DtFedAmbWrapper() = default;

RTI::FederateAmbassador* DtFedAmbWrapper::fedAmb() const { return fedAmb_; }

void DtFedAmbWrapper::setFedAmb(RTI::FederateAmbassador* next) { fedAmb_ = next; }

void DtFedAmbWrapper::synchronizationPointRegistrationSucceeded(const char* label) {
  if (fedAmb_ != nullptr) fedAmb_->synchronizationPointRegistrationSucceeded(label);
}

void DtFedAmbWrapper::synchronizationPointRegistrationFailed(const char* label) {
  if (fedAmb_ != nullptr) fedAmb_->synchronizationPointRegistrationFailed(label);
}

void DtFedAmbWrapper::announceSynchronizationPoint(const char* label, const char* tag) {
  if (fedAmb_ != nullptr) fedAmb_->announceSynchronizationPoint(label, tag);
}

void DtFedAmbWrapper::federationSynchronized(const char* label) {
  if (fedAmb_ != nullptr) fedAmb_->federationSynchronized(label);
}

void DtFedAmbWrapper::initiateFederateSave(const char* label) {
  if (fedAmb_ != nullptr) fedAmb_->initiateFederateSave(label);
}

void DtFedAmbWrapper::federationSaved() {
  if (fedAmb_ != nullptr) fedAmb_->federationSaved();
}

void DtFedAmbWrapper::federationNotSaved() {
  if (fedAmb_ != nullptr) fedAmb_->federationNotSaved();
}

void DtFedAmbWrapper::requestFederationRestoreSucceeded(const char* label) {
  if (fedAmb_ != nullptr) fedAmb_->requestFederationRestoreSucceeded(label);
}

void DtFedAmbWrapper::requestFederationRestoreFailed(const char* label, const char* reason) {
  if (fedAmb_ != nullptr) fedAmb_->requestFederationRestoreFailed(label, reason);
}

void DtFedAmbWrapper::federationRestoreBegun() {
  if (fedAmb_ != nullptr) fedAmb_->federationRestoreBegun();
}

void DtFedAmbWrapper::initiateFederateRestore(const char* label, RTI::FederateHandle handle) {
  if (fedAmb_ != nullptr) fedAmb_->initiateFederateRestore(label, handle);
}

void DtFedAmbWrapper::federationRestored() {
  if (fedAmb_ != nullptr) fedAmb_->federationRestored();
}

void DtFedAmbWrapper::federationNotRestored() {
  if (fedAmb_ != nullptr) fedAmb_->federationNotRestored();
}

void DtFedAmbWrapper::startRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  if (fedAmb_ != nullptr) fedAmb_->startRegistrationForObjectClass(theClass);
}

void DtFedAmbWrapper::stopRegistrationForObjectClass(RTI::ObjectClassHandle theClass) {
  if (fedAmb_ != nullptr) fedAmb_->stopRegistrationForObjectClass(theClass);
}

void DtFedAmbWrapper::turnInteractionsOn(RTI::InteractionClassHandle theHandle) {
  if (fedAmb_ != nullptr) fedAmb_->turnInteractionsOn(theHandle);
}

void DtFedAmbWrapper::turnInteractionsOff(RTI::InteractionClassHandle theHandle) {
  if (fedAmb_ != nullptr) fedAmb_->turnInteractionsOff(theHandle);
}

void DtFedAmbWrapper::discoverObjectInstance(RTI::ObjectHandle theObject,
                                             RTI::ObjectClassHandle theObjectClass,
                                             const char* theObjectName) {
  if (fedAmb_ != nullptr) fedAmb_->discoverObjectInstance(theObject, theObjectClass, theObjectName);
}

void DtFedAmbWrapper::reflectAttributeValues(RTI::ObjectHandle theObject,
                                             const RTI::AttributeHandleValuePairSet& theAttributes,
                                             const char* theTag) {
  if (fedAmb_ != nullptr) fedAmb_->reflectAttributeValues(theObject, theAttributes, theTag);
}

void DtFedAmbWrapper::reflectAttributeValues(RTI::ObjectHandle theObject,
                                             const RTI::AttributeHandleValuePairSet& theAttributes,
                                             const RTI::FedTime& theTime, const char* theTag,
                                             RTI::EventRetractionHandle theHandle) {
  if (fedAmb_ != nullptr)
    fedAmb_->reflectAttributeValues(theObject, theAttributes, theTime, theTag, theHandle);
}

void DtFedAmbWrapper::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                         const RTI::ParameterHandleValuePairSet& theParameters,
                                         const char* theTag) {
  if (fedAmb_ != nullptr) fedAmb_->receiveInteraction(theInteraction, theParameters, theTag);
}

void DtFedAmbWrapper::receiveInteraction(RTI::InteractionClassHandle theInteraction,
                                         const RTI::ParameterHandleValuePairSet& theParameters,
                                         const RTI::FedTime& theTime, const char* theTag,
                                         RTI::EventRetractionHandle theHandle) {
  if (fedAmb_ != nullptr)
    fedAmb_->receiveInteraction(theInteraction, theParameters, theTime, theTag, theHandle);
}

void DtFedAmbWrapper::removeObjectInstance(RTI::ObjectHandle theObject, const char* theTag) {
  if (fedAmb_ != nullptr) fedAmb_->removeObjectInstance(theObject, theTag);
}

void DtFedAmbWrapper::removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime,
                                           const char* theTag,
                                           RTI::EventRetractionHandle theHandle) {
  if (fedAmb_ != nullptr) fedAmb_->removeObjectInstance(theObject, theTime, theTag, theHandle);
}

void DtFedAmbWrapper::attributesInScope(RTI::ObjectHandle theObject,
                                        const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->attributesInScope(theObject, theAttributes);
}

void DtFedAmbWrapper::attributesOutOfScope(RTI::ObjectHandle theObject,
                                           const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->attributesOutOfScope(theObject, theAttributes);
}

void DtFedAmbWrapper::provideAttributeValueUpdate(RTI::ObjectHandle theObject,
                                                  const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->provideAttributeValueUpdate(theObject, theAttributes);
}

void DtFedAmbWrapper::turnUpdatesOnForObjectInstance(RTI::ObjectHandle theObject,
                                                     const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->turnUpdatesOnForObjectInstance(theObject, theAttributes);
}

void DtFedAmbWrapper::turnUpdatesOffForObjectInstance(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->turnUpdatesOffForObjectInstance(theObject, theAttributes);
}

void DtFedAmbWrapper::requestAttributeOwnershipAssumption(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& offeredAttributes,
    const char* theTag) {
  if (fedAmb_ != nullptr)
    fedAmb_->requestAttributeOwnershipAssumption(theObject, offeredAttributes, theTag);
}

void DtFedAmbWrapper::attributeOwnershipDivestitureNotification(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& releasedAttributes) {
  if (fedAmb_ != nullptr)
    fedAmb_->attributeOwnershipDivestitureNotification(theObject, releasedAttributes);
}

void DtFedAmbWrapper::attributeOwnershipAcquisitionNotification(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& securedAttributes) {
  if (fedAmb_ != nullptr)
    fedAmb_->attributeOwnershipAcquisitionNotification(theObject, securedAttributes);
}

void DtFedAmbWrapper::attributeOwnershipUnavailable(RTI::ObjectHandle theObject,
                                                    const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr) fedAmb_->attributeOwnershipUnavailable(theObject, theAttributes);
}

void DtFedAmbWrapper::requestAttributeOwnershipRelease(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& candidateAttributes,
    const char* theTag) {
  if (fedAmb_ != nullptr)
    fedAmb_->requestAttributeOwnershipRelease(theObject, candidateAttributes, theTag);
}

void DtFedAmbWrapper::confirmAttributeOwnershipAcquisitionCancellation(
    RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) {
  if (fedAmb_ != nullptr)
    fedAmb_->confirmAttributeOwnershipAcquisitionCancellation(theObject, theAttributes);
}

void DtFedAmbWrapper::informAttributeOwnership(RTI::ObjectHandle theObject,
                                               RTI::AttributeHandle theAttribute,
                                               RTI::FederateHandle theOwner) {
  if (fedAmb_ != nullptr) fedAmb_->informAttributeOwnership(theObject, theAttribute, theOwner);
}

void DtFedAmbWrapper::attributeIsNotOwned(RTI::ObjectHandle theObject,
                                          RTI::AttributeHandle theAttribute) {
  if (fedAmb_ != nullptr) fedAmb_->attributeIsNotOwned(theObject, theAttribute);
}

void DtFedAmbWrapper::attributeOwnedByRTI(RTI::ObjectHandle theObject,
                                          RTI::AttributeHandle theAttribute) {
  if (fedAmb_ != nullptr) fedAmb_->attributeOwnedByRTI(theObject, theAttribute);
}

void DtFedAmbWrapper::timeRegulationEnabled(const RTI::FedTime& theFederateTime) {
  if (fedAmb_ != nullptr) fedAmb_->timeRegulationEnabled(theFederateTime);
}

void DtFedAmbWrapper::timeConstrainedEnabled(const RTI::FedTime& theFederateTime) {
  if (fedAmb_ != nullptr) fedAmb_->timeConstrainedEnabled(theFederateTime);
}

void DtFedAmbWrapper::timeAdvanceGrant(const RTI::FedTime& theTime) {
  if (fedAmb_ != nullptr) fedAmb_->timeAdvanceGrant(theTime);
}

void DtFedAmbWrapper::requestRetraction(RTI::EventRetractionHandle theHandle) {
  if (fedAmb_ != nullptr) fedAmb_->requestRetraction(theHandle);
}
