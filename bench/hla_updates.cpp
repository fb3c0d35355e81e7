// Two federate processes on the loopback exchange attribute updates through
// the RTI ambassador, as federates do: one registers an object and updates
// one 64-byte attribute (by default) as fast as it can, the other subscribes
// and reflects; beside a bare UDP sendto/recv loop and a bare ping-pong of
// datagrams of the update message's size, in the same run. Then the radio
// case: one process registers 1,000 objects of 21 attributes, the other
// discovers them; the time from the first registration to the last
// discovery, and the memory the discovering process grew by per object.
// Then the update rate with the management object model joined in both
// federates (reporting off), beside it off, in the same run; and the same
// with data distribution on (no region: the default sets), beside it off;
// with one overlapping region each side, beside data distribution off; the
// reflections at one subscriber while 100 and 1,000 publishers' regions move
// every 100 ms, beside the same publishers without data distribution
// (BenchMovingRegions.h); and the cost of one region change of a subscriber
// among 100 to 10,000 other federates' publication sets (in one process,
// BenchRegionChangeCost.h).
// Run it inside a private network namespace (multicast on lo), as the tests
// run (tools/ensure-packages.sh's run_isolated), in a Release build.
//
// Each federate is a full serverless federate: an RTI::RTIambassador made
// from its RID file (the bench's port, group and receive buffer), created,
// joined, publishing and subscribing. The receiving side ticks either with
// tick() in a loop (beside a bare path that spins on its socket) or with
// tick(0.001, 0.01), which waits for input itself (beside a bare path that
// waits with ppoll for at most a millisecond); the sending side calls tick()
// after every update (--tick-every N: every N updates). The reliable case
// sends in bursts, as a federate that updates its objects once a frame
// does: it ticks once after each burst of --burst updates (default 100).
//
// Rate (open loop): --count updates as fast as the sender can, then again
// paced at 0.8 of the bare path's best rate, where the goal is no loss.
// Round trip: one update out, the other federate updates its own object with
// the same number from inside reflectAttributeValues; --pings times. The
// spinning paths answer back to back; the sleeping ones ping once every
// --ping-interval, so that both start each round trip from the same idle
// state (a tick(0.001, 0.01) sleeps between messages, and on a virtual
// machine the first wake-up after such a sleep costs microseconds that a
// bare loop answering back to back never pays).

#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "BareTcpRelay.h"
#include "BenchFederation.h"
#include "BenchMomReporting.h"
#include "BenchMovingRegions.h"
#include "BenchOptions.h"
#include "BenchRegionChangeCost.h"
#include "BenchRtiExec.h"
#include "DtRtiExtensions.hh"
#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "fedtime.hh"
#include "msg/DtUpdateMsgs.h"
#include "net/DtNetSocket.h"
#include "util/DtBigEndian.h"
#include "util/DtIpv4Address.h"

namespace {

using namespace loopbackpair;

const char* const executionName = "HlaUpdatesBench";

const char* const fedText = R"((FED (Federation HlaUpdatesBench) (FEDversion v1.3) (spaces (space Geo (dimension X)))
  (objects
    (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
      (class Data (attribute A0 best_effort receive))
      (class Reliable (attribute B0 reliable receive))
      (class Radio (attribute R0 best_effort receive) (attribute R1 best_effort receive)
        (attribute R2 best_effort receive) (attribute R3 best_effort receive) (attribute R4 best_effort receive)
        (attribute R5 best_effort receive) (attribute R6 best_effort receive) (attribute R7 best_effort receive)
        (attribute R8 best_effort receive) (attribute R9 best_effort receive) (attribute R10 best_effort receive)
        (attribute R11 best_effort receive) (attribute R12 best_effort receive) (attribute R13 best_effort receive)
        (attribute R14 best_effort receive) (attribute R15 best_effort receive) (attribute R16 best_effort receive)
        (attribute R17 best_effort receive) (attribute R18 best_effort receive) (attribute R19 best_effort receive)
        (attribute R20 best_effort receive))
      (class Located (attribute L0 best_effort receive Geo))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))
)";

struct Settings {
  std::uint32_t count = 100000;
  std::uint32_t pings = 5000;
  std::uint32_t pingInterval = 2000;  // microseconds from one ping to the next
  std::uint32_t valueSize = 64;
  std::uint32_t repeat = 3;
  std::uint32_t receiveBuffer = 4 << 20;
  std::uint32_t objects = 1000;
  std::uint32_t radioValue = 16;  // bytes of each of a radio's 21 values
  std::uint32_t cases = 255;      // 1: updates, 2: radios, 4: reliable, 8: MOM, 16: DDM, 32-128: regions
  std::uint32_t idle = 1000;      // idle connections to the rtiexec while its latency is measured again
  std::uint32_t rttOnly = 0;      // 1: only the round trips of the updates
  std::uint32_t tickEvery = 1;    // updates between the sender's ticks
  std::uint32_t burst = 100;      // the same in the reliable case
  std::uint32_t pathMask = 15;    // which of the four update paths run

  std::uint32_t regionSeconds = 3;    // of updates while the regions move
  std::uint32_t regionProcesses = 4;  // the publishers' federates
};

