#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FomTestSupport.h"
#include "objects/DtInteractionClassInfo.h"
#include "rti/util/NotifyCapture.h"

namespace {

// Root 0, X 1 (p0, p1), Y 4 under X (y2), Z 5 under X.
struct Tree {
  Tree() {
    x = std::make_unique<DtInteractionClassInfo>("InteractionRoot.X", &root, 1);
    x->addParam("p0");
    x->addParam("p1");
    y = std::make_unique<DtInteractionClassInfo>("InteractionRoot.X.Y", x.get(), 4);
    y->addParam("y2");
    z = std::make_unique<DtInteractionClassInfo>("InteractionRoot.X.Z", x.get(), 5);
  }

  DtInteractionClassInfo root{"InteractionRoot", nullptr, 0};
  std::unique_ptr<DtInteractionClassInfo> x, y, z;
  RecordingInteractionSink sink;
};

class InteractionTree : public ::testing::Test, public Tree {};

TEST_F(InteractionTree, SubclassesStartWithTheirBasesParameters) {
  EXPECT_EQ(y->numParameters(), 3u);
  EXPECT_EQ(y->paramHandle("P1"), 1u);
  EXPECT_STREQ(y->paramName(2), "y2");
  EXPECT_EQ(y->paramByHandle(3), nullptr);
  EXPECT_EQ(y->paramByName(nullptr), nullptr);
  EXPECT_EQ(outcome([&] { return std::to_string(x->paramHandle("y2")); }), "throws NameNotFound");
  EXPECT_EQ(outcome([&] { return std::string(y->paramName(3)); }), "throws InteractionParameterNotDefined");
  EXPECT_EQ(outcome([&] { return std::string(y->addParam("P0")->name()); }), "throws RTIinternalError");
  EXPECT_EQ(y->numParameters(), 3u);
  // Added to the base afterwards: not in the subclasses, which may use the
  // name themselves.
  x->addParam("late");
  EXPECT_EQ(outcome([&] { return std::to_string(z->paramHandle("late")); }), "throws NameNotFound");
  EXPECT_EQ(z->addParam("late")->handle(), 2u);
  EXPECT_EQ(x->subclasses(), (std::vector<DtInteractionClassInfo*>{y.get(), z.get()}));
  EXPECT_TRUE(y->isOfClass(1));
  EXPECT_FALSE(x->isOfClass(4));
}

TEST_F(InteractionTree, NameTestsAcceptTheNameWithoutTheRoot) {
  const std::pair<const char*, bool> names[] = {
      {"InteractionRoot.X.Y", true}, {"x.y", true},    {"INTERACTIONROOT.x.y", true}, {"Y", false},
      {"interactionrootX.Y", false}, {nullptr, false},
  };
  for (const auto& [name, accepted] : names) EXPECT_EQ(y->isName(name), accepted) << (name ? name : "null");
}

TEST_F(InteractionTree, SubscriptionStates) {
  x->subscribe(true);
  EXPECT_EQ(x->subscribed(), DtInteractionClassInfo::subscribedActively);
  x->subscribe(false);
  EXPECT_EQ(x->subscribed(), DtInteractionClassInfo::subscribedPassively);
  x->unsubscribe();
  EXPECT_EQ(x->subscribed(), DtInteractionClassInfo::notSubscribed);
}

using Step = AdvisoryStep<Tree>;

TEST(DtInteractionClassInfoRelevance, FirstSubscriberStartsTheLastStops) {
  Tree tree;
  runSteps(tree, {
                     {"X published", [](Tree& t) { t.x->publish(&t.sink); }, {}},
                     {"federate 7 subscribes", [](Tree& t) { t.x->remoteSubscribe(7, &t.sink); }, {"on 1"}},
                     {"federate 8 subscribes", [](Tree& t) { t.x->remoteSubscribe(8, &t.sink); }, {}},
                     {"federate 8 again", [](Tree& t) { t.x->remoteSubscribe(8, &t.sink); }, {}},
                     {"publishing again", [](Tree& t) { t.x->publish(&t.sink); }, {}},
                     {"federate 7 leaves", [](Tree& t) { t.x->remoteUnsubscribe(7, &t.sink); }, {}},
                     {"federate 8 leaves", [](Tree& t) { t.x->remoteUnsubscribe(8, &t.sink); }, {"off 1"}},
                     {"federate 8 leaves again", [](Tree& t) { t.x->remoteUnsubscribe(8, &t.sink); }, {}},
                 });
  EXPECT_FALSE(tree.x->relevant());
}

TEST(DtInteractionClassInfoRelevance, SuperclassSubscribersMakeEveryPublishedSubclassRelevant) {
  Tree tree;
  runSteps(
      tree,
      {
          {"Y and Z published", [](Tree& t) { t.y->publish(&t.sink), t.z->publish(&t.sink); }, {}},
          {"federate 3 subscribes the root", [](Tree& t) { t.root.remoteSubscribe(3, &t.sink); }, {"on 4", "on 5"}},
          {"unpublished X is relevant but says nothing", [](Tree& t) { EXPECT_TRUE(t.x->relevant()); }, {}},
          {"publishing X, relevant already, turns it on", [](Tree& t) { t.x->publish(&t.sink); }, {"on 1"}},
          {"Z unpublished, then the root's subscriber leaves",
           [](Tree& t) { t.z->unpublish(), t.root.remoteUnsubscribe(3, &t.sink); },
           {"off 1", "off 4"}},
      });
}

TEST(DtInteractionClassInfoRelevance, RegionSubscriptionsAndTheOverride) {
  Tree tree;
  NotifyCapture capture(3);
  runSteps(tree,
           {
               {"X published", [](Tree& t) { t.x->publish(&t.sink); }, {}},
               {"federate 6 with region 60", [](Tree& t) { t.x->remoteSubscribe(6, 60, &t.sink); }, {"on 1"}},
               {"another region replaces it", [](Tree& t) { t.x->remoteSubscribe(6, 61, &t.sink); }, {}},
               {"the old region ends nothing", [](Tree& t) { t.x->remoteUnsubscribeRegion(6, 60, &t.sink); }, {}},
               {"the region in use ends it", [](Tree& t) { t.x->remoteUnsubscribeRegion(6, 61, &t.sink); }, {"off 1"}},
               {"overridden relevance", [](Tree& t) { t.x->overrideRelevance(); }, {}},
               {"a subscriber with it on already", [](Tree& t) { t.x->remoteSubscribe(2, &t.sink); }, {}},
               {"its leaving still turns off", [](Tree& t) { t.x->remoteUnsubscribe(2, &t.sink); }, {"off 1"}},
           });
  EXPECT_TRUE(tree.x->relevant());
  EXPECT_EQ(capture.text(),
            "RemoteSubscribeWithRegion to 1 from: 6 with 60\nNum federates: 1\n"
            "RemoteSubscribeWithRegion to 1 from: 6 with 61\nNum federates: 1\n"
            "RemoteUnsubscribe to 1 from: 6 with 61\nNum federates: 0\n"
            "RemoteSubscribe to 1 from: 2\nNum federates: 1\n"
            "RemoteUnsubscribe to 1 from: 2\nNum federates: 0\n");
}

TEST_F(InteractionTree, RemoteSubscribersWithAndWithoutRegion) {
  x->remoteSubscribe(7, &sink);
  x->remoteSubscribe(9, 90, &sink);
  EXPECT_EQ(x->numRemoteFederatesSubscribed(), 2u);
  EXPECT_EQ(x->numRemoteFederatesSubscribedWithRegion(), 1u);
  EXPECT_TRUE(x->remoteFederateIsSubscribed(7));
  EXPECT_FALSE(x->remoteFederateIsSubscribed(9));
  EXPECT_TRUE(x->remoteFederateIsSubscribedWithRegion(9, 90));
  EXPECT_TRUE(x->remoteFederateIsSubscribedWithRegion(7, 0));  // no region counts as region 0
  EXPECT_FALSE(x->remoteFederateIsSubscribedWithRegion(9, 0));
  EXPECT_EQ(std::vector<std::uint32_t>(x->subscribedFederates().begin(), x->subscribedFederates().end()),
            std::vector<std::uint32_t>{7});

  x->setDestination(0xE6000001, true, 0);
  y->setDestination(0xE6000002, false, y->destinationAddress());
  EXPECT_EQ(z->destinationAddress(), 0xE6000001u);
  EXPECT_EQ(y->destinationAddress(), 0xE6000002u);

  const DtInteractionClassInfo copy(*x);
  EXPECT_EQ(copy.baseClass(), nullptr);
  EXPECT_TRUE(copy.subclasses().empty());
  EXPECT_TRUE(copy.remoteFederateIsSubscribedWithRegion(9, 90));
  EXPECT_EQ(copy.paramHandle("p1"), 1u);
  EXPECT_EQ(copy.destinationAddress(), 0xE6000001u);
}

}  // namespace
