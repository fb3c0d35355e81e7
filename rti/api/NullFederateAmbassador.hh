// clang-format off
#pragma once
// A federate ambassador that ignores every callback: a federate derives from it
// and overrides only the callbacks it cares about.

#include "RTI.hh"

class NullFederateAmbassador : public RTI::FederateAmbassador {
public:
  NullFederateAmbassador() {}
  ~NullFederateAmbassador() override {}

  // Federation management
  void synchronizationPointRegistrationSucceeded(const char*) override {}
  void synchronizationPointRegistrationFailed(const char*) override {}
  void announceSynchronizationPoint(const char*, const char*) override {}
  void federationSynchronized(const char*) override {}
  void initiateFederateSave(const char*) override {}
  void federationSaved() override {}
  void federationNotSaved() override {}
  void requestFederationRestoreSucceeded(const char*) override {}
  void requestFederationRestoreFailed(const char*, const char*) override {}
  void federationRestoreBegun() override {}
  void initiateFederateRestore(const char*, RTI::FederateHandle) override {}
  void federationRestored() override {}
  void federationNotRestored() override {}

  // Declaration management
  void startRegistrationForObjectClass(RTI::ObjectClassHandle) override {}
  void stopRegistrationForObjectClass(RTI::ObjectClassHandle) override {}
  void turnInteractionsOn(RTI::InteractionClassHandle) override {}
  void turnInteractionsOff(RTI::InteractionClassHandle) override {}

  // Object management
  void discoverObjectInstance(RTI::ObjectHandle, RTI::ObjectClassHandle, const char*) override {}
  void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&,
                              const char*) override {}
  void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&,
                              const RTI::FedTime&, const char*,
                              RTI::EventRetractionHandle) override {}
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                          const char*) override {}
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                          const RTI::FedTime&, const char*, RTI::EventRetractionHandle) override {}
  void removeObjectInstance(RTI::ObjectHandle, const char*) override {}
  void removeObjectInstance(RTI::ObjectHandle, const RTI::FedTime&, const char*,
                            RTI::EventRetractionHandle) override {}
  void attributesInScope(RTI::ObjectHandle, const RTI::AttributeHandleSet&) override {}
  void attributesOutOfScope(RTI::ObjectHandle, const RTI::AttributeHandleSet&) override {}
  void provideAttributeValueUpdate(RTI::ObjectHandle, const RTI::AttributeHandleSet&) override {}
  void turnUpdatesOnForObjectInstance(RTI::ObjectHandle, const RTI::AttributeHandleSet&) override {
  }
  void turnUpdatesOffForObjectInstance(RTI::ObjectHandle,
                                       const RTI::AttributeHandleSet&) override {}

  // Ownership management
  void requestAttributeOwnershipAssumption(RTI::ObjectHandle, const RTI::AttributeHandleSet&,
                                           const char*) override {}
  void attributeOwnershipDivestitureNotification(RTI::ObjectHandle,
                                                 const RTI::AttributeHandleSet&) override {}
  void attributeOwnershipAcquisitionNotification(RTI::ObjectHandle,
                                                 const RTI::AttributeHandleSet&) override {}
  void attributeOwnershipUnavailable(RTI::ObjectHandle, const RTI::AttributeHandleSet&) override {}
  void requestAttributeOwnershipRelease(RTI::ObjectHandle, const RTI::AttributeHandleSet&,
                                        const char*) override {}
  void confirmAttributeOwnershipAcquisitionCancellation(RTI::ObjectHandle,
                                                        const RTI::AttributeHandleSet&) override {}
  void informAttributeOwnership(RTI::ObjectHandle, RTI::AttributeHandle,
                                RTI::FederateHandle) override {}
  void attributeIsNotOwned(RTI::ObjectHandle, RTI::AttributeHandle) override {}
  void attributeOwnedByRTI(RTI::ObjectHandle, RTI::AttributeHandle) override {}

  // Time management
  void timeRegulationEnabled(const RTI::FedTime&) override {}
  void timeConstrainedEnabled(const RTI::FedTime&) override {}
  void timeAdvanceGrant(const RTI::FedTime&) override {}
  void requestRetraction(RTI::EventRetractionHandle) override {}
};
