// The interaction manager's declarations, advisories, class groups, save
// record and creation, against a recording connection manager and the real
// class tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "InteractionTestSupport.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

namespace {

using namespace intertest;

std::string state(const DtInteractionMgr& mgr, RTI::InteractionClassHandle c) {
  const DtInteractionClassInfo* record = mgr.fom()->interactionByHandle(c);
  return "subscribed " + std::to_string(record->subscribed()) + " published " + std::to_string(record->published());
}

struct DeclarationStep {
  const char* what;
  std::function<void(DtInteractionMgr&)> act;
  std::vector<std::string> sent;
  std::string after;  // the class's state, or "throws <exception>"
};

class DtInteractionMgrTest : public InteractionFixture {
protected:
  void run(const std::vector<DeclarationStep>& steps, RTI::InteractionClassHandle c) {
    for (const DeclarationStep& step : steps) {
      const std::string after = outcome([&] {
        step.act(*mgr);
        return state(*mgr, c);
      });
      EXPECT_EQ(after, step.after) << step.what;
      EXPECT_EQ(conn->takeSent(), step.sent) << step.what;
    }
  }
};

TEST_F(DtInteractionMgrTest, EachDeclarationTransitionSendsItsMessages) {
  RecordingMomHook mom;
  mgr->setMomMgr(&mom);
  run(
      {
          {"publish", [](auto& m) { m.publish(radio); }, {"pub 6 t0"}, "subscribed 0 published 1"},
          {"publish again", [](auto& m) { m.publish(radio); }, {"pub 6 t0"}, "subscribed 0 published 1"},
          {"unpublish", [](auto& m) { m.unpublish(radio); }, {"unpub 6 t0"}, "subscribed 0 published 0"},
          {"unpublish again", [](auto& m) { m.unpublish(radio); }, {}, "throws InteractionClassNotPublished"},
          {"subscribe actively",
           [](auto& m) { m.subscribe(radio, RTI::RTI_TRUE); },
           {"sub 6 t0"},
           "subscribed 1 published 0"},
          {"actively again",
           [](auto& m) { m.subscribe(radio, RTI::RTI_TRUE); },
           {"sub 6 t0"},
           "subscribed 1 published 0"},
          {"passively after actively",
           [](auto& m) { m.subscribe(radio, RTI::RTI_FALSE); },
           {"unsub 6 t0"},
           "subscribed 2 published 0"},
          {"passively again", [](auto& m) { m.subscribe(radio, RTI::RTI_FALSE); }, {}, "subscribed 2 published 0"},
          {"unsubscribe a passive one", [](auto& m) { m.unsubscribe(radio); }, {}, "subscribed 0 published 0"},
          {"unsubscribe again", [](auto& m) { m.unsubscribe(radio); }, {}, "throws InteractionClassNotSubscribed"},
          {"passively from none", [](auto& m) { m.subscribe(radio, RTI::RTI_FALSE); }, {}, "subscribed 2 published 0"},
          {"actively from passive",
           [](auto& m) { m.subscribe(radio, RTI::RTI_TRUE); },
           {"sub 6 t0"},
           "subscribed 1 published 0"},
          {"unsubscribe an active one",
           [](auto& m) { m.unsubscribe(radio); },
           {"unsub 6 t0"},
           "subscribed 0 published 0"},
      },
      radio);
  // The management object model heard of every subscription first.
  EXPECT_EQ(mom.prepared, (std::vector<std::uint32_t>{6, 6, 6, 6, 6, 6}));
}

TEST_F(DtInteractionMgrTest, ServicesRefuseWithTheirExceptionsBeforeChangingOrSendingAnything) {
  struct Case {
    const char* what;
    const char* ridLines;
    std::function<void(DtInteractionMgr&)> call;
    const char* expected;
  };
  const auto f = params({{0, "f"}});
  const auto withData = params({{0, "f"}, {2, "d"}});
  const auto beyond = params({{0, "f"}, {5, "x"}});
  const std::vector<Case> cases = {
      {"publish a handle no class has", "", [](auto& m) { m.publish(2); }, "throws InteractionClassNotDefined"},
      {"publish past the classes", "", [](auto& m) { m.publish(99); }, "throws InteractionClassNotDefined"},
      {"unpublish unknown", "", [](auto& m) { m.unpublish(3); }, "throws InteractionClassNotDefined"},
      {"unpublish unpublished", "", [](auto& m) { m.unpublish(radio); }, "throws InteractionClassNotPublished"},
      {"subscribe unknown", "", [](auto& m) { m.subscribe(99, RTI::RTI_TRUE); }, "throws InteractionClassNotDefined"},
      {"unsubscribe unknown", "", [](auto& m) { m.unsubscribe(99); }, "throws InteractionClassNotDefined"},
      {"unsubscribe unsubscribed", "", [](auto& m) { m.unsubscribe(radio); }, "throws InteractionClassNotSubscribed"},
      {"send unknown", "", [&](auto& m) { m.send(99, *f, nullptr, "", 0UL); }, "throws InteractionClassNotDefined"},
      {"send unpublished", "", [&](auto& m) { m.send(radio, *f, nullptr, "", 0UL); },
       "throws InteractionClassNotPublished"},
      {"send a subclass's parameter", "",
       [&](auto& m) {
         m.publish(radio);
         m.send(radio, *withData, nullptr, "", 0UL);
       },
       "throws InteractionParameterNotDefined"},
      {"send a parameter no class has", "",
       [&](auto& m) {
         m.publish(encoded);
         m.send(encoded, *beyond, nullptr, "", 0UL);
       },
       "throws InteractionParameterNotDefined"},
      {"without error checking it goes", "(setq RTI_checkFlag 0)",
       [&](auto& m) {
         m.publish(radio);
         m.send(radio, *withData, nullptr, "", 0UL);
       },
       "done"},
      {"transport 2", "", [](auto& m) { m.setTransport(radio, DtTransportType(2)); },
       "throws InvalidTransportationHandle"},
      {"transport checked before the class", "", [](auto& m) { m.setTransport(99, DtTransportType(7)); },
       "throws InvalidTransportationHandle"},
      {"transport of unknown", "", [](auto& m) { m.setTransport(99, DtReliable); },
       "throws InteractionClassNotDefined"},
      {"transport of unpublished", "", [](auto& m) { m.setTransport(radio, DtReliable); },
       "throws InteractionClassNotPublished"},
      {"order 2", "", [](auto& m) { m.setOrder(radio, DtOrderType(2)); }, "throws InvalidOrderingHandle"},
      {"order of unknown", "", [](auto& m) { m.setOrder(2, DtReceiveOrder); }, "throws InteractionClassNotDefined"},
      {"order of unpublished", "", [](auto& m) { m.setOrder(radio, DtReceiveOrder); },
       "throws InteractionClassNotPublished"},
  };
  for (const Case& c : cases) {
    make(c.ridLines);
    RecordingMomHook mom;
    mgr->setMomMgr(&mom);
    const std::string result = outcome([&] {
      c.call(*mgr);
      return std::string("done");
    });
    EXPECT_EQ(result, c.expected) << c.what;
    std::vector<std::string> sent = conn->takeSent();
    if (!sent.empty() && sent.front().starts_with("pub ")) sent.erase(sent.begin());
    EXPECT_EQ(sent.size(), result == "done" ? 1u : 0u) << c.what;
    EXPECT_TRUE(mom.prepared.empty()) << c.what;
  }
}

TEST_F(DtInteractionMgrTest, ThePublisherIsAdvisedAtTickWhenItsInteractionsBecomeRelevantOrNot) {
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> advised;
  };
  const DtResignMsg resign("Fx", third, RTI::NO_ACTION, nullptr);
  const std::vector<Step> steps = {
      {"published, nobody subscribes",
       [&] {
         mgr->publish(radio);
         mgr->publish(encoded);
       },
       {}},
      {"the first subscriber (of the subclass too)", [&] { receiveClassMsg<DtSubInterMsg>(radio); }, {"on 6", "on 7"}},
      {"a second one", [&] { receiveClassMsg<DtSubInterMsg>(radio, third); }, {}},
      {"this federate's own message", [&] { receiveClassMsg<DtUnsubInterMsg>(radio, self); }, {}},
      {"the first leaves", [&] { receiveClassMsg<DtUnsubInterMsg>(radio); }, {}},
      {"the second resigns", [&] { mgr->processResign(resign); }, {"off 6", "off 7"}},
      {"a subscriber of the root class", [&] { receiveClassMsg<DtSubInterMsg>(root); }, {"on 6", "on 7"}},
      {"stops before starts",
       [&] {
         receiveClassMsg<DtUnsubInterMsg>(root);
         receiveClassMsg<DtSubInterMsg>(radio, third);
       },
       {"off 6", "off 7", "on 6", "on 7"}},
      {"switched off: nothing queued",
       [&] {
         mgr->disableRelevanceAdvisorySwitch();
         receiveClassMsg<DtUnsubInterMsg>(radio, third);
       },
       {}},
      {"switched on again: nothing came meanwhile",
       [&] {
         mgr->enableRelevanceAdvisorySwitch();
         mgr->tick();
       },
       {}},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_TRUE(fedAmb.calls.empty()) << step.what << ": advised before the tick";
    mgr->tick();
    EXPECT_EQ(fedAmb.take(), step.advised) << step.what;
  }
  EXPECT_EQ(conn->takeSent(), (std::vector<std::string>{"pub 6 t0", "pub 7 t0"}));
}

