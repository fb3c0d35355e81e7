#pragma once
// The scripted federate's federate ambassador: every callback prints one line
// "callback <name> <arguments...>" (see OutputLine for the forms), then the
// session counts it and runs the reaction filed for it. The session's
// sentinel interactions are kept by their tags instead.

#include <NullFederateAmbassador.hh>

#include "OutputLine.h"

class ScriptSession;

class PrintingFedAmb : public NullFederateAmbassador {
public:
  explicit PrintingFedAmb(ScriptSession& session) : session_(session) {}

  void synchronizationPointRegistrationSucceeded(const char* label) override;
  void synchronizationPointRegistrationFailed(const char* label) override;
  void announceSynchronizationPoint(const char* label, const char* tag) override;
  void federationSynchronized(const char* label) override;
  void initiateFederateSave(const char* label) override;
  void federationSaved() override;
  void federationNotSaved() override;
  void requestFederationRestoreSucceeded(const char* label) override;
  void requestFederationRestoreFailed(const char* label, const char* reason) override;
  void federationRestoreBegun() override;
  void initiateFederateRestore(const char* label, RTI::FederateHandle handle) override;
  void federationRestored() override;
  void federationNotRestored() override;
  void startRegistrationForObjectClass(RTI::ObjectClassHandle theClass) override;
  void stopRegistrationForObjectClass(RTI::ObjectClassHandle theClass) override;
  void turnInteractionsOn(RTI::InteractionClassHandle theHandle) override;
  void turnInteractionsOff(RTI::InteractionClassHandle theHandle) override;
  void discoverObjectInstance(RTI::ObjectHandle theObject, RTI::ObjectClassHandle theObjectClass,
                              const char* theObjectName) override;
  void reflectAttributeValues(RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes,
                              const char* theTag) override;
  void reflectAttributeValues(RTI::ObjectHandle theObject, const RTI::AttributeHandleValuePairSet& theAttributes,
                              const RTI::FedTime& theTime, const char* theTag,
                              RTI::EventRetractionHandle theHandle) override;
  void receiveInteraction(RTI::InteractionClassHandle theInteraction,
                          const RTI::ParameterHandleValuePairSet& theParameters, const char* theTag) override;
  void receiveInteraction(RTI::InteractionClassHandle theInteraction,
                          const RTI::ParameterHandleValuePairSet& theParameters, const RTI::FedTime& theTime,
                          const char* theTag, RTI::EventRetractionHandle theHandle) override;
  void removeObjectInstance(RTI::ObjectHandle theObject, const char* theTag) override;
  void removeObjectInstance(RTI::ObjectHandle theObject, const RTI::FedTime& theTime, const char* theTag,
                            RTI::EventRetractionHandle theHandle) override;
  void attributesInScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) override;
  void attributesOutOfScope(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) override;
  void provideAttributeValueUpdate(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& theAttributes) override;
  void turnUpdatesOnForObjectInstance(RTI::ObjectHandle theObject,
                                      const RTI::AttributeHandleSet& theAttributes) override;
  void turnUpdatesOffForObjectInstance(RTI::ObjectHandle theObject,
                                       const RTI::AttributeHandleSet& theAttributes) override;
  void requestAttributeOwnershipAssumption(RTI::ObjectHandle theObject,
                                           const RTI::AttributeHandleSet& offeredAttributes,
                                           const char* theTag) override;
  void attributeOwnershipDivestitureNotification(RTI::ObjectHandle theObject,
                                                 const RTI::AttributeHandleSet& releasedAttributes) override;
  void attributeOwnershipAcquisitionNotification(RTI::ObjectHandle theObject,
                                                 const RTI::AttributeHandleSet& securedAttributes) override;
  void attributeOwnershipUnavailable(RTI::ObjectHandle theObject,
                                     const RTI::AttributeHandleSet& theAttributes) override;
  void requestAttributeOwnershipRelease(RTI::ObjectHandle theObject, const RTI::AttributeHandleSet& candidateAttributes,
                                        const char* theTag) override;
  void confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle theObject,
                                                        const RTI::AttributeHandleSet& theAttributes) override;
  void informAttributeOwnership(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute,
                                RTI::FederateHandle theOwner) override;
  void attributeIsNotOwned(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) override;
  void attributeOwnedByRTI(RTI::ObjectHandle theObject, RTI::AttributeHandle theAttribute) override;
  void timeRegulationEnabled(const RTI::FedTime& theFederateTime) override;
  void timeConstrainedEnabled(const RTI::FedTime& theFederateTime) override;
  void timeAdvanceGrant(const RTI::FedTime& theTime) override;
  void requestRetraction(RTI::EventRetractionHandle theHandle) override;

private:
  // Prints the line, then tells the session.
  void done(const char* name, const OutputLine& line);
  // An interaction of the sentinel class: kept by its tag, not printed.
  bool sentinel(RTI::InteractionClassHandle theClass, const char* tag);

  ScriptSession& session_;
};
