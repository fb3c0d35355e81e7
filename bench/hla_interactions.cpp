// Two federate processes on the loopback exchange interactions of 1 and 6
// parameters (64-byte values by default) through the interaction manager,
// beside a bare UDP sendto/recv loop and a bare ping-pong of datagrams of
// the same sizes, measured in the same run. Run it inside a private network
// namespace (multicast on lo), as the tests run: tools/ensure-packages.sh's
// run_isolated, in a Release build.
//
// A federate here is what a joined federate's RTI is made of below the
// ambassador: its RID parameters, its connection manager (made as a
// federate manager makes it), its FOM class manager read from a FED file,
// and its interaction manager; it ticks as the federate manager does (the
// connection manager, then the interaction manager).
//
// Rate (open loop): the sending process sends --count interactions as fast
// as it can, the receiving one ticks and counts what its federate ambassador
// receives until all came or a second passed without any; the rate is what
// arrived per second, and what did not arrive is lost. Round trip: one
// interaction out, the other federate sends it back from inside its
// receiveInteraction, --pings times; a ping without an answer within a
// second counts as lost. Both paths run the same loops (handle one message,
// or wait up to 10 ms for one), alternating, each in a fresh child process.

#include <netinet/in.h>
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
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "NullFederateAmbassador.hh"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtNetSocket.h"
#include "net/DtUpdateMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "util/DtBigEndian.h"
#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint32_t loopback = 0x7F000001u;
constexpr int sender = 1, receiver = 2;  // federate handles of the two processes
constexpr RTI::InteractionClassHandle dataClass = 4;  // InteractionRoot.Data below

const char* const fedText = R"((FED (Federation HlaInteractionsBench) (FEDversion v1.3)
  (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions
    (class InteractionRoot best_effort receive
      (class RTIprivate best_effort receive)
      (class Data best_effort receive (parameter P0) (parameter P1) (parameter P2) (parameter P3)
                                      (parameter P4) (parameter P5)))))
)";

struct Settings {
  std::uint32_t count = 100000;
  std::uint32_t pings = 5000;
  std::uint32_t valueSize = 64;
  std::uint32_t repeat = 3;
  std::uint32_t receiveBuffer = 50000;  // RTI_socketReceiveBufferSize's default
};

std::int64_t now() { return Clock::now().time_since_epoch().count(); }

// What the receiving process tells the sending one.
struct Shared {
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::int64_t> lastArrival{0};
  std::atomic<int> ready{0};
};

using OnMessage = std::function<void(std::uint32_t number)>;

// One process's end of a path.
class Endpoint {
public:
  virtual ~Endpoint() = default;
  virtual void send(std::uint32_t number) = 0;
  // Handles at most one message; false when none was waiting.
  virtual bool receiveOne(const OnMessage& onMessage) = 0;
  virtual void wait(double seconds) = 0;
};

// The interaction a federate sends: its parameters, the first value
// starting with the interaction's number.
std::unique_ptr<RTI::ParameterHandleValuePairSet> dataSet(std::uint32_t parameters, std::uint32_t valueSize) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(parameters));
  const std::vector<char> value(std::max<std::uint32_t>(valueSize, 4), 'v');
  for (RTI::ParameterHandle p = 0; p < parameters; ++p) set->add(p, value.data(), value.size());
  return set;
}

