// What time management costs a federation in lock step: N federate
// processes (2, 4, 8, 16, 32 and 64) and the rtiexec program, each federate
// regulating (lookahead 1) and constrained, advancing by
// timeAdvanceRequest(t + 1) and waiting for its grant, as many steps as
// asked. It prints the grants per second that each federate sees (the mean
// over the federates) and, in the same run, a bare barrier of the same
// topology over TCP: a relay process that waits for one message from each
// of the N clients and then sends one back to each (the least any central
// LBTS exchange needs). The second mode adds one time-stamped 64-byte
// update per federate and step (the bare barrier forwards one 64-byte
// message of each client to the others), and prints the updates delivered
// per second to each federate.
//
// The RTI's federates wait for their grant in each of three ways
// (BenchProcesses.h's TickStyle): blocked in poll() on the library's
// descriptors between ticks; spinning, as a federate written against the
// standard API does (`while (!granted) tick();`); and spinning with
// RTI_tickIdleWait set. The bare clients wait in poll(). Every wait is
// bounded; a federate that is not granted within 10 s ends the run with an
// error. Run it inside a private network namespace, as the tests run
// (tools/ensure-packages.sh's run_isolated), from a Release build.
//
//   bench_time_advance [--federates N] [--steps S] [--repeat R] [--mode 0|1|2] [--style 0|1|2|3]
//     --federates 0 (default) runs 2, 4, 8, 16, 32 and 64; --mode 0 both, 1 grants, 2 updates;
//     --style 0 all, 1 poll, 2 spinning, 3 spinning with the idle wait;
//     --steps S (default 2000) is taken 8/N times above 8 federates (at least 200)

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchProcesses.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "fedtime.hh"

namespace {

using namespace benchprocs;
constexpr int maxFederates = 64;
constexpr std::size_t updateBytes = 64;

const char* const clockFed = R"((FED (Federation Clock) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Tank (attribute Pos reliable timestamp))))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive))))
)";

struct Settings : RunSettings {
  std::uint32_t steps = 2000;
  std::uint32_t mode = 0;
};

// What the processes of one run share: the start, and each one's result.
struct Shared : ProcessFlags {
  double seconds[maxFederates]{};
  std::uint64_t received[maxFederates]{};
};

// ---- the RTI path

class CountingFedAmb : public NullFederateAmbassador {
public:
  void timeRegulationEnabled(const RTI::FedTime&) override { regulating = true; }
  void timeConstrainedEnabled(const RTI::FedTime&) override { constrained = true; }
  void timeAdvanceGrant(const RTI::FedTime&) override { granted = true; }
  void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&, const RTI::FedTime&,
                              const char*, RTI::EventRetractionHandle) override {
    ++reflections;
  }
  bool regulating = false;
  bool constrained = false;
  bool granted = false;
  std::uint64_t reflections = 0;
};

