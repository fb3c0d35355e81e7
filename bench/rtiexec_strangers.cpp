// Soak: the rtiexec holding strangers. The rtiexec program (started by the
// benchmark) gets 1,000 connections that never speak and 1,000 that send
// half of a 65,535-byte message and stop, and holds them for a minute
// (RTI_tcpJoinTimeout is raised past it) while two federates of this
// process, made anew each cycle, create an execution, join it, exchange 50
// reliable interactions, resign and destroy it, as fast as they can. It
// prints the rtiexec's resident memory before the strangers came (its
// baseline, measured in the same run), with them, and after they closed;
// the cycles done and failed; and the join times (median, 99th percentile,
// longest) beside those of the same cycles before the strangers came.
//
// Options: --seconds S (default 60), --idle N and --half N (default 1000
// each). It raises its descriptor limit to the hard one and says so when
// that is below what it needs. Run it inside a private network namespace,
// as the tests run: tools/ensure-packages.sh's run_isolated.

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchFederation.h"
#include "BenchFreePort.h"
#include "BenchOptions.h"
#include "BenchRtiExec.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"

namespace {

using Clock = std::chrono::steady_clock;

const char* const fedText = R"((FED (Federation Soak) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Horn reliable receive (parameter Loudness)))))
)";

constexpr int interactionsPerCycle = 50;

class CountingAmbassador : public NullFederateAmbassador {
public:
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&, const char*) override {
    ++received;
  }
  int received = 0;
};

// The resident memory of a process, in KiB (0 when it cannot be read).
long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

int connectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(0x7F000001u);
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

struct Cycles {
  int done = 0;
  int failed = 0;
  std::vector<double> joinMs;
};

// One cycle: create, two joins, the exchange, two resignations, destroy.
// False (with the reason printed once) when a step failed or the exchange
// did not arrive within 10 s.
bool cycle(const std::string& fedFile, Cycles& cycles) {
  try {
    RTI::RTIambassador a;
    RTI::RTIambassador b;
    CountingAmbassador hearsA;
    NullFederateAmbassador hearsB;
    try {
      a.createFederationExecution("Soak", fedFile.c_str());
    } catch (const RTI::FederationExecutionAlreadyExists&) {
    }
    const auto start = Clock::now();
    a.joinFederationExecution("A", "Soak", &hearsA);
    cycles.joinMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    b.joinFederationExecution("B", "Soak", &hearsB);
    const RTI::InteractionClassHandle horn = a.getInteractionClassHandle("Horn");
    const RTI::ParameterHandle loudness = a.getParameterHandle("Loudness", horn);
    a.subscribeInteractionClass(horn);
    b.publishInteractionClass(horn);
    a.tick(0.05, 0.1);  // the subscription reaches B
    b.tick(0.05, 0.1);
    std::unique_ptr<RTI::ParameterHandleValuePairSet> values(RTI::ParameterSetFactory::create(1));
    values->add(loudness, "loud", 4);
    for (int i = 0; i < interactionsPerCycle; ++i) b.sendInteraction(horn, *values, "");
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (hearsA.received < interactionsPerCycle && Clock::now() < deadline) a.tick(0.01, 0.05);
    const bool heard = hearsA.received >= interactionsPerCycle;
    b.resignFederationExecution(RTI::NO_ACTION);
    a.resignFederationExecution(RTI::NO_ACTION);
    for (int i = 0; i < 50; ++i) {
      try {
        a.destroyFederationExecution("Soak");
        break;
      } catch (const RTI::FederatesCurrentlyJoined&) {
        a.tick(0.01, 0.02);  // the resignations are on their way
      }
    }
    if (!heard && cycles.failed++ == 0) std::printf("  a cycle heard %d of %d interactions\n", hearsA.received, 50);
    if (heard) ++cycles.done;
    return heard;
  } catch (const RTI::Exception& e) {
    if (cycles.failed++ == 0) std::printf("  a cycle failed: %s %s\n", e._name, e._reason ? e._reason : "");
    return false;
  }
}

double percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

