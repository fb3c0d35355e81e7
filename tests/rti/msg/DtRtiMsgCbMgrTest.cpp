#include "msg/DtRtiMsgCbMgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestMsgs.h"
#include "rti/util/NotifyCapture.h"

namespace {

std::vector<std::string> calls;

void recordA(const DtRtiMsg&, void* usr) { calls.push_back(std::string("A") + static_cast<const char*>(usr)); }
void recordB(const DtRtiMsg&, void* usr) { calls.push_back(std::string("B") + static_cast<const char*>(usr)); }

class DtRtiMsgCbMgrTest : public ::testing::Test {
protected:
  DtRtiMsgCbMgrTest() { calls.clear(); }
  RawMsg lbts{24, DtLbtsMsgKind};
  DtRtiMsgCbMgr registry;
  char one[2] = "1";
  char two[2] = "2";
};

TEST_F(DtRtiMsgCbMgrTest, TheNewestCallbackIsCalledFirst) {
  registry.addMsgCallback(DtLbtsMsgKind, recordA, one);
  registry.addMsgCallback(DtLbtsMsgKind, recordB, one);
  registry.addMsgCallback(DtAliveMsgKind, recordA, two);
  registry.processMsg(lbts);
  EXPECT_EQ(calls, (std::vector<std::string>{"B1", "A1"}));
  EXPECT_EQ(registry.numCallbacks(DtLbtsMsgKind), 2);
  EXPECT_EQ(registry.numCallbacks(DtDisableMsgKind), 0);
  EXPECT_EQ(registry.numCallbacks(static_cast<DtRtiMsgKind>(300)), 0);
}

TEST_F(DtRtiMsgCbMgrTest, RemovalMatchesFunctionAndUserData) {
  registry.addMsgCallback(DtLbtsMsgKind, recordA, one);
  registry.addMsgCallback(DtLbtsMsgKind, recordA, two);
  registry.addMsgCallback(DtLbtsMsgKind, recordA, one);
  registry.removeMsgCallback(DtLbtsMsgKind, recordA, one);  // both of them
  registry.removeMsgCallback(DtLbtsMsgKind, recordB, two);  // not registered
  registry.removeMsgCallback(static_cast<DtRtiMsgKind>(999), recordA, two);
  registry.processMsg(lbts);
  EXPECT_EQ(calls, (std::vector<std::string>{"A2"}));
}

TEST_F(DtRtiMsgCbMgrTest, ABadKindIsReportedAndRegistersNothing) {
  NotifyCapture capture(1);
  registry.addMsgCallback(static_cast<DtRtiMsgKind>(300), recordA, one);
  EXPECT_EQ(capture.text(), "Trying to add DtRtiMsg callback on bad msg kind: 300\n");
  registry.addMsgCallback(static_cast<DtRtiMsgKind>(254), recordA, one);
  EXPECT_EQ(registry.numCallbacks(static_cast<DtRtiMsgKind>(254)), 1);
}

// Callbacks that change the registry while it dispatches.
DtRtiMsgCbMgr* changing = nullptr;
void removeOthers(const DtRtiMsg&, void* usr) {
  calls.push_back("remover");
  changing->removeMsgCallback(DtLbtsMsgKind, recordA, usr);
  changing->removeMsgCallback(DtLbtsMsgKind, removeOthers, usr);
  changing->addMsgCallback(DtLbtsMsgKind, recordB, usr);
}

TEST_F(DtRtiMsgCbMgrTest, CallbacksMayRemoveAnyRegistrationWhileTheyRun) {
  changing = &registry;
  registry.addMsgCallback(DtLbtsMsgKind, recordA, one);  // called after the remover: removed first
  registry.addMsgCallback(DtLbtsMsgKind, removeOthers, one);
  registry.processMsg(lbts);
  EXPECT_EQ(calls, (std::vector<std::string>{"remover"}));
  EXPECT_EQ(registry.numCallbacks(DtLbtsMsgKind), 1);
  calls.clear();
  registry.processMsg(lbts);
  EXPECT_EQ(calls, (std::vector<std::string>{"B1"}));
}

TEST_F(DtRtiMsgCbMgrTest, ACopyHasTheSameRegistrationsInTheSameOrder) {
  registry.addMsgCallback(DtLbtsMsgKind, recordA, one);
  registry.addMsgCallback(DtLbtsMsgKind, recordB, one);
  DtRtiMsgCbMgr copy(registry);
  DtRtiMsgCbMgr assigned;
  assigned.addMsgCallback(DtAliveMsgKind, recordA, one);
  assigned = registry;
  EXPECT_EQ(assigned.numCallbacks(DtAliveMsgKind), 0);
  copy.processMsg(lbts);
  assigned.processMsg(lbts);
  registry.processMsg(lbts);
  EXPECT_EQ(calls, (std::vector<std::string>{"B1", "A1", "B1", "A1", "B1", "A1"}));
}

}  // namespace
