// Region changes on the object side between two federates: a subscriber's
// or a publisher's region that moves away and back. The subscriber's channel, scope and discovery follow, and
// the owner is told to turn its updates off and on. An object registered
// after a region subscription that overlaps its region has its updates
// turned on; a region associated with an attribute owned elsewhere can be
// unassociated.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;
using Lines = std::vector<std::string>;

TEST(ObjectDdmRegionChange, MovingAwayAndBackFollowsOnBothSides) {
  // A subscribes Aircraft's Altitude with RA; B's Aircraft has its Altitude
  // associated with RB, which RA overlaps.
  DdmPair pair;
  DdmFederate& a = pair.a;
  DdmFederate& b = pair.b;
  DtRegion& rb = b.region({5, 15}, {5, 15});  // 2100001
  DtRtiObject& plane = b.publishedObject(aircraft, attrs({0, altitude}));
  b.associate(plane, attrs({altitude}), rb);  // set 2100002
  DtRegion& ra = a.region({0, 10}, {0, 10});
  a.subscribe(aircraft, attrs({altitude}), ra);
  pair.settle();
  a.objects->enableAttributeScopeSwitch();
  b.objects->enableAttributeRelevanceSwitch();
  ASSERT_NE(a.objects->knownObj(plane.objHandle()), nullptr);
  a.amb.take();
  b.amb.take();
  const std::string ours = std::to_string(plane.objHandle()) + " 3";

  struct Step {
    const char* what;
    std::function<void()> run;
    Lines aHears;
    Lines bHears;
    std::string aChannels;
    std::string aRemotePubSets;
  };
  const Step steps[] = {
      {"A's region moves away",
       [&] {
         a.move(ra, {50, 60}, {50, 60});
       },
       {"out of scope " + ours},
       {"off " + ours},
       "-",
       "2100002"},
      {"and back",
       [&] {
         a.move(ra, {0, 10}, {0, 10});
       },
       {"in scope " + ours},
       {"on " + ours},
       "2100002",
       "2100002"},
      {"B's region moves away",
       [&] {
         b.move(rb, {70, 80}, {70, 80});
       },
       {"out of scope " + ours},
       {"off " + ours},
       "-",
       "2100002"},
      {"and back",
       [&] {
         b.move(rb, {5, 15}, {5, 15});
       },
       {"in scope " + ours},
       {"on " + ours},
       "2100002",
       "2100002"},
      {"B's region is in use: not deleted",
       [&] { EXPECT_THROW(b.ddm->deleteRegion(&rb), RTI::RegionInUse); },
       {},
       {},
       "2100002",
       "2100002"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run();
    pair.settle();
    EXPECT_EQ(a.amb.take(), step.aHears);
    EXPECT_EQ(b.amb.take(), step.bHears);
    EXPECT_EQ(channelSets(*a.ddm), step.aChannels);
    std::string sets;
    for (const std::uint32_t h : a.objects->remotePubRegionSets().handles()) {
      sets += (sets.empty() ? "" : ",") + std::to_string(h);
    }
    EXPECT_EQ(sets.empty() ? "-" : sets, step.aRemotePubSets);
  }
}

TEST(ObjectDdmRegionChange, AnObjectRegisteredInASubscribedRegionHasItsUpdatesTurnedOn) {
  struct Case {
    const char* name;
    Range x;  // of B's region; A subscribes from [0,10)
    bool turnedOn;
  };
  const Case cases[] = {{"overlap", {5, 15}, true}, {"no overlap", {50, 60}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DdmPair pair;
    DdmFederate& a = pair.a;
    DdmFederate& b = pair.b;
    DtRegion& ra = a.region({0, 10}, {0, 10});
    a.objects->subscribeObjectClassAttributesWithRegion(aircraft, ra, attrs({altitude}), RTI::RTI_TRUE);
    DtRegion& rb = b.region(c.x, {5, 15});
    pair.settle();
    b.objects->enableAttributeRelevanceSwitch();
    b.objects->publish(aircraft, attrs({0, altitude}));
    RTI::AttributeHandle attributes[] = {altitude};
    RTI::Region* regions[] = {&rb};
    const RTI::ObjectHandle plane = b.objects->registerObjectInstanceWithRegion(aircraft, attributes, regions, 1);
    pair.settle();
    Lines turned;
    for (const std::string& line : b.amb.take()) {
      if (line.rfind("on ", 0) == 0 || line.rfind("off ", 0) == 0) turned.push_back(line);
    }
    EXPECT_EQ(turned, c.turnedOn ? Lines{"on " + std::to_string(plane) + " 3"} : Lines());

    // A associates a region of its own with the plane's Altitude, which B
    // owns, and unassociates it again.
    if (!c.turnedOn) continue;
    DtRegion& mine = a.region({0, 10}, {0, 10});
    const DtAttributeHandleSet altitudeOnly = attrs({altitude});
    a.objects->publish(aircraft, altitudeOnly);
    a.objects->associateRegionForUpdates(mine, plane, altitudeOnly, 0);
    const DtRtiObject* seen = a.objects->knownObj(plane);
    ASSERT_NE(seen, nullptr);
    const auto* associated = dynamic_cast<const DtPubRegionSet*>(seen->regionSet(altitude));
    ASSERT_NE(associated, nullptr);
    EXPECT_TRUE(associated->isMemberRegion(mine.handle()));
    EXPECT_NO_THROW(a.objects->unassociateRegionForUpdates(mine, plane));
    EXPECT_NE(seen->regionSet(altitude), associated);
    EXPECT_THROW(a.objects->unassociateRegionForUpdates(mine, plane), RTI::InvalidRegionContext);
  }
}

}  // namespace
