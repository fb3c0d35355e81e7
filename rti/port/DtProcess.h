#pragma once
// The running process as the RTI needs to know it.

#include <cstdint>
#include <string>

// The process ID.
std::uint32_t DtProcessId();

// A number that every process of one process-ID namespace on one boot of one
// machine shares, and that processes of other machines, boots or namespaces
// (containers) almost never do; 0 when the system does not tell. Processes
// that share it have different process IDs.
std::uint32_t DtProcessIdSpaceKey();

// Names the calling thread as the system lists it (ps -L, /proc/<pid>/task),
// at most 15 characters; a longer name is cut. Best effort.
void DtNameThisThread(const char* name);

// This machine's name, whole however long the system lets it be; empty when
// the system does not tell.
std::string DtHostName();
