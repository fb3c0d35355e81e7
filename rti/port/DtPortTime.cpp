#include "port/DtPortTime.h"

#include <ctime>

double DtPortWallClock() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::int64_t DtPortCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double DtPortCounterFrequency() { return 1e9; }

double DtPortSteadySeconds() { return static_cast<double>(DtPortCounter()) / DtPortCounterFrequency(); }
