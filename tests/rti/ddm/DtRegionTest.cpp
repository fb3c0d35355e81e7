// The region: its bounds through the standard interface, the commit rules,
// intersection, its extents, and the sets it knows to contain it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "RegionTestSupport.h"
#include "ddm/DtRegion.h"

namespace {

constexpr std::uint32_t theMax = 0xFFFFFFFF;

// Extent 0's committed bounds, dimension by dimension.
std::string committed(const DtRegion& r) {
  std::string s;
  for (RTI::ULong d = 0; d < 2; ++d) {
    s += "[" + std::to_string(r.getRangeLowerBound(0, d)) + "," + std::to_string(r.getRangeUpperBound(0, d)) + ")";
  }
  return s;
}

class RegionTest : public ::testing::Test {
protected:
  Spaces spaces;
};

TEST_F(RegionTest, TheFirstCommitNeedsEveryBoundAndLaterOnesOnlyTheChanged) {
  struct Case {
    const char* what;
    std::function<void(DtRegion&)> steps;  // before the commit
    bool commits;
    const char* bounds;  // after the commit, or its refusal
  };
  const Case cases[] = {
      {"nothing set", [](DtRegion&) {}, false, "[0,4294967295)[0,4294967295)"},
      {"one lower bound", [](DtRegion& r) { r.setRangeLowerBound(0, 0, 5); }, false, "[0,4294967295)[0,4294967295)"},
      {"every bound of one dimension",
       [](DtRegion& r) {
         r.setRangeLowerBound(0, 0, 5);
         r.setRangeUpperBound(0, 0, 9);
       },
       false, "[0,4294967295)[0,4294967295)"},
      {"every bound of every extent",
       [](DtRegion& r) {
         for (RTI::ULong e = 0; e < 2; ++e) {
           for (RTI::ULong d = 0; d < 2; ++d) {
             r.setRangeLowerBound(e, d, 10 * e + d);
             r.setRangeUpperBound(e, d, 10 * e + d + 5);
           }
         }
       },
       true, "[0,5)[1,6)"},
      {"one bound after a first commit",
       [](DtRegion& r) {
         commitBounds(r, {{{0, 5}, {1, 6}}, {{10, 15}, {11, 16}}});
         r.setRangeUpperBound(0, 1, 60);
       },
       true, "[0,5)[1,60)"},
  };
  for (const Case& c : cases) {
    DtRegion region(3, &spaces.geo, 2);
    c.steps(region);
    if (c.commits) {
      EXPECT_NO_THROW(region.commitModifications()) << c.what;
      EXPECT_TRUE(region.wasCommited()) << c.what;
    } else {
      EXPECT_THROW(region.commitModifications(), RTI::InvalidExtents) << c.what;
      EXPECT_FALSE(region.wasCommited()) << c.what;
    }
    EXPECT_EQ(committed(region), c.bounds) << c.what;
  }
}

TEST_F(RegionTest, ARegionNotMadeForServiceNeverCommits) {
  const DtRegionExtent given[] = {extentOf({{1, 2}, {3, 4}})};
  DtRegion announced(8, &spaces.geo, given, 1);
  EXPECT_FALSE(announced.validForService());
  EXPECT_EQ(committed(announced), "[1,2)[3,4)");
  announced.setRangeLowerBound(0, 0, 0);
  announced.setRangeUpperBound(0, 0, 1);
  announced.setRangeLowerBound(0, 1, 0);
  announced.setRangeUpperBound(0, 1, 1);
  try {
    announced.commitModifications();
    ADD_FAILURE() << "committed";
  } catch (const RTI::InvalidExtents& e) {
    EXPECT_STREQ(e._reason, "InvalidExtents");
  }
  EXPECT_EQ(committed(announced), "[1,2)[3,4)");
  DtRegion empty;
  EXPECT_THROW(empty.commitModifications(), RTI::InvalidExtents);
}

TEST_F(RegionTest, AnIndexTheRegionDoesNotHaveIsRefusedAndChangesNothing) {
  DtRegion region(3, &spaces.geo, 2);
  commitBounds(region, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
  const std::string before = describe(region);
  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"lower of extent 2", [&] { (void)region.getRangeLowerBound(2, 0); }},
      {"upper of dimension 2", [&] { (void)region.getRangeUpperBound(0, 2); }},
      {"lower limit of a far extent", [&] { (void)region.getRangeLowerBoundNotificationLimit(1UL << 40, 0); }},
      {"upper limit of dimension 2", [&] { (void)region.getRangeUpperBoundNotificationLimit(1, 2); }},
      {"setting extent 2", [&] { region.setRangeLowerBound(2, 0, 1); }},
      {"setting dimension 2", [&] { region.setRangeUpperBound(1, 2, 1); }},
      {"extent 2", [&] { (void)region.extent(2); }},
  };
  for (const Case& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what << ": no exception";
    } catch (const RTI::ArrayIndexOutOfBounds& e) {
      EXPECT_STREQ(e._reason, "") << c.what;
    }
  }
  EXPECT_EQ(describe(region), before);
  EXPECT_EQ(region.getRangeLowerBoundNotificationLimit(1, 1), 7u);
  EXPECT_EQ(region.getRangeUpperBoundNotificationLimit(1, 1), 8u);
}

