// The federate's half of save and restore with the rtiexec, over a
// connection manager whose received messages the test queues: the save
// request and its answer, the start of a save from an accepted answer only,
// the file every manager writes (with the messages held back) and what a
// failed stage or write makes of the answer, the synchronization labels
// saved and restored, the restore under the saved handle and back to the
// old one when it fails, the restore replies.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ExecFederateMgrTestSupport.h"
#include "api/DtAttributeHandleSet.h"
#include "msg/DtNetNumber.h"
#include "msg/DtSyncPointMsg.h"
#include "objects/DtFomClassMgr.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

namespace {

// The save and restore callbacks, as lines.
class SaveFedAmb : public NullFederateAmbassador {
public:
  void initiateFederateSave(const char* label) override {
    seen.push_back(std::string("initiateFederateSave ") + label);
  }
  void federationSaved() override { seen.push_back("federationSaved"); }
  void federationNotSaved() override { seen.push_back("federationNotSaved"); }
  void requestFederationRestoreSucceeded(const char* label) override {
    seen.push_back(std::string("restoreSucceeded ") + label);
  }
  void requestFederationRestoreFailed(const char* label, const char* reason) override {
    seen.push_back(std::string("restoreFailed ") + label + ": " + reason);
  }
  void federationRestoreBegun() override { seen.push_back("federationRestoreBegun"); }
  void initiateFederateRestore(const char* label, RTI::FederateHandle handle) override {
    seen.push_back(std::string("initiateFederateRestore ") + label + " " + std::to_string(handle));
  }
  void federationRestored() override { seen.push_back("federationRestored"); }
  void federationNotRestored() override { seen.push_back("federationNotRestored"); }
  std::vector<std::string> seen;
};

// A real object manager whose save or restore the test can make fail.
class StageObjectMgr : public DtObjectMgr {
public:
  enum Fault { None, SaveThrows, SaveFails, RestoreThrows, RestoreFails };
  static inline Fault fault = None;
  using DtObjectMgr::DtObjectMgr;
  bool save(DtRtiSaveFile& file) const override {
    if (fault == SaveThrows) throw std::runtime_error("no room");
    if (fault == SaveFails) return false;
    return DtObjectMgr::save(file);
  }
  bool restore(DtRtiSaveFile& file) override {
    if (fault == RestoreThrows) throw RTI::RTIinternalError("broken");
    if (fault == RestoreFails) return false;
    return DtObjectMgr::restore(file);
  }
};

std::string typesOf(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  std::string types;
  while (const DtSavePacket* packet = file.readNextPacket()) types += std::to_string(packet->type()) + " ";
  return types;
}

template <class Msg>
std::unique_ptr<DtRtiMsg> stamped(Msg msg, unsigned long federate = 0) {
  msg.setFederateHandle(federate);
  msg.setFedEx(3);
  return std::unique_ptr<DtRtiMsg>(msg.clone(1));
}

class SaveFedMgrTest : public RtiExecFedMgrTest {
protected:
  void SetUp() override {
    RtiExecFedMgrTest::SetUp();
    StageObjectMgr::fault = StageObjectMgr::None;
    DtObjectMgr::setCreatorFunction([](DtConnectionMgr* c, DtFomClassMgr* f, DtRIDParameters* p) -> DtObjectMgr* {
      return new StageObjectMgr(c, f, p);
    });
  }
  void TearDown() override {
    RtiExecFedMgrTest::TearDown();
    StageObjectMgr::fault = StageObjectMgr::None;
  }
  void joinAs(unsigned long handle) {
    answers().push_back(joinAnswer(local(), "F1", handle));
    fedMgr->joinFederationExecution("F1", "X", &saveAmb);
  }
  // Two objects of class Sample, owned here.
  void registerObjects() {
    DtObjectMgr& objects = *fedMgr->objMgr();
    const RTI::ObjectClassHandle sample = fedMgr->fom()->classHandle("Sample");
    DtAttributeHandleSet attributes;
    attributes.add(fedMgr->fom()->attrHandle("Value", sample));
    objects.publish(sample, attributes);
    objects.registerObj(sample, "one");
    objects.registerObj(sample, "two");
  }
  // The save started here from an accepted answer, as a tick brings it.
  void initiate(const char* label) {
    connection().processMsg(*stamped(DtSaveResponseMsg(9, label, 1, nullptr)));
    fedMgr->posttick();
  }
  // The kind and the success indicator of the last message sent.
  std::string lastSent() const {
    const DtRtiMsg& msg = *fedMgr->connection().sent.back();
    std::string text = std::to_string(msg.msgKind());
    if (auto* complete = dynamic_cast<const DtSaveCompleteMsg*>(&msg)) {
      text += std::string(" ") + complete->label() + " " + std::to_string(complete->successIndicator());
    }
    return text;
  }
  // A save of L1 with two objects as federate 5; then the federate comes
  // back in another run of the federation as 8.
  void savedAs5ThenJoinedAs8() {
    joinAs(5);
    registerObjects();
    initiate("L1");
    fedMgr->federateSaveBegun();
    fedMgr->federateSaveComplete();
    connection().processMsg(*stamped(DtSaveFinishedMsg("L1", 1, nullptr)));
    fedMgr->resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
    joinAs(8);
  }
  std::string fileOf(const char* label, unsigned long handle) const {
    return rid.directory().path() + "/" + label + "-X-F1-" + std::to_string(handle) + ".sav";
  }

