// Objects between federates: registration and discovery, updates and
// reflections, update requests, deletion, local deletion and resignation,
// with federates on one in-process bus (the loopback group's behaviour) and
// with a single manager and its recording connection manager.
#include "ObjectMgrTestSupport.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/util/NotifyCapture.h"

using namespace objtest;

namespace {

std::string str(RTI::ObjectHandle h) { return std::to_string(h); }

// An owner (3) that publishes Platform {1, 2} and Aircraft {1, 3}, and a
// subscriber (21) of Platform {1, 2}, on one bus.
class TwoFederates : public ::testing::Test {
protected:
  explicit TwoFederates(const std::string& ridLines = "")
      : owner(federation.add(3, ridLines)), subscriber(federation.add(21, ridLines)) {
    owner.mgr->publish(platform, attrs({1, 2}));
    owner.mgr->publish(aircraft, attrs({1, 3}));
    subscriber.mgr->subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
    federation.settle();
    owner.amb.take();
    owner.conn->takeSent();
    subscriber.conn->takeSent();
  }

  ObjectMgrDefaultsGuard defaults;
  Federation federation;
  Federate& owner;
  Federate& subscriber;
};

}  // namespace

// ---- registration and discovery

TEST_F(TwoFederates, ObjectsAreDiscoveredAsTheNearestSubscribedClassWithGeneratedAndGivenNames) {
  const RTI::ObjectHandle generated = owner.mgr->registerObj(platform);
  const RTI::ObjectHandle given = owner.mgr->registerObj(aircraft, "jet");
  EXPECT_EQ(generated, 300001u);
  EXPECT_EQ(given, 300002u);
  EXPECT_EQ(owner.conn->takeSent(), (std::vector<std::string>{"register 300001 300001 class 5 {0,1,2}",
                                                              "register 300002 jet class 6 {0,1,3}"}));
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(), (std::vector<std::string>{"discover 300001 5 300001", "discover 300002 5 jet"}));
  EXPECT_EQ(subscriber.mgr->objectClass(given), platform);
  EXPECT_EQ(subscriber.mgr->knownObj(given)->ownerHandle(), 3u);
  EXPECT_EQ(subscriber.mgr->knownObj(given)->actualClassHandle(), aircraft);
  // The owner hears its own registrations and learns who subscribes.
  EXPECT_EQ(text(owner.mgr->knownObj(generated)->updateOnAttrs()), "1,2");
}

TEST_F(TwoFederates, AnObjectAnnouncingNothingSubscribedIsNotDiscovered) {
  Federate& speedOnly = federation.add(22);
  speedOnly.mgr->subscribe(aircraft, attrs({2}), RTI::RTI_TRUE);
  federation.settle();
  owner.mgr->registerObj(aircraft, "jet");  // announces 0, 1, 3
  federation.settle();
  EXPECT_TRUE(speedOnly.amb.take().empty());
  EXPECT_EQ(speedOnly.mgr->knownObj("jet"), nullptr);
}

TEST_F(TwoFederates, RegistrationIsRefusedBeforeAnythingChanges) {
  owner.mgr->registerObj(platform, "taken");
  owner.conn->takeSent();
  const auto counter = owner.mgr->handleCounter();
  struct Case {
    const char* what;
    bool prefix;
    RTI::ObjectClassHandle theClass;
    const char* name;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"an unknown class", false, 77, "x", "throws ObjectClassNotDefined"},
      {"a class not published", false, manager, "x", "throws ObjectClassNotPublished"},
      {"a name in use", false, platform, "taken", "throws ObjectAlreadyRegistered"},
      {"a generated name for an unknown class", false, 2, nullptr, "throws ObjectClassNotDefined"},
      {"hla in any case with the prefix on", true, platform, "HlA", "throws ObjectAlreadyRegistered"},
      {"hla_ with the prefix on", true, platform, "hla_7", "throws ObjectAlreadyRegistered"},
      {"two letters with the prefix on", true, platform, "hl", "ok"},
      {"hla later on with the prefix on", true, platform, "xhla", "ok"},
      {"hla with the prefix off", false, platform, "hla9", "ok"},
  };
  std::uint32_t made = 0;
  for (const Case& c : cases) {
    DtObjectMgr::setHlaNamePrefix(c.prefix);
    const std::string result = outcomeOf([&] {
      if (c.name) {
        owner.mgr->registerObj(c.theClass, c.name);
      } else {
        owner.mgr->registerObj(c.theClass);
      }
    });
    EXPECT_EQ(result, c.result) << c.what;
    if (result == "ok") ++made;
    EXPECT_EQ(owner.conn->takeSent().size(), result == "ok" ? 1u : 0u) << c.what;
  }
  EXPECT_EQ(owner.mgr->handleCounter(), counter + made);
  try {
    owner.mgr->registerObj(platform, "hla");
  } catch (const RTI::ObjectAlreadyRegistered& e) {
    EXPECT_STREQ(e._reason, "HLA prefix not allowed");
  }
}