void federate(int index, int count, bool withUpdates, std::uint32_t steps, Shared& shared) {
  try {
    CountingFedAmb amb;
    RTI::RTIambassador rti;
    joinRun(rti, index, "Clock", "Clock.fed", &amb, shared);
    RTI::ObjectHandle object = 0;
    RTI::AttributeHandle pos = 0;
    if (withUpdates) {
      const RTI::ObjectClassHandle tank = rti.getObjectClassHandle("Tank");
      pos = rti.getAttributeHandle("Pos", tank);
      std::unique_ptr<RTI::AttributeHandleSet> attributes(RTI::AttributeHandleSetFactory::create(1));
      attributes->add(pos);
      rti.publishObjectClass(tank, *attributes);
      rti.subscribeObjectClassAttributes(tank, *attributes);
      object = rti.registerObjectInstance(tank);
    }
    rti.enableTimeRegulation(RTIfedTime(0), RTIfedTime(1));
    if (!tickUntil(
            rti, [&] { return amb.regulating; }, 10))
      throw RTI::RTIinternalError("no regulation");
    rti.enableTimeConstrained();
    if (!tickUntil(
            rti, [&] { return amb.constrained; }, 10))
      throw RTI::RTIinternalError("no constraint");
    ++shared.ready;
    // Others' enables may need this federate's answers: it ticks meanwhile.
    if (!tickUntil(
            rti, [&] { return shared.start.load() != 0; }, 30))
      throw RTI::RTIinternalError("no start");

    std::unique_ptr<RTI::AttributeHandleValuePairSet> values(RTI::AttributeSetFactory::create(1));
    const std::string value(updateBytes, 'v');
    values->add(pos, value.data(), value.size());
    const std::uint64_t reflectionsBefore = amb.reflections;
    const auto begun = Clock::now();
    for (std::uint32_t step = 1; step <= steps; ++step) {
      const RTIfedTime next(static_cast<double>(step));
      if (withUpdates) rti.updateAttributeValues(object, *values, next, "");
      amb.granted = false;
      rti.timeAdvanceRequest(next);
      if (!tickUntil(
              rti, [&] { return amb.granted; }, 10))
        throw RTI::RTIinternalError("no grant");
    }
    shared.seconds[index] = std::chrono::duration<double>(Clock::now() - begun).count();
    shared.received[index] = withUpdates ? amb.reflections - reflectionsBefore : steps;
    // Everyone finishes before anyone leaves (a leaving regulator moves the
    // others' bounds).
    leaveRun(rti, index, count, "Clock", RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES, shared);
  } catch (const RTI::Exception& e) {
    failRun("time_advance", index, e, shared);
  }
}

// ---- the bare barrier

// Messages on the bare path: a 16-bit size first, as RTI messages have.
constexpr std::size_t barrierBytes = 16;
constexpr std::size_t payloadBytes = 8 + updateBytes;

// The relay: forwards each client's payloads to the other clients and,
// once every client's barrier message of the round came, releases them all.
void relay(int listener, int count) {
  // Written once a pass, as the RTI's forwarder does.
  std::vector<std::string> out(static_cast<std::size_t>(count));
  const std::string release = sizedMessage(barrierBytes, 'R');
  int arrived = 0;
  relayLoop(
      listener, count,
      [&](std::size_t i, const std::string& pending, std::size_t at, std::size_t size, char kind) {
        if (kind == 'P') {
          for (std::size_t j = 0; j < out.size(); ++j) {
            if (j != i) out[j].append(pending, at, size);
          }
        } else if (++arrived == count) {
          arrived = 0;
          for (std::string& to : out) to += release;
        }
      },
      [&](const std::vector<int>& clients) {
        for (std::size_t j = 0; j < clients.size(); ++j) {
          if (!out[j].empty() && !writeAll(clients[j], out[j].data(), out[j].size())) return false;
          out[j].clear();
        }
        return true;
      });
}

void bareClient(int index, int port, bool withUpdates, std::uint32_t steps, Shared& shared) {
  const int fd = startBareClient(port, shared);
  if (fd < 0) return;
  // One write a step: the payload (when there is one) and the barrier.
  const std::string perStep =
      (withUpdates ? sizedMessage(payloadBytes, 'P') : std::string()) + sizedMessage(barrierBytes, 'B');
  std::string pending;
  std::uint64_t payloads = 0;
  const auto begun = Clock::now();
  for (std::uint32_t step = 0; step < steps; ++step) {
    if (!writeAll(fd, perStep.data(), perStep.size())) {
      shared.failed = 1;
      return;
    }
    const bool released = readUntil(fd, pending, shared, [&](char kind) {
      if (kind == 'P') ++payloads;
      return kind == 'R';
    });
    if (!released) return;
  }
  shared.seconds[index] = std::chrono::duration<double>(Clock::now() - begun).count();
  shared.received[index] = withUpdates ? payloads : steps;
  close(fd);
}

// ---- running

struct Result {
  bool ok = false;
  double perSecond = 0;  // per federate, mean over the federates
};

