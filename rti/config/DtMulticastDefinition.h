#pragma once
// DtMulticastDefinition: one multicast group that data distribution uses for
// an object or interaction class, from "RTI-addDMObjectMulticastAddr" or
// "RTI-addDMInteractionMulticastAddr" in the RID file.

#include <cstdint>

#include "util/DtString.h"

class DtMulticastDefinition {
public:
  DtMulticastDefinition(const char* className, std::uint32_t address, std::uint8_t inclusive)
      : className_(className), address_(address), inclusive_(inclusive) {}

  const DtString& className() const { return className_; }
  // IPv4 address in host byte order.
  std::uint32_t address() const { return address_; }
  // 1 inclusive, 0 exclusive.
  std::uint8_t inclusive() const { return inclusive_; }

private:
  DtString className_;
  std::uint32_t address_;
  std::uint8_t inclusive_;
};
