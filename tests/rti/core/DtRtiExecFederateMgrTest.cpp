// The federate manager with the rtiexec, over a connection manager whose
// received messages the test queues: which answer a wait takes (its own
// execution, connection, name prefix and ticket), how the rtiexec's answers
// map to exceptions, what happens to the other messages that arrive during
// a wait, and what is refused without asking the rtiexec. Then the
// synchronization points: announced once, only where they concern the
// federate, achieved only once announced, a duplicate label failing in the
// next tick, labels and tags of at most 254 characters and no line feed.

#include <gtest/gtest.h>

#include <memory>

#include "ExecFederateMgrTestSupport.h"
#include "msg/DtSyncPointMsg.h"

namespace {

TEST_F(RtiExecFedMgrTest, AJoinTakesTheAnswerForItsExecutionConnectionAndNamePrefix) {
  answers().push_back(answer<DtCreateResponseMsg>("X", 0, 0));  // another kind
  answers().push_back(joinAnswer(local() + 1, "F1", 7));        // another connection
  answers().push_back(joinAnswer(local(), "F1", 8, 0, "Y"));    // another execution
  answers().push_back(joinAnswer(local(), "G", 9));             // another name
  answers().push_back(joinAnswer(local(), "F", 5));             // its own: F is a prefix of F1
  EXPECT_EQ(join(), 5u);
  EXPECT_EQ(fedMgr->federateHandle(), 5u);
  EXPECT_EQ(fedMgr->executionHandle(), 3u);
  EXPECT_EQ(sentKinds(), (std::vector<int>{DtJoinMsgKind, DtJoinConfirmMsgKind}));
  EXPECT_EQ(connection().sent.back()->federateHandle(), 5u);
  EXPECT_NE(capture.text().find("got some other kind of message 4\n"), std::string::npos);
  // Not joined while it waited: nothing is kept.
  EXPECT_EQ(connection().pendingMsgCount(), 0);

  // An answer repeated by the rtiexec is confirmed again.
  connection().processMsg(*joinAnswer(local(), "F1", 5));
  EXPECT_EQ(sentKinds().back(), DtJoinConfirmMsgKind);
  EXPECT_EQ(sentKinds().size(), 3u);
}

TEST_F(RtiExecFedMgrTest, TheRtiexecsRefusalsBecomeExceptionsAndLeaveTheFederateOut) {
  struct Case {
    int error;
    const char* exception;
  };
  for (const Case& c : {Case{1, "FederationExecutionDoesNotExist"}, Case{2, "SaveInProgress"},
                        Case{3, "RestoreInProgress"}, Case{7, "RTIinternalError"}}) {
    SCOPED_TRACE(c.error);
    answers().push_back(joinAnswer(local(), "F1", 0, c.error));
    try {
      join();
      ADD_FAILURE() << "joined";
    } catch (const RTI::Exception& e) {
      EXPECT_STREQ(e._name, c.exception);
    }
    EXPECT_FALSE(fedMgr->isJoined());
  }
  // No answer at all.
  EXPECT_THROW(join(), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("Could not join X:  Could not connect to rtiexec.\n"), std::string::npos);
}

TEST_F(RtiExecFedMgrTest, CreateAndDestroyTakeOnlyTheAnswerThatCarriesTheirTicket) {
  const std::uint16_t ticket = fedMgr->ticket();
  // Another federate's answer about X, then this one's.
  answers().push_back(answer<DtCreateResponseMsg>("X", 0, ticket + 1));
  answers().push_back(answer<DtCreateResponseMsg>("X", 1, ticket));
  EXPECT_THROW(fedMgr->createFederationExecution("X", "X.fed"), RTI::FederationExecutionAlreadyExists);
  EXPECT_EQ(connection().sent.back()->federateHandle(), ticket);

  struct Flag {
    int flag;
    const char* exception;  // empty: destroyed
  };
  for (const Flag& f : {Flag{1, "FederationExecutionDoesNotExist"}, Flag{2, "FederatesCurrentlyJoined"}, Flag{0, ""}}) {
    answers().push_back(answer<DtDestroyResponseMsg>("X", 2, ticket + 1));
    answers().push_back(answer<DtDestroyResponseMsg>("X", f.flag, ticket));
    try {
      fedMgr->destroyFederationExecution("X");
      EXPECT_STREQ(f.exception, "");
    } catch (const RTI::Exception& e) {
      EXPECT_STREQ(e._name, f.exception);
    }
  }
  // Without an answer of its own.
  answers().push_back(answer<DtCreateResponseMsg>("X", 0, ticket + 1));
  EXPECT_THROW(fedMgr->createFederationExecution("X", "X.fed"), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("Could not create X:  Could not connect to rtiexec.\n"), std::string::npos);
  EXPECT_THROW(fedMgr->destroyFederationExecution("X"), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("Could not destroy X:  Could not connect to rtiexec.\n"), std::string::npos);
}

TEST_F(RtiExecFedMgrTest, WhileJoinedWhatArrivesDuringAWaitIsDeliveredAtTheNextTick) {
  answers().push_back(joinAnswer(local(), "F1", 5));
  join();
  const std::size_t logged = log.size();
  // What came before the request, and what comes during the wait.
  DtResignMsg earlier("X", 8, RTI::DELETE_OBJECTS, nullptr);
  connection().received.push_back(std::unique_ptr<DtRtiMsg>(earlier.clone(1)));
  DtResignMsg during("X", 9, RTI::DELETE_OBJECTS, nullptr);
  answers().push_back(std::unique_ptr<DtRtiMsg>(during.clone(1)));
  answers().push_back(answer<DtDestroyResponseMsg>("Y", 0, fedMgr->ticket()));
  fedMgr->destroyFederationExecution("Y");
  EXPECT_EQ(connection().pendingMsgCount(), 2);
  fedMgr->tick();
  fedMgr->tick();
  ManagerLog delivered;
  for (std::size_t i = logged; i < log.size(); ++i) {
    if (log[i].rfind("send ", 0) != 0) delivered.push_back(log[i]);
  }
  EXPECT_EQ(delivered, (ManagerLog{"objMgr processResign 8", "interMgr processResign 8", "objMgr processResign 9",
                                   "interMgr processResign 9"}));
}

TEST_F(RtiExecFedMgrTest, TheJoinedExecutionIsNeitherCreatedNorDestroyedWithoutAsking) {
  answers().push_back(joinAnswer(local(), "F1", 5));
  join();
  connection().sent.clear();
  EXPECT_THROW(fedMgr->createFederationExecution("X", "X.fed"), RTI::FederationExecutionAlreadyExists);
  EXPECT_THROW(fedMgr->destroyFederationExecution("X"), RTI::FederatesCurrentlyJoined);
  EXPECT_TRUE(connection().sent.empty());
}

TEST_F(RtiExecFedMgrTest, TheConnectMessageGivesTheNumberAndTheDesignationIsItsOwn) {
  DtConnectMsg connect;
  connect.setConnectionHandle(42);
  connection().processMsg(connect);
  EXPECT_EQ(local(), 42u);
  answers().push_back(joinAnswer(42, "F1", 5));
  join();
  connection().processMsg(DtDesignatedFederateMsg(6, nullptr));
  EXPECT_FALSE(fedMgr->isDesignatedFederate());
  connection().processMsg(DtDesignatedFederateMsg(5, nullptr));
  EXPECT_TRUE(fedMgr->isDesignatedFederate());
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  EXPECT_FALSE(fedMgr->isDesignatedFederate());
}

// Synchronization points, the federate's side ------------------------------------------------

class SyncRecordingAmb : public NullFederateAmbassador {
public:
  void synchronizationPointRegistrationSucceeded(const char* label) override {
    seen.push_back(std::string("succeeded ") + label);
  }
  void synchronizationPointRegistrationFailed(const char* label) override {
    seen.push_back(std::string("failed ") + label);
  }
  void announceSynchronizationPoint(const char* label, const char* tag) override {
    seen.push_back(std::string("announce ") + label + " " + tag);
  }
  void federationSynchronized(const char* label) override { seen.push_back(std::string("synchronized ") + label); }
  std::vector<std::string> seen;
};

// The rtiexec's message about the execution X (handle 3) that F1 joined.
DtSyncPointMsg syncFromExec(DtSyncMsgType kind, unsigned long federateId, const char* label, const char* tag = nullptr,
                            const std::vector<std::uint32_t>& set = {}, int execution = 3) {
  DtSyncPointMsg msg(kind, federateId, label, tag, nullptr);
  msg.setFederateHandles(set);
  msg.setFedEx(execution);
  return msg;
}

class RtiExecSyncTest : public RtiExecFedMgrTest {
protected:
  void SetUp() override {
    RtiExecFedMgrTest::SetUp();
    answers().push_back(joinAnswer(local(), "F1", 5));
    fedMgr->joinFederationExecution("F1", "X", &amb);
    connection().sent.clear();
  }
  void receive(const DtSyncPointMsg& msg) { connection().processMsg(msg); }
  // The synchronization point messages sent, described.
  std::vector<std::string> sentSync() {
    std::vector<std::string> texts;
    for (const auto& msg : connection().sent) {
      auto* m = dynamic_cast<const DtSyncPointMsg*>(msg.get());
      if (!m) continue;
      std::string text = std::string(DtSyncMsgTypeName(m->syncMsgKind())) + " id=" + std::to_string(m->federateId()) +
                         " " + (m->syncPointName() ? m->syncPointName() : "") + " tag=" + (m->tag() ? m->tag() : "-") +
                         " exec=" + std::to_string(m->fedExHandle()) + " from=" + std::to_string(m->federateHandle());
      for (const std::uint32_t h : m->federateHandles()) text += " " + std::to_string(h);
      texts.push_back(text);
    }
    connection().sent.clear();
    return texts;
  }
  SyncRecordingAmb amb;
};

TEST_F(RtiExecSyncTest, APointIsAnnouncedOnceAndOnlyWhereItIsConcerned) {
  receive(syncFromExec(DtAnnouncePt, 0, "go", "t"));
  receive(syncFromExec(DtAnnouncePt, 0, "go", "t"));             // a late joiner's, heard again
  receive(syncFromExec(DtAnnouncePt, 0, "theirs", "", {6, 7}));  // not for 5
  receive(syncFromExec(DtAnnouncePt, 0, "ours", "u", {6, 5}));
  receive(syncFromExec(DtAnnouncePt, 0, "elsewhere", "", {}, 4));  // another execution
  receive(syncFromExec(DtSynchronized, 0, "theirs", nullptr, {6, 7}));
  receive(syncFromExec(DtSynchronized, 0, "go"));
  receive(syncFromExec(DtSynchronized, 0, "ours", nullptr, {5}));
  receive(syncFromExec(DtSyncPointSucceeded, 6, "x"));  // another registrant's
  receive(syncFromExec(DtSyncPointSucceeded, 5, "x"));
  receive(syncFromExec(DtSyncPointFailed, 6, "y"));
  receive(syncFromExec(DtSyncPointFailed, 5, "y"));
  receive(syncFromExec(DtRegister, 5, "z"));  // federates' own sub-kinds
  receive(syncFromExec(DtAchieved, 5, "z"));
  capture.clear();
  receive(syncFromExec(static_cast<DtSyncMsgType>(6), 5, "z"));
  EXPECT_EQ(amb.seen, (std::vector<std::string>{"announce go t", "announce ours u", "synchronized go",
                                                "synchronized ours", "succeeded x", "failed y"}));
  EXPECT_NE(capture.text().find("Synchronization Point Message kind used is not defined.\n"), std::string::npos);
  EXPECT_TRUE(fedMgr->syncLabels().empty());
}

TEST_F(RtiExecSyncTest, OnlyAnAnnouncedLabelCanBeAchieved) {
  try {
    fedMgr->synchronizationPointAchieved("go");
    ADD_FAILURE() << "achieved";
  } catch (const RTI::SynchronizationPointLabelWasNotAnnounced& e) {
    EXPECT_STREQ(e._reason, "");
  }
  EXPECT_TRUE(sentSync().empty());
  receive(syncFromExec(DtAnnouncePt, 0, "go", "t"));
  fedMgr->synchronizationPointAchieved("go");
  fedMgr->synchronizationPointAchieved("go");  // until it is synchronized
  EXPECT_EQ(sentSync(), (std::vector<std::string>{"DtAchieved id=5 go tag=- exec=3 from=5",
                                                  "DtAchieved id=5 go tag=- exec=3 from=5"}));
  receive(syncFromExec(DtSynchronized, 0, "go"));
  EXPECT_THROW(fedMgr->synchronizationPointAchieved("go"), RTI::SynchronizationPointLabelWasNotAnnounced);
}

TEST_F(RtiExecSyncTest, ARegistrationGoesToTheRtiexecAndADuplicateFailsAtTheNextTick) {
  std::unique_ptr<RTI::FederateHandleSet> set(RTI::FederateHandleSetFactory::create(2));
  set->add(5);
  set->add(6);
  fedMgr->registerFederationSynchronizationPoint("go", "t", *set);
  fedMgr->registerFederationSynchronizationPoint("all", nullptr);
  EXPECT_EQ(sentSync(), (std::vector<std::string>{"DtRegister id=5 go tag=t exec=3 from=5 5 6",
                                                  "DtRegister id=5 all tag= exec=3 from=5"}));
  receive(syncFromExec(DtAnnouncePt, 0, "go", "t", {5, 6}));
  amb.seen.clear();
  // Known here: refused without asking, and said in the next tick.
  fedMgr->registerFederationSynchronizationPoint("go", "again");
  EXPECT_TRUE(amb.seen.empty());
  EXPECT_TRUE(sentSync().empty());
  fedMgr->tick();
  EXPECT_EQ(amb.seen, std::vector<std::string>{"failed go"});
}

TEST_F(RtiExecSyncTest, LabelsAndTagsOfMoreThan254CharactersOrWithALineFeedAreRefused) {
  const std::string longest(254, 'a');
  const std::string tooLong(255, 'b');
  fedMgr->registerFederationSynchronizationPoint(longest.c_str(), longest.c_str());
  fedMgr->registerFederationSynchronizationPoint("with blanks", "and\ttabs");
  EXPECT_EQ(sentSync().size(), 2u);
  EXPECT_THROW(fedMgr->registerFederationSynchronizationPoint(tooLong.c_str(), ""), RTI::RTIinternalError);
  EXPECT_THROW(fedMgr->registerFederationSynchronizationPoint("go", tooLong.c_str()), RTI::RTIinternalError);
  EXPECT_THROW(fedMgr->registerFederationSynchronizationPoint("two\nlines", ""), RTI::RTIinternalError);
  EXPECT_THROW(fedMgr->registerFederationSynchronizationPoint("go", "two\nlines"), RTI::RTIinternalError);
  EXPECT_TRUE(sentSync().empty());
}

TEST_F(RtiExecSyncTest, AResignForgetsTheLabels) {
  receive(syncFromExec(DtAnnouncePt, 0, "go", "t"));
  EXPECT_EQ(fedMgr->syncLabels().size(), 1u);
  fedMgr->resignFederationExecution(RTI::NO_ACTION);
  EXPECT_TRUE(fedMgr->syncLabels().empty());
  receive(syncFromExec(DtAnnouncePt, 0, "late", "t"));  // no longer listened to
  EXPECT_EQ(amb.seen, std::vector<std::string>{"announce go t"});
}

}  // namespace
