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
// Data distribution: the whole federate also runs with it on, with the plain
// services (the default region) and with one overlapping region each side,
// each beside it off in the same run. And the cost of one region
// modification as the federation's regions grow from 10 to 10,000.
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
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
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
  (spaces (space Band (dimension F)))
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions
    (class InteractionRoot best_effort receive
      (class RTIprivate best_effort receive)
      (class Data best_effort receive Band (parameter P0) (parameter P1) (parameter P2) (parameter P3)
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
// How a whole federate uses data distribution: off; on, with the plain
// services (the default region); on, each side with one region of Band,
// the two overlapping.
enum class Ddm { Off, DefaultRegion, Regions };

BenchFederation::Options federationFiles(const Settings& settings, Ddm ddm = Ddm::Off) {
  return {"hla_interactions",
          executionName,
          fedText,
          static_cast<int>(settings.receiveBuffer),
          ddm == Ddm::Off ? "" : "(setq RTI_dataDistMgmt 1)\n",
          true};
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
  AmbassadorEndpoint(int port, std::uint32_t group, int role, std::uint32_t parameters, const Settings& settings,
                     Ddm ddm = Ddm::Off)
      : files_(port, group, federationFiles(settings, ddm)), peer_(role == sender ? receiver : sender) {
    rti_ = std::make_unique<RTI::RTIambassador>();
    rti_->joinFederationExecution(role == sender ? "sender" : "receiver", executionName, this);
    dataClass_ = rti_->getInteractionClassHandle("Data");
    rti_->publishInteractionClass(dataClass_);
    if (ddm == Ddm::Regions) {
      // The sender's [100,300) and the receiver's [200,400) of Band.
      region_ = rti_->createRegion(rti_->getRoutingSpaceHandle("Band"), 1);
      region_->setRangeLowerBound(0, 0, role == sender ? 100 : 200);
      region_->setRangeUpperBound(0, 0, role == sender ? 300 : 400);
      rti_->notifyAboutRegionModification(*region_);
      rti_->subscribeInteractionClassWithRegion(dataClass_, *region_, RTI::RTI_TRUE);
    } else {
      rti_->subscribeInteractionClass(dataClass_, RTI::RTI_TRUE);
    }
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
    if (region_) {
      rti_->sendInteractionWithRegion(dataClass_, *set_, "", *region_);
    } else {
      rti_->sendInteraction(dataClass_, *set_, "");
    }
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
  RTI::Region* region_ = nullptr;  // the RTI's
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
      {"DDM default region",
       [&](int role) {
         return std::make_unique<AmbassadorEndpoint>(port, group, role, parameters, settings, Ddm::DefaultRegion);
       }},
      {"DDM regions",
       [&](int role) {
         return std::make_unique<AmbassadorEndpoint>(port, group, role, parameters, settings, Ddm::Regions);
       }},
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
  for (std::size_t i = 1; i < 3; ++i) {
    std::printf("  %-20s rate %.2f of bare (goal >= 0.80), median RTT %.2f x bare (goal <= 2)\n", paths[i].name,
                best[0].perSecond() > 0 ? best[i].perSecond() / best[0].perSecond() : 0.0,
                median[0] > 0 ? median[i] / median[0] : 0.0);
  }
  // Data distribution beside the same federate with it off.
  const double goals[] = {0.95, 0.80};
  for (std::size_t i = 3; i < paths.size(); ++i) {
    std::printf("  %-20s rate %.2f of DDM off (goal >= %.2f), median RTT %.2f x DDM off\n", paths[i].name,
                best[2].perSecond() > 0 ? best[i].perSecond() / best[2].perSecond() : 0.0, goals[i - 3],
                median[2] > 0 ? median[i] / median[2] : 0.0);
  }
}

// The cost of one notifyAboutRegionModification of a region this federate
// subscribes Data with, when the federation holds `regions` regions of
// another federate, each a publication set of Data, and the modified region
// overlaps the same five of them before and after: one federate's managers
// in this process (data distribution manager and its interaction half),
// fed the other federate's announcements as its messages bring them. The
// connection manager sends nothing.
double modificationMicros(std::uint32_t regions, const std::string& fedFile, std::uint32_t rounds) {
  DtFedReader reader;
  const std::unique_ptr<DtFomClassMgr> fom = DtFomClassMgr::loadFed(reader, fedFile.c_str(), nullptr);
  if (!fom) std::exit(1);
  DtConnectionMgr conn;
  auto half = std::make_unique<DtInterDataDistMgr>(&conn, fom.get(), nullptr);
  DtDataDistMgr ddm(&conn, fom.get(), nullptr, nullptr, half.get());
  half->setDdmMgr(&ddm);
  const RTI::SpaceHandle band = 1;
  DtRegion* mine = ddm.createRegion(band, 1);
  mine->setRangeLowerBound(0, 0, 0);
  mine->setRangeUpperBound(0, 0, 100);
  ddm.notifyAboutRegionModification(*mine);
  half->subscribeInteractionClassWithRegion(dataClass, *mine, RTI::RTI_TRUE);
  constexpr std::uint32_t theirs = 7;
  for (std::uint32_t i = 0; i < regions; ++i) {
    // Five in [0,50), the others beyond 1000.
    const std::uint32_t lower = i < 5 ? 10 * i : 1000 + 10 * i;
    const std::uint32_t bounds[] = {lower, lower + 5};
    DtNotifyRegMsg region(theirs * 100000 + 1 + i, band);
    region.setExtents(1, 1, bounds);
    region.setFederateHandle(theirs);
    ddm.processNotifyRegion(region);
    const std::uint32_t named[] = {theirs * 100000 + 1 + i};
    DtInterRegSetMsg set(DtInterPubRegionSet, theirs * 100000 + 2 + i, dataClass, 0xE0000100 + i, named);
    set.setFederateHandle(theirs);
    half->processRegionSet(set);
  }
  const auto start = std::chrono::steady_clock::now();
  for (std::uint32_t r = 0; r < rounds; ++r) {
    mine->setRangeUpperBound(0, 0, 100 + r % 2);
    ddm.notifyAboutRegionModification(*mine);
  }
  const double micros =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rounds;
  if (half->overlappingRemotePubSets().lookup(dataClass)->count() != std::min(regions, 5u)) std::exit(2);
  half.reset();
  return micros;
}

void modificationCost(const Settings& settings) {
  const BenchFederation files(0, 0, federationFiles(settings));
  std::printf("notifyAboutRegionModification, the region overlapping 5 publication sets of another federate\n");
  std::printf("  %-10s %14s\n", "regions", "per call");
  double at100 = 0, at10000 = 0;
  for (const std::uint32_t regions : {10u, 100u, 1000u, 10000u}) {
    double best = 0;
    for (std::uint32_t r = 0; r < settings.repeat; ++r) {
      const double micros = modificationMicros(regions, files.fedFile(), std::max(20000u / regions, 20u));
      best = r == 0 ? micros : std::min(best, micros);
    }
    if (regions == 100) at100 = best;
    if (regions == 10000) at10000 = best;
    std::printf("  %-10u %11.2f us\n", regions, best);
  }
  std::printf("  10000 regions cost %.2f x 100 regions (goal <= 4)\n", at100 > 0 ? at10000 / at100 : 0.0);
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
  modificationCost(settings);
  for (const std::uint32_t parameters : {1u, 6u}) runSize(parameters, settings, port, group, *shared);
  return 0;
}
