#pragma once
// What the processes of one checked federation share (memory mapped before
// they are forked): the start and end of the run, who waits for a grant,
// the grants so far, every event each federate sent (for the check of
// reliable delivery at the end), and the violations found.

#include <atomic>
#include <cstdint>

namespace timeordercheck {

constexpr int maxFederates = 8;
constexpr std::uint32_t maxEventsPerFederate = 1u << 15;
constexpr int violationTextSize = 240;
constexpr int violationsKept = 4;

// One event a federate sent: its serial number (its retraction handle with
// the sender), time stamp, class and whether its sender retracted it.
struct SentEvent {
  std::uint32_t serial = 0;
  double stamp = 0;
  std::uint8_t reliable = 0;
  std::atomic<std::uint8_t> retracted{0};
};

struct FederateRecord {
  std::atomic<int> pending{0};   // waits for a grant
  std::atomic<int> finished{0};  // made its grants and stopped regulating
  std::atomic<int> subscribedReliable{0};
  std::atomic<int> subscribedBestEffort{0};
  std::atomic<std::uint32_t> handle{0};
  std::atomic<std::uint32_t> sentCount{0};
  std::atomic<std::uint64_t> grants{0};
  std::atomic<std::uint64_t> delivered{0};
  std::atomic<std::uint64_t> deliveredBestEffort{0};
  std::atomic<std::uint64_t> retractionCallbacks{0};
  // The request it waits in, for the report of a stall.
  std::atomic<int> request{0};
  std::atomic<double> target{0};
  std::atomic<double> granted{0};
  double lookahead = 0;
  SentEvent sent[maxEventsPerFederate];
};

struct Shared {
  std::atomic<int> created{0};
  std::atomic<int> regulating{0};
  std::atomic<int> ready{0};
  std::atomic<int> start{0};
  std::atomic<int> failed{0};
  std::atomic<int> stalled{0};
  std::atomic<int> flushed{0};
  std::atomic<std::uint64_t> grants{0};
  std::atomic<std::uint64_t> violations{0};
  std::atomic<int> violationTexts{0};
  char violation[violationsKept][violationTextSize]{};
  FederateRecord federates[maxFederates];
};

}  // namespace timeordercheck
