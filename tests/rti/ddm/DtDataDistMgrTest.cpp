// The data distribution manager of one federate: its own regions made,
// announced and withdrawn, the other federates' regions kept and dropped,
// the channels handed out and the groups joined by use, and the faults of
// the region services.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DdmTestSupport.h"
#include "ddm/DtDdmChannels.h"
#include "ddm/DtRegionSet.h"
#include "rti/util/NotifyCapture.h"

namespace {

using namespace ddmtest;
using Lines = std::vector<std::string>;

// ---- this federate's regions

TEST_F(DdmFixture, ARegionIsAnnouncedWithItsExtentsOnEveryModificationAndWithdrawnOnlyWhenItWasAnnounced) {
  DtRegion* a = ddm->createRegion(geo, 2);
  EXPECT_EQ(a->handle(), 300001u);
  EXPECT_EQ(conn->takeSent(), Lines{});  // nothing until its first commit
  setBounds(*a, 0, {{1, 2}, {3, 4}});
  setBounds(*a, 1, {{10, 20}, {30, 40}});
  ddm->notifyAboutRegionModification(*a);
  EXPECT_EQ(conn->takeSent(), Lines{"notify 300001 space 1 [1,2) [3,4) | [10,20) [30,40)"});
  EXPECT_EQ(takeTold(), (Lines{"obj modified 300001", "inter modified 300001"}));
  a->setRangeUpperBound(1, 1, 45);
  ddm->notifyAboutRegionModification(*a);
  EXPECT_EQ(conn->takeSent(), Lines{"notify 300001 space 1 [1,2) [3,4) | [10,20) [30,45)"});
  takeTold();

  DtRegion* never = ddm->createRegion(radio, 1);
  EXPECT_EQ(never->handle(), 300002u);
  ddm->deleteRegion(never);
  EXPECT_EQ(conn->takeSent(), Lines{});  // nobody knew it
  EXPECT_EQ(takeTold(), (Lines{"obj deleted 300002", "inter deleted 300002"}));
  ddm->deleteRegion(a);
  EXPECT_EQ(conn->takeSent(), Lines{"delete 300001"});
  EXPECT_EQ(regionsOf(*ddm), Lines{});
  // Handles are not given again.
  EXPECT_EQ(ddm->createRegion(geo, 1)->handle(), 300003u);
}

TEST_F(DdmFixture, TheRegionsOfASetAboutToBeAnnouncedGoOutOnceEachAtTheNextTickButNeverTheDefaultOne) {
  DtRegion* a = geoRegion({1, 2}, {3, 4});
  DtRegion* b = geoRegion({5, 6}, {7, 8});
  DtRegion* gone = geoRegion({0, 1}, {0, 1});
  DtRegion* unannounced = geoRegion({9, 10}, {9, 10}, false);
  conn->takeSent();
  TestSet first(5, &ddm->defaultRegion());
  first.addRegion(b);
  first.addRegion(a);
  first.addRegion(gone);
  TestSet second(6, a);
  second.addRegion(unannounced);
  ddm->addPendingNotifyRegion(first);
  ddm->addPendingNotifyRegion(second);
  first.emptyRegions();
  ddm->deleteRegion(gone);  // leaves the pending list with it
  conn->takeSent();
  ddm->tick();
  // A region never committed goes with the whole range it was made with.
  EXPECT_EQ(conn->takeSent(), (Lines{"notify 300002 space 1 [5,6) [7,8)", "notify 300001 space 1 [1,2) [3,4)",
                                     "notify 300004 space 1 [0,4294967295) [0,4294967295)"}));
  ddm->tick();
  EXPECT_EQ(conn->takeSent(), Lines{});
}

TEST_F(DdmFixture, TheRegionServicesRefuseBeforeAnythingChanges) {
  DtRegion* own = geoRegion({1, 2}, {3, 4});
  DtRegion* inUse = geoRegion({5, 6}, {7, 8});
  TestSet user(7, inUse);
  user.used = true;
  inUse->addObjPubRegSet(&user);
  DtRegion* unset = ddm->createRegion(geo, 1);
  unset->setRangeLowerBound(0, 0, 1);
  DtRegion stranger(300001, fom->spaceByHandle(geo), 1);  // the handle of one, not the region
  conn->takeSent();
  takeTold();
  const auto untouched = regionsOf(*ddm);
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"an unknown space before zero extents", [&] { ddm->createRegion(9, 0); }, "throws SpaceNotDefined"},
      {"zero extents", [&] { ddm->createRegion(geo, 0); }, "throws InvalidExtents"},
      {"more extents than its announcement carries", [&] { ddm->createRegion(geo, 5000); }, "throws RTIinternalError"},
      {"notify of an unknown region", [&] { ddm->notifyAboutRegionModification(stranger); }, "throws RegionNotKnown"},
      {"notify with a bound unset", [&] { ddm->notifyAboutRegionModification(*unset); }, "throws InvalidExtents"},
      {"notify of the default region", [&] { ddm->notifyAboutRegionModification(ddm->defaultRegion()); },
       "throws RegionNotKnown"},
      {"delete of an unknown region", [&] { ddm->deleteRegion(&stranger); }, "throws RegionNotKnown"},
      {"delete of the default region", [&] { ddm->deleteRegion(&ddm->defaultRegion()); }, "throws RegionNotKnown"},
      {"delete of a region in use", [&] { ddm->deleteRegion(inUse); }, "throws RegionInUse"},
      {"delete of none", [&] { ddm->deleteRegion(nullptr); }, "ok"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outcomeOf(c.call), c.expected) << c.what;
    EXPECT_EQ(conn->takeSent(), Lines{}) << c.what;
    EXPECT_EQ(takeTold(), Lines{}) << c.what;
    EXPECT_EQ(regionsOf(*ddm), untouched) << c.what;
  }
  EXPECT_EQ(ddm->localRegion(own->handle()), own);
  EXPECT_EQ(ddm->regionCounter(), 4u) << "a region refused takes no serial";
  inUse->removeObjPubRegSet(&user);
  user.emptyRegions();
  EXPECT_EQ(outcomeOf([&] { ddm->deleteRegion(inUse); }), "ok");
}