enum class TickMode { Plain, MinMax };

// The RID file and FED file both processes read, in a scratch folder.
BenchFederation::Options federationFiles(const Settings& settings) {
  return {"hla_updates", executionName, fedText, static_cast<int>(settings.receiveBuffer), "(setq RTI_dumpFed 0)\n",
          false};
}
using BenchConfig = BenchFederation;

// A federate of the bench: joined, with the callbacks it needs and nothing
// else; discoveries and reflections go to the functions the caller sets.
class BenchFederate : public NullFederateAmbassador {
public:
  BenchFederate(const std::string& fedFile, const std::string& name) {
    try {
      rti_.createFederationExecution(executionName, fedFile.c_str());
    } catch (const RTI::Exception&) {
      // Made by the other process already: joining is what counts.
    }
    rti_.joinFederationExecution(name.c_str(), executionName, this);
  }
  ~BenchFederate() override {
    try {
      rti_.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
      rti_.destroyFederationExecution(executionName);
    } catch (const RTI::Exception&) {
    }
  }
  RTI::RTIambassador& rti() { return rti_; }

  // One tick of the mode; true when a callback came.
  bool tick(TickMode mode) {
    callbacks_ = 0;
    if (mode == TickMode::Plain) {
      rti_.tick();
    } else {
      rti_.tick(0.001, 0.01);
    }
    return callbacks_ > 0;
  }

  std::function<void(RTI::ObjectHandle, const char*)> onDiscover;
  std::function<void(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&)> onReflect;

  void discoverObjectInstance(RTI::ObjectHandle object, RTI::ObjectClassHandle, const char* name) override {
    ++callbacks_;
    if (onDiscover) onDiscover(object, name);
  }
  void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                              const char*) override {
    ++callbacks_;
    if (onReflect) onReflect(object, values);
  }
  void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                              const RTI::FedTime&, const char* tag, RTI::EventRetractionHandle) override {
    reflectAttributeValues(object, values, tag);
  }

private:
  RTI::RTIambassador rti_;
  int callbacks_ = 0;
};

using AttributeSet = std::unique_ptr<RTI::AttributeHandleSet>;

// "R7", "radio12": appended rather than added (GCC 12 warns about
// "text" + std::to_string falsely).
std::string numbered(const char* prefix, unsigned long number) {
  std::string name(prefix);
  name += std::to_string(number);
  return name;
}
using ValueSet = std::unique_ptr<RTI::AttributeHandleValuePairSet>;

// The update path: each process publishes and subscribes Data's one
// attribute and registers an object "role<n>"; a message's number is the
// first four bytes of the value, and its sender the role whose object it is.
class UpdateEndpoint : public Endpoint {
public:
  // Of class Data's best-effort attribute A0, or of another class's; with
  // `regions`, subscribed and registered with a region of its own, the two
  // processes' regions overlapping.
  UpdateEndpoint(const BenchConfig& config, int role, TickMode mode, const Settings& settings,
                 const char* className = "Data", const char* attributeName = "A0", bool reporting = false,
                 bool regions = false)
      : federate_(config.fedFile(), numbered("role", role)), mode_(mode), tickEvery_(settings.tickEvery) {
    RTI::RTIambassador& rti = federate_.rti();
    // Within about 3 s.
    if (reporting && !BenchTurnMomReportingOn(
                         rti, [this] { federate_.tick(TickMode::MinMax); }, 300)) {
      std::printf("MOM: service reporting did not come on in role %d\n", role);
      std::exit(1);
    }
    const RTI::ObjectClassHandle data = rti.getObjectClassHandle(className);
    const RTI::AttributeHandle a0 = rti.getAttributeHandle(attributeName, data);
    AttributeSet attributes(RTI::AttributeHandleSetFactory::create(1));
    attributes->add(a0);
    rti.publishObjectClass(data, *attributes);
    if (regions) {
      RTI::Region* region = overlappingRegion(rti, role);
      rti.subscribeObjectClassAttributesWithRegion(data, *region, *attributes, RTI::RTI_TRUE);
      RTI::AttributeHandle handles[] = {a0};
      object_ = rti.registerObjectInstanceWithRegion(data, numbered("role", role).c_str(), handles, &region, 1);
    } else {
      rti.subscribeObjectClassAttributes(data, *attributes, RTI::RTI_TRUE);
      object_ = rti.registerObjectInstance(data, (numbered("role", role)).c_str());
    }
    values_.reset(RTI::AttributeSetFactory::create(1));
    const std::vector<char> value(std::max<std::uint32_t>(settings.valueSize, 4), 'v');
    values_->add(a0, value.data(), value.size());
    federate_.onDiscover = [this](RTI::ObjectHandle object, const char* name) { roles_[object] = std::atoi(name + 4); };
    federate_.onReflect = [this](RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values) {
      RTI::ULong length = 0;
      const char* value = values.size() > 0 ? values.getValuePointer(0, length) : nullptr;
      if (handler_ && value && length >= 4) (*handler_)(DtGetBigEndian<std::uint32_t>(value), roles_[object]);
    };
    // The sender starts once it knows the receiver's object (made first),
    // so that the first answers are not updates of an unknown object.
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (role == sender && roles_.empty() && Clock::now() < deadline) federate_.tick(TickMode::MinMax);
  }
  void send(std::uint32_t number) override {
    RTI::ULong length = 0;
    DtPutBigEndian(number, values_->getValuePointer(0, length));
    federate_.rti().updateAttributeValues(object_, *values_, "");
    // A sender answering from inside a callback is in a tick already.
    if (!handler_ && ++sent_ % tickEvery_ == 0) federate_.rti().tick();
  }
  bool receiveOne(const OnMessage& onMessage) override {
    handler_ = &onMessage;
    return federate_.tick(mode_);
  }
  // tick() in a loop: no waiting; tick(0.001, 0.01) waits itself.
  void wait(double) override {}

