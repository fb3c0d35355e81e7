#include "objects/DtRtiObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ObjectRecordSupport.h"
#include "api/DtAttrValueSet.h"

namespace {

class ObjectRecord : public ::testing::Test, public RecordFom {
protected:
  // A radio registered here, its class publishing privilegeToDelete, r1, r2.
  std::unique_ptr<DtRtiObject> registered() {
    radio->publish(attrs({0, 1, 2}), &sink);
    return std::make_unique<DtRtiObject>(300001, "radio", radio);
  }
};

TEST_F(ObjectRecord, ARegisteredObjectOwnsWhatItsClassPublishesAndItsComponentHoldsTheRest) {
  auto o = registered();
  EXPECT_EQ(ownership(*o), "owned 0,1,2 lrc 3-20 rti - uncond - ifavail - divesting -");
  EXPECT_EQ(text(o->updateOffAttrs()), "0,1,2");
  EXPECT_EQ(text(o->updateOnAttrs()), "-");
  EXPECT_TRUE(o->ownPriviledgeToDelete());
  EXPECT_EQ(o->objHandle(), 300001u);
  EXPECT_EQ(o->id(), 300001u);
  EXPECT_STREQ(o->objName(), "radio");
  EXPECT_EQ(o->actualClass(), radio);
  EXPECT_EQ(o->knownClass(), radio);
  EXPECT_EQ(o->numAttributes(), 21u);
  EXPECT_EQ(o->ownerHandle(), 0u);
  EXPECT_FALSE(o->isKnown());
  // Transport and order start as the class's.
  for (RTI::AttributeHandle a = 0; a < 21; ++a) {
    EXPECT_EQ(o->attrTransport(a), radio->attrTransport(a)) << a;
    EXPECT_EQ(o->attrOrder(a), radio->attrOrder(a)) << a;
  }
  EXPECT_EQ(o->attrTransport(3), DtReliable);
  EXPECT_EQ(o->attrOrder(5), DtTimestampOrder);
}

TEST_F(ObjectRecord, ADiscoveredObjectOwnsNothingAndIsKnownByItsKnownClass) {
  DtRtiObject o(500003, "seen", narrow, wide);
  EXPECT_EQ(ownership(o), "owned - lrc - rti - uncond - ifavail - divesting -");
  EXPECT_EQ(o.actualClassHandle(), 5u);
  EXPECT_EQ(o.knownClassHandle(), 4u);
  EXPECT_EQ(o.numAttributes(), 41u);
  EXPECT_TRUE(o.isOfActualClass(4));
  EXPECT_TRUE(o.isOfActualClass(5));
  EXPECT_TRUE(o.isOfKnownClass(0));
  EXPECT_FALSE(o.isOfKnownClass(5));
  EXPECT_FALSE(o.isOfKnownClass(3));
  o.setKnownClass(narrow);
  EXPECT_EQ(o.knownClassHandle(), 5u);

  DtRtiObject nothing;
  EXPECT_STREQ(nothing.objName(), "");
  EXPECT_EQ(nothing.numAttributes(), 0u);
  EXPECT_FALSE(nothing.isOfActualClass(0));
  EXPECT_EQ(ownership(nothing), "owned - lrc - rti - uncond - ifavail - divesting -");
}

struct OwnershipStep {
  const char* what;
  std::function<void(DtRtiObject&)> act;
  std::string sets;
};

TEST_F(ObjectRecord, AttributesMoveBetweenTheOwnershipSets) {
  auto o = registered();
  const std::vector<OwnershipStep> steps = {
      {"offer r1, r2",
       [](DtRtiObject& x) {
         x.addDivesting(attrs({1, 2}));
       },
       "owned 0,1,2 lrc 3-20 rti - uncond - ifavail - divesting 1,2"},
      {"release r2", [](DtRtiObject& x) { x.releaseAttrs(attrs({2})); },
       "owned 0,1 lrc 3-20 rti - uncond - ifavail - divesting 1"},
      {"give r1 to the component", [](DtRtiObject& x) { x.giveToLrc(attrs({1})); },
       "owned 0 lrc 1,3-20 rti - uncond - ifavail - divesting -"},
      {"ask for r5 if available", [](DtRtiObject& x) { x.addRequest(attrs({5}), true); },
       "owned 0 lrc 1,3-20 rti - uncond - ifavail 5 divesting -"},
      {"ask for r5, r6 unconditionally",
       [](DtRtiObject& x) {
         x.addRequest(attrs({5, 6}), false);
       },
       "owned 0 lrc 1,3-20 rti - uncond 5,6 ifavail - divesting -"},
      {"take r5 from the component", [](DtRtiObject& x) { x.takeFromLrc(attrs({5})); },
       "owned 0,5 lrc 1,3,4,6-20 rti - uncond 6 ifavail - divesting -"},
      {"the RTI takes the privilege and r7",
       [](DtRtiObject& x) {
         x.giveToRti(attrs({0, 7}));
       },
       "owned 5 lrc 1,3,4,6,8-20 rti 0,7 uncond 6 ifavail - divesting -"},
      {"withdraw r6", [](DtRtiObject& x) { x.removeRequest(attrs({6})); },
       "owned 5 lrc 1,3,4,6,8-20 rti 0,7 uncond - ifavail - divesting -"},
  };
  for (const OwnershipStep& step : steps) {
    step.act(*o);
    EXPECT_EQ(ownership(*o), step.sets) << step.what;
  }
  EXPECT_FALSE(o->ownPriviledgeToDelete());
  EXPECT_TRUE(o->rtiOwned(7));
  EXPECT_TRUE(o->lrcManaged(6));
  EXPECT_FALSE(o->pendingUncondRequest(6));
}

TEST_F(ObjectRecord, TakenAttributesTravelAsTheirClassSaysAgain) {
  auto o = registered();
  o->setAttrTransport(4, DtReliable);
  o->setAttrOrder(4, DtTimestampOrder);
  o->setAttrTransport(3, DtBestEffort);
  EXPECT_EQ(o->attrTransport(4), DtReliable);
  o->takeAttrs(attrs({4}));
  EXPECT_EQ(o->attrTransport(4), DtBestEffort);
  EXPECT_EQ(o->attrOrder(4), DtReceiveOrder);
  EXPECT_EQ(o->attrTransport(3), DtBestEffort);  // not taken: stays as set
}

TEST_F(ObjectRecord, AReleaseGoesToTheRequesterOfTheLowestAttributeAndLeavesTheRecord) {
  auto o = registered();
  o->takeAttrs(attrs({3}));
  o->addDivesting(attrs({1}));
  o->addRemoteRequest(attrs({1, 2}), 7);
  o->addRemoteRequest(attrs({3}), 9);
  EXPECT_EQ(o->requestCount(), 3);
  EXPECT_EQ(o->pendingRemoteRequest(3), 9u);
  EXPECT_EQ(text(o->requestedByFed(7)), "1,2");

  DtAttributeHandleSet released, rest;
  EXPECT_EQ(o->releaseRequested(attrs({1, 2, 3}), &released, &rest), 7u);
  EXPECT_EQ(text(released), "1,2");
  EXPECT_EQ(text(rest), "3");
  // Taking an attribute leaves the component's hold on it as it was.
  EXPECT_EQ(ownership(*o), "owned 0,3 lrc 3-20 rti - uncond - ifavail - divesting -");
  EXPECT_EQ(o->releaseRequested(attrs({5}), &released, nullptr), 0u);
  EXPECT_TRUE(released.isEmpty());

  o->cancelRemoteRequest(attrs({3}));
  EXPECT_TRUE(o->isRequestCanceled(3));
  EXPECT_EQ(o->requestCount(), 0);
}

TEST_F(ObjectRecord, OwnedFilterKeepsOnlyOwnedAttributes) {
  auto o = registered();
  EXPECT_EQ(text(o->filterOwned(attrs({1, 4, 2, 300}))), "1,2");
  EXPECT_EQ(text(o->filterOwned(attrs({5}))), "-");
}

// The updates-on set as remote federates and region sets come and go.
struct SubscriptionStep {
  const char* what;
  std::function<void(DtRtiObject&)> act;
  std::string updatesOn;
};

TEST_F(ObjectRecord, RemoteSubscribersTurnUpdatesOnAndTheLastOneTurnsThemOff) {
  auto o = registered();
  o->takeAttrs(attrs({3, 4}));
  FakePubRegionSet publication(200002, {400007});
  radio->remoteSubscribe(attrs({3}), 8, 400009, &sink);  // federate 8 subscribes r3 through region set 400009
  const std::vector<SubscriptionStep> steps = {
      {"federate 5 subscribes r1, r2 and r7 (not owned)",
       [](DtRtiObject& x) {
         x.remoteSubscribe(5, attrs({1, 2, 7}));
       },
       "1,2"},
      {"federate 5 again", [](DtRtiObject& x) { x.remoteSubscribe(5, RTI::AttributeHandle{1}); }, "1,2"},
      {"federate 6 subscribes r2", [](DtRtiObject& x) { x.remoteSubscribe(6, attrs({2})); }, "1,2"},
      {"region set 400001 subscribes r1", [](DtRtiObject& x) { x.remoteSubscribeRegion(400001, attrs({1})); }, "1,2"},
      {"federate 5 leaves r1 and r2: others remain",
       [](DtRtiObject& x) {
         x.remoteUnsubscribe(5, attrs({1, 2}));
       },
       "1,2"},
      {"federate 5 again: it holds nothing", [](DtRtiObject& x) { x.remoteUnsubscribe(5); }, "1,2"},
      {"federate 6 leaves: r2 off", [](DtRtiObject& x) { x.remoteUnsubscribe(6); }, "1"},
      {"region set 400001 leaves: r1 off", [](DtRtiObject& x) { x.remoteUnsubscribeRegion(400001); }, "-"},
      {"a publication region set on r4 takes only what it matches",
       [&](DtRtiObject& x) {
         x.setRegionSet(4, &publication);
         x.remoteSubscribeRegion(400008, RTI::AttributeHandle{4});
       },
       "-"},
      {"a matching region set", [](DtRtiObject& x) { x.remoteSubscribeRegion(400007, attrs({4})); }, "4"},
      {"federate 8's region subscription of the class", [&](DtRtiObject& x) { x.remoteSubscribeRegion(8, *radio); },
       "3,4"},
      {"region set 400009 leaves r3", [](DtRtiObject& x) { x.remoteUnsubscribeRegion(400009, attrs({3})); }, "4"},
      {"divesting r4 drops its subscribers",
       [](DtRtiObject& x) {
         x.remoteSubscribe(5, attrs({4}));
         x.divestRemoteSubscriptions(attrs({4}));
       },
       "-"},
      {"nobody is left on r4 to turn it off again",
       [](DtRtiObject& x) {
         x.turnUpdateOn(4);
         x.remoteUnsubscribe(5, RTI::AttributeHandle{4});
         x.remoteUnsubscribeRegion(400007, RTI::AttributeHandle{4});
       },
       "4"},
  };
  for (const SubscriptionStep& step : steps) {
    step.act(*o);
    EXPECT_EQ(text(o->updateOnAttrs()), step.updatesOn) << step.what;
  }
  EXPECT_EQ(o->regionSet(4), &publication);
  EXPECT_EQ(o->regionSetHandle(4), 200002u);
  EXPECT_EQ(o->regionSetHandle(5), 0u);
}

TEST_F(ObjectRecord, AcquiredAttributesGetTheSubscriptionsOfTheFederatesThatDiscoveredTheObject) {
  UseDiscoveredClassGuard discovered(true);
  DtRtiObject o(500001, "other's", radio, radio);
  o.setDiscoveredClass(5, radio->handle());
  o.setDiscoveredClass(6, wide->handle());  // subscribes nothing there
  radio->remoteSubscribe(attrs({1, 2}), 5, &sink);
  o.takeAttrs(attrs({1}));
  o.acquireRemoteSubscriptions(attrs({1}), *fom);
  EXPECT_EQ(text(o.updateOnAttrs()), "1");
  o.takeAttrs(attrs({2, 3}));
  o.acquireRemoteSubscriptions(attrs({2, 3}), *fom);
  EXPECT_EQ(text(o.updateOnAttrs()), "1,2");
  EXPECT_EQ(text(*o.attributeTable().subscribers().find(5)), "1,2");
  EXPECT_EQ(o.attributeTable().subscribers().find(6), nullptr);
}

TEST_F(ObjectRecord, DiscoveredClassesCountOnlyWhileTheyAreInUse) {
  struct Case {
    bool inUse;
    std::uint32_t federate;
    std::uint32_t cls;
    bool discovered;
  };
  const Case cases[] = {{true, 5, 1, true}, {true, 6, 0, false}, {false, 5, 4, true}, {false, 6, 4, true}};
  for (const Case& c : cases) {
    UseDiscoveredClassGuard guard(c.inUse);
    DtRtiObject o(500001, "x", narrow, wide);
    o.setDiscoveredClass(5, 7);
    o.setDiscoveredClass(5, 1);  // replaces
    EXPECT_EQ(o.discoveredClass(c.federate), c.cls) << c.inUse << c.federate;
    EXPECT_EQ(o.isDiscovered(c.federate), c.discovered) << c.inUse << c.federate;
    o.removeDiscoveredClass(5);
    EXPECT_EQ(o.discoveredClass(5), c.inUse ? 0u : 4u);
  }
}

TEST_F(ObjectRecord, ReceivedValuesAreFilteredToWhatThisFederateExpects) {
  radio->subscribe(attrs({1, 2}), false);
  radio->addOverlapPub(400005, attrs({3}));
  DtRtiObject o(500001, "r", radio, radio);
  auto values = [](std::vector<std::pair<RTI::AttributeHandle, std::string>> pairs) {
    auto set = std::make_unique<DtAttrValueSet>(pairs.size());
    for (const auto& [h, v] : pairs) set->add(h, v.data(), v.size());
    return set;
  };
  auto contents = [](const RTI::AttributeHandleValuePairSet& set) {
    std::string out;
    for (RTI::ULong i = 0; i < set.size(); ++i) {
      RTI::ULong length = 0;
      const char* v = set.getValuePointer(i, length);
      out += std::to_string(set.getHandle(i)) + "=" + std::string(v, length) + " ";
    }
    return out;
  };

  auto all = values({{2, "b"}, {1, "a"}});
  EXPECT_EQ(&o.filterExpected(*all, 0), all.get());

  auto some = values({{1, "a"}, {3, "c"}, {2, ""}, {4, "d"}});
  const RTI::AttributeHandleValuePairSet& filtered = o.filterExpected(*some, 0);
  EXPECT_NE(&filtered, some.get());
  EXPECT_EQ(contents(filtered), "1=a ");
  // The record's set is reused and overwritten by the next filtering.
  auto again = values({{9, "z"}, {2, "bb"}});
  EXPECT_EQ(&o.filterExpected(*again, 0), &filtered);
  EXPECT_EQ(contents(filtered), "2=bb ");
  // Under a region set, what the class overlaps there.
  EXPECT_EQ(contents(o.filterExpected(*some, 400005)), "3=c ");
  // A larger set than the kept one can hold gets a new one.
  auto many = values({{1, "1"}, {2, "2"}, {3, "3"}, {4, "4"}, {5, "5"}, {6, "6"}});
  EXPECT_EQ(contents(o.filterExpected(*many, 0)), "1=1 2=2 ");
  EXPECT_TRUE(o.expecting(2, 0));
  EXPECT_FALSE(o.expecting(3, 0));
}

TEST_F(ObjectRecord, PerAttributeSettingsStopAtTheClassesAttributes) {
  auto o = registered();
  auto throwsNotDefined = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const RTI::AttributeNotDefined& e) {
      return std::string(e._reason) == "";
    }
    return false;
  };
  EXPECT_TRUE(throwsNotDefined([&] { o->attrTransport(21); }));
  EXPECT_TRUE(throwsNotDefined([&] { o->attrOrder(21); }));
  EXPECT_TRUE(throwsNotDefined([&] { o->setAttrTransport(21, DtReliable); }));
  EXPECT_TRUE(throwsNotDefined([&] { o->setAttrOrder(300, DtReliable == 1 ? DtTimestampOrder : DtReceiveOrder); }));
  FakePubRegionSet publication(200002, {});
  o->setRegionSet(21, &publication);
  EXPECT_EQ(o->regionSet(21), nullptr);
  EXPECT_EQ(o->regionSetHandle(21), 0u);
  o->setRegionSet(20, &publication);
  o->setRegionSet(20, nullptr);
  EXPECT_EQ(o->regionSet(20), nullptr);
  // Subscriptions beyond the table are not taken.
  o->takeAttrs(attrs({25}));
  o->remoteSubscribe(5, RTI::AttributeHandle{25});
  EXPECT_FALSE(o->isUpdateOn(25));
}