  SaveFedAmb saveAmb;
};

TEST_F(SaveFedMgrTest, AnUntimedSaveWaitsForItsOwnAnswerAndStartsFromItAtTheNextTick) {
  joinAs(5);
  connection().sent.clear();
  // Another federate's traffic and answer come first; then its own.
  answers().push_back(stamped(DtResignMsg("X", 8, RTI::DELETE_OBJECTS, nullptr), 8));
  answers().push_back(stamped(DtSaveResponseMsg(8, "Theirs", 0, nullptr)));
  answers().push_back(stamped(DtSaveResponseMsg(5, "L1", 1, nullptr)));
  fedMgr->requestFederationSave("L1", nullptr);
  EXPECT_EQ(sentKinds(), (std::vector<int>{DtSaveRequestMsgKind}));
  EXPECT_TRUE(saveAmb.seen.empty());
  EXPECT_FALSE(fedMgr->saveInitiated());
  // The others, then the answer, go through the next ticks.
  EXPECT_EQ(connection().pendingMsgCount(), 3);
  while (connection().pendingMsgCount() > 0) fedMgr->tick();
  fedMgr->posttick();
  EXPECT_EQ(saveAmb.seen, (std::vector<std::string>{"initiateFederateSave L1"}));
  EXPECT_TRUE(fedMgr->saveInitiated());
  EXPECT_TRUE(connection().saveInProgress());
  try {
    fedMgr->testSaveProgress();
    ADD_FAILURE() << "not refused";
  } catch (const RTI::SaveInProgress& e) {
    EXPECT_STREQ(e._reason, "L1");
  }
}

TEST_F(SaveFedMgrTest, ARefusedOrUnansweredSaveThrowsAndARefusalStartsNothingAnywhere) {
  joinAs(5);
  answers().push_back(stamped(DtSaveResponseMsg(5, "L1", 0, nullptr)));
  EXPECT_THROW(fedMgr->requestFederationSave("L1", nullptr), RTI::SaveInProgress);
  // Another federate's refusal, heard here.
  connection().processMsg(*stamped(DtSaveResponseMsg(6, "L2", 0, nullptr)));
  fedMgr->posttick();
  EXPECT_TRUE(saveAmb.seen.empty());
  EXPECT_FALSE(fedMgr->saveInitiated());

  EXPECT_THROW(fedMgr->requestFederationSave("L3", nullptr), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("Could not request save L3:  Could not connect to rtiexec.\n"), std::string::npos);

  connection().sent.clear();
  EXPECT_THROW(fedMgr->requestFederationSave("two\nlines", nullptr), RTI::RTIinternalError);
  EXPECT_TRUE(connection().sent.empty());
}

TEST_F(SaveFedMgrTest, ACompletedSaveHoldsEveryManagersRecordsAndTheHeldMessages) {
  joinAs(5);
  registerObjects();
  initiate("L1");
  // A message held back during the save.
  const std::unique_ptr<DtRtiMsg> held = stamped(DtResignMsg("X", 8, RTI::DELETE_OBJECTS, nullptr), 8);
  connection().addPendingMsg(held->clone(1));
  EXPECT_THROW(fedMgr->federateSaveComplete(), RTI::SaveNotInitiated);
  fedMgr->federateSaveBegun();
  EXPECT_EQ(lastSent(), std::to_string(DtSaveBegunMsgKind));
  fedMgr->federateSaveComplete();
  EXPECT_EQ(lastSent(), std::to_string(DtSaveCompleteMsgKind) + " L1 1");
  EXPECT_THROW(fedMgr->federateSaveComplete(), RTI::SaveNotInitiated);
  // Still held, and the save still in progress until the federation says.
  EXPECT_EQ(connection().pendingMsgCount(), 1);
  EXPECT_THROW(fedMgr->testSaveProgress(), RTI::SaveInProgress);

  const std::string types = typesOf(fileOf("L1", 5));
  EXPECT_EQ(types.rfind("1 15 6 7 998 6 7 998 ", 0), 0u) << types;
  EXPECT_NE(types.find(" 8 2 4 5 5 998 "), std::string::npos) << types;
  // The federate manager's records, byte for byte.
  DtRtiSaveFile file(fileOf("L1", 5).c_str(), true);
  const DtSavePacket* own = file.readNextPacket();
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(std::string(own->bytes().data(), own->size()),
            std::string("\0\0\0\x14\0\0\0\x01\0\0\0\x05\0\0\0\0\0\0\0\x01", 20));
  const DtSavePacket* message = file.readNextPacket();
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->length(), 8u + static_cast<std::uint32_t>(held->size()));
  EXPECT_EQ(std::string(message->bytes().data() + 8, message->size() - 8), std::string(held->data(), held->size()));

