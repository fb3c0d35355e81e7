// The rtiexec's synchronization points, driven in-process from a table of
// scenarios: registration with and without a set of federates, a duplicate
// label, a set naming a federate not joined, the announcement to a late
// joiner, achievements (of a label never registered, from a federate not
// joined, from one the point does not concern), the end of a point when
// the last federate achieves it or the last one that had not leaves, and
// the sub-kinds a federate never sends. Then the host's notifications.

#include <gtest/gtest.h>

#include <functional>

#include "ExecTestSupport.h"

using namespace exectest;

namespace {

struct Scenario {
  const char* name;
  std::function<void(ExecHarness&)> steps;
  std::vector<std::string> sent;  // after the joins
  std::vector<std::string> printed;
  std::vector<std::string> notPrinted;
};

// X with A (1), B (2) and C (3) joined; what that sent is dropped.
void threeJoined(ExecHarness& h) {
  h.create("X");
  h.joinAndConfirm("X", "A", 11, 1, 1);
  h.joinAndConfirm("X", "B", 12, 2, 1);
  h.joinAndConfirm("X", "C", 13, 3, 1);
  h.takeSent();
  h.capture.clear();
}

std::vector<std::string> labelsOf(const DtSyncHashlist& points) {
  std::vector<std::string> labels;
  for (const DtSyncPt* point : points.list())
    labels.push_back(point->name() + (point->achieved() ? "+" : "") + "/" + point->tag());
  return labels;
}

DtFedExec* x(ExecHarness& h) { return h.exec().fedExec("X"); }

std::string joinResponseTo(int to, const char* federate, int handle) {
  return "JoinResponse to=" + std::to_string(to) + " X " + federate + " execution=1 handle=" + std::to_string(handle) +
         " error=0 fed=x.fed exec=0";
}

const Scenario scenarios[] = {
    {"APointForAllIsAnnouncedToAllAndEndsWhenAllAchieved",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtRegister, 1, 1, "go", "t");
       EXPECT_EQ(labelsOf(x(h)->getFederate(3)->syncPtList()), std::vector<std::string>{"go/t"});
       h.sync(DtAchieved, 1, 1, "go");
       h.sync(DtAchieved, 3, 1, "go");
       EXPECT_EQ(labelsOf(x(h)->getFederate(3)->syncPtList()), std::vector<std::string>{"go+/t"});
       EXPECT_EQ(labelsOf(x(h)->getFederate(2)->syncPtList()), std::vector<std::string>{"go/t"});
       h.sync(DtAchieved, 2, 1, "go");
       EXPECT_EQ(x(h)->syncPoints().count(), 0u);
       EXPECT_EQ(x(h)->getFederate(1)->syncPtList().count(), 0u);
       h.sync(DtRegister, 2, 1, "go", "again");  // retired: the label is free
     },
     {"Sync DtSyncPointSucceeded id=1 go exec=1", "Sync DtAnnouncePt id=0 go tag=t exec=1",
      "Sync DtSynchronized id=0 go exec=1", "Sync DtSyncPointSucceeded id=2 go exec=1",
      "Sync DtAnnouncePt id=0 go tag=again exec=1"},
     {"Got a register for go\n", "Got an achieved for go\n", "Got an achieved for go\n", "Got an achieved for go\n",
      "Federation is synchronized for go!\n", "Got a register for go\n"},
     {}},
    {"ADuplicateLabelFailsAtItsRegistrantAndLeavesThePointAsItWas",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtRegister, 1, 1, "go", "t", {1, 3});
       h.sync(DtRegister, 2, 1, "go", "other");
       h.sync(DtRegister, 1, 1, "go", "t", {1, 3});
       ASSERT_NE(x(h)->syncPoints().lookupSyncPoint("go"), nullptr);
       EXPECT_EQ(x(h)->syncPoints().lookupSyncPoint("go")->tag(), "t");
       EXPECT_EQ(x(h)->syncPoints().lookupSyncPoint("go")->federates(), (std::vector<std::uint32_t>{1, 3}));
     },
     {"Sync DtSyncPointSucceeded id=1 go exec=1", "Sync DtAnnouncePt id=0 go tag=t set=1,3 exec=1",
      "Sync DtSyncPointFailed id=2 go exec=1", "Sync DtSyncPointFailed id=1 go exec=1"},
     {},
     {}},
    {"ASetNamingAFederateNotJoinedFailsEvenWithTheOthersJoined",
     [](ExecHarness& h) {
       threeJoined(h);
       h.join("X", "D", 14);  // 4 is pending, not joined
       h.takeSent();
       h.sync(DtRegister, 1, 1, "go", "t", {1, 4});
       h.sync(DtRegister, 1, 1, "go", "t", {2, 9});
       EXPECT_EQ(x(h)->syncPoints().count(), 0u);
       EXPECT_EQ(x(h)->getFederate(1)->syncPtList().count(), 0u);
     },
     {"Sync DtSyncPointFailed id=1 go exec=1", "Sync DtSyncPointFailed id=1 go exec=1"},
     {},
     {}},
    {"ASetOfOneAndTwoLeavesTheThirdOut",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtRegister, 1, 1, "pair", "t", {1, 2});
       EXPECT_EQ(x(h)->getFederate(3)->syncPtList().count(), 0u);
       h.sync(DtAchieved, 3, 1, "pair");  // joined, but not concerned
       h.sync(DtAchieved, 9, 1, "pair");  // not joined
       h.sync(DtAchieved, 1, 1, "pair");
       h.sync(DtAchieved, 2, 1, "pair");
     },
     {"Sync DtSyncPointSucceeded id=1 pair exec=1", "Sync DtAnnouncePt id=0 pair tag=t set=1,2 exec=1",
      "Sync DtSynchronized id=0 pair set=1,2 exec=1"},
     {"SyncPoint pair not found.\n", "Bad federate ID in SyncPointAchieved message: 9,\n",
      "Federation is synchronized for pair!\n"},
     {}},
    {"ALateJoinerIsToldAfterItsConfirmAndMustAchieveToo",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtRegister, 1, 1, "all", "t");
       h.sync(DtRegister, 1, 1, "pair", "u", {1, 2});
       for (unsigned long f : {1ul, 2ul, 3ul}) h.sync(DtAchieved, f, 1, "all");  // ends "all"
       h.sync(DtRegister, 1, 1, "late", "v");
       for (unsigned long f : {1ul, 2ul, 3ul}) h.sync(DtAchieved, f, 1, "late");  // ends "late"
       h.sync(DtRegister, 2, 1, "open", "w");
       for (unsigned long f : {1ul, 2ul}) h.sync(DtAchieved, f, 1, "open");
       h.join("X", "D", 14);
       EXPECT_EQ(x(h)->syncPoints().count(), 2u);
       h.confirm("D", 4, 1);
       EXPECT_EQ(labelsOf(x(h)->getFederate(4)->syncPtList()), std::vector<std::string>{"open/w"});
       h.sync(DtAchieved, 3, 1, "open");  // D has not
       EXPECT_NE(x(h)->syncPoints().lookupSyncPoint("open"), nullptr);
       h.sync(DtAchieved, 4, 1, "open");
     },
     {"Sync DtSyncPointSucceeded id=1 all exec=1", "Sync DtAnnouncePt id=0 all tag=t exec=1",
      "Sync DtSyncPointSucceeded id=1 pair exec=1", "Sync DtAnnouncePt id=0 pair tag=u set=1,2 exec=1",
      "Sync DtSynchronized id=0 all exec=1", "Sync DtSyncPointSucceeded id=1 late exec=1",
      "Sync DtAnnouncePt id=0 late tag=v exec=1", "Sync DtSynchronized id=0 late exec=1",
      "Sync DtSyncPointSucceeded id=2 open exec=1", "Sync DtAnnouncePt id=0 open tag=w exec=1",
      joinResponseTo(14, "D", 4), "Sync DtAnnouncePt id=0 open tag=w exec=1", "Sync DtSynchronized id=0 open exec=1"},
     {"Join: federate D has joined X with handle 4.\n", "Federation is synchronized for open!\n"},
     {}},
    {"APointForAllWaitsForTheFederatesInTheMiddleOfTheirJoin",
     [](ExecHarness& h) {
       threeJoined(h);
       h.join("X", "D", 14);  // 4 is answered, not yet confirmed
       h.sync(DtRegister, 1, 1, "mid", "t");
       for (unsigned long f : {1ul, 2ul, 3ul}) h.sync(DtAchieved, f, 1, "mid");
       EXPECT_NE(x(h)->syncPoints().lookupSyncPoint("mid"), nullptr) << "D, joining, is told of it and counts";
       h.confirm("D", 4, 1);
       EXPECT_EQ(labelsOf(x(h)->getFederate(4)->syncPtList()), std::vector<std::string>{"mid/t"});
       h.sync(DtAchieved, 4, 1, "mid");
       // A joiner that gives up before confirming holds nothing up.
       h.join("X", "E", 15);
       h.sync(DtRegister, 1, 1, "quit", "u");
       for (unsigned long f : {1ul, 2ul, 3ul, 4ul}) h.sync(DtAchieved, f, 1, "quit");
       h.resign("X", 5, 1);
       h.join("X", "F", 16);
       h.sync(DtRegister, 1, 1, "lost", "v");
       for (unsigned long f : {1ul, 2ul, 3ul, 4ul}) h.sync(DtAchieved, f, 1, "lost");
       h.disconnect(16);
       EXPECT_EQ(x(h)->syncPoints().count(), 0u);
     },
     {joinResponseTo(14, "D", 4), "Sync DtSyncPointSucceeded id=1 mid exec=1",
      "Sync DtAnnouncePt id=0 mid tag=t exec=1", "Sync DtAnnouncePt id=0 mid tag=t exec=1",
      "Sync DtSynchronized id=0 mid exec=1", joinResponseTo(15, "E", 5), "Sync DtSyncPointSucceeded id=1 quit exec=1",
      "Sync DtAnnouncePt id=0 quit tag=u exec=1", "Sync DtSynchronized id=0 quit exec=1", joinResponseTo(16, "F", 6),
      "Sync DtSyncPointSucceeded id=1 lost exec=1", "Sync DtAnnouncePt id=0 lost tag=v exec=1",
      "Sync DtSynchronized id=0 lost exec=1"},
     {"Join: federate D has joined X with handle 4.\n", "Federation is synchronized for mid!\n",
      "Federation is synchronized for quit!\n", "Federation is synchronized for lost!\n"},
     {}},
    {"TheLastFederateThatHadNotAchievedLeavingEndsThePoint",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtRegister, 1, 1, "go", "t");
       h.sync(DtRegister, 1, 1, "pair", "u", {2, 3});
       h.sync(DtAchieved, 1, 1, "go");
       h.sync(DtAchieved, 2, 1, "go");
       h.sync(DtAchieved, 2, 1, "pair");
       h.resign("X", 3, 1);  // neither achieved: both end
       EXPECT_EQ(x(h)->syncPoints().count(), 0u);
       h.sync(DtRegister, 1, 1, "lost", "");
       h.sync(DtAchieved, 1, 1, "lost");
       h.disconnect(12);  // B, the last that had not, loses its connection
     },
     {"Sync DtSyncPointSucceeded id=1 go exec=1", "Sync DtAnnouncePt id=0 go tag=t exec=1",
      "Sync DtSyncPointSucceeded id=1 pair exec=1", "Sync DtAnnouncePt id=0 pair tag=u set=2,3 exec=1",
      "Sync DtSynchronized id=0 go exec=1", "Sync DtSynchronized id=0 pair set=2,3 exec=1", "ResignResponse 3 exec=1",
      "Sync DtSyncPointSucceeded id=1 lost exec=1", "Sync DtAnnouncePt id=0 lost tag= exec=1",
      "Resign 2 action=3 exec=1", "Sync DtSynchronized id=0 lost exec=1"},
     {"Federation is synchronized for go!\n", "Federation is synchronized for pair!\n",
      "Resign: federate 3 has resigned X.\n", "Lost connection to federate B(2) in federation X\n",
      "Federation is synchronized for lost!\n", "Resign: federate 2 has resigned X.\n"},
     {}},
    {"AchievementsOfNoPointAndTheSubKindsOfTheRtiexecChangeNothing",
     [](ExecHarness& h) {
       threeJoined(h);
       h.sync(DtAchieved, 1, 1, "nowhere");
       h.sync(DtSynchronized, 1, 1, "a");
       h.sync(DtAnnouncePt, 1, 1, "b");
       h.sync(DtSyncPointSucceeded, 1, 1, "c");
       h.sync(DtSyncPointFailed, 1, 1, "d");
       h.sync(static_cast<DtSyncMsgType>(6), 1, 1, "e");
       h.sync(DtRegister, 1, 2, "other");  // another execution's
       EXPECT_EQ(x(h)->syncPoints().count(), 0u);
     },
     {},
     {"Received achieved message for invalid Sync Point: nowhere.\n", "Got a synchronized for a\n",
      "Got an announce for b\n", "Got an succeeded for c\n", "Got a failed for d\n",
      "Synchronization Point Message kind used is not defined.\n"},
     {"Got a register for other"}},
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class RtiExecSyncPoints : public ::testing::TestWithParam<Scenario> {};

