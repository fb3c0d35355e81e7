// Region changes on the object side between two federates: a subscriber's
// or a publisher's region that moves away and back. The subscriber's channel, scope and discovery follow, and
// the owner is told to turn its updates off and on.
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

}  // namespace
