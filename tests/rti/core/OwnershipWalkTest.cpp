// Short seeded walks of the ownership protocol (tools/ownership-walk): three
// federates' object managers and the rtiexec's execution, messages
// interleaved as each seed draws, federates resigning and joining again.
// No attribute may ever have two owners or holders, nor be lost once the
// federation is at rest. The long walks are bench_ownership_walk.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "OwnershipWalk.h"

TEST(OwnershipWalk, NoAttributeIsLostOrOwnedTwiceOnAnyWalk) {
  // QLX_WALK_SEED replays one walk.
  const char* replay = std::getenv("QLX_WALK_SEED");
  const std::uint64_t first = replay ? std::strtoull(replay, nullptr, 10) : 1;
  const std::uint64_t count = replay ? 1 : 150;
  std::printf("ownership walks: seeds %llu to %llu, 400 steps each\n", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(first + count - 1));
  std::uint64_t transfers = 0;
  for (std::uint64_t seed = first; seed < first + count; ++seed) {
    const OwnershipWalkResult result = RunOwnershipWalk({seed, 400, true});
    transfers += result.transfers;
    if (result.ok) continue;
    std::string steps;
    for (const std::string& line : result.trace) steps += "  " + line + "\n";
    FAIL() << "seed " << seed << ": " << result.failure << "\n" << steps;
  }
  // The walks do move attributes about.
  EXPECT_GT(transfers, count);
}
