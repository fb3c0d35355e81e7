#pragma once
// Attribute handles travel in 320-bit maps and parameter handles as 16-bit
// numbers; a handle that could not travel is refused where it enters a set,
// with the exception of its kind, instead of being cut on the wire.

#include <string>

#include "RTI.hh"

template <class Refusal>
void DtCheckHandleBelow(RTI::Handle h, RTI::Handle limit, const char* kind) {
  if (h >= limit) {
    std::string reason =
        std::string(kind) + " handle " + std::to_string(h) + " is above the largest, " + std::to_string(limit - 1);
    throw Refusal(reason.c_str());
  }
}
