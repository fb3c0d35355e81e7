#pragma once
// A seeded randomised walk of the attribute ownership protocol: three
// federates' object managers and an rtiexec's federation execution, all
// real, joined by an exchange the walk drives. Every message reaches every
// member, each sender's messages in the order sent, the senders' streams
// interleaved at each member as the seed draws; a federate that resigns
// loses what was still on its way to it. Between deliveries the federates
// call the ownership services (acquire, if available, cancel, negotiated
// and unconditional divestiture, cancelled divestiture, release response)
// on the objects they know, and resign, releasing their attributes, and
// join again, each joiner registering an object of its own.
//
// After every step no attribute of an object has two owners or holders;
// whenever the federation is quiet (nothing on its way), every attribute
// of every object is owned or held by exactly one federate. The same seed
// walks the same way.

#include <cstdint>
#include <string>
#include <vector>

struct OwnershipWalkOptions {
  std::uint64_t seed = 1;
  int steps = 400;
  // Every step's line kept, for the report of a failure.
  bool keepTrace = true;
};

struct OwnershipWalkResult {
  bool ok = true;
  std::string failure;             // what broke and where; empty when ok
  std::vector<std::string> trace;  // one line a step
  std::uint64_t deliveries = 0;    // messages dispatched
  std::uint64_t services = 0;      // ownership services called
  std::uint64_t refused = 0;       // of those, refused with an exception
  std::uint64_t transfers = 0;     // attributes that changed hands
  std::uint64_t resigns = 0;
  std::uint64_t quietChecks = 0;
};

OwnershipWalkResult RunOwnershipWalk(const OwnershipWalkOptions& options);
