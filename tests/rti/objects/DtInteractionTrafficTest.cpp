// The interaction manager's traffic: what it sends for each kind of send,
// and how a received interaction reaches the federate.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InteractionTestSupport.h"

namespace {

using namespace intertest;

class DtInteractionTrafficTest : public InteractionFixture {
protected:
  void SetUp() override {
    InteractionFixture::SetUp();
    mgr->setTimeMgr(&time);
  }
  FakeTimeStamping time;
};

TEST_F(DtInteractionTrafficTest, SendsInReceiveOrderUnlessRegulatingAndNumbersTimeStampedOnes) {
  mgr->publish(radio);    // best effort, time-stamp order
  mgr->publish(manager);  // reliable, receive order
  conn->takeSent();
  const auto set = params({{0, "f"}, {1, ""}});
  const auto federate = params({{0, "x"}});
  const RTIfedTime at(5.0);
  struct Step {
    const char* what;
    std::function<std::uint32_t()> send;
    std::string sent;
    std::uint32_t serial;
  };
  const std::vector<Step> steps = {
      {"untimed", [&] { return mgr->send(radio, *set, nullptr, "t", 0UL); }, "ro 6 t0 {0=f,1=}", 0},
      {"timed, not regulating: receive order, no serial", [&] { return mgr->send(radio, *set, &at, "t", 0UL); },
       "tso 6 t0 o0 s0 {0=f,1=}", 0},
      {"timed and regulating: the class's order and the next serial",
       [&] {
         time.isRegulating = true;
         return mgr->send(radio, *set, &at, "t", 0UL);
       },
       "tso 6 t0 o1 s1 {0=f,1=}", 1},
      {"the serials count up", [&] { return mgr->send(radio, *set, &at, "t", 0UL); }, "tso 6 t0 o1 s2 {0=f,1=}", 2},
      {"a receive-order class takes no serial", [&] { return mgr->send(manager, *federate, &at, "t", 0UL); },
       "tso 4 t1 o0 s0 {0=x}", 0},
      {"reliable from now on",
       [&] {
         mgr->setTransport(radio, DtReliable);
         return mgr->send(radio, *set, nullptr, nullptr, 0UL);
       },
       "ro 6 t1 {0=f,1=}", 3},
      {"receive order from now on",
       [&] {
         mgr->setOrder(radio, DtReceiveOrder);
         return mgr->send(radio, *set, &at, "t", 0UL);
       },
       "tso 6 t1 o0 s0 {0=f,1=}", 0},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(step.send(), step.serial) << step.what;
    EXPECT_EQ(conn->takeSent(), std::vector<std::string>{step.sent}) << step.what;
  }
}

TEST_F(DtInteractionTrafficTest, AReceivedInteractionGoesToTheNearestSubscribedClass) {
  struct Case {
    const char* what;
    std::vector<std::pair<RTI::InteractionClassHandle, RTI::Boolean>> subscriptions;
    RTI::InteractionClassHandle sent;
    std::uint32_t from;
    std::vector<std::string> received;
  };
  const RTI::Boolean active = RTI::RTI_TRUE, passive = RTI::RTI_FALSE;
  const std::vector<Case> cases = {
      {"the class itself: every parameter, empty ones too",
       {{encoded, active}},
       encoded,
       other,
       {"receive 7 {0=f,1=,2=d} tag"}},
      {"a base class: only its parameters that have a value",
       {{radio, active}},
       encoded,
       other,
       {"receive 6 {0=f} tag"}},
      {"both: the class itself", {{radio, active}, {encoded, active}}, encoded, other, {"receive 7 {0=f,1=,2=d} tag"}},
      {"a passive subscription", {{encoded, passive}}, encoded, other, {"receive 7 {0=f,1=,2=d} tag"}},
      {"the root class: no parameters", {{root, passive}}, encoded, other, {"receive 0 {} tag"}},
      {"nothing subscribed", {}, encoded, other, {}},
      {"only another branch", {{manager, active}}, encoded, other, {}},
      {"only a subclass", {{encoded, active}}, radio, other, {}},
      {"this federate's own", {{encoded, active}}, encoded, self, {}},
      {"an unknown class", {{root, active}}, 99, other, {}},
  };
  const auto set = params({{0, "f"}, {1, ""}, {2, "d"}});
  for (const Case& c : cases) {
    make("(setq RTI_momServiceAvailable 1)");
    for (const auto& [cls, how] : c.subscriptions) mgr->subscribe(cls, how);
    const DtInteractionRoMsg msg = interaction(c.sent, *set, c.from);
    receive(msg);
    EXPECT_EQ(fedAmb.take(), c.received) << c.what;
    // The values were not copied: the federate saw them in the message.
    if (fedAmb.firstValue) {
      EXPECT_TRUE(fedAmb.firstValue >= msg.data() && fedAmb.firstValue < msg.data() + msg.size()) << c.what;
    }
    long counted = 0;
    for (int h = 0; h < fom->numInteractions(); ++h) {
      if (const DtInteractionClassInfo* record = fom->interactionByHandle(h)) {
        counted += record->tallySet().tally(RTI::RTI_TRUE, DtBestEffort);
      }
    }
    EXPECT_EQ(counted, static_cast<long>(c.received.size())) << c.what;
  }
}

TEST_F(DtInteractionTrafficTest, ATimeStampedInteractionComesWithItsTimeOnlyToAConstrainedFederate) {
  const auto set = params({{2, "d"}});
  struct Case {
    const char* what;
    bool constrained;
    bool withTimeMgr;
    DtOrderType order;
    std::string received;
  };
  const std::vector<Case> cases = {
      {"constrained", true, true, DtTimestampOrder, "receive 7 {2=d} tag at 5 serial 9 from 21"},
      {"not constrained", false, true, DtTimestampOrder, "receive 7 {2=d} tag"},
      {"sent in receive order", true, true, DtReceiveOrder, "receive 7 {2=d} tag"},
      {"no time management", true, false, DtTimestampOrder, "receive 7 {2=d} tag"},
  };
  mgr->subscribe(encoded, RTI::RTI_TRUE);
  for (const Case& c : cases) {
    time.isConstrained = c.constrained;
    mgr->setTimeMgr(c.withTimeMgr ? &time : nullptr);
    DtInteractionTsoMsg msg(encoded, *set, c.order, RTIfedTime(5.0), "tag", 9, 0, nullptr);
    msg.setFederateHandle(other);
    receive(msg);
    EXPECT_EQ(fedAmb.take(), std::vector<std::string>{c.received}) << c.what;
  }
}

TEST_F(DtInteractionTrafficTest, AnInteractionWithoutTagReachesTheFederateWithAnEmptyOne) {
  mgr->subscribe(radio, RTI::RTI_TRUE);
  const auto set = params({{0, "f"}});
  receive(interaction(radio, *set, other, nullptr));
  EXPECT_EQ(fedAmb.take(), std::vector<std::string>{"receive 6 {0=f} "});
}

TEST_F(DtInteractionTrafficTest, WithDataDistributionTheChannelKindsTravelAndAreReceived) {
  make("(setq RTI_dataDistMgmt 1)");
  EXPECT_EQ(DtInteractionMsg::channelIncluded(), 1);
  mgr->publish(radio);
  mgr->subscribe(radio, RTI::RTI_TRUE);
  conn->takeSent();
  const auto set = params({{0, "f"}});
  mgr->send(radio, *set, nullptr, "t", 0UL);
  const RTIfedTime at(1.0);
  mgr->send(radio, *set, &at, "t", 0UL);
  EXPECT_EQ(conn->takeSent(), (std::vector<std::string>{"ro 6 t0 {0=f}", "tso 6 t0 o0 s0 {0=f}"}));
  const DtInteractionRoMsg msg = interaction(radio, *set);
  EXPECT_EQ(msg.msgKind(), DtDdmInteractionRoMsgKind);
  receive(msg);
  EXPECT_EQ(fedAmb.take(), std::vector<std::string>{"receive 6 {0=f} tag"});
}

TEST_F(DtInteractionTrafficTest, AnInteractionDeliveredInsideAnotherOnesCallbackLeavesItsSetAlone) {
  mgr->subscribe(radio, RTI::RTI_TRUE);
  const auto outer = params({{0, "outer"}});
  const auto inner = params({{0, "inner"}, {2, "x"}});
  const DtInteractionRoMsg innerMsg = interaction(encoded, *inner);
  fedAmb.onReceive = [&] { receive(innerMsg); };
  receive(interaction(radio, *outer));
  EXPECT_EQ(fedAmb.take(),
            (std::vector<std::string>{"receive 6 {0=outer} tag", "receive 6 {0=inner} tag", "after it {0=outer}"}));
}

TEST_F(DtInteractionTrafficTest, AManagerThatWentHearsNothingMore) {
  mgr->subscribe(radio, RTI::RTI_TRUE);
  mgr.reset();
  const auto set = params({{0, "f"}});
  receive(interaction(radio, *set));
  receiveClassMsg<DtSubInterMsg>(radio);
  EXPECT_TRUE(fedAmb.calls.empty());
}

TEST_F(DtInteractionTrafficTest, SentInteractionsAreCountedWithTheManagementObjectModel) {
  make("(setq RTI_momServiceAvailable 1)");
  mgr->publish(manager);
  const auto set = params({});
  mgr->send(manager, *set, nullptr, "", 0UL);
  mgr->send(manager, *set, nullptr, "", 0UL);
  EXPECT_EQ(fom->interactionByHandle(manager)->tallySet().tally(RTI::RTI_FALSE, DtReliable), 2);
  make("");
  mgr->publish(manager);
  mgr->send(manager, *set, nullptr, "", 0UL);
  EXPECT_EQ(fom->interactionByHandle(manager)->tallySet().tally(RTI::RTI_FALSE, DtReliable), 0);
}

}  // namespace
