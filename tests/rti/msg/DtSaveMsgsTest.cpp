#include "msg/DtSaveMsgs.h"

#include "MsgRoundTrip.h"
#include "fedtime.hh"

namespace {

using std::string;

const RoundTripTable saveCases{
    {"save request", [] { return new DtSaveRequestMsg("abc", nullptr); }, DtSaveRequestMsgKind,
     string("\x00\x0f\x00\x00\x21\x00\x00\x00\x00\x00\x00\x04"
            "abc",
            15)},
    {"save initiate", [] { return new DtSaveInitiateMsg("abc", nullptr); }, DtSaveInitiateMsgKind, ""},
    {"save complete", [] { return new DtSaveCompleteMsg("abc", 1, nullptr); }, DtSaveCompleteMsgKind, ""},
    {"save finished", [] { return new DtSaveFinishedMsg("abc", 0, nullptr); }, DtSaveFinishedMsgKind, ""},
    {"restore request", [] { return new DtRestoreRequestMsg("r", nullptr); }, DtRestoreRequestMsgKind, ""},
    {"restore reply", [] { return new DtRestoreReplyMsg("x", DtRestoreReplyMsg::WrongConfiguration, nullptr); },
     DtRestoreReplyMsgKind, ""},
    {"restore", [] { return new DtRestoreMsg(static_cast<const char*>(nullptr), nullptr); }, DtRestoreMsgKind, ""},
    {"restore complete", [] { return new DtRestoreCompleteMsg("abc", 1, nullptr); }, DtRestoreCompleteMsgKind, ""},
    {"restore end", [] { return new DtRestoreEndMsg("abc", 1, nullptr); }, DtRestoreEndMsgKind, ""},
    {"save request tso", [] { return new DtSaveRequestTsoMsg("abc", RTIfedTime(6.0), nullptr); },
     DtSaveRequestTsoMsgKind, ""},
    {"save time", [] { return new DtSaveTimeMsg(RTIfedTime(6.0), nullptr); }, DtSaveTimeMsgKind, ""},
    {"save time advance", [] { return new DtSaveTimeAdvanceMsg(nullptr); }, DtSaveTimeAdvanceMsgKind,
     string("\x00\x08\x00\x00\x41\x00\x00\x00", 8)},
    {"save response", [] { return new DtSaveResponseMsg(3, "abc", 1, nullptr); }, DtSaveResponseMsgKind, ""},
    {"restore begun", [] { return new DtRestoreBegunMsg(3, "abc", 0, nullptr); }, DtRestoreBegunMsgKind, ""},
    {"restore initiate", [] { return new DtRestoreInitiateMsg(3, 7, nullptr); }, DtRestoreInitiateMsgKind,
     string("\x00\x0c\x00\x00\x44\x00\x00\x00\x00\x03\x00\x07", 12)},
    {"save begun", [] { return new DtSaveBegunMsg("abc", nullptr); }, DtSaveBegunMsgKind, ""},
};

TEST(DtSaveMsgs, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : saveCases) checkRoundTrip(c);
}

TEST(DtSaveMsgs, TheTimeFollowsTheUnpaddedLabelAtAnOddOffset) {
  DtSaveRequestTsoMsg msg("abc", RTIfedTime(6.0), nullptr);
  EXPECT_EQ(msg.size(), 23);
  EXPECT_EQ(bytesOf(msg)[9], 8);
  string time(8, '\0');
  RTIfedTime(6.0).encode(time.data());
  EXPECT_EQ(bytesOf(msg).substr(15), time);
  EXPECT_TRUE(static_cast<const RTIfedTime&>(msg.time()) == 6.0);
  EXPECT_FALSE(msg.hasTime());
  EXPECT_TRUE(DtSaveRequestTsoMsg(nullptr).hasTime());
  msg.setLabel("abcdef");  // the time moves with the label's end
  EXPECT_EQ(bytesOf(msg).substr(18), time);
}

TEST(DtSaveMsgs, ClassesBuiltOnAnotherCarryTheirOwnKind) {
  DtRestoreEndMsg end("abc", 1, nullptr);
  EXPECT_EQ(end.msgKind(), DtRestoreEndMsgKind);
  EXPECT_EQ(bytesOf(end)[8], 1);
  EXPECT_TRUE(end.isAllowedDuringSave());
  EXPECT_FALSE(DtSaveResponseMsg(nullptr).isAllowedDuringSave());
  EXPECT_TRUE(DtSaveTimeMsg(nullptr).isAllowedDuringSave());
  EXPECT_TRUE(DtRestoreInitiateMsg(nullptr).isAllowedDuringSave());
}

TEST(DtSaveMsgs, PrintFormsSayWhatTheCodesMean) {
  NotifyCapture capture(2);
  DtSaveCompleteMsg("abc", 1, nullptr).printData();
  DtSaveRequestMsg(nullptr).printData();
  DtRestoreReplyMsg reply("x", DtRestoreReplyMsg::WrongConfiguration, nullptr);
  EXPECT_EQ(reply.destinationID(), 0u);
  reply.printData();
  reply.setReply(static_cast<DtRestoreReplyMsg::replyCodes>(9));
  reply.printData();
  DtRestoreInitiateMsg(3, 7, nullptr).printData();
  DtSaveResponseMsg(3, "abc", 1, nullptr).printData();
  EXPECT_EQ(capture.text(),
            "label:               abc\n"
            "Success flag:        Success\n"
            "label:               \n"
            "label:               x\n"
            "reply:                Wrong Configuration\n"
            "label:               x\n"
            "reply:                UNKNOWN\n"
            "Old Handle:          3\n"
            "New Handle:          7\n"
            "Requesting Federate: 3\n"
            "ResponseFlag:        1\n");
  EXPECT_EQ(DtSaveRequestMsg(nullptr).label(), nullptr);
}

}  // namespace
