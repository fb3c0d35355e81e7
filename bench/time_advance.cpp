// What time management costs a federation in lock step: N federate
// processes (2, 4 and 8) and the rtiexec program, each federate regulating
// (lookahead 1) and constrained, advancing by timeAdvanceRequest(t + 1) and
// waiting for its grant, as many steps as asked. It prints the grants per
// second that each federate sees (the mean over the federates) and, in the
// same run, a bare barrier of the same topology over TCP: a relay process
// that waits for one message from each of the N clients and then sends one
// back to each (the least any central LBTS exchange needs). The second mode
// adds one time-stamped 64-byte update per federate and step (the bare
// barrier forwards one 64-byte message of each client to the others), and
// prints the updates delivered per second to each federate.
//
// Both sides wait the same way: blocked in poll() until input arrives.
// Every wait is bounded; a federate that is not granted within 10 s ends
// the run with an error. Run it inside a private network namespace, as the
// tests run (tools/ensure-packages.sh's run_isolated), from a Release build.
//
//   bench_time_advance [--federates N] [--steps S] [--repeat R] [--mode 0|1|2]
//     --federates 0 (default) runs 2, 4 and 8; --mode 0 both, 1 grants, 2 updates

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchFederation.h"
#include "BenchOptions.h"
#include "BenchRtiExec.h"
#include "DtRtiExtensions.hh"
#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "fedtime.hh"
#include "net/DtNetSocket.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int maxFederates = 8;
constexpr std::size_t updateBytes = 64;

const char* const clockFed = R"((FED (Federation Clock) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Tank (attribute Pos reliable timestamp))))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive))))
)";

struct Settings {
  std::uint32_t federates = 0;
  std::uint32_t steps = 2000;
  std::uint32_t repeat = 3;
  std::uint32_t mode = 0;
};

// What the processes of one run share: the start, and each one's result.
struct Shared {
  std::atomic<int> created{0};
  std::atomic<int> ready{0};
  std::atomic<int> start{0};
  std::atomic<int> finished{0};
  std::atomic<int> failed{0};
  double seconds[maxFederates]{};
  std::uint64_t received[maxFederates]{};
};