TEST_P(RtiExecSyncPoints, SendsAndPrintsWhatIsExpected) {
  const Scenario& scenario = GetParam();
  ExecHarness harness;
  scenario.steps(harness);
  expectSentAndPrinted(harness, scenario.sent, scenario.printed, scenario.notPrinted);
}

INSTANTIATE_TEST_SUITE_P(Table, RtiExecSyncPoints, ::testing::ValuesIn(scenarios),
                         [](const auto& info) { return std::string(info.param.name); });

struct SyncNotifications {
  std::vector<std::string> seen;
  static void registered(DtSyncPt* point, void* self) {
    static_cast<SyncNotifications*>(self)->seen.push_back("registered " + point->name());
  }
  static void achieved(DtFederate* federate, DtSyncPt* point, void* self) {
    static_cast<SyncNotifications*>(self)->seen.push_back(std::string("achieved ") + federate->getName() + " " +
                                                          point->name());
  }
  static void synchronized(DtSyncPt* point, void* self) {
    static_cast<SyncNotifications*>(self)->seen.push_back("synchronized " + point->name());
  }
};

TEST(RtiExecSyncPointNotifications, RunOncePerStepAndComeOffOneRecordAtATime) {
  ExecHarness h;
  threeJoined(h);
  SyncNotifications n;
  DtFedExec* execution = x(h);
  execution->addSyncPtRegisteredCallback(&SyncNotifications::registered, &n);
  execution->addSyncPtAchievedCallback(&SyncNotifications::achieved, &n);
  execution->addSyncPtAchievedCallback(&SyncNotifications::achieved, &n);
  execution->addFederationSynchronizedCallback(&SyncNotifications::synchronized, &n);
  h.sync(DtRegister, 1, 1, "pair", "", {1, 2});
  h.sync(DtAchieved, 3, 1, "pair");  // not its point: said, and still told
  execution->removeSyncPtAchievedCallback(&SyncNotifications::achieved, &n);
  h.sync(DtAchieved, 1, 1, "pair");
  h.sync(DtAchieved, 2, 1, "pair");
  h.sync(DtRegister, 1, 1, "pair", "");  // retired: registered again
  h.sync(DtRegister, 1, 1, "pair", "");  // a duplicate tells nobody
  execution->removeSyncPtRegisteredCallback(&SyncNotifications::registered, &n);
  execution->removeFederationSynchronizedCallback(&SyncNotifications::synchronized, &n);
  h.sync(DtRegister, 1, 1, "quiet", "");
  for (unsigned long f : {1ul, 2ul, 3ul}) h.sync(DtAchieved, f, 1, "quiet");
  EXPECT_EQ(n.seen,
            (std::vector<std::string>{"registered pair", "achieved C pair", "achieved C pair", "achieved A pair",
                                      "achieved B pair", "synchronized pair", "registered pair", "achieved A quiet",
                                      "achieved B quiet", "achieved C quiet"}));
  EXPECT_NE(h.capture.text().find("SyncPoint pair not found.\n"), std::string::npos);
}

}  // namespace