TEST_F(TwoFederates, TheFirstOfTwoObjectsOfOneNameKeepsItAndTheSecondIsNeverDiscovered) {
  Federate& second = federation.add(22);
  second.mgr->publish(platform, attrs({1}));
  owner.mgr->registerObj(platform, "A");
  federation.settle();
  NotifyCapture notify;
  const RTI::ObjectHandle duplicate = second.mgr->registerObj(platform, "A");
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"discover 300001 5 A"});
  EXPECT_EQ(notify.text(),
            "Orvek RTI: Duplicate object name A.\n Ignoring the second one, with handle " + str(duplicate) + "\n.");
  EXPECT_EQ(subscriber.mgr->knownObj(duplicate), nullptr);
}

TEST_F(TwoFederates, ALocallyDeletedObjectIsRediscoveredAsTheOwnerRegistersItAgain) {
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  federation.settle();
  subscriber.amb.take();
  owner.conn->takeSent();
  subscriber.mgr->localDeleteObj(o);
  EXPECT_EQ(subscriber.mgr->knownObj(o), nullptr);
  EXPECT_EQ(subscriber.conn->takeSent(), std::vector<std::string>{"local-delete " + str(o)});
  federation.settle();
  EXPECT_EQ(owner.conn->takeSent(), std::vector<std::string>{"register " + str(o) + " p class 5 {0,1,2}"});
  EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"discover " + str(o) + " 5 p"});
}

// The RID switches of discovery: the exchange of the classes under which
// objects were discovered, and discovery from updates of unknown objects.
TEST(ObjectMgrDiscoveryModes, TheRidSwitchesDecideWhatIsSentAndWhatIsDiscovered) {
  struct Case {
    const char* rid;
    std::vector<std::string> subscriberSent;  // after discovering as the root class
    RTI::ObjectClassHandle discoveredAtOwner;
    std::vector<std::string> unknownUpdate;  // callbacks of a federate that missed the registration
  };
  const std::vector<Case> cases = {
      {"", {}, platform, {}},
      {"(setq RTI_sendDiscoveredClass 1)", {"discovered 300001 0"}, root, {}},
      {"(setq RTI_processUnknownUpdatesForDiscovery 1)",
       {},
       platform,
       {"discover 300001 5 p", "reflect 300001 1=a tag"}},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    Federation federation;
    Federate& owner = federation.add(3, c.rid);
    Federate& subscriber = federation.add(21, c.rid);
    owner.mgr->publish(platform, attrs({1}));
    subscriber.mgr->subscribe(root, attrs({0}), RTI::RTI_TRUE);
    federation.settle();
    subscriber.conn->takeSent();
    const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
    federation.settle();
    EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"discover 300001 0 p"}) << c.rid;
    EXPECT_EQ(subscriber.conn->takeSent(), c.subscriberSent) << c.rid;
    EXPECT_EQ(owner.mgr->knownObj(o)->discoveredClass(21), c.discoveredAtOwner) << c.rid;

    Federate missed(22, c.rid);
    missed.mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
    DtUpdateRoMsg update(o, "p", platform, *values({{1, "a"}}), "tag", nullptr);
    receiveFrom(*missed.conn, update, 3);
    EXPECT_EQ(missed.amb.take(), c.unknownUpdate) << c.rid;
  }
}

// ---- updates and reflections