TEST_F(RegionTest, ABoundAboveTheLargestExtentIsRefused) {
  DtRegion region(3, &spaces.geo, 1);
  region.setRangeUpperBound(0, 0, theMax);
  const std::string before = describe(region);
  try {
    region.setRangeUpperBound(0, 0, RTI::ULong{theMax} + 1);
    ADD_FAILURE() << "accepted";
  } catch (const RTI::InvalidExtents& e) {
    EXPECT_STREQ(e._reason, "bound 4294967296 is above MAX_EXTENT (4294967295)");
  }
  EXPECT_EQ(describe(region), before);
}

TEST_F(RegionTest, ARegionNeedsASpace) {
  const DtRegionExtent given[] = {extentOf({{1, 2}})};
  for (const auto& make : std::initializer_list<std::function<void()>>{[] { DtRegion r(1, nullptr, 1); },
                                                                       [&] { DtRegion r(1, nullptr, given, 1); }}) {
    try {
      make();
      ADD_FAILURE() << "made";
    } catch (const RTI::RTIinternalError& e) {
      EXPECT_STREQ(e._reason, "Attempt to construct region with null space.");
    }
  }
  const DtRegion region(4, &spaces.geo, 1);
  EXPECT_EQ(region.handle(), 4u);
  EXPECT_EQ(region.getSpaceHandle(), 1);
  EXPECT_EQ(region.getNumberOfExtents(), 1u);
  EXPECT_TRUE(region.validForService());
  EXPECT_EQ(DtRegion().getSpaceHandle(), 0);
}

TEST_F(RegionTest, RegionsMeetWhenSomeExtentsOverlapInOneSpace) {
  const DtRegionExtent nearOrigin[] = {extentOf({{0, 10}, {0, 10}})};
  const DtRegionExtent twoApart[] = {extentOf({{20, 30}, {20, 30}}), extentOf({{40, 50}, {5, 6}})};
  const DtRegionExtent touching[] = {extentOf({{10, 20}, {0, 10}})};
  const DtRegionExtent overlapping[] = {extentOf({{50, 60}, {0, 1}}), extentOf({{9, 12}, {9, 12}})};
  const DtRegionExtent frequency[] = {extentOf({{0, 10}})};
  DtRegion a(1, &spaces.geo, nearOrigin, 1);
  DtRegion apart(2, &spaces.geo, twoApart, 2);
  DtRegion edge(3, &spaces.geo, touching, 1);
  DtRegion second(4, &spaces.geo, overlapping, 2);
  DtRegion radio(5, &spaces.radio, frequency, 1);
  DtRegion anywhere(6, &spaces.none, 0);  // the default space meets everything
  DtRegion unplaced;                      // and so does a region without a space
  struct Case {
    const char* what;
    const DtRegion& x;
    const DtRegion& y;
    bool meet;
  };
  const Case cases[] = {
      {"same extent", a, a, true},
      {"no extent pair overlaps", a, apart, false},
      {"touching at an end", a, edge, false},
      {"the second extent overlaps", a, second, true},
      {"different spaces", a, radio, false},
      {"space 0", anywhere, radio, true},
      {"no space", unplaced, a, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.x.intersect(c.y), c.meet) << c.what;
    EXPECT_EQ(c.y.intersect(c.x), c.meet) << c.what << " reversed";
  }
}

TEST_F(RegionTest, OnlyCommittedExtentsMeetOthers) {
  const DtRegionExtent nearOrigin[] = {extentOf({{0, 10}, {0, 10}})};
  const DtRegion other(1, &spaces.geo, nearOrigin, 1);
  DtRegion region(2, &spaces.geo, 1);
  commitBounds(region, {{{50, 60}, {50, 60}}});
  region.setRangeLowerBound(0, 0, 0);  // working only
  region.setRangeLowerBound(0, 1, 0);
  EXPECT_FALSE(region.intersect(other));
  region.commitModifications();
  EXPECT_TRUE(region.intersect(other));
}

