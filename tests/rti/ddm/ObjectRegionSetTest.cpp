// An object region set's own bookkeeping: associations of objects and
// classes, and the overlaps and matches it keeps with other sets.
#include <gtest/gtest.h>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

class ObjectRegionSetTest : public ::testing::Test {
protected:
  std::unique_ptr<DtRIDParameters> rid = ridWith("");
  std::unique_ptr<DtFomClassMgr> fom = fomFromText(fixtureFed, rid.get());
  DtObjectClassInfo& plat = *fom->classByHandle(platform);
  DtObjectClassInfo& air = *fom->classByHandle(aircraft);
};

TEST_F(ObjectRegionSetTest, ObjectAssociationsFeedTheirClassAndGoWithTheirLastAttribute) {
  DtRemoteRegionSet set(2100002, 0u);
  set.addAttribute(2100001, "one", &plat, position);
  set.addAttribute(2100001, "one", &plat, position);
  set.addAttribute(2100005, "two", &plat, position);
  EXPECT_EQ(text(*set.objectAttributes(2100001)), "1");
  EXPECT_EQ(text(*set.attributes(platform)), "1");
  EXPECT_TRUE(set.inUse()) << "an object's attribute is its class's too";

  set.removeAttribute(2100001, &plat, position);
  EXPECT_FALSE(set.isMemberObject(2100001)) << "its record went with its last attribute";
  EXPECT_EQ(text(*set.attributes(platform)), "1") << "the other object keeps it";
  set.removeAttribute(2100005, &plat, position);
  EXPECT_EQ(set.attributes(platform), nullptr);
  EXPECT_FALSE(set.inUse());

  set.addAttributes(&air, attrs({position, altitude}));
  set.removeAttribute(aircraft, position);
  EXPECT_EQ(text(*set.attributes(aircraft)), "3");
  set.addUnownedAttribute(2100001, speed);
  set.removeAttribute(aircraft, altitude);
  EXPECT_EQ(set.attributes(aircraft), nullptr);
  EXPECT_TRUE(set.inUse()) << "an unowned attribute is left";
  set.removeUnownedAttributes(2100001, attrs({speed}));
  EXPECT_FALSE(set.inUse());
  EXPECT_EQ(set.objectUnownedAttributes(2100001), nullptr);
}

TEST_F(ObjectRegionSetTest, MatchesAreKeptPerClassAndOverlapsEndTheirMatchOverlaps) {
  DtRemoteRegionSet remote(2100002, 0u);  // outlives the local set, which tells it at its end
  DtSubRegionSet local(300002, 0u);
  local.addMatch(&remote, platform);
  local.addMatch(&remote, platform);
  local.addMatch(&remote, aircraft);
  EXPECT_EQ(local.matchCount(), 1u);
  EXPECT_EQ(local.matchedClasses(2100002), (std::vector<std::uint32_t>{platform, aircraft}));

  local.addOverlap(&remote);
  local.addMatchOverlap(&remote);
  local.removeMatch(2100002, managerFederate);
  EXPECT_EQ(local.matchedClasses(2100002).size(), 2u) << "a class never matched changes nothing";
  local.removeMatch(2100002, platform);
  EXPECT_TRUE(local.isMatch(2100002));
  EXPECT_TRUE(local.isMatchOverlap(2100002));
  local.removeOverlap(2100002);
  EXPECT_FALSE(local.isMatchOverlap(2100002)) << "the overlap took the match-overlap with it";
  EXPECT_TRUE(local.isMatch(2100002)) << "but not the match";
  local.addOverlap(&remote);
  local.addMatchOverlap(&remote);
  local.removeMatch(2100002, aircraft);
  EXPECT_FALSE(local.isMatch(2100002));
  EXPECT_FALSE(local.isMatchOverlap(2100002));
  EXPECT_TRUE(local.isOverlap(2100002));
}

TEST_F(ObjectRegionSetTest, ASetThatGoesLeavesEverySetItOverlapsOrMatches) {
  DtRemoteRegionSet remote(2100002, 0u);
  {
    DtPubRegionSet local(300002, 0u);
    local.addOverlap(&remote);
    remote.addOverlap(&local);
    local.addMatch(&remote, platform);
    remote.addMatch(&local, platform);
    local.addMatchOverlap(&remote);
    remote.addMatchOverlap(&local);
  }
  EXPECT_EQ(remote.overlapCount() + remote.matchCount() + remote.matchOverlapCount(), 0u);
  EXPECT_TRUE(remote.matchedClasses(300002).empty());
}

}  // namespace
