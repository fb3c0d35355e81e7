#pragma once
// Reflections per second at a subscriber while the publishers' regions
// move. A publisher here is one object with a region of its own (as a
// vehicle is); the publishers live in a few federate processes (each holds
// its share), which update their objects round robin as fast as they can
// (open loop, ticking after each update) and move every region of theirs
// every 100 ms (new bounds, notifyAboutRegionModification). The subscriber,
// a process of its own, subscribes with one region; the publishers' regions
// move within it, so that every update sent is owed to it: what does not
// arrive is lost. Beside it, in the same run, the same processes and
// objects with data distribution off (no region, nothing moves).
//
// Everything through the RTI ambassador; every wait is bounded (a lost
// message never hangs the bench).

#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackPair.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "fedtime.hh"

namespace movingregions {

using loopbackpair::Clock;
using loopbackpair::now;

// What the processes tell each other, in memory they share.
struct Shared {
  std::atomic<int> subscriberReady{0};
  std::atomic<int> publishersReady{0};
  std::atomic<std::uint32_t> discovered{0};
  std::atomic<int> go{0};
  std::atomic<std::int64_t> start{0};
  std::atomic<int> publishersDone{0};
  std::atomic<int> subscriberDone{0};
  std::atomic<std::uint64_t> sent{0};
  std::atomic<std::uint64_t> moves{0};
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::int64_t> lastArrival{0};
};

struct Plan {
  std::string fedFile;
  const char* execution;
  std::uint32_t publishers;  // objects, each with its region
  std::uint32_t processes;   // the publishers' federates
  double seconds;            // of updates and moves
  std::uint32_t valueSize;
  bool regions;
};

struct Outcome {
  std::uint32_t discovered = 0;
  std::uint64_t sent = 0;
  std::uint64_t received = 0;
  std::uint64_t moves = 0;
  double seconds = 0;
  double perSecond() const { return seconds > 0 ? static_cast<double>(received) / seconds : 0; }
};

// A joined federate that counts what it is told.
class Federate : public NullFederateAmbassador {
public:
  Federate(const Plan& plan, const std::string& name) : execution_(plan.execution) {
    try {
      rti_.createFederationExecution(execution_, plan.fedFile.c_str());
    } catch (const RTI::Exception&) {
      // Made by another process already.
    }
    rti_.joinFederationExecution(name.c_str(), execution_, this);
  }
  ~Federate() override {
    try {
      rti_.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
      rti_.destroyFederationExecution(execution_);
    } catch (const RTI::Exception&) {
    }
  }
  Federate(const Federate&) = delete;
  Federate& operator=(const Federate&) = delete;

  RTI::RTIambassador& rti() { return rti_; }
  void discoverObjectInstance(RTI::ObjectHandle, RTI::ObjectClassHandle, const char*) override { ++discovered; }
  void reflectAttributeValues(RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet&, const char*) override {
    ++reflected;
  }
  void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                              const RTI::FedTime&, const char* tag, RTI::EventRetractionHandle) override {
    reflectAttributeValues(object, values, tag);
  }

  std::uint32_t discovered = 0;
  std::uint64_t reflected = 0;

private:
  RTI::RTIambassador rti_;
  const char* execution_;
};

struct Handles {
  // Space and dimension only with data distribution on (the services
  // refuse otherwise).
  Handles(RTI::RTIambassador& rti, bool regions)
      : located(rti.getObjectClassHandle("Located")),
        value(rti.getAttributeHandle("L0", located)),
        geo(regions ? rti.getRoutingSpaceHandle("Geo") : 0),
        x(regions ? rti.getDimensionHandle("X", geo) : 0),
        attributes(RTI::AttributeHandleSetFactory::create(1)) {
    attributes->add(value);
  }
  RTI::ObjectClassHandle located;
  RTI::AttributeHandle value;
  RTI::SpaceHandle geo;
  RTI::DimensionHandle x;
  std::unique_ptr<RTI::AttributeHandleSet> attributes;
};

// A publisher's region: one thousandth of X, somewhere in it.
inline void place(RTI::Region& region, RTI::DimensionHandle x, std::mt19937& random) {
  constexpr RTI::ULong width = MAX_EXTENT / 1000;
  const RTI::ULong lower = std::uniform_int_distribution<RTI::ULong>(0, MAX_EXTENT - width)(random);
  region.setRangeLowerBound(0, x, lower);
  region.setRangeUpperBound(0, x, lower + width);
}

inline bool waitUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& meanwhile) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (Clock::now() > deadline) return false;
    meanwhile();
  }
  return true;
}