// The bare path: a UDP socket as the federate's would be (same port, group,
// interface, receive buffer), datagrams of the interaction message's size.
class BareEndpoint : public Endpoint {
public:
  BareEndpoint(int port, std::uint32_t group, int role, std::uint32_t size, std::uint32_t receiveBuffer)
      : role_(role), datagram_(size, 0), buffer_(15000) {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    const int one = 1, zero = 0, rcvbuf = static_cast<int>(receiveBuffer);
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_ALL, &zero, sizeof zero);
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &rcvbuf, sizeof rcvbuf);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
      std::perror("hla_interactions: bare bind");
      std::exit(1);
    }
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = htonl(group);
    membership.imr_interface.s_addr = htonl(loopback);
    setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership);
    in_addr interface{htonl(loopback)};
    setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &interface, sizeof interface);
    to_ = local;
    to_.sin_addr.s_addr = htonl(group);
    DtPutBigEndian(static_cast<std::uint16_t>(role), datagram_.data() + 2);
  }
  ~BareEndpoint() override { close(fd_); }
  void send(std::uint32_t number) override {
    DtPutBigEndian(number, datagram_.data() + 8);
    sendto(fd_, datagram_.data(), datagram_.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
  }
  bool receiveOne(const OnMessage& onMessage) override {
    const ssize_t length = recv(fd_, buffer_.data(), buffer_.size(), 0);
    if (length < 12) return false;
    if (DtGetBigEndian<std::uint16_t>(buffer_.data() + 2) != role_) {
      onMessage(DtGetBigEndian<std::uint32_t>(buffer_.data() + 8));
    }
    return true;
  }
  void wait(double seconds) override {
    pollfd watched{fd_, POLLIN, 0};
    poll(&watched, 1, static_cast<int>(seconds * 1000));
  }

private:
  int fd_;
  std::uint16_t role_;
  sockaddr_in to_{};
  std::vector<char> datagram_;
  std::vector<char> buffer_;
};

// The federate's path: publishes and subscribes Data, sends through its
// interaction manager, receives through its federate ambassador.
class FederateEndpoint : public Endpoint, private NullFederateAmbassador {
public:
  FederateEndpoint(int port, std::uint32_t group, int role, std::uint32_t parameters, const Settings& settings) {
    char dir[] = "/tmp/hla_interactions_XXXXXX";
    if (!mkdtemp(dir)) {
      std::perror("hla_interactions: scratch folder");
      std::exit(1);
    }
    const std::string ridFile = std::string(dir) + "/rid.mtl", fedFile = std::string(dir) + "/bench.fed";
    writeFile(ridFile, "(setq RTI_udpPort " + std::to_string(port) + ")\n(setq RTI_destAddrString \"" +
                           DottedAddress(group) + "\")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n" +
                           "(setq RTI_socketReceiveBufferSize " + std::to_string(settings.receiveBuffer) + ")\n");
    writeFile(fedFile, fedText);
    setenv("RTI_RID_FILE", ridFile.c_str(), 1);
    rid_ = std::make_unique<DtRIDParameters>();
    connectMgr_ = DtAsyncConnectionMgr::create(rid_.get());
    DtFedReader reader;
    fom_ = DtFomClassMgr::loadFed(reader, fedFile.c_str(), rid_.get());
    unlink(ridFile.c_str());
    unlink(fedFile.c_str());
    rmdir(dir);
    if (!fom_) std::exit(1);
    connectMgr_->connectFederation(this, "HlaInteractionsBench", static_cast<unsigned long>(role), 1);
    interMgr_ = DtInteractionMgr::create(connectMgr_.get(), fom_.get(), rid_.get());
    interMgr_->publish(dataClass);
    interMgr_->subscribe(dataClass, RTI::RTI_TRUE);
    set_ = dataSet(parameters, settings.valueSize);
  }
  ~FederateEndpoint() override {
    interMgr_.reset();
    connectMgr_->disconnectFederation();
  }
  void send(std::uint32_t number) override {
    RTI::ULong length = 0;
    DtPutBigEndian(number, set_->getValuePointer(0, length));
    interMgr_->send(dataClass, *set_, nullptr, "", 0UL);
  }
  bool receiveOne(const OnMessage& onMessage) override {
    handler_ = &onMessage;
    const bool any = connectMgr_->tick() == RTI::RTI_TRUE;
    interMgr_->tick();
    return any;
  }
  void wait(double seconds) override { connectMgr_->wait(seconds); }

