// What a synchronization point costs a federation: N federate processes (2,
// 4, 8, 16, 32 and 64) and the rtiexec program. Each round federate 0
// registers a new label for every federate; each federate achieves it as
// soon as it is announced and waits for federationSynchronized. A round
// lasts from the registration to the last federate's federationSynchronized;
// the next one begins when federate 0 has its own. In the same run, a bare
// barrier of the same processes over TCP: a relay process that answers every
// client once each sent it one message (a round lasts from the first send to
// the last answer's arrival).
//
// It prints the rounds per second and the median round for both, and their
// ratio. The RTI's federates wait for their callbacks in each of three ways
// (BenchProcesses.h's TickStyle): in poll() on the library's descriptors,
// spinning on tick() as a federate of the standard API does, and spinning
// with RTI_tickIdleWait; the bare clients wait in poll(). Every wait is
// bounded (10 s). Run it inside a private network namespace, as the tests
// run (tools/ensure-packages.sh's run_isolated), from a Release build.
//
//   bench_sync_points [--federates N] [--rounds R] [--repeat K] [--style 0|1|2|3]
//     --federates 0 (default) runs 2, 4, 8, 16, 32 and 64; --style 0 all, 1 poll,
//     2 spinning, 3 spinning with the idle wait; --rounds R (default 2000) is
//     taken 8/N times above 8 federates (at least 200)

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "BenchProcesses.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"

namespace {

using namespace benchprocs;
constexpr int maxFederates = 64;
constexpr std::uint32_t maxRounds = 20000;

const char* const syncFed = R"((FED (Federation Sync) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive))))
)";

struct Settings : RunSettings {
  std::uint32_t rounds = 2000;
};

// Nanoseconds on the monotonic clock, which every process shares.
double nowNs() { return static_cast<double>(Clock::now().time_since_epoch().count()); }

// What the processes of one run share: the start, and when each round
// began and ended at each process.
struct Shared : ProcessFlags {
  double began[maxFederates][maxRounds]{};
  double ended[maxFederates][maxRounds]{};
};

// ---- the RTI path

class SyncFedAmb : public NullFederateAmbassador {
public:
  void announceSynchronizationPoint(const char*, const char*) override { ++announced; }
  void federationSynchronized(const char*) override { ++synchronized; }
  std::uint32_t announced = 0;
  std::uint32_t synchronized = 0;
};

void federate(int index, int count, std::uint32_t rounds, Shared& shared) {
  try {
    SyncFedAmb amb;
    RTI::RTIambassador rti;
    joinRun(rti, index, "Sync", "Sync.fed", &amb, shared);
    ++shared.ready;
    if (!tickUntil(
            rti, [&] { return shared.start.load() != 0; }, 30))
      throw RTI::RTIinternalError("no start");
    for (std::uint32_t round = 0; round < rounds; ++round) {
      std::string label = "r";
      label += std::to_string(round);
      if (index == 0) {
        shared.began[0][round] = nowNs();
        rti.registerFederationSynchronizationPoint(label.c_str(), "");
      }
      if (!tickUntil(
              rti, [&] { return amb.announced > round; }, 10))
        throw RTI::RTIinternalError("no announce");
      rti.synchronizationPointAchieved(label.c_str());
      if (!tickUntil(
              rti, [&] { return amb.synchronized > round; }, 10))
        throw RTI::RTIinternalError("no sync");
      shared.ended[index][round] = nowNs();
    }
    leaveRun(rti, index, count, "Sync", RTI::NO_ACTION, shared);
  } catch (const RTI::Exception& e) {
    failRun("sync_points", index, e, shared);
  }
}

// ---- the bare barrier

// A 16-byte message with its size first, as RTI messages have theirs.
constexpr std::size_t barrierBytes = 16;

// The relay: once every client sent its message of the round, it answers
// them all (one write each).
void relay(int listener, int count) {
  const std::string release = sizedMessage(barrierBytes, 'R');
  std::size_t arrived = 0;
  relayLoop(
      listener, count, [&](std::size_t, const std::string&, std::size_t, std::size_t, char) { ++arrived; },
      [&](const std::vector<int>& clients) {
        if (arrived < clients.size()) return true;
        arrived -= clients.size();
        for (const int fd : clients) {
          if (!writeAll(fd, release.data(), release.size())) return false;
        }
        return true;
      });
}

void bareClient(int index, int port, std::uint32_t rounds, Shared& shared) {
  const int fd = startBareClient(port, shared);
  if (fd < 0) return;
  const std::string arrive = sizedMessage(barrierBytes, 'B');
  std::string pending;
  for (std::uint32_t round = 0; round < rounds; ++round) {
    shared.began[index][round] = nowNs();
    if (!writeAll(fd, arrive.data(), arrive.size())) {
      shared.failed = 1;
      return;
    }
    if (!readUntil(fd, pending, shared, [](char) { return true; })) return;
    shared.ended[index][round] = nowNs();
  }
  close(fd);
}

