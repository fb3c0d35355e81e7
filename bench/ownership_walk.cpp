// The ownership walk's soak: many long seeded walks of three federates and
// the rtiexec's execution (tools/ownership-walk), with the count of
// attributes lost and of double owners, which must both stay 0. A failing
// walk prints its seed and its steps.
//
//   bench_ownership_walk [--seeds N] [--steps N] [--first-seed N]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "OwnershipWalk.h"

int main(int argc, char** argv) {
  std::uint64_t seeds = 2000;
  std::uint64_t firstSeed = 1;
  int steps = 3000;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::uint64_t value = std::strtoull(argv[i + 1], nullptr, 10);
    if (std::strcmp(argv[i], "--seeds") == 0) seeds = value;
    if (std::strcmp(argv[i], "--steps") == 0) steps = static_cast<int>(value);
    if (std::strcmp(argv[i], "--first-seed") == 0) firstSeed = value;
  }
  std::printf("ownership walk: %llu seeds from %llu, %d steps each, 3 federates and the rtiexec's execution\n",
              static_cast<unsigned long long>(seeds), static_cast<unsigned long long>(firstSeed), steps);
  std::uint64_t lost = 0, doubled = 0, deliveries = 0, services = 0, refused = 0, transfers = 0, resigns = 0, quiet = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint64_t seed = firstSeed; seed < firstSeed + seeds; ++seed) {
    const OwnershipWalkResult result = RunOwnershipWalk({seed, steps, true});
    deliveries += result.deliveries;
    services += result.services;
    refused += result.refused;
    transfers += result.transfers;
    resigns += result.resigns;
    quiet += result.quietChecks;
    if (result.ok) continue;
    (result.failure.find("lost") != std::string::npos ? lost : doubled) += 1;
    std::printf("seed %llu failed: %s\n", static_cast<unsigned long long>(seed), result.failure.c_str());
    for (const std::string& line : result.trace) std::printf("  %s\n", line.c_str());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "walks %llu, steps %llu, messages delivered %llu, services %llu (refused %llu), attributes moved %llu,"
      " resignations %llu, checks at rest %llu\n",
      static_cast<unsigned long long>(seeds), static_cast<unsigned long long>(seeds * steps),
      static_cast<unsigned long long>(deliveries), static_cast<unsigned long long>(services),
      static_cast<unsigned long long>(refused), static_cast<unsigned long long>(transfers),
      static_cast<unsigned long long>(resigns), static_cast<unsigned long long>(quiet));
  std::printf("lost attributes %llu, double owners %llu, %.1f s\n", static_cast<unsigned long long>(lost),
              static_cast<unsigned long long>(doubled), seconds);
  return lost + doubled == 0 ? 0 : 1;
}
