#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "FomTestSupport.h"
#include "objects/DtObjectClassInfo.h"

namespace {

DtAttributeHandleSet attrs(std::initializer_list<RTI::AttributeHandle> handles) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : handles) set.add(h);
  return set;
}

std::vector<RTI::AttributeHandle> members(const DtAttributeHandleSet& set) {
  std::vector<RTI::AttributeHandle> handles;
  for (RTI::ULong i = 0; i < set.size(); ++i) handles.push_back(set.getHandle(i));
  return handles;
}

// Root 0 (the privilege), A 1 (a1, a2 after it), B 3 under A (b3 after
// those), C 4 under A.
struct Tree {
  Tree() {
    root.addAttr("privilegeToDelete", DtReliable, DtTimestampOrder);
    a = std::make_unique<DtObjectClassInfo>("ObjectRoot.A", &root, 1);
    a->addAttr("a1", DtBestEffort, DtReceiveOrder);
    a->addAttr("a2", DtReliable, DtReceiveOrder, 2);
    b = std::make_unique<DtObjectClassInfo>("ObjectRoot.A.B", a.get(), 3);
    b->addAttr("b3", DtBestEffort, DtTimestampOrder);
    c = std::make_unique<DtObjectClassInfo>("ObjectRoot.A.C", a.get(), 4);
  }

  DtObjectClassInfo root{"ObjectRoot", nullptr, 0};
  std::unique_ptr<DtObjectClassInfo> a, b, c;
  RecordingObjectSink sink;
};

class ClassTree : public ::testing::Test, public Tree {};

TEST_F(ClassTree, SubclassesStartWithTheirBasesAttributes) {
  EXPECT_EQ(b->numAttributes(), 4u);
  EXPECT_STREQ(b->attrName(2), "a2");
  EXPECT_EQ(b->attrHandle("A1"), 1u);
  EXPECT_EQ(b->attrSpace(2), 2);
  EXPECT_EQ(b->attrTransport(2), DtReliable);
  EXPECT_EQ(b->attrOrder(3), DtTimestampOrder);
  EXPECT_EQ(members(b->allAttrs()), (std::vector<RTI::AttributeHandle>{0, 1, 2, 3}));
  EXPECT_EQ(a->subclasses(), (std::vector<DtObjectClassInfo*>{b.get(), c.get()}));
  EXPECT_EQ(b->attrByHandle(4), nullptr);
  EXPECT_EQ(b->attrByName(nullptr), nullptr);
  EXPECT_EQ(b->attrTransport(9), DtBestEffort);
  EXPECT_EQ(outcome([&] { return std::to_string(b->attrHandle("zz")); }), "throws NameNotFound");
  EXPECT_EQ(outcome([&] { return std::string(b->attrName(4)); }), "throws AttributeNotDefined");
  // A name the class has, inherited or its own, cannot be added again; the
  // class stays as it was.
  EXPECT_EQ(outcome([&] { return b->addAttr("A2", DtBestEffort, DtReceiveOrder)->name(); }), "throws RTIinternalError");
  EXPECT_EQ(outcome([&] { return b->addAttr("privilegeToDeleteObject", DtBestEffort, DtReceiveOrder)->name(); }),
            "throws RTIinternalError");
  EXPECT_EQ(b->numAttributes(), 4u);
}

TEST_F(ClassTree, NameTestsAcceptTheNameWithoutTheRoot) {
  const std::pair<const char*, bool> names[] = {
      {"ObjectRoot.A.B", true}, {"objectroot.a.b", true}, {"A.B", true},    {"a.B", true}, {"B", false},
      {"objectrootA.B", false}, {"ObjectRoot.B", false},  {nullptr, false},
  };
  for (const auto& [name, accepted] : names) EXPECT_EQ(b->isName(name), accepted) << (name ? name : "null");
  EXPECT_TRUE(b->isOfClass(1));
  EXPECT_TRUE(b->isOfClass(0));
  EXPECT_FALSE(b->isOfClass(4));
}

TEST_F(ClassTree, LocalDeclarations) {
  b->subscribe(attrs({1, 3}), true);
  EXPECT_TRUE(b->subscribed());
  EXPECT_TRUE(b->isPassive());
  EXPECT_TRUE(b->attrByHandle(3)->subscribed());
  EXPECT_FALSE(b->attrByHandle(2)->subscribed());
  EXPECT_EQ(members(b->subscribedAttrs(0)), (std::vector<RTI::AttributeHandle>{1, 3}));
  b->unsubscribe();
  EXPECT_FALSE(b->subscribed());
  EXPECT_TRUE(b->isPassive());
  EXPECT_FALSE(b->attrByHandle(3)->subscribed());

  // A handle the class lacks is refused before anything changes.
  b->publish(attrs({2}), &sink);
  EXPECT_EQ(outcome([&] {
              b->publish(attrs({1, 4}), &sink);
              return std::string("published");
            }),
            "throws AttributeNotDefined");
  EXPECT_EQ(outcome([&] {
              b->subscribe(attrs({4}), false);
              return std::string("subscribed");
            }),
            "throws AttributeNotDefined");
  EXPECT_EQ(members(b->publishedAttrs()), std::vector<RTI::AttributeHandle>{2});
  EXPECT_TRUE(b->attrByHandle(2)->published());
  b->unpublish(&sink);
  EXPECT_FALSE(b->published());
  EXPECT_FALSE(b->attrByHandle(2)->published());
  EXPECT_EQ(sink.take(), std::vector<std::string>{});
}

