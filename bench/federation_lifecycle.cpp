// What a federate pays to come and go in a federation without the rtiexec:
// the RTI ambassador's construction and destruction, and createFederation-
// Execution + joinFederationExecution + resignFederationExecution +
// destroyFederationExecution in one process and with a second process in
// the federation (which hears each resignation), in microseconds (median
// and 99th percentile). Beside each, measured in the same run: a RID file
// read and a bare UDP socket joined to the group (what an ambassador must
// at least do), one read of the FED file into a class manager (a cycle reads
// it twice), and a bare UDP datagram from one process to the other.
//
// Then the same through the rtiexec (the rtiexec program, started by the
// benchmark): create + join + resign + destroy, and join alone, beside a
// bare TCP request and answer of the join's sizes between two processes,
// measured in the same run.
//
// Run it inside a private network namespace (multicast on lo), as the tests
// run: tools/ensure-packages.sh's run_isolated. It works in a temporary
// directory of its own (RID file, FED file, the RTI's log file).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "BenchRtiExec.h"
#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtMsgSubscription.h"
#include "net/DtConnectionMgr.h"
#include "net/DtNetSocket.h"
#include "objects/DtFomClassMgr.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001u;
constexpr std::uint32_t maxCycles = 20000;
const std::filesystem::path sourceRoot = QLX_SOURCE_ROOT;

struct Settings {
  std::uint32_t cycles = 300;
  std::uint32_t constructions = 100;
};

std::int64_t now() { return Clock::now().time_since_epoch().count(); }
double micros(std::int64_t from, std::int64_t to) {
  return std::chrono::duration<double, std::micro>(Clock::duration(to - from)).count();
}

// Microseconds, with their percentiles (and a count of losses, unused).
using Samples = loopbackpair::RoundTrips;

void report(const char* what, Samples samples) {
  std::printf("  %-58s %10.1f %10.1f %7zu\n", what, samples.percentile(0.5), samples.percentile(0.99),
              samples.micros.size());
}

// What the two processes share: the start, the other process's sends and
// cycles, and how many of them the first process has heard.
struct Shared {
  std::atomic<int> ready{0};
  std::atomic<int> go{0};
  std::atomic<std::uint32_t> heard{0};
  std::atomic<std::uint32_t> done{0};
  std::int64_t sentAt[maxCycles];
  std::int64_t heardAt[maxCycles];
  double cycle[maxCycles];
};

void awaitFlag(const std::atomic<int>& flag) {
  while (!flag.load()) std::this_thread::yield();
}