TEST_F(DdmFixture, TheTokensOfTheFederatesRegionsFindThemAndTheDefaultRegionIsTokenZero) {
  DtRegion* a = geoRegion({1, 2}, {3, 4}, false);
  EXPECT_TRUE(ddm->isMemberLocalRegions(a->handle()));
  EXPECT_EQ(ddm->localRegion(a->handle()), a);
  EXPECT_EQ(ddm->localRegion(0), &ddm->defaultRegion());
  EXPECT_EQ(ddm->defaultRegion().handle(), 0u);
  EXPECT_EQ(ddm->defaultRegion().getSpaceHandle(), 0);
  EXPECT_EQ(ddm->defaultRegion().getNumberOfExtents(), 0u);
  EXPECT_FALSE(ddm->isMemberLocalRegions(a->handle() + 1));
  EXPECT_FALSE(ddm->isMemberLocalRegions(0x100000000ul + a->handle()));
  EXPECT_EQ(ddm->localRegion(0x100000000ul + a->handle()), nullptr);
}

TEST_F(DdmFixture, RoutingSpacesAreLookedUpInTheModel) {
  // Platform 5: privilegeToDelete 0, Position 1 (Geo); Radio 6 in Radio.
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getAttributeRoutingSpaceHandle(1, 5)); }), "1");
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getAttributeRoutingSpaceHandle(0, 5)); }), "0");
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getInteractionRoutingSpaceHandle(6)); }), "2");
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getAttributeRoutingSpaceHandle(1, 2)); }),
            "throws ObjectClassNotDefined");
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getAttributeRoutingSpaceHandle(9, 5)); }),
            "throws AttributeNotDefined");
  EXPECT_EQ(outcome([&] { return std::to_string(ddm->getInteractionRoutingSpaceHandle(3)); }),
            "throws InteractionClassNotDefined");
}

// ---- the other federates' regions

