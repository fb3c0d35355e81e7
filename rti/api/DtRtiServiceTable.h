#pragma once
// The RTI ambassador's services, described once. Every service of the
// HLA 1.3 RTIambassador and its two tick forms is one row, in the order that
// the implementor's entry points and the observers' notifications follow
// (overloads adjacent). From this list come:
//   - the ambassador's definitions (each hands the call to the implementor
//     and tells the observers),
//   - the implementor's entry points (one virtual operation per row),
//   - the observer interface (one notification per row).
//
// A row is X(result type, how observers get the result, name, parameters...)
// with each parameter written as (type, name). Observers get the arguments
// as received, then the result, then the RTI::Exception* (null after
// success):
//   NONE  the service returns nothing; no result argument,
//   REF   a reference to the ambassador's result variable (handles and
//         retraction handles),
//   VAL   the value itself (RTI::Boolean, returned names, regions, sets).

#include <cstddef>

#include "RTI.hh"

// Federation management: create, destroy, join, resign, synchronization
// points, save and restore.
#define DT_RTI_FEDERATION_SERVICES(X)                                                                         \
  X(void, NONE, createFederationExecution, (const char*, executionName), (const char*, FED))                  \
  X(void, NONE, destroyFederationExecution, (const char*, executionName))                                     \
  X(RTI::FederateHandle, REF, joinFederationExecution, (const char*, yourName), (const char*, executionName), \
    (RTI::FederateAmbassador*, federateAmbassadorReference))                                                  \
  X(void, NONE, resignFederationExecution, (RTI::ResignAction, theAction))                                    \
  X(void, NONE, registerFederationSynchronizationPoint, (const char*, label), (const char*, theTag),          \
    (const RTI::FederateHandleSet&, syncSet))                                                                 \
  X(void, NONE, registerFederationSynchronizationPoint, (const char*, label), (const char*, theTag))          \
  X(void, NONE, synchronizationPointAchieved, (const char*, label))                                           \
  X(void, NONE, requestFederationSave, (const char*, label))                                                  \
  X(void, NONE, requestFederationSave, (const char*, label), (const RTI::FedTime&, theTime))                  \
  X(void, NONE, federateSaveBegun)                                                                            \
  X(void, NONE, federateSaveComplete)                                                                         \
  X(void, NONE, federateSaveNotComplete)                                                                      \
  X(void, NONE, requestFederationRestore, (const char*, label))                                               \
  X(void, NONE, federateRestoreComplete)                                                                      \
  X(void, NONE, federateRestoreNotComplete)

// Declaration management: publication and subscription.
#define DT_RTI_DECLARATION_SERVICES(X)                                                                      \
  X(void, NONE, publishObjectClass, (RTI::ObjectClassHandle, theClass),                                     \
    (const RTI::AttributeHandleSet&, attributeList))                                                        \
  X(void, NONE, unpublishObjectClass, (RTI::ObjectClassHandle, theClass))                                   \
  X(void, NONE, publishInteractionClass, (RTI::InteractionClassHandle, theInteraction))                     \
  X(void, NONE, unpublishInteractionClass, (RTI::InteractionClassHandle, theInteraction))                   \
  X(void, NONE, subscribeObjectClassAttributes, (RTI::ObjectClassHandle, theClass),                         \
    (const RTI::AttributeHandleSet&, attributeList), (RTI::Boolean, active))                                \
  X(void, NONE, unsubscribeObjectClass, (RTI::ObjectClassHandle, theClass))                                 \
  X(void, NONE, subscribeInteractionClass, (RTI::InteractionClassHandle, theClass), (RTI::Boolean, active)) \
  X(void, NONE, unsubscribeInteractionClass, (RTI::InteractionClassHandle, theClass))

