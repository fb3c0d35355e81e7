// Two processes on the loopback exchange update-sized RTI messages through
// the connection manager (synchronous and asynchronous, over UDP multicast)
// and through the rtiexec network thread's TCP forwarder (a third process
// relays; both federates send reliably), beside a bare UDP sendto/recvfrom
// loop and a bare ping-pong of the same datagrams measured in the same run. Run it inside a private network namespace
// (multicast on lo), as the tests run: tools/ensure-packages.sh's run_isolated.
//
// Rate: the sender keeps at most --window messages in flight (sent, not yet
// counted by the receiving process, which publishes its count in shared
// memory), so neither socket buffer overflows while the receiver keeps up;
// what is lost anyway is counted, and a receiver gives up after a second
// without traffic. Round trip: one message out, its echo back, --pings times;
// a ping without an answer within a second counts as lost.
//
// Each measurement forks a fresh receiving process; both processes use the
// same loop for each path (read one message, or wait up to 10 ms for one).

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "LoopbackPair.h"
#include "config/DtRIDParameters.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtRtiMsgFactory.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtNetSocket.h"
#include "net/DtRtiExecNetThread.h"
#include "util/DtBigEndian.h"
#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

namespace {

using namespace loopbackpair;
constexpr DtRtiMsgKind benchKind = DtRtiMsgKind(200);

struct Settings {
  std::uint32_t count = 100000;
  std::uint32_t window = 32;
  std::uint32_t pings = 5000;
  std::uint32_t size = 120;  // bytes of a message, header included: an attribute update's size
  std::uint32_t repeat = 3;
};

// The relay process's start and stop, between the processes.
struct RelayControl {
  std::atomic<int> ready{0};
  std::atomic<int> stop{0};
};

// A message of the bench's kind: any size, its number at byte 8.
class BenchMsg : public DtRtiMsg {
public:
  BenchMsg(int size, std::uint32_t number) : DtRtiMsg(size, benchKind, nullptr) { DtPutBigEndian(number, data() + 8); }
  BenchMsg(const char* bytes, DtBufferPlaceHolder* where) : DtRtiMsg(bytes, where) {}
  DtRtiMsg* clone(char copy) const override { return copy ? new BenchMsg(*this) : new BenchMsg(size(), 0); }
  DtRtiMsgKind internalDtRtiMsgKind() const override { return benchKind; }
  static DtRtiMsg* received(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
    return new BenchMsg(header->bytes(), where);
  }
  static DtRtiMsg* empty(DtBufferPlaceHolder*) { return new BenchMsg(16, 0); }
};

// The RTI's path: a federate's connection manager made from a RID file.
class ManagerEndpoint : public Endpoint {
public:
  // Reliable: both federates reach each other through the rtiexec's
  // forwarder on the port (TCP), and send reliably.
  ManagerEndpoint(int port, std::uint32_t group, int role, std::uint32_t size, bool asynchronous, bool reliable = false)
      : size_(size), transport_(reliable ? DtReliable : DtBestEffort) {
    char path[] = "/tmp/connection_throughput_rid_XXXXXX";
    const int fd = mkstemp(path);
    const std::string rid = "(setq RTI_udpPort " + std::to_string(port) + ")\n(setq RTI_destAddrString \"" +
                            DottedAddress(group) + "\")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n" +
                            "(setq RTI_asynchronousIO " + (asynchronous ? "1" : "0") + ")\n" +
                            (reliable ? "(setq RTI_useRtiExec 1)\n(setq RTI_fomDataReliable 1)\n"
                                        "(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n"
                                      : "");
    if (fd < 0 || write(fd, rid.data(), rid.size()) != static_cast<ssize_t>(rid.size())) {
      std::perror("connection_throughput: RID file");
      std::exit(1);
    }
    close(fd);
    setenv("RTI_RID_FILE", path, 1);
    rid_ = std::make_unique<DtRIDParameters>();
    unlink(path);
    mgr_ = DtAsyncConnectionMgr::create(rid_.get());
    mgr_->msgFactory()->addCreators(benchKind, &BenchMsg::received, &BenchMsg::empty);
    mgr_->addMsgCallback(benchKind, &ManagerEndpoint::onMessage, this, 0);
    mgr_->connectFederation(nullptr, "", static_cast<unsigned long>(role), 0);
  }
  ~ManagerEndpoint() override { mgr_->disconnectFederation(); }
  void send(std::uint32_t number) override {
    BenchMsg msg(static_cast<int>(size_), number);
    mgr_->sendStamped(msg, transport_);
  }
  bool receiveOne(const OnMessage& onMessage) override {
    handler_ = &onMessage;
    return mgr_->tick() == RTI::RTI_TRUE;
  }
  void wait(double seconds) override { mgr_->wait(seconds); }

private:
  static void onMessage(const DtRtiMsg& msg, void* data) {
    auto* self = static_cast<ManagerEndpoint*>(data);
    (*self->handler_)(DtGetBigEndian<std::uint32_t>(msg.data() + 8), static_cast<int>(msg.federateHandle()));
  }