using Step = AdvisoryStep<Tree>;

TEST(DtObjectClassInfoRelevance, FirstSubscriberStartsTheLastStops) {
  Tree tree;
  runSteps(tree, {
                     {"publish a1 with nobody interested", [](Tree& t) { t.a->publish(attrs({1}), &t.sink); }, {}},
                     {"federate 7 subscribes a1",
                      [](Tree& t) { t.a->remoteSubscribe(attrs({1}), 7, &t.sink); },
                      {"register 1", "start 1"}},
                     {"federate 8 subscribes a1 too",
                      [](Tree& t) { t.a->remoteSubscribe(attrs({1}), 8, &t.sink); },
                      {"register 1"}},
                     {"federate 7 leaves; a1 stays relevant for 8",
                      [](Tree& t) { t.a->remoteUnsubscribe(7, &t.sink); },
                      {"register 1"}},
                     {"the last subscriber leaves", [](Tree& t) { t.a->remoteUnsubscribe(8, &t.sink); }, {"stop 1"}},
                 });
  EXPECT_FALSE(tree.a->relevant());
  EXPECT_EQ(tree.a->numRemoteFederatesSubscribed(), 0u);
}

TEST(DtObjectClassInfoRelevance, SuperclassSubscribersMakeSubclassesRelevant) {
  Tree tree;
  runSteps(tree,
           {
               {"B publishes a1 and b3",
                [](Tree& t) {
                  t.b->publish(attrs({1, 3}), &t.sink);
                },
                {}},
               {"federate 5 subscribes A's a1: B (publishing) starts, A and C do not",
                [](Tree& t) { t.a->remoteSubscribe(attrs({1}), 5, &t.sink); },
                {"register 3", "start 3"}},
               {"federate 5 drops A's a1", [](Tree& t) { t.a->remoteSubscribe(attrs({}), 5, &t.sink); }, {"stop 3"}},
           });
  EXPECT_FALSE(tree.c->relevant(1));
}

TEST(DtObjectClassInfoRelevance, PublishingWhatNobodyWantsStops) {
  Tree tree;
  runSteps(tree,
           {
               {"federate 6 subscribes A's a2", [](Tree& t) { t.a->remoteSubscribe(attrs({2}), 6, &t.sink); }, {}},
               {"A publishes a2", [](Tree& t) { t.a->publish(attrs({2}), &t.sink); }, {"start 1"}},
               {"A publishes a1 only", [](Tree& t) { t.a->publish(attrs({1}), &t.sink); }, {"stop 1"}},
               {"A publishes a1 and a2",
                [](Tree& t) {
                  t.a->publish(attrs({1, 2}), &t.sink);
                },
                {"start 1"}},
               {"A unpublishes", [](Tree& t) { t.a->unpublish(&t.sink); }, {"stop 1"}},
           });
  EXPECT_EQ(members(tree.a->relevantAttrs()), std::vector<RTI::AttributeHandle>{2});
}

TEST(DtObjectClassInfoRelevance, RegionSubscriptionsCountAsSubscribers) {
  Tree tree;
  runSteps(tree, {
                     {"A publishes a1", [](Tree& t) { t.a->publish(attrs({1}), &t.sink); }, {}},
                     {"federate 4 subscribes a1 through region 40",
                      [](Tree& t) { t.a->remoteSubscribe(attrs({1}), 4, 40, &t.sink); },
                      {"register 1", "start 1"}},
                     {"region 0 ends it", [](Tree& t) { t.a->remoteSubscribe(attrs({1}), 4, 0, &t.sink); }, {"stop 1"}},
                 });
  EXPECT_EQ(tree.a->remoteRegionSubscription(4, 1), 0u);
}

TEST_F(ClassTree, RemoteSubscriptionsAreKeptPerFederateAndAttribute) {
  a->remoteSubscribe(attrs({1, 2}), 7, &sink);
  a->remoteSubscribe(attrs({2}), 9, 90, &sink);
  EXPECT_TRUE(a->remoteFederateIsSubscribed(7));
  EXPECT_FALSE(a->remoteFederateIsSubscribed(9));  // with a region only
  EXPECT_EQ(members(*a->remoteSubscription(7)), (std::vector<RTI::AttributeHandle>{1, 2}));
  EXPECT_EQ(a->remoteRegionSubscription(9, 2), 90u);
  EXPECT_EQ(a->remoteRegionSubscription(9, 1), 0u);
  EXPECT_EQ(a->remoteRegionSubscription(9, 77), 0u);
  EXPECT_EQ(a->attrByHandle(2)->numRemoteFederatesSubscribed(), 1u);
  a->remoteSubscribe(attrs({2}), 7, &sink);
  EXPECT_FALSE(a->attrByHandle(1)->remoteFederateIsSubscribed(7));
  EXPECT_EQ(members(*a->remoteSubscription(7)), std::vector<RTI::AttributeHandle>{2});
}