// Object management: registration, updates, interactions, deletion,
// transport.
#define DT_RTI_OBJECT_SERVICES(X)                                                                                    \
  X(RTI::ObjectHandle, REF, registerObjectInstance, (RTI::ObjectClassHandle, theClass))                              \
  X(RTI::ObjectHandle, REF, registerObjectInstance, (RTI::ObjectClassHandle, theClass), (const char*, theObject))    \
  X(void, NONE, updateAttributeValues, (RTI::ObjectHandle, theObject),                                               \
    (const RTI::AttributeHandleValuePairSet&, theAttributes), (const char*, theTag))                                 \
  X(RTI::EventRetractionHandle, REF, updateAttributeValues, (RTI::ObjectHandle, theObject),                          \
    (const RTI::AttributeHandleValuePairSet&, theAttributes), (const RTI::FedTime&, theTime), (const char*, theTag)) \
  X(void, NONE, sendInteraction, (RTI::InteractionClassHandle, theInteraction),                                      \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const char*, theTag))                                 \
  X(RTI::EventRetractionHandle, REF, sendInteraction, (RTI::InteractionClassHandle, theInteraction),                 \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const RTI::FedTime&, theTime), (const char*, theTag)) \
  X(void, NONE, deleteObjectInstance, (RTI::ObjectHandle, theObject), (const char*, theTag))                         \
  X(RTI::EventRetractionHandle, REF, deleteObjectInstance, (RTI::ObjectHandle, theObject),                           \
    (const RTI::FedTime&, theTime), (const char*, theTag))                                                           \
  X(void, NONE, localDeleteObjectInstance, (RTI::ObjectHandle, theObject))                                           \
  X(void, NONE, changeAttributeTransportationType, (RTI::ObjectHandle, theObject),                                   \
    (const RTI::AttributeHandleSet&, theAttributes), (RTI::TransportationHandle, theType))                           \
  X(void, NONE, changeInteractionTransportationType, (RTI::InteractionClassHandle, theClass),                        \
    (RTI::TransportationHandle, theType))                                                                            \
  X(void, NONE, requestObjectAttributeValueUpdate, (RTI::ObjectHandle, theObject),                                   \
    (const RTI::AttributeHandleSet&, theAttributes))                                                                 \
  X(void, NONE, requestClassAttributeValueUpdate, (RTI::ObjectClassHandle, theClass),                                \
    (const RTI::AttributeHandleSet&, theAttributes))

// Ownership management.
#define DT_RTI_OWNERSHIP_SERVICES(X)                                                                           \
  X(void, NONE, unconditionalAttributeOwnershipDivestiture, (RTI::ObjectHandle, theObject),                    \
    (const RTI::AttributeHandleSet&, theAttributes))                                                           \
  X(void, NONE, negotiatedAttributeOwnershipDivestiture, (RTI::ObjectHandle, theObject),                       \
    (const RTI::AttributeHandleSet&, theAttributes), (const char*, theTag))                                    \
  X(void, NONE, attributeOwnershipAcquisition, (RTI::ObjectHandle, theObject),                                 \
    (const RTI::AttributeHandleSet&, desiredAttributes), (const char*, theTag))                                \
  X(void, NONE, attributeOwnershipAcquisitionIfAvailable, (RTI::ObjectHandle, theObject),                      \
    (const RTI::AttributeHandleSet&, desiredAttributes))                                                       \
  X(RTI::AttributeHandleSet*, VAL, attributeOwnershipReleaseResponse, (RTI::ObjectHandle, theObject),          \
    (const RTI::AttributeHandleSet&, theAttributes))                                                           \
  X(void, NONE, cancelNegotiatedAttributeOwnershipDivestiture, (RTI::ObjectHandle, theObject),                 \
    (const RTI::AttributeHandleSet&, theAttributes))                                                           \
  X(void, NONE, cancelAttributeOwnershipAcquisition, (RTI::ObjectHandle, theObject),                           \
    (const RTI::AttributeHandleSet&, theAttributes))                                                           \
  X(void, NONE, queryAttributeOwnership, (RTI::ObjectHandle, theObject), (RTI::AttributeHandle, theAttribute)) \
  X(RTI::Boolean, VAL, isAttributeOwnedByFederate, (RTI::ObjectHandle, theObject), (RTI::AttributeHandle, theAttribute))

