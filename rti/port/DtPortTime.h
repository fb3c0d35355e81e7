#pragma once
// Time sources: the wall clock, and a steady high-resolution counter that
// never jumps when the wall clock is set.

#include <cstdint>

// Seconds since 1970 (with fractions).
double DtPortWallClock();
// Counts of a steady counter, and how many counts make one second.
std::int64_t DtPortCounter();
double DtPortCounterFrequency();
// The steady counter in seconds, for deadlines.
double DtPortSteadySeconds();
