// Ranges, extents and their overlaps.
#include <gtest/gtest.h>

#include "RegionTestSupport.h"
#include "ddm/DtRegionExtent.h"
#include "rti/util/NotifyCapture.h"

namespace {

constexpr std::uint32_t theMax = 0xFFFFFFFF;

TEST(DtRangeBounds, RangesOverlapWhenHalfOpenOrStartingTogether) {
  struct Case {
    Range a, b;
    bool overlap;
  };
  const Case cases[] = {
      {{0, 10}, {10, 20}, false},  // touching ends do not meet
      {{0, 10}, {9, 20}, true},
      {{5, 5}, {5, 7}, true},       // equal lower bounds always meet
      {{5, 5}, {5, 5}, true},       // two empty ranges at one value
      {{6, 6}, {0, 5}, false},      // an empty range past the other
      {{5, 5}, {4, 6}, true},       // an empty range inside another
      {{0, theMax}, {0, 0}, true},  // the whole range meets one that starts at 0
      {{0, theMax}, {3, 4}, true},
      {{0, theMax}, {theMax - 1, theMax}, true},
      {{0, theMax}, {theMax, theMax}, false},  // starting at the very end
      {{1, theMax}, {0, 1}, false},
      {{theMax, theMax}, {theMax, theMax}, true},
  };
  for (const Case& c : cases) {
    const DtRangeBounds a(c.a.first, c.a.second), b(c.b.first, c.b.second);
    EXPECT_EQ(a.overlap(b), c.overlap) << c.a.first << "," << c.a.second << " / " << c.b.first << "," << c.b.second;
    EXPECT_EQ(b.overlap(a), c.overlap) << "reversed";
  }
}

TEST(DtRangeBounds, SettingABoundMarksIt) {
  DtRangeBounds range;
  EXPECT_EQ(range.getLowerBound(), 0u);
  EXPECT_EQ(range.getUpperBound(), theMax);
  EXPECT_EQ(range.boundsCheck(), DtNoBoundSet);
  range.setUpperBound(4);
  EXPECT_EQ(range.boundsCheck(), DtUpperBoundSet);
  range.setLowerBound(2);
  range.setUpperBound(5);
  EXPECT_EQ(range.boundsCheck(), DtBothBoundsSet);
  EXPECT_EQ(DtRangeBounds(1, 2).boundsCheck(), DtNoBoundSet);
}

TEST(DtRegionExtent, ExtentsOverlapWhenEveryDimensionDoes) {
  struct Case {
    const char* what;
    DtRegionExtent a, b;
    bool overlap;
  };
  const Case cases[] = {
      {"both dimensions meet", extentOf({{0, 10}, {0, 10}}), extentOf({{5, 15}, {9, 12}}), true},
      {"one dimension apart", extentOf({{0, 10}, {0, 10}}), extentOf({{5, 15}, {10, 12}}), false},
      {"different dimension counts", extentOf({{0, 10}}), extentOf({{0, 10}, {0, 10}}), false},
      {"no dimensions", DtRegionExtent(), DtRegionExtent(), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.a.overlap(c.b), c.overlap) << c.what;
    EXPECT_EQ(c.b.overlap(c.a), c.overlap) << c.what;
  }
}

TEST(DtRegionExtent, ANewDimensionCountKeepsTheEntriesThatRemain) {
  DtRegionExtent extent = extentOf({{1, 2}, {3, 4}});
  EXPECT_TRUE(extent.valid());
  extent.setDimensionCount(3);
  EXPECT_EQ(describeExtents(&extent, 1), "[1,2)3 [3,4)3 [0,4294967295)0");
  EXPECT_EQ(extent.getExtent(2).dimension(), 2u);
  EXPECT_FALSE(extent.valid());
  extent.setDimensionCount(1);
  EXPECT_EQ(describeExtents(&extent, 1), "[1,2)3");
  EXPECT_TRUE(DtRegionExtent().valid());
}

TEST(DtRegionExtent, ADimensionItDoesNotHaveIsReportedAndChangesNothing) {
  NotifyCapture capture(1);
  DtRegionExtent extent = extentOf({{1, 2}});
  EXPECT_EQ(extent.getLowerBound(1), 0u);
  EXPECT_EQ(extent.getUpperBound(1), theMax);
  extent.setLowerBound(1, 7);
  extent.setUpperBound(5, 7);
  EXPECT_EQ(extent.getExtent(1).dimension(), 0u);  // the default entry
  DtExtentDim far;
  far.setDimension(3);
  extent.setExtent(far);
  EXPECT_EQ(describeExtents(&extent, 1), "[1,2)3");
  EXPECT_EQ(capture.text(),
            "getLowerBound: Dimension not in this region\n"
            "getUpperBound: Dimension not in this region\n"
            "setLowerBound: Dimension not in this region\n"
            "setUpperBound: Dimension not in this region\n"
            "getExtent: Dimension not in this region\n"
            "setExtent: Dimension not in this region\n");
}

}  // namespace
