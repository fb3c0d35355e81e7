// The object manager's core and object class declarations: handles and
// names, the lists, the declaration messages, the class multicast groups,
// other federates' declarations and the advisory queues.
#include "ObjectMgrTestSupport.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/util/NotifyCapture.h"

using namespace objtest;

namespace {

constexpr std::uint32_t self = 3, other = 21;

class ObjectMgrTest : public ::testing::Test {
protected:
  ObjectMgrDefaultsGuard defaults;
  std::unique_ptr<Federate> fed = std::make_unique<Federate>(self, "");
  DtObjectMgr& mgr() { return *fed->mgr; }
  TestConnectionMgr& conn() { return *fed->conn; }
  // Starts again with these RID lines.
  void remake(const std::string& ridLines) {
    fed.reset();
    fed = std::make_unique<Federate>(self, ridLines);
  }
  // A declaration message of another federate.
  void subscribedElsewhere(RTI::ObjectClassHandle c, const DtAttributeHandleSet& a, char passive = 0,
                           std::uint32_t from = other) {
    DtSubObjMsg msg(c, passive, 1, a, nullptr);
    receiveFrom(conn(), msg, from);
  }
  void unsubscribedElsewhere(RTI::ObjectClassHandle c, std::uint32_t from = other) {
    DtUnsubObjMsg msg(c, nullptr);
    receiveFrom(conn(), msg, from);
  }
  void publishedElsewhere(RTI::ObjectClassHandle c, std::uint32_t from = other) {
    DtPubObjMsg msg(c, attrs({0, 1}), nullptr);
    receiveFrom(conn(), msg, from);
  }
};

}  // namespace

// ---- handles and names

TEST_F(ObjectMgrTest, HandlesAreTheFederateTimes100000PlusACounterAndNamesFollowThePrefixRule) {
  EXPECT_EQ(mgr().uniqueHandle(), 300001u);
  EXPECT_EQ(mgr().uniqueHandle(), 300002u);
  EXPECT_STREQ(mgr().uniqueName(300001), "300001");
  DtObjectMgr::setHlaNamePrefix(1);
  const char* first = mgr().uniqueName(300001);
  EXPECT_STREQ(first, "HLA_300001");
  // One buffer per manager: the next name overwrites it.
  mgr().uniqueName(7);
  EXPECT_STREQ(first, "HLA_7");
}

TEST_F(ObjectMgrTest, AFederateIsRefusedItsHundredThousandthHandleRatherThanTakeTheNextFederatesRange) {
  for (int i = 1; i < 99999; ++i) mgr().uniqueHandle();
  EXPECT_EQ(mgr().uniqueHandle(), 399999u);
  EXPECT_EQ(outcomeOf([&] { mgr().uniqueHandle(); }), "throws RTIinternalError");
  EXPECT_EQ(mgr().handleCounter(), 100000u);  // nothing used up by the refusal

  // Federate 42949 still fits 32 bits; 42950 does not.
  Federate last(42949, "");
  EXPECT_EQ(last.mgr->uniqueHandle(), 4294900001u);
  Federate beyond(42950, "");
  EXPECT_EQ(outcomeOf([&] { beyond.mgr->uniqueHandle(); }), "throws RTIinternalError");
}

TEST_F(ObjectMgrTest, ARecordTakenOffTheKnownListStaysInTheAllListUnknown) {
  mgr().publish(platform, attrs({1}));
  const RTI::ObjectHandle o = mgr().registerObj(platform, "tank");
  DtRtiObject* record = mgr().knownObj(o);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(mgr().objectHandle("tank"), o);
  EXPECT_STREQ(mgr().objectName(o), "tank");
  EXPECT_EQ(mgr().objectClass(o), platform);

  mgr().removeKnownObj(o);
  EXPECT_EQ(mgr().knownObj(o), nullptr);
  EXPECT_EQ(mgr().knownObj("tank"), nullptr);
  EXPECT_EQ(mgr().allObj(o), record);
  EXPECT_EQ(mgr().allObj("tank"), record);
  EXPECT_FALSE(record->isKnown());
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { mgr().objectHandle("tank"); }, [&] { mgr().objectName(o); }, [&] { mgr().objectClass(o); }}) {
    EXPECT_EQ(outcomeOf(call), "throws ObjectNotKnown");
  }
}