  // The size of one such update on the wire.
  static std::uint32_t messageSize(const Settings& settings) {
    ValueSet values(RTI::AttributeSetFactory::create(1));
    const std::vector<char> value(settings.valueSize, 'v');
    values->add(1, value.data(), value.size());
    return static_cast<std::uint32_t>(DtUpdateRoMsg(100000001, "role1", 3, *values, "", nullptr).size());
  }

private:
  // A region of space Geo: the sender's covers the lower half of X, the
  // receiver's the middle half, so that each overlaps the other.
  static RTI::Region* overlappingRegion(RTI::RTIambassador& rti, int role) {
    const RTI::SpaceHandle geo = rti.getRoutingSpaceHandle("Geo");
    const RTI::DimensionHandle x = rti.getDimensionHandle("X", geo);
    RTI::Region* region = rti.createRegion(geo, 1);
    constexpr RTI::ULong quarter = MAX_EXTENT / 4;
    region->setRangeLowerBound(0, x, role == sender ? 0 : quarter);
    region->setRangeUpperBound(0, x, role == sender ? 2 * quarter : 3 * quarter);
    rti.notifyAboutRegionModification(*region);
    return region;
  }

  BenchFederate federate_;
  TickMode mode_;
  std::uint32_t tickEvery_;
  std::uint32_t sent_ = 0;
  RTI::ObjectHandle object_ = 0;
  ValueSet values_;
  std::map<RTI::ObjectHandle, int> roles_;
  const OnMessage* handler_ = nullptr;
};

Settings parse(int argc, char** argv) {
  Settings settings;
  BenchParseOptions(
      argc, argv, "hla_updates",
      "Usage: bench_hla_updates [--count N] [--pings N] [--value BYTES] [--repeat N] [--rcvbuf BYTES]\n"
      "                         [--objects N] [--radio-value BYTES] [--cases 1..7] [--tick-every N] [--idle N]\n"
      "                         [--ping-interval MICROSECONDS] [--paths MASK] [--rtt-only 1] [--burst N]\n"
      "Defaults: 100000 updates per rate run, 5000 pings (one every 2000 us where the path sleeps),\n"
      "64-byte values, best of 3, receive buffers of 4 MiB on every path (RTI_socketReceiveBufferSize),\n"
      "1000 radios of 21 16-byte values, every case (1: updates, 2: radios, 4: reliable updates through the\n"
      "rtiexec, then its latency and idle cost with 1000 idle connections open, 8: updates with the MOM\n"
      "joined on both sides beside it off, 16: updates with data distribution on and no region beside it\n"
      "off), the sender ticking after\n"
      "every update (in the reliable case after every burst of 100), the four update paths (mask 15).\n"
      "Data distribution with regions: 32: one overlapping region each side beside data distribution off;\n"
      "64: reflections while 100 and 1000 publishers' regions move every 100 ms (--region-seconds 3 of\n"
      "updates, the publishers in --region-processes 4 federates) beside data distribution off; 128: the\n"
      "cost of one notifyAboutRegionModification with 100, 1000 and 10000 remote publication sets.",
      [&](const std::string& option, std::uint32_t value) {
        if (option == "--count") {
          settings.count = std::max(value, 1u);
        } else if (option == "--pings") {
          settings.pings = std::max(value, 1u);
        } else if (option == "--value") {
          settings.valueSize = std::clamp(value, 4u, 1000u);
        } else if (option == "--repeat") {
          settings.repeat = std::max(value, 1u);
        } else if (option == "--rcvbuf") {
          settings.receiveBuffer = std::max(value, 4096u);
        } else if (option == "--objects") {
          settings.objects = std::clamp(value, 1u, 99999u);
        } else if (option == "--ping-interval") {
          settings.pingInterval = value;
        } else if (option == "--paths") {
          settings.pathMask = value;
        } else if (option == "--tick-every") {
          settings.tickEvery = std::max(value, 1u);
        } else if (option == "--burst") {
          settings.burst = std::max(value, 1u);
        } else if (option == "--rtt-only") {
          settings.rttOnly = value;
        } else if (option == "--idle") {
          settings.idle = value;
        } else if (option == "--cases") {
          settings.cases = value;
        } else if (option == "--region-seconds") {
          settings.regionSeconds = std::max(value, 1u);
        } else if (option == "--region-processes") {
          settings.regionProcesses = std::clamp(value, 1u, 32u);
        } else if (option == "--radio-value") {
          settings.radioValue = std::clamp(value, 1u, 500u);
        } else {
          return false;
        }
        return true;
      });
  return settings;
}

