#pragma once
// DtFederateHandleRange: the handles a federate makes on its own, with no
// one to ask (object instances, regions, object region sets): its federate
// handle times 100000 plus a serial of its own. Federates never make the
// same handle as long as each serial stays below 100000 and the product
// fits the 32 bits every handle travels in; a handle past either would be
// another federate's, or cut on the wire, so it is refused instead.

#include <cstdint>

struct DtFederateHandleRange {
  static constexpr std::uint32_t theHandlesPerFederate = 100000;

  // federate x 100000 + serial. RTI::RTIinternalError when the serial has
  // reached 100000 ("Federate F has made all 99999 <what> handles it can
  // make") or the handle would not fit 32 bits ("Federate F cannot make
  // <what> handles: its range passes 32 bits").
  static std::uint32_t handle(std::uint32_t federate, std::uint32_t serial, const char* what);
};