// ---- declarations and their messages

TEST_F(ObjectMgrTest, DeclarationsSendTheirMessagesWithTheirFlagsAndSets) {
  struct Case {
    const char* what;
    std::function<void(DtObjectMgr&)> act;
    std::vector<std::string> sent;
  };
  const std::vector<Case> cases = {
      {"publish {} publishes nothing, not even attribute 0",
       [](DtObjectMgr& m) { m.publish(platform, attrs({})); },
       {"pub 5 {-}"}},
      {"publish {3} publishes {0, 3}", [](DtObjectMgr& m) { m.publish(aircraft, attrs({3})); }, {"pub 6 {0,3}"}},
      {"unpublish", [](DtObjectMgr& m) { m.unpublish(aircraft); }, {"unpub 6"}},
      {"active subscription replaces",
       [](DtObjectMgr& m) {
         m.subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
       },
       {"sub 5 passive 0 replace 1 {1,2}"}},
      {"passive subscription",
       [](DtObjectMgr& m) { m.subscribe(aircraft, attrs({3}), RTI::RTI_FALSE); },
       {"sub 6 passive 1 replace 1 {3}"}},
      {"unsubscribe", [](DtObjectMgr& m) { m.unsubscribe(aircraft); }, {"unsub 6"}},
  };
  for (const Case& c : cases) {
    c.act(mgr());
    EXPECT_EQ(conn().takeSent(), c.sent) << c.what;
  }
  EXPECT_FALSE(mgr().published(platform));
  EXPECT_TRUE(mgr().subscribed(platform));
  EXPECT_FALSE(mgr().subscribed(aircraft));
  EXPECT_FALSE(mgr().published(99));
}

TEST_F(ObjectMgrTest, DeclarationsAreRefusedBeforeAnythingChanges) {
  struct Case {
    const char* what;
    std::function<void(DtObjectMgr&)> act;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"publish of an unknown class", [](DtObjectMgr& m) { m.publish(2, attrs({})); }, "throws ObjectClassNotDefined"},
      {"unpublish of an unknown class", [](DtObjectMgr& m) { m.unpublish(99); }, "throws ObjectClassNotDefined"},
      {"subscribe of an unknown class", [](DtObjectMgr& m) { m.subscribe(99, attrs({}), RTI::RTI_TRUE); },
       "throws ObjectClassNotDefined"},
      {"unsubscribe of an unknown class", [](DtObjectMgr& m) { m.unsubscribe(99); }, "throws ObjectClassNotDefined"},
      {"publish of an attribute the class lacks", [](DtObjectMgr& m) { m.publish(platform, attrs({3})); },
       "throws AttributeNotDefined"},
      {"subscribe of an attribute the class lacks",
       [](DtObjectMgr& m) { m.subscribe(platform, attrs({3}), RTI::RTI_TRUE); }, "throws AttributeNotDefined"},
      {"unpublish of a class not published", [](DtObjectMgr& m) { m.unpublish(platform); },
       "throws ObjectClassNotPublished"},
      {"unsubscribe of a class not subscribed", [](DtObjectMgr& m) { m.unsubscribe(platform); },
       "throws ObjectClassNotSubscribed"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outcomeOf([&] { c.act(mgr()); }), c.result) << c.what;
    EXPECT_TRUE(conn().takeSent().empty()) << c.what;
  }
  EXPECT_FALSE(mgr().published(platform));
  EXPECT_FALSE(mgr().subscribed(platform));
}