struct PathResult {
  Rate best;
  double sendRate = 0;
  std::uint64_t lost = 0;
  double median = 0;
  double p99 = 0;
  std::uint64_t pingsLost = 0;
  std::uint64_t pacedLost = 0;
  double pacedSent = 0;
};

void runUpdates(const Settings& settings, const BenchConfig& config, int port, std::uint32_t group, Shared& shared) {
  const std::uint32_t size = UpdateEndpoint::messageSize(settings);
  struct Path {
    const char* name;
    MakeEndpoint make;
    double pingInterval;  // seconds; 0: back to back
  };
  auto bare = [&](double waitLimit) {
    return [&, waitLimit](int role) {
      auto endpoint = std::make_unique<BareEndpoint>(port, group, role, size, DtUpdateRoMsgKind,
                                                     static_cast<int>(settings.receiveBuffer));
      endpoint->setWaitLimit(waitLimit);
      return endpoint;
    };
  };
  // Each RTI path beside the bare path that waits for input as it does: the
  // spinning ones answer back to back, the sleeping ones from the same idle
  // state, one ping every --ping-interval.
  const double interval = settings.pingInterval * 1e-6;
  const std::vector<Path> paths = {
      {"bare UDP, spinning", bare(0), 0},
      {"RTI, tick() in a loop",
       [&](int role) { return std::make_unique<UpdateEndpoint>(config, role, TickMode::Plain, settings); }, 0},
      {"bare UDP, ppoll <= 1 ms", bare(0.001), interval},
      {"RTI, tick(0.001, 0.01)",
       [&](int role) { return std::make_unique<UpdateEndpoint>(config, role, TickMode::MinMax, settings); }, interval},
  };
  std::vector<PathResult> results(paths.size());
  // The paths alternate, so that each sees the same load from the rest of the machine.
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      if (!(settings.pathMask & (1u << i))) continue;
      PathResult& result = results[i];
      const Rate rate =
          settings.rttOnly ? Rate{settings.count, 1, 1} : measureRate(paths[i].make, settings.count, 0, shared);
      result.lost += settings.count - rate.received;
      if (rate.perSecond() > result.best.perSecond()) result.best = rate;
      result.sendRate = std::max(result.sendRate, rate.sendSeconds > 0 ? settings.count / rate.sendSeconds : 0.0);
      RoundTrips trips = measureRoundTrips(paths[i].make, settings.pings, shared, paths[i].pingInterval);
      result.pingsLost += trips.lost;
      const double m = trips.percentile(0.5), p = trips.percentile(0.99);
      if (r == 0 || m < result.median) {
        result.median = m;
        result.p99 = p;
      }
    }
  }
  // Loss at 0.8 of the best rate of the bare path beside it.
  auto pacedFor = [&](std::size_t i) { return 0.8 * results[i & ~std::size_t{1}].best.perSecond(); };
  for (std::size_t i = 0; i < paths.size() && !settings.rttOnly; ++i) {
    for (std::uint32_t r = 0; r < settings.repeat; ++r) {
      const Rate rate = measureRate(paths[i].make, settings.count, pacedFor(i), shared);
      results[i].pacedLost += settings.count - rate.received;
      const double sent = rate.sendSeconds > 0 ? settings.count / rate.sendSeconds : 0.0;
      results[i].pacedSent = std::max(results[i].pacedSent, sent);
    }
  }

  std::printf("One %u-byte attribute (%u-byte datagrams)\n", settings.valueSize, size);
  std::printf("  %-24s %12s %9s %12s %12s %12s %6s | %12s %12s %9s\n", "path", "received/s", "lost", "sent/s",
              "median RTT", "99% RTT", "lost", "paced at", "sent/s", "lost");
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const PathResult& result = results[i];
    const double runs = static_cast<double>(settings.count) * settings.repeat;
    std::printf("  %-24s %12.0f %8.2f%% %12.0f %9.1f us %9.1f us %6llu | %10.0f/s %12.0f %8.3f%%\n", paths[i].name,
                result.best.perSecond(), 100.0 * static_cast<double>(result.lost) / runs, result.sendRate,
                result.median, result.p99, static_cast<unsigned long long>(result.pingsLost), pacedFor(i),
                result.pacedSent, 100.0 * static_cast<double>(result.pacedLost) / runs);
  }
  for (std::size_t i = 1; i < paths.size(); i += 2) {
    const PathResult& base = results[i - 1];
    const PathResult& rti = results[i];
    std::printf("  %s: rate %.2f of bare (goal >= 0.80; at 0.8 of bare %s), median RTT %.2f x bare (goal <= 2)\n",
                paths[i].name, base.best.perSecond() > 0 ? rti.best.perSecond() / base.best.perSecond() : 0.0,
                rti.pacedLost == 0 ? "none lost" : "SOME LOST", base.median > 0 ? rti.median / base.median : 0.0);
  }
}

// ---- the management object model joined on both sides