TEST_F(TwoFederates, UpdatesAreReflectedWithWhatTheSubscriberExpects) {
  const RTI::ObjectHandle jet = owner.mgr->registerObj(aircraft, "jet");
  federation.settle();
  subscriber.amb.take();
  owner.conn->takeSent();
  // Altitude (3) is not an attribute of Platform, as which it is known.
  EXPECT_EQ(owner.mgr->sendUpdate(jet, *values({{1, "pos"}, {3, "alt"}}), nullptr, "t1"), 0u);
  EXPECT_EQ(owner.conn->takeSent(), std::vector<std::string>{"update 300001 {1=pos,3=alt}"});
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"reflect 300001 1=pos t1"});
  EXPECT_TRUE(owner.amb.take().empty());  // its own update, heard back, is not reflected

  // A time-stamped update to a federate that is not constrained comes at once.
  const RTIfedTime at(4.0);
  owner.mgr->sendUpdate(jet, *values({{1, "x"}}), &at, nullptr);
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"reflect 300001 1=x "});
}

TEST_F(TwoFederates, AReflectionCallbackMayDeleteTheObjectItIsHandedTheValuesOf) {
  const RTI::ObjectHandle jet = owner.mgr->registerObj(aircraft, "jet");
  federation.settle();
  std::string seen;
  // Altitude is filtered out, so the values handed over are the record's
  // own set; read after the deletion, it must still be there.
  subscriber.amb.onReflect = [&](RTI::ObjectHandle o, const RTI::AttributeHandleValuePairSet& v) {
    subscriber.mgr->localDeleteObj(o);
    seen = pairs(v);
  };
  owner.mgr->sendUpdate(jet, *values({{1, "pos"}, {3, "alt"}}), nullptr, "");
  federation.settle();
  EXPECT_EQ(seen, "1=pos");
  // Its owner announces it again to the federate that forgot it.
  EXPECT_EQ(subscriber.amb.take(),
            (std::vector<std::string>{"discover 300001 5 jet", "reflect 300001 1=pos ", "discover 300001 5 jet"}));
}

TEST_F(TwoFederates, UpdatesAreRefusedBeforeAnythingIsSent) {
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  const RTI::ObjectHandle jet = owner.mgr->registerObj(aircraft, "jet");
  owner.mgr->divestOwnership(jet, attrs({1}), false, nullptr);
  owner.conn->takeSent();
  struct Case {
    const char* what;
    RTI::ObjectHandle object;
    std::vector<std::pair<RTI::AttributeHandle, std::string>> update;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"an unknown object", 77, {{1, "a"}}, "throws ObjectNotKnown"},
      {"an attribute of another class", o, {{1, "a"}, {3, "b"}}, "throws AttributeNotDefined"},
      {"an attribute divested", jet, {{3, "a"}, {1, "b"}}, "throws AttributeNotOwned"},
      {"nothing to send", o, {}, "ok"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(4));
    for (const auto& [h, v] : c.update) set->add(h, v.data(), v.size());
    EXPECT_EQ(outcomeOf([&] { owner.mgr->sendUpdate(c.object, *set, nullptr, ""); }), c.result) << c.what;
    EXPECT_TRUE(owner.conn->takeSent().empty()) << c.what;
  }
}

// The update's send path: one message written from the caller's set when
// FOM data reliable, time management and data distribution are all off;
// one message per transport and order otherwise, sharing one serial.
TEST(ObjectMgrUpdatePaths, FastAndGroupedPathsSendTheirMessagesAndSerials) {
  const RTIfedTime at(2.0);
  struct Case {
    const char* what;
    const char* rid;
    bool regulating;
    bool timed;
    std::vector<std::pair<RTI::AttributeHandle, std::string>> update;
    std::uint32_t serial;
    std::vector<std::string> sent;
  };
  const std::vector<Case> cases = {
      {"fast path, untimed", "", false, false, {{1, "a"}, {2, ""}}, 0, {"update 300001 {1=a,2=}"}},
      {"fast path, timed: receive order, serial 0",
       "",
       true,
       true,
       {{1, "a"}, {2, "b"}},
       0,
       {"update-tso 300001 order 0 serial 0 {1=a,2=b}"}},
      {"grouped, not regulating: one receive-order group",
       "(setq RTI_timeMgmt 1)",
       false,
       true,
       {{1, "a"}, {2, "b"}},
       0,
       {"update-tso 300001 order 0 serial 0 {1=a,2=b}"}},
      {"grouped, regulating: the receive group first still carries the serial",
       "(setq RTI_timeMgmt 1)",
       true,
       true,
       {{1, "a"}, {2, "b"}, {0, ""}},
       1,
       {"update-tso 300001 order 0 serial 1 {1=a}", "update-tso 300001 order 1 serial 1 {2=b}"}},
      {"grouped: empty values are left out",
       "(setq RTI_timeMgmt 1)",
       false,
       false,
       {{1, ""}, {2, "b"}},
       0,
       {"update 300001 {2=b}"}},
      {"grouped: reliable goes best effort without fomDataReliable",
       "(setq RTI_timeMgmt 1)",
       false,
       false,
       {{0, "d"}, {1, "a"}},
       0,
       {"update 300001 {0=d}", "update 300001 {1=a}"}},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    Federate fed(3, c.rid);
    FakeTimeStamping time;
    time.isRegulating = c.regulating;
    fed.mgr->setTimeMgr(&time);
    fed.mgr->publish(platform, attrs({1, 2}));
    const RTI::ObjectHandle o = fed.mgr->registerObj(platform);
    fed.conn->takeSent();
    std::unique_ptr<RTI::AttributeHandleValuePairSet> set(RTI::AttributeSetFactory::create(4));
    for (const auto& [h, v] : c.update) set->add(h, v.data(), v.size());
    EXPECT_EQ(fed.mgr->sendUpdate(o, *set, c.timed ? &at : nullptr, nullptr), c.serial) << c.what;
    EXPECT_EQ(fed.conn->takeSent(), c.sent) << c.what;
  }
}

