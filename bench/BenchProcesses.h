#pragma once
// What the benchmarks of federations of several processes share
// (time_advance, sync_points): the federation's files and port for the
// rtiexec; N forked processes started together through flags in shared
// memory, every wait bounded; a federate's tick loop, blocked in poll()
// between ticks, and its start and end in the run; the bare TCP side that
// such a benchmark measures beside the RTI (a listener on the loopback, its
// clients with TCP_NODELAY, whole writes, messages with a 16-bit size
// first, as RTI messages have); the rtiexec's log shown after a failed run;
// the federation sizes, tick styles and run lengths a run measures; and the
// range of a figure over the runs.

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
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchFederation.h"
#include "BenchRtiExec.h"
#include "DtRtiExtensions.hh"
#include "LoopbackPair.h"
#include "RTI.hh"
#include "net/DtNetSocket.h"

namespace benchprocs {

using Clock = std::chrono::steady_clock;

// The flags a run's processes share; a benchmark's shared record derives
// from it and adds its results.
struct ProcessFlags {
  std::atomic<int> created{0};
  std::atomic<int> ready{0};
  std::atomic<int> start{0};
  std::atomic<int> finished{0};
  std::atomic<int> failed{0};
};

// False when another process failed first, or after 30 s.
inline bool awaitFlag(const std::atomic<int>& flag, int value, const std::atomic<int>& failed) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (flag.load() < value) {
    if (failed.load() || Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// How a run's federates wait for their callbacks: blocked in poll() on the
// RTI's descriptors between ticks (the library's extension), or looping on
// tick() alone, as a federate written against the standard API does; the
// second both as the RTI comes (tick() gives the processor away when idle)
// and with RTI_tickIdleWait, under which an idle tick() sleeps until input
// comes (for at most 5 ms, where an idle federate uses about 2 % of a core).
enum class TickStyle { Poll, Spinning, SpinningIdleWait };
inline constexpr TickStyle tickStyles[] = {TickStyle::Poll, TickStyle::Spinning, TickStyle::SpinningIdleWait};
inline constexpr const char* idleWaitRid = "(setq RTI_tickIdleWait 0.005)\n";
inline const char* tickStyleName(TickStyle style) {
  switch (style) {
    case TickStyle::Poll: return "poll";
    case TickStyle::Spinning: return "spinning";
    case TickStyle::SpinningIdleWait: return "spinning+idle wait";
  }
  return "";
}
// The style of this process's federates; a run sets it before it forks them.
inline TickStyle theTickStyle = TickStyle::Poll;

// Ticks, in the run's style, until the condition holds; false after
// `seconds`.
template <class Condition>
bool tickUntil(RTI::RTIambassador& rti, Condition done, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  if (theTickStyle != TickStyle::Poll) {
    while (!done()) {
      rti.tick();
      if (done()) break;
      if (Clock::now() > deadline) return false;
    }
    return true;
  }
  const int fds[] = {DtReadFileDescriptor(&rti, 1), DtReadFileDescriptor(&rti, 0)};
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

// A record of type Shared (deriving from ProcessFlags) in memory that
// forked processes share; freeShared gives it back.
template <class Shared>
Shared* makeShared() {
  return loopbackpair::makeShared<Shared>();
}
template <class Shared>
void freeShared(Shared* shared) {
  shared->~Shared();
  munmap(shared, sizeof(Shared));
}

// Forks the `count` processes that body(i, shared) runs, starts them
// together once all are ready (or one failed, or a minute went by), and
// waits for them. True when all were ready and none failed.
template <class Shared, class Body>
bool runForked(int count, Shared& shared, Body body) {
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) children.push_back(loopbackpair::forkChild([&, i] { body(i, shared); }));
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (shared.ready.load() < count && !shared.failed.load() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  shared.start = 1;
  for (const pid_t child : children) waitpid(child, nullptr, 0);
  return !shared.failed.load() && shared.ready.load() == count;
}

// The federation of a benchmark through the rtiexec: a port of the system's
// choice (held while the benchmark runs), a multicast group of its own
// (239.groupByte.<port>), and the RID and FED files in a scratch folder
// that becomes the working folder, with reliable transport through the
// rtiexec on the loopback and the extra RID lines.
class ExecFederation {
public:
  ExecFederation(const char* benchName, const std::string& executionName, const std::string& fedText,
                 unsigned groupByte, const std::string& extraRidLines)
      : portHolder_(0, loopbackpair::loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopbackpair::loopback),
        files_(portHolder_.port(),
               (239u << 24) | ((groupByte & 0xFFu) << 16) | static_cast<std::uint32_t>(portHolder_.port() & 0xFFFF),
               {benchName, executionName, fedText, 1 << 20,
                "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n"
                "(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n(setq RTI_dumpFed 0)\n" +
                    extraRidLines,
                true}),
        plainRid_(files_.ridPath()),
        idleWaitRid_(files_.writeRidVariant("rid-idle-wait.mtl", idleWaitRid)) {}
  int port() const { return portHolder_.port(); }
  // Points the RTI (RTI_RID_FILE) at the federation's RID file as it is,
  // or with the lines that the style asks for, for the processes started
  // from now on.
  void useRidFor(TickStyle style) const {
    setenv("RTI_RID_FILE", (style == TickStyle::SpinningIdleWait ? idleWaitRid_ : plainRid_).c_str(), 1);
  }

private:
  DtNetSocket portHolder_;
  BenchFederation files_;
  std::string plainRid_;
  std::string idleWaitRid_;
};

// Federate `index` of a run joins the execution as F<index>; federate 0
// creates it first. RTI exceptions pass through.
inline void joinRun(RTI::RTIambassador& rti, int index, const char* execution, const char* fedFile,
                    RTI::FederateAmbassador* amb, ProcessFlags& shared) {
  if (index == 0) {
    rti.createFederationExecution(execution, fedFile);
    shared.created = 1;
  }
  if (!awaitFlag(shared.created, 1, shared.failed)) throw RTI::RTIinternalError("no execution");
  std::string name = std::to_string(index);
  name.insert(name.begin(), 'F');
  rti.joinFederationExecution(name.c_str(), execution, amb);
}

// The end of a federate's run: everyone finishes before anyone leaves (it
// ticks meanwhile), then it resigns, and federate 0 destroys the execution
// once the others are gone.
inline void leaveRun(RTI::RTIambassador& rti, int index, int count, const char* execution, RTI::ResignAction action,
                     ProcessFlags& shared) {
  ++shared.finished;
  tickUntil(
      rti, [&] { return shared.finished.load() >= count || shared.failed.load() != 0; }, 30);
  rti.resignFederationExecution(action);
  if (index != 0) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    try {
      rti.destroyFederationExecution(execution);
      return;
    } catch (const RTI::FederatesCurrentlyJoined&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

// A federate's run ended with the exception: said, and the run failed.
inline void failRun(const char* benchName, int index, const RTI::Exception& e, ProcessFlags& shared) {
  std::fprintf(stderr, "%s: federate %d: %s %s\n", benchName, index, e._name ? e._name : "",
               e._reason ? e._reason : "");
  shared.failed = 1;
}

// The rtiexec's output, on standard error, after a run that failed.
inline void showRtiExecLog(const char* path) {
  std::FILE* log = std::fopen(path, "r");
  char line[512];
  while (log && std::fgets(line, sizeof line, log)) std::fprintf(stderr, "  rtiexec: %s", line);
  if (log) std::fclose(log);
}

// One run through an rtiexec of its own, the federates waiting in the
// style: run() forks them and returns the Result (with its `ok`); the
// rtiexec's log is shown when it failed.
template <class Result, class Run>
Result runThroughRtiExec(const ExecFederation& federation, TickStyle style, Run run) {
  federation.useRidFor(style);
  theTickStyle = style;
  BenchRtiExec exec(federation.port(), "rtiexec.log");
  if (!exec.waitReady()) return {};
  const Result result = run();
  if (!result.ok) showRtiExecLog("rtiexec.log");
  return result;
}

// The options that pick what a benchmark measures: --federates N (0, the
// default: 2 to 64), --repeat R (runs of each), --style S (0, the default:
// every tick style; 1 to 3 one of them).
struct RunSettings {
  std::uint32_t federates = 0;
  std::uint32_t repeat = 3;
  std::uint32_t style = 0;

  // Takes the option when it is one of these (N at most `maxFederates`).
  bool take(const std::string& name, std::uint32_t value, int maxFederates) {
    if (name == "--federates")
      federates = std::min(value, static_cast<std::uint32_t>(maxFederates));
    else if (name == "--repeat")
      repeat = std::max<std::uint32_t>(value, 1);
    else if (name == "--style")
      style = value;
    else
      return false;
    return true;
  }
  std::vector<int> sizes() const {
    if (federates >= 2) return {static_cast<int>(federates)};
    return {2, 4, 8, 16, 32, 64};
  }
  std::vector<TickStyle> styles() const {
    if (style >= 1 && style <= std::size(tickStyles)) return {tickStyles[style - 1]};
    return {std::begin(tickStyles), std::end(tickStyles)};
  }
};

// How many rounds `count` federates take: as asked up to 8 federates, and
// 8/count of it above (at least 200).
inline std::uint32_t roundsFor(int count, std::uint32_t asked) {
  return count <= 8 ? asked : std::max<std::uint32_t>(200, asked * 8 / static_cast<std::uint32_t>(count));
}

// ---- the bare side

inline bool writeAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = send(fd, data, length, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

// A message of `size` bytes: its size in the first two, its kind in the third.
inline std::string sizedMessage(std::size_t size, char kind) {
  std::string m(size, '\0');
  m[0] = static_cast<char>(size >> 8);
  m[1] = static_cast<char>(size & 0xFF);
  m[2] = kind;
  return m;
}

// Hands the whole sized messages at the front of `pending` to
// onMessage(at, size, kind) and takes them out.
template <class OnMessage>
void takeSized(std::string& pending, OnMessage onMessage) {
  std::size_t at = 0;
  while (pending.size() - at >= 3) {
    const std::size_t size =
        (static_cast<unsigned char>(pending[at]) << 8) | static_cast<unsigned char>(pending[at + 1]);
    if (size < 3 || pending.size() - at < size) break;
    onMessage(at, size, pending[at + 2]);
    at += size;
  }
  pending.erase(0, at);
}

// A listening socket on the loopback, on a port of the system's choice
// (set in *port); the program ends, naming the benchmark, when it cannot.
inline int listenLoopback(const char* benchName, int* port) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(loopbackpair::loopback);
  socklen_t length = sizeof local;
  if (bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(listener, 64) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    std::perror((std::string(benchName) + ": relay").c_str());
    std::exit(1);
  }
  *port = ntohs(local.sin_port);
  return listener;
}

// The next `count` connections, with TCP_NODELAY.
inline std::vector<int> acceptClients(int listener, int count) {
  std::vector<int> clients;
  while (static_cast<int>(clients.size()) < count) {
    const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    clients.push_back(fd);
  }
  return clients;
}

// A connection to the port on the loopback, with TCP_NODELAY; -1 when it
// cannot connect.
inline int connectLoopback(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(loopbackpair::loopback);
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// The bare side's relay: a process that runs relay(listener) on a listener
// of its own on the loopback (its port in *port) until stopRelay.
template <class Relay>
pid_t startRelay(const char* benchName, int* port, Relay relay) {
  const int listener = listenLoopback(benchName, port);
  const pid_t pid = loopbackpair::forkChild([&] { relay(listener); });
  close(listener);
  return pid;
}
inline void stopRelay(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// One bare run: run(port) beside a relay that runs relay(listener).
template <class Relay, class Run>
auto runBesideRelay(const char* benchName, Relay relay, Run run) {
  int port = 0;
  const pid_t relayPid = startRelay(benchName, &port, relay);
  const auto result = run(port);
  stopRelay(relayPid);
  return result;
}

// The relay's loop over its `count` clients (accepted first): each pass
// hands every whole message read from client i to
// onMessage(i, pending[i], at, size, kind), then calls afterPass(clients),
// which writes what it has (false: stop). It ends when a client does.
template <class OnMessage, class AfterPass>
void relayLoop(int listener, int count, OnMessage onMessage, AfterPass afterPass) {
  const std::vector<int> clients = acceptClients(listener, count);
  std::vector<std::string> pending(clients.size());
  std::vector<pollfd> watched;
  for (const int fd : clients) watched.push_back({fd, POLLIN, 0});
  char buffer[64 << 10];
  for (;;) {
    if (poll(watched.data(), watched.size(), 1000) <= 0) continue;
    for (std::size_t i = 0; i < clients.size(); ++i) {
      if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      const ssize_t n = recv(clients[i], buffer, sizeof buffer, 0);
      if (n <= 0) return;
      pending[i].append(buffer, static_cast<std::size_t>(n));
      takeSized(pending[i],
                [&](std::size_t at, std::size_t size, char kind) { onMessage(i, pending[i], at, size, kind); });
    }
    if (!afterPass(clients)) return;
  }
}

// A bare client's start: its connection to the relay, then ready, then the
// common start; -1 (and the run failed) when it cannot connect, -1 when
// another process failed.
inline int startBareClient(int port, ProcessFlags& shared) {
  const int fd = connectLoopback(port);
  if (fd < 0) {
    shared.failed = 1;
    return -1;
  }
  ++shared.ready;
  if (!awaitFlag(shared.start, 1, shared.failed)) {
    close(fd);
    return -1;
  }
  return fd;
}

// Reads once what the connection has, within 10 s, onto `pending`; false
// when nothing came or the connection ended.
inline bool readSome(int fd, std::string& pending) {
  char buffer[64 << 10];
  pollfd watched{fd, POLLIN, 0};
  if (poll(&watched, 1, 10000) <= 0) return false;
  const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  pending.append(buffer, static_cast<std::size_t>(n));
  return true;
}

// Reads and hands each whole message's kind to onKind until it returns true
// for one (the messages after it in the same read go to it too); false,
// and the run failed, when the connection fails or stays silent.
template <class OnKind>
bool readUntil(int fd, std::string& pending, ProcessFlags& shared, OnKind onKind) {
  bool done = false;
  while (!done) {
    if (!readSome(fd, pending)) {
      shared.failed = 1;
      return false;
    }
    takeSized(pending, [&](std::size_t, std::size_t, char kind) { done = onKind(kind) || done; });
  }
  return true;
}

// The range of a figure over the runs (0 - 0 when no run gave one).
struct Range {
  double low = 0;
  double high = 0;
  bool any = false;
  void add(double value) {
    low = any ? std::min(low, value) : value;
    high = any ? std::max(high, value) : value;
    any = true;
  }
};

}  // namespace benchprocs