TEST_F(DtInteractionMgrTest, ALatePublisherHearsOfEveryActiveSubscriberOfItsClassOrABaseClass) {
  mgr->subscribe(radio, RTI::RTI_TRUE);
  mgr->subscribe(managerFederate, RTI::RTI_FALSE);
  conn->takeSent();
  struct Case {
    const char* what;
    std::function<void()> publish;
    std::vector<std::string> sent;
  };
  const std::vector<Case> cases = {
      {"the subscribed class", [&] { receiveClassMsg<DtPubInterMsg>(radio); }, {"sub 6 t0"}},
      {"a subclass of it", [&] { receiveClassMsg<DtPubInterMsg>(encoded); }, {"sub 7 t0"}},
      {"a passively subscribed class", [&] { receiveClassMsg<DtPubInterMsg>(managerFederate); }, {}},
      {"this federate's own", [&] { receiveClassMsg<DtPubInterMsg>(encoded, self); }, {}},
      {"under two active subscriptions",
       [&] {
         mgr->subscribe(root, RTI::RTI_TRUE);
         conn->takeSent();
         receiveClassMsg<DtPubInterMsg>(encoded);
       },
       {"sub 7 t0", "sub 7 t0"}},
      {"an unpublication changes nothing", [&] { receiveClassMsg<DtUnpubInterMsg>(radio); }, {}},
  };
  for (const Case& c : cases) {
    c.publish();
    EXPECT_EQ(conn->takeSent(), c.sent) << c.what;
  }
}