  connection().processMsg(*stamped(DtSaveFinishedMsg("L1", 1, nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "federationSaved");
  EXPECT_FALSE(fedMgr->saveInitiated());
  EXPECT_FALSE(connection().saveInProgress());
  EXPECT_NO_THROW(fedMgr->testSaveProgress());
}

TEST_F(SaveFedMgrTest, TheSynchronizationLabelsAnnouncedHereAreSavedAndComeBackWithARestore) {
  joinAs(5);
  const auto announce = [&](DtSyncMsgType kind, const char* label) {
    DtSyncPointMsg msg(kind, 0, label, kind == DtAnnouncePt ? "t" : nullptr, nullptr);
    msg.setFedEx(3);
    connection().processMsg(msg);
  };
  announce(DtAnnouncePt, "wait here");
  announce(DtAnnouncePt, "go");
  initiate("L1");
  fedMgr->federateSaveBegun();
  fedMgr->federateSaveComplete();
  connection().processMsg(*stamped(DtSaveFinishedMsg("L1", 1, nullptr)));
  {
    DtRtiSaveFile file(fileOf("L1", 5).c_str(), true);
    const DtSavePacket* own = file.readNextPacket();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(std::string(own->bytes().data(), own->size()),
              std::string("\0\0\0\x21\0\0\0\x01\0\0\0\x05\0\0\0\x02\0\0\0\0go\0wait here\0", 33));
  }
  // After the save: one point ends, another is announced.
  announce(DtSynchronized, "go");
  announce(DtAnnouncePt, "later");
  EXPECT_EQ(fedMgr->syncLabels(), (std::set<std::string>{"later", "wait here"}));

  connection().processMsg(*stamped(DtRestoreMsg("L1", nullptr)));
  connection().processMsg(*stamped(DtRestoreInitiateMsg(5, 5, nullptr)));
  fedMgr->federateRestoreComplete();
  connection().processMsg(*stamped(DtRestoreEndMsg("L1", 1, nullptr)));
  ASSERT_EQ(saveAmb.seen.back(), "federationRestored");
  EXPECT_EQ(fedMgr->syncLabels(), (std::set<std::string>{"go", "wait here"}));
  EXPECT_NO_THROW(fedMgr->synchronizationPointAchieved("go"));
  EXPECT_THROW(fedMgr->synchronizationPointAchieved("later"), RTI::SynchronizationPointLabelWasNotAnnounced);
}

TEST_F(SaveFedMgrTest, AStageOrAWriteThatFailsMakesTheSaveNotComplete) {
  struct Case {
    const char* what;
    StageObjectMgr::Fault fault;
    bool fullDevice;
    const char* printed;
  };
  const Case cases[] = {
      {"a stage that throws", StageObjectMgr::SaveThrows, false, "Caught unexpected exception during LRC save.\n"},
      {"a stage that fails", StageObjectMgr::SaveFails, false, "The Object Manager save failed"},
      {"a file whose bytes are lost", StageObjectMgr::None, true, "Save L1 not complete\n"},
  };
  joinAs(5);
  registerObjects();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageObjectMgr::fault = c.fault;
    std::filesystem::remove(fileOf("L1", 5));
    if (c.fullDevice) std::filesystem::create_symlink("/dev/full", fileOf("L1", 5));
    initiate("L1");
    fedMgr->federateSaveBegun();
    capture.clear();
    fedMgr->federateSaveComplete();
    EXPECT_EQ(lastSent(), std::to_string(DtSaveCompleteMsgKind) + " L1 0");
    EXPECT_NE(capture.text().find(c.printed), std::string::npos) << capture.text();
    connection().processMsg(*stamped(DtSaveFinishedMsg("L1", 0, nullptr)));
    EXPECT_EQ(saveAmb.seen.back(), "federationNotSaved");
  }
}

TEST_F(SaveFedMgrTest, ARestoreTakesTheSavedHandleAndGoesBackToItsOwnWhenItFails) {
  savedAs5ThenJoinedAs8();
  EXPECT_EQ(fedMgr->objMgr()->allObjects().count(), 0u);

  connection().processMsg(*stamped(DtRestoreMsg("L1", nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "federationRestoreBegun");
  EXPECT_EQ(lastSent(), std::to_string(DtRestoreBegunMsgKind));
  EXPECT_THROW(fedMgr->testSaveProgress(), RTI::RestoreInProgress);
  // Another federate's initiate changes nothing here.
  connection().processMsg(*stamped(DtRestoreInitiateMsg(9, 5, nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "federationRestoreBegun");
  connection().processMsg(*stamped(DtRestoreInitiateMsg(8, 5, nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "initiateFederateRestore L1 5");
  EXPECT_EQ(fedMgr->objMgr()->allObjects().count(), 2u);
  EXPECT_NE(fedMgr->objMgr()->allObj("two"), nullptr);
  fedMgr->federateRestoreComplete();
  EXPECT_EQ(lastSent(), std::to_string(DtRestoreCompleteMsgKind) + " L1 1");
  connection().processMsg(*stamped(DtRestoreEndMsg("L1", 1, nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "federationRestored");
  EXPECT_EQ(fedMgr->federateHandle(), 5u);
  EXPECT_EQ(connection().fedHandle(), 5u);
  EXPECT_FALSE(connection().saveInProgress());
  EXPECT_NO_THROW(fedMgr->testSaveProgress());

  // Restored as 5 from the file of 5 again, but the federation fails.
  connection().processMsg(*stamped(DtRestoreMsg("L1", nullptr)));
  connection().processMsg(*stamped(DtRestoreInitiateMsg(5, 5, nullptr)));
  connection().processMsg(*stamped(DtRestoreEndMsg("L1", 0, nullptr)));
  EXPECT_EQ(saveAmb.seen.back(), "federationNotRestored");
  EXPECT_EQ(fedMgr->federateHandle(), 5u);
}

TEST_F(SaveFedMgrTest, ARestoreThatCannotBeReadIsAnsweredAsNotCompleteByTheRti) {
  savedAs5ThenJoinedAs8();
  struct Case {
    const char* what;
    StageObjectMgr::Fault fault;
    unsigned long savedHandle;  // the file read is this handle's
    const char* printed;
  };
  const Case cases[] = {
      {"a stage that throws", StageObjectMgr::RestoreThrows, 5,
       "Caught unexpected exception during LRC restore of ObjMgr.\n Restored data may not be valid\n"},
      {"a stage that fails", StageObjectMgr::RestoreFails, 5, "The restore of ObjMgr from "},
      {"no file", StageObjectMgr::None, 6, "Cannot open the restore file "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageObjectMgr::fault = c.fault;
    saveAmb.seen.clear();
    capture.clear();
    connection().processMsg(*stamped(DtRestoreMsg("L1", nullptr)));
    connection().processMsg(*stamped(DtRestoreInitiateMsg(8, c.savedHandle, nullptr)));
    EXPECT_EQ(lastSent(), std::to_string(DtRestoreCompleteMsgKind) + " L1 0");
    EXPECT_NE(capture.text().find(c.printed), std::string::npos) << capture.text();
    EXPECT_FALSE(fedMgr->restoreInitiated());
    connection().processMsg(*stamped(DtRestoreEndMsg("L1", 0, nullptr)));
    EXPECT_EQ(saveAmb.seen, (std::vector<std::string>{"federationRestoreBegun", "federationNotRestored"}));
    EXPECT_EQ(fedMgr->federateHandle(), 8u);
    EXPECT_EQ(connection().fedHandle(), 8u);
  }
}

TEST_F(SaveFedMgrTest, RestoreRepliesReachTheirRequesterWithTheirReason) {
  joinAs(5);
  const std::pair<DtRestoreReplyMsg::replyCodes, const char*> replies[] = {
      {DtRestoreReplyMsg::RestoreOk, "restoreSucceeded L"},
      {DtRestoreReplyMsg::NoLabel, "restoreFailed L: Label not found"},
      {DtRestoreReplyMsg::WrongConfiguration, "restoreFailed L: Current configuration does not match save"},
      {DtRestoreReplyMsg::RestoreInProgress, "restoreFailed L: Another request is being processed"},
      {static_cast<DtRestoreReplyMsg::replyCodes>(7), "restoreFailed L: unknown error"},
  };
  for (const auto& [code, seen] : replies) {
    DtRestoreReplyMsg reply("L", code, nullptr);
    reply.setDestinationID(6);
    connection().processMsg(*stamped(reply));
    reply.setDestinationID(5);
    connection().processMsg(*stamped(reply));
    EXPECT_EQ(saveAmb.seen.back(), seen);
  }
  EXPECT_EQ(saveAmb.seen.size(), 5u);
}

}  // namespace
