// Objects with regions between federate processes of a federation run by
// the real rtiexec program (each test its own port and group, updates by
// multicast): a scripted federate registers and updates with its regions,
// and a federate of the test's own process subscribes with a region. It
// discovers, reflects and has in scope what overlaps its region, nothing
// else; association and unassociation bring objects into scope and out of
// it; a subscriber that joins late still discovers; reflected values carry
// the publisher's region. A region that moves away takes the object out of
// scope at the subscriber, turns the owner's updates off and leaves the
// channel, and moving back undoes it all; a region in use is not deleted,
// and a deleted one takes its sets along. A class-wide request from a region
// is answered for the objects whose regions overlap it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ScriptedPeerFederation.h"
#include "core/DtFederateMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "support/RegionModel.h"

namespace {

using Lines = std::vector<std::string>;

// What the test's own federate was told, by object name: "discover car",
// "reflect car p1 from 0" (the lower X bound of the values' region), "in
// scope car", "out of scope car", "provide car 1" (the attribute handles).
class Observer : public NullFederateAmbassador {
public:
  void discoverObjectInstance(RTI::ObjectHandle object, RTI::ObjectClassHandle, const char* name) override {
    names[object] = name ? name : "";
    lines.push_back("discover " + names[object]);
  }
  void reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                              const char*) override {
    RTI::ULong length = 0;
    const char* value = values.size() ? values.getValuePointer(0, length) : "";
    const RTI::Region* region = values.size() ? values.getRegion(0) : nullptr;
    std::string from = "none";
    if (region && region->getNumberOfExtents() > 0) from = std::to_string(region->getRangeLowerBound(0, 0));
    lines.push_back("reflect " + names[object] + " " + std::string(value, length) + " from " + from);
  }
  void attributesInScope(RTI::ObjectHandle object, const RTI::AttributeHandleSet&) override {
    lines.push_back("in scope " + names[object]);
  }
  void attributesOutOfScope(RTI::ObjectHandle object, const RTI::AttributeHandleSet&) override {
    lines.push_back("out of scope " + names[object]);
  }
  void provideAttributeValueUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) override {
    std::string line = "provide " + names[object];
    for (RTI::ULong i = 0; i < attributes.size(); ++i) line += " " + std::to_string(attributes.getHandle(i));
    lines.push_back(line);
  }
  bool got(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  bool gotWith(const std::string& prefix) const {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  }
  std::map<RTI::ObjectHandle, std::string> names;
  Lines lines;
};