  std::uint32_t size_;
  DtTransportType transport_;
  std::unique_ptr<DtRIDParameters> rid_;
  std::unique_ptr<DtConnectionMgr> mgr_;
  const OnMessage* handler_ = nullptr;
};

struct Path {
  const char* name;
  std::function<std::unique_ptr<Endpoint>(int port, std::uint32_t group, int role)> make;
  bool relayed = false;  // through an rtiexec network thread in a process of its own
};

// The rtiexec's network thread in a process of its own, for a relayed path;
// it runs until the measurement sets relayStop. Returns its pid, or 0.
pid_t startRelay(const Path& path, int port, RelayControl& control) {
  if (!path.relayed) return 0;
  control.ready = 0;
  control.stop = 0;
  const pid_t pid = forkChild([&] {
    DtRtiExecNetThread relay(port, 1);
    control.ready = 1;
    while (!control.stop.load()) usleep(10000);
  });
  while (!control.ready.load()) std::this_thread::yield();
  return pid;
}

void stopRelay(pid_t relay, RelayControl& control) {
  if (!relay) return;
  control.stop = 1;
  waitpid(relay, nullptr, 0);
}

Rate measureRate(const Path& path, const Settings& settings, int port, std::uint32_t group, Shared& shared,
                 RelayControl& control) {
  shared.received = 0;
  shared.ready = 0;
  const pid_t relay = startRelay(path, port, control);
  const pid_t child = forkChild([&] {
    auto endpoint = path.make(port, group, receiver);
    shared.ready = 1;
    const OnMessage count = [&](std::uint32_t, int from) {
      if (from != sender) return;
      shared.lastArrival = now();
      shared.received.fetch_add(1);
    };
    auto quietSince = Clock::now();
    while (shared.received.load() < settings.count && Clock::now() - quietSince < std::chrono::seconds(1)) {
      const std::uint64_t before = shared.received.load();
      if (!endpoint->receiveOne(count)) endpoint->wait(0.01);
      if (shared.received.load() != before) quietSince = Clock::now();
    }
  });
  awaitReady(shared);
  auto endpoint = path.make(port, group, sender);
  const OnMessage ignore = [](std::uint32_t, int) {};
  const std::int64_t start = now();
  for (std::uint32_t sent = 0; sent < settings.count; ++sent) {
    while (sent - shared.received.load() >= settings.window) {
      if (!endpoint->receiveOne(ignore)) std::this_thread::yield();  // its own messages come back too
    }
    endpoint->send(sent);
  }
  waitpid(child, nullptr, 0);
  endpoint.reset();
  stopRelay(relay, control);
  Rate rate;
  rate.received = shared.received.load();
  rate.seconds = std::chrono::duration<double>(Clock::duration(shared.lastArrival.load() - start)).count();
  return rate;
}

RoundTrips measureRoundTrips(const Path& path, const Settings& settings, int port, std::uint32_t group, Shared& shared,
                             RelayControl& control) {
  const pid_t relay = startRelay(path, port, control);
  RoundTrips trips = measureRoundTrips([&](int role) { return path.make(port, group, role); }, settings.pings, shared);
  stopRelay(relay, control);
  return trips;
}

Settings parse(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(
      argc, argv, "connection_throughput",
      "Usage: bench_connection_throughput [--count N] [--window N] [--pings N] [--size BYTES] [--repeat N]\n"
      "Defaults: 100000 messages per rate run, a window of 32, 5000 pings, 120-byte messages, best of 3.",
      [&](const std::string& option, std::uint32_t value) {
        if (option == "--count") {
          settings.count = std::max(value, 1u);
        } else if (option == "--window") {
          settings.window = std::max(value, 1u);
        } else if (option == "--pings") {
          settings.pings = std::max(value, 1u);
        } else if (option == "--size") {
          settings.size = std::clamp(value, 12u, 1400u);
        } else if (option == "--repeat") {
          settings.repeat = std::max(value, 1u);
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
  DtSetNotifyLevel(1);
  DtOpenLogOutput(nullptr, 0, 1);
  Shared* shared = makeShared<Shared>();
  RelayControl* relay = makeShared<RelayControl>();

  // A port of the system's choice, held while the bench runs; its group.
  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (78u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
  const std::uint32_t size = settings.size;

  const std::vector<Path> paths = {
      {"bare UDP", [size](int p, std::uint32_t g,
                          int role) { return std::make_unique<BareEndpoint>(p, g, role, size, benchKind, 50000); }},
      {"synchronous manager",
       [size](int p, std::uint32_t g, int role) { return std::make_unique<ManagerEndpoint>(p, g, role, size, false); }},
      {"asynchronous manager",
       [size](int p, std::uint32_t g, int role) { return std::make_unique<ManagerEndpoint>(p, g, role, size, true); }},
      {"rtiexec forwarder",
       [size](int p, std::uint32_t g, int role) {
         return std::make_unique<ManagerEndpoint>(p, g, role, size, false, true);
       },
       true},
  };
  std::printf("connection_throughput: %u-byte messages, %u per rate run (window %u), %u pings, best of %u\n", size,
              settings.count, settings.window, settings.pings, settings.repeat);
  std::vector<Rate> bestRate(paths.size());
  std::vector<double> median(paths.size()), p99(paths.size());
  std::vector<std::uint64_t> lost(paths.size());
  // The paths alternate, so that each sees the same load from the rest of the machine.
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const Rate rate = measureRate(paths[i], settings, port, group, *shared, *relay);
      lost[i] += settings.count - rate.received;
      if (rate.perSecond() > bestRate[i].perSecond()) bestRate[i] = rate;
      RoundTrips trips = measureRoundTrips(paths[i], settings, port, group, *shared, *relay);
      lost[i] += trips.lost;
      const double m = trips.percentile(0.5), p = trips.percentile(0.99);
      if (r == 0 || m < median[i]) {
        median[i] = m;
        p99[i] = p;
      }
    }
  }
  std::printf("  %-22s %12s %12s %12s %8s\n", "path", "messages/s", "median RTT", "99% RTT", "lost");
  for (std::size_t i = 0; i < paths.size(); ++i)
    std::printf("  %-22s %12.0f %10.1f us %10.1f us %8llu\n", paths[i].name, bestRate[i].perSecond(), median[i], p99[i],
                static_cast<unsigned long long>(lost[i]));
  for (std::size_t i = 1; i < paths.size(); ++i)
    std::printf(
        "  %-22s rate %.2f of bare (goal >= 0.80 for the synchronous one), median RTT %.2f x bare (goal <= 2)\n",
        paths[i].name, bestRate[0].perSecond() > 0 ? bestRate[i].perSecond() / bestRate[0].perSecond() : 0.0,
        median[0] > 0 ? median[i] / median[0] : 0.0);
  return 0;
}
