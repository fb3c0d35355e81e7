// The tables of region sets and matches: who owns what, and what goes when.
// Run under AddressSanitizer, a set deleted twice or used after its end
// fails here.
#include <gtest/gtest.h>

#include <memory>

#include "RegionTestSupport.h"
#include "ddm/DtRegionMatchList.h"
#include "ddm/DtRegionSetList.h"
#include "ddm/DtRegionSetListByClass.h"

namespace {

TEST(DtRegionSetList, AnOwningListDeletesItsSetsAndAnotherNever) {
  int ends = 0;
  TestSet kept(3, &ends);
  {
    DtRegionSetList owning(true);
    owning.add(1, new TestSet(1, &ends));
    owning.add(2, new TestSet(2, &ends));
    DtRegionSetList copy(owning);  // a copy never owns
    EXPECT_FALSE(copy.owning());
    EXPECT_EQ(copy.count(), 2u);
    owning.destroy(1);
    EXPECT_EQ(ends, 1);
    owning.destroy(9);  // nothing there
    DtRegionSet* taken = owning.remove(2);
    EXPECT_EQ(ends, 1);
    owning.add(2, taken);
    DtRegionSetList borrowing(false);
    borrowing.add(3, &kept);
    borrowing.add(3, &kept);  // the same set twice: one entry
    EXPECT_EQ(borrowing.count(), 1u);
    borrowing.destroyAll();
    EXPECT_EQ(ends, 1);
  }
  EXPECT_EQ(ends, 2);  // the owning list's last set, once
}

TEST(DtRegionSetList, AReplacedSetIsHandedBack) {
  TestSet first(4), second(4);
  DtRegionSetList list(false);
  EXPECT_EQ(list.add(4, &first), nullptr);
  EXPECT_EQ(list.add(4, &first), nullptr);
  EXPECT_EQ(list.add(4, &second), &first);
  EXPECT_EQ(list.lookup(4), &second);
  EXPECT_EQ(list.add(5, nullptr), nullptr);
  EXPECT_FALSE(list.isMember(5));
}

TEST(DtRegionSetList, SetsMoveToTheListOfRemovedOnes) {
  TestSet a(1), b(2), c(3);
  DtRegionSetList table(false), asked(false), removed(false);
  table.add(1, &a);
  table.add(2, &b);
  asked.add(2, &b);
  asked.add(3, &c);
  table.removeRegionSets(asked, removed);
  EXPECT_EQ(table.handles(), std::vector<std::uint32_t>{1});
  EXPECT_EQ(removed.handles(), std::vector<std::uint32_t>{2});
  table.removeRegionSets(table, removed);  // itself: everything moves
  EXPECT_TRUE(table.empty());
  EXPECT_EQ(removed.handles(), (std::vector<std::uint32_t>{2, 1}));
}

TEST(DtRegionSetListByClass, AClassListGoesWhenEmptiedOnlyIfAsked) {
  int ends = 0;
  DtRegionSetListByClass byClass(true);
  byClass.addRegionSet(7, new TestSet(1, &ends));
  byClass.addRegionSet(7, new TestSet(2, &ends));
  byClass.addRegionSet(8, nullptr);
  EXPECT_EQ(byClass.lookup(8), nullptr);
  EXPECT_TRUE(byClass.regionSetList(7).owning());

  std::unique_ptr<DtRegionSet> one(byClass.removeRegionSet(7, 1, false));
  ASSERT_NE(one, nullptr);
  std::unique_ptr<DtRegionSet> two(byClass.removeRegionSet(7, 2, false));
  ASSERT_NE(byClass.lookup(7), nullptr);  // kept, empty
  EXPECT_TRUE(byClass.lookup(7)->empty());
  byClass.addRegionSet(7, two.release());
  std::unique_ptr<DtRegionSet> again(byClass.removeRegionSet(7, 2, true));
  EXPECT_EQ(byClass.lookup(7), nullptr);
  EXPECT_EQ(byClass.removeRegionSet(7, 2, true), nullptr);
  EXPECT_EQ(ends, 0);

  byClass.addRegionSet(9, again.release());
  byClass.destroy(9);  // its owning list deletes the set
  EXPECT_EQ(ends, 1);
  byClass.addRegionSet(10, new TestSet(3, &ends));
  auto list = byClass.remove(10);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(byClass.count(), 0u);
  list.reset();
  EXPECT_EQ(ends, 2);
}

TEST(DtRegionMatchList, AnEntryGoesWithItsLastPair) {
  TestSet local1(1), local2(2), remote(500002);
  DtRegionMatchList matches;
  matches.addMatch(&local1, &remote);
  matches.addMatch(&local2, &remote);
  matches.addMatch(&local2, &remote);
  matches.addMatch(nullptr, &remote);
  ASSERT_NE(matches.lookup(500002), nullptr);
  EXPECT_EQ(matches.lookup(500002)->regionSet(), &remote);
  EXPECT_EQ(matches.lookup(500002)->count(), 2u);
  EXPECT_TRUE(matches.lookup(500002)->isMember(1));
  matches.removeMatch(&local1, &remote);
  ASSERT_NE(matches.lookup(500002), nullptr);
  matches.removeMatch(&local1, &local2);  // no entry for local2: nothing
  matches.removeMatch(&local2, &remote);
  EXPECT_EQ(matches.lookup(500002), nullptr);
  EXPECT_TRUE(matches.empty());

  DtRegionMatches copied(&remote);
  copied.addMatch(&local1);
  DtRegionMatches copy = copied;  // shallow: the same sets
  copy.removeMatch(&local1);
  EXPECT_EQ(copied.count(), 1u);
  copied.empty();
  EXPECT_EQ(copied.count(), 0u);
  EXPECT_EQ(copied.regionSet(), &remote);
}

TEST(DtObjectRegionSet, ASetsEndLeavesNoReferenceInItsRegions) {
  Spaces spaces;
  DtRegion region(1, &spaces.geo, 1);
  auto set = std::make_unique<TestSet>(10, &region);
  TestSet other(11, &region);
  region.addObjPubRegSet(set.get());
  region.addObjSubRegSet(set.get());
  region.addObjPasRegSet(set.get());
  region.addObjSubRegSet(&other);
  set.reset();
  EXPECT_TRUE(region.objPubRegSetList().empty());
  EXPECT_TRUE(region.objPasRegSetList().empty());
  EXPECT_EQ(region.objSubRegSetList().handles(), std::vector<std::uint32_t>{11});
  EXPECT_FALSE(region.inUse());  // walks the lists: nothing dangling
}

}  // namespace
