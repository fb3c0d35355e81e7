// Region sets: their regions, the set algebra that lets sets of the same
// regions be shared, intersection, and the bounding region.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RegionTestSupport.h"
#include "ddm/DtRegionEntryList.h"
#include "ddm/DtRegionSet.h"
#include "ddm/DtRegionSetList.h"

namespace {

DtRegionEntryList listOf(std::initializer_list<std::uint32_t> handles) {
  DtRegionEntryList list;
  for (std::uint32_t h : handles) list.add(h, nullptr);
  return list;
}

TEST(DtRegionEntryList, EqualAndContainsCompareHandlesOnly) {
  const DtRegionEntryList empty, one = listOf({1}), oneTwo = listOf({1, 2}), twoOne = listOf({2, 1}),
                                 oneTwoThree = listOf({1, 2, 3});
  struct Case {
    const char* what;
    bool got, expected;
  };
  const Case cases[] = {
      {"{1} equals nothing plus 1", one.equal(nullptr, 1), true},
      {"{1,2} is not nothing plus 1", oneTwo.equal(nullptr, 1), false},
      {"{1,2} is {1} plus 2", oneTwo.equal(&one, 2), true},
      {"{1,2} is {1,2} plus 1, which it has", oneTwo.equal(&twoOne, 1), true},
      {"{1,2,3} is not {1} plus 2", oneTwoThree.equal(&one, 2), false},
      {"{1,2} is not {1,2} plus 3", oneTwo.equal(&twoOne, 3), false},
      {"{1} is not {1,2} plus 1", one.equal(&oneTwo, 1), false},
      {"anything contains the empty list", one.contains(empty), true},
      {"the empty list contains itself", empty.contains(empty), true},
      {"two empty lists are the same", empty == DtRegionEntryList(), true},
      {"order does not count", oneTwo == twoOne, true},
      {"{1} does not contain {1,2}", one.contains(oneTwo), false},
      {"{1,2,3} contains {2,1} and has 3", oneTwoThree.contains(&twoOne, 3), true},
      {"{1,2} has 2 and no list was given", oneTwo.contains(nullptr, 2), true},
      {"{1,2} does not have 3", oneTwo.contains(nullptr, 3), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
}

// Sets {1}, {1,2}, {1,2,3}, {2,3}, {2} (handles 11 to 15), in that order.
class SetAlgebra : public ::testing::Test {
protected:
  SetAlgebra() {
    const std::vector<std::vector<std::uint32_t>> regions = {{1}, {1, 2}, {1, 2, 3}, {2, 3}, {2}};
    for (std::size_t i = 0; i < regions.size(); ++i) {
      sets.push_back(std::make_unique<TestSet>(static_cast<std::uint32_t>(11 + i)));
      for (std::uint32_t h : regions[i]) sets.back()->addRegion(h);
      table.add(sets.back()->regionSetHandle(), sets.back().get());
    }
  }
  DtRegionSet* set(std::uint32_t handle) { return handle ? table.lookup(handle) : nullptr; }

  std::vector<std::unique_ptr<TestSet>> sets;
  DtRegionSetList table;
};

TEST_F(SetAlgebra, TheSetOfTheRegionsAfterAnAdditionOrARemovalIsFound) {
  struct Case {
    const char* what;
    bool add;
    std::uint32_t region, from, expected;  // set handles; 0 for none
  };
  const Case cases[] = {
      {"1 alone", true, 1, 0, 11},
      {"9 alone: no set", true, 9, 0, 0},
      {"{1} and 2", true, 2, 11, 12},
      {"{1,2} and 1, which it has: itself", true, 1, 12, 12},
      {"{1,2} and 3", true, 3, 12, 13},
      {"{2} and 3", true, 3, 15, 14},
      {"{1,2,3} and 4: no set", true, 4, 13, 0},
      {"{1} without 1: no set", false, 1, 11, 0},
      {"{1,2} without 9, which it lacks: itself", false, 9, 12, 12},
      {"no set without 1: none", false, 1, 0, 0},
      {"{1,2} without 2", false, 2, 12, 11},
      {"{1,2} without 1", false, 1, 12, 15},
      {"{1,2,3} without 1", false, 1, 13, 14},
      {"{2,3} without 2: no set of {3}", false, 2, 14, 0},
  };
  for (const Case& c : cases) {
    DtRegionSet* found =
        c.add ? table.getRegionSetAddHandle(c.region, set(c.from)) : table.getRegionSetSubHandle(c.region, set(c.from));
    EXPECT_EQ(found, set(c.expected)) << c.what;
  }
  EXPECT_EQ(table.getRegionSet(listOf({2, 1})), set(12));
  EXPECT_EQ(table.getRegionSet(listOf({3})), nullptr);
  EXPECT_EQ(table.getRegionSet(DtRegionEntryList()), nullptr);
}

TEST(DtRegionSet, RegionsAreListedByHandleAndFilledInWhenKnown) {
  Spaces spaces;
  DtRegion region(4, &spaces.geo, 1);
  TestSet set(1, &region);
  EXPECT_EQ(set.regionCount(), 1u);
  EXPECT_EQ(set.region(4), &region);
  TestSet byHandle(2);
  byHandle.addRegion(std::uint32_t{4});
  byHandle.addRegion(std::uint32_t{4});
  EXPECT_EQ(byHandle.regionCount(), 1u);
  EXPECT_EQ(byHandle.region(4), nullptr);
  byHandle.addRegion(&region);  // now known
  EXPECT_EQ(byHandle.region(4), &region);
  byHandle.addRegion(nullptr);
  EXPECT_TRUE(byHandle.isMemberRegion(4));
  EXPECT_TRUE(set.isMemberRegion(byHandle));
  EXPECT_FALSE(set.isMemberRegion(byHandle, 5));
  byHandle.removeRegion(9);
  byHandle.removeRegion(4);
  EXPECT_EQ(byHandle.regionCount(), 0u);

  // isEmptyRegions answers the opposite of its name.
  EXPECT_FALSE(byHandle.isEmptyRegions());
  EXPECT_TRUE(set.isEmptyRegions());
  set.emptyRegions();
  EXPECT_EQ(set.region(4), nullptr);
}

TEST(DtRegionSet, SetsMeetThroughTheirKnownRegionsOnly) {
  Spaces spaces;
  const DtRegionExtent low[] = {extentOf({{0, 10}, {0, 10}})};
  const DtRegionExtent high[] = {extentOf({{50, 60}, {50, 60}})};
  const DtRegionExtent overlappingHigh[] = {extentOf({{55, 70}, {55, 70}})};
  DtRegion a(1, &spaces.geo, low, 1), b(2, &spaces.geo, high, 1), c(3, &spaces.geo, overlappingHigh, 1);
  TestSet left(10, &a), right(11, &c);
  EXPECT_FALSE(left.intersect(right));
  left.addRegion(std::uint32_t{3});  // c's handle, region not known: meets nothing
  EXPECT_FALSE(left.intersect(right));
  EXPECT_FALSE(right.intersect(left));
  left.addRegion(&b);
  EXPECT_TRUE(left.intersect(right));
  EXPECT_TRUE(right.intersect(left));
  EXPECT_TRUE(left.intersect(c));
  EXPECT_FALSE(right.intersect(a));
}

// A set that collects its regions' extents, as the remote and interaction
// sets do.
class BoundedSet : public TestSet {
public:
  explicit BoundedSet(std::uint32_t handle) : TestSet(handle) { setBoundingRegion(std::make_unique<DtRegion>()); }
  void addRegion(DtRegion* region) override { addRegionToBounds(region); }
  using TestSet::addRegion;
};

TEST(DtRegionSet, ABoundingRegionCollectsTheExtentsOfEveryRegionAdded) {
  Spaces spaces;
  const DtRegionExtent one[] = {extentOf({{0, 10}, {0, 10}})};
  const DtRegionExtent two[] = {extentOf({{50, 60}, {50, 60}}), extentOf({{70, 80}, {70, 80}})};
  DtRegion a(1, &spaces.geo, one, 1), b(2, &spaces.geo, two, 2);
  BoundedSet set(30);
  ASSERT_NE(set.boundingRegion(), nullptr);
  EXPECT_EQ(set.boundingRegion()->handle(), 30u);
  set.addRegion(&a);
  set.addRegion(&b);
  set.addRegion(nullptr);
  const DtRegion& bounds = *set.boundingRegion();
  EXPECT_EQ(bounds.getSpaceHandle(), 1);
  EXPECT_EQ(describeExtents(bounds.getExtents(), 3), "[0,10)3 [0,10)3 | [50,60)3 [50,60)3 | [70,80)3 [70,80)3");
  set.removeRegion(2);  // does not shrink it
  EXPECT_EQ(bounds.getNumberOfExtents(), 3u);
  set.setRegionSetHandle(31);
  EXPECT_EQ(bounds.handle(), 31u);
  EXPECT_EQ(TestSet(5).boundingRegion(), nullptr);
}

}  // namespace