// Waits until `heard` passes `count`, at most 200 ms; false on loss.
bool awaitHeard(const Shared& shared, std::uint32_t count) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(200);
  while (shared.heard.load() < count) {
    if (Clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

// The resign messages that reach a federate's connection manager from
// anyone but itself: each marks the time it was heard.
struct ResignListener {
  ResignListener(RTI::RTIambassador& ambassador, Shared& shared, RTI::FederateHandle self)
      : shared_(shared),
        self_(self),
        subscription_(DtRtiAmbassadorAccess::implementor(ambassador).connectMgr(), &ResignListener::heard, this) {}
  static void heard(const DtResignMsg& msg, void* self) {
    auto* listener = static_cast<ResignListener*>(self);
    if (msg.federateHandle() == listener->self_) return;
    const std::uint32_t k = listener->shared_.heard.load();
    if (k < maxCycles) listener->shared_.heardAt[k] = now();
    listener->shared_.heard.store(k + 1);
  }
  Shared& shared_;
  RTI::FederateHandle self_;
  DtMsgSubscription<DtResignMsg> subscription_;
};

void measureConstruction(const Settings& settings, int port, std::uint32_t group) {
  Samples construct, destruct, baseline;
  for (std::uint32_t i = 0; i < settings.constructions + 5; ++i) {
    const std::int64_t t0 = now();
    auto ambassador = std::make_unique<RTI::RTIambassador>();
    const std::int64_t t1 = now();
    ambassador.reset();
    const std::int64_t t2 = now();

    // The least an ambassador does: read the RID file, open a UDP socket on
    // the federation's port and join its group.
    const std::int64_t b0 = now();
    {
      DtRIDParameters rid;
      const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
      const int on = 1;
      setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(port));
      bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
      ip_mreq membership{};
      membership.imr_multiaddr.s_addr = htonl(group);
      membership.imr_interface.s_addr = htonl(loopback);
      setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
      close(fd);
    }
    const std::int64_t b1 = now();
    if (i < 5) continue;  // warm-up
    construct.micros.push_back(micros(t0, t1));
    destruct.micros.push_back(micros(t1, t2));
    baseline.micros.push_back(micros(b0, b1));
  }
  report("RTIambassador construction", construct);
  report("RTIambassador destruction", destruct);
  report("  baseline: RID file read + bare UDP socket joined to group", baseline);
}

struct OneProcess {
  Samples join;
  Samples fedRead;
};

OneProcess measureOneProcess(const Settings& settings, const char* label) {
  RTI::RTIambassador ambassador;
  NullFederateAmbassador fedAmb;
  Samples cycle, create, join, resign, destroy, fedRead;
  DtRIDParameters rid;
  for (std::uint32_t i = 0; i < settings.cycles + 5; ++i) {
    const std::int64_t t0 = now();
    ambassador.createFederationExecution("Bench", "bench.fed");
    const std::int64_t t1 = now();
    ambassador.joinFederationExecution("one", "Bench", &fedAmb);
    const std::int64_t t2 = now();
    ambassador.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    const std::int64_t t3 = now();
    ambassador.destroyFederationExecution("Bench");
    const std::int64_t t4 = now();
    ambassador.tick();  // its own resign message comes back

    const std::int64_t r0 = now();
    DtFedReader reader;
    const std::unique_ptr<DtFomClassMgr> model = DtFomClassMgr::loadFed(reader, "bench.fed", &rid);
    const std::int64_t r1 = now();
    if (i < 5) continue;
    cycle.micros.push_back(micros(t0, t4));
    create.micros.push_back(micros(t0, t1));
    join.micros.push_back(micros(t1, t2));
    resign.micros.push_back(micros(t2, t3));
    destroy.micros.push_back(micros(t3, t4));
    fedRead.micros.push_back(micros(r0, r1));
  }
  report((std::string("create + join + resign + destroy, one process") + label).c_str(), cycle);
  report("  createFederationExecution (reads the FED file)", create);
  report("  joinFederationExecution (reads it, makes the managers)", join);
  report("  resignFederationExecution", resign);
  report("  destroyFederationExecution", destroy);
  report("  baseline: one FED file read into a class manager", fedRead);
  return {join, fedRead};
}

void measureTwoProcesses(const Settings& settings, Shared& shared) {
  shared.ready = shared.go = 0;
  shared.heard = shared.done = 0;
  const pid_t child = loopbackpair::forkChild([&] {
    RTI::RTIambassador ambassador;
    NullFederateAmbassador fedAmb;
    shared.ready = 1;
    awaitFlag(shared.go);
    for (std::uint32_t i = 0; i < settings.cycles; ++i) {
      const std::int64_t t0 = now();
      ambassador.createFederationExecution("Bench", "bench.fed");
      ambassador.joinFederationExecution("two", "Bench", &fedAmb);
      shared.sentAt[i] = now();
      ambassador.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
      ambassador.destroyFederationExecution("Bench");
      shared.cycle[i] = micros(t0, now());
      shared.done = i + 1;
      ambassador.tick();
      // One resignation in flight at a time, so that each is timed alone.
      if (!awaitHeard(shared, i + 1)) shared.heard.store(i + 1);
    }
  });
  awaitFlag(shared.ready);
  RTI::RTIambassador ambassador;
  NullFederateAmbassador fedAmb;
  ambassador.createFederationExecution("Bench", "bench.fed");
  const RTI::FederateHandle self = ambassador.joinFederationExecution("listener", "Bench", &fedAmb);
  {
    ResignListener listener(ambassador, shared, self);
    shared.go = 1;
    while (shared.done.load() < settings.cycles || shared.heard.load() < settings.cycles) {
      if (!ambassador.tick(0.0, 0.001)) std::this_thread::yield();
      int status = 0;
      if (waitpid(child, &status, WNOHANG) == child) break;
    }
  }
  waitpid(child, nullptr, 0);
  ambassador.resignFederationExecution(RTI::NO_ACTION);
  ambassador.destroyFederationExecution("Bench");

  Samples cycle, latency;
  std::uint32_t lost = 0;
  for (std::uint32_t i = 0; i < settings.cycles; ++i) {
    cycle.micros.push_back(shared.cycle[i]);
    if (shared.heardAt[i] > shared.sentAt[i]) {
      latency.micros.push_back(micros(shared.sentAt[i], shared.heardAt[i]));
    } else {
      ++lost;
    }
  }
  report("create + join + resign + destroy, a second process joined", cycle);
  report("  from its resign call to the other process hearing it", latency);
  if (lost) std::printf("  resignations not heard within 200 ms: %u\n", lost);
}

// The same one-way trip for a bare datagram: the child sends, stamped, and
// waits for the parent to have it; the parent reads as the federate ticks.
void measureBareOneWay(const Settings& settings, Shared& shared, int port) {
  shared.ready = shared.go = 0;
  shared.heard = 0;
  const int receiver = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(loopback);
  address.sin_port = htons(static_cast<std::uint16_t>(port + 1 > 65535 ? port - 1 : port + 1));
  bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address);
  const pid_t child = loopbackpair::forkChild([&] {
    const int sender = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    char datagram[28] = {};
    shared.ready = 1;
    for (std::uint32_t i = 0; i < settings.cycles; ++i) {
      shared.sentAt[i] = now();
      sendto(sender, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&address), sizeof address);
      if (!awaitHeard(shared, i + 1)) shared.heard.store(i + 1);
    }
    close(sender);
  });
  awaitFlag(shared.ready);
  // Read as the federate ticks: without waiting, giving the processor away
  // while nothing came; a second without a datagram ends it.
  char buffer[64];
  auto quietSince = Clock::now();
  while (shared.heard.load() < settings.cycles && Clock::now() - quietSince < std::chrono::seconds(1)) {
    if (recv(receiver, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
      std::uint32_t k = shared.heard.load();
      shared.heardAt[k] = now();
      shared.heard.store(++k);
      quietSince = Clock::now();
    } else {
      std::this_thread::yield();
    }
  }
  waitpid(child, nullptr, 0);
  close(receiver);
  Samples latency;
  for (std::uint32_t i = 0; i < settings.cycles; ++i) {
    if (shared.heardAt[i] > shared.sentAt[i]) latency.micros.push_back(micros(shared.sentAt[i], shared.heardAt[i]));
  }
  report("  baseline: bare UDP datagram to the other process", latency);
}

