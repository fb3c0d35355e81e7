#include "msg/DtFederationMsgs.h"

#include "MsgRoundTrip.h"

namespace {

using std::string;

const RoundTripTable federationCases{
    {"create", [] { return new DtCreateMsg("Fed", "a.fed", nullptr); }, DtCreateMsgKind, ""},
    {"create response", [] { return new DtCreateResponseMsg("Fed", -2, nullptr); }, DtCreateResponseMsgKind, ""},
    {"join", [] { return new DtJoinMsg(4, "fed@host", "Fed", nullptr); }, DtJoinMsgKind, ""},
    {"join response", [] { return new DtJoinResponseMsg(4, "fed@host", 3, "Fed", "b.fed", 7, -1, nullptr); },
     DtJoinResponseMsgKind, ""},
    {"resign", [] { return new DtResignMsg("Fed", 7, RTI::DELETE_OBJECTS, nullptr); }, DtResignMsgKind,
     string("\x00\x0c\x00\x07\x07"
            "Fed"
            "\x00\x00\x00\x02",
            12)},
    {"destroy", [] { return new DtDestroyMsg("Fed", nullptr); }, DtDestroyMsgKind, ""},
    {"destroy response", [] { return new DtDestroyResponseMsg("Fed", 1, nullptr); }, DtDestroyResponseMsgKind, ""},
    {"join confirm",
     [] {
       auto* msg = new DtJoinConfirmMsg(nullptr);
       msg->set("fed@host");
       return msg;
     },
     DtJoinConfirmMsgKind, ""},
    {"alive", [] { return new DtAliveMsg(nullptr); }, DtAliveMsgKind, string("\x00\x08\x00\x00\x20\x00\x00\x00", 8)},
    {"resign response", [] { return new DtResignResponseMsg(nullptr); }, DtResignResponseMsgKind,
     string("\x00\x08\x00\x00\x4b\x00\x00\x00", 8)},
    {"designated", [] { return new DtDesignatedFederateMsg(5, nullptr); }, DtDesignatedFederateMsgKind, ""},
    {"connect",
     [] {
       auto* msg = new DtConnectMsg(nullptr);
       msg->set(3);
       return msg;
     },
     DtConnectMsgKind, ""},
    {"disconnect",
     [] {
       auto* msg = new DtDisconnectMsg(nullptr);
       msg->set(3);
       return msg;
     },
     DtDisconnectMsgKind, string("\x00\x0c\x00\x00\x4a\x00\x00\x00\x00\x00\x00\x03", 12)},
};

TEST(DtFederationMsgs, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : federationCases) checkRoundTrip(c);
}

TEST(DtFederationMsgs, TheFileNameFollowsTheFixedPartWithItsZeros) {
  DtCreateMsg msg(nullptr);
  EXPECT_EQ(msg.size(), 73);
  EXPECT_STREQ(msg.fedFileName(), "");
  msg.setFedFileName("abc.fed");
  EXPECT_EQ(msg.size(), 81);
  EXPECT_EQ(bytesOf(msg).substr(72), string("abc.fed\0\0", 9));
  EXPECT_STREQ(msg.fedFileName(), "abc.fed");
  msg.setFedFileName("");
  EXPECT_EQ(msg.size(), 74);
  EXPECT_STREQ(msg.fedFileName(), "");

  DtJoinResponseMsg response(1, "f", 2, "Fed", "x.fed", 3, 0, nullptr);
  EXPECT_EQ(response.size(), 105 + 6);
  EXPECT_STREQ(response.fedFileName(), "x.fed");
  EXPECT_EQ(response.fedexHandleToUse(), 2);
}

TEST(DtFederationMsgs, NamesAreCutToTheirFields) {
  const string longName(70, 'e');
  DtDestroyMsg destroy(longName.c_str(), nullptr);
  EXPECT_EQ(destroy.fullFedExName(), longName.substr(0, 63).c_str());
  EXPECT_EQ(destroy.data()[71], 0);

  DtJoinMsg join(1, "sixteen_chars_ok", "Fed", nullptr);
  EXPECT_EQ(bytesOf(join).substr(12, 16), "sixteen_chars_ok");
  EXPECT_STREQ(join.federateName(), "sixteen_chars_ok");
  join.setFederateName("seventeen_chars__");
  EXPECT_STREQ(join.federateName(), "seventeen_chars_");
  EXPECT_EQ(join.fullFedExName(), "Fed");
}

TEST(DtFederationMsgs, AResignIsAllowedDuringASaveAndPrintsItsAction) {
  NotifyCapture capture(2);
  DtResignMsg resign("Fed", 7, RTI::DELETE_OBJECTS, nullptr);
  EXPECT_TRUE(resign.isAllowedDuringSave());
  std::vector<char> bytes(resign.data(), resign.data() + resign.size());
  DtResignMsg received(reinterpret_cast<const DtNetResignMsg*>(bytes.data()), DtPlaceHolderAt(bytes.data()));
  EXPECT_TRUE(received.isAllowedDuringSave());
  EXPECT_FALSE(DtJoinMsg(nullptr).isAllowedDuringSave());
  resign.printData();
  EXPECT_EQ(capture.text(), "ResignAction:        DELETE_OBJECTS   (2)\n");
  capture.clear();
  resign.setResignAction(static_cast<RTI::ResignAction>(9));
  resign.printData();
  EXPECT_EQ(capture.text(), "ResignAction:           (9)\n");
}

}  // namespace
