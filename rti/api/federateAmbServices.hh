// clang-format off
#pragma once
// HLA 1.3 C++ API: the federate ambassador, through which the RTI calls the
// federate back. Included by RTI.hh.

#include "RTItypes.hh"

namespace RTI {

// The federate derives from this class and overrides every callback. The RTI
// calls them only from inside RTIambassador::tick, on the thread calling tick.
class RTI_EXPORT FederateAmbassador {
public:
  FederateAmbassador() {}
  // The standard gives this destructor the throw list
  // throw(RTI::FederateInternalError), and federates written for C++98 to
  // C++14 repeat it on their own ambassadors' destructors: before C++17 the
  // base's destructor may therefore throw (a class of such a federate that
  // holds an ambassador and derives from a class whose destructor does not
  // throw declares its own destructor noexcept). C++17 has no throw lists,
  // and there the destructor does not throw, so that an ambassador can be a
  // member of any class.
#if __cplusplus < 201703L
  virtual ~FederateAmbassador() noexcept(false) {}
#else
  virtual ~FederateAmbassador() {}
#endif

  // Federation management
  virtual void synchronizationPointRegistrationSucceeded(const char* label) = 0;
  virtual void synchronizationPointRegistrationFailed(const char* label) = 0;
  virtual void announceSynchronizationPoint(const char* label, const char* tag) = 0;
  virtual void federationSynchronized(const char* label) = 0;
  virtual void initiateFederateSave(const char* label) = 0;
  virtual void federationSaved() = 0;
  virtual void federationNotSaved() = 0;
  virtual void requestFederationRestoreSucceeded(const char* label) = 0;
  virtual void requestFederationRestoreFailed(const char* label, const char* reason) = 0;
  virtual void federationRestoreBegun() = 0;
  virtual void initiateFederateRestore(const char* label, FederateHandle handle) = 0;
  virtual void federationRestored() = 0;
  virtual void federationNotRestored() = 0;

  // Declaration management
  virtual void startRegistrationForObjectClass(ObjectClassHandle theClass) = 0;
  virtual void stopRegistrationForObjectClass(ObjectClassHandle theClass) = 0;
  virtual void turnInteractionsOn(InteractionClassHandle theHandle) = 0;
  virtual void turnInteractionsOff(InteractionClassHandle theHandle) = 0;

  // Object management
  virtual void discoverObjectInstance(ObjectHandle theObject, ObjectClassHandle theObjectClass,
                                      const char* theObjectName) = 0;
  virtual void reflectAttributeValues(ObjectHandle theObject,
                                      const AttributeHandleValuePairSet& theAttributes,
                                      const char* theTag) = 0;
  virtual void reflectAttributeValues(ObjectHandle theObject,
                                      const AttributeHandleValuePairSet& theAttributes,
                                      const FedTime& theTime, const char* theTag,
                                      EventRetractionHandle theHandle) = 0;
  virtual void receiveInteraction(InteractionClassHandle theInteraction,
                                  const ParameterHandleValuePairSet& theParameters,
                                  const char* theTag) = 0;
  virtual void receiveInteraction(InteractionClassHandle theInteraction,
                                  const ParameterHandleValuePairSet& theParameters,
                                  const FedTime& theTime, const char* theTag,
                                  EventRetractionHandle theHandle) = 0;
  virtual void removeObjectInstance(ObjectHandle theObject, const char* theTag) = 0;
  virtual void removeObjectInstance(ObjectHandle theObject, const FedTime& theTime,
                                    const char* theTag, EventRetractionHandle theHandle) = 0;
  virtual void attributesInScope(ObjectHandle theObject,
                                 const AttributeHandleSet& theAttributes) = 0;
  virtual void attributesOutOfScope(ObjectHandle theObject,
                                    const AttributeHandleSet& theAttributes) = 0;
  virtual void provideAttributeValueUpdate(ObjectHandle theObject,
                                           const AttributeHandleSet& theAttributes) = 0;
  virtual void turnUpdatesOnForObjectInstance(ObjectHandle theObject,
                                              const AttributeHandleSet& theAttributes) = 0;
  virtual void turnUpdatesOffForObjectInstance(ObjectHandle theObject,
                                               const AttributeHandleSet& theAttributes) = 0;

  // Ownership management
  virtual void requestAttributeOwnershipAssumption(ObjectHandle theObject,
                                                   const AttributeHandleSet& offeredAttributes,
                                                   const char* theTag) = 0;
  virtual void attributeOwnershipDivestitureNotification(
      ObjectHandle theObject, const AttributeHandleSet& releasedAttributes) = 0;
  virtual void attributeOwnershipAcquisitionNotification(
      ObjectHandle theObject, const AttributeHandleSet& securedAttributes) = 0;
  virtual void attributeOwnershipUnavailable(ObjectHandle theObject,
                                             const AttributeHandleSet& theAttributes) = 0;
  virtual void requestAttributeOwnershipRelease(ObjectHandle theObject,
                                                const AttributeHandleSet& candidateAttributes,
                                                const char* theTag) = 0;
  virtual void confirmAttributeOwnershipAcquisitionCancellation(
      ObjectHandle theObject, const AttributeHandleSet& theAttributes) = 0;
  virtual void informAttributeOwnership(ObjectHandle theObject, AttributeHandle theAttribute,
                                        FederateHandle theOwner) = 0;
  virtual void attributeIsNotOwned(ObjectHandle theObject, AttributeHandle theAttribute) = 0;
  virtual void attributeOwnedByRTI(ObjectHandle theObject, AttributeHandle theAttribute) = 0;

  // Time management
  virtual void timeRegulationEnabled(const FedTime& theFederateTime) = 0;
  virtual void timeConstrainedEnabled(const FedTime& theFederateTime) = 0;
  virtual void timeAdvanceGrant(const FedTime& theTime) = 0;
  virtual void requestRetraction(EventRetractionHandle theHandle) = 0;
};

}  // namespace RTI