// False when another process failed first, or after 30 s.
bool awaitFlag(const std::atomic<int>& flag, int value, const std::atomic<int>& failed) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (flag.load() < value) {
    if (failed.load() || Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

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

// Ticks, blocked in poll() between ticks, until the condition holds; false
// after `seconds`.
template <class Condition>
bool tickUntil(RTI::RTIambassador& rti, Condition done, double seconds) {
  const int fds[] = {DtReadFileDescriptor(&rti, 1), DtReadFileDescriptor(&rti, 0)};
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (rti.tick()) continue;
    if (done()) break;
    if (Clock::now() > deadline) return false;
    pollfd watched[2];
    int n = 0;
    for (const int fd : fds) {
      if (fd >= 0) watched[n++] = {fd, POLLIN, 0};
    }
    poll(watched, static_cast<nfds_t>(n), 10);
  }
  return true;
}

void federate(int index, int count, bool withUpdates, std::uint32_t steps, Shared& shared) {
  try {
    CountingFedAmb amb;
    RTI::RTIambassador rti;
    if (index == 0) {
      rti.createFederationExecution("Clock", "Clock.fed");
      shared.created = 1;
    }
    if (!awaitFlag(shared.created, 1, shared.failed)) throw RTI::RTIinternalError("no execution");
    std::string name = std::to_string(index);
    name.insert(name.begin(), 'F');
    rti.joinFederationExecution(name.c_str(), "Clock", &amb);
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
    if (!tickUntil(rti, [&] { return amb.regulating; }, 10)) throw RTI::RTIinternalError("no regulation");
    rti.enableTimeConstrained();
    if (!tickUntil(rti, [&] { return amb.constrained; }, 10)) throw RTI::RTIinternalError("no constraint");
    ++shared.ready;
    // Others' enables may need this federate's answers: it ticks meanwhile.
    if (!tickUntil(rti, [&] { return shared.start.load() != 0; }, 30)) throw RTI::RTIinternalError("no start");

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
      if (!tickUntil(rti, [&] { return amb.granted; }, 10)) throw RTI::RTIinternalError("no grant");
    }
    shared.seconds[index] = std::chrono::duration<double>(Clock::now() - begun).count();
    shared.received[index] = withUpdates ? amb.reflections - reflectionsBefore : steps;
    ++shared.finished;
    // Everyone finishes before anyone leaves (a leaving regulator moves the
    // others' bounds).
    tickUntil(rti, [&] { return shared.finished.load() >= count || shared.failed.load() != 0; }, 30);
    rti.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    if (index == 0) {
      for (int attempt = 0; attempt < 100; ++attempt) {
        try {
          rti.destroyFederationExecution("Clock");
          break;
        } catch (const RTI::FederatesCurrentlyJoined&) {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
      }
    }
  } catch (const RTI::Exception& e) {
    std::fprintf(stderr, "time_advance: federate %d: %s %s\n", index, e._name ? e._name : "",
                 e._reason ? e._reason : "");
    shared.failed = 1;
  }
}

// ---- the bare barrier

// Messages on the bare path: a 16-bit size first, as RTI messages have.
constexpr std::size_t barrierBytes = 16;
constexpr std::size_t payloadBytes = 8 + updateBytes;

bool writeAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = send(fd, data, length, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string message(std::size_t size, char kind) {
  std::string m(size, '\0');
  m[0] = static_cast<char>(size >> 8);
  m[1] = static_cast<char>(size & 0xFF);
  m[2] = kind;
  return m;
}

// The relay: forwards each client's payloads to the other clients and,
// once every client's barrier message of the round came, releases them all.
void relay(int listener, int count) {
  std::vector<int> clients;
  while (static_cast<int>(clients.size()) < count) {
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    clients.push_back(fd);
  }
  std::vector<std::string> pending(clients.size());
  std::vector<std::string> out(clients.size());  // written once a pass, as the RTI's forwarder does
  std::vector<pollfd> watched;
  for (const int fd : clients) watched.push_back({fd, POLLIN, 0});
  const std::string release = message(barrierBytes, 'R');
  int arrived = 0;
  char buffer[64 << 10];
  for (;;) {
    if (poll(watched.data(), watched.size(), 1000) <= 0) continue;
    for (std::size_t i = 0; i < clients.size(); ++i) {
      if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = recv(clients[i], buffer, sizeof buffer, 0);
      if (n <= 0) return;
      pending[i].append(buffer, static_cast<std::size_t>(n));
      std::size_t at = 0;
      while (pending[i].size() - at >= 2) {
        const std::size_t size = (static_cast<unsigned char>(pending[i][at]) << 8) |
                                 static_cast<unsigned char>(pending[i][at + 1]);
        if (pending[i].size() - at < size) break;
        if (pending[i][at + 2] == 'P') {
          for (std::size_t j = 0; j < clients.size(); ++j) {
            if (j != i) out[j].append(pending[i], at, size);
          }
        } else if (++arrived == count) {
          arrived = 0;
          for (std::string& to : out) to += release;
        }
        at += size;
      }
      pending[i].erase(0, at);
    }
    for (std::size_t j = 0; j < clients.size(); ++j) {
      if (!out[j].empty() && !writeAll(clients[j], out[j].data(), out[j].size())) return;
      out[j].clear();
    }
  }
}

void bareClient(int index, int port, bool withUpdates, std::uint32_t steps, Shared& shared) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(loopbackpair::loopback);
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    shared.failed = 1;
    return;
  }
  ++shared.ready;
  if (!awaitFlag(shared.start, 1, shared.failed)) return;
  // One write a step: the payload (when there is one) and the barrier.
  const std::string perStep = (withUpdates ? message(payloadBytes, 'P') : std::string()) + message(barrierBytes, 'B');
  std::string pending;
  char buffer[64 << 10];
  std::uint64_t payloads = 0;
  const auto begun = Clock::now();
  for (std::uint32_t step = 0; step < steps; ++step) {
    if (!writeAll(fd, perStep.data(), perStep.size())) {
      shared.failed = 1;
      return;
    }
    bool released = false;
    while (!released) {
      pollfd watched{fd, POLLIN, 0};
      if (poll(&watched, 1, 10000) <= 0) {
        shared.failed = 1;
        return;
      }
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) {
        shared.failed = 1;
        return;
      }
      pending.append(buffer, static_cast<std::size_t>(n));
      std::size_t at = 0;
      while (pending.size() - at >= 2) {
        const std::size_t size =
            (static_cast<unsigned char>(pending[at]) << 8) | static_cast<unsigned char>(pending[at + 1]);
        if (pending.size() - at < size) break;
        if (pending[at + 2] == 'P') ++payloads;
        if (pending[at + 2] == 'R') released = true;
        at += size;
      }
      pending.erase(0, at);
    }
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
  Shared* shared = loopbackpair::makeShared<Shared>();
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) children.push_back(loopbackpair::forkChild([&, i] { body(i, *shared); }));
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (shared->ready.load() < count && !shared->failed.load() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  shared->start = 1;
  for (const pid_t child : children) waitpid(child, nullptr, 0);
  Result result;
  result.ok = !shared->failed.load() && shared->ready.load() == count;
  for (int i = 0; i < count && result.ok; ++i) {
    result.perSecond += static_cast<double>(shared->received[i]) / shared->seconds[i] / count;
  }
  munmap(shared, sizeof(Shared));
  return result;
}