// The MOM test model (its Vehicle.Position is best effort, receive order, as
// Data.A0 is), read where the sources are.
std::string momFedText() {
  std::ifstream in(QLX_SOURCE_ROOT "/tests/rti/mom/data/mom.fed");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The update rate of configurations of both federates (RID lines added,
// MOM reporting on or off), in the same run: the same model, the same
// class, alternating.
struct RateSide {
  const char* name;
  const char* forms;
  bool reporting = false;
  Rate best;
  std::uint64_t lost = 0;
  bool regions = false;
};

void compareSides(const Settings& settings, int port, std::uint32_t group, Shared& shared, const std::string& fed,
                  const char* cls, const char* attribute, std::span<RateSide> sides) {
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (RateSide& side : sides) {
      BenchFederation::Options options = federationFiles(settings);
      options.fedText = fed;
      options.extraRidLines += side.forms;
      // Its RID file is the one the federates read (the last one made).
      const BenchConfig config(port, group, options);
      const MakeEndpoint make = [&](int role) {
        return std::make_unique<UpdateEndpoint>(config, role, TickMode::Plain, settings, cls, attribute, side.reporting,
                                                side.regions);
      };
      const Rate rate = measureRate(make, settings.count, 0, shared);
      side.lost += settings.count - rate.received;
      if (rate.perSecond() > side.best.perSecond()) side.best = rate;
    }
  }
  std::printf("  %-36s %12s %9s\n", "path", "received/s", "lost");
  const double runs = static_cast<double>(settings.count) * settings.repeat;
  for (const RateSide& side : sides) {
    std::printf("  %-36s %12.0f %8.2f%%\n", side.name, side.best.perSecond(),
                100.0 * static_cast<double>(side.lost) / runs);
  }
}

// The second side's rate as a fraction of the first's.
double ratioOf(const RateSide& first, const RateSide& second) {
  const double base = first.best.perSecond();
  return base > 0 ? second.best.perSecond() / base : 0.0;
}

// The update rate with RTI_momServiceAvailable 1 in both federates
// (reporting off, as after join, then on in both), beside the same
// federates with it 0. With reporting on every update brings two reports:
// the sender's call and the receiver's reflection.
void runMom(const Settings& settings, int port, std::uint32_t group, Shared& shared) {
  const std::string fed = momFedText();
  if (fed.empty()) {
    std::printf("MOM: %s/tests/rti/mom/data/mom.fed not found\n", QLX_SOURCE_ROOT);
    return;
  }
  RateSide sides[] = {{"RTI, MOM off", "(setq RTI_momServiceAvailable 0)\n", false, {}},
                      {"RTI, MOM joined on both", "(setq RTI_momServiceAvailable 1)\n", false, {}},
                      {"RTI, MOM reporting on both", "(setq RTI_momServiceAvailable 1)\n", true, {}}};
  std::printf("MOM: one %u-byte attribute, tick() in a loop\n", settings.valueSize);
  compareSides(settings, port, group, shared, fed, "Vehicle", "Position", sides);
  std::printf("  MOM joined: rate %.2f of MOM off (goal >= 0.95)\n", ratioOf(sides[0], sides[1]));
  std::printf("  MOM reporting on both: rate %.2f of reporting off (goal >= 0.3)\n", ratioOf(sides[1], sides[2]));
}

// The update rate with data distribution on in both federates and no
// region anywhere (the object and its subscription in the default sets),
// beside it off.
void runDataDistribution(const Settings& settings, int port, std::uint32_t group, Shared& shared) {
  RateSide sides[] = {{"RTI, data distribution off", "(setq RTI_dataDistMgmt 0)\n", false, {}},
                      {"RTI, RTI_dataDistMgmt 1, default sets", "(setq RTI_dataDistMgmt 1)\n", false, {}}};
  std::printf("Data distribution: one %u-byte attribute, tick() in a loop\n", settings.valueSize);
  compareSides(settings, port, group, shared, fedText, "Data", "A0", sides);
  std::printf("  data distribution on: rate %.2f of off (goal >= 0.95)\n", ratioOf(sides[0], sides[1]));
}

// Data distribution on, its channels in a few groups of the bench's own.
const char* const regionRidLines =
    "(setq RTI_dataDistMgmt 1)\n(setq RTI_minChannelAddr \"239.81.0.1\")\n(setq RTI_maxChannelAddr \"239.81.0.16\")\n";

// The update rate with data distribution on in both federates, each
// subscribing and registering with one region that overlaps the other's,
// beside data distribution off (the same class, no region), in the same run.
void runStillRegions(const Settings& settings, int port, std::uint32_t group, Shared& shared) {
  RateSide sides[] = {{"RTI, data distribution off", "(setq RTI_dataDistMgmt 0)\n", false, {}},
                      {"RTI, one overlapping region each", regionRidLines, false, {}, 0, true}};
  std::printf("Data distribution with still regions: one %u-byte attribute of space Geo, tick() in a loop\n",
              settings.valueSize);
  compareSides(settings, port, group, shared, fedText, "Located", "L0", sides);
  std::printf("  one overlapping region each: rate %.2f of data distribution off (goal >= 0.80)\n",
              ratioOf(sides[0], sides[1]));
}

// Reflections at one subscriber while 100, then 1000 publishers (objects
// with a region each, in a few federates) update and move their regions
// every 100 ms, beside the same without data distribution; alternating.
void runMovingRegions(const Settings& settings, int port, std::uint32_t group) {
  auto* shared = makeShared<movingregions::Shared>();
  struct Side {
    const char* name;
    const char* forms;
    bool regions;
  };
  const Side sides[] = {{"data distribution off", "(setq RTI_dataDistMgmt 0)\n", false},
                        {"regions moving every 100 ms", regionRidLines, true}};
  std::printf(
      "Moving regions: %u-byte updates round robin over the publishers as fast as %u federates go, for %u s; "
      "the subscriber's one region holds every publisher's\n",
      settings.valueSize, settings.regionProcesses, settings.regionSeconds);
  std::printf("  %-10s %-28s %12s %12s %9s %10s %12s\n", "publishers", "side", "reflected/s", "sent/s", "lost",
              "moves/s", "discovered");
  for (const std::uint32_t publishers : {100u, 1000u}) {
    movingregions::Outcome best[2];
    std::uint64_t sent[2] = {0, 0}, received[2] = {0, 0};
    double sentRate[2] = {0, 0};
    std::uint32_t leastDiscovered[2] = {publishers, publishers};
    for (std::uint32_t r = 0; r < settings.repeat; ++r) {
      for (int i = 0; i < 2; ++i) {
        BenchFederation::Options options = federationFiles(settings);
        options.extraRidLines += sides[i].forms;
        const BenchConfig config(port, group, options);
        const movingregions::Plan plan{config.fedFile(),
                                       executionName,
                                       publishers,
                                       settings.regionProcesses,
                                       static_cast<double>(settings.regionSeconds),
                                       settings.valueSize,
                                       sides[i].regions};
        const movingregions::Outcome outcome = movingregions::runOnce(plan, *shared);
        sent[i] += outcome.sent;
        received[i] += std::min(outcome.received, outcome.sent);
        sentRate[i] = std::max(sentRate[i], static_cast<double>(outcome.sent) / settings.regionSeconds);
        leastDiscovered[i] = std::min(leastDiscovered[i], outcome.discovered);
        if (outcome.perSecond() > best[i].perSecond()) best[i] = outcome;
      }
    }
    for (int i = 0; i < 2; ++i) {
      std::printf("  %-10u %-28s %12.0f %12.0f %8.2f%% %10.0f %7u/%u\n", publishers, sides[i].name, best[i].perSecond(),
                  sentRate[i], sent[i] ? 100.0 * static_cast<double>(sent[i] - received[i]) / sent[i] : 0.0,
                  static_cast<double>(best[i].moves) / settings.regionSeconds, leastDiscovered[i], publishers);
    }
    std::printf("  %u publishers: reflections %.2f of data distribution off\n", publishers,
                best[0].perSecond() > 0 ? best[1].perSecond() / best[0].perSecond() : 0.0);
  }
}

// ---- reliable updates through the rtiexec

// Connections that connect and never speak, as many as asked (as the
// process may open).
std::vector<int> openIdleConnections(int port, std::uint32_t count) {
  std::vector<int> fds;
  for (std::uint32_t i = 0; i < count; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(loopback);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
      if (fd >= 0) close(fd);
      break;
    }
    fds.push_back(fd);
  }
  return fds;
}

