#include "msg/DtDfltMsgFactory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestMsgs.h"
#include "msg/DtFederationMsgs.h"

namespace {

DtRtiMsg* makeRaw(DtBufferPlaceHolder* where) { return new RawMsg(8, DtJoinMsgKind, where); }
DtRtiMsg* readRaw(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
  return new RawMsg(header->bytes(), where);
}

TEST(DtRtiMsgFactory, EmptyAndOutOfRangeKindsYieldNothing) {
  DtDfltMsgFactory factory;
  RawMsg retired(8, DtTimeRegMsgKind);
  RawMsg outside(8, static_cast<DtRtiMsgKind>(255));
  EXPECT_EQ(factory.create(retired.netHeader(), nullptr), nullptr);
  EXPECT_EQ(factory.create(outside.netHeader(), nullptr), nullptr);
  EXPECT_EQ(factory.create(static_cast<const DtNetMsgHeader*>(nullptr), nullptr), nullptr);
  EXPECT_EQ(factory.create(DtTimeRegMsgKind, nullptr), nullptr);
  EXPECT_EQ(factory.create(DtInvalidMsgKind, nullptr), nullptr);
  EXPECT_EQ(factory.create(static_cast<DtRtiMsgKind>(255), nullptr), nullptr);
  EXPECT_EQ(factory.create(static_cast<DtRtiMsgKind>(-1), nullptr), nullptr);
}

TEST(DtRtiMsgFactory, CreatorsAreReplacedAndTheOldOnesReturned) {
  DtRtiMsgFactory factory;
  EXPECT_EQ(factory.addRecvCreator(DtJoinMsgKind, readRaw), nullptr);
  EXPECT_EQ(factory.addRecvCreator(DtJoinMsgKind, readRaw), &readRaw);
  EXPECT_EQ(factory.addSendCreator(DtJoinMsgKind, makeRaw), nullptr);
  EXPECT_EQ(factory.addSendCreator(static_cast<DtRtiMsgKind>(400), makeRaw), nullptr);
  DtRtiMsgFactory copy(factory);
  std::unique_ptr<DtRtiMsg> made(copy.create(DtJoinMsgKind, nullptr));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->msgKind(), DtJoinMsgKind);
  std::unique_ptr<DtRtiMsg> read(copy.create(made->netHeader(), nullptr));
  ASSERT_NE(read, nullptr);
  EXPECT_NE(read->data(), made->data());
}

TEST(DtRtiMsgFactory, TheDefaultFactoryHandsBackTheCreatorItHad) {
  DtDfltMsgFactory factory;
  EXPECT_EQ(factory.addRecvCreator(DtJoinMsgKind, readRaw), static_cast<DtRtiMsgRecvCreator>(&DtJoinMsg::create));
  RawMsg join(8, DtJoinMsgKind);
  std::unique_ptr<DtRtiMsg> read(factory.create(join.netHeader(), nullptr));
  EXPECT_NE(dynamic_cast<RawMsg*>(read.get()), nullptr);
}

TEST(DtRtiMsgFactory, ReceivedBytesAreAdoptedAndCheckedBeforeTheyAreUsed) {
  DtRtiMsgFactory factory;
  factory.addCreators(DtJoinMsgKind, readRaw, makeRaw);
  char bytes[8] = {0, 8, 0, 0, DtJoinMsgKind, 0, 0, 0};
  int status = -1;
  std::unique_ptr<DtRtiMsg> msg(factory.createReceived(bytes, 8, DtPlaceHolderAt(bytes), &status));
  ASSERT_NE(msg, nullptr);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(msg->data(), bytes);
  EXPECT_EQ(factory.createReceived(bytes, 7, nullptr, &status), nullptr);  // shorter than a header
  EXPECT_EQ(status, 2);
  bytes[1] = 9;  // the header says more than came
  EXPECT_EQ(factory.createReceived(bytes, 8, nullptr, &status), nullptr);
  bytes[1] = 8;
  bytes[4] = DtTimeRegMsgKind;
  EXPECT_EQ(factory.createReceived(bytes, 8, nullptr, nullptr), nullptr);
}

}  // namespace