// Forks the N processes that `body` runs, starts them together, and waits.
template <class Body>
Result runProcesses(int count, Body body) {
  Shared* shared = makeShared<Shared>();
  Result result;
  result.ok = runForked(count, *shared, body);
  for (int i = 0; i < count && result.ok; ++i) {
    result.perSecond += static_cast<double>(shared->received[i]) / shared->seconds[i] / count;
  }
  freeShared(shared);
  return result;
}

Result runRti(const ExecFederation& federation, TickStyle style, int count, bool withUpdates, std::uint32_t steps) {
  return runThroughRtiExec<Result>(federation, style, [&] {
    return runProcesses(count, [&](int i, Shared& shared) { federate(i, count, withUpdates, steps, shared); });
  });
}

Result runBare(int count, bool withUpdates, std::uint32_t steps) {
  return runBesideRelay(
      "time_advance", [&](int listener) { relay(listener, count); },
      [&](int port) {
        return runProcesses(count, [&](int i, Shared& shared) { bareClient(i, port, withUpdates, steps, shared); });
      });
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(argc, argv, "time_advance",
                    "usage: bench_time_advance [--federates N] [--steps S] [--repeat R] [--mode 0|1|2] "
                    "[--style 0|1|2|3]",
                    [&](const std::string& name, std::uint32_t value) {
                      if (settings.take(name, value, maxFederates)) return true;
                      if (name == "--steps")
                        settings.steps = std::max<std::uint32_t>(value, 1);
                      else if (name == "--mode")
                        settings.mode = value;
                      else
                        return false;
                      return true;
                    });
  signal(SIGPIPE, SIG_IGN);
  const ExecFederation federation("time_advance", "Clock", clockFed, 81, "(setq RTI_timeMgmt 1)\n");
  const std::vector<int> sizes = settings.sizes();
  const std::vector<TickStyle> styles = settings.styles();

  std::printf(
      "time_advance: lock-step timeAdvanceRequest(t+1), lookahead 1, %u steps (fewer above 8 federates), "
      "%u runs (range)\n",
      settings.steps, settings.repeat);
  bool failed = false;
  for (const bool withUpdates : {false, true}) {
    if ((withUpdates && settings.mode == 1) || (!withUpdates && settings.mode == 2)) continue;
    std::printf("%s\n", withUpdates ? "one time-stamped 64-byte update per federate and step: updates delivered/s "
                                      "per federate"
                                    : "grants/s per federate");
    std::printf("%10s %6s %-19s %22s %22s %16s\n", "federates", "steps", "RTI federates wait", "RTI (rtiexec)",
                "bare barrier (relay)", "RTI / bare");
    for (const int count : sizes) {
      const std::uint32_t steps = roundsFor(count, settings.steps);
      Range bare;
      std::vector<Range> rti(styles.size()), ratio(styles.size());
      for (std::uint32_t run = 0; run < settings.repeat; ++run) {
        const Result b = runBare(count, withUpdates, steps);
        if (!b.ok) {
          std::fprintf(stderr, "time_advance: %d federates: a bare run failed\n", count);
          failed = true;
          continue;
        }
        bare.add(b.perSecond);
        for (std::size_t s = 0; s < styles.size(); ++s) {
          const Result r = runRti(federation, styles[s], count, withUpdates, steps);
          if (!r.ok) {
            std::fprintf(stderr, "time_advance: %d federates, %s: an RTI run failed\n", count,
                         tickStyleName(styles[s]));
            failed = true;
            continue;
          }
          rti[s].add(r.perSecond);
          ratio[s].add(r.perSecond / b.perSecond);
        }
      }
      for (std::size_t s = 0; s < styles.size(); ++s) {
        std::printf("%10d %6u %-19s %10.0f - %-9.0f %10.0f - %-9.0f %7.2f - %-6.2f\n", count, steps,
                    tickStyleName(styles[s]), rti[s].low, rti[s].high, bare.low, bare.high, ratio[s].low,
                    ratio[s].high);
      }
      std::fflush(stdout);
    }
  }
  return failed ? 1 : 0;
}