// A bare TCP request of a join message's size and an answer of a join
// response's, between this process and a forked one that answers each.
Samples measureBareTcpRoundTrip(const Settings& settings) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(loopback);
  socklen_t length = sizeof address;
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 1);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  constexpr std::size_t request = 92, answer = 105;
  auto readFully = [](int fd, char* buffer, std::size_t size) {
    for (std::size_t got = 0; got < size;) {
      const ssize_t n = read(fd, buffer + got, size - got);
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    return true;
  };
  const pid_t child = loopbackpair::forkChild([&] {
    const int fd = accept(listener, nullptr, nullptr);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    char buffer[answer] = {};
    while (readFully(fd, buffer, request)) {
      if (write(fd, buffer, answer) != static_cast<ssize_t>(answer)) break;
    }
    close(fd);
  });
  close(listener);
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  Samples trips;
  char buffer[answer] = {};
  for (std::uint32_t i = 0; i < settings.cycles + 5; ++i) {
    const std::int64_t t0 = now();
    if (write(fd, buffer, request) != static_cast<ssize_t>(request) || !readFully(fd, buffer, answer)) break;
    const std::int64_t t1 = now();
    if (i >= 5) trips.micros.push_back(micros(t0, t1));
  }
  close(fd);
  waitpid(child, nullptr, 0);
  return trips;
}

