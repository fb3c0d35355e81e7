#pragma once
// What the benchmarks of two processes on the loopback share: a process's
// end of a path (the bare one over the system calls alone, the RTI's in each
// benchmark), the memory the two processes share, the forked receiving
// process, and the ping-pong measurement of round trips.
//
// The processes are told apart by their roles, which the paths carry as the
// sending federate's handle; a path hands every message to the caller with
// its number and the role that sent it (a process sees its own multicast
// traffic too).

#include <netinet/in.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "util/DtBigEndian.h"

namespace loopbackpair {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001u;
constexpr int sender = 1, receiver = 2;  // the roles, the federate handles of the two processes

inline std::int64_t now() { return Clock::now().time_since_epoch().count(); }

// What the receiving process tells the sending one.
struct Shared {
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::int64_t> lastArrival{0};
  std::atomic<int> ready{0};
};

// Lives as long as the program, in memory that forked children share.
template <class T = Shared>
T* makeShared() {
  void* memory = mmap(nullptr, sizeof(T), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    std::perror("shared memory");
    std::exit(1);
  }
  return new (memory) T;
}

using OnMessage = std::function<void(std::uint32_t number, int from)>;

// One process's end of a path.
class Endpoint {
public:
  virtual ~Endpoint() = default;
  virtual void send(std::uint32_t number) = 0;
  // Handles at most one message; false when none was waiting.
  virtual bool receiveOne(const OnMessage& onMessage) = 0;
  virtual void wait(double seconds) = 0;
};

using MakeEndpoint = std::function<std::unique_ptr<Endpoint>(int role)>;

// The bare path: a UDP socket as a federate's would be (the port, the group
// on the loopback, the receive buffer), read and written with the system
// calls alone. Its datagrams look like RTI messages: size, role as the
// sender, kind, and the number at byte 8.
class BareEndpoint : public Endpoint {
public:
  BareEndpoint(int port, std::uint32_t group, int role, std::uint32_t size, int kind, int receiveBuffer)
      : datagram_(std::max<std::uint32_t>(size, 12), 0), buffer_(15000) {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    const int one = 1, zero = 0;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_ALL, &zero, sizeof zero);
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      std::perror("bare bind");
      std::exit(1);
    }
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = htonl(group);
    membership.imr_interface.s_addr = htonl(loopback);
    setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
    in_addr interface { htonl(loopback) };
    setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &interface, sizeof interface);
    to_ = local;
    to_.sin_addr.s_addr = htonl(group);
    DtPutBigEndian(static_cast<std::uint16_t>(datagram_.size()), datagram_.data());
    DtPutBigEndian(static_cast<std::uint16_t>(role), datagram_.data() + 2);
    datagram_[4] = static_cast<char>(kind);
  }
  ~BareEndpoint() override { close(fd_); }
  void send(std::uint32_t number) override {
    DtPutBigEndian(number, datagram_.data() + 8);
    sendto(fd_, datagram_.data(), datagram_.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
  }
  bool receiveOne(const OnMessage& onMessage) override {
    const ssize_t length = recv(fd_, buffer_.data(), buffer_.size(), 0);
    if (length < 12) return false;
    onMessage(DtGetBigEndian<std::uint32_t>(buffer_.data() + 8), DtGetBigEndian<std::uint16_t>(buffer_.data() + 2));
    return true;
  }
  void wait(double seconds) override {
    if (waitLimit_ == 0) return;
    if (waitLimit_ > 0) seconds = std::min(seconds, waitLimit_);
    pollfd watched{fd_, POLLIN, 0};
    const auto nanoseconds = static_cast<long>(seconds * 1e9);
    const timespec timeout{nanoseconds / 1000000000, nanoseconds % 1000000000};
    ppoll(&watched, 1, &timeout, nullptr);
  }
  // How long one wait for input lasts at most: 0 does not wait at all (the
  // receiving loop spins), a negative limit waits as long as asked.
  void setWaitLimit(double seconds) { waitLimit_ = seconds; }

private:
  double waitLimit_ = -1;
  int fd_;
  sockaddr_in to_{};
  std::vector<char> datagram_;
  std::vector<char> buffer_;
};

// Runs `body` in a child process; returns its pid.
inline pid_t forkChild(const std::function<void()>& body) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    body();
    std::fflush(stdout);
    _exit(0);
  }
  return pid;
}

inline void awaitReady(Shared& shared) {
  while (!shared.ready.load()) std::this_thread::yield();
}