TEST_F(DdmFixture, AnotherFederatesRegionIsKeptChangedAndDroppedAndBothHalvesAreToldInTurn) {
  NotifyCapture capture(1);
  conn->processMsg(notifyFrom(other, 2100001, radio, 1, 1, {5, 6}));
  conn->processMsg(notifyFrom(other, 2100002, geo, 2, 2, {1, 2, 3, 4, 10, 20, 30, 40}));
  conn->processMsg(notifyFrom(third, 2200001, geo, 1, 2, {0, 9, 0, 9}));
  EXPECT_EQ(takeTold(), (Lines{"inter notify new 2100001", "obj notify new 2100001", "inter notify new 2100002",
                               "obj notify new 2100002", "inter notify new 2200001", "obj notify new 2200001"}));
  const DtRegion* kept = ddm->remoteRegion(2100001);
  conn->processMsg(notifyFrom(other, 2100001, radio, 2, 1, {7, 8, 70, 80}));
  EXPECT_EQ(takeTold(), (Lines{"inter notify 2100001", "obj notify 2100001"}));
  EXPECT_EQ(ddm->remoteRegion(2100001), kept) << "the same region, its extents replaced";
  EXPECT_EQ(regionsOf(*ddm), (Lines{"remote 2100001 of 21 space 2 [7,8) | [70,80)",
                                    "remote 2100002 of 21 space 1 [1,2) [3,4) | [10,20) [30,40)",
                                    "remote 2200001 of 22 space 1 [0,9) [0,9)"}));

  conn->processMsg(deleteFrom(other, 2100002));
  EXPECT_EQ(takeTold(), (Lines{"obj delete 2100002", "inter delete 2100002"}));
  EXPECT_FALSE(ddm->isMemberRemoteRegions(2100002));
  ddm->processResign(resignOf(other));
  EXPECT_EQ(takeTold(), (Lines{"obj delete 2100001", "inter delete 2100001"}));
  EXPECT_EQ(regionsOf(*ddm), Lines{"remote 2200001 of 22 space 1 [0,9) [0,9)"});
  EXPECT_EQ(capture.text(), "");
}

TEST_F(DdmFixture, RegionMessagesThatNameNoRegionOfTheSenderChangeNothing) {
  NotifyCapture capture(1);
  conn->processMsg(notifyFrom(other, 2100001, radio, 1, 1, {5, 6}));
  takeTold();
  struct Case {
    const char* what;
    std::function<void()> deliver;
    const char* printed;
  };
  const std::vector<Case> cases = {
      {"an unknown routing space",
       [&] {
         conn->processMsg(notifyFrom(other, 2100009, 7, 1, 1, {1, 2}));
       },
       "Received region 2100009 from federate 21with unknown space handle 7\n"},
      {"this federate's own, come back",
       [&] {
         conn->processMsg(notifyFrom(self, 300001, geo, 1, 2, {1, 2, 3, 4}));
       },
       ""},
      {"the default region",
       [&] {
         conn->processMsg(notifyFrom(other, 0, 0, 1, 1, {1, 2}));
       },
       ""},
      {"another federate's region changed by a third",
       [&] {
         conn->processMsg(notifyFrom(third, 2100001, radio, 1, 1, {0, 1}));
       },
       "Ignoring region 2100001 from federate 22: it is federate 21's\n"},
      {"another federate's region withdrawn by a third", [&] { conn->processMsg(deleteFrom(third, 2100001)); },
       "Ignoring region 2100001 from federate 22: it is federate 21's\n"},
      {"an unknown region withdrawn", [&] { conn->processMsg(deleteFrom(other, 2100077)); }, ""},
      {"the resignation of a federate without regions", [&] { ddm->processResign(resignOf(third)); }, ""},
      {"this federate's own resignation", [&] { ddm->processResign(resignOf(self)); }, ""},
  };
  for (const Case& c : cases) {
    capture.pieces.clear();
    c.deliver();
    EXPECT_EQ(capture.text(), c.printed) << c.what;
    EXPECT_EQ(takeTold(), Lines{}) << c.what;
    EXPECT_EQ(regionsOf(*ddm), Lines{"remote 2100001 of 21 space 2 [5,6)"}) << c.what;
  }
}

// ---- channels and groups

TEST(DdmChannels, ChannelsAreHandedOutRoundRobinAndWrapPastTheLast) {
  DtDdmChannels channels(nullptr, 0xE0000001u, 0xEFFFFFFFu);
  EXPECT_EQ(channels.freeChannel(), 0xE0000001u);
  EXPECT_EQ(channels.freeChannel(), 0xE0000002u);
  channels.setNextChannel(0xEFFFFFFFu);
  EXPECT_EQ(channels.freeChannel(), 0xEFFFFFFFu);
  EXPECT_EQ(channels.freeChannel(), 0xE0000001u);
  channels.setNextChannel(0);
  EXPECT_EQ(channels.freeChannel(), 0u);
  EXPECT_EQ(channels.freeChannel(), 0u);
}