TEST_F(RegionTest, ExtentsAreReplacedAndAppendedInPlace) {
  const DtRegionExtent three[] = {extentOf({{1, 2}, {1, 2}}), extentOf({{3, 4}, {3, 4}}), extentOf({{5, 6}, {5, 6}})};
  const DtRegionExtent one[] = {extentOf({{7, 8}, {7, 8}})};
  DtRegion region(1, &spaces.geo, three, 3);
  region.addExtents(one, 1);
  EXPECT_EQ(describe(region),
            "region 1 space 1\n  [1,2)3 [1,2)3 | [3,4)3 [3,4)3 | [5,6)3 [5,6)3 | [7,8)3 [7,8)3\n  working none");
  region.addExtents(nullptr, 0);
  EXPECT_EQ(region.getNumberOfExtents(), 4u);
  region.setExtents(one, 1);
  EXPECT_EQ(describeExtents(region.getExtents(), 1), "[7,8)3 [7,8)3");
  region.setSpace(&spaces.radio);  // committed extents take the new space's shape
  EXPECT_EQ(describeExtents(region.getExtents(), 1), "[7,8)3");
  region.setExtents(nullptr, 0);
  EXPECT_EQ(region.getExtents(), nullptr);
}

TEST_F(RegionTest, SettingBoundsAfterTheExtentsWereReplacedStaysWithinThem) {
  const DtRegionExtent two[] = {extentOf({{1, 2}, {1, 2}}), extentOf({{3, 4}, {3, 4}})};
  DtRegion region(1, &spaces.geo, 1);
  region.setRangeLowerBound(0, 0, 1);  // working extents for one extent
  region.setExtents(two, 2);
  region.setRangeLowerBound(1, 1, 9);  // reshaped to two
  ASSERT_NE(region.workingExtents(), nullptr);
  EXPECT_EQ(region.workingExtents()[1].getLowerBound(1), 9u);
}

TEST_F(RegionTest, TheRegionKnowsTheSetsThatContainItUntilTheyGo) {
  DtRegion region(1, &spaces.geo, 1);
  TestSet pub(10), sub(11), passive(12), interPub(20), interSub(21), otherSub(22);
  region.addObjPubRegSet(&pub);
  region.addObjSubRegSet(&sub);
  region.addObjPasRegSet(&passive);
  region.addObjPubRegSet(nullptr);
  region.addInterPubRegSet(7, &interPub);
  region.addInterSubRegSet(7, &interSub);
  region.addInterPasRegSet(7, &passive);
  EXPECT_FALSE(region.inUse());
  passive.used = interPub.used = true;  // neither counts for use
  EXPECT_FALSE(region.inUse());
  for (TestSet* set : {&pub, &sub, &interSub}) {
    set->used = true;
    EXPECT_TRUE(region.inUse());
    set->used = false;
  }
  pub.associatedObject = 500001;
  EXPECT_TRUE(region.isMemberObjPub(500001));
  EXPECT_FALSE(region.isMemberObjPub(500002));

  // Only the set given goes: a set filed in its place, or in another role,
  // stays.
  region.addInterSubRegSet(7, &otherSub);
  region.removeInterSubRegSet(7, &interSub);
  region.removeInterPasRegSet(7, &interSub);
  region.removeInterPubRegSet(7, &interSub);
  region.removeObjSubRegSet(&pub);
  EXPECT_EQ(region.interSubRegSet(7), &otherSub);
  EXPECT_EQ(region.interPasRegSet(7), &passive);
  ASSERT_NE(region.interPubRegSetList(7), nullptr);
  EXPECT_EQ(region.interPubRegSetList(7)->lookup(20), &interPub);
  EXPECT_EQ(region.objSubRegSetList().lookup(11), &sub);

  region.removeInterPubRegSet(7, &interPub);
  ASSERT_NE(region.interPubRegSetList(7), nullptr);  // the class's list stays
  EXPECT_TRUE(region.interPubRegSetList(7)->empty());
  region.removeInterSubRegSet(7, &otherSub);
  EXPECT_EQ(region.interSubRegSet(7), nullptr);
  region.removeAllRegSets();
  EXPECT_TRUE(region.objPubRegSetList().empty());
  EXPECT_TRUE(region.objPasRegSetList().empty());
  EXPECT_EQ(region.interPubRegSetList(7), nullptr);
  EXPECT_EQ(region.interPasRegSet(7), nullptr);
}

}  // namespace