// Time management, and the two order-type changes of the same chapter.
#define DT_RTI_TIME_SERVICES(X)                                                                                    \
  X(void, NONE, enableTimeRegulation, (const RTI::FedTime&, theFederateTime), (const RTI::FedTime&, theLookahead)) \
  X(void, NONE, disableTimeRegulation)                                                                             \
  X(void, NONE, enableTimeConstrained)                                                                             \
  X(void, NONE, disableTimeConstrained)                                                                            \
  X(void, NONE, timeAdvanceRequest, (const RTI::FedTime&, theTime))                                                \
  X(void, NONE, timeAdvanceRequestAvailable, (const RTI::FedTime&, theTime))                                       \
  X(void, NONE, nextEventRequest, (const RTI::FedTime&, theTime))                                                  \
  X(void, NONE, nextEventRequestAvailable, (const RTI::FedTime&, theTime))                                         \
  X(void, NONE, flushQueueRequest, (const RTI::FedTime&, theTime))                                                 \
  X(void, NONE, enableAsynchronousDelivery)                                                                        \
  X(void, NONE, disableAsynchronousDelivery)                                                                       \
  X(void, NONE, queryLBTS, (RTI::FedTime&, theTime))                                                               \
  X(void, NONE, queryFederateTime, (RTI::FedTime&, theTime))                                                       \
  X(void, NONE, queryMinNextEventTime, (RTI::FedTime&, theTime))                                                   \
  X(void, NONE, modifyLookahead, (const RTI::FedTime&, theLookahead))                                              \
  X(void, NONE, queryLookahead, (RTI::FedTime&, theTime))                                                          \
  X(void, NONE, retract, (RTI::EventRetractionHandle, theHandle))                                                  \
  X(void, NONE, changeAttributeOrderType, (RTI::ObjectHandle, theObject),                                          \
    (const RTI::AttributeHandleSet&, theAttributes), (RTI::OrderingHandle, theType))                               \
  X(void, NONE, changeInteractionOrderType, (RTI::InteractionClassHandle, theClass), (RTI::OrderingHandle, theType))

// Data distribution management.
#define DT_RTI_DDM_SERVICES(X)                                                                                        \
  X(RTI::Region*, VAL, createRegion, (RTI::SpaceHandle, theSpace), (RTI::ULong, numberOfExtents))                     \
  X(void, NONE, notifyAboutRegionModification, (RTI::Region&, theRegion))                                             \
  X(void, NONE, deleteRegion, (RTI::Region*, theRegion))                                                              \
  X(RTI::ObjectHandle, REF, registerObjectInstanceWithRegion, (RTI::ObjectClassHandle, theClass),                     \
    (RTI::AttributeHandle*, theAttributes), (RTI::Region**, theRegions), (RTI::ULong, theNumberOfHandles))            \
  X(RTI::ObjectHandle, REF, registerObjectInstanceWithRegion, (RTI::ObjectClassHandle, theClass),                     \
    (const char*, theObject), (RTI::AttributeHandle*, theAttributes), (RTI::Region**, theRegions),                    \
    (RTI::ULong, theNumberOfHandles))                                                                                 \
  X(void, NONE, associateRegionForUpdates, (RTI::Region&, theRegion), (RTI::ObjectHandle, theObject),                 \
    (const RTI::AttributeHandleSet&, theAttributes))                                                                  \
  X(void, NONE, unassociateRegionForUpdates, (RTI::Region&, theRegion), (RTI::ObjectHandle, theObject))               \
  X(void, NONE, subscribeObjectClassAttributesWithRegion, (RTI::ObjectClassHandle, theClass),                         \
    (RTI::Region&, theRegion), (const RTI::AttributeHandleSet&, attributeList), (RTI::Boolean, active))               \
  X(void, NONE, unsubscribeObjectClassWithRegion, (RTI::ObjectClassHandle, theClass), (RTI::Region&, theRegion))      \
  X(void, NONE, subscribeInteractionClassWithRegion, (RTI::InteractionClassHandle, theClass),                         \
    (RTI::Region&, theRegion), (RTI::Boolean, active))                                                                \
  X(void, NONE, unsubscribeInteractionClassWithRegion, (RTI::InteractionClassHandle, theClass),                       \
    (RTI::Region&, theRegion))                                                                                        \
  X(void, NONE, sendInteractionWithRegion, (RTI::InteractionClassHandle, theInteraction),                             \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const char*, theTag), (const RTI::Region&, theRegion)) \
  X(RTI::EventRetractionHandle, REF, sendInteractionWithRegion, (RTI::InteractionClassHandle, theInteraction),        \
    (const RTI::ParameterHandleValuePairSet&, theParameters), (const RTI::FedTime&, theTime), (const char*, theTag),  \
    (const RTI::Region&, theRegion))                                                                                  \
  X(void, NONE, requestClassAttributeValueUpdateWithRegion, (RTI::ObjectClassHandle, theClass),                       \
    (const RTI::AttributeHandleSet&, theAttributes), (const RTI::Region&, theRegion))

