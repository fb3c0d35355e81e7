#include "port/DtProcess.h"

#include <unistd.h>

std::uint32_t DtProcessId() { return static_cast<std::uint32_t>(getpid()); }