struct Rate {
  std::uint64_t received = 0;
  double seconds = 0;
  double sendSeconds = 0;
  double perSecond() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
};

// Open loop: the sending process sends `count` messages as fast as it can,
// or `pace` a second when that is not 0; the receiving one handles and
// counts what reaches it until all came or a second passed without any. The
// rate is what arrived per second; what did not arrive is lost.
inline Rate measureRate(const MakeEndpoint& make, std::uint32_t count, double pace, Shared& shared) {
  shared.received = 0;
  shared.ready = 0;
  const pid_t child = forkChild([&] {
    auto endpoint = make(receiver);
    shared.ready = 1;
    const OnMessage tally = [&](std::uint32_t, int from) {
      if (from != sender) return;
      shared.lastArrival = now();
      shared.received.fetch_add(1, std::memory_order_relaxed);
    };
    auto quietSince = Clock::now();
    while (shared.received.load() < count && Clock::now() - quietSince < std::chrono::seconds(1)) {
      if (endpoint->receiveOne(tally)) {
        quietSince = Clock::now();
      } else {
        endpoint->wait(0.01);
      }
    }
  });
  awaitReady(shared);
  auto endpoint = make(sender);
  const std::int64_t start = now();
  constexpr double ticksPerSecond = static_cast<double>(Clock::period::den) / Clock::period::num;
  const double interval = pace > 0 ? ticksPerSecond / pace : 0;  // in clock ticks
  for (std::uint32_t sent = 0; sent < count; ++sent) {
    if (interval > 0) {
      const auto due = start + static_cast<std::int64_t>(interval * sent);
      while (now() < due) {
      }
    }
    endpoint->send(sent);
  }
  Rate rate;
  rate.sendSeconds = std::chrono::duration<double>(Clock::duration(now() - start)).count();
  waitpid(child, nullptr, 0);
  rate.received = shared.received.load();
  rate.seconds = std::chrono::duration<double>(Clock::duration(shared.lastArrival.load() - start)).count();
  return rate;
}

struct RoundTrips {
  std::vector<double> micros;
  std::uint32_t lost = 0;
  double percentile(double p) {
    if (micros.empty()) return 0;
    std::sort(micros.begin(), micros.end());
    return micros[std::min(micros.size() - 1, static_cast<std::size_t>(p * static_cast<double>(micros.size())))];
  }
};

// One message out, the receiving process sends it back as it handles it;
// `pings` times, back to back or one every `interval` seconds (so that
// paths that sleep between messages and paths that do not are timed from
// the same idle state). A ping without an answer within a second counts as
// lost; the receiver gives up after two seconds without a ping.
inline RoundTrips measureRoundTrips(const MakeEndpoint& make, std::uint32_t pings, Shared& shared,
                                    double interval = 0) {
  shared.ready = 0;
  const pid_t child = forkChild([&] {
    auto endpoint = make(receiver);
    shared.ready = 1;
    std::uint32_t answered = 0;
    const OnMessage echo = [&](std::uint32_t number, int from) {
      if (from != sender) return;
      endpoint->send(number);
      ++answered;
    };
    auto quietSince = Clock::now();
    while (answered < pings && Clock::now() - quietSince < std::chrono::seconds(2)) {
      const std::uint32_t before = answered;
      if (!endpoint->receiveOne(echo)) endpoint->wait(0.01);
      if (answered != before) quietSince = Clock::now();
    }
  });
  awaitReady(shared);
  auto endpoint = make(sender);
  RoundTrips trips;
  for (std::uint32_t ping = 0; ping < pings; ++ping) {
    bool answered = false;
    Clock::time_point arrival;
    // The answer's time is taken as it is handed over: a path whose receive
    // call goes on for a while after (a tick with a minimum time) is timed
    // by its delivery.
    const OnMessage awaitEcho = [&](std::uint32_t number, int from) {
      if (answered || from != receiver || number != ping) return;
      answered = true;
      arrival = Clock::now();
    };
    const auto start = Clock::now();
    endpoint->send(ping);
    while (!answered && Clock::now() - start < std::chrono::seconds(1)) {
      if (!endpoint->receiveOne(awaitEcho)) endpoint->wait(0.01);
    }
    if (answered) {
      trips.micros.push_back(std::chrono::duration<double, std::micro>(arrival - start).count());
    } else {
      ++trips.lost;
    }
    if (interval > 0) std::this_thread::sleep_until(start + std::chrono::duration<double>(interval));
  }
  waitpid(child, nullptr, 0);
  return trips;
}

}  // namespace loopbackpair
