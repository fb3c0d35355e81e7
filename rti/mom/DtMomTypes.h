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

// Where a federate stands with save and restore, as its FederateState
// attribute tells it.
enum DtMomFederateStates : std::uint32_t {
  DtMomRunning = 0,         // "Running"
  DtMomSavePending = 1,     // "Save pending"
  DtMomSaving = 2,          // "Saving"
  DtMomRestorePending = 3,  // "Restore pending"
  DtMomRestoring = 4        // "Restoring"
};

// Whether a federate waits for a time advance, as its TimeManagerState
// attribute tells it.
enum DtMomTimeManagerStates : std::uint32_t {
  DtMomIdle = 0,           // "Idle"
  DtMomAdvancePending = 1  // "Advance pending"
};

// The attributes of the Manager.Federate (1 to 23, and 1 and 18 again) and
// Manager.Federation (24 to 29, 1, 18) objects; 0 for an attribute that is
// none of them (the privilege to delete).
enum DtMomElement : std::uint32_t {
  DtMomNoElement = 0,
  DtMomFEDid = 1,
  DtMomFederateType = 2,
  DtMomLookahead = 3,
  DtMomFederateState = 4,
  DtMomTimeConstrained = 5,
  DtMomObjectsUpdated = 6,
  DtMomReflectionsReceived = 7,
  DtMomFederateHost = 8,
  DtMomUpdatesSent = 9,
  DtMomFederateTime = 10,
  DtMomTSOlength = 11,
  DtMomROlength = 12,
  DtMomInteractionsReceived = 13,
  DtMomInteractionsSent = 14,
  DtMomTimeManagerState = 15,
  DtMomMinNextEventTime = 16,
  DtMomTimeRegulating = 17,
  DtMomRTIversion = 18,
  DtMomObjectsReflected = 19,
  DtMomObjectsOwned = 20,
  DtMomAsynchronousDelivery = 21,
  DtMomLBTS = 22,
  DtMomFederateHandle = 23,
  DtMomFederationName = 24,
  DtMomNextSaveTime = 25,
  DtMomNextSaveName = 26,
  DtMomFederatesInFederation = 27,
  DtMomLastSaveTime = 28,
  DtMomLastSaveName = 29
};
