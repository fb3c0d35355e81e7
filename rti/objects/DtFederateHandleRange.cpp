#include "objects/DtFederateHandleRange.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

#include "RTI.hh"

std::uint32_t DtFederateHandleRange::handle(std::uint32_t federate, std::uint32_t serial, const char* what) {
  char reason[160];
  if (serial >= theHandlesPerFederate) {
    std::snprintf(reason, sizeof reason, "Federate %" PRIu32 " has made all %" PRIu32 " %s handles it can make",
                  federate, theHandlesPerFederate - 1, what);
    throw RTI::RTIinternalError(reason);
  }
  const std::uint64_t handle = std::uint64_t{federate} * theHandlesPerFederate + serial;
  if (handle > std::numeric_limits<std::uint32_t>::max()) {
    std::snprintf(reason, sizeof reason, "Federate %" PRIu32 " cannot make %s handles: its range passes 32 bits",
                  federate, what);
    throw RTI::RTIinternalError(reason);
  }
  return static_cast<std::uint32_t>(handle);
}
