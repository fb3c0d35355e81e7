// The interaction data distribution manager on a recording connection
// manager: subscription with regions (adding, narrowing, passive sets,
// unsubscription), sending with a region, another federate's region sets,
// which of them this federate listens to, and regions that change or go.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "DdmTestSupport.h"
#include "ddm/DtInteractionRegionSet.h"
#include "msg/DtRegionSetMsgs.h"
#include "objects/DtInteractionClassInfo.h"

namespace {

using namespace ddmtest;

class InterDdm : public DdmFixture {
protected:
  void SetUp() override {
    DdmFixture::SetUp();
    radioClass = fom->interactionHandle("Radio");
    cls = fom->interactionByHandle(radioClass);
    interactions->setClock([this] { return now; });
  }

  // A region of this federate in Radio, committed and announced.
  DtRegion* radioRegion(std::uint32_t lo, std::uint32_t hi) {
    DtRegion* r = ddm->createRegion(radio, 1);
    setBounds(*r, 0, {{lo, hi}});
    ddm->notifyAboutRegionModification(*r);
    return r;
  }
  // Another federate's region in Radio, as its kind 25 brings it.
  void remoteRadioRegion(std::uint32_t handle, std::uint32_t lo, std::uint32_t hi, std::uint32_t from = other) {
    ddm->processNotifyRegion(notifyFrom(from, handle, radio, 1, 1, {lo, hi}));
  }
  // Another federate's region set (kind 30).
  void remoteSet(DtInterRegSetType type, std::uint32_t set, std::vector<std::uint32_t> regions,
                 std::uint32_t address = 0xE0000101, std::uint32_t from = other,
                 RTI::InteractionClassHandle theClass = ~0UL) {
    DtInterRegSetMsg msg(type, set, theClass == ~0UL ? radioClass : theClass, address, regions);
    msg.setFederateHandle(from);
    interactions->processRegionSet(msg);
  }
  // "[300001 0]" for a set, "-" for none.
  static std::string regionsOf(const DtInteractionRegionSet* set) {
    if (!set) return "-";
    std::string text = "[";
    for (const DtRegionEntry& entry : set->regionList()) {
      text += (text.size() > 1 ? " " : "") + std::to_string(entry.handle);
    }
    return text + "]";
  }
  std::string state() const {
    return "sub " + regionsOf(cls->subRegionSet()) + " pas " + regionsOf(cls->pasRegionSet());
  }
  // Only the region-set announcements, without the handles of the sets.
  std::vector<std::string> takeSetMsgs() {
    std::vector<std::string> lines;
    for (const std::string& line : conn->takeSent()) {
      if (line.rfind("interset", 0) != 0) continue;
      const auto handleStart = line.find(' ', 9) + 1;
      lines.push_back(line.substr(0, handleStart) + line.substr(line.find(" class", handleStart) + 1));
    }
    return lines;
  }