TEST_F(ObjectMgrTest, RepublishingFewerAttributesDivestsTheDroppedOnesOfEveryOwnedInstance) {
  mgr().publish(platform, attrs({1, 2}));
  const RTI::ObjectHandle a = mgr().registerObj(platform);
  const RTI::ObjectHandle b = mgr().registerObj(platform);
  conn().takeSent();

  mgr().publish(platform, attrs({1}));
  EXPECT_EQ(conn().takeSent(),
            (std::vector<std::string>{"ownership 6 " + std::to_string(a) + " {2} to 0",
                                      "ownership 6 " + std::to_string(b) + " {2} to 0", "pub 5 {0,1}"}));
  EXPECT_EQ(text(mgr().knownObj(a)->ownedAttrs()), "0,1");
  EXPECT_TRUE(mgr().knownObj(a)->lrcManaged(2));

  // Unpublishing gives up the rest, and with it the owned list.
  mgr().unpublish(platform);
  EXPECT_EQ(conn().takeSent().size(), 3u);
  EXPECT_EQ(mgr().ownedObj(a), nullptr);
  EXPECT_EQ(mgr().ownedObjects().count(), 0u);
}

TEST_F(ObjectMgrTest, SubscribedClassesSharingAGroupJoinItOnceAndLeaveItWithTheLast) {
  remake(
      "(RTI-addDMObjectMulticastAddr \"ObjectRoot.Platform\" \"239.7.1.1\" \"inclusive\")\n"
      "(RTI-addDMObjectMulticastAddr \"ObjectRoot.Manager\" \"239.7.1.1\" \"exclusive\")");
  struct Step {
    const char* what;
    std::function<void(DtObjectMgr&)> act;
    std::vector<std::string> groups;
    std::uint32_t uses;  // of the group, by subscribed classes
  };
  const std::vector<Step> steps = {
      {"Platform and, inclusively, Aircraft",
       [](DtObjectMgr& m) { m.subscribe(platform, attrs({1}), RTI::RTI_TRUE); },
       {"join 239.7.1.1"},
       2},
      {"a second subscription of the class counts nothing",
       [](DtObjectMgr& m) {
         m.subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
       },
       {},
       2},
      {"Manager shares the group", [](DtObjectMgr& m) { m.subscribe(manager, attrs({0}), RTI::RTI_TRUE); }, {}, 3},
      {"one left keeps it", [](DtObjectMgr& m) { m.unsubscribe(platform); }, {}, 1},
      {"the last leaves it", [](DtObjectMgr& m) { m.unsubscribe(manager); }, {"leave 239.7.1.1"}, 0},
  };
  for (const Step& step : steps) {
    step.act(mgr());
    EXPECT_EQ(conn().takeGroups(), step.groups) << step.what;
    const auto& counts = mgr().classMulticastCounts();
    const auto counted = counts.find(0xEF070101u);
    EXPECT_EQ(counted == counts.end() ? 0u : counted->second, step.uses) << step.what;
  }
}

// ---- other federates' declarations

TEST_F(ObjectMgrTest, ANewPublisherLearnsTheActiveSubscriptionsOfTheClassAndItsBases) {
  mgr().subscribe(root, attrs({0}), RTI::RTI_TRUE);
  mgr().subscribe(platform, attrs({1}), RTI::RTI_FALSE);  // passive: not sent again
  mgr().subscribe(manager, attrs({0}), RTI::RTI_TRUE);    // not a base class of Aircraft
  conn().takeSent();
  publishedElsewhere(aircraft);
  EXPECT_EQ(conn().takeSent(), std::vector<std::string>{"sub 0 passive 0 replace 1 {0}"});

  // Its own message and one of a class the model lacks change nothing.
  publishedElsewhere(aircraft, self);
  NotifyCapture notify;
  publishedElsewhere(77);
  EXPECT_TRUE(conn().takeSent().empty());
  EXPECT_EQ(notify.text(), "Ignoring publish message for undefined class 77\n");
}

