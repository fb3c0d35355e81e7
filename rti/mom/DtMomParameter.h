#pragma once
// DtMomParameter: one parameter of a MOM interaction class, as the class
// lists it for DtMomInteraction::phvps and setFromPhvps: its name in the
// FOM and the two functions that code its value.

#include "RTI.hh"

class DtMomInteraction;

struct DtMomParameter {
  // Reads the member through the interaction's getter and adds one pair
  // under the handle.
  using Encoder = void (*)(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                           RTI::ParameterHandle handle);
  // Reads pair `index` and stores the value through the interaction's
  // setter. False when the value was refused (a message names `parameter`);
  // the member then keeps its value.
  using Decoder = bool (*)(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                           const char* parameter);

  const char* name;
  Encoder encode;
  Decoder decode;
};
