#pragma once
// The enumerated values that MOM interactions carry as words (see
// DtMomInteraction's generic codecs for the words of each).

#include <cstdint>

// Whether the attribute of a ModifyAttributeState is to be owned or not.
enum DtMomAttributeStateOptions : std::uint32_t {
  DtMomOwned = 0,   // "Owned"
  DtMomUnowned = 1  // "Unowned"
};

// Who started a reported service: the federate (an RTI service) or the RTI
// (a callback).
enum DtMomInitiatorOptions : std::uint32_t {
  DtMomInitiatorFederate = 0,  // "FED"
  DtMomInitiatorRti = 1        // "RTI"
};

// The severity of an Alert.
enum DtMomAlertTypes : std::uint32_t {
  DtMomRtiException = 0,          // "RTI exception"
  DtMomRtiInternalError = 1,      // "RTI internal error"
  DtMomFederateInternalError = 2  // "Federate internal error"
};