TEST(ObjectMgrUpdatePaths, ATimeStampedUpdateReachesAConstrainedFederateWithItsTimeAndRetractionHandle) {
  ObjectMgrDefaultsGuard defaults;
  Federation federation;
  Federate& owner = federation.add(3, "(setq RTI_timeMgmt 1)");
  Federate& subscriber = federation.add(21, "(setq RTI_timeMgmt 1)");
  FakeTimeStamping ownerTime, subscriberTime;
  ownerTime.isRegulating = true;
  ownerTime.next = 7;
  subscriberTime.isConstrained = true;
  owner.mgr->setTimeMgr(&ownerTime);
  subscriber.mgr->setTimeMgr(&subscriberTime);
  owner.mgr->publish(platform, attrs({1, 2}));
  subscriber.mgr->subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
  federation.settle();
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  federation.settle();
  subscriber.amb.take();
  const RTIfedTime at(3.0);
  EXPECT_EQ(owner.mgr->sendUpdate(o, *values({{1, "a"}, {2, "b"}}), &at, "t"), 7u);
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(),
            (std::vector<std::string>{"reflect 300001 1=a t", "reflect 300001 2=b t at 3 serial 7 from 3"}));
}

// ---- update requests

TEST_F(TwoFederates, RequestsAreAnsweredByTheOwnerWithTheAttributesItOwns) {
  const RTI::ObjectHandle p = owner.mgr->registerObj(platform, "p");
  const RTI::ObjectHandle jet = owner.mgr->registerObj(aircraft, "jet");
  owner.mgr->divestOwnership(jet, attrs({1}), false, nullptr);
  federation.settle();
  owner.amb.take();
  subscriber.mgr->requestObjectUpdate(p, attrs({1, 2}));
  subscriber.mgr->requestClassUpdate(platform, attrs({1, 2}));
  subscriber.mgr->requestClassUpdate(aircraft, attrs({1}));  // owned by nobody now
  EXPECT_EQ(subscriber.conn->takeSent(), (std::vector<std::string>{"request object " + str(p) + " {1,2}",
                                                                   "request class 5 {1,2}", "request class 6 {1}"}));
  federation.settle();
  EXPECT_EQ(owner.amb.take(), (std::vector<std::string>{"provide " + str(p) + " 1,2", "provide " + str(p) + " 1,2"}));
}

TEST_F(TwoFederates, RequestsAreRefusedBeforeAnythingIsSent) {
  const RTI::ObjectHandle p = owner.mgr->registerObj(platform, "p");
  federation.settle();
  struct Case {
    const char* what;
    std::function<void(DtObjectMgr&)> act;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"an unknown object", [](DtObjectMgr& m) { m.requestObjectUpdate(77, attrs({1})); }, "throws ObjectNotKnown"},
      {"an attribute of another class", [&](DtObjectMgr& m) { m.requestObjectUpdate(p, attrs({3})); },
       "throws AttributeNotDefined"},
      {"an unknown class", [](DtObjectMgr& m) { m.requestClassUpdate(77, attrs({1})); },
       "throws ObjectClassNotDefined"},
      {"an attribute the class lacks", [](DtObjectMgr& m) { m.requestClassUpdate(platform, attrs({3})); },
       "throws AttributeNotDefined"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outcomeOf([&] { c.act(*subscriber.mgr); }), c.result) << c.what;
    EXPECT_TRUE(subscriber.conn->takeSent().empty()) << c.what;
  }
}

