// Save and restore in the rtiexec's executions, driven in-process: what a
// save and a restore send from request to end, the refusals (a request
// during another, a restore of no save, of another federation, of a damaged
// file), failures (a federate's, a departure, the deadline), joins during
// both, the federates renumbered as saved by their names, and the open
// synchronization points brought back with who achieved them.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "ExecTestSupport.h"
#include "exec/DtExecSaveRestore.h"
#include "exec/DtExecTimeMgr.h"
#include "fedtime.hh"
#include "msg/DtSaveMsgs.h"
#include "msg/DtTimeMsgs.h"

using namespace exectest;

namespace {

std::string describeSave(const DtRtiMsg& msg) {
  if (auto* m = dynamic_cast<const DtSaveResponseMsg*>(&msg))
    return "SaveResponse " + std::to_string(m->requestingFederate()) + " " + m->label() + " " +
           std::to_string(m->responseFlag());
  if (auto* m = dynamic_cast<const DtSaveFinishedMsg*>(&msg))
    return std::string("SaveFinished ") + m->label() + " " + std::to_string(m->successIndicator());
  if (auto* m = dynamic_cast<const DtRestoreEndMsg*>(&msg))
    return std::string("RestoreEnd ") + m->label() + " " + std::to_string(m->successIndicator());
  if (auto* m = dynamic_cast<const DtRestoreReplyMsg*>(&msg))
    return "RestoreReply to=" + std::to_string(m->destinationID()) + " " + m->label() + " " +
           std::to_string(static_cast<int>(m->reply()));
  if (auto* m = dynamic_cast<const DtRestoreMsg*>(&msg)) return std::string("Restore ") + m->label();
  if (auto* m = dynamic_cast<const DtSaveTimeMsg*>(&msg)) {
    return "SaveTime " + std::to_string(static_cast<int>(RTIfedTime(m->time()).getTime()));
  }
  if (auto* m = dynamic_cast<const DtRestoreInitiateMsg*>(&msg))
    return "RestoreInitiate " + std::to_string(m->oldHandle()) + "->" + std::to_string(m->newHandle());
  // The time management's own answers and bounds, by kind.
  if (msg.msgKind() >= DtRegulationEnabledMsgKind && msg.msgKind() <= DtResumeConstrainedMsgKind) {
    return "time " + std::to_string(static_cast<int>(msg.msgKind()));
  }
  return describe(msg);
}

std::vector<std::string> handlesOf(DtFedExec& execution) {
  std::vector<std::string> names;
  for (DtFederate* federate : execution.federates())
    names.push_back(std::string(federate->getName()) + "=" + std::to_string(federate->getHandle()) + "@" +
                    std::to_string(federate->getConnectionHandle()));
  return names;
}

// The helpers are public: the tables' steps use them.
class ExecSaveRestore : public ::testing::Test {
public:
  ExecSaveRestore() : h("(setq RTI_saveRestoreDirectory \"" + saves.path() + "\")\n") {
    h.create("X");
    h.joinAndConfirm("X", "A", 11, 1, 1);
    h.joinAndConfirm("X", "B", 12, 2, 1);
    h.takeSent();
  }
  DtFedExec& x() { return *h.exec().fedExec("X"); }
  std::vector<std::string> sent() {
    std::vector<std::string> texts;
    for (const auto& msg : h.mgr().sent) texts.push_back(describeSave(*msg));
    h.mgr().sent.clear();
    return texts;
  }
  void request(const char* label, unsigned long from) { h.deliverFrom(DtSaveRequestMsg(label, nullptr), from, 1); }
  void complete(const char* label, unsigned long from, char success = 1) {
    h.deliverFrom(DtSaveCompleteMsg(label, success, nullptr), from, 1);
  }
  void restoreRequest(const char* label, unsigned long from) {
    h.deliverFrom(DtRestoreRequestMsg(label, nullptr), from, 1);
  }
  void begun(unsigned long from, DtResponseFlag flag = 0) {
    h.deliverFrom(DtRestoreBegunMsg(from, "L", flag, nullptr), from, 1);
  }
  void restored(unsigned long from, char success = 1) {
    h.deliverFrom(DtRestoreCompleteMsg("L", success, nullptr), from, 1);
  }
  // A save of L by both federates.
  void saveBoth(const char* label = "L") {
    request(label, 1);
    complete(label, 1);
    complete(label, 2);
    sent();
  }
  std::string file(const char* label) const { return saves.path() + "/" + label + "-X-HLA_fedex.sav"; }