TEST_F(DtInteractionMgrTest, DeclarationsOfUnknownClassesAreIgnoredWithAMessage) {
  NotifyCapture notify(2);
  receiveClassMsg<DtPubInterMsg>(99);
  receiveClassMsg<DtSubInterMsg>(2);
  receiveClassMsg<DtUnsubInterMsg>(3);
  EXPECT_EQ(notify.text(),
            "Ignoring publish message for undefined class 99\n"
            "Ignoring subscribe message for undefined class 2\n"
            "Ignoring unsubscribe message for undefined class 3\n");
  EXPECT_TRUE(conn->takeSent().empty());
}

TEST_F(DtInteractionMgrTest, ClassGroupsAreJoinedOnceAndLeftWithTheirLastClass) {
  // Radio and its subclass share a group; Manager has one of its own.
  make(
      "(RTI-addDMInteractionMulticastAddr \"Radio\" \"231.0.0.2\" \"inclusive\")\n"
      "(RTI-addDMInteractionMulticastAddr \"Manager\" \"231.0.0.3\" \"exclusive\")");
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> groups;
  };
  const std::vector<Step> steps = {
      {"subscribe Radio (and so its subclass)", [&] { mgr->subscribe(radio, RTI::RTI_TRUE); }, {"join 231.0.0.2"}},
      {"the subclass too", [&] { mgr->subscribe(encoded, RTI::RTI_TRUE); }, {}},
      {"passive after active", [&] { mgr->subscribe(radio, RTI::RTI_FALSE); }, {}},
      {"Radio goes", [&] { mgr->unsubscribe(radio); }, {}},
      {"the last class goes", [&] { mgr->unsubscribe(encoded); }, {"leave 231.0.0.2"}},
      {"a passive subscription from none", [&] { mgr->subscribe(encoded, RTI::RTI_FALSE); }, {"join 231.0.0.2"}},
      {"the root reaches every group below it", [&] { mgr->subscribe(root, RTI::RTI_TRUE); }, {"join 231.0.0.3"}},
      {"the root goes", [&] { mgr->unsubscribe(root); }, {"leave 231.0.0.3"}},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(conn->takeGroups(), step.groups) << step.what;
  }
  EXPECT_EQ(mgr->multicastUseCounts().size(), 1u);

  // Interactions go to their class's group.
  mgr->publish(encoded);
  mgr->publish(managerFederate);
  conn->takeSent();
  const auto none = params({});
  mgr->send(encoded, *none, nullptr, "", 0UL);
  mgr->send(managerFederate, *none, nullptr, "", 0UL);
  EXPECT_EQ(conn->takeSent(), (std::vector<std::string>{"ro 7 t0 {} @231.0.0.2", "ro 5 t1 {}"}));

  // A manager that goes leaves what it still holds.
  mgr.reset();
  EXPECT_EQ(conn->takeGroups(), (std::vector<std::string>{"leave 231.0.0.2"}));
}