TEST_F(ObjectRecord, ACopyTakesTheObjectButNotWhoAskedForItOrListensToIt) {
  auto o = registered();
  FakePubRegionSet publication(200002, {});
  o->setOwnerHandle(3);
  o->setIsKnown(true);
  o->addDivesting(attrs({2}));
  o->setAttrTransport(1, DtReliable);
  o->setRegionSet(1, &publication);
  o->remoteSubscribe(5, attrs({1}));
  o->addRemoteRequest(attrs({2}), 7);
  o->addToScope(attrs({1, 2}));
  o->setDiscoveredClass(5, 1);

  DtRtiObject copy(*o);
  EXPECT_EQ(copy.objHandle(), 300001u);
  EXPECT_STREQ(copy.objName(), "radio");
  EXPECT_NE(copy.objName(), o->objName());
  EXPECT_EQ(copy.ownerHandle(), 3u);
  EXPECT_TRUE(copy.isKnown());
  EXPECT_EQ(ownership(copy), ownership(*o));
  EXPECT_EQ(copy.attrTransport(1), DtReliable);
  EXPECT_EQ(copy.regionSet(1), &publication);
  EXPECT_EQ(copy.requestCount(), 0);
  EXPECT_FALSE(copy.inScope());
  EXPECT_FALSE(copy.isUpdateOn());
  EXPECT_TRUE(copy.attributeTable().subscribers().empty());
  EXPECT_TRUE(copy.discoveredClasses().empty());

  // Assignment keeps the target's owner, requests, scope, updates and
  // discovered classes.
  DtRtiObject target(500009, "target", wide, wide);
  target.setOwnerHandle(9);
  target.addRemoteRequest(attrs({30}), 4);
  target.addToScope(attrs({30}));
  target.turnUpdateOn(30);
  target.setDiscoveredClass(4, 4);
  target = *o;
  EXPECT_EQ(target.objHandle(), 300001u);
  EXPECT_STREQ(target.objName(), "radio");
  EXPECT_EQ(target.ownerHandle(), 9u);
  EXPECT_EQ(target.numAttributes(), 21u);
  EXPECT_EQ(ownership(target), ownership(*o));
  EXPECT_EQ(target.pendingRemoteRequest(30), 4u);
  EXPECT_TRUE(target.inScope(30));
  EXPECT_TRUE(target.isUpdateOn(30));
  EXPECT_EQ(target.discoveredClasses().size(), 1u);
  EXPECT_TRUE(target.attributeTable().subscribers().empty());
  target = target;
  EXPECT_STREQ(target.objName(), "radio");
}

TEST_F(ObjectRecord, ScopeIsASetOfItsOwn) {
  DtRtiObject o(500001, "r", radio, radio);
  EXPECT_FALSE(o.inScope());
  o.addToScope(attrs({1, 2}));
  o.addToScope(RTI::AttributeHandle{5});
  o.removeFromScope(attrs({1}));
  o.removeFromScope(RTI::AttributeHandle{2});
  EXPECT_TRUE(o.inScope());
  EXPECT_TRUE(o.inScope(5));
  EXPECT_EQ(text(o.inScopeAttrs()), "5");
}

// An object record exists for every object a federate knows. The record
// itself (its sets, tables and pointers) stays within a kilobyte; what it
// adds on the heap is its name and what subscribers bring (bench/object_records
// counts whole objects).
TEST(DtRtiObjectSize, ARecordItselfIsUnderAKilobyte) { EXPECT_LT(sizeof(DtRtiObject), 1024u); }

}  // namespace
