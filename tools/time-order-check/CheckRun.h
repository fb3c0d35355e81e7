#pragma once
// One checked federation: a scratch folder with its RID file (a port and
// multicast group of its own on the loopback, through the rtiexec, time
// management on) and FED file, the rtiexec program started there, N random
// federates forked, and a watchdog that calls it a stall when every federate
// still running waits for a grant and no grant comes for `stallSeconds`.

#include <cstdint>
#include <string>

namespace timeordercheck {

struct RunSettings {
  std::uint64_t seed = 1;
  int federates = 4;
  std::uint32_t grants = 100;
  double stallSeconds = 20;
  std::string rtiexec;
};

struct RunResult {
  bool ran = false;  // the federation ran to its end (no failure, no stall)
  bool stalled = false;
  std::uint64_t grants = 0;
  std::uint64_t violations = 0;
  std::uint64_t sent = 0;
  std::uint64_t reliableSent = 0;
  std::uint64_t retracted = 0;
  std::uint64_t delivered = 0;
  std::uint64_t deliveredBestEffort = 0;
  std::uint64_t retractionCallbacks = 0;
  std::string lookaheads;
  std::string details;  // the first violations, the stall's state, a failure
};

RunResult RunCheck(const RunSettings& settings);

}  // namespace timeordercheck