  RTI::InteractionClassHandle radioClass = 0;
  DtInteractionClassInfo* cls = nullptr;
  double now = 100.0;
};

// ---- subscription with regions, on one class

TEST_F(InterDdm, SubscriptionAddsNarrowsMovesBetweenActiveAndPassiveAndUnsubscribesAsTheTableSays) {
  DtRegion* a = radioRegion(0, 10);
  DtRegion* b = radioRegion(20, 30);
  DtRegion& none = ddm->defaultRegion();
  conn->takeSent();
  const std::string A = std::to_string(a->handle()), B = std::to_string(b->handle());
  const std::string K = std::to_string(radioClass);
  const auto sub = [&](RTI::Region& r, bool active) {
    return [&, active] {
      interactions->subscribeInteractionClassWithRegion(radioClass, r, active ? RTI::RTI_TRUE : RTI::RTI_FALSE);
    };
  };
  const auto unsub = [&](RTI::Region& r) {
    return [&] { interactions->unsubscribeInteractionClassWithRegion(radioClass, r); };
  };
  struct Step {
    const char* what;
    std::function<void()> call;
    std::string outcome;
    std::string state;
    std::vector<std::string> sent;
  };
  const std::vector<Step> steps = {
      {"active A", sub(*a, true), "ok", "sub [" + A + "] pas -", {"interset sub class " + K + " [" + A + "]"}},
      {"active B adds",
       sub(*b, true),
       "ok",
       "sub [" + A + " " + B + "] pas -",
       {"interset sub class " + K + " [" + A + " " + B + "]"}},
      {"active A again narrows",
       sub(*a, true),
       "ok",
       "sub [" + A + "] pas -",
       {"interset sub class " + K + " [" + A + "]"}},
      {"active A once more: nothing", sub(*a, true), "ok", "sub [" + A + "] pas -", {}},
      {"default region joins",
       sub(none, true),
       "ok",
       "sub [" + A + " 0] pas -",
       {"interset sub class " + K + " [" + A + " 0]"}},
      {"active B",
       sub(*b, true),
       "ok",
       "sub [" + A + " 0 " + B + "] pas -",
       {"interset sub class " + K + " [" + A + " 0 " + B + "]"}},
      {"active A narrows, keeping the default region",
       sub(*a, true),
       "ok",
       "sub [0 " + A + "] pas -",
       {"interset sub class " + K + " [0 " + A + "]"}},
      {"unsubscribe A: the default set, the region set withdrawn",
       unsub(*a),
       "ok",
       "sub [0] pas -",
       {"interset sub class " + K + " []"}},
      {"unsubscribe B: in neither set", unsub(*b), "throws InteractionClassNotSubscribed", "sub [0] pas -", {}},
      {"unsubscribe the default region", unsub(none), "ok", "sub - pas -", {}},
      {"unsubscribe the default region again: nothing", unsub(none), "ok", "sub - pas -", {}},
      {"passive A: never announced", sub(*a, false), "ok", "sub - pas [" + A + "]", {}},
      {"passive B", sub(*b, false), "ok", "sub - pas [" + A + " " + B + "]", {}},
      {"active A narrows the passive set away",
       sub(*a, true),
       "ok",
       "sub [" + A + "] pas -",
       {"interset sub class " + K + " [" + A + "]"}},
      {"passive A: both sets hold it", sub(*a, false), "ok", "sub [" + A + "] pas [" + A + "]", {}},
      {"passive default region", sub(none, false), "ok", "sub [" + A + "] pas [" + A + " 0]", {}},
      {"unsubscribe A: from the active set first",
       unsub(*a),
       "ok",
       "sub - pas [" + A + " 0]",
       {"interset sub class " + K + " []"}},
      {"unsubscribe A again: from the passive set", unsub(*a), "ok", "sub - pas [0]", {}},
      {"active default region takes it from the passive set", sub(none, true), "ok", "sub [0] pas -", {}},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(outcomeOf(step.call), step.outcome) << step.what;
    EXPECT_EQ(state(), step.state) << step.what;
    EXPECT_EQ(takeSetMsgs(), step.sent) << step.what;
  }
  // Every set handle that was given back is free again: only the set in
  // use holds one (the default sets hold none).
  EXPECT_EQ(interactions->subHandlePool().usedCount(), 0u);
}

TEST_F(InterDdm, TheServicesRefuseWhatTheyCannotServeBeforeAnythingChanges) {
  DtRegion* geoR = geoRegion({0, 1}, {0, 1});
  DtRegion* radioR = radioRegion(0, 10);
  conn->takeSent();
  const RTI::InteractionClassHandle unknown = 999;
  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(0);
  const auto send = [&](RTI::InteractionClassHandle k, const RTI::Region& r) {
    return [&, k] { interactions->send(k, *params, nullptr, "", r); };
  };
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* outcome;
  };
  const Case before[] = {
      {"subscribe unknown class",
       [&] { interactions->subscribeInteractionClassWithRegion(unknown, *radioR, RTI::RTI_TRUE); },
       "throws InteractionClassNotDefined"},
      {"subscribe with another space",
       [&] { interactions->subscribeInteractionClassWithRegion(radioClass, *geoR, RTI::RTI_TRUE); },
       "throws InvalidRegionContext"},
      {"unsubscribe with another space",
       [&] { interactions->unsubscribeInteractionClassWithRegion(radioClass, *geoR); },
       "throws InteractionClassNotSubscribed"},
      {"send unknown class", send(unknown, *radioR), "throws InteractionClassNotDefined"},
      {"send unpublished, before the space", send(radioClass, *geoR), "throws InteractionClassNotPublished"},
  };
  for (const Case& c : before) EXPECT_EQ(outcomeOf(c.call), c.outcome) << c.what;
  interactions->publish(radioClass);
  const Case published[] = {
      {"send with another space", send(radioClass, *geoR), "throws InvalidRegionContext"},
      {"send with the default region: space 0 is not exempt", send(radioClass, ddm->defaultRegion()),
       "throws InvalidRegionContext"},
  };
  for (const Case& c : published) EXPECT_EQ(outcomeOf(c.call), c.outcome) << c.what;
  EXPECT_EQ(cls->subRegionSet(), nullptr);
  EXPECT_EQ(interactions->localPubRegSets(radioClass), nullptr);
  delete params;
}

