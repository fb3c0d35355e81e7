#pragma once
#include <cstdio>

// True when the stream is connected to a terminal.
bool DtIsTerminal(std::FILE* stream);