void runReliable(const Settings& settings, int port, std::uint32_t group, Shared& shared) {
  BenchFederation::Options options = federationFiles(settings);
  options.extraRidLines += "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n";
  const BenchConfig config(port, group, options);
  const BenchRtiExec exec(port, "/tmp/hla_updates_rtiexec.log");
  if (!exec.waitReady()) {
    std::printf("reliable updates: the rtiexec did not start (see /tmp/hla_updates_rtiexec.log)\n");
    return;
  }
  const BareTcpRelay relay;
  const std::uint32_t size = UpdateEndpoint::messageSize(settings);
  const MakeEndpoint bare = [&](int role) {
    return std::make_unique<BareTcpEndpoint>(relay.port(), role, size, DtUpdateRoMsgKind);
  };
  // The sender ticks once a burst, as a federate does once a frame.
  Settings bursts = settings;
  bursts.tickEvery = settings.burst;
  const MakeEndpoint rti = [&](int role) {
    return std::make_unique<UpdateEndpoint>(config, role, TickMode::Plain, bursts, "Reliable", "B0");
  };
  struct Path {
    const char* name;
    const MakeEndpoint& make;
    PathResult result;
  };
  Path paths[] = {{"bare TCP through a relay", bare, {}}, {"RTI reliable, rtiexec forwarder", rti, {}}};
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    for (std::size_t i = 0; i < 2; ++i) {
      if (!(settings.pathMask & (1u << i))) continue;
      Path& path = paths[i];
      const Rate rate = measureRate(path.make, settings.count, 0, shared);
      path.result.lost += settings.count - rate.received;
      if (rate.perSecond() > path.result.best.perSecond()) path.result.best = rate;
      path.result.sendRate =
          std::max(path.result.sendRate, rate.sendSeconds > 0 ? settings.count / rate.sendSeconds : 0.0);
      RoundTrips trips = measureRoundTrips(path.make, settings.pings, shared);
      path.result.pingsLost += trips.lost;
      const double m = trips.percentile(0.5);
      if (r == 0 || m < path.result.median) {
        path.result.median = m;
        path.result.p99 = trips.percentile(0.99);
      }
    }
  }
  std::printf(
      "Reliable: one %u-byte attribute (%u-byte messages) by TCP, tick() in a loop; the sender ticks after "
      "every burst of %u\n",
      settings.valueSize, size, settings.burst);
  std::printf("  %-34s %12s %9s %12s %12s %12s %6s\n", "path", "received/s", "lost", "sent/s", "median RTT", "99% RTT",
              "lost");
  for (const Path& path : paths) {
    std::printf("  %-34s %12.0f %9llu %12.0f %9.1f us %9.1f us %6llu\n", path.name, path.result.best.perSecond(),
                static_cast<unsigned long long>(path.result.lost), path.result.sendRate, path.result.median,
                path.result.p99, static_cast<unsigned long long>(path.result.pingsLost));
  }
  const double ratio =
      paths[0].result.best.perSecond() > 0 ? paths[1].result.best.perSecond() / paths[0].result.best.perSecond() : 0;
  std::printf("  through the forwarder: rate %.2f of the bare relay (goal >= 0.70), %s\n", ratio,
              paths[1].result.lost == 0 ? "nothing lost" : "SOME LOST");

  // With idle connections open: the federates' round trips, and what the
  // rtiexec costs while nothing happens.
  const std::vector<int> idle = openIdleConnections(port, settings.idle);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const double cpuBefore = exec.cpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double idleCpu = (exec.cpuSeconds() - cpuBefore) / 3.0;
  double withIdle = 0;
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    RoundTrips trips = measureRoundTrips(rti, settings.pings, shared);
    const double m = trips.percentile(0.5);
    if (r == 0 || m < withIdle) withIdle = m;
  }
  std::printf(
      "  with %zu idle connections open: the rtiexec uses %.2f %% of a core while idle; median RTT %.1f us, "
      "%.2f x without them (goal <= 2)\n",
      idle.size(), 100.0 * idleCpu, withIdle, paths[1].result.median > 0 ? withIdle / paths[1].result.median : 0.0);
  for (const int fd : idle) close(fd);
}

