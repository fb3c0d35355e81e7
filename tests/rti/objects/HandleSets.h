#pragma once
// Attribute handle sets written as lists, and read back as lists, so that
// expectations read like the sets they check.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "api/DtAttributeHandleSet.h"

inline DtAttributeHandleSet attrs(std::initializer_list<RTI::AttributeHandle> handles) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : handles) set.add(h);
  return set;
}

inline std::vector<std::uint32_t> members(const RTI::AttributeHandleSet& set) {
  std::vector<std::uint32_t> out;
  for (RTI::ULong i = 0; i < set.size(); ++i) out.push_back(static_cast<std::uint32_t>(set.getHandle(i)));
  return out;
}

using Handles = std::vector<std::uint32_t>;