  // The size of one such interaction on the wire.
  static std::uint32_t messageSize(std::uint32_t parameters, std::uint32_t valueSize) {
    const auto set = dataSet(parameters, valueSize);
    return static_cast<std::uint32_t>(DtInteractionRoMsg(dataClass, *set, "", 0, nullptr).size());
  }

private:
  static void writeFile(const std::string& path, const std::string& text) {
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
      std::perror("hla_interactions: scratch file");
      std::exit(1);
    }
    std::fclose(out);
  }
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet& set,
                          const char*) override {
    RTI::ULong length = 0;
    const char* value = set.size() > 0 ? set.getValuePointer(0, length) : nullptr;
    if (handler_ && value && length >= 4) (*handler_)(DtGetBigEndian<std::uint32_t>(value));
  }

  std::unique_ptr<DtRIDParameters> rid_;
  std::unique_ptr<DtConnectionMgr> connectMgr_;
  std::unique_ptr<DtFomClassMgr> fom_;
  std::unique_ptr<DtInteractionMgr> interMgr_;
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set_;
  const OnMessage* handler_ = nullptr;
};

struct Path {
  const char* name;
  std::function<std::unique_ptr<Endpoint>(int role)> make;
};

// Runs `body` in a child process; returns its pid.
pid_t forkChild(const std::function<void()>& body) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    body();
    std::fflush(stdout);
    _exit(0);
  }
  return pid;
}

void awaitReady(Shared& shared) {
  while (!shared.ready.load()) std::this_thread::yield();
}

struct Rate {
  std::uint64_t received = 0;
  double seconds = 0;
  double sendSeconds = 0;
  double perSecond() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
};