// ---- running

struct Result {
  bool ok = false;
  double perSecond = 0;
  double medianUs = 0;
};

// Forks the N processes that `body` runs, starts them together, waits, and
// reads the rounds: each from the earliest beginning to the latest end.
template <class Body>
Result runProcesses(int count, std::uint32_t rounds, Body body) {
  Shared* shared = makeShared<Shared>();
  Result result;
  result.ok = runForked(count, *shared, body);
  if (result.ok) {
    std::vector<double> lengths;
    for (std::uint32_t r = 0; r < rounds; ++r) {
      double first = 0, last = 0;
      for (int i = 0; i < count; ++i) {
        const double began = shared->began[i][r];
        if (began > 0) first = first > 0 ? std::min(first, began) : began;
        last = std::max(last, shared->ended[i][r]);
      }
      lengths.push_back(last - first);
    }
    double start = 0, end = 0;
    for (int i = 0; i < count; ++i) {
      const double began = shared->began[i][0];
      if (began > 0) start = start > 0 ? std::min(start, began) : began;
      end = std::max(end, shared->ended[i][rounds - 1]);
    }
    std::nth_element(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2), lengths.end());
    result.medianUs = lengths[lengths.size() / 2] / 1000;
    result.perSecond = rounds / ((end - start) / 1e9);
  }
  freeShared(shared);
  return result;
}

Result runRti(const ExecFederation& federation, TickStyle style, int count, std::uint32_t rounds) {
  return runThroughRtiExec<Result>(federation, style, [&] {
    return runProcesses(count, rounds, [&](int i, Shared& shared) { federate(i, count, rounds, shared); });
  });
}

Result runBare(int count, std::uint32_t rounds) {
  return runBesideRelay(
      "sync_points", [&](int listener) { relay(listener, count); },
      [&](int port) {
        return runProcesses(count, rounds, [&](int i, Shared& shared) { bareClient(i, port, rounds, shared); });
      });
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(argc, argv, "sync_points",
                    "usage: bench_sync_points [--federates N] [--rounds R] [--repeat K] [--style 0|1|2|3]",
                    [&](const std::string& name, std::uint32_t value) {
                      if (settings.take(name, value, maxFederates)) return true;
                      if (name == "--rounds")
                        settings.rounds = std::clamp<std::uint32_t>(value, 1, maxRounds);
                      else
                        return false;
                      return true;
                    });
  signal(SIGPIPE, SIG_IGN);
  const ExecFederation federation("sync_points", "Sync", syncFed, 82, "");
  const std::vector<int> sizes = settings.sizes();
  const std::vector<TickStyle> styles = settings.styles();

  std::printf(
      "sync_points: register, announce, achieve at once, federationSynchronized at every federate; "
      "%u rounds (fewer above 8 federates), %u runs (range)\n",
      settings.rounds, settings.repeat);
  std::printf("%10s %6s %-19s %22s %22s %16s %22s %22s\n", "federates", "rounds", "RTI federates wait", "RTI rounds/s",
              "bare rounds/s", "RTI / bare", "RTI median us", "bare median us");
  bool failed = false;
  for (const int count : sizes) {
    const std::uint32_t rounds = roundsFor(count, settings.rounds);
    Range bare, bareMedian;
    std::vector<Range> rti(styles.size()), ratio(styles.size()), rtiMedian(styles.size());
    for (std::uint32_t run = 0; run < settings.repeat; ++run) {
      const Result b = runBare(count, rounds);
      if (!b.ok) {
        std::fprintf(stderr, "sync_points: %d federates: a bare run failed\n", count);
        failed = true;
        continue;
      }
      bare.add(b.perSecond);
      bareMedian.add(b.medianUs);
      for (std::size_t s = 0; s < styles.size(); ++s) {
        const Result r = runRti(federation, styles[s], count, rounds);
        if (!r.ok) {
          std::fprintf(stderr, "sync_points: %d federates, %s: an RTI run failed\n", count, tickStyleName(styles[s]));
          failed = true;
          continue;
        }
        rti[s].add(r.perSecond);
        ratio[s].add(r.perSecond / b.perSecond);
        rtiMedian[s].add(r.medianUs);
      }
    }
    for (std::size_t s = 0; s < styles.size(); ++s) {
      std::printf("%10d %6u %-19s %10.0f - %-9.0f %10.0f - %-9.0f %7.2f - %-6.2f %10.0f - %-9.0f %10.0f - %-9.0f\n",
                  count, rounds, tickStyleName(styles[s]), rti[s].low, rti[s].high, bare.low, bare.high, ratio[s].low,
                  ratio[s].high, rtiMedian[s].low, rtiMedian[s].high, bareMedian.low, bareMedian.high);
    }
    std::fflush(stdout);
  }
  return failed ? 1 : 0;
}
