#pragma once
// One federate of a checked federation, run in a process of its own: it
// joins, regulates (with a lookahead drawn from 0, 0.5, 1 and 2) and is
// constrained, subscribes to the reliable and the best-effort class or not,
// and then, grant after grant, sends a few time-stamped interactions at
// legal stamps, sometimes retracts one of its own, and asks for its next
// advance by a TAR, TARA, NER or NERA drawn at random. Its ambassador checks
// every callback (OrderCheckingFedAmb). After its last grant it stops
// regulating; once all have, it advances past every event sent and checks
// that each reliable event reached it exactly once (a retracted one at most
// once, and then with its retraction) and that each best-effort one came at
// most once.

#include <cstdint>

#include "CheckShared.h"

namespace timeordercheck {

struct FederateSettings {
  int index = 0;
  int count = 0;
  std::uint64_t seed = 0;
  std::uint32_t grants = 0;
  double stallSeconds = 20;
};

// The process's body; failures are written to the shared record.
void RunRandomFederate(const FederateSettings& settings, Shared& shared);

// Records a violation (the first few with their text).
void ReportViolation(Shared& shared, int index, const char* what);

}  // namespace timeordercheck