Rate measureRate(const Path& path, const Settings& settings, Shared& shared) {
  shared.received = 0;
  shared.ready = 0;
  const pid_t child = forkChild([&] {
    auto endpoint = path.make(receiver);
    shared.ready = 1;
    const OnMessage count = [&](std::uint32_t) {
      shared.lastArrival = now();
      shared.received.fetch_add(1, std::memory_order_relaxed);
    };
    auto quietSince = Clock::now();
    while (shared.received.load() < settings.count && Clock::now() - quietSince < std::chrono::seconds(1)) {
      if (endpoint->receiveOne(count)) {
        quietSince = Clock::now();
      } else {
        endpoint->wait(0.01);
      }
    }
  });
  awaitReady(shared);
  auto endpoint = path.make(sender);
  const std::int64_t start = now();
  for (std::uint32_t sent = 0; sent < settings.count; ++sent) endpoint->send(sent);
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

RoundTrips measureRoundTrips(const Path& path, const Settings& settings, Shared& shared) {
  shared.ready = 0;
  const pid_t child = forkChild([&] {
    auto endpoint = path.make(receiver);
    shared.ready = 1;
    std::uint32_t answered = 0;
    // Sent back from inside the callback, as a federate would.
    const OnMessage echo = [&](std::uint32_t number) {
      endpoint->send(number);
      ++answered;
    };
    auto quietSince = Clock::now();
    while (answered < settings.pings && Clock::now() - quietSince < std::chrono::seconds(2)) {
      if (endpoint->receiveOne(echo)) {
        quietSince = Clock::now();
      } else {
        endpoint->wait(0.01);
      }
    }
  });
  awaitReady(shared);
  auto endpoint = path.make(sender);
  RoundTrips trips;
  for (std::uint32_t ping = 0; ping < settings.pings; ++ping) {
    bool answered = false;
    const OnMessage awaitEcho = [&](std::uint32_t number) { answered |= number == ping; };
    const auto start = Clock::now();
    endpoint->send(ping);
    while (!answered && Clock::now() - start < std::chrono::seconds(1)) {
      if (!endpoint->receiveOne(awaitEcho)) endpoint->wait(0.01);
    }
    if (answered) {
      trips.micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    } else {
      ++trips.lost;
    }
  }
  waitpid(child, nullptr, 0);
  return trips;
}

Settings parse(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(
      argc, argv, "hla_interactions",
      "Usage: bench_hla_interactions [--count N] [--pings N] [--value BYTES] [--repeat N] [--rcvbuf BYTES]\n"
      "Defaults: 100000 interactions per rate run, 5000 pings, 64-byte values, best of 3, a receive buffer\n"
      "of 50000 bytes (RTI_socketReceiveBufferSize's default) on both paths.",
      [&](const std::string& option, std::uint32_t value) {
        if (option == "--count") {
          settings.count = std::max(value, 1u);
        } else if (option == "--pings") {
          settings.pings = std::max(value, 1u);
        } else if (option == "--value") {
          settings.valueSize = std::clamp(value, 4u, 200u);
        } else if (option == "--repeat") {
          settings.repeat = std::max(value, 1u);
        } else if (option == "--rcvbuf") {
          settings.receiveBuffer = std::max(value, 4096u);
        } else {
          return false;
        }
        return true;
      });
  return settings;
}

void runSize(std::uint32_t parameters, const Settings& settings, int port, std::uint32_t group, Shared& shared) {
  const std::uint32_t size = FederateEndpoint::messageSize(parameters, settings.valueSize);
  const std::vector<Path> paths = {
      {"bare UDP",
       [&](int role) { return std::make_unique<BareEndpoint>(port, group, role, size, settings.receiveBuffer); }},
      {"interaction manager",
       [&](int role) { return std::make_unique<FederateEndpoint>(port, group, role, parameters, settings); }},
  };
  std::vector<Rate> best(paths.size());
  std::vector<double> median(paths.size()), p99(paths.size()), sendRate(paths.size());
  std::vector<std::uint64_t> lost(paths.size()), pingsLost(paths.size());
  // The paths alternate, so that each sees the same load from the rest of the machine.
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const Rate rate = measureRate(paths[i], settings, shared);
      lost[i] += settings.count - rate.received;
      if (rate.perSecond() > best[i].perSecond()) best[i] = rate;
      sendRate[i] = std::max(sendRate[i], rate.sendSeconds > 0 ? settings.count / rate.sendSeconds : 0.0);
      RoundTrips trips = measureRoundTrips(paths[i], settings, shared);
      pingsLost[i] += trips.lost;
      const double m = trips.percentile(0.5), p = trips.percentile(0.99);
      if (r == 0 || m < median[i]) {
        median[i] = m;
        p99[i] = p;
      }
    }
  }
  std::printf("%u parameter%s of %u bytes (%u-byte datagrams)\n", parameters, parameters == 1 ? "" : "s",
              settings.valueSize, size);
  std::printf("  %-20s %12s %10s %12s %12s %12s %6s\n", "path", "received/s", "lost", "sent/s", "median RTT",
              "99% RTT", "lost");
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::printf("  %-20s %12.0f %9.2f%% %12.0f %9.1f us %9.1f us %6llu\n", paths[i].name, best[i].perSecond(),
                100.0 * static_cast<double>(lost[i]) / (static_cast<double>(settings.count) * settings.repeat),
                sendRate[i], median[i], p99[i], static_cast<unsigned long long>(pingsLost[i]));
  }
  std::printf("  interaction manager: rate %.2f of bare (goal >= 0.80), median RTT %.2f x bare (goal <= 2)\n",
              best[0].perSecond() > 0 ? best[1].perSecond() / best[0].perSecond() : 0.0,
              median[0] > 0 ? median[1] / median[0] : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  DtSetNotifyLevel(1);
  DtOpenLogOutput(nullptr, 0, 1);
  auto* shared = new (mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0)) Shared;

  // A port of the system's choice, held while the bench runs, and a group of its own.
  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (79u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);

  std::printf("hla_interactions: %u interactions per rate run (open loop), %u pings, best of %u\n", settings.count,
              settings.pings, settings.repeat);
  for (const std::uint32_t parameters : {1u, 6u}) runSize(parameters, settings, port, group, *shared);
  return 0;
}