TEST_F(ObjectMgrTest, ThePublisherIsToldToStartWhenAFederateSubscribesAndToStopWhenTheLastLeaves) {
  mgr().publish(platform, attrs({1, 2}));
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> callbacks;
  };
  const std::vector<Step> steps = {
      {"a first subscriber", [&] { subscribedElsewhere(platform, attrs({1}), 0, 21); }, {"start 5"}},
      {"a second one", [&] { subscribedElsewhere(platform, attrs({2}), 0, 22); }, {}},
      {"a base-class subscriber", [&] { subscribedElsewhere(root, attrs({0}), 0, 23); }, {}},
      {"one leaves", [&] { unsubscribedElsewhere(platform, 21); }, {}},
      {"the base-class one leaves", [&] { unsubscribedElsewhere(root, 23); }, {}},
      {"the last leaves", [&] { unsubscribedElsewhere(platform, 22); }, {"stop 5"}},
      {"a passive subscriber is enough", [&] { subscribedElsewhere(platform, attrs({1}), 1, 24); }, {}},
      {"an unknown class is ignored", [&] { subscribedElsewhere(77, attrs({1}), 0, 25); }, {}},
  };
  for (const Step& step : steps) {
    step.act();
    mgr().tick();
    EXPECT_EQ(fed->amb.take(), step.callbacks) << step.what;
  }
}

TEST_F(ObjectMgrTest, ALatePublisherIsToldToStartByTheSubscriptionsItHearsOfAfterPublishing) {
  Federation federation;
  Federate& subscriber = federation.add(21);
  Federate& publisher = federation.add(22);
  subscriber.mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
  federation.settle();
  EXPECT_TRUE(publisher.amb.take().empty());

  publisher.mgr->publish(aircraft, attrs({1, 3}));
  federation.settle();
  // The subscription of the base class makes the subclass relevant, through
  // the inherited attribute it publishes.
  EXPECT_EQ(publisher.amb.take(), std::vector<std::string>{"start 6"});
  EXPECT_EQ(subscriber.conn->takeSent(),
            (std::vector<std::string>{"sub 5 passive 0 replace 1 {1}", "sub 5 passive 0 replace 1 {1}"}));

  subscriber.mgr->unsubscribe(platform);
  federation.settle();
  EXPECT_EQ(publisher.amb.take(), std::vector<std::string>{"stop 6"});

  // A resigning subscriber leaves as an unsubscribing one does.
  subscriber.mgr->subscribe(aircraft, attrs({3}), RTI::RTI_TRUE);
  federation.settle();
  EXPECT_EQ(publisher.amb.take(), std::vector<std::string>{"start 6"});
  DtResignMsg resign("X", 21, RTI::NO_ACTION, nullptr);
  resign.setFederateHandle(21);
  publisher.mgr->processResign(resign);
  publisher.mgr->tick();
  EXPECT_EQ(publisher.amb.take(), std::vector<std::string>{"stop 6"});
}

TEST_F(ObjectMgrTest, RemoteSubscriptionsTurnUpdatesOfOwnedObjectsOnAndOffWhenTheSwitchIsOn) {
  mgr().enableAttributeRelevanceSwitch();
  mgr().publish(platform, attrs({1, 2}));
  const std::string o = std::to_string(mgr().registerObj(platform));
  fed->amb.take();
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> callbacks;
  };
  const std::vector<Step> steps = {
      {"a subscriber of 1", [&] { subscribedElsewhere(platform, attrs({1})); }, {"on " + o + " 1", "start 5"}},
      {"it moves to 2", [&] { subscribedElsewhere(platform, attrs({2})); }, {"on " + o + " 2", "off " + o + " 1"}},
      {"a passive one turns nothing on", [&] { subscribedElsewhere(platform, attrs({1}), 1, 22); }, {}},
      {"the subscriber leaves", [&] { unsubscribedElsewhere(platform); }, {"off " + o + " 2", "stop 5"}},
  };
  for (const Step& step : steps) {
    step.act();
    mgr().tick();
    EXPECT_EQ(fed->amb.take(), step.callbacks) << step.what;
  }

  // An object of a subclass: a federate that leaves the base class but
  // subscribes the subclass itself keeps what it subscribes there.
  mgr().publish(aircraft, attrs({1, 3}));
  const std::string jet = std::to_string(mgr().registerObj(aircraft));
  const std::vector<Step> subclassSteps = {
      {"the base class",
       [&] { subscribedElsewhere(platform, attrs({1})); },
       {"on " + o + " 1", "on " + jet + " 1", "start 5", "start 6"}},
      {"and the subclass", [&] { subscribedElsewhere(aircraft, attrs({3})); }, {"on " + jet + " 3"}},
      {"the base class left",
       [&] { unsubscribedElsewhere(platform); },
       {"off " + o + " 1", "off " + jet + " 1", "stop 5"}},
      {"the subclass left", [&] { unsubscribedElsewhere(aircraft); }, {"off " + jet + " 3", "stop 6"}},
  };
  for (const Step& step : subclassSteps) {
    step.act();
    mgr().tick();
    EXPECT_EQ(fed->amb.take(), step.callbacks) << step.what;
  }

  // With the switch off the record follows, silently.
  mgr().disableAttributeRelevanceSwitch();
  subscribedElsewhere(platform, attrs({1, 2}));
  EXPECT_EQ(text(mgr().knownObj(std::stoul(o))->updateOnAttrs()), "1,2");
  mgr().tick();
  EXPECT_EQ(fed->amb.take(), (std::vector<std::string>{"start 5", "start 6"}));
}