TEST_F(TwoFederates, AProvideCallbackMayDeleteObjectsTheClassRequestHasStillToVisit) {
  std::vector<RTI::ObjectHandle> made;
  for (int i = 0; i < 3; ++i) made.push_back(owner.mgr->registerObj(platform));
  federation.settle();
  owner.amb.take();
  subscriber.amb.take();
  struct Deleting : RecordingFedAmb {
    DtObjectMgr* mgr = nullptr;
    std::vector<RTI::ObjectHandle> doomed;
    void provideAttributeValueUpdate(RTI::ObjectHandle o, const RTI::AttributeHandleSet& a) override {
      RecordingFedAmb::provideAttributeValueUpdate(o, a);
      for (RTI::ObjectHandle d : std::exchange(doomed, {})) mgr->deleteObj(d, nullptr, "gone");
    }
  } deleting;
  deleting.mgr = owner.mgr.get();
  deleting.doomed = {made[1], made[2]};
  owner.conn->ambassador = &deleting;
  subscriber.mgr->requestClassUpdate(platform, attrs({1}));
  federation.settle();
  EXPECT_EQ(deleting.take(), std::vector<std::string>{"provide " + str(made[0]) + " 1"});
  EXPECT_EQ(subscriber.amb.take(),
            (std::vector<std::string>{"remove " + str(made[1]) + " gone", "remove " + str(made[2]) + " gone"}));
}

// ---- deletion

TEST_F(TwoFederates, DeletionsAreRefusedBeforeAnythingIsSent) {
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  federation.settle();
  owner.conn->takeSent();
  subscriber.conn->takeSent();
  struct Case {
    const char* what;
    Federate* federate;
    std::function<void(DtObjectMgr&)> act;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"delete of an unknown object", &owner, [](DtObjectMgr& m) { m.deleteObj(77, nullptr, "x"); },
       "throws ObjectNotKnown"},
      {"delete without the privilege", &subscriber, [&](DtObjectMgr& m) { m.deleteObj(o, nullptr, "x"); },
       "throws DeletePrivilegeNotHeld"},
      {"local delete of an unknown object", &subscriber, [](DtObjectMgr& m) { m.localDeleteObj(77); },
       "throws ObjectNotKnown"},
      {"local delete by an owner", &owner, [&](DtObjectMgr& m) { m.localDeleteObj(o); },
       "throws FederateOwnsAttributes"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outcomeOf([&] { c.act(*c.federate->mgr); }), c.result) << c.what;
    EXPECT_TRUE(c.federate->conn->takeSent().empty()) << c.what;
    EXPECT_NE(c.federate->mgr->knownObj(o), nullptr) << c.what;
  }
}

TEST_F(TwoFederates, ADeletedObjectIsRemovedAtThePeersWithItsTag) {
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  federation.settle();
  subscriber.amb.take();
  EXPECT_EQ(owner.mgr->deleteObj(o, nullptr, "bye"), 0u);
  EXPECT_EQ(owner.mgr->allObj(o), nullptr);
  federation.settle();
  EXPECT_EQ(subscriber.amb.take(), std::vector<std::string>{"remove " + str(o) + " bye"});
  EXPECT_EQ(subscriber.mgr->allObj(o), nullptr);
}

TEST(ObjectMgrDeletion, ATimedDeletionFollowsTheOrderOfThePrivilegeToDelete) {
  const RTIfedTime at(9.0);
  struct Case {
    const char* what;
    bool withTimeMgr;
    DtOrderType privilegeOrder;
    std::uint32_t serial;
    bool recordKept;
    std::string sent;
  };
  const std::vector<Case> cases = {
      {"time-stamp ordered privilege: kept, next serial", true, DtTimestampOrder, 5, true,
       "delete-tso 300001 order 1 serial 5 bye"},
      {"receive-ordered privilege: removed, order 0, serial 0", true, DtReceiveOrder, 0, false,
       "delete-tso 300001 order 0 serial 0 bye"},
      {"no time manager: a plain deletion", false, DtTimestampOrder, 0, false, "delete 300001 bye"},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    Federate fed(3, "(setq RTI_timeMgmt 1)");
    FakeTimeStamping time;
    time.isRegulating = true;
    time.next = 5;
    if (c.withTimeMgr) fed.mgr->setTimeMgr(&time);
    fed.mgr->publish(platform, attrs({1}));
    const RTI::ObjectHandle o = fed.mgr->registerObj(platform);
    fed.mgr->setAttributeOrderType(o, attrs({0}), c.privilegeOrder);
    fed.conn->takeSent();
    EXPECT_EQ(fed.mgr->deleteObj(o, &at, "bye"), c.serial) << c.what;
    EXPECT_EQ(fed.mgr->allObj(o) != nullptr, c.recordKept) << c.what;
    EXPECT_EQ(fed.conn->takeSent(), std::vector<std::string>{c.sent}) << c.what;
  }
}