// Support services: name and handle look-ups.
#define DT_RTI_SUPPORT_SERVICES(X)                                                                                    \
  X(RTI::ObjectClassHandle, REF, getObjectClassHandle, (const char*, theName))                                        \
  X(char*, VAL, getObjectClassName, (RTI::ObjectClassHandle, theHandle))                                              \
  X(RTI::AttributeHandle, REF, getAttributeHandle, (const char*, theName), (RTI::ObjectClassHandle, whichClass))      \
  X(char*, VAL, getAttributeName, (RTI::AttributeHandle, theHandle), (RTI::ObjectClassHandle, whichClass))            \
  X(RTI::InteractionClassHandle, REF, getInteractionClassHandle, (const char*, theName))                              \
  X(char*, VAL, getInteractionClassName, (RTI::InteractionClassHandle, theHandle))                                    \
  X(RTI::ParameterHandle, REF, getParameterHandle, (const char*, theName), (RTI::InteractionClassHandle, whichClass)) \
  X(char*, VAL, getParameterName, (RTI::ParameterHandle, theHandle), (RTI::InteractionClassHandle, whichClass))       \
  X(RTI::ObjectHandle, REF, getObjectInstanceHandle, (const char*, theName))                                          \
  X(char*, VAL, getObjectInstanceName, (RTI::ObjectHandle, theHandle))                                                \
  X(RTI::SpaceHandle, REF, getRoutingSpaceHandle, (const char*, theName))                                             \
  X(char*, VAL, getRoutingSpaceName, (RTI::SpaceHandle, theHandle))                                                   \
  X(RTI::DimensionHandle, REF, getDimensionHandle, (const char*, theName), (RTI::SpaceHandle, whichSpace))            \
  X(char*, VAL, getDimensionName, (RTI::DimensionHandle, theHandle), (RTI::SpaceHandle, whichSpace))                  \
  X(RTI::SpaceHandle, REF, getAttributeRoutingSpaceHandle, (RTI::AttributeHandle, theHandle),                         \
    (RTI::ObjectClassHandle, whichClass))                                                                             \
  X(RTI::ObjectClassHandle, REF, getObjectClass, (RTI::ObjectHandle, theObject))                                      \
  X(RTI::SpaceHandle, REF, getInteractionRoutingSpaceHandle, (RTI::InteractionClassHandle, theHandle))                \
  X(RTI::TransportationHandle, REF, getTransportationHandle, (const char*, theName))                                  \
  X(char*, VAL, getTransportationName, (RTI::TransportationHandle, theHandle))                                        \
  X(RTI::OrderingHandle, REF, getOrderingHandle, (const char*, theName))                                              \
  X(char*, VAL, getOrderingName, (RTI::OrderingHandle, theHandle))

// Advisory switches.
#define DT_RTI_ADVISORY_SERVICES(X)                       \
  X(void, NONE, enableClassRelevanceAdvisorySwitch)       \
  X(void, NONE, disableClassRelevanceAdvisorySwitch)      \
  X(void, NONE, enableAttributeRelevanceAdvisorySwitch)   \
  X(void, NONE, disableAttributeRelevanceAdvisorySwitch)  \
  X(void, NONE, enableAttributeScopeAdvisorySwitch)       \
  X(void, NONE, disableAttributeScopeAdvisorySwitch)      \
  X(void, NONE, enableInteractionRelevanceAdvisorySwitch) \
  X(void, NONE, disableInteractionRelevanceAdvisorySwitch)

