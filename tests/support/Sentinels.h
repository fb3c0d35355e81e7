#pragma once
// Sentinels: to know that nothing more comes from a federate (a callback
// that must not come, a message its RTI must first answer), a test sends an
// interaction of the FED file's Sentinel class after it, on the same
// ordered path, and waits for that rather than ticking for a while. A
// message that comes late comes before the sentinel, so that an absence is
// shown, not guessed.
//
// The scripted federates take part after `sentinel-class Sentinel`: at each
// join they publish and subscribe the class, and they print nothing of it.

#include <gtest/gtest.h>

#include <string>

#include "support/ScriptedFederateProcess.h"

namespace sentinels {

// The class as the FED files declare it: reliable, so that it goes where
// the RTI's own messages go in a federation that carries those by TCP; in
// receive order, so that a time-constrained federate has it at once.
inline const char* const sentinelClass = "(class Sentinel reliable receive)";

// The FED text with the Sentinel class as the last child of InteractionRoot:
// the file's own classes keep their handles.
inline std::string withSentinelClass(std::string fed) {
  const std::size_t root = fed.find("(class InteractionRoot");
  int depth = 0;
  for (std::size_t i = root; root != std::string::npos && i < fed.size(); ++i) {
    if (fed[i] == '(') ++depth;
    if (fed[i] == ')' && --depth == 0) return fed.insert(i, std::string(" ") + sentinelClass);
  }
  ADD_FAILURE() << "no InteractionRoot in the FED text";
  return fed;
}

// The transports a sentinel takes: that of the messages it follows.
enum class Path { Reliable, BestEffort };

// A sentinel from `from` to `to`: when it returns, `to` has taken in
// everything that `from` sent before on the path.
inline ::testing::AssertionResult sentinel(ScriptedFederateProcess& from, ScriptedFederateProcess& to,
                                           Path path = Path::Reliable) {
  static int serial = 0;
  const std::string tag = "sentinel-" + std::to_string(++serial);
  if (path == Path::BestEffort) {
    if (auto r = succeeds(from, "interaction-transport Sentinel best_effort"); !r) return r;
  }
  if (auto r = succeeds(from, "send-interaction Sentinel " + tag); !r) return r;
  if (path == Path::BestEffort) {
    if (auto r = succeeds(from, "interaction-transport Sentinel reliable"); !r) return r;
  }
  return succeeds(to, "wait-sentinel " + tag + " 10", 15);
}

// Sentinels both ways: `a` has also taken in what `b` sent in answer to
// a's earlier messages and, in a federation of the rtiexec, what the
// rtiexec sent `a` in answer to them.
inline ::testing::AssertionResult roundTrip(ScriptedFederateProcess& a, ScriptedFederateProcess& b,
                                            Path path = Path::Reliable) {
  if (auto r = sentinel(a, b, path); !r) return r;
  return sentinel(b, a, path);
}

}  // namespace sentinels
