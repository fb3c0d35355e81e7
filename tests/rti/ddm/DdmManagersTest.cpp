// The data distribution forms of the object and interaction managers: how
// they are made, the handles they and the data distribution manager give
// out (and refuse past a federate's range), and their channel filters.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "DdmTestSupport.h"
#include "ddm/DtDataDistMakers.h"
#include "ddm/DtRegionSet.h"
#include "objects/DtFederateHandleRange.h"

namespace {

using namespace ddmtest;

// ---- creation

struct PluginObjects : DtObjectMgr {
  using DtObjectMgr::DtObjectMgr;
};
struct PluginInteractions : DtInteractionMgr {
  using DtInteractionMgr::DtInteractionMgr;
};

TEST(DdmCreation, APluginsCreatorWinsThenTheDataDistributionFormWhenItIsOnThenThePlainManager) {
  DtInstallDataDistMakers();
  const DtObjectMgr::Creator objectCreator = [](DtConnectionMgr* c, DtFomClassMgr* f,
                                                DtRIDParameters* p) -> DtObjectMgr* {
    return new PluginObjects(c, f, p);
  };
  const DtInteractionMgr::Creator interactionCreator = [](DtConnectionMgr* c, DtFomClassMgr* f,
                                                          DtRIDParameters* p) -> DtInteractionMgr* {
    return new PluginInteractions(c, f, p);
  };
  struct Case {
    const char* rid;
    bool withCreator;
    const std::type_info& objects;
    const std::type_info& interactions;
  };
  const Case cases[] = {
      {"", false, typeid(DtObjectMgr), typeid(DtInteractionMgr)},
      {"(setq RTI_dataDistMgmt 1)", false, typeid(DtObjectDataDistMgr), typeid(DtInterDataDistMgr)},
      {"(setq RTI_dataDistMgmt 1)", true, typeid(PluginObjects), typeid(PluginInteractions)},
      {"", true, typeid(PluginObjects), typeid(PluginInteractions)},
  };
  for (const Case& c : cases) {
    const auto rid = mgrtest::ridWith(c.rid);
    const auto fom = fomFromText(fixtureFed, rid.get());
    RecordingConnectionMgr conn;
    DtObjectMgr::setCreatorFunction(c.withCreator ? objectCreator : nullptr);
    DtInteractionMgr::setCreatorFunction(c.withCreator ? interactionCreator : nullptr);
    {
      const auto objects = DtObjectMgr::create(&conn, fom.get(), rid.get());
      const auto interactions = DtInteractionMgr::create(&conn, fom.get(), rid.get());
      ASSERT_NE(objects, nullptr);
      ASSERT_NE(interactions, nullptr);
      EXPECT_EQ(typeid(*objects), c.objects) << c.rid << " creator " << c.withCreator;
      EXPECT_EQ(typeid(*interactions), c.interactions) << c.rid << " creator " << c.withCreator;
    }
    DtObjectMgr::setCreatorFunction(nullptr);
    DtInteractionMgr::setCreatorFunction(nullptr);
    DtInteractionMsg::setChannelIncluded(0);
    DtUpdateMsg::setChannelIncluded(0);
  }
}

// ---- handles

TEST(FederateHandleRange, AHandleIsTheFederateTimes100000PlusTheSerialUntilEitherPassesItsBound) {
  struct Case {
    std::uint32_t federate;
    std::uint32_t serial;
    const char* expected;
  };
  const Case cases[] = {
      {3, 1, "300001"},
      {3, 99999, "399999"},
      {3, 100000, "throws RTIinternalError"},  // the next federate's first
      {0, 5, "5"},
      {42949, 67295, "4294967295"},
      {42949, 67296, "throws RTIinternalError"},  // past 32 bits
      {42950, 1, "throws RTIinternalError"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outcome([&] { return std::to_string(DtFederateHandleRange::handle(c.federate, c.serial, "test")); }),
              c.expected)
        << c.federate << " " << c.serial;
  }
  try {
    DtFederateHandleRange::handle(3, 100000, "region");
  } catch (const RTI::RTIinternalError& e) {
    EXPECT_STREQ(e._reason, "Federate 3 has made all 99999 region handles it can make");
  }
  try {
    DtFederateHandleRange::handle(42950, 1, "region");
  } catch (const RTI::RTIinternalError& e) {
    EXPECT_STREQ(e._reason, "Federate 42950 cannot make region handles: its range passes 32 bits");
  }
}

TEST_F(DdmFixture, AFederateWhoseHandlesPass32BitsMakesNoRegionAndNoObjectRegionSet) {
  make("", 42950);
  EXPECT_EQ(outcomeOf([&] { ddm->createRegion(geo, 1); }), "throws RTIinternalError");
  EXPECT_EQ(regionsOf(*ddm), std::vector<std::string>{});
  EXPECT_EQ(ddm->regionCounter(), 1u) << "a refused region takes no serial";
  EXPECT_EQ(outcomeOf([&] { objects->uniqueRegionSetHandle(); }), "throws RTIinternalError");
  EXPECT_EQ(outcomeOf([&] { interactions->uniquePubRegSetHandle(); }), "throws RTIinternalError");
}

TEST_F(DdmFixture, ObjectRegionSetHandlesStartAt2AndStopBeforeTheNextFederatesRange) {
  EXPECT_EQ(objects->uniqueRegionSetHandle(), 300002u);
  EXPECT_EQ(objects->uniqueRegionSetHandle(), 300003u);
  objects->setRegionSetCounter(99999);
  EXPECT_EQ(objects->uniqueRegionSetHandle(), 399999u);
  EXPECT_EQ(outcomeOf([&] { objects->uniqueRegionSetHandle(); }), "throws RTIinternalError");
  EXPECT_EQ(objects->regionSetCounter(), 100000u);
}

TEST_F(DdmFixture, InteractionRegionSetHandlesSkipThoseInUseWrapAndRefuseWhenAllAreTaken) {
  // setDdmMgr armed both pools at 2; they are separate.
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300002u);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300003u);
  EXPECT_EQ(interactions->uniqueSubRegSetHandle(), 300002u);
  DtRegionSetHandlePool& pool = interactions->pubHandlePool();
  pool.markUsed(300005);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300004u);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300006u);
  pool.setCounter(DtRegionSetHandlePool::theLastSerial);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 399998u);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300007u) << "wrapped to 2 and past those in use";
  pool.free(300003);
  pool.setCounter(DtRegionSetHandlePool::theFirstSerial);
  EXPECT_EQ(interactions->uniquePubRegSetHandle(), 300003u) << "a freed handle is given again";

  for (std::uint32_t serial = DtRegionSetHandlePool::theFirstSerial; serial <= DtRegionSetHandlePool::theLastSerial;
       ++serial) {
    pool.markUsed(300000 + serial);
  }
  const std::uint32_t used = pool.usedCount();
  try {
    interactions->uniquePubRegSetHandle();
    ADD_FAILURE() << "a full pool gave a handle";
  } catch (const RTI::RTIinternalError& e) {
    EXPECT_STREQ(e._reason, "Interaction region set handle pool exhausted");
  }
  EXPECT_EQ(pool.usedCount(), used);
  EXPECT_EQ(interactions->uniqueSubRegSetHandle(), 300003u) << "the subscription pool is another";
}

