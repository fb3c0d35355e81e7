// Interactions with regions between federate processes of a federation run
// by the real rtiexec program (each test its own port and group): a
// scripted federate sends from its regions, and a federate of the test's own
// process subscribes with a region, receives what overlaps it, listens to
// the channels of the overlapping publication sets only, and with a passive
// subscription gives the sender no advisory. With data distribution off, an
// interaction sent with a region arrives as a plain one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ScriptedPeerFederation.h"
#include "core/DtFederateMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtInterDataDistMgr.h"
#include "support/RegionModel.h"

namespace {

using Lines = std::vector<std::string>;

// The tags the test's own federate received.
class Receiver : public NullFederateAmbassador {
public:
  void receiveInteraction(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                          const char* tag) override {
    tags.emplace_back(tag ? tag : "");
  }
  bool got(const std::string& tag) const { return std::find(tags.begin(), tags.end(), tag) != tags.end(); }
  Lines tags;
};

class InteractionRegionFederation : public ScriptedPeerFederation {
protected:
  // A federation with data distribution on or off.
  ::testing::AssertionResult start(bool dataDistribution) {
    return ScriptedPeerFederation::start(
        everyDeployment[4], std::string("(setq RTI_dataDistMgmt ") + (dataDistribution ? "1" : "0") + ")\n", "Talk.fed",
        theTalkModelFed);
  }
  // Sends from the region until the test's federate has the tag (the
  // first sends may come before the receiver knows the set).
  bool sendUntilReceived(const std::string& region, const std::string& tag) {
    for (int i = 0; i < 200; ++i) {
      if (command("send-interaction-region Signal " + region + " " + tag + " Power=1").rfind("ok ", 0) != 0) {
        return false;
      }
      if (waitUntil([&] { return receiver.got(tag); }, [&] { b->tick(); }, 0.05)) return true;
    }
    return false;
  }
  int linesWith(const std::string& text) const {
    return static_cast<int>(std::count_if(aLines.begin(), aLines.end(),
                                          [&](const std::string& l) { return l.find(text) != std::string::npos; }));
  }
  DtDataDistMgr* ddm() const { return PlainImplementor::last->fedMgr()->ddmMgr(); }
  std::size_t channelsJoined() const { return ddm()->channels().interactionChannels().size(); }
  void end() { ScriptedPeerFederation::end("Talk"); }

  Receiver receiver;
};

TEST_F(InteractionRegionFederation, ASubscriberReceivesWhatOverlapsItsRegionAndListensOnlyToThoseChannels) {
  ASSERT_TRUE(start(true));
  run({"background-tick on", "create Talk Talk.fed", "join Talk A", "publish-interaction Signal"});
  b->joinFederationExecution("B", "Talk", &receiver);
  const RTI::InteractionClassHandle signal = b->getInteractionClassHandle("Signal");
  RTI::Region* mine = b->createRegion(2, 1);
  mine->setRangeLowerBound(0, 0, 0);
  mine->setRangeUpperBound(0, 0, 10);
  b->notifyAboutRegionModification(*mine);
  b->subscribeInteractionClassWithRegion(signal, *mine, RTI::RTI_TRUE);
  run({"create-region Radio 1 a1", "set-extent a1 0 Freq=5,15", "notify-region a1", "create-region Radio 1 a2",
       "set-extent a2 0 Freq=10,20", "notify-region a2"});
  // An active subscription with a region is a subscription to the sender.
  EXPECT_TRUE(waitUntil([&] { return linesWith("turnInteractionsOn") > 0; }, [&] { command("tick"); }, 20));

  // [5,15) meets [0,10); [10,20) does not.
  EXPECT_TRUE(sendUntilReceived("a1", "t1"));
  run({"send-interaction-region Signal a2 t2 Power=2", "send-interaction-region Signal a2 t2 Power=2"});
  EXPECT_TRUE(sendUntilReceived("a1", "t3"));
  EXPECT_FALSE(receiver.got("t2"));
  EXPECT_EQ(channelsJoined(), 1u);

  // The sender moves a2 to [5,12): its channel is joined and it arrives.
  run({"set-extent a2 0 Freq=5,12", "notify-region a2"});
  EXPECT_TRUE(waitUntil([&] { return channelsJoined() == 2; }, [&] { b->tick(); }, 20));
  EXPECT_TRUE(sendUntilReceived("a2", "t4"));
  // And back: left.
  run({"set-extent a2 0 Freq=10,20", "notify-region a2"});
  EXPECT_TRUE(waitUntil([&] { return channelsJoined() == 1; }, [&] { b->tick(); }, 20));

  // Passive: received the same, and no advisory to the sender.
  b->unsubscribeInteractionClassWithRegion(signal, *mine);
  EXPECT_TRUE(waitUntil([&] { return linesWith("turnInteractionsOff") > 0; }, [&] { command("tick"); }, 20));
  EXPECT_TRUE(waitUntil([&] { return channelsJoined() == 0; }, [&] { b->tick(); }, 20));
  const int onBefore = linesWith("turnInteractionsOn");
  b->subscribeInteractionClassWithRegion(signal, *mine, RTI::RTI_FALSE);
  EXPECT_EQ(channelsJoined(), 1u);
  EXPECT_TRUE(sendUntilReceived("a1", "t5"));
  EXPECT_EQ(linesWith("turnInteractionsOn"), onBefore);
  b->unsubscribeInteractionClassWithRegion(signal, *mine);
  b->deleteRegion(mine);
  end();
}

TEST_F(InteractionRegionFederation, WithDataDistributionOffAnInteractionSentWithARegionArrivesAsAPlainOne) {
  ASSERT_TRUE(start(false));
  run({"background-tick on", "create Talk Talk.fed", "join Talk A", "publish-interaction Signal", "own-region o 2"});
  b->joinFederationExecution("B", "Talk", &receiver);
  b->subscribeInteractionClass(b->getInteractionClassHandle("Signal"), RTI::RTI_TRUE);
  EXPECT_TRUE(sendUntilReceived("o", "t6"));
  end();
}

}  // namespace
