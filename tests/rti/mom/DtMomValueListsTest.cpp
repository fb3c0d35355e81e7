// The MOM's handle lists and tally lists: their text forms, filling them
// from attribute handle sets, and who deletes the tallies.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "mom/DtMomClassLists.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomObjectInfo.h"
#include "mom/DtMomTallyList.h"
#include "rti/util/NotifyCapture.h"

namespace {

using Handles = std::vector<std::uint32_t>;

DtMomHandleList listOf(const Handles& handles) {
  DtMomHandleList list;
  for (std::uint32_t handle : handles) list.append(handle);
  return list;
}

TEST(DtMomHandleList, TextFormsOfAListAndBack) {
  const struct {
    Handles handles;
    const char* text;
  } cases[] = {{{}, ""}, {{7}, "7"}, {{3, 12, 5}, "3,12,5"}, {{0, 4294967295u}, "0,4294967295"}};
  for (const auto& c : cases) {
    DtString text("old");
    listOf(c.handles).encode(text);
    EXPECT_STREQ(text.string(), c.text);
    DtMomHandleList back = listOf({9});
    EXPECT_TRUE(back.decodeVerbose(text));
    EXPECT_EQ(back.handles(), c.handles) << c.text;
  }
}

TEST(DtMomHandleList, CopiesCarryTheHandlesTheClassAndTheFlag) {
  DtMomHandleList list = listOf({4, 6});
  list.setClassHandle(9);
  list.setActive(RTI::RTI_TRUE);
  DtMomHandleList copy(list);
  DtMomHandleList assigned = listOf({1});
  assigned = list;
  for (const DtMomHandleList* other : {&copy, &assigned}) {
    EXPECT_EQ(other->handles(), (Handles{4, 6}));
    EXPECT_EQ(other->classHandle(), 9u);
    EXPECT_EQ(other->active(), RTI::RTI_TRUE);
  }
  assigned = assigned;
  EXPECT_EQ(assigned.handles(), (Handles{4, 6}));
  EXPECT_EQ(DtMomHandleList().classHandle(), 0u);
  EXPECT_EQ(DtMomHandleList().active(), RTI::RTI_FALSE);
}

TEST(DtMomHandleList, FillsFromAndIntoAttributeHandleSets) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle handle : {8, 2, 300}) set.add(handle);
  DtMomHandleList list = listOf({1});
  list.setAttributes(set);
  EXPECT_EQ(list.handles(), (Handles{1, 2, 8, 300}));  // appended, in the set's index order
  EXPECT_EQ(DtMomHandleList(set).handles(), (Handles{2, 8, 300}));

  // The library's sets hold handles below 320: the others still go in.
  list.append(320);
  list.append(5);
  DtAttributeHandleSet into;
  list.getAttributes(&into);
  EXPECT_EQ(into.size(), 5u);
  EXPECT_TRUE(into.isMember(5));
  EXPECT_FALSE(into.isMember(320));
}

TEST(DtMomTallyList, TotalsOneDirectionOverBothTransports) {
  DtMtallySet tank, plane;
  tank.setTally(5, RTI::RTI_TRUE, DtReliable);
  tank.setTally(2, RTI::RTI_TRUE, DtBestEffort);
  tank.setTally(100, RTI::RTI_FALSE, DtReliable);
  plane.setTally(1, RTI::RTI_TRUE, DtBestEffort);
  plane.setTally(30, RTI::RTI_FALSE, DtBestEffort);
  DtMomTallyList list;
  EXPECT_EQ(list.total(RTI::RTI_TRUE), 0);
  list.append(&tank);
  list.append(&plane);
  EXPECT_EQ(list.total(RTI::RTI_TRUE), 8);
  EXPECT_EQ(list.total(RTI::RTI_FALSE), 130);
}

TEST(DtMomTallyList, AnOwningListDeletesItsTalliesAndCopiesShareWithoutOwning) {
  auto owning = std::make_unique<DtMomTallyList>(true);
  auto* tallies = new DtMtallySet;
  tallies->setHandle(11);
  tallies->setTally(4, RTI::RTI_FALSE, DtReliable);
  owning->append(tallies);
  {
    const DtMomTallyList copy(*owning);  // goes first, leaving the tallies alone
    EXPECT_FALSE(copy.owns());
    EXPECT_EQ(copy.tallies(copy.head()), tallies);
  }
  const std::unique_ptr<DtMomTallyList> deep = owning->deepCopy();
  owning.reset();  // frees the tallies (ASan would tell otherwise)
  ASSERT_EQ(deep->count(), 1u);
  EXPECT_EQ(deep->tallies(deep->head())->handle(), 11u);
  EXPECT_EQ(deep->text(RTI::RTI_FALSE, DtReliable), "11/4");

  DtMomTallyList emptied(true);
  emptied.append(new DtMtallySet);
  emptied.deleteAll();
  EXPECT_EQ(emptied.count(), 0u);
}

TEST(DtMomTallyList, TakesTheObjectManagersCountsOnlyWhenItOwnsItsTallies) {
  DtMomTallyList owning(true);
  DtTallySink& sink = owning;
  auto tallies = std::make_unique<DtMtallySet>();
  tallies->setHandle(5);
  tallies->setTally(2, RTI::RTI_FALSE, DtBestEffort);
  sink.adopt(std::move(tallies));
  EXPECT_EQ(owning.total(RTI::RTI_FALSE), 2);

  NotifyCapture capture(1);
  DtMomTallyList borrowing;
  borrowing.adopt(std::make_unique<DtMtallySet>());  // freed, not kept (ASan watches)
  EXPECT_EQ(borrowing.count(), 0u);
  EXPECT_NE(capture.text().find("does not own its tallies"), std::string::npos);
}

TEST(DtMomObjectInfo, OwnedAttributesAccumulateAndCopiesTakeAllThreeFields) {
  DtAttributeHandleSet owned;
  owned.add(3);
  DtMomObjectInfo info;
  info.setActualClass(6);
  info.setKnownClass(5);
  info.setOwned(owned);
  owned.add(1);
  info.setOwned(owned);
  DtMomObjectInfo copy;
  copy = info;
  EXPECT_EQ(copy.actualClass(), 6u);
  EXPECT_EQ(copy.knownClass(), 5u);
  EXPECT_EQ(copy.owned().handles(), (Handles{3, 1, 3}));
}

TEST(DtMomClassLists, HoldTheEntriesThatTheirFillerDeletes) {
  auto tank = std::make_unique<DtMomHandleList>(listOf({1, 2}));
  tank->setClassHandle(4);
  {
    DtMomSubscriptionList subscriptions;
    subscriptions.append(tank.get());
    EXPECT_EQ(subscriptions.entry(subscriptions.head())->classHandle(), 4u);
    DtMomPublicationList publications;
    publications.append(tank.get());
    EXPECT_EQ(publications.entry(publications.head()), tank.get());
  }
  EXPECT_EQ(tank->handles(), (Handles{1, 2}));  // still there to delete
}

}  // namespace
