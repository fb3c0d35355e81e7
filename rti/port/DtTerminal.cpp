#include "port/DtTerminal.h"

#include <unistd.h>

bool DtIsTerminal(std::FILE* stream) { return stream && isatty(fileno(stream)) == 1; }
