#pragma once
// A transportation or ordering handle of the API as the 32-bit transport or
// order number the managers take. The API's handles are wider: one that does
// not fit becomes the largest number, which names no transport or order, so
// that the manager refuses it (InvalidTransportationHandle,
// InvalidOrderingHandle) instead of reading the low bits as a valid type.

#include <algorithm>
#include <cstdint>
#include <limits>

#include "RTI.hh"
#include "util/DtFomTypes.h"

template <class Type>
Type DtWireType(RTI::Handle handle) {
  constexpr RTI::Handle largest = std::numeric_limits<std::uint32_t>::max();
  return static_cast<Type>(std::min(handle, largest));
}