// ---- sending

TEST_F(InterDdm, SendingMakesOnePublicationSetPerRegionAndUsesItsChannelOnceTheHoldBackIsOver) {
  DtRegion* a = radioRegion(0, 10);
  interactions->publish(radioClass);
  conn->takeSent();
  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(0);
  interactions->send(radioClass, *params, nullptr, "", *a);
  const std::vector<std::string> first = conn->takeSent();
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0],
            "interset pub 300002 class " + std::to_string(radioClass) + " [" + std::to_string(a->handle()) + "]");
  // Held back: the default route.
  EXPECT_EQ(first[1], "interaction " + std::to_string(radioClass) + " from set 300002");
  now += 0.5;
  interactions->send(radioClass, *params, nullptr, "", *a);
  EXPECT_EQ(conn->takeSent(),
            std::vector<std::string>{"interaction " + std::to_string(radioClass) + " from set 300002"});
  now += 0.6;
  interactions->send(radioClass, *params, nullptr, "", *a);
  EXPECT_EQ(conn->takeSent(),
            std::vector<std::string>{"interaction " + std::to_string(radioClass) + " from set 300002 @224.0.0.1"});
  // A change of the region holds the channel back again.
  a->setRangeUpperBound(0, 0, 12);
  ddm->notifyAboutRegionModification(*a);
  conn->takeSent();
  interactions->send(radioClass, *params, nullptr, "", *a);
  EXPECT_EQ(conn->takeSent(),
            std::vector<std::string>{"interaction " + std::to_string(radioClass) + " from set 300002"});
  // Deleting the region withdraws the set: announced without regions.
  ddm->deleteRegion(a);
  EXPECT_EQ(conn->takeSent(), (std::vector<std::string>{
                                  "interset pub 300002 class " + std::to_string(radioClass) + " []", "delete 300001"}));
  EXPECT_EQ(interactions->localPubRegSet(radioClass, 300002), nullptr);
  delete params;
}

TEST(PlainInteractionMgr, WithDataDistributionOffASendWithARegionGoesAsAPlainInteraction) {
  const auto rid = mgrtest::ridWith("");
  const auto fom = fomFromText(fixtureFed, rid.get());
  RecordingConnectionMgr conn;
  DtInteractionMgr plain(&conn, fom.get(), rid.get());
  const RTI::InteractionClassHandle radioClass = fom->interactionHandle("Radio");
  DtRegion region(7, fom->spaceByHandle(radio), 1);
  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(0);
  EXPECT_EQ(outcomeOf([&] { plain.send(radioClass, *params, nullptr, "", region); }),
            "throws InteractionClassNotPublished");
  plain.publish(radioClass);
  conn.takeSent();
  plain.send(radioClass, *params, nullptr, "", region);
  EXPECT_EQ(conn.takeSent(), std::vector<std::string>{"interaction " + std::to_string(radioClass) + " from set 0"});
  delete params;
}

// ---- another federate's sets: matching, channels and the receive filter