TEST_F(ClassTree, PassiveSubscriptionWithReplacementDropsTheActiveOne) {
  b->publish(attrs({1}), &sink);
  a->remoteSubscribe(attrs({1}), 7, &sink);
  sink.take();
  // B serves a1 to 8 for the first time; 7 has it already.
  a->remotePassiveSubscribe(attrs({1}), 8, false, &sink);
  EXPECT_EQ(sink.take(), std::vector<std::string>{"register 3"});
  a->remotePassiveSubscribe(attrs({1}), 7, true, &sink);
  EXPECT_FALSE(a->remoteFederateIsSubscribed(7));
  EXPECT_EQ(a->numRemoteFederatesSubscribed(), 0u);
  EXPECT_FALSE(b->relevant());
  ASSERT_FALSE(sink.calls.empty());
  EXPECT_EQ(sink.calls.back(), "stop 3");
}

TEST_F(ClassTree, DestinationsFollowInclusiveAssignments) {
  b->setDestination(0x0A000001, false, 0);  // B has its own group first
  a->setDestination(0xE6010101, true, 0);
  EXPECT_EQ(a->destinationAddress(), 0xE6010101u);
  EXPECT_EQ(b->destinationAddress(), 0x0A000001u);
  EXPECT_EQ(c->destinationAddress(), 0xE6010101u);
  a->setDestination(0xE6020202, false, a->destinationAddress());
  EXPECT_EQ(a->destinationAddress(), 0xE6020202u);
  EXPECT_EQ(c->destinationAddress(), 0xE6010101u);
  // A class whose address is not the one to replace keeps it.
  root.setDestination(0xE6030303, true, 0);
  EXPECT_EQ(root.destinationAddress(), 0xE6030303u);
  EXPECT_EQ(a->destinationAddress(), 0xE6020202u);
}

TEST_F(ClassTree, RegionBookkeeping) {
  b->subscribe(attrs({1}), false);
  b->subscribeByRegion(11, attrs({2}));
  b->subscribeByRegion(12, attrs({3}));
  EXPECT_EQ(members(b->subscribedAttrs(0)), (std::vector<RTI::AttributeHandle>{1, 2, 3}));
  EXPECT_EQ(b->subscribedWithRegions(), 2u);
  b->unsubscribeByRegion(12, attrs({3}));
  EXPECT_EQ(b->getSubscribeByRegion(12), nullptr);
  EXPECT_EQ(members(b->subscribedAttrs(0)), (std::vector<RTI::AttributeHandle>{1, 2}));

  b->addOverlapPub(20, attrs({1, 2, 3}));
  b->moveToMatchingPub(20, attrs({2, 3}));  // only these move
  EXPECT_EQ(members(b->subscribedAttrs(20)), std::vector<RTI::AttributeHandle>{1});
  EXPECT_EQ(members(*b->matchingPubs().find(20)), (std::vector<RTI::AttributeHandle>{2, 3}));
  EXPECT_TRUE(b->subscribeOverlaps(20));
  b->moveToOverlapPub(20);  // all of it
  EXPECT_EQ(b->matchingPubs().find(20), nullptr);
  EXPECT_EQ(members(b->subscribedAttrs(20)), (std::vector<RTI::AttributeHandle>{1, 2, 3}));
  b->removeMatchingPub(20, attrs({1, 2, 3}));
  EXPECT_FALSE(b->subscribeOverlaps(20));
  EXPECT_EQ(&b->subscribedAttrs(20), &DtObjectClassInfo::theEmptySet);

  b->addMatchingSub(30, attrs({1}));
  b->emptyRegionLists();
  EXPECT_TRUE(b->matchingSubs().empty());
  EXPECT_EQ(b->subscribedWithRegions(), 0u);
  EXPECT_FALSE(b->subscribeOverlaps(0));
}

TEST_F(ClassTree, CopiesKeepTheStateButNotTheTree) {
  b->publish(attrs({1}), &sink);
  b->remoteSubscribe(attrs({1}), 7, &sink);
  b->tallySet().increment(RTI::RTI_TRUE, DtReliable);
  const DtObjectClassInfo copy(*b);
  EXPECT_EQ(copy.baseClass(), nullptr);
  EXPECT_TRUE(copy.subclasses().empty());
  EXPECT_EQ(copy.attrHandle("a1"), 1u);  // found without the base
  EXPECT_EQ(copy.attrHandle("privilegeToDeleteObject"), 0u);
  EXPECT_TRUE(copy.attrByHandle(1)->remoteFederateIsSubscribed(7));
  EXPECT_TRUE(copy.classRelevant());
  EXPECT_EQ(copy.tallySet().tally(RTI::RTI_TRUE, DtReliable), 1);
  EXPECT_NE(copy.attrByHandle(1), b->attrByHandle(1));
}

}  // namespace
