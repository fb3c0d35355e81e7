#pragma once
// The running process as the RTI needs to know it.

#include <cstdint>

// The process ID.
std::uint32_t DtProcessId();