// ---- the radio case

struct Memory {
  long residentBytes = 0;
  long heapBytes = 0;
};

Memory memoryNow() {
  Memory memory;
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  memory.residentBytes = resident * sysconf(_SC_PAGESIZE);
  memory.heapBytes = static_cast<long>(mallinfo2().uordblks);
  return memory;
}

struct RadioShared {
  std::atomic<int> ready{0};
  std::atomic<std::uint32_t> discovered{0};
  std::atomic<std::uint64_t> reflected{0};
  std::atomic<std::int64_t> lastDiscovery{0};
  std::atomic<std::int64_t> lastReflection{0};
  std::atomic<long> residentGrowth{0};
  std::atomic<long> heapGrowth{0};
  std::atomic<long> residentAfterValues{0};
  std::atomic<long> heapAfterValues{0};
  std::atomic<int> done{0};
};

void runRadios(const Settings& settings, const BenchConfig& config, RadioShared& shared) {
  const std::uint32_t radios = settings.objects;
  double bestSeconds = 0, bestReflectSeconds = 0;
  long resident = 0, heap = 0, residentValues = 0, heapValues = 0;
  for (std::uint32_t r = 0; r < settings.repeat; ++r) {
    new (&shared) RadioShared;
    const pid_t child = forkChild([&] {
      BenchFederate federate(config.fedFile(), "discoverer");
      RTI::RTIambassador& rti = federate.rti();
      const RTI::ObjectClassHandle radio = rti.getObjectClassHandle("Radio");
      AttributeSet all(RTI::AttributeHandleSetFactory::create(21));
      for (int a = 0; a < 21; ++a) all->add(rti.getAttributeHandle(numbered("R", a).c_str(), radio));
      rti.subscribeObjectClassAttributes(radio, *all, RTI::RTI_TRUE);
      federate.tick(TickMode::MinMax);
      const Memory before = memoryNow();
      federate.onDiscover = [&](RTI::ObjectHandle, const char*) {
        shared.lastDiscovery = now();
        ++shared.discovered;
      };
      federate.onReflect = [&](RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&) {
        shared.lastReflection = now();
        ++shared.reflected;
      };
      shared.ready = 1;
      auto quiet = Clock::now();
      while (shared.discovered.load() < radios && Clock::now() - quiet < std::chrono::seconds(3)) {
        if (federate.tick(TickMode::MinMax)) quiet = Clock::now();
      }
      const Memory discovered = memoryNow();
      shared.residentGrowth = discovered.residentBytes - before.residentBytes;
      shared.heapGrowth = discovered.heapBytes - before.heapBytes;
      quiet = Clock::now();
      while (shared.reflected.load() < radios && Clock::now() - quiet < std::chrono::seconds(3)) {
        if (federate.tick(TickMode::MinMax)) quiet = Clock::now();
      }
      const Memory reflected = memoryNow();
      shared.residentAfterValues = reflected.residentBytes - before.residentBytes;
      shared.heapAfterValues = reflected.heapBytes - before.heapBytes;
      shared.done = 1;
      while (shared.done.load() != 2) federate.tick(TickMode::MinMax);
    });
    while (!shared.ready.load()) std::this_thread::yield();
    {
      BenchFederate federate(config.fedFile(), "registrar");
      RTI::RTIambassador& rti = federate.rti();
      const RTI::ObjectClassHandle radio = rti.getObjectClassHandle("Radio");
      AttributeSet all(RTI::AttributeHandleSetFactory::create(21));
      std::vector<RTI::AttributeHandle> handles;
      for (int a = 0; a < 21; ++a) {
        handles.push_back(rti.getAttributeHandle(numbered("R", a).c_str(), radio));
        all->add(handles.back());
      }
      rti.publishObjectClass(radio, *all);
      federate.tick(TickMode::MinMax);
      std::vector<RTI::ObjectHandle> made;
      const std::int64_t start = now();
      for (std::uint32_t i = 0; i < radios; ++i) {
        made.push_back(rti.registerObjectInstance(radio, numbered("radio", i).c_str()));
        rti.tick();
      }
      while (shared.discovered.load() < radios && now() - start < 5 * Clock::period::den) rti.tick(0.001, 0.01);
      // Every radio's 21 values once.
      ValueSet values(RTI::AttributeSetFactory::create(21));
      const std::vector<char> value(settings.radioValue, 'r');
      for (RTI::AttributeHandle h : handles) values->add(h, value.data(), value.size());
      const std::int64_t updates = now();
      for (RTI::ObjectHandle object : made) {
        rti.updateAttributeValues(object, *values, "");
        rti.tick();
      }
      while (!shared.done.load() && now() - updates < 5 * Clock::period::den) rti.tick(0.001, 0.01);
      const double seconds =
          std::chrono::duration<double>(Clock::duration(shared.lastDiscovery.load() - start)).count();
      const double reflectSeconds =
          std::chrono::duration<double>(Clock::duration(shared.lastReflection.load() - updates)).count();
      if (shared.discovered.load() == radios && (r == 0 || seconds < bestSeconds)) bestSeconds = seconds;
      if (shared.reflected.load() == radios && (r == 0 || reflectSeconds < bestReflectSeconds)) {
        bestReflectSeconds = reflectSeconds;
      }
      resident = std::max(resident, shared.residentGrowth.load());
      heap = std::max(heap, shared.heapGrowth.load());
      residentValues = std::max(residentValues, shared.residentAfterValues.load());
      heapValues = std::max(heapValues, shared.heapAfterValues.load());
      std::printf("  run %u: %u of %u discovered, %llu reflected\n", r + 1, shared.discovered.load(), radios,
                  static_cast<unsigned long long>(shared.reflected.load()));
      shared.done = 2;
    }
    waitpid(child, nullptr, 0);
  }
  std::printf("%u radios of 21 attributes (%u-byte values)\n", radios, settings.radioValue);
  std::printf(
      "  registration to full discovery: %.1f ms (%.1f us per object); one update of each reflected in "
      "%.1f ms\n",
      bestSeconds * 1e3, bestSeconds * 1e6 / radios, bestReflectSeconds * 1e3);
  std::printf(
      "  memory per discovered object: %ld bytes resident, %ld bytes of heap; after one update of each: %ld "
      "resident, %ld heap (the values of one object: %u bytes; the RTI keeps none of them; goal: well under "
      "2048)\n",
      resident / static_cast<long>(radios), heap / static_cast<long>(radios),
      residentValues / static_cast<long>(radios), heapValues / static_cast<long>(radios), 21 * settings.radioValue);
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  // The idle connections of the reliable case need descriptors.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
  setRtiNotifyLevel(nullptr, 1);
  Shared* shared = makeShared();
  RadioShared* radioShared = makeShared<RadioShared>();

  // A port of the system's choice, held while the bench runs, and a group of its own.
  DtNetSocket portHolder(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  const int port = portHolder.port();
  const std::uint32_t group = (239u << 24) | (80u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
  const BenchConfig config(port, group, federationFiles(settings));

  std::printf("hla_updates: %u updates per rate run (open loop), %u pings, best of %u, %u-byte receive buffers\n",
              settings.count, settings.pings, settings.repeat, settings.receiveBuffer);
  if (settings.cases & 1) runUpdates(settings, config, port, group, *shared);
  if (settings.cases & 2) runRadios(settings, config, *radioShared);
  if (settings.cases & 4) runReliable(settings, port, group, *shared);
  if (settings.cases & 8) runMom(settings, port, group, *shared);
  if (settings.cases & 16) runDataDistribution(settings, port, group, *shared);
  if (settings.cases & 32) runStillRegions(settings, port, group, *shared);
  if (settings.cases & 64) runMovingRegions(settings, port, group);
  if (settings.cases & 128) regioncost::runRegionChangeCost(fedText, port, group, settings.repeat);
  return 0;
}