TEST_F(InterDdm, ARemotePublicationSetIsListenedToExactlyWhileItOverlapsASubscription) {
  DtRegion* mine = radioRegion(0, 10);
  interactions->subscribeInteractionClassWithRegion(radioClass, *mine, RTI::RTI_TRUE);
  conn->takeSent();
  conn->takeGroups();
  const std::uint32_t theirs = 2100001, set = 2100002;
  // The set names a region not known yet: kept by handle, nothing joined.
  remoteSet(DtInterPubRegionSet, set, {theirs});
  EXPECT_FALSE(interactions->acceptInteractionChannel(radioClass, set));
  EXPECT_TRUE(conn->takeGroups().empty());
  // The region comes, [5,15) meets [0,10).
  remoteRadioRegion(theirs, 5, 15);
  EXPECT_TRUE(interactions->acceptInteractionChannel(radioClass, set));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"join 224.0.1.1"});
  EXPECT_TRUE(interactions->acceptInteractionChannel(radioClass, 0)) << "the default route";
  // It moves to [10,20): apart.
  remoteRadioRegion(theirs, 10, 20);
  EXPECT_FALSE(interactions->acceptInteractionChannel(radioClass, set));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"leave 224.0.1.1"});
  // Mine grows to [0,30): together again.
  mine->setRangeUpperBound(0, 0, 30);
  ddm->notifyAboutRegionModification(*mine);
  EXPECT_TRUE(interactions->acceptInteractionChannel(radioClass, set));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"join 224.0.1.1"});
  // A second announcement of a known set changes nothing.
  remoteSet(DtInterPubRegionSet, set, {});
  EXPECT_TRUE(interactions->acceptInteractionChannel(radioClass, set));
  // Unsubscribing leaves the group; the set stays known.
  interactions->unsubscribeInteractionClassWithRegion(radioClass, *mine);
  EXPECT_FALSE(interactions->acceptInteractionChannel(radioClass, set));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"leave 224.0.1.1"});
  EXPECT_NE(interactions->remotePubRegSet(radioClass, set), nullptr);
  // The region withdrawn: the set goes.
  ddm->processDeleteRegion(deleteFrom(other, theirs));
  EXPECT_EQ(interactions->remotePubRegSet(radioClass, set), nullptr);
}

TEST_F(InterDdm, APassiveSubscriptionJoinsTheChannelButAnnouncesNothing) {
  remoteRadioRegion(2100001, 5, 15);
  remoteSet(DtInterPubRegionSet, 2100002, {2100001});
  DtRegion* mine = radioRegion(0, 10);
  conn->takeSent();
  conn->takeGroups();
  interactions->subscribeInteractionClassWithRegion(radioClass, *mine, RTI::RTI_FALSE);
  EXPECT_TRUE(conn->takeSent().empty());
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"join 224.0.1.1"});
  EXPECT_TRUE(interactions->acceptInteractionChannel(radioClass, 2100002));
  interactions->tick();
  EXPECT_TRUE(conn->takeSent().empty()) << "a passive set is never announced";
}

TEST_F(InterDdm, DeletingARegionOfThePassiveSetPutsTheClassBackOnItsDefaultSetAndLeavesTheChannel) {
  remoteRadioRegion(2100001, 5, 15);
  remoteSet(DtInterPubRegionSet, 2100002, {2100001});
  struct Case {
    bool withDefault;
    std::string after;
  };
  for (const Case& c : {Case{true, "sub - pas [0]"}, Case{false, "sub - pas -"}}) {
    DtRegion* mine = radioRegion(0, 10);
    if (c.withDefault)
      interactions->subscribeInteractionClassWithRegion(radioClass, ddm->defaultRegion(), RTI::RTI_FALSE);
    interactions->subscribeInteractionClassWithRegion(radioClass, *mine, RTI::RTI_FALSE);
    // The default region meets every region: the group is joined either way.
    conn->takeGroups();
    ddm->deleteRegion(mine);
    EXPECT_EQ(state(), c.after);
    if (c.withDefault) {
      EXPECT_EQ(cls->pasRegionSet(), interactions->defaultPasRegionSet(radioClass));
      EXPECT_TRUE(conn->takeGroups().empty()) << "the default region still meets theirs";
      interactions->unsubscribeInteractionClassWithRegion(radioClass, ddm->defaultRegion());
    }
    EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"leave 224.0.1.1"}) << c.withDefault;
    EXPECT_FALSE(interactions->acceptInteractionChannel(radioClass, 2100002));
    EXPECT_EQ(interactions->passiveRegSet(radioClass), cls->pasRegionSet());
  }
}

