#pragma once
// What one notifyAboutRegionModification of a subscriber's region costs as
// the other federates' publication region sets grow from 100 to 10,000, of
// which a handful overlap the region at each of its two places. Measured in
// one process, as the data distribution unit tests build their federates:
// two federates' object managers with their data distribution managers on a
// bus of their own (no socket: the cost of the call, not of the network).
// The publisher announces its regions, registers one object per region
// (each object its own publication set) and the subscriber learns them all
// from the messages; then the subscriber's region moves between the two
// places, each move ending the overlaps of one handful and beginning those
// of the other (channels dropped and joined, objects discovered the first
// time). Beside it the same with the index of the remote sets' regions off
// (every remote set tested), in the same run.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "BenchFederation.h"
#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"

namespace regioncost {

class BusConnection;

// Messages sent by one member reach every member (its sender's too, as on
// the loopback group) when delivered; while muted, what is sent is dropped.
class Bus {
public:
  void join(BusConnection* member) { members_.push_back(member); }
  void post(std::unique_ptr<DtRtiMsg> msg) {
    if (!muted) queue_.push_back(std::move(msg));
  }
  int deliver();
  bool muted = false;

private:
  std::vector<BusConnection*> members_;
  std::deque<std::unique_ptr<DtRtiMsg>> queue_;
};

class BusConnection : public DtConnectionMgr {
public:
  BusConnection(std::uint32_t handle, Bus& bus) : handle_(handle), bus_(bus) { bus.join(this); }
  int send(const DtRtiMsg& msg, DtTransportType, unsigned long) override { return post(msg.clone(1), handle_); }
  int sendStamped(DtRtiMsg& msg, DtTransportType, unsigned long) override { return post(msg.clone(1), handle_); }
  int sendStampedAnonymous(DtRtiMsg& msg, DtTransportType, unsigned long) override { return post(msg.clone(1), 0); }
  int sendAndDelete(DtRtiMsg* msg, DtTransportType, unsigned long) override { return post(msg, handle_); }
  int sendStampedAndDelete(DtRtiMsg* msg, DtTransportType, unsigned long) override { return post(msg, handle_); }
  int sendStampedAnonymousAndDelete(DtRtiMsg* msg, DtTransportType, unsigned long) override { return post(msg, 0); }
  bool listenToMulticastGroup(unsigned long) override { return true; }
  bool dropMulticastGroup(unsigned long) override { return true; }
  RTI::FederateAmbassador* fedAmb() const override { return &ambassador_; }
  unsigned long fedHandle() const override { return handle_; }

private:
  int post(DtRtiMsg* msg, std::uint32_t sender) {
    std::unique_ptr<DtRtiMsg> owned(msg);
    owned->setFederateHandle(sender);
    bus_.post(std::move(owned));
    return 0;
  }

  std::uint32_t handle_;
  Bus& bus_;
  mutable NullFederateAmbassador ambassador_;
};

inline int Bus::deliver() {
  int count = 0;
  while (!queue_.empty()) {
    const std::unique_ptr<DtRtiMsg> msg = std::move(queue_.front());
    queue_.pop_front();
    for (BusConnection* member : members_) member->processMsg(*msg);
    ++count;
  }
  return count;
}

// One federate: its model, the object manager of data distribution and the
// data distribution manager over it.
struct Member {
  Member(std::uint32_t handle, Bus& bus, DtRIDParameters& rid, const std::string& fedFile) : conn(handle, bus) {
    DtFedReader reader;
    fom = DtFomClassMgr::loadFed(reader, fedFile.c_str(), &rid, nullptr);
    objects = std::make_unique<DtObjectDataDistMgr>(&conn, fom.get(), &rid);
    ddm = std::make_unique<DtDataDistMgr>(objects.get(), nullptr);
    objects->setDdmMgr(ddm.get());
  }
  // The object manager first: its sets point at the regions.
  ~Member() {
    objects.reset();
    ddm.reset();
    DtUpdateMsg::setChannelIncluded(0);
  }
  DtRegion& region(RTI::SpaceHandle space, std::uint32_t lower, std::uint32_t upper) {
    DtRegion* made = ddm->createRegion(space, 1);
    place(*made, lower, upper);
    return *made;
  }
  void place(DtRegion& region, std::uint32_t lower, std::uint32_t upper) {
    region.setRangeLowerBound(0, 0, lower);
    region.setRangeUpperBound(0, 0, upper);
    ddm->notifyAboutRegionModification(region);
  }