// The two tick forms and the region tokens.
#define DT_RTI_TICK_AND_REGION_SERVICES(X)                                       \
  X(RTI::Boolean, VAL, tick, (RTI::TickTime, minimum), (RTI::TickTime, maximum)) \
  X(RTI::Boolean, VAL, tick)                                                     \
  X(RTI::RegionToken, REF, getRegionToken, (RTI::Region*, theRegion))            \
  X(RTI::Region*, VAL, getRegion, (RTI::RegionToken, theToken))

// Every row, in order.
#define DT_RTI_SERVICES(X)       \
  DT_RTI_FEDERATION_SERVICES(X)  \
  DT_RTI_DECLARATION_SERVICES(X) \
  DT_RTI_OBJECT_SERVICES(X)      \
  DT_RTI_OWNERSHIP_SERVICES(X)   \
  DT_RTI_TIME_SERVICES(X)        \
  DT_RTI_DDM_SERVICES(X)         \
  DT_RTI_SUPPORT_SERVICES(X)     \
  DT_RTI_ADVISORY_SERVICES(X)    \
  DT_RTI_TICK_AND_REGION_SERVICES(X)

// Counts the rows: the HLA 1.3 services and the two tick forms.
#define DT_RTI_COUNT_SERVICE(...) +1  // NOLINT(bugprone-macro-parentheses): a term of the sum, not a call
inline constexpr std::size_t DtRtiServiceCount = 0 DT_RTI_SERVICES(DT_RTI_COUNT_SERVICE);
static_assert(DtRtiServiceCount == 111, "109 services and two tick forms");

// Building blocks for expanding a row. DT_RTI_PARAMS gives "type name, ...",
// DT_RTI_TYPES "type, ..." and DT_RTI_ARGS "name, ..." for a row's parameter
// pairs (none to five); DT_RTI_COMMA_IF puts a comma after a non-empty list.
#define DT_RTI_PARAM_(type, name) type name
#define DT_RTI_TYPE_(type, name) type
#define DT_RTI_ARG_(type, name) name
#define DT_RTI_PARAM(pair) DT_RTI_PARAM_ pair
#define DT_RTI_TYPE(pair) DT_RTI_TYPE_ pair
#define DT_RTI_ARG(pair) DT_RTI_ARG_ pair

#define DT_RTI_EACH_1(m, a) m(a)
#define DT_RTI_EACH_2(m, a, ...) m(a), DT_RTI_EACH_1(m, __VA_ARGS__)
#define DT_RTI_EACH_3(m, a, ...) m(a), DT_RTI_EACH_2(m, __VA_ARGS__)
#define DT_RTI_EACH_4(m, a, ...) m(a), DT_RTI_EACH_3(m, __VA_ARGS__)
#define DT_RTI_EACH_5(m, a, ...) m(a), DT_RTI_EACH_4(m, __VA_ARGS__)
#define DT_RTI_EACH_PICK(_1, _2, _3, _4, _5, chosen, ...) chosen
#define DT_RTI_EACH(m, ...)                                                                            \
  __VA_OPT__(DT_RTI_EACH_PICK(__VA_ARGS__, DT_RTI_EACH_5, DT_RTI_EACH_4, DT_RTI_EACH_3, DT_RTI_EACH_2, \
                              DT_RTI_EACH_1, )(m, __VA_ARGS__))

#define DT_RTI_PARAMS(...) DT_RTI_EACH(DT_RTI_PARAM, __VA_ARGS__)
#define DT_RTI_TYPES(...) DT_RTI_EACH(DT_RTI_TYPE, __VA_ARGS__)
#define DT_RTI_ARGS(...) DT_RTI_EACH(DT_RTI_ARG, __VA_ARGS__)
#define DT_RTI_COMMA_IF(...) __VA_OPT__(, )

// The result argument of a notification, by the row's kind: its type (for
// declarations) and, in a call, the ambassador's result variable.
#define DT_RTI_RESULT_TYPE_NONE(type)
#define DT_RTI_RESULT_TYPE_REF(type) type&,
#define DT_RTI_RESULT_TYPE_VAL(type) type,
#define DT_RTI_RESULT_TYPE(kind, type) DT_RTI_RESULT_TYPE_##kind(type)