TEST_F(DdmFixture, TheChannelRangeComesFromTheRidParameters) {
  make("(setq RTI_minChannelAddr \"230.1.1.254\")\n(setq RTI_maxChannelAddr \"230.1.1.255\")");
  EXPECT_EQ(DottedAddress(ddm->freeChannel()), "230.1.1.254");
  EXPECT_EQ(DottedAddress(ddm->freeChannel()), "230.1.1.255");
  EXPECT_EQ(DottedAddress(ddm->freeChannel()), "230.1.1.254");
}

TEST_F(DdmFixture, AGroupIsJoinedByTheFirstRegionSetOfAnyTableOnItsChannelAndLeftByTheLast) {
  const std::uint32_t c = 0xE0000005u;  // 224.0.0.5
  struct Step {
    const char* op;  // "+o"/"-o" object set, "+i"/"-i" interaction set
    std::uint32_t channel;
    std::uint32_t cls;
    std::uint32_t set;
    Lines groups;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
  };
  const Lines join = {"join 224.0.0.5"}, leave = {"leave 224.0.0.5"}, none = {};
  const std::vector<Case> cases = {
      {"two object sets",
       {{"+o", c, 0, 10, join}, {"+o", c, 0, 11, none}, {"-o", c, 0, 10, none}, {"-o", c, 0, 11, leave}}},
      {"an object set, then an interaction set",
       {{"+o", c, 0, 10, join}, {"+i", c, 6, 2, none}, {"-o", c, 0, 10, none}, {"-i", c, 6, 2, leave}}},
      {"an interaction set, then an object set, left in the same order",
       {{"+i", c, 6, 2, join}, {"+o", c, 0, 10, none}, {"-i", c, 6, 2, none}, {"-o", c, 0, 10, leave}}},
      {"interaction sets of two classes",
       {{"+i", c, 6, 2, join}, {"+i", c, 7, 2, none}, {"-i", c, 6, 2, none}, {"-i", c, 7, 2, leave}}},
      {"a set filed twice goes at once", {{"+o", c, 0, 10, join}, {"+o", c, 0, 10, none}, {"-o", c, 0, 10, leave}}},
      {"channel 0", {{"+o", 0, 0, 10, none}, {"+i", 0, 6, 2, none}, {"-o", 0, 0, 10, none}, {"-i", 0, 6, 2, none}}},
      {"sets that were never filed", {{"-o", c, 0, 10, none}, {"-i", c, 6, 2, none}}},
  };
  for (const Case& k : cases) {
    make("");
    for (const Step& s : k.steps) {
      const std::string op = s.op;
      if (op == "+o") ddm->joinObjectRegionSet(s.channel, s.set);
      if (op == "-o") ddm->dropObjectRegionSet(s.channel, s.set);
      if (op == "+i") ddm->joinInteractionRegionSet(s.channel, s.cls, s.set);
      if (op == "-i") ddm->dropInteractionRegionSet(s.channel, s.cls, s.set);
      EXPECT_EQ(conn->takeGroups(), s.groups) << k.what << ": " << s.op << " " << s.set;
    }
    EXPECT_TRUE(ddm->channels().objectChannels().empty()) << k.what;
    EXPECT_TRUE(ddm->channels().interactionChannels().empty()) << k.what;
  }
}

TEST_F(DdmFixture, ChannelZeroIsFiledLikeAnyOther) {
  ddm->joinObjectRegionSet(0, 10);
  ddm->joinInteractionRegionSet(0, 6, 2);
  ASSERT_EQ(ddm->channels().objectChannels().size(), 1u);
  EXPECT_EQ(ddm->channels().objectChannels()[0].sets, std::vector<std::uint32_t>{10});
  ASSERT_EQ(ddm->channels().interactionChannels().size(), 1u);
  EXPECT_EQ(ddm->channels().interactionChannels()[0].interactionClass, 6u);
  EXPECT_EQ(conn->takeGroups(), Lines{});
}

}  // namespace
