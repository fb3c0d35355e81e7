// Two federate processes on the loopback exchange interactions of 1 and 6
// parameters (64-byte values by default), beside a bare UDP sendto/recv
// loop and a bare ping-pong of datagrams of the same sizes, measured in the
// same run. Run it inside a private network namespace (multicast on lo), as
// the tests run: tools/ensure-packages.sh's run_isolated, in a Release build.
//
// Two kinds of federate: the interaction manager's path is what a joined
// federate's RTI is made of below the ambassador (its RID parameters, its
// connection manager made as a federate manager makes it, its FOM class
// manager read from the FED file, its interaction manager), ticking as the
// federate manager does (the connection manager, then the interaction
// manager); the RTI ambassador's path is a whole federate, joined through
// RTI::RTIambassador (without the rtiexec) and ticking through it.
//
// Rate (open loop): the sending process sends --count interactions as fast
// as it can, the receiving one ticks and counts what its federate ambassador
// receives until all came or a second passed without any; the rate is what
// arrived per second, and what did not arrive is lost. Round trip: one
// interaction out, the other federate sends it back from inside its
// receiveInteraction, --pings times; a ping without an answer within a
// second counts as lost. Both paths run the same loops (handle one message,
// or wait up to 10 ms for one), alternating, each in a fresh child process.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BenchFederation.h"
#include "BenchOptions.h"
#include "DtRtiExtensions.hh"
#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtNetSocket.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "util/DtBigEndian.h"
#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

namespace {

using namespace loopbackpair;
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

// The interaction a federate sends: its parameters, the first value
// starting with the interaction's number.
std::unique_ptr<RTI::ParameterHandleValuePairSet> dataSet(std::uint32_t parameters, std::uint32_t valueSize) {
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(parameters));
  const std::vector<char> value(std::max<std::uint32_t>(valueSize, 4), 'v');
  for (RTI::ParameterHandle p = 0; p < parameters; ++p) set->add(p, value.data(), value.size());
  return set;
}

const char* const executionName = "HlaInteractionsBench";

// A folder of the federate's own with its RID and FED files; it is the
// working folder while it exists (the RTI ambassador writes its log there).
BenchFederation::Options federationFiles(const Settings& settings) {
  return {"hla_interactions", executionName, fedText, static_cast<int>(settings.receiveBuffer), "", true};
}

// The federate's path: publishes and subscribes Data, sends through its
// interaction manager, receives through its federate ambassador.
class FederateEndpoint : public Endpoint, private NullFederateAmbassador {
public:
  FederateEndpoint(int port, std::uint32_t group, int role, std::uint32_t parameters, const Settings& settings)
      : peer_(role == sender ? receiver : sender) {
    const BenchFederation files(port, group, federationFiles(settings));
    rid_ = std::make_unique<DtRIDParameters>();
    connectMgr_ = DtAsyncConnectionMgr::create(rid_.get());
    DtFedReader reader;
    fom_ = DtFomClassMgr::loadFed(reader, files.fedFile().c_str(), rid_.get());
    if (!fom_) std::exit(1);
    connectMgr_->connectFederation(this, executionName, static_cast<unsigned long>(role), 1);
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
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet& set,
                          const char*) override {
    RTI::ULong length = 0;
    const char* value = set.size() > 0 ? set.getValuePointer(0, length) : nullptr;
    // The interaction manager drops this federate's own: it is the peer's.
    if (handler_ && value && length >= 4) (*handler_)(DtGetBigEndian<std::uint32_t>(value), peer_);
  }

  std::unique_ptr<DtRIDParameters> rid_;
  std::unique_ptr<DtConnectionMgr> connectMgr_;
  std::unique_ptr<DtFomClassMgr> fom_;
  std::unique_ptr<DtInteractionMgr> interMgr_;
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set_;
  const OnMessage* handler_ = nullptr;
  int peer_;
};

