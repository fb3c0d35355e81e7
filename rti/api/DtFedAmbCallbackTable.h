#pragma once
// The federate ambassador's callbacks, described once: one row for each of
// the 42 callbacks of RTI::FederateAmbassador, in its order. A row is
// X(name, parameters...) with each parameter written as (type, name), as in
// the service table, whose building blocks expand it: DT_RTI_PARAMS gives
// the declaration's parameters, DT_RTI_ARGS the names to pass on.
// DtFedAmbWrapper's forwarding is made from it, and so can any wrapper that
// treats every callback alike: a counter's X would define
//   void name(DT_RTI_PARAMS(__VA_ARGS__)) override
// to count #name and call DtFedAmbWrapper::name(DT_RTI_ARGS(__VA_ARGS__)).
// The expansion needs C++20 (__VA_OPT__), or a GNU compiler in an earlier
// standard.

#include <cstddef>

#include "RTI.hh"
#include "api/DtRtiServiceTable.h"

// Federation management: synchronization points, save and restore.
#define DT_FED_AMB_FEDERATION_CALLBACKS(X)                                        \
  X(synchronizationPointRegistrationSucceeded, (const char*, label))              \
  X(synchronizationPointRegistrationFailed, (const char*, label))                 \
  X(announceSynchronizationPoint, (const char*, label), (const char*, tag))       \
  X(federationSynchronized, (const char*, label))                                 \
  X(initiateFederateSave, (const char*, label))                                   \
  X(federationSaved)                                                              \
  X(federationNotSaved)                                                           \
  X(requestFederationRestoreSucceeded, (const char*, label))                      \
  X(requestFederationRestoreFailed, (const char*, label), (const char*, reason))  \
  X(federationRestoreBegun)                                                       \
  X(initiateFederateRestore, (const char*, label), (RTI::FederateHandle, handle)) \
  X(federationRestored)                                                           \
  X(federationNotRestored)

// Declaration management: the registration and interaction advisories.
#define DT_FED_AMB_DECLARATION_CALLBACKS(X)                              \
  X(startRegistrationForObjectClass, (RTI::ObjectClassHandle, theClass)) \
  X(stopRegistrationForObjectClass, (RTI::ObjectClassHandle, theClass))  \
  X(turnInteractionsOn, (RTI::InteractionClassHandle, theHandle))        \
  X(turnInteractionsOff, (RTI::InteractionClassHandle, theHandle))

// Object management.
#define DT_FED_AMB_OBJECT_CALLBACKS(X)                                                                                \
  X(discoverObjectInstance, (RTI::ObjectHandle, theObject), (RTI::ObjectClassHandle, theObjectClass),                 \
    (const char*, theObjectName))                                                                                     \
  X(reflectAttributeValues, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleValuePairSet&, theAttributes), \
    (const char*, theTag))                                                                                            \
  X(reflectAttributeValues, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleValuePairSet&, theAttributes), \
    (const RTI::FedTime&, theTime), (const char*, theTag), (RTI::EventRetractionHandle, theHandle))                   \
  X(receiveInteraction, (RTI::InteractionClassHandle, theInteraction),                                                \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const char*, theTag))                                  \
  X(receiveInteraction, (RTI::InteractionClassHandle, theInteraction),                                                \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const RTI::FedTime&, theTime), (const char*, theTag),  \
    (RTI::EventRetractionHandle, theHandle))                                                                          \
  X(removeObjectInstance, (RTI::ObjectHandle, theObject), (const char*, theTag))                                      \
  X(removeObjectInstance, (RTI::ObjectHandle, theObject), (const RTI::FedTime&, theTime), (const char*, theTag),      \
    (RTI::EventRetractionHandle, theHandle))                                                                          \
  X(attributesInScope, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes))               \
  X(attributesOutOfScope, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes))            \
  X(provideAttributeValueUpdate, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes))     \
  X(turnUpdatesOnForObjectInstance, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes))  \
  X(turnUpdatesOffForObjectInstance, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes))

// Ownership management.
#define DT_FED_AMB_OWNERSHIP_CALLBACKS(X)                                                                           \
  X(requestAttributeOwnershipAssumption, (RTI::ObjectHandle, theObject),                                            \
    (const RTI::AttributeHandleSet&, offeredAttributes), (const char*, theTag))                                     \
  X(attributeOwnershipDivestitureNotification, (RTI::ObjectHandle, theObject),                                      \
    (const RTI::AttributeHandleSet&, releasedAttributes))                                                           \
  X(attributeOwnershipAcquisitionNotification, (RTI::ObjectHandle, theObject),                                      \
    (const RTI::AttributeHandleSet&, securedAttributes))                                                            \
  X(attributeOwnershipUnavailable, (RTI::ObjectHandle, theObject), (const RTI::AttributeHandleSet&, theAttributes)) \
  X(requestAttributeOwnershipRelease, (RTI::ObjectHandle, theObject),                                               \
    (const RTI::AttributeHandleSet&, candidateAttributes), (const char*, theTag))                                   \
  X(confirmAttributeOwnershipAcquisitionCancellation, (RTI::ObjectHandle, theObject),                               \
    (const RTI::AttributeHandleSet&, theAttributes))                                                                \
  X(informAttributeOwnership, (RTI::ObjectHandle, theObject), (RTI::AttributeHandle, theAttribute),                 \
    (RTI::FederateHandle, theOwner))                                                                                \
  X(attributeIsNotOwned, (RTI::ObjectHandle, theObject), (RTI::AttributeHandle, theAttribute))                      \
  X(attributeOwnedByRTI, (RTI::ObjectHandle, theObject), (RTI::AttributeHandle, theAttribute))

// Time management.
#define DT_FED_AMB_TIME_CALLBACKS(X)                                \
  X(timeRegulationEnabled, (const RTI::FedTime&, theFederateTime))  \
  X(timeConstrainedEnabled, (const RTI::FedTime&, theFederateTime)) \
  X(timeAdvanceGrant, (const RTI::FedTime&, theTime))               \
  X(requestRetraction, (RTI::EventRetractionHandle, theHandle))

// Every row, in order.
#define DT_FED_AMB_CALLBACKS(X)       \
  DT_FED_AMB_FEDERATION_CALLBACKS(X)  \
  DT_FED_AMB_DECLARATION_CALLBACKS(X) \
  DT_FED_AMB_OBJECT_CALLBACKS(X)      \
  DT_FED_AMB_OWNERSHIP_CALLBACKS(X)   \
  DT_FED_AMB_TIME_CALLBACKS(X)

#define DT_FED_AMB_COUNT_CALLBACK(...) +1  // NOLINT(bugprone-macro-parentheses): a term of the sum, not a call
inline constexpr std::size_t DtFedAmbCallbackCount = 0 DT_FED_AMB_CALLBACKS(DT_FED_AMB_COUNT_CALLBACK);
static_assert(DtFedAmbCallbackCount == 42, "the 42 callbacks of RTI::FederateAmbassador");