Settings parse(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(argc, argv, "federation_lifecycle",
                    "Usage: bench_federation_lifecycle [--cycles N] [--constructions N]\n"
                    "Defaults: 300 cycles of create + join + resign + destroy, 100 ambassadors made.",
                    [&](const std::string& option, std::uint32_t value) {
                      if (option == "--cycles") {
                        settings.cycles = std::clamp(value, 1u, maxCycles);
                      } else if (option == "--constructions") {
                        settings.constructions = std::max(value, 1u);
                      } else {
                        return false;
                      }
                      return true;
                    });
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  auto* shared = loopbackpair::makeShared<Shared>();

  // A port of the system's choice, held while the bench runs, and its group.
  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (79u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);

  // A working directory of its own: the RID file, the FED file, the log.
  char directory[] = "/tmp/federation_lifecycle_XXXXXX";
  if (!mkdtemp(directory)) {
    std::perror("federation_lifecycle: temporary directory");
    return 1;
  }
  std::filesystem::current_path(directory);
  std::filesystem::copy_file(sourceRoot / "rti/config/sample.fed", "bench.fed");
  const std::string groupText = std::to_string(group >> 24) + "." + std::to_string((group >> 16) & 255) + "." +
                                std::to_string((group >> 8) & 255) + "." + std::to_string(group & 255);
  std::ofstream("rid.mtl") << "(setq RTI_notifyLevel 1)\n(setq RTI_udpPort " << port << ")\n(setq RTI_destAddrString \""
                           << groupText << "\")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n";
  setenv("RTI_RID_FILE", (std::filesystem::path(directory) / "rid.mtl").c_str(), 1);
  unsetenv("RTI_CONFIG");

  std::printf("federation_lifecycle: %u cycles, %u ambassadors; microseconds\n", settings.cycles,
              settings.constructions);
  std::printf("  %-58s %10s %10s %7s\n", "", "median", "99%", "count");
  measureConstruction(settings, port, group);
  measureOneProcess(settings, "");
  measureTwoProcesses(settings, *shared);
  measureBareOneWay(settings, *shared, port);

  // Through the rtiexec, which listens on the federation's port.
  std::ofstream("rid.mtl", std::ios::app)
      << "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n";
  {
    const BenchRtiExec exec(port, (std::filesystem::path(directory) / "rtiexec.log").string());
    if (!exec.waitReady()) {
      std::printf("the rtiexec did not start\n");
    } else {
      OneProcess rtiexec = measureOneProcess(settings, ", through the rtiexec");
      Samples bare = measureBareTcpRoundTrip(settings);
      report("  baseline: bare TCP request and answer (92 and 105 bytes)", bare);
      const double budget = 4 * bare.percentile(0.5) + rtiexec.fedRead.percentile(0.5);
      std::printf(
          "  join through the rtiexec: median %.1f us, %.2f of 4 bare round trips + one FED file read "
          "(%.1f us; goal <= 1)\n",
          rtiexec.join.percentile(0.5), budget > 0 ? rtiexec.join.percentile(0.5) / budget : 0.0, budget);
    }
  }

  std::filesystem::current_path("/");
  std::filesystem::remove_all(directory);
  return 0;
}