// The whole federate: an RTI ambassador joined to the federation (without
// the rtiexec), ticking through RTI::RTIambassador::tick and waiting on the
// descriptor the RTI gives for its input.
class AmbassadorEndpoint : public Endpoint, private NullFederateAmbassador {
public:
  AmbassadorEndpoint(int port, std::uint32_t group, int role, std::uint32_t parameters, const Settings& settings)
      : files_(port, group, federationFiles(settings)), peer_(role == sender ? receiver : sender) {
    rti_ = std::make_unique<RTI::RTIambassador>();
    rti_->joinFederationExecution(role == sender ? "sender" : "receiver", executionName, this);
    dataClass_ = rti_->getInteractionClassHandle("Data");
    rti_->publishInteractionClass(dataClass_);
    rti_->subscribeInteractionClass(dataClass_, RTI::RTI_TRUE);
    set_ = dataSet(parameters, settings.valueSize);
    input_ = DtReadFileEvent(rti_.get(), 0);
  }
  ~AmbassadorEndpoint() override {
    try {
      rti_->resignFederationExecution(RTI::NO_ACTION);
    } catch (const RTI::Exception&) {
    }
  }
  void send(std::uint32_t number) override {
    RTI::ULong length = 0;
    DtPutBigEndian(number, set_->getValuePointer(0, length));
    rti_->sendInteraction(dataClass_, *set_, "");
  }
  bool receiveOne(const OnMessage& onMessage) override {
    handler_ = &onMessage;
    const std::uint64_t before = delivered_;
    rti_->tick();
    return delivered_ != before;
  }
  void wait(double seconds) override {
    pollfd watched{input_, POLLIN, 0};
    poll(&watched, 1, static_cast<int>(seconds * 1000));
  }

private:
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet& set,
                          const char*) override {
    ++delivered_;
    RTI::ULong length = 0;
    const char* value = set.size() > 0 ? set.getValuePointer(0, length) : nullptr;
    if (handler_ && value && length >= 4) (*handler_)(DtGetBigEndian<std::uint32_t>(value), peer_);
  }

  BenchFederation files_;
  std::unique_ptr<RTI::RTIambassador> rti_;
  RTI::InteractionClassHandle dataClass_ = 0;
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set_;
  int input_ = -1;
  std::uint64_t delivered_ = 0;
  const OnMessage* handler_ = nullptr;
  int peer_;
};

struct Path {
  const char* name;
  MakeEndpoint make;
};

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
       [&](int role) {
         return std::make_unique<BareEndpoint>(port, group, role, size, DtInteractionRoMsgKind,
                                               static_cast<int>(settings.receiveBuffer));
       }},
      {"interaction manager",
       [&](int role) { return std::make_unique<FederateEndpoint>(port, group, role, parameters, settings); }},
      {"RTI ambassador",
       [&](int role) { return std::make_unique<AmbassadorEndpoint>(port, group, role, parameters, settings); }},
  };
  std::vector<Rate> best(paths.size());
  std::vector<double> median(paths.size()), p99(paths.size()), sendRate(paths.size());
  std::vector<std::uint64_t> lost(paths.size()), pingsLost(paths.size());
  // The paths alternate, so that each sees the same load from the rest of the machine.
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const Rate rate = measureRate(paths[i].make, settings.count, 0, shared);
      lost[i] += settings.count - rate.received;
      if (rate.perSecond() > best[i].perSecond()) best[i] = rate;
      sendRate[i] = std::max(sendRate[i], rate.sendSeconds > 0 ? settings.count / rate.sendSeconds : 0.0);
      RoundTrips trips = measureRoundTrips(paths[i].make, settings.pings, shared);
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
  std::printf("  %-20s %12s %10s %12s %12s %12s %6s\n", "path", "received/s", "lost", "sent/s", "median RTT", "99% RTT",
              "lost");
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::printf("  %-20s %12.0f %9.2f%% %12.0f %9.1f us %9.1f us %6llu\n", paths[i].name, best[i].perSecond(),
                100.0 * static_cast<double>(lost[i]) / (static_cast<double>(settings.count) * settings.repeat),
                sendRate[i], median[i], p99[i], static_cast<unsigned long long>(pingsLost[i]));
  }
  for (std::size_t i = 1; i < paths.size(); ++i) {
    std::printf("  %-20s rate %.2f of bare (goal >= 0.80), median RTT %.2f x bare (goal <= 2)\n", paths[i].name,
                best[0].perSecond() > 0 ? best[i].perSecond() / best[0].perSecond() : 0.0,
                median[0] > 0 ? median[i] / median[0] : 0.0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  DtSetNotifyLevel(1);
  DtOpenLogOutput(nullptr, 0, 1);
  Shared* shared = makeShared();

  // A port of the system's choice, held while the bench runs, and a group of its own.
  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (79u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);

  std::printf("hla_interactions: %u interactions per rate run (open loop), %u pings, best of %u\n", settings.count,
              settings.pings, settings.repeat);
  for (const std::uint32_t parameters : {1u, 6u}) runSize(parameters, settings, port, group, *shared);
  return 0;
}