Result runRti(int count, bool withUpdates, std::uint32_t steps, int port) {
  BenchRtiExec exec(port, "rtiexec.log");
  if (!exec.waitReady()) return {};
  const Result result =
      runProcesses(count, [&](int i, Shared& shared) { federate(i, count, withUpdates, steps, shared); });
  if (!result.ok) {
    // What the rtiexec said, for the failed run.
    std::FILE* log = std::fopen("rtiexec.log", "r");
    char line[512];
    while (log && std::fgets(line, sizeof line, log)) std::fprintf(stderr, "  rtiexec: %s", line);
    if (log) std::fclose(log);
  }
  return result;
}

Result runBare(int count, bool withUpdates, std::uint32_t steps) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(loopbackpair::loopback);
  socklen_t length = sizeof local;
  if (bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(listener, 64) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    std::perror("time_advance: relay");
    std::exit(1);
  }
  const pid_t relayPid = loopbackpair::forkChild([&] { relay(listener, count); });
  close(listener);
  const int port = ntohs(local.sin_port);
  const Result result =
      runProcesses(count, [&](int i, Shared& shared) { bareClient(i, port, withUpdates, steps, shared); });
  kill(relayPid, SIGTERM);
  waitpid(relayPid, nullptr, 0);
  return result;
}

struct Range {
  double low = 0;
  double high = 0;
  void add(double value, bool first) {
    low = first ? value : std::min(low, value);
    high = first ? value : std::max(high, value);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(argc, argv, "time_advance",
                    "usage: bench_time_advance [--federates N] [--steps S] [--repeat R] [--mode 0|1|2]",
                    [&](const std::string& name, std::uint32_t value) {
                      if (name == "--federates") settings.federates = std::min<std::uint32_t>(value, maxFederates);
                      else if (name == "--steps") settings.steps = std::max<std::uint32_t>(value, 1);
                      else if (name == "--repeat") settings.repeat = std::max<std::uint32_t>(value, 1);
                      else if (name == "--mode") settings.mode = value;
                      else return false;
                      return true;
                    });
  signal(SIGPIPE, SIG_IGN);
  // A port of the system's choice, held while the bench runs, and a group of its own.
  DtNetSocket portHolder(0, loopbackpair::loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet,
                         loopbackpair::loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (81u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
  BenchFederation files(port, group,
                        {"time_advance", "Clock", clockFed, 1 << 20,
                         "(setq RTI_useRtiExec 1)\n(setq RTI_timeMgmt 1)\n(setq RTI_internalMsgReliable 1)\n"
                         "(setq RTI_fomDataReliable 1)\n(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n"
                         "(setq RTI_dumpFed 0)\n",
                         true});
  std::vector<int> sizes = {2, 4, 8};
  if (settings.federates >= 2) sizes = {static_cast<int>(settings.federates)};

  std::printf("time_advance: lock-step timeAdvanceRequest(t+1), lookahead 1, %u steps, %u runs (range)\n",
              settings.steps, settings.repeat);
  bool failed = false;
  for (const bool withUpdates : {false, true}) {
    if ((withUpdates && settings.mode == 1) || (!withUpdates && settings.mode == 2)) continue;
    std::printf("%s\n", withUpdates ? "one time-stamped 64-byte update per federate and step: updates delivered/s "
                                      "per federate"
                                    : "grants/s per federate");
    std::printf("%10s %22s %22s %16s\n", "federates", "RTI (rtiexec)", "bare barrier (relay)", "RTI / bare");
    for (const int count : sizes) {
      Range rti, bare, ratio;
      for (std::uint32_t run = 0; run < settings.repeat; ++run) {
        const Result b = runBare(count, withUpdates, settings.steps);
        const Result r = runRti(count, withUpdates, settings.steps, port);
        if (!b.ok || !r.ok) {
          std::fprintf(stderr, "time_advance: %d federates: a run failed (%s)\n", count, r.ok ? "bare" : "RTI");
          failed = true;
          continue;
        }
        rti.add(r.perSecond, run == 0);
        bare.add(b.perSecond, run == 0);
        ratio.add(r.perSecond / b.perSecond, run == 0);
      }
      std::printf("%10d %10.0f - %-9.0f %10.0f - %-9.0f %7.2f - %-6.2f\n", count, rti.low, rti.high, bare.low,
                  bare.high, ratio.low, ratio.high);
      std::fflush(stdout);
    }
  }
  return failed ? 1 : 0;
}
