#include "exec/DtTimeInfoList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exec/DtTimeInfo.h"
#include "fedtime.hh"

namespace {

double valueOf(const RTI::FedTime& time) { return dynamic_cast<const RTIfedTime&>(time).getTime(); }

// Records made by a test and deleted with it; the lists never own them.
class Records {
public:
  DtTimeInfo* make(std::uint32_t handle, double time, double lookahead) {
    owned_.push_back(std::make_unique<DtTimeInfo>(handle, RTIfedTime(time), RTIfedTime(lookahead)));
    return owned_.back().get();
  }

private:
  std::vector<std::unique_ptr<DtTimeInfo>> owned_;
};

// The handles from head to tail.
std::vector<std::uint32_t> order(const DtTimeInfoList& list) {
  std::vector<std::uint32_t> handles;
  for (auto* item = list.first(); item; item = static_cast<DtTimeInfoItem*>(item->next()))
    handles.push_back(item->info()->federateHandle());
  return handles;
}

using Handles = std::vector<std::uint32_t>;

TEST(DtTimeInfo, KeepsBothSumsApart) {
  DtTimeInfo info(4, RTIfedTime(5), RTIfedTime(2));
  EXPECT_EQ(valueOf(info.lbts()), 7);
  EXPECT_EQ(valueOf(info.nerTime()), 5);
  EXPECT_EQ(valueOf(info.nerLookahead()), 2);
  EXPECT_EQ(valueOf(info.nerLbts()), 7);
  EXPECT_TRUE(info.timeAvailable());
  EXPECT_FALSE(info.constrained());
  EXPECT_FALSE(info.regulating());
  EXPECT_FALSE(info.nerPending());

  info.setTime(RTIfedTime(8));
  EXPECT_EQ(valueOf(info.lbts()), 10);
  EXPECT_EQ(valueOf(info.nerLbts()), 7);
  info.setNerLookahead(RTIfedTime(0.5));
  EXPECT_EQ(valueOf(info.nerLbts()), 5.5);
  EXPECT_EQ(valueOf(info.lbts()), 10);
}

// The tie rules decide which of several federates of one LBTS is the least.
TEST(DtTimeInfoList, InsertAndRepositionFollowTheTieRules) {
  struct Case {
    const char* what;
    double newLbtsOfA;  // A, B, C start at LBTS 10, 15, 20 (time = LBTS, lookahead 0)
    Handles expected;
  };
  const Case cases[] = {
      {"raised past an equal one moves ahead of it", 20, {2, 1, 3}},
      {"raised to an equal one keeps its place", 15, {1, 2, 3}},
      {"raised past everybody goes to the tail", 25, {2, 3, 1}},
      {"unchanged stays", 10, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    Records records;
    DtTimeInfoList list(byLbts);
    list.add(records.make(1, 10, 0));
    list.add(records.make(2, 15, 0));
    list.add(records.make(3, 20, 0));
    list.setTime(1, RTIfedTime(c.newLbtsOfA));
    EXPECT_EQ(order(list), c.expected) << c.what;
  }

  Records records;
  DtTimeInfoList list(byLbts);
  list.add(records.make(1, 10, 0));
  list.add(records.make(2, 15, 0));
  list.add(records.make(3, 20, 0));
  list.add(records.make(4, 15, 0));
  EXPECT_EQ(order(list), (Handles{1, 2, 4, 3})) << "a new record goes after the equal ones";
  list.setLookahead(3, RTIfedTime(-10));  // LBTS 10
  EXPECT_EQ(order(list), (Handles{1, 3, 2, 4})) << "moved back, it lands behind its equals";
  list.setLookahead(3, RTIfedTime(-25));
  EXPECT_EQ(order(list), (Handles{3, 1, 2, 4})) << "lowered below everybody goes to the head";
  list.setTime(3, RTIfedTime(40));  // LBTS 15
  EXPECT_EQ(order(list), (Handles{1, 3, 2, 4})) << "moved forward, it lands ahead of its equals";
}

TEST(DtTimeInfoList, ByNerLbtsPutsAnUnavailableTimeFirstAmongEquals) {
  Records records;
  DtTimeInfoList list(byNerLbts);
  DtTimeInfo* available = records.make(1, 10, 0);
  DtTimeInfo* unavailable = records.make(2, 10, 0);
  unavailable->setTimeAvailable(false);
  list.add(available);
  list.add(unavailable);
  EXPECT_EQ(order(list), (Handles{2, 1}));
  list.setNerTime(2, RTIfedTime(11));
  EXPECT_EQ(order(list), (Handles{1, 2}));
}

TEST(DtTimeInfoList, ListsSortByTheirOwnKeyOnly) {
  Records records;
  DtTimeInfo* a = records.make(1, 10, 5);
  DtTimeInfo* b = records.make(2, 12, 1);
  DtTimeInfoList byT(byTime), byL(byLookahead), byNer(byNerLbts);
  for (DtTimeInfoList* list : {&byT, &byL, &byNer}) {
    list->add(a);
    list->add(b);
  }
  EXPECT_EQ(order(byT), (Handles{1, 2}));
  EXPECT_EQ(order(byL), (Handles{2, 1}));
  EXPECT_EQ(order(byNer), (Handles{2, 1}));  // NER LBTS 15 and 13
  byT.setLookahead(1, RTIfedTime(0));        // not this list's key: no move needed
  byNer.setNerTimeAndLookahead(1, RTIfedTime(1), RTIfedTime(1));
  EXPECT_EQ(order(byNer), (Handles{1, 2}));
  byL.setTimeAndLookahead(2, RTIfedTime(0), RTIfedTime(9));
  EXPECT_EQ(order(byL), (Handles{1, 2}));
  DtTimeInfoList unknown(7);  // every comparison false
  unknown.add(a);
  unknown.add(b);
  EXPECT_EQ(unknown.count(), 2u);
}

TEST(DtTimeInfoList, OneEntryPerFederateFoundByHandle) {
  Records records;
  DtTimeInfoList list(byTime);
  DtTimeInfo* first = records.make(1, 10, 0);
  DtTimeInfo* again = records.make(1, 3, 0);
  list.add(first);
  list.add(records.make(2, 5, 0));
  list.add(again);
  EXPECT_EQ(list.count(), 2u);
  EXPECT_EQ(list.findInfo(1), again);
  EXPECT_EQ(order(list), (Handles{1, 2}));

  EXPECT_EQ(list.remove(9), nullptr);
  EXPECT_EQ(list.count(), 2u);
  list.setTime(9, RTIfedTime(1));  // no entry: nothing
  EXPECT_EQ(list.remove(1), again);
  EXPECT_EQ(list.findInfo(1), nullptr);

  // A removed record lives on, may be filed elsewhere, and is deleted only
  // when asked.
  auto* loose = new DtTimeInfo(3, RTIfedTime(1), RTIfedTime(0));
  list.add(loose);
  EXPECT_EQ(list.remove(3), loose);
  DtTimeInfoList other(byLbts);
  other.add(loose);
  EXPECT_EQ(other.findInfo(3), loose);
  EXPECT_EQ(valueOf(loose->lbts()), 1);
  other.removeAndDelete(3);
  EXPECT_EQ(other.count(), 0u);
}

TEST(DtTimeInfoList, MinAndMaxExceptSkipTheNamedFederate) {
  Records records;
  DtTimeInfoList list(byLbts);
  EXPECT_EQ(list.minExcept(0), nullptr);
  DtTimeInfo* only = records.make(5, 1, 1);
  list.add(only);
  EXPECT_EQ(list.minExcept(5), nullptr);
  EXPECT_EQ(list.minExcept(0), only);
  EXPECT_EQ(list.maxExcept(5), nullptr);
  DtTimeInfo* later = records.make(6, 4, 1);
  list.add(later);
  EXPECT_EQ(list.minExcept(5), later);
  EXPECT_EQ(list.minExcept(6), only);
  EXPECT_EQ(list.maxExcept(6), only);
  EXPECT_EQ(list.maxExcept(0), later);
  EXPECT_EQ(list.secondInfo(), later);
  list.clear();
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(list.findInfo(5), nullptr);
}

}  // namespace