inline void subscriber(const Plan& plan, Shared& shared) {
  Federate federate(plan, "subscriber");
  RTI::RTIambassador& rti = federate.rti();
  const Handles h(rti, plan.regions);
  if (plan.regions) {
    RTI::Region* everywhere = rti.createRegion(h.geo, 1);
    everywhere->setRangeLowerBound(0, h.x, 0);
    everywhere->setRangeUpperBound(0, h.x, MAX_EXTENT);
    rti.notifyAboutRegionModification(*everywhere);
    rti.subscribeObjectClassAttributesWithRegion(h.located, *everywhere, *h.attributes, RTI::RTI_TRUE);
  } else {
    rti.subscribeObjectClassAttributes(h.located, *h.attributes, RTI::RTI_TRUE);
  }
  shared.subscriberReady = 1;
  const auto tick = [&] {
    rti.tick();
    shared.discovered = federate.discovered;
    if (shared.go.load() && federate.reflected != shared.received.load()) {
      shared.received = federate.reflected;
      shared.lastArrival = now();
    }
  };
  // Until the publishers are done, then until everything sent came or a
  // second passed without anything.
  waitUntil([&] { return shared.publishersDone.load() == static_cast<int>(plan.processes); }, plan.seconds + 60, tick);
  auto quietSince = Clock::now();
  std::uint64_t seen = federate.reflected;
  while (federate.reflected < shared.sent.load() && Clock::now() - quietSince < std::chrono::seconds(1)) {
    tick();
    if (federate.reflected != seen) {
      seen = federate.reflected;
      quietSince = Clock::now();
    }
  }
  shared.subscriberDone = 1;
}

inline void publisher(const Plan& plan, Shared& shared, std::uint32_t index) {
  Federate federate(plan, "publisher" + std::to_string(index));
  RTI::RTIambassador& rti = federate.rti();
  const Handles h(rti, plan.regions);
  rti.publishObjectClass(h.located, *h.attributes);
  std::mt19937 random(index + 1);
  // Its share of the publishers.
  const std::uint32_t first = plan.publishers * index / plan.processes;
  const std::uint32_t last = plan.publishers * (index + 1) / plan.processes;
  std::vector<RTI::Region*> regions;
  std::vector<RTI::ObjectHandle> objects;
  for (std::uint32_t n = first; n < last; ++n) {
    const std::string name = "vehicle" + std::to_string(n);
    if (plan.regions) {
      RTI::Region* region = rti.createRegion(h.geo, 1);
      place(*region, h.x, random);
      rti.notifyAboutRegionModification(*region);
      RTI::AttributeHandle handles[] = {h.value};
      objects.push_back(rti.registerObjectInstanceWithRegion(h.located, name.c_str(), handles, &region, 1));
      regions.push_back(region);
    } else {
      objects.push_back(rti.registerObjectInstance(h.located, name.c_str()));
    }
    rti.tick();
  }
  ++shared.publishersReady;
  waitUntil([&] { return shared.go.load() != 0; }, 60, [&] { rti.tick(0.001, 0.01); });

  std::unique_ptr<RTI::AttributeHandleValuePairSet> values(RTI::AttributeSetFactory::create(1));
  const std::vector<char> value(plan.valueSize, 'v');
  values->add(h.value, value.data(), static_cast<RTI::ULong>(value.size()));
  const std::int64_t start = shared.start.load();
  const auto end = start + static_cast<std::int64_t>(plan.seconds * Clock::period::den / Clock::period::num);
  const auto interval = static_cast<std::int64_t>(0.1 * Clock::period::den / Clock::period::num);
  std::int64_t nextMove = start + interval;
  std::uint64_t sent = 0, moves = 0;
  for (std::size_t next = 0; !objects.empty() && now() < end; next = (next + 1) % objects.size()) {
    if (!regions.empty() && now() >= nextMove) {
      for (RTI::Region* region : regions) {
        place(*region, h.x, random);
        rti.notifyAboutRegionModification(*region);
      }
      moves += regions.size();
      nextMove += interval;
    }
    rti.updateAttributeValues(objects[next], *values, "");
    ++sent;
    rti.tick();
  }
  shared.sent += sent;
  shared.moves += moves;
  ++shared.publishersDone;
  // Up until the subscriber has counted (its federation stays whole).
  waitUntil([&] { return shared.subscriberDone.load() != 0; }, 10, [&] { rti.tick(0.001, 0.01); });
}

inline Outcome runOnce(const Plan& plan, Shared& shared) {
  new (&shared) Shared;
  std::vector<pid_t> children;
  children.push_back(loopbackpair::forkChild([&] { subscriber(plan, shared); }));
  const auto idle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
  waitUntil([&] { return shared.subscriberReady.load() != 0; }, 30, idle);
  for (std::uint32_t p = 0; p < plan.processes; ++p) {
    children.push_back(loopbackpair::forkChild([&, p] { publisher(plan, shared, p); }));
  }
  waitUntil([&] { return shared.publishersReady.load() == static_cast<int>(plan.processes); }, 60, idle);
  waitUntil([&] { return shared.discovered.load() >= plan.publishers; }, 20, idle);
  Outcome outcome;
  outcome.discovered = shared.discovered.load();
  shared.start = now();
  shared.go = 1;
  for (const pid_t child : children) waitpid(child, nullptr, 0);
  outcome.sent = shared.sent.load();
  outcome.received = shared.received.load();
  outcome.moves = shared.moves.load();
  outcome.seconds =
      std::chrono::duration<double>(Clock::duration(shared.lastArrival.load() - shared.start.load())).count();
  return outcome;
}

}  // namespace movingregions
