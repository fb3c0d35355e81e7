#pragma once
// Counts the calls of the global operator new on this thread (this test
// program replaces it), so that a test can show that some code allocates
// nothing.

#include <cstdint>

std::uint64_t allocationsOnThisThread();