TEST_F(DtInteractionMgrTest, WithoutMulticastDefinitionsNoGroupIsJoined) {
  mgr->subscribe(root, RTI::RTI_TRUE);
  mgr->unsubscribe(root);
  EXPECT_TRUE(conn->takeGroups().empty());
}

TEST_F(DtInteractionMgrTest, TheSaveRecordKeepsTheSwitchAndARecordOfAnotherTypeStopsTheRestore) {
  ScratchDirectory dir;
  const std::string file = dir.path() + "/fed.sav";
  {
    DtRtiSaveFile save(file.c_str(), false);
    mgr->disableRelevanceAdvisorySwitch();
    ASSERT_TRUE(mgr->save(save));
    mgr->enableRelevanceAdvisorySwitch();
    ASSERT_TRUE(mgr->save(save));
    DtSavePacketBuilder other(DtObjectMgrPacket::theType, DtObjectMgrPacket::theLength);
    ASSERT_TRUE(save.writePacket(other));
  }
  const std::string bytes = readWholeFile(file);
  ASSERT_EQ(bytes.size(), 12u + 12u + 16u);
  EXPECT_EQ(bytes.substr(0, 12), std::string("\0\0\0\x0c\0\0\0\x02\0\0\0\0", 12));
  EXPECT_EQ(bytes[12 + 8], 1);

  NotifyCapture notify(1);
  DtRtiSaveFile restore(file.c_str(), true);
  EXPECT_TRUE(mgr->restore(restore));
  EXPECT_EQ(mgr->relevanceAdvisorySwitch(), 0);
  EXPECT_TRUE(mgr->restore(restore));
  EXPECT_EQ(mgr->relevanceAdvisorySwitch(), 1);
  EXPECT_FALSE(mgr->restore(restore));  // the object manager's record
  EXPECT_FALSE(mgr->restore(restore));  // the end of the file
  EXPECT_EQ(mgr->relevanceAdvisorySwitch(), 1);
  EXPECT_EQ(notify.text(),
            "IntMgr received an incorrect save packet, restore aborted\n"
            "IntMgr received an incorrect save packet, restore aborted\n");
}

TEST_F(DtInteractionMgrTest, CreateGivesThePluginsManagerElseThePlainOne) {
  static DtInteractionMgr* made = nullptr;
  DtInteractionMgr::setCreatorFunction([](DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*) { return made; });
  EXPECT_EQ(DtInteractionMgr::create(conn.get(), fom.get(), rid.get()), nullptr);  // a creator's null stands
  made = new DtInteractionMgr(nullptr, fom.get(), rid.get());
  const DtInteractionMgr* expected = made;
  EXPECT_EQ(DtInteractionMgr::create(conn.get(), fom.get(), rid.get()).get(), expected);
  DtInteractionMgr::setCreatorFunction(nullptr);

  DtInteractionMgr::setDefaultInteractionAdvisory(0);
  const auto plain = DtInteractionMgr::create(conn.get(), fom.get(), rid.get());
  DtInteractionMgr::setDefaultInteractionAdvisory(1);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(typeid(*plain), typeid(DtInteractionMgr));
  EXPECT_EQ(plain->connectMgr(), conn.get());
  EXPECT_EQ(plain->relevanceAdvisorySwitch(), 0);
}

}  // namespace