void report(const char* what, const Cycles& cycles, double seconds) {
  std::printf("%s: %d cycles in %.0f s (%d failed); join median %.2f ms, 99th %.2f ms, longest %.2f ms\n", what,
              cycles.done, seconds, cycles.failed, percentile(cycles.joinMs, 0.5), percentile(cycles.joinMs, 0.99),
              cycles.joinMs.empty() ? 0.0 : *std::max_element(cycles.joinMs.begin(), cycles.joinMs.end()));
}

Cycles runCycles(const std::string& fedFile, double seconds) {
  Cycles cycles;
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end) cycle(fedFile, cycles);
  return cycles;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 60;
  int idle = 1000;
  int half = 1000;
  BenchParseOptions(argc, argv, "bench_rtiexec_strangers",
                    "Usage: bench_rtiexec_strangers [--seconds S] [--idle N] [--half N]",
                    [&](const std::string& option, std::uint32_t value) {
                      if (option == "--seconds") {
                        seconds = value;
                      } else if (option == "--idle") {
                        idle = static_cast<int>(value);
                      } else if (option == "--half") {
                        half = static_cast<int>(value);
                      } else {
                        return false;
                      }
                      return true;
                    });

  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
  const auto needed = static_cast<rlim_t>(idle + half + 256);
  std::printf("descriptor limit %llu (needs about %llu)\n", static_cast<unsigned long long>(limit.rlim_cur),
              static_cast<unsigned long long>(needed));
  if (limit.rlim_cur < needed) std::printf("  too low: raise it (ulimit -n) or ask for fewer strangers\n");

  const int port = BenchFreeUdpPort();
  const std::uint32_t group = (239u << 24) | (78u << 16) | static_cast<std::uint32_t>(port);
  const BenchFederation federation(
      port, group,
      {"bench_rtiexec_strangers", "Soak", fedText, 0,
       "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n"
       "(setq RTI_tcpMaxConnections 4096)\n(setq RTI_tcpJoinTimeout " +
           std::to_string(static_cast<int>(seconds) + 120) + ")\n",
       true});
  const BenchRtiExec exec(port, "rtiexec.log");
  if (!exec.waitReady()) {
    std::fprintf(stderr, "the rtiexec did not start\n");
    return 1;
  }

  // The baseline: the same cycles, before any stranger came.
  const double warmSeconds = std::min(10.0, seconds);
  const Cycles before = runCycles(federation.fedFile(), warmSeconds);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const long baseline = residentKiB(exec.pid());
  report("without strangers", before, warmSeconds);

  std::vector<int> strangers;
  for (int i = 0; i < idle; ++i) {
    const int fd = connectTo(port);
    if (fd >= 0) strangers.push_back(fd);
  }
  // Each announces 65,535 bytes and sends half of them.
  std::vector<char> halfFrame(32768, 'h');
  halfFrame[0] = static_cast<char>(0xFF);
  halfFrame[1] = static_cast<char>(0xFF);
  halfFrame[4] = 5;  // a join
  for (int i = 0; i < half; ++i) {
    const int fd = connectTo(port);
    if (fd < 0) continue;
    if (send(fd, halfFrame.data(), halfFrame.size(), MSG_NOSIGNAL) != static_cast<long>(halfFrame.size())) {
      std::printf("  a half frame was not sent whole\n");
    }
    strangers.push_back(fd);
  }
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const long held = residentKiB(exec.pid());
  std::printf("%zu strangers connected (%d idle, %d with half a message)\n", strangers.size(), idle, half);

  const Cycles during = runCycles(federation.fedFile(), seconds);
  report("with the strangers", during, seconds);
  // Still there: none was closed for it.
  int stillOpen = 0;
  for (const int fd : strangers) {
    char byte = 0;
    const long got = recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
    if (got != 0) ++stillOpen;
  }
  std::printf("%d of %zu strangers still held at the end\n", stillOpen, strangers.size());

  for (const int fd : strangers) close(fd);
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const long after = residentKiB(exec.pid());
  std::printf("rtiexec resident memory: baseline %.1f MiB, with the strangers %.1f MiB, after they closed %.1f MiB\n",
              baseline / 1024.0, held / 1024.0, after / 1024.0);
  return during.failed == 0 ? 0 : 1;
}
