#pragma once
// What a ReportServiceInvocation shows of each RTI service: one row per
// service of the ambassador's service table (overloads told apart by their
// number of parameters), giving for each of the report's six positions
// (supplied 1 to 5, then returned) which of the call's values it shows:
// a parameter by its index, the service's result (R), or nothing (_). How a
// value reads follows from its type (DtMomArgument); an attribute-handle
// array shows its first element and takes its count from a second index
// (first(array, count)).
//
// Most rows show the parameters in order and the result as returned. The
// rows that do not, kept as the reports have always shown them:
//   - getObjectClassHandle shows its result as supplied 2 (its twins use the
//     returned position), as does the timed deleteObjectInstance (supplied 4);
//   - attributeOwnershipReleaseResponse and createRegion show their result
//     as supplied 3; they and getRegion leave it out when the call failed
//     (the pointer means nothing then);
//   - subscribeObjectClassAttributesWithRegion leaves its active flag out;
//   - registerObjectInstanceWithRegion shows the first attribute handle and
//     the count, not the whole array;
//   - the two tick forms are never reported.
// Every notification of the MOM's observer finds its row at compile time
// and checks its indexes against its parameters.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "api/DtRtiServiceTable.h"

namespace DtMomServiceReports {

inline constexpr std::uint8_t none = 0xff;
inline constexpr std::uint8_t result = 0xfe;

// One position of a report: the value it shows, and for an array the
// index of its count.
struct Slot {
  // Implicit: a row lists plain indexes.
  constexpr Slot(int source = none) : source(static_cast<std::uint8_t>(source)) {}
  constexpr Slot(int array, int count)
      : source(static_cast<std::uint8_t>(array)), count(static_cast<std::uint8_t>(count)) {}
  std::uint8_t source;
  std::uint8_t count = none;
};

enum class When : std::uint8_t {
  always,             // every call
  resultIfSucceeded,  // the result only when the call succeeded
  never               // not reported
};

struct Row {
  std::string_view service;
  std::size_t parameters;
  std::array<Slot, 6> slots;
  When when = When::always;
};

inline constexpr Slot _{};
inline constexpr Slot R{result};
constexpr Slot first(int array, int count) { return Slot(array, count); }

// clang-format off
inline constexpr Row theRows[] = {
  // Federation management.
  {"createFederationExecution", 2, {0, 1, _, _, _, _}},
  {"destroyFederationExecution", 1, {0, _, _, _, _, _}},
  {"joinFederationExecution", 3, {0, 1, 2, _, _, R}},
  {"resignFederationExecution", 1, {0, _, _, _, _, _}},
  {"registerFederationSynchronizationPoint", 3, {0, 1, 2, _, _, _}},
  {"registerFederationSynchronizationPoint", 2, {0, 1, _, _, _, _}},
  {"synchronizationPointAchieved", 1, {0, _, _, _, _, _}},
  {"requestFederationSave", 1, {0, _, _, _, _, _}},
  {"requestFederationSave", 2, {0, 1, _, _, _, _}},
  {"federateSaveBegun", 0, {_, _, _, _, _, _}},
  {"federateSaveComplete", 0, {_, _, _, _, _, _}},
  {"federateSaveNotComplete", 0, {_, _, _, _, _, _}},
  {"requestFederationRestore", 1, {0, _, _, _, _, _}},
  {"federateRestoreComplete", 0, {_, _, _, _, _, _}},
  {"federateRestoreNotComplete", 0, {_, _, _, _, _, _}},
  // Declaration management.
  {"publishObjectClass", 2, {0, 1, _, _, _, _}},
  {"unpublishObjectClass", 1, {0, _, _, _, _, _}},
  {"publishInteractionClass", 1, {0, _, _, _, _, _}},
  {"unpublishInteractionClass", 1, {0, _, _, _, _, _}},
  {"subscribeObjectClassAttributes", 3, {0, 1, 2, _, _, _}},
  {"unsubscribeObjectClass", 1, {0, _, _, _, _, _}},
  {"subscribeInteractionClass", 2, {0, 1, _, _, _, _}},
  {"unsubscribeInteractionClass", 1, {0, _, _, _, _, _}},
  // Object management.
  {"registerObjectInstance", 1, {0, _, _, _, _, R}},
  {"registerObjectInstance", 2, {0, 1, _, _, _, R}},
  {"updateAttributeValues", 3, {0, 1, 2, _, _, _}},
  {"updateAttributeValues", 4, {0, 1, 2, 3, _, R}},
  {"sendInteraction", 3, {0, 1, 2, _, _, _}},
  {"sendInteraction", 4, {0, 1, 2, 3, _, R}},
  {"deleteObjectInstance", 2, {0, 1, _, _, _, _}},
  {"deleteObjectInstance", 3, {0, 1, 2, R, _, _}},
  {"localDeleteObjectInstance", 1, {0, _, _, _, _, _}},
  {"changeAttributeTransportationType", 3, {0, 1, 2, _, _, _}},
  {"changeInteractionTransportationType", 2, {0, 1, _, _, _, _}},
  {"requestObjectAttributeValueUpdate", 2, {0, 1, _, _, _, _}},
  {"requestClassAttributeValueUpdate", 2, {0, 1, _, _, _, _}},
  // Ownership management.
  {"unconditionalAttributeOwnershipDivestiture", 2, {0, 1, _, _, _, _}},
  {"negotiatedAttributeOwnershipDivestiture", 3, {0, 1, 2, _, _, _}},
  {"attributeOwnershipAcquisition", 3, {0, 1, 2, _, _, _}},
  {"attributeOwnershipAcquisitionIfAvailable", 2, {0, 1, _, _, _, _}},
  {"attributeOwnershipReleaseResponse", 2, {0, 1, R, _, _, _}, When::resultIfSucceeded},
  {"cancelNegotiatedAttributeOwnershipDivestiture", 2, {0, 1, _, _, _, _}},
  {"cancelAttributeOwnershipAcquisition", 2, {0, 1, _, _, _, _}},
  {"queryAttributeOwnership", 2, {0, 1, _, _, _, _}},
  {"isAttributeOwnedByFederate", 2, {0, 1, _, _, _, R}},
  // Time management.
  {"enableTimeRegulation", 2, {0, 1, _, _, _, _}},
  {"disableTimeRegulation", 0, {_, _, _, _, _, _}},
  {"enableTimeConstrained", 0, {_, _, _, _, _, _}},
  {"disableTimeConstrained", 0, {_, _, _, _, _, _}},
  {"timeAdvanceRequest", 1, {0, _, _, _, _, _}},
  {"timeAdvanceRequestAvailable", 1, {0, _, _, _, _, _}},
  {"nextEventRequest", 1, {0, _, _, _, _, _}},
  {"nextEventRequestAvailable", 1, {0, _, _, _, _, _}},
  {"flushQueueRequest", 1, {0, _, _, _, _, _}},
  {"enableAsynchronousDelivery", 0, {_, _, _, _, _, _}},
  {"disableAsynchronousDelivery", 0, {_, _, _, _, _, _}},
  {"queryLBTS", 1, {0, _, _, _, _, _}},
  {"queryFederateTime", 1, {0, _, _, _, _, _}},
  {"queryMinNextEventTime", 1, {0, _, _, _, _, _}},
  {"modifyLookahead", 1, {0, _, _, _, _, _}},
  {"queryLookahead", 1, {0, _, _, _, _, _}},
  {"retract", 1, {0, _, _, _, _, _}},
  {"changeAttributeOrderType", 3, {0, 1, 2, _, _, _}},
  {"changeInteractionOrderType", 2, {0, 1, _, _, _, _}},
  // Data distribution management.
  {"createRegion", 2, {0, 1, R, _, _, _}, When::resultIfSucceeded},
  {"notifyAboutRegionModification", 1, {0, _, _, _, _, _}},
  {"deleteRegion", 1, {0, _, _, _, _, _}},
  {"registerObjectInstanceWithRegion", 4, {0, first(1, 3), 2, 3, _, R}},
  {"registerObjectInstanceWithRegion", 5, {0, 1, first(2, 4), 3, 4, R}},
  {"associateRegionForUpdates", 3, {0, 1, 2, _, _, _}},
  {"unassociateRegionForUpdates", 2, {0, 1, _, _, _, _}},
  {"subscribeObjectClassAttributesWithRegion", 4, {0, 1, 2, _, _, _}},
  {"unsubscribeObjectClassWithRegion", 2, {0, 1, _, _, _, _}},
  {"subscribeInteractionClassWithRegion", 3, {0, 1, 2, _, _, _}},
  {"unsubscribeInteractionClassWithRegion", 2, {0, 1, _, _, _, _}},
  {"sendInteractionWithRegion", 4, {0, 1, 2, 3, _, _}},
  {"sendInteractionWithRegion", 5, {0, 1, 2, 3, 4, R}},
  {"requestClassAttributeValueUpdateWithRegion", 3, {0, 1, 2, _, _, _}},
  // Support services.
  {"getObjectClassHandle", 1, {0, R, _, _, _, _}},
  {"getObjectClassName", 1, {0, _, _, _, _, R}},
  {"getAttributeHandle", 2, {0, 1, _, _, _, R}},
  {"getAttributeName", 2, {0, 1, _, _, _, R}},
  {"getInteractionClassHandle", 1, {0, _, _, _, _, R}},
  {"getInteractionClassName", 1, {0, _, _, _, _, R}},
  {"getParameterHandle", 2, {0, 1, _, _, _, R}},
  {"getParameterName", 2, {0, 1, _, _, _, R}},
  {"getObjectInstanceHandle", 1, {0, _, _, _, _, R}},
  {"getObjectInstanceName", 1, {0, _, _, _, _, R}},
  {"getRoutingSpaceHandle", 1, {0, _, _, _, _, R}},
  {"getRoutingSpaceName", 1, {0, _, _, _, _, R}},
  {"getDimensionHandle", 2, {0, 1, _, _, _, R}},
  {"getDimensionName", 2, {0, 1, _, _, _, R}},
  {"getAttributeRoutingSpaceHandle", 2, {0, 1, _, _, _, R}},
  {"getObjectClass", 1, {0, _, _, _, _, R}},
  {"getInteractionRoutingSpaceHandle", 1, {0, _, _, _, _, R}},
  {"getTransportationHandle", 1, {0, _, _, _, _, R}},
  {"getTransportationName", 1, {0, _, _, _, _, R}},
  {"getOrderingHandle", 1, {0, _, _, _, _, R}},
  {"getOrderingName", 1, {0, _, _, _, _, R}},
  // Advisory switches.
  {"enableClassRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"disableClassRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"enableAttributeRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"disableAttributeRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"enableAttributeScopeAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"disableAttributeScopeAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"enableInteractionRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  {"disableInteractionRelevanceAdvisorySwitch", 0, {_, _, _, _, _, _}},
  // Ticks and region tokens.
  {"tick", 2, {_, _, _, _, _, _}, When::never},
  {"tick", 0, {_, _, _, _, _, _}, When::never},
  {"getRegionToken", 1, {0, _, _, _, _, R}},
  {"getRegion", 1, {0, _, _, _, _, R}, When::resultIfSucceeded},
};
// clang-format on

// The row of a service; not finding it fails the build.
consteval std::size_t rowOf(std::string_view service, std::size_t parameters) {
  for (std::size_t i = 0; i < std::size(theRows); ++i) {
    if (theRows[i].service == service && theRows[i].parameters == parameters) return i;
  }
  throw "a service without a report row";
}

// One row per service: every notification finds its own, so no row is left
// over.
consteval bool rowsAreOnePerService() {
  for (std::size_t i = 0; i < std::size(theRows); ++i) {
    if (rowOf(theRows[i].service, theRows[i].parameters) != i) return false;
  }
  return std::size(theRows) == DtRtiServiceCount;
}
static_assert(rowsAreOnePerService(), "the report rows follow the service table one to one");

}  // namespace DtMomServiceReports
