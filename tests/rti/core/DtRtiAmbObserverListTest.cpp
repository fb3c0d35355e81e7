#include "api/DtRtiAmbObserverList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Notes its deletion in a journal that outlives it.
class TracedObserver : public DtRtiAmbassadorObserver {
public:
  TracedObserver(std::string name, std::vector<std::string>* deleted) : name_(std::move(name)), deleted_(deleted) {}
  ~TracedObserver() override {
    if (deleted_) deleted_->push_back(name_);
  }

private:
  std::string name_;
  std::vector<std::string>* deleted_;
};

std::vector<DtRtiAmbassadorObserver*> order(const DtRtiAmbObserverList& list) {
  std::vector<DtRtiAmbassadorObserver*> observers;
  for (DtRtiAmbassadorObserver* o = list.first(); o; o = o->next()) observers.push_back(o);
  return observers;
}

TEST(DtRtiAmbObserverListTest, AnEmptyListHasNoFirstAndRemovesNothing) {
  DtRtiAmbObserverList list;
  EXPECT_EQ(list.first(), nullptr);
  EXPECT_EQ(list.removeObserver("absent"), nullptr);
  EXPECT_EQ(list.first(), nullptr);
}

TEST(DtRtiAmbObserverListTest, FilingUnderANameInUseReplacesAndMovesToTheEnd) {
  std::vector<std::string> deleted;
  TracedObserver a("A", &deleted);
  auto* b = new TracedObserver("B", &deleted);
  auto* c = new TracedObserver("C", &deleted);
  {
    DtRtiAmbObserverList list;
    list.addObserver("a", &a);
    list.addObserver("b", b);
    list.addObserver("a", c);
    EXPECT_EQ(order(list), (std::vector<DtRtiAmbassadorObserver*>{b, c}));
    // A is out of the list, not deleted, and knows it.
    EXPECT_EQ(a.list(), nullptr);
    EXPECT_EQ(a.next(), nullptr);
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(list.removeObserver("absent"), nullptr);
    EXPECT_EQ(order(list), (std::vector<DtRtiAmbassadorObserver*>{b, c}));
  }
  // The list deletes what is still filed, in filing order.
  EXPECT_EQ(deleted, (std::vector<std::string>{"B", "C"}));
}

TEST(DtRtiAmbObserverListTest, RemovingHandsTheObserverBackOutOfTheList) {
  DtRtiAmbObserverList list;
  TracedObserver a("A", nullptr);
  TracedObserver b("B", nullptr);
  list.addObserver("a", &a);
  list.addObserver("b", &b);
  EXPECT_EQ(list.removeObserver("a"), &a);
  EXPECT_EQ(a.item(), nullptr);
  EXPECT_EQ(order(list), (std::vector<DtRtiAmbassadorObserver*>{&b}));
  EXPECT_EQ(list.removeObserver("b"), &b);
}

TEST(DtRtiAmbObserverListTest, NeighboursAndWrappingNeighbours) {
  DtRtiAmbObserverList list;
  TracedObserver a("A", nullptr);
  TracedObserver b("B", nullptr);
  TracedObserver c("C", nullptr);
  TracedObserver unlisted("U", nullptr);

  list.addObserver("a", &a);
  EXPECT_EQ(a.next(), nullptr);
  EXPECT_EQ(a.prev(), nullptr);
  EXPECT_EQ(a.wrapNext(), &a);
  EXPECT_EQ(a.wrapPrev(), &a);

  list.addObserver("b", &b);
  list.addObserver("c", &c);
  EXPECT_EQ(a.next(), &b);
  EXPECT_EQ(c.prev(), &b);
  EXPECT_EQ(c.next(), nullptr);
  EXPECT_EQ(c.wrapNext(), &a);
  EXPECT_EQ(a.wrapPrev(), &c);
  EXPECT_EQ(b.wrapNext(), &c);

  EXPECT_EQ(unlisted.next(), nullptr);
  EXPECT_EQ(unlisted.wrapNext(), nullptr);
  EXPECT_EQ(unlisted.wrapPrev(), nullptr);

  for (const char* name : {"a", "b", "c"}) list.removeObserver(name);
}

TEST(DtRtiAmbObserverListTest, ANullObserverEndsAWalk) {
  DtRtiAmbObserverList list;
  TracedObserver a("A", nullptr);
  TracedObserver b("B", nullptr);
  list.addObserver("a", &a);
  list.addObserver("null", nullptr);
  list.addObserver("b", &b);
  EXPECT_EQ(order(list), (std::vector<DtRtiAmbassadorObserver*>{&a}));
  list.removeObserver("a");
  list.removeObserver("b");
}

// The list knows whether any filed observer wants successful calls, through
// filing, replacing, removing, a null observer, and wishes changed in and
// out of the list.
TEST(DtRtiAmbObserverListTest, KnowsWhetherAnyObserverWantsSuccessfulCalls) {
  TracedObserver all("all", nullptr);
  TracedObserver failures("failures", nullptr);
  TracedObserver quiet("quiet", nullptr);
  failures.setWantsSuccessfulCalls(false);
  quiet.setWantsSuccessfulCalls(false);
  DtRtiAmbObserverList list;
  EXPECT_FALSE(list.successfulCallsWatched());
  list.addObserver("f", &failures);
  list.addObserver("null", nullptr);
  EXPECT_FALSE(list.successfulCallsWatched());
  list.addObserver("a", &all);
  EXPECT_TRUE(list.successfulCallsWatched());
  all.setWantsSuccessfulCalls(false);  // while filed
  EXPECT_FALSE(list.successfulCallsWatched());
  failures.setWantsSuccessfulCalls(true);
  failures.setWantsSuccessfulCalls(true);  // twice counts once
  EXPECT_TRUE(list.successfulCallsWatched());
  list.addObserver("f", &quiet);  // replaces the one that wants them
  EXPECT_FALSE(list.successfulCallsWatched());
  failures.setWantsSuccessfulCalls(false);  // out of the list: nothing to tell
  failures.setWantsSuccessfulCalls(true);
  EXPECT_FALSE(list.successfulCallsWatched());
  all.setWantsSuccessfulCalls(true);
  EXPECT_TRUE(list.successfulCallsWatched());
  EXPECT_EQ(list.removeObserver("a"), &all);
  EXPECT_FALSE(list.successfulCallsWatched());
  list.addObserver("a", &failures);
  EXPECT_TRUE(list.successfulCallsWatched());
  for (const char* name : {"a", "f", "null"}) list.removeObserver(name);
  EXPECT_FALSE(list.successfulCallsWatched());
}

}  // namespace