  ScratchDirectory saves;
  ExecHarness h;
};

TEST_F(ExecSaveRestore, ASaveStartsEveryFederateAndEndsWhenAllCompleted) {
  request("L", 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 1 L 1"}));
  EXPECT_TRUE(x().saveInProgress());
  EXPECT_EQ(x().saveRestore().reporting(), (std::set<std::uint32_t>{1, 2}));
  // Another request while it runs, even before it has begun, is refused.
  request("M", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 2 M 0"}));
  h.deliverFrom(DtSaveBegunMsg(nullptr), 1, 1);
  EXPECT_TRUE(x().saveRestore().saveBegun());
  complete("L", 1);
  complete("M", 2);  // not this save's
  EXPECT_TRUE(sent().empty());
  complete("L", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveFinished L 1"}));
  EXPECT_FALSE(x().saveInProgress());
  EXPECT_FALSE(x().saveRestore().saveBegun());
  EXPECT_TRUE(std::filesystem::exists(file("L")));
  EXPECT_NE(h.capture.text().find("Federate 2 reports save complete\nAll federates and fedex have finished saving\n"),
            std::string::npos);
}

TEST_F(ExecSaveRestore, TheBegunReportOfAnotherExecutionIsNotThisOnes) {
  h.create("Y");
  h.joinAndConfirm("Y", "C", 21, 1, 2);
  request("L", 1);
  h.deliverFrom(DtSaveBegunMsg(nullptr), 1, 2);
  EXPECT_FALSE(x().saveRestore().saveBegun());
}

struct SaveFailure {
  const char* name;
  std::function<void(ExecSaveRestore&)> fail;
  std::vector<std::string> sent;  // after the answer to the request
  const char* printed;
};

void PrintTo(const SaveFailure& failure, std::ostream* out) { *out << failure.name; }

class ExecSaveFailure : public ExecSaveRestore, public ::testing::WithParamInterface<SaveFailure> {};

TEST_P(ExecSaveFailure, EndsTheSaveForEveryoneAndRemovesTheOldFileOfItsLabel) {
  const SaveFailure& c = GetParam();
  saveBoth("L");
  request("L", 1);
  complete("L", 1);
  c.fail(*this);
  std::vector<std::string> expected{"SaveResponse 1 L 1"};
  expected.insert(expected.end(), c.sent.begin(), c.sent.end());
  EXPECT_EQ(sent(), expected);
  EXPECT_NE(h.capture.text().find(c.printed), std::string::npos);
  EXPECT_FALSE(x().saveInProgress());
  // The federates' files of L may be partly new: the save of L is gone.
  EXPECT_FALSE(std::filesystem::exists(file("L")));
  complete("L", 2);  // late
  EXPECT_TRUE(sent().empty());
}

const SaveFailure saveFailures[] = {
    {"AFederatesFailure",
     [](ExecSaveRestore& t) { t.complete("L", 2, 0); },
     {"SaveFinished L 0"},
     "Federate 2 reports save failed\n"},
    {"AResignation",
     [](ExecSaveRestore& t) { t.h.resign("X", 2, 1); },
     {"SaveFinished L 0", "ResignResponse 2 exec=1"},
     "Federate 2 resigned during save\n"},
    {"ALostConnection",
     [](ExecSaveRestore& t) { t.h.disconnect(12); },
     {"Resign 2 action=3 exec=1", "SaveFinished L 0"},
     "Federate 2 resigned during save\n"},
    {"TheDeadline",
     [](ExecSaveRestore& t) {
       t.h.now += 120;
       t.h.exec().tick();
       EXPECT_TRUE(t.x().saveInProgress());
       t.h.now += 1;
       t.h.exec().tick();
     },
     {"SaveFinished L 0"},
     "Timed out save\n"},
};

INSTANTIATE_TEST_SUITE_P(Table, ExecSaveFailure, ::testing::ValuesIn(saveFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExecSaveRestore, JoinsAreRefusedWhileASaveOrARestoreRuns) {
  request("L", 1);
  h.join("X", "C", 13);
  complete("L", 1);
  complete("L", 2);
  restoreRequest("L", 1);
  h.join("X", "D", 14);
  const std::vector<std::string> messages = sent();
  ASSERT_EQ(messages.size(), 6u);
  EXPECT_EQ(messages[1], "JoinResponse to=13 X C execution=1 handle=0 error=2 fed=x.fed exec=0");
  EXPECT_EQ(messages[5], "JoinResponse to=14 X D execution=1 handle=0 error=3 fed=x.fed exec=0");
  EXPECT_EQ(x().pendingJoinCount(), 0u);
}

TEST_F(ExecSaveRestore, ARestoreRenumbersTheFederatesAsSavedByTheirNames) {
  saveBoth();
  // Another run: B and A join again, in the other order.
  h.resign("X", 1, 1);
  h.resign("X", 2, 1);
  h.joinAndConfirm("X", "B", 13, 3, 1);
  h.joinAndConfirm("X", "A", 14, 4, 1);
  sent();
  restoreRequest("L", 3);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreReply to=3 L 0", "Restore L"}));
  EXPECT_TRUE(x().restoreInProgress());
  begun(3);
  EXPECT_TRUE(sent().empty());
  begun(4);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreInitiate 3->2", "RestoreInitiate 4->1"}));
  restored(3);
  restored(4);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreEnd L 1"}));
  EXPECT_FALSE(x().restoreInProgress());
  EXPECT_EQ(handlesOf(x()), (std::vector<std::string>{"A=1@14", "B=2@13"}));
  // The next join is numbered as the save would have numbered it.
  h.joinAndConfirm("X", "C", 15, 3, 1);
  EXPECT_EQ(handlesOf(x()).back(), "C=3@15");
}

TEST_F(ExecSaveRestore, FederatesOfOneNameTakeTheirSavedHandlesInOrder) {
  h.resign("X", 2, 1);
  h.joinAndConfirm("X", "A", 12, 3, 1);
  request("L", 1);
  complete("L", 1);
  complete("L", 3);  // saved: A=1, A=3
  h.resign("X", 1, 1);
  h.resign("X", 3, 1);
  h.joinAndConfirm("X", "A", 15, 4, 1);
  h.joinAndConfirm("X", "A", 16, 5, 1);
  sent();
  restoreRequest("L", 5);
  begun(5);
  begun(4);
  restored(4);
  restored(5);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreReply to=5 L 0", "Restore L", "RestoreInitiate 4->1",
                                              "RestoreInitiate 5->3", "RestoreEnd L 1"}));
  EXPECT_EQ(handlesOf(x()), (std::vector<std::string>{"A=1@15", "A=3@16"}));
}

TEST_F(ExecSaveRestore, ARestoreBringsBackTheOpenSynchronizationPointsAndWhoAchievedThem) {
  h.sync(DtRegister, 1, 1, "all", "t");
  h.sync(DtRegister, 2, 1, "pair of us", "u v", {2, 1});
  h.sync(DtAchieved, 1, 1, "all");
  saveBoth();
  const std::optional<std::string> bytes = DtExecSaveFile::read(file("L"), nullptr);
  ASSERT_TRUE(bytes);
  EXPECT_NE(bytes->find("1 11 2 A\n1 all\nt\n0 pair of us\nu v\n"
                        "2 12 2 B\n0 all\nt\n0 pair of us\nu v\n"
                        "2 sync points\n0 all\nt\n2 pair of us\nu v\n  2\n  1\n"),
            std::string::npos);

  // After the save: one point ends, another opens.
  h.sync(DtAchieved, 2, 1, "all");
  h.sync(DtRegister, 1, 1, "later", "w");
  sent();
  restoreRequest("L", 2);
  begun(1);
  begun(2);
  restored(1);
  restored(2);
  ASSERT_EQ(sent().back(), "RestoreEnd L 1");
  std::vector<std::string> points;
  for (const DtSyncPt* point : x().syncPoints().list()) points.push_back(point->name() + "/" + point->tag());
  EXPECT_EQ(points, (std::vector<std::string>{"all/t", "pair of us/u v"}));
  EXPECT_EQ(x().syncPoints().lookupSyncPoint("pair of us")->federates(), (std::vector<std::uint32_t>{2, 1}));
  EXPECT_EQ(x().getFederate(1)->syncPtList().count(), 2u);
  EXPECT_EQ(x().getFederate(2)->syncPtList().lookupSyncPoint("later"), nullptr);
  // A's achievement was kept: B's alone ends the point, again.
  h.sync(DtAchieved, 2, 1, "all");
  EXPECT_EQ(sent(), (std::vector<std::string>{"Sync DtSynchronized id=0 all exec=1"}));
  h.sync(DtAchieved, 1, 1, "pair of us");
  h.sync(DtAchieved, 2, 1, "pair of us");
  EXPECT_EQ(sent(), (std::vector<std::string>{"Sync DtSynchronized id=0 pair of us set=2,1 exec=1"}));
  EXPECT_EQ(x().syncPoints().count(), 0u);
}

TEST_F(ExecSaveRestore, ARestoreThatCannotBeDoneIsRefusedWithItsCode) {
  saveBoth();
  // A save of another FED file, and a damaged one.
  DtExecSavedState other = x().savedState();
  other.fedFile = "other.fed";
  std::string reason;
  ASSERT_TRUE(DtExecSaveFile::write(file("Other"), *DtExecSaveFile::format(other, "Other", "now\n", &reason), &reason));
  std::filesystem::copy_file(file("L"), file("Cut"));
  std::filesystem::resize_file(file("Cut"), std::filesystem::file_size(file("Cut")) - 3);
  restoreRequest("Nothing", 1);
  restoreRequest("Other", 1);
  restoreRequest("Cut", 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreReply to=1 Nothing 1", "RestoreReply to=1 Other 2",
                                              "RestoreReply to=1 Cut 2"}));
  h.joinAndConfirm("X", "C", 13, 3, 1);
  sent();
  restoreRequest("L", 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreReply to=1 L 2"}));
  for (const char* line :
       {"Restore Nothing not found\n", "FedFile: x.fed vs other.fed\n", "is damaged: the binary part ends early\n",
        "Number federates(3) does not match save file(2)\n"}) {
    EXPECT_NE(h.capture.text().find(line), std::string::npos) << line;
  }
  // One at a time, and none during a save.
  h.resign("X", 3, 1);
  restoreRequest("L", 1);
  restoreRequest("L", 2);
  sent();
  EXPECT_TRUE(x().restoreInProgress());
  request("S", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 2 S 0"}));
}

TEST_F(ExecSaveRestore, ARestoreEndsWithFailureForAFailureADepartureOrTheDeadline) {
  saveBoth();
  struct Case {
    const char* what;
    std::function<void(ExecSaveRestore&)> fail;
    std::vector<std::string> sent;
  };
  const Case cases[] = {
      {"a failed begin", [](ExecSaveRestore& t) { t.begun(2, 1); }, {"RestoreEnd L 0"}},
      {"a failed completion",
       [](ExecSaveRestore& t) {
         t.begun(1);
         t.begun(2);
         t.restored(1, 0);
       },
       {"RestoreInitiate 1->1", "RestoreInitiate 2->2", "RestoreEnd L 0"}},
      {"the deadline of the first phase",
       [](ExecSaveRestore& t) {
         t.h.now += 121;
         t.h.exec().tick();
       },
       {"RestoreEnd L 0"}},
      {"the deadline of the second phase, from its start",
       [](ExecSaveRestore& t) {
         t.h.now += 100;
         t.begun(1);
         t.begun(2);
         t.h.now += 100;
         t.h.exec().tick();
         t.h.now += 21;
         t.h.exec().tick();
       },
       {"RestoreInitiate 1->1", "RestoreInitiate 2->2", "RestoreEnd L 0"}},
      {"the file gone at the end",
       [](ExecSaveRestore& t) {
         t.begun(1);
         t.begun(2);
         std::filesystem::rename(t.file("L"), t.file("Gone"));
         t.restored(1);
         t.restored(2);
         std::filesystem::rename(t.file("Gone"), t.file("L"));
       },
       {"RestoreInitiate 1->1", "RestoreInitiate 2->2", "RestoreEnd L 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    restoreRequest("L", 1);
    EXPECT_EQ(sent(), (std::vector<std::string>{"RestoreReply to=1 L 0", "Restore L"}));
    c.fail(*this);
    EXPECT_EQ(sent(), c.sent);
    EXPECT_FALSE(x().restoreInProgress());
    EXPECT_EQ(handlesOf(x()), (std::vector<std::string>{"A=1@11", "B=2@12"}));
  }
  restoreRequest("L", 1);
  h.resign("X", 2, 1);
  const std::vector<std::string> afterResign = sent();
  ASSERT_GE(afterResign.size(), 2u);
  EXPECT_EQ(afterResign[afterResign.size() - 2], "RestoreEnd L 0");
  EXPECT_EQ(afterResign.back(), "ResignResponse 2 exec=1");
  EXPECT_NE(h.capture.text().find("Federate 2 resigned during restore\n"), std::string::npos);
}

// ---- saves at a federation time

class ExecTimedSave : public ExecSaveRestore {
public:
  // A regulates from 0 (lookahead 1), B is constrained.
  ExecTimedSave() {
    h.deliverFrom(DtEnableRegulationMsg(RTIfedTime(0), RTIfedTime(1), nullptr), 1, 1);
    h.deliverFrom(DtEnableConstrainedMsg(RTIfedTime(0), RTIfedTime(1), nullptr), 2, 1);
    sent();
  }
  void requestAt(const char* label, double time, unsigned long from) {
    h.deliverFrom(DtSaveRequestTsoMsg(label, RTIfedTime(time), nullptr), from, 1);
  }
  void reached(unsigned long from) { h.deliverFrom(DtSaveTimeAdvanceMsg(), from, 1); }
};

TEST_F(ExecTimedSave, TheSaveStartsWhenEveryConstrainedFederateReachedItsTime) {
  requestAt("T", 5, 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveTime 5"}));
  EXPECT_TRUE(x().saveRestore().timedSavePending());
  EXPECT_FALSE(x().saveInProgress());
  // A second timed request is dropped, a join refused.
  requestAt("U", 6, 1);
  EXPECT_NE(h.capture.text().find("Timed save request pending already in progress\n"), std::string::npos);
  h.join("X", "C", 13);
  EXPECT_EQ(sent(), (std::vector<std::string>{"JoinResponse to=13 X C execution=1 handle=0 error=2 fed=x.fed exec=0"}));
  reached(1);  // not constrained: does not count
  EXPECT_TRUE(sent().empty());
  reached(2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 1 T 1"}));
  reached(2);  // once started, no second start
  EXPECT_TRUE(sent().empty());
  complete("T", 1);
  complete("T", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveFinished T 1", "time 56"}));
  EXPECT_FALSE(x().saveRestore().timedSavePending());
}

TEST_F(ExecSaveRestore, WithoutConstrainedFederatesATimedSaveStartsAtOnce) {
  h.deliverFrom(DtSaveRequestTsoMsg("T", RTIfedTime(5), nullptr), 2, 1);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 2 T 1"}));
  EXPECT_TRUE(x().saveInProgress());
}

TEST_F(ExecTimedSave, APendingTimedSaveEndsForEveryoneAtItsDeadlineOrADeparture) {
  // Each ends the pending save with a finished message to all (the
  // federates held at the save time go on), and joins are taken again.
  requestAt("T", 5, 1);
  sent();
  h.now += 121;
  h.exec().tick();
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveFinished T 0", "time 56"}));
  EXPECT_NE(h.capture.text().find("Timed out save\n"), std::string::npos);
  EXPECT_FALSE(x().saveRestore().timedSavePending());

  requestAt("T2", 5, 1);
  sent();
  h.resign("X", 2, 1);
  const std::vector<std::string> afterResign = sent();
  ASSERT_FALSE(afterResign.empty());
  EXPECT_EQ(afterResign.front(), "SaveFinished T2 0");
  EXPECT_NE(h.capture.text().find("Federate 2 resigned during save\n"), std::string::npos);
  h.join("X", "C", 13);
  EXPECT_EQ(sent().front(), "JoinResponse to=13 X C execution=1 handle=3 error=0 fed=x.fed exec=0");
}

TEST_F(ExecTimedSave, AnUntimedRequestDuringAPendingTimedSaveIsAnswered) {
  // Below the lag LBTS (one regulator: infinity) the timed save stands: refused.
  requestAt("T", 5, 1);
  sent();
  request("M", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 2 M 0"}));
  EXPECT_TRUE(x().saveRestore().timedSavePending());
  // With the lag LBTS at or below the save time, the untimed save takes
  // over: a second regulator (its regulation waits for B's sync answer).
  h.now += 121;
  h.exec().tick();
  h.joinAndConfirm("X", "C", 13, 3, 1);
  h.deliverFrom(DtEnableRegulationMsg(RTIfedTime(0), RTIfedTime(1), nullptr), 3, 1);
  h.deliverFrom(DtConstrainedSyncMsg(RTIfedTime(0), RTIfedTime(1), nullptr), 2, 1);
  requestAt("T", 5, 1);
  sent();
  ASSERT_FALSE(x().saveRestore().saveTime() < x().timeMgmt().lagLbts());
  request("M", 2);
  EXPECT_EQ(sent(), (std::vector<std::string>{"SaveResponse 2 M 1"}));
  EXPECT_TRUE(x().saveInProgress());
}

}  // namespace
