#include "msg/DtDfltMsgFactory.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <set>
#include <string>

#include "MsgRoundTrip.h"
#include "TestMsgs.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtRtiMsgKind.h"

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

// The walk of the kind table: every kind that travels (the default factory
// makes its messages from received bytes) is among the kinds of the
// round-trip tables; the retired kinds and 999 are not made.
TEST(DtRtiMsgFactory, EveryKindThatTravelsHasARoundTripCase) {
  DtDfltMsgFactory factory;
  std::set<int> travelling;
  for (const DtRtiMsgKinds::Entry& kind : DtRtiMsgKinds::table) {
    const std::unique_ptr<DtRtiMsg> made(factory.create(static_cast<DtRtiMsgKind>(kind.number), nullptr));
    if (!made) continue;
    travelling.insert(kind.number);
    EXPECT_EQ(kindsWithARoundTrip().count(kind.number), 1u) << kind.name << " (" << kind.number << ")";
  }
  EXPECT_EQ(travelling.size(), std::size(DtRtiMsgKinds::table) - 4) << "all but 42, 43, 44 and 999";
  for (const int kind : kindsWithARoundTrip()) EXPECT_EQ(travelling.count(kind), 1u) << kind << " does not travel";
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
