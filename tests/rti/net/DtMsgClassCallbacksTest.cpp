// The message classes' callback statics, through the callback registries
// of the connection manager: a class registers under its kind, in the
// registry it names, and a message of its kind but another class is refused.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "msg/DtOwnershipMsg.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtConnectionMgr.h"
#include "rti/msg/TestMsgs.h"
#include "rti/msg/UpdateChannelFixture.h"
#include "rti/util/NotifyCapture.h"

namespace {

TEST(DtOwnershipMsg, TheFactoryAndTheCallbacksKnowKind20) {
  DtConnectionMgr mgr;
  std::unique_ptr<DtRtiMsg> made(mgr.create(DtOwnershipMsgKind));
  ASSERT_NE(dynamic_cast<DtOwnershipMsg*>(made.get()), nullptr);
  EXPECT_EQ(made->size(), 64);
  EXPECT_EQ(made->internalDtRtiMsgKind(), DtOwnershipMsgKind);
  EXPECT_EQ(static_cast<DtOwnershipMsg&>(*made).tag(), nullptr);

  struct Seen {
    int calls = 0;
    unsigned long object = 0;
  } seen;
  auto handler = [](const DtOwnershipMsg& msg, void* data) {
    auto* s = static_cast<Seen*>(data);
    ++s->calls;
    s->object = msg.objHandle();
  };
  DtOwnershipMsg::addCallback(&mgr, +handler, &seen);
  mgr.processMsg(DtOwnershipMsg(DtAcquire, 42, RTI::AttributeHandle{1}, 0, nullptr));
  DtOwnershipMsg::removeCallback(&mgr, +handler, &seen);
  mgr.processMsg(DtOwnershipMsg(DtAcquire, 43, RTI::AttributeHandle{1}, 0, nullptr));
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.object, 42u);
}

TEST_P(DtUpdateMsgsTest, CallbacksRegisterUnderTheKindOfTheSwitch) {
  DtConnectionMgr mgr(nullptr);
  auto callback = [](const DtUpdateMsg&, void*) {};
  DtUpdateTsoMsg::addCallback(&mgr, +callback, nullptr);
  DtUpdateTsoMsg msg(nullptr);
  EXPECT_EQ(msg.msgKind(), GetParam() ? DtDdmUpdateTsoMsgKind : DtUpdateTsoMsgKind);
  DtUpdateTsoMsg::removeCallback(&mgr, +callback, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Channel, DtUpdateMsgsTest, ::testing::Values(false, true));

class DtRtiMsgCbMgrTest : public ::testing::Test {};

// Typed registration through the class statics and the connection manager.
int typedCalls = 0;
void onTestMsg(const TestMsg& msg, void* usr) {
  typedCalls += static_cast<int>(msg.number()) * *static_cast<int*>(usr);
}

TEST_F(DtRtiMsgCbMgrTest, AClassRegistersForItsKindInTheChosenRegistry) {
  NotifyCapture capture(1);
  DtConnectionMgr mgr(nullptr);
  int factor = 1;
  int momFactor = 100;
  TestMsg::addCallback(&mgr, onTestMsg, &factor);
  TestMsg::addCallback(&mgr, onTestMsg, &momFactor, 1);
  TestMsg msg;
  msg.setNumber(2);
  mgr.momProcessMsg(msg);
  mgr.processMsg(msg);
  EXPECT_EQ(typedCalls, 202);
  RawMsg other(8, DtUpdateRoMsgKind);  // the kind, but not the class
  mgr.processMsg(other);
  EXPECT_EQ(typedCalls, 202);
  EXPECT_NE(capture.text().find("another message class"), std::string::npos);
  TestMsg::removeCallback(&mgr, onTestMsg, &factor);
  mgr.processMsg(msg);
  EXPECT_EQ(typedCalls, 202);
  mgr.momProcessMsg(msg);
  EXPECT_EQ(typedCalls, 402);
}

}  // namespace