// ---- resignation

TEST(ObjectMgrResignation, EachResignActionLeavesThePeersWithWhatItSays) {
  struct Case {
    RTI::ResignAction action;
    bool deleteOrphans;
    std::vector<std::string> ownerSent;
    std::vector<std::string> peerCallbacks;
  };
  // The owner made "p" and "q"; it divested the privilege to delete "q",
  // which nobody took, so it cannot delete it. Its component holds that
  // privilege: the peers still record it as the owner and remove "q" as
  // orphaned when it resigns deleting, so "q" is not handed over then.
  const std::vector<Case> cases = {
      {RTI::RELEASE_ATTRIBUTES, true, {"ownership 13 300001 {0,1,2} to 0", "ownership 13 300002 {0,1,2} to 0"}, {}},
      {RTI::DELETE_OBJECTS,
       true,
       {"delete 300001 Resign action was delete."},
       {"remove 300001 Resign action was delete.", "remove 300002 Appears to have been orphaned."}},
      {RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES,
       false,
       {"delete 300001 Resign action was delete.", "ownership 13 300002 {0,1,2} to 0"},
       {"remove 300001 Resign action was delete."}},
      {RTI::NO_ACTION, true, {"ownership 13 300001 {0,1,2} to 0", "ownership 13 300002 {0,1,2} to 0"}, {}},
  };
  for (const Case& c : cases) {
    ObjectMgrDefaultsGuard defaults;
    Federation federation;
    const std::string rid = c.deleteOrphans ? "" : "(setq RTI_deleteOrphans 0)";
    Federate& owner = federation.add(3, rid);
    Federate& peer = federation.add(21, rid);
    owner.mgr->publish(platform, attrs({1, 2}));
    peer.mgr->subscribe(platform, attrs({1, 2}), RTI::RTI_TRUE);
    federation.settle();
    owner.mgr->registerObj(platform, "p");
    const RTI::ObjectHandle q = owner.mgr->registerObj(platform, "q");
    owner.mgr->divestOwnership(q, attrs({0}), false, nullptr);
    federation.settle();
    owner.conn->takeSent();
    peer.amb.take();

    owner.mgr->prepareToResign(c.action);
    EXPECT_EQ(owner.conn->takeSent(), c.ownerSent) << c.action;
    EXPECT_EQ(owner.mgr->allObjects().count(), 0u) << c.action;
    DtResignMsg resign("X", 3, c.action, nullptr);
    resign.setFederateHandle(3);
    federation.settle();
    peer.mgr->processResign(resign);
    EXPECT_EQ(peer.amb.take(), c.peerCallbacks) << c.action;
  }
}

TEST(ObjectMgrResignation, AResigningSubscriberTurnsTheOwnersUpdatesOff) {
  ObjectMgrDefaultsGuard defaults;
  DtObjectMgr::setDefaultAttributeAdvisory(1);
  Federation federation;
  Federate& owner = federation.add(3);
  Federate& peer = federation.add(21);
  owner.mgr->publish(platform, attrs({1, 2}));
  peer.mgr->subscribe(platform, attrs({1}), RTI::RTI_TRUE);
  federation.settle();
  const RTI::ObjectHandle o = owner.mgr->registerObj(platform, "p");
  federation.settle();
  EXPECT_EQ(owner.amb.take(), (std::vector<std::string>{"start 5", "on " + str(o) + " 1"}));
  DtResignMsg resign("X", 21, RTI::NO_ACTION, nullptr);
  resign.setFederateHandle(21);
  owner.mgr->processResign(resign);
  owner.mgr->tick();
  EXPECT_EQ(owner.amb.take(), (std::vector<std::string>{"off " + str(o) + " 1", "stop 5"}));
}