// ---- channel filters

TEST_F(DdmFixture, TheChannelFiltersTakeTheDefaultRouteAndOnlyTheRemoteSetsThatOverlapThisFederates) {
  EXPECT_TRUE(objects->acceptObjectChannel(0));
  EXPECT_TRUE(objects->acceptRequestChannel(0));
  EXPECT_TRUE(interactions->acceptInteractionChannel(6, 0));
  EXPECT_FALSE(objects->acceptObjectChannel(2100002));
  EXPECT_FALSE(objects->acceptRequestChannel(2100002));
  EXPECT_FALSE(interactions->acceptInteractionChannel(6, 2100002));

  // The object side's filters follow real overlaps and matches: see
  // ObjectDdmMatchingTest.
  TestSet remotePub(2100002);
  interactions->overlappingRemotePubSets().addRegionSet(6, &remotePub);
  EXPECT_TRUE(interactions->acceptInteractionChannel(6, 2100002));
  EXPECT_FALSE(interactions->acceptInteractionChannel(7, 2100002)) << "filed under another class";

  // Received interactions pass the filter by their channel.
  DtInteractionMsg::setChannelIncluded(1);
  const std::unique_ptr<RTI::ParameterHandleValuePairSet> none(RTI::ParameterSetFactory::create(1));
  for (const auto& [channel, accepted] : {std::pair<std::uint32_t, bool>{0, true}, {2100002, true}, {2100009, false}}) {
    DtInteractionRoMsg msg(6, *none, "tag", channel, nullptr);
    msg.setFederateHandle(other);
    EXPECT_EQ(interactions->acceptInteraction(msg), accepted) << channel;
  }
  DtInteractionRoMsg own(6, *none, "tag", 0, nullptr);
  own.setFederateHandle(self);
  EXPECT_FALSE(interactions->acceptInteraction(own)) << "this federate's own";
  interactions->destroyRegionLists();
  objects->destroyRegionLists();
}

}  // namespace
