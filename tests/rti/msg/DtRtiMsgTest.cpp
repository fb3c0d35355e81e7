#include "msg/DtRtiMsg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestMsgs.h"
#include "fedtime.hh"
#include "rti/util/NotifyCapture.h"

namespace {

using std::string;

TEST(DtRtiMsg, ANewMessageIsItsHeaderAndZeroBytes) {
  RawMsg msg(24, DtLbtsMsgKind);
  EXPECT_EQ(msg.bytes(), string("\x00\x18\x00\x00\x38\x00\x00\x00", 8) + string(16, '\0'));
  EXPECT_EQ(msg.msgKind(), DtLbtsMsgKind);
  msg.insertBytes(8, 6);
  EXPECT_EQ(msg.netHeader()->length(), 30);
  msg.removeBytes(msg.data() + 8, 6);
  EXPECT_EQ(msg.netHeader()->length(), 24);
}

TEST(DtRtiMsg, TheExecutionIdHasANameFormAndAHandleForm) {
  RawMsg msg(8, DtAliveMsgKind);
  EXPECT_TRUE(msg.isForExec("Anything", 9));  // handle 0: every execution
  msg.setFedEx(DtString("MyFederation"));
  EXPECT_EQ(msg.bytes().substr(5), "MyF");
  EXPECT_EQ(msg.fedExName(), "MyF");
  EXPECT_EQ(msg.fedExHandle(), 0);
  EXPECT_TRUE(msg.isForExec("MyFed", 0));
  EXPECT_FALSE(msg.isForExec("Other", 0));

  msg.setFedEx(7);
  EXPECT_EQ(msg.fedExName(), "");
  EXPECT_EQ(msg.fedExHandle(), 7);
  EXPECT_TRUE(msg.isForExec("Whatever", 7));
  EXPECT_FALSE(msg.isForExec("Whatever", 8));
  msg.setFedEx(0x10007);  // truncated to 16 bits
  EXPECT_EQ(msg.fedExHandle(), 7);

  msg.setFedEx(DtString("AB"));
  EXPECT_EQ(msg.bytes().substr(5), string("AB\0", 3));
  EXPECT_EQ(msg.fedExName(), "AB");
  msg.setFedEx(DtString(""));  // three zero bytes: the handle form, any execution
  EXPECT_EQ(msg.fedExHandle(), 0);
  EXPECT_TRUE(msg.isForExec("X", 3));

  msg.setFederateHandle(0x12345);
  EXPECT_EQ(msg.federateHandle(), 0x2345u);
}

TEST(DtRtiMsg, KindsHaveTheirNames) {
  EXPECT_STREQ(DtRtiMsg::kindToString(DtInteractionRoMsgKind), "InteractionRoMsgKind");
  EXPECT_STREQ(DtRtiMsg::kindToString(static_cast<DtRtiMsgKind>(56)), "LbtsMsgKind");
  EXPECT_STREQ(DtRtiMsg::kindToString(DtDisconnectMsgKind), "DisconnectMsgKind");
  EXPECT_STREQ(DtRtiMsg::kindToString(DtInvalidMsgKind), "InvalidMsgKind");
  EXPECT_STREQ(DtRtiMsg::kindToString(DtResignResponseMsgKind), "ResignResponseMsgKind");
  EXPECT_STREQ(DtRtiMsg::kindToString(static_cast<DtRtiMsgKind>(76)), "UnknownMsgKind");
}

TEST(DtRtiMsg, TheBaseKeepsItsTimeInMemoryAndShowsItOnlyWithTheFlag) {
  RawMsg msg(8, DtAliveMsgKind);
  msg.setTime(RTIfedTime(5.0));
  EXPECT_EQ(msg.size(), 8);
  EXPECT_TRUE(static_cast<const RTIfedTime&>(msg.time()) == 0.0);
  EXPECT_EQ(&msg.time(), DtRtiMsg::theZeroFedTime.get());
}

TEST(DtRtiMsg, ClonesCopyTheBytesAndOnlyCloneWithTransportTheTransport) {
  RawMsg msg(12, DtRetractMsgKind);
  msg.data()[11] = 9;
  msg.setTransportType(DtReliable);
  msg.setSerialNumber(4);
  std::unique_ptr<DtRtiMsg> copy(msg.clone(1));
  std::unique_ptr<DtRtiMsg> empty(msg.clone(0));
  std::unique_ptr<DtRtiMsg> reliable(msg.cloneWithTransport(1));
  EXPECT_EQ(static_cast<RawMsg&>(*copy).bytes(), msg.bytes());
  EXPECT_NE(copy->data(), msg.data());
  EXPECT_EQ(copy->transportType(), DtBestEffort);
  EXPECT_EQ(empty->transportType(), DtBestEffort);
  EXPECT_EQ(empty->data()[11], 0);
  EXPECT_EQ(reliable->transportType(), DtReliable);
  EXPECT_EQ(static_cast<RawMsg&>(*reliable).bytes(), msg.bytes());
  RawMsg copied(msg);  // the copy constructor copies the values too
  EXPECT_EQ(copied.transportType(), DtReliable);
  EXPECT_EQ(copied.serialNumber(), 4u);
  EXPECT_NE(copied.data(), msg.data());
}

TEST(DtRtiMsg, AMessageNeverGrowsPastWhatItsHeaderCanTell) {
  NotifyCapture capture(1);
  RawMsg msg(8, DtAliveMsgKind);
  msg.setSize(DtRtiMsg::theMaxSize);
  EXPECT_EQ(msg.netHeader()->length(), 0xFFFF);
  EXPECT_FALSE(msg.adjustBytes(8, 1));
  msg.insertBytes(8, 1);
  msg.setSize(DtRtiMsg::theMaxSize + 1);
  EXPECT_EQ(msg.size(), DtRtiMsg::theMaxSize);
  EXPECT_NE(capture.text().find("cannot be sent"), string::npos);
}

TEST(DtRtiMsg, PrintsItsHeaderAndABoundedDumpOfItsBody) {
  NotifyCapture capture(2);
  char bytes[] =
      "\x00\x0e\x00\x05\x02"
      "Fed"
      "\x01\x02\x03\x04\x05\x06";
  RawMsg msg(bytes, nullptr);
  msg.print();
  EXPECT_EQ(capture.text(),
            "FedExName:           Fed\n"
            "MsgKind:             DeleteRoMsgKind   (2)\n"
            "Length:              14\n"
            "Federate:            5\n"
            "0008\t01020304\n"
            "000c\t05060000\n");
}

}  // namespace