TEST_F(InterDdm, ASubclassPublicationSetIsReceivedAsTheSubscribedBaseClass) {
  const RTI::InteractionClassHandle encoded = fom->interactionHandle("Radio.Encoded");
  DtRegion* mine = radioRegion(0, 10);
  remoteRadioRegion(2100001, 5, 15);
  remoteSet(DtInterPubRegionSet, 2100002, {2100001}, 0xE0000101, other, encoded);
  conn->takeGroups();
  interactions->subscribe(radioClass, RTI::RTI_TRUE);
  interactions->subscribeInteractionClassWithRegion(radioClass, *mine, RTI::RTI_TRUE);
  EXPECT_TRUE(interactions->acceptInteractionChannel(encoded, 2100002));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"join 224.0.1.1"});
  interactions->unsubscribe(radioClass);
  interactions->unsubscribeInteractionClassWithRegion(radioClass, *mine);
  EXPECT_FALSE(interactions->acceptInteractionChannel(encoded, 2100002));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"leave 224.0.1.1"});
}

TEST_F(InterDdm, ARemoteSubscriptionSetCountsAsARegionSubscriberUntilWithdrawnAndBringsThePublicationSetsAgain) {
  DtRegion* mine = radioRegion(0, 10);
  interactions->publish(radioClass);
  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(0);
  interactions->send(radioClass, *params, nullptr, "", *mine);
  conn->takeSent();
  remoteRadioRegion(2100001, 5, 15);
  remoteSet(DtInterSubRegionSet, 2100003, {2100001});
  EXPECT_TRUE(cls->remoteFederateIsSubscribedWithRegion(other));
  ASSERT_NE(interactions->remoteSubRegSet(other, radioClass), nullptr);
  // At the tick, the region again and then the publication set.
  ddm->tick();
  interactions->tick();
  EXPECT_EQ(conn->takeSent(),
            (std::vector<std::string>{"notify 300001 space 2 [0,10)",
                                      "interset pub 300002 class " + std::to_string(radioClass) + " [300001]"}));
  // Withdrawn.
  remoteSet(DtInterSubRegionSet, 2100003, {});
  EXPECT_FALSE(cls->remoteFederateIsSubscribedWithRegion(other));
  EXPECT_EQ(interactions->remoteSubRegSet(other, radioClass), nullptr);
  // A withdrawal of a set never announced subscribes nothing.
  remoteSet(DtInterSubRegionSet, 2100004, {});
  EXPECT_FALSE(cls->remoteFederateIsSubscribedWithRegion(other));
  // The federate's own messages, an unknown class and an unknown type are
  // dropped.
  remoteSet(DtInterSubRegionSet, 300009, {0}, 0, self);
  remoteSet(DtInterSubRegionSet, 2100005, {0}, 0, other, 999);
  remoteSet(static_cast<DtInterRegSetType>(7), 2100006, {0});
  EXPECT_EQ(cls->numRemoteFederatesSubscribedWithRegion(), 0u);
  delete params;
}

TEST_F(InterDdm, AResignedFederatesSetsGoWithItsRegions) {
  DtRegion* mine = radioRegion(0, 10);
  interactions->subscribeInteractionClassWithRegion(radioClass, *mine, RTI::RTI_TRUE);
  remoteRadioRegion(2100001, 5, 15);
  remoteSet(DtInterPubRegionSet, 2100002, {2100001});
  remoteSet(DtInterSubRegionSet, 2100003, {2100001});
  conn->takeGroups();
  interactions->processResign(resignOf(other));
  ddm->processResign(resignOf(other));
  EXPECT_EQ(interactions->remotePubRegSet(radioClass, 2100002), nullptr);
  EXPECT_EQ(interactions->remoteSubRegSet(other, radioClass), nullptr);
  EXPECT_FALSE(cls->remoteFederateIsSubscribedWithRegion(other));
  EXPECT_EQ(conn->takeGroups(), std::vector<std::string>{"leave 224.0.1.1"});
}

}  // namespace

