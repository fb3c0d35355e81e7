// Scope and relevance advisories under regions: a remote object's
// attributes in and out of scope through the default region (told only with
// the scope switch on), and the updates the other federates' region
// subscriptions turn on and off at the owner (several removals told once,
// nothing told during a restore).
#include <gtest/gtest.h>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

TEST(ObjectDdmScope, DefaultRegionScopeChangesWithOrWithoutAdvisoriesAsTheSwitchSays) {
  for (const bool scopeSwitch : {true, false}) {
    SCOPED_TRACE(scopeSwitch ? "switch on" : "switch off");
    Bus bus;
    DdmFederate a(3, &bus);
    DdmFederate b(21, &bus);
    const auto settle = [&] { deliverAll(bus); };
    if (scopeSwitch) {
      b.objects->enableAttributeScopeSwitch();
    } else {
      b.objects->disableAttributeScopeSwitch();
    }
    b.objects->subscribe(platform, attrs({position, speed}), RTI::RTI_TRUE);
    DtRtiObject& object = a.publishedObject(platform, attrs({0, position, speed}));
    DtRegion& region0 = a.ddm->defaultRegion();
    settle();
    b.amb.take();

    DtPubRegionSet& defaultSet = a.associate(object, attrs({position}), region0);
    settle();
    const DtRtiObject* seen = b.objects->knownObj(object.objHandle());
    ASSERT_NE(seen, nullptr);
    // The discovery itself tells the first scope (with the switch on); the
    // region evaluation adds nothing to it.
    EXPECT_EQ(text(seen->inScopeAttrs()), "1");
    a.associate(object, attrs({speed}), region0);
    settle();
    EXPECT_EQ(text(seen->inScopeAttrs()), "1,2");
    a.unassociate(object, attrs({position}), defaultSet);
    settle();
    EXPECT_EQ(text(seen->inScopeAttrs()), "2");
    const std::vector<std::string> told =
        scopeSwitch ? std::vector<std::string>{"discover 300001 5 300001", "in scope 300001 1", "in scope 300001 2",
                                               "out of scope 300001 1"}
                    : std::vector<std::string>{"discover 300001 5 300001"};
    EXPECT_EQ(b.amb.take(), told);
    EXPECT_EQ(b.objects->regionTables().objectDefaultByClass(platform).size(), 1u);

    // A class no longer subscribed is not told its attributes went.
    b.objects->unsubscribe(platform);
    a.unassociate(object, attrs({speed}), defaultSet);
    settle();
    EXPECT_EQ(text(seen->inScopeAttrs()), "-");
    EXPECT_EQ(b.amb.take(), std::vector<std::string>{});
    EXPECT_EQ(b.objects->regionTables().objectDefaultByClass(platform).size(), 0u) << "nothing left in scope";
  }
}

TEST(ObjectDdmScope, RegionSubscriptionsTurnUpdatesOnAndRemovalsBeforeAFlushTurnThemOffOnce) {
  DdmFederate a(3, nullptr);
  a.objects->enableAttributeRelevanceSwitch();
  DtRtiObject& object = a.publishedObject(platform, attrs({0, position, speed}));
  object.setDiscoveredClass(21, platform);
  DtRtiObject& other = a.publishedObject(aircraft, attrs({0, position}));
  other.setDiscoveredClass(21, aircraft);
  a.amb.take();

  a.objects->remoteSubscribeRegion(platform, attrs({position, speed}), 21, 2100002);
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{"on 300001 1,2"}) << "only the discovered class's objects";
  a.objects->remoteSubscribeRegion(platform, attrs({position}), 21, 2100003);
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{}) << "nothing new is on";

  a.objects->removeRemoteSubscribeRegion(platform, 21, 2100002, attrs({speed}));
  a.objects->removeRemoteSubscribeRegion(platform, 21, 2100003, attrs({position}));
  a.objects->removeRemoteSubscribeRegion(platform, 21, 2100002, attrs({position}));
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{}) << "until the flush";
  EXPECT_EQ(text(object.updateOnAttrs()), "-");
  a.objects->processRemoteUnsubscribeRegion();
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{"off 300001 1,2"}) << "one advisory with the union";
  a.objects->processRemoteUnsubscribeRegion();
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{});

  // A subscription that comes before the flush takes the snapshot as its
  // before: what went and came back is not told.
  a.objects->remoteSubscribeRegion(platform, attrs({position, speed}), 21, 2100002);
  a.amb.take();
  a.objects->removeRemoteSubscribeRegion(platform, 21, 2100002, attrs({position, speed}));
  a.objects->remoteSubscribeRegion(platform, attrs({position}), 21, 2100004);
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{"off 300001 2"});
  a.objects->processRemoteUnsubscribeRegion();
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{});

  // During a restore the state follows, untold, and no snapshot is taken.
  a.objects->setRestoreInProgress(true);
  a.objects->removeRemoteSubscribeRegion(platform, 21, 2100004, attrs({position}));
  a.objects->remoteSubscribeRegion(platform, attrs({speed}), 21, 2100005);
  a.objects->setRestoreInProgress(false);
  a.objects->processRemoteUnsubscribeRegion();
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{});
  EXPECT_EQ(text(object.updateOnAttrs()), "2");
}

}  // namespace