// ---- the advisory queues

TEST_F(ObjectMgrTest, TickDrainsTheQueuesInOrderAndNothingButRemovalsIsQueuedDuringARestore) {
  mgr().enableAttributeRelevanceSwitch();
  mgr().publish(platform, attrs({1, 2}));
  const RTI::ObjectHandle o = mgr().registerObj(platform, "p");
  const std::string h = std::to_string(o);
  conn().takeSent();
  struct Case {
    bool restoring;
    std::vector<std::string> callbacks;
    std::vector<std::string> sent;
  };
  const std::vector<Case> cases = {
      {false,
       {"stop 5", "start 5", "off " + h + " 2", "on " + h + " 1", "remove 77 Deleted by Resignation"},
       {"register " + h + " p class 5 {0,1,2}"}},
      {true, {"remove 77 Deleted by Resignation"}, {}},
  };
  for (const Case& c : cases) {
    mgr().setRestoreInProgress(c.restoring);
    // Queued in the reverse of the order they come out.
    mgr().addPendingRegister(platform);
    mgr().addPendingRemoval(77);
    mgr().addPendingStartUpdates(o, attrs({1}));
    mgr().addPendingStopUpdates(platform, attrs({2}));
    mgr().addPendingStartReg(platform);
    mgr().addPendingStopReg(platform);
    mgr().setRestoreInProgress(false);
    mgr().tick();
    EXPECT_EQ(fed->amb.take(), c.callbacks) << "restoring " << c.restoring;
    EXPECT_EQ(conn().takeSent(), c.sent) << "restoring " << c.restoring;
    mgr().tick();
    EXPECT_TRUE(fed->amb.take().empty()) << "each queue is drained in one tick";
  }
}

TEST_F(ObjectMgrTest, AQueuedRegistrationOfAClassCoversItsSubclassesWhicheverComesFirst) {
  mgr().publish(platform, attrs({1}));
  mgr().publish(aircraft, attrs({3}));
  const std::string p = std::to_string(mgr().registerObj(platform, "p"));
  const std::string a = std::to_string(mgr().registerObj(aircraft, "a"));
  conn().takeSent();
  const std::vector<std::string> once = {"register " + p + " p class 5 {0,1}", "register " + a + " a class 6 {0,3}"};
  for (const auto& order : {std::vector<RTI::ObjectClassHandle>{platform, aircraft}, {aircraft, platform}}) {
    for (RTI::ObjectClassHandle c : order) mgr().addPendingRegister(c);
    mgr().tick();
    EXPECT_EQ(conn().takeSent(), once);
  }
  // A stop for a class no longer published is dropped.
  mgr().addPendingStopReg(manager);
  mgr().tick();
  EXPECT_TRUE(fed->amb.take().empty());
}