class ObjectRegionFederation : public ScriptedPeerFederation {
protected:
  // Updates by multicast, the RTI's own messages through the rtiexec.
  ::testing::AssertionResult start() {
    return ScriptedPeerFederation::start(everyDeployment[2], "(setq RTI_dataDistMgmt 1)\n", "Field.fed",
                                         theFieldModelFed);
  }
  // The test's federate joins, its scope advisories on, and subscribes
  // Position with a region of this X range (and every Y).
  void subscribe(RTI::ULong lower, RTI::ULong upper) {
    b->joinFederationExecution("B", "Field", &observer);
    b->enableAttributeScopeAdvisorySwitch();
    const RTI::ObjectClassHandle vehicle = b->getObjectClassHandle("Vehicle");
    std::unique_ptr<RTI::AttributeHandleSet> position(RTI::AttributeHandleSetFactory::create(1));
    position->add(b->getAttributeHandle("Position", vehicle));
    RTI::Region* mine = b->createRegion(b->getRoutingSpaceHandle("Geo"), 1);
    mine->setRangeLowerBound(0, 0, lower);
    mine->setRangeUpperBound(0, 0, upper);
    mine->setRangeLowerBound(0, 1, 0);
    mine->setRangeUpperBound(0, 1, 100);
    b->notifyAboutRegionModification(*mine);
    b->subscribeObjectClassAttributesWithRegion(vehicle, *mine, *position, RTI::RTI_TRUE);
    region = mine;
  }
  // The test's federate's region moves to this X range.
  void move(RTI::ULong lower, RTI::ULong upper) {
    region->setRangeLowerBound(0, 0, lower);
    region->setRangeUpperBound(0, 0, upper);
    b->notifyAboutRegionModification(*region);
  }
  // Ticks the test's federate and reads what the scripted one prints until
  // one of its lines starts with the prefix.
  bool aPrinted(const std::string& prefix, double seconds = 20) {
    return waitUntil(
        [&] {
          return std::any_of(aLines.begin(), aLines.end(),
                             [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        },
        [&] {
          b->tick();
          const std::string line = a->readLine(0.005);
          if (!line.empty()) aLines.push_back(line);
        },
        seconds);
  }
  bool observed(const std::string& line, double seconds = 20) {
    return waitUntil([&] { return observer.got(line); }, [&] { b->tick(); }, seconds);
  }
  // What both were told from here on.
  void forget() {
    observer.lines.clear();
    aLines.clear();
  }
  // Updates the object until the test's federate has the line.
  bool updateUntilReflected(const std::string& object, const std::string& value, const std::string& line) {
    std::string update = "update " + object;
    update += " - Position=" + value;
    for (int i = 0; i < 100; ++i) {
      if (command(update).rfind("ok ", 0) != 0) return false;
      if (waitUntil([&] { return observer.got(line); }, [&] { b->tick(); }, 0.1)) return true;
    }
    return false;
  }
  // A sentinel object without regions, registered and updated after what
  // was sent before: once it is reflected, what came before has come.
  bool sentinel(const std::string& name) {
    run({"register Vehicle " + name});
    return updateUntilReflected(name, "s", "reflect " + name + " s from none");
  }
  std::size_t channelsJoined() const {
    return PlainImplementor::last->fedMgr()->ddmMgr()->channels().objectChannels().size();
  }
  DtObjectDataDistMgr& objectDdm() const { return *PlainImplementor::last->fedMgr()->ddmMgr()->objDdmMgr(); }
  void end(RTI::ResignAction bResigns = RTI::NO_ACTION) { ScriptedPeerFederation::end("Field", bResigns); }

  Observer observer;
  RTI::Region* region = nullptr;  // the test's federate's subscription region
};

TEST_F(ObjectRegionFederation, ASubscriberGetsWhatOverlapsItsRegionAndNothingElse) {
  struct Case {
    const char* name;
    RTI::ULong lower, upper;  // the X range of the subscriber's region
    bool lateSubscriber;      // it joins after the registration
    bool overlaps;            // [10,20) of the publisher's region meets it
  };
  const Case cases[] = {
      {"overlap", 15, 30, false, true},
      {"no overlap", 50, 60, false, false},
      {"a late subscriber, overlap", 15, 30, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(start());
    run({"background-tick on", "create Field Field.fed", "join Field A", "publish Vehicle Position Name"});
    // A late subscriber hears of the region with the registration again.
    if (!c.lateSubscriber) subscribe(c.lower, c.upper);
    run({"create-region Geo 1 r", "set-extent r 0 X=10,20 Y=0,100", "notify-region r",
         "register-region Vehicle car Position=r"});
    if (c.lateSubscriber) subscribe(c.lower, c.upper);
    if (c.overlaps) {
      EXPECT_TRUE(updateUntilReflected("car", "p1", "reflect car p1 from 10")) << "the publisher's region";
      EXPECT_TRUE(observer.got("discover car"));
      EXPECT_TRUE(observer.got("in scope car"));
      EXPECT_EQ(channelsJoined(), 1u);
    } else {
      run({"update car - Position=p1", "update car - Position=p1"});
      EXPECT_TRUE(sentinel("flag"));
      EXPECT_FALSE(observer.gotWith("discover car"));
      EXPECT_FALSE(observer.gotWith("reflect car"));
      EXPECT_EQ(channelsJoined(), 0u);
    }
    end();
    reset();
    observer = Observer();
  }
}

TEST_F(ObjectRegionFederation, AssociatingARegionBringsAnObjectIntoScopeAndUnassociatingTakesItOut) {
  ASSERT_TRUE(start());
  run({"background-tick on", "create Field Field.fed", "join Field A", "publish Vehicle Position Name"});
  subscribe(15, 30);
  run({"create-region Geo 1 near", "set-extent near 0 X=10,20 Y=0,100", "notify-region near", "create-region Geo 1 far",
       "set-extent far 0 X=70,80 Y=0,100", "notify-region far"});
  run({"register-region Vehicle car Position=far"});
  run({"update car - Position=p0"});
  EXPECT_TRUE(sentinel("flag"));
  EXPECT_FALSE(observer.gotWith("discover car")) << "far does not overlap";

  run({"associate-region near car Position"});
  EXPECT_TRUE(updateUntilReflected("car", "p1", "reflect car p1 from 70")) << "the set of far and near";
  EXPECT_TRUE(observer.got("discover car"));
  EXPECT_TRUE(observer.got("in scope car"));

  run({"unassociate-region near car"});
  EXPECT_TRUE(waitUntil([&] { return observer.got("out of scope car"); }, [&] { b->tick(); }, 20));
  const std::size_t before = observer.lines.size();
  run({"update car - Position=p2", "update car - Position=p2"});
  EXPECT_TRUE(sentinel("flag2"));
  EXPECT_FALSE(std::any_of(observer.lines.begin() + static_cast<std::ptrdiff_t>(before), observer.lines.end(),
                           [](const std::string& l) { return l.rfind("reflect car", 0) == 0; }))
      << "out of its region";
  end();
}

TEST_F(ObjectRegionFederation, ARegionMovedAwayAndBackTakesTheObjectOutOfScopeAndBackAtBothEnds) {
  struct Case {
    const char* name;
    bool subscriberMoves;  // else the publisher's region moves
  };
  for (const Case& c : {Case{"the subscriber's region moves", true}, Case{"the publisher's region moves", false}}) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(start());
    run({"background-tick on", "create Field Field.fed", "join Field A", "publish Vehicle Position Name",
         "attribute-advisory on"});
    subscribe(15, 30);
    run({"create-region Geo 1 r", "set-extent r 0 X=10,20 Y=0,100", "notify-region r",
         "register-region Vehicle car Position=r"});
    ASSERT_TRUE(updateUntilReflected("car", "p1", "reflect car p1 from 10"));
    EXPECT_TRUE(aPrinted("callback turnUpdatesOnForObjectInstance"));
    EXPECT_EQ(channelsJoined(), 1u);

    // Away: out of scope, the owner's updates off, the channel left; what
    // the owner still sends no longer arrives.
    forget();
    if (c.subscriberMoves) {
      move(50, 60);
    } else {
      run({"set-extent r 0 X=50,60 Y=0,100", "notify-region r"});
    }
    EXPECT_TRUE(observed("out of scope car"));
    EXPECT_TRUE(aPrinted("callback turnUpdatesOffForObjectInstance"));
    EXPECT_TRUE(waitUntil([&] { return channelsJoined() == 0; }, [&] { b->tick(); }, 20));
    run({"update car - Position=p2", "update car - Position=p2"});
    EXPECT_TRUE(sentinel("flag1"));
    EXPECT_FALSE(observer.gotWith("reflect car"));

    // Back: in scope again, the owner's updates on, the channel joined, and
    // the updates arrive.
    forget();
    if (c.subscriberMoves) {
      move(15, 30);
    } else {
      run({"set-extent r 0 X=10,20 Y=0,100", "notify-region r"});
    }
    EXPECT_TRUE(observed("in scope car"));
    EXPECT_TRUE(aPrinted("callback turnUpdatesOnForObjectInstance"));
    EXPECT_TRUE(updateUntilReflected("car", "p3", "reflect car p3 from 10"));
    EXPECT_EQ(channelsJoined(), 1u);
    EXPECT_FALSE(observer.gotWith("out of scope"));
    end();
    reset();
    observer = Observer();
    region = nullptr;
  }
}

TEST_F(ObjectRegionFederation, ARegionInUseIsKeptAndADeletedRegionTakesItsSetsAlong) {
  ASSERT_TRUE(start());
  run({"background-tick on", "create Field Field.fed", "join Field A", "publish Vehicle Position Name"});
  subscribe(15, 30);
  run({"create-region Geo 1 r", "set-extent r 0 X=10,20 Y=0,100", "notify-region r",
       "register-region Vehicle car Position=r"});
  ASSERT_TRUE(updateUntilReflected("car", "p1", "reflect car p1 from 10"));
  const std::uint32_t remotePublications = objectDdm().remotePubRegionSets().count();
  const std::uint32_t subscriptions = objectDdm().subRegionSets().count();

  // The publisher's region holds the object's attribute, the subscriber's
  // its subscription.
  EXPECT_EQ(command("delete-region r"), "error delete-region RegionInUse \"\"");
  EXPECT_THROW(b->deleteRegion(region), RTI::RegionInUse);

  // Unassociated, the publisher's region goes, and with it its set at the
  // subscriber and the channel.
  run({"unassociate-region r car", "delete-region r"});
  EXPECT_TRUE(waitUntil([&] { return objectDdm().remotePubRegionSets().count() == remotePublications - 1; },
                        [&] { b->tick(); }, 20));
  EXPECT_EQ(channelsJoined(), 0u);

  // Unsubscribed, the subscriber's region goes with its set.
  const RTI::ObjectClassHandle vehicle = b->getObjectClassHandle("Vehicle");
  b->unsubscribeObjectClassWithRegion(vehicle, *region);
  b->deleteRegion(region);
  region = nullptr;
  EXPECT_EQ(objectDdm().subRegionSets().count(), subscriptions - 1);
  end();
}

TEST_F(ObjectRegionFederation, AClassRequestFromARegionIsAnsweredForTheObjectsWhoseRegionsOverlapIt) {
  ASSERT_TRUE(start());
  run({"background-tick on", "create Field Field.fed", "join Field A"});
  // The test's federate owns one object whose Position is in [10,20) and
  // one whose Position is in [70,80).
  b->joinFederationExecution("B", "Field", &observer);
  const RTI::ObjectClassHandle vehicle = b->getObjectClassHandle("Vehicle");
  const RTI::AttributeHandle position = b->getAttributeHandle("Position", vehicle);
  std::unique_ptr<RTI::AttributeHandleSet> attributes(RTI::AttributeHandleSetFactory::create(2));
  attributes->add(position);
  attributes->add(b->getAttributeHandle("Name", vehicle));
  b->publishObjectClass(vehicle, *attributes);
  for (const auto& [name, lower] : {std::pair<std::string, RTI::ULong>{"near", 10}, {"far", 70}}) {
    RTI::Region* where = b->createRegion(b->getRoutingSpaceHandle("Geo"), 1);
    where->setRangeLowerBound(0, 0, lower);
    where->setRangeUpperBound(0, 0, lower + 10);
    where->setRangeLowerBound(0, 1, 0);
    where->setRangeUpperBound(0, 1, 100);
    b->notifyAboutRegionModification(*where);
    RTI::AttributeHandle regionAttributes[] = {position};
    RTI::Region* regions[] = {where};
    observer.names[b->registerObjectInstanceWithRegion(vehicle, name.c_str(), regionAttributes, regions, 1)] = name;
  }
  run({"create-region Geo 1 miss", "set-extent miss 0 X=40,50 Y=0,100", "notify-region miss",
       "create-region Geo 1 meet", "set-extent meet 0 X=15,30 Y=0,100", "notify-region meet"});
  const std::uint32_t requesters = objectDdm().remoteSubRegionSets().count();
  const std::string positionHandle = std::to_string(position);

  // A request is heard once its region's set is known here: the first
  // request from a region announces it.
  ASSERT_EQ(command("request-class-region Vehicle miss Position"), "ok request-class-region");
  EXPECT_TRUE(
      waitUntil([&] { return objectDdm().remoteSubRegionSets().count() == requesters + 1; }, [&] { b->tick(); }, 20));
  run({"request-class-region Vehicle miss Position"});
  // Then from the region that meets [10,20): only "near" is asked for (the
  // requests come in order, so that nothing came of "miss").
  bool answered = false;
  for (int i = 0; i < 50 && !answered; ++i) {
    run({"request-class-region Vehicle meet Position"});
    answered = observed("provide near " + positionHandle, 0.2);
  }
  EXPECT_TRUE(answered);
  EXPECT_FALSE(observer.gotWith("provide far"));
  end(RTI::DELETE_OBJECTS);
}

}  // namespace