  BusConnection conn;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<DtObjectDataDistMgr> objects;
  std::unique_ptr<DtDataDistMgr> ddm;
};

constexpr std::uint32_t spacing = 1000, width = 100, handful = 5;

struct Cost {
  double indexedMicros = 0;
  double plainMicros = 0;
};

// Everything delivered, the managers ticked after each round.
inline void settle(Bus& bus, Member& a, Member& b) {
  for (int round = 0; round < 50 && bus.deliver() != 0; ++round) {
    a.objects->tick();
    b.objects->tick();
  }
}

// `sets` remote publication sets at `spacing` apart along the dimension;
// the subscriber's region covers sets 0-4 at its first place and sets 5-9
// at its second. The best of `repeat` timings of `moves` moves, with the
// index and without.
inline Cost measureCost(const std::string& fedFile, std::uint32_t sets, std::uint32_t moves, std::uint32_t repeat) {
  DtRIDParameters rid;
  Bus bus;
  Member subscriber(3, bus, rid, fedFile);
  Member publisher(21, bus, rid, fedFile);
  const RTI::SpaceHandle space = publisher.fom->spaceHandle("Geo");
  const RTI::ObjectClassHandle located = publisher.fom->classHandle("Located");
  const RTI::AttributeHandle attribute = publisher.fom->attrHandle("L0", located);
  DtAttributeHandleSet attributes;
  attributes.add(attribute);

  DtRegion& mine = subscriber.region(space, 0, handful * spacing - spacing / 2);
  subscriber.objects->subscribeObjectClassAttributesWithRegion(located, mine, attributes, RTI::RTI_TRUE);
  publisher.objects->publish(located, attributes);
  for (std::uint32_t i = 0; i < sets; ++i) {
    RTI::Region* region = &publisher.region(space, i * spacing, i * spacing + width);
    RTI::AttributeHandle handles[] = {attribute};
    publisher.objects->registerObjectInstanceWithRegion(located, handles, &region, 1);
    if (i % 100 == 99) settle(bus, subscriber, publisher);
  }
  settle(bus, subscriber, publisher);

  // Only the call is timed: what it sends is dropped.
  bus.muted = true;
  Cost cost;
  for (const bool indexed : {true, false}) {
    subscriber.objects->setOverlapIndexUsed(indexed);
    double best = 0;
    for (std::uint32_t r = 0; r < repeat; ++r) {
      const auto start = std::chrono::steady_clock::now();
      for (std::uint32_t m = 0; m < moves; ++m) {
        const std::uint32_t from = (m % 2 == 0 ? handful : 0) * spacing;
        subscriber.place(mine, from, from + handful * spacing - spacing / 2);
      }
      const double micros =
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / moves;
      if (r == 0 || micros < best) best = micros;
    }
    (indexed ? cost.indexedMicros : cost.plainMicros) = best;
  }
  const std::uint32_t overlapping = subscriber.objects->subMatchOverlaps().count();
  if (overlapping != handful) std::printf("  (%u sets: %u overlap at the end, not %u)\n", sets, overlapping, handful);
  return cost;
}

// Prints the table; `fedText` holds space Geo and class Located (L0 in Geo).
// The port and group only fill the RID file: nothing goes on the network.
inline void runRegionChangeCost(const std::string& fedText, int port, std::uint32_t group, std::uint32_t repeat) {
  BenchFederation::Options options{
      "hla_updates_regions", "RegionChangeCost", fedText, 0, "(setq RTI_dataDistMgmt 1)\n", false};
  const BenchFederation files(port, group, options);
  std::printf(
      "Region change cost: one notifyAboutRegionModification of a subscriber's region moving between two "
      "places, %u of the other federate's publication sets overlapping at each (in one process)\n",
      handful);
  std::printf("  %-22s %18s %26s\n", "remote publication sets", "with the index", "testing every set");
  std::vector<Cost> costs;
  for (const std::uint32_t sets : {100u, 1000u, 10000u}) {
    const std::uint32_t moves = sets >= 10000 ? 400 : 2000;
    costs.push_back(measureCost(files.fedFile(), sets, moves, repeat));
    std::printf("  %-22u %15.1f us %23.1f us\n", sets, costs.back().indexedMicros, costs.back().plainMicros);
  }
  const double ratio = costs.front().indexedMicros > 0 ? costs.back().indexedMicros / costs.front().indexedMicros : 0;
  std::printf("  10,000 sets cost %.2f x 100 sets with the index (goal <= 4); %.2f x testing every set\n", ratio,
              costs.front().plainMicros > 0 ? costs.back().plainMicros / costs.front().plainMicros : 0.0);
}

}  // namespace regioncost