// ---- the invariant, on random traffic

// After every step of a seeded random run (subscriptions with regions, active
// and passive, of this federate; regions and publication sets of another;
// changes and deletions of both), a remote publication set is heard, and its
// group joined, exactly while one of the class's two sets meets it.
TEST_F(InterDdm, ARemotePublicationSetIsHeardExactlyWhileItMeetsASubscriptionOnRandomTraffic) {
  const unsigned seed = ::testing::UnitTest::GetInstance()->random_seed() + 58;
  std::printf("seed %u\n", seed);
  std::mt19937 random(seed);
  const auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
  std::vector<DtRegion*> mine;
  for (int i = 0; i < 4; ++i) {
    const std::uint32_t lo = pick(90);
    mine.push_back(radioRegion(lo, lo + 1 + pick(20)));
  }
  std::vector<std::uint32_t> theirs;  // regions announced and not deleted
  std::uint32_t nextRegion = 2100001, nextSet = 2150000;
  std::vector<std::uint32_t> sets;
  std::map<std::string, int> joined;  // group -> joins minus leaves
  for (int step = 0; step < 400; ++step) {
    switch (pick(7)) {
      case 0: {
        const std::uint32_t lo = pick(100);
        remoteRadioRegion(nextRegion, lo, lo + 1 + pick(15));
        theirs.push_back(nextRegion++);
        break;
      }
      case 1:
        if (!theirs.empty()) {
          // A set of one of their regions, or of one not announced yet.
          const std::uint32_t region = pick(4) == 0 ? nextRegion : theirs[pick(theirs.size())];
          remoteSet(DtInterPubRegionSet, nextSet, {region}, 0xE0000200 + nextSet % 64);
          sets.push_back(nextSet++);
        }
        break;
      case 2:
        if (!theirs.empty()) {
          const std::uint32_t lo = pick(100);
          remoteRadioRegion(theirs[pick(theirs.size())], lo, lo + 1 + pick(15));
        }
        break;
      case 3:
        if (!theirs.empty()) {
          const std::size_t i = pick(theirs.size());
          ddm->processDeleteRegion(deleteFrom(other, theirs[i]));
          theirs.erase(theirs.begin() + static_cast<std::ptrdiff_t>(i));
        }
        break;
      case 4: {
        DtRegion* r = pick(5) == 0 ? &ddm->defaultRegion() : mine[pick(mine.size())];
        interactions->subscribeInteractionClassWithRegion(radioClass, *r, pick(2) ? RTI::RTI_TRUE : RTI::RTI_FALSE);
        break;
      }
      case 5: {
        DtRegion* r = pick(5) == 0 ? &ddm->defaultRegion() : mine[pick(mine.size())];
        outcomeOf([&] { interactions->unsubscribeInteractionClassWithRegion(radioClass, *r); });
        break;
      }
      default: {
        DtRegion* r = mine[pick(mine.size())];
        const std::uint32_t lo = pick(90);
        setBounds(*r, 0, {{lo, lo + 1 + pick(20)}});
        ddm->notifyAboutRegionModification(*r);
        break;
      }
    }
    for (const std::string& line : conn->takeGroups()) {
      joined[line.substr(line.find(' ') + 1)] += line.rfind("join", 0) == 0 ? 1 : -1;
    }
    for (const std::uint32_t set : sets) {
      const DtInteractionRegionSet* pub = interactions->remotePubRegSet(radioClass, set);
      if (!pub) continue;
      const DtInteractionRegionSet* sub = cls->subRegionSet();
      const DtInteractionRegionSet* pas = cls->pasRegionSet();
      const bool meets = (sub && sub->intersect(*pub)) || (pas && pas->intersect(*pub));
      ASSERT_EQ(interactions->acceptInteractionChannel(radioClass, set), meets)
          << "seed " << seed << " step " << step << " set " << set << " " << state();
      if (meets) {
        ASSERT_EQ(joined[DottedAddress(pub->address())], 1) << "seed " << seed << " step " << step;
      }
    }
    for (const auto& [group, count] : joined) ASSERT_TRUE(count == 0 || count == 1) << group << " seed " << seed;
  }
}
