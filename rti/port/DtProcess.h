#pragma once
// The running process as the RTI needs to know it.

#include <cstdint>

// The process ID.
std::uint32_t DtProcessId();

// Names the calling thread as the system lists it (ps -L, /proc/<pid>/task),
// at most 15 characters; a longer name is cut. Best effort.
void DtNameThisThread(const char* name);
