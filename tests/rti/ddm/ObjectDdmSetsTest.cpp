// The object data distribution manager's own region sets: the default sets
// setDdmMgr makes, the handles of new sets, and the canonical sets that
// adding and removing a region gives, announced once when they are made.
#include <gtest/gtest.h>

#include <functional>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

std::string handleOf(const DtRegionSet* set) { return set ? std::to_string(set->regionSetHandle()) : "null"; }

TEST(ObjectDdmSets, SetDdmMgrMakesTheFiveDefaultSetsOverTheDefaultRegionAndAnnouncesNothing) {
  DdmFederate f(3, nullptr);
  TestObjects& m = *f.objects;
  DtRegion& region0 = f.ddm->defaultRegion();
  EXPECT_EQ(m.getPubRegionSet(0), m.defaultPubRegionSet());
  EXPECT_EQ(m.getSubRegionSet(0), m.defaultSubRegionSet());
  EXPECT_EQ(m.getPasRegionSet(1), m.defaultPasRegionSet());
  EXPECT_EQ(m.getSubRegionSet(1), nullptr);
  ASSERT_NE(m.defaultRemotePubRegionSet(), nullptr);
  ASSERT_NE(m.defaultRemoteSubRegionSet(), nullptr);
  EXPECT_EQ(m.defaultRemotePubRegionSet()->regionSetHandle(), 0u);
  EXPECT_EQ(m.defaultRemoteSubRegionSet()->regionSetHandle(), 0u);
  const std::vector<const DtRegionSet*> defaults = {m.defaultPubRegionSet(), m.defaultSubRegionSet(),
                                                    m.defaultPasRegionSet()};
  for (const DtRegionSet* set : defaults) {
    EXPECT_EQ(set->federateHandle(), 3u);
    EXPECT_EQ(regionsText(*set), "0");
  }
  // The passive default is filed as a passive set of the region.
  EXPECT_EQ(region0.objPubRegSetList().handles(), std::vector<std::uint32_t>{0});
  EXPECT_EQ(region0.objSubRegSetList().handles(), std::vector<std::uint32_t>{0});
  EXPECT_EQ(region0.objPasRegSetList().handles(), std::vector<std::uint32_t>{1});
  EXPECT_TRUE(m.acceptObjectChannel(0));
  EXPECT_TRUE(m.acceptRequestChannel(0));
  EXPECT_FALSE(m.acceptObjectChannel(2100002));
  EXPECT_FALSE(m.acceptRequestChannel(2100002));
  EXPECT_EQ(f.conn->takeSent(), std::vector<std::string>{});
  EXPECT_EQ(m.uniqueRegionSetHandle(), 300002u) << "federate 3's first";
}

TEST(ObjectDdmSets, AddingAndRemovingARegionFindsOrMakesTheSetOfThoseRegions) {
  DdmFederate f(3, nullptr);
  TestObjects& m = *f.objects;
  DtRegion& r0 = f.ddm->defaultRegion();
  DtRegion& r = f.region({0, 10}, {0, 10});   // 300001
  DtRegion& x = f.region({20, 30}, {0, 10});  // 300002
  f.conn->takeSent();
  DtPubRegionSet* pubR = nullptr;
  DtSubRegionSet* subR = nullptr;
  DtSubRegionSet* sub0R = nullptr;
  DtSubRegionSet* pas0X = nullptr;
  struct Step {
    const char* what;
    std::function<const DtRegionSet*()> run;
    std::string result;
    std::vector<std::string> sent;
  };
  const Step steps[] = {
      {"default region to no publication set", [&] { return m.addPubRegion(r0, nullptr); }, "0", {}},
      {"R to the default publication set",
       [&] { return pubR = m.addPubRegion(r, m.defaultPubRegionSet()); },
       "300002",
       {"pubset 300002 @224.0.0.1 regions 300001"}},
      {"R again", [&] { return m.addPubRegion(r, m.defaultPubRegionSet()); }, "300002", {}},
      {"R out of {R}", [&] { return m.removePubRegion(r, pubR); }, "0", {}},
      {"the default region out of the default set",
       [&] { return m.removePubRegion(r0, m.defaultPubRegionSet()); },
       "null",
       {}},
      {"out of no publication set", [&] { return m.removePubRegion(r, nullptr); }, "null", {}},
      {"R to no subscription set",
       [&] { return subR = m.addSubRegion(r, nullptr); },
       "300003",
       {"subset 300003 regions 300001"}},
      {"R out of {R}", [&] { return m.removeSubRegion(r, subR); }, "null", {}},
      {"default region to no subscription set", [&] { return m.addSubRegion(r0, nullptr); }, "0", {}},
      {"R to the default subscription set",
       [&] { return sub0R = m.addSubRegion(r, m.defaultSubRegionSet()); },
       "300004",
       {"subset 300004 regions 0,300001"}},
      {"R out of {0, R}", [&] { return m.removeSubRegion(r, sub0R); }, "0", {}},
      {"X to the default passive set",
       [&] { return pas0X = m.addPasRegion(x, m.defaultPasRegionSet()); },
       "300005",
       {}},
      {"R (not a member) out of {0, X}", [&] { return m.removePasRegion(r, pas0X); }, "300005", {}},
      {"X out of {0, X}", [&] { return m.removePasRegion(x, pas0X); }, "1", {}},
      {"R and X at once",
       [&] {
         DtRegionEntryList both;
         both.add(r.handle(), &r);
         both.add(x.handle(), &x);
         return m.createPubRegionSet(both);
       },
       "300006",
       {"pubset 300006 @224.0.0.2 regions 300001,300002"}},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(handleOf(step.run()), step.result) << step.what;
    EXPECT_EQ(f.conn->takeSent(), step.sent) << step.what;
  }
  // Each region knows the sets that hold it, as what they are.
  EXPECT_EQ(r.objPubRegSetList().handles(), (std::vector<std::uint32_t>{300002, 300006}));
  EXPECT_EQ(r.objSubRegSetList().handles(), (std::vector<std::uint32_t>{300003, 300004}));
  EXPECT_EQ(x.objPasRegSetList().handles(), std::vector<std::uint32_t>{300005});
  EXPECT_EQ(x.objSubRegSetList().handles(), std::vector<std::uint32_t>{});
}

}  // namespace
