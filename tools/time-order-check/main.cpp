// time-order-check: a seeded randomised check of time-stamp order with the
// real rtiexec program. Each seed runs a federation of federate processes
// that regulate and are constrained, with positive and zero lookaheads, send
// reliable and best-effort time-stamped interactions, retract some, and
// advance by TAR, TARA, NER and NERA drawn at random; every callback is
// checked as it arrives (see OrderCheckingFedAmb.h), reliable delivery at the
// end, and a watchdog looks for a stall. Run it inside a private network
// namespace, as the tests do.
//
//   time-order-check [--seed S] [--seeds N] [--federates F] [--grants G]
//                    [--stall-seconds T] [--rtiexec PATH]
//
// One line per seed ("seed S: ..."), then a total; the exit status is 0
// when no seed found a violation, a stall or a failure.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CheckRun.h"

int main(int argc, char** argv) {
  timeordercheck::RunSettings settings;
  settings.seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000;
  settings.rtiexec = QLX_RTIEXEC;
  std::uint64_t seeds = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!value) {
      std::fprintf(stderr, "time-order-check: %s needs a value\n", name.c_str());
      return 2;
    }
    ++i;
    if (name == "--seed")
      settings.seed = std::strtoull(value, nullptr, 10);
    else if (name == "--seeds")
      seeds = std::strtoull(value, nullptr, 10);
    else if (name == "--federates")
      settings.federates = std::atoi(value);
    else if (name == "--grants")
      settings.grants = static_cast<std::uint32_t>(std::strtoul(value, nullptr, 10));
    else if (name == "--stall-seconds")
      settings.stallSeconds = std::strtod(value, nullptr);
    else if (name == "--rtiexec")
      settings.rtiexec = value;
    else {
      std::fprintf(stderr, "time-order-check: unknown option %s\n", name.c_str());
      return 2;
    }
  }
  std::uint64_t grants = 0, violations = 0, stalls = 0, failures = 0, events = 0;
  const std::uint64_t first = settings.seed;
  for (std::uint64_t k = 0; k < seeds; ++k) {
    settings.seed = first + k;
    const timeordercheck::RunResult r = timeordercheck::RunCheck(settings);
    std::printf(
        "seed %llu: %d federates (lookaheads %s), %llu grants, %llu events sent (%llu reliable, %llu "
        "retracted), %llu reliable and %llu best-effort delivered, %llu retraction callbacks: "
        "%llu violations, %s%s\n",
        static_cast<unsigned long long>(settings.seed), settings.federates, r.lookaheads.c_str(),
        static_cast<unsigned long long>(r.grants), static_cast<unsigned long long>(r.sent),
        static_cast<unsigned long long>(r.reliableSent), static_cast<unsigned long long>(r.retracted),
        static_cast<unsigned long long>(r.delivered), static_cast<unsigned long long>(r.deliveredBestEffort),
        static_cast<unsigned long long>(r.retractionCallbacks), static_cast<unsigned long long>(r.violations),
        r.stalled ? "STALL" : (r.ran ? "no stall" : "FAILED"), r.details.c_str());
    std::fflush(stdout);
    grants += r.grants;
    violations += r.violations;
    events += r.sent;
    stalls += r.stalled ? 1 : 0;
    failures += (!r.ran && !r.stalled) ? 1 : 0;
  }
  std::printf(
      "time-order-check: seeds %llu..%llu: %llu grants, %llu events, %llu violations, %llu stalls, "
      "%llu failures\n",
      static_cast<unsigned long long>(first), static_cast<unsigned long long>(first + seeds - 1),
      static_cast<unsigned long long>(grants), static_cast<unsigned long long>(events),
      static_cast<unsigned long long>(violations), static_cast<unsigned long long>(stalls),
      static_cast<unsigned long long>(failures));
  return violations == 0 && stalls == 0 && failures == 0 ? 0 : 1;
}
