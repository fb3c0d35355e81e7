#include "msg/DtObjectMsgs.h"

#include "MsgRoundTrip.h"
#include "fedtime.hh"

namespace {

using std::string;

DtAttributeHandleSet oneAndTwo() {
  DtAttributeHandleSet set;
  set.add(1);
  set.add(2);
  return set;
}

const RoundTripTable objectCases{
    {"request by class", [] { return new DtRequestMsg(DtRequestByClass, 4, oneAndTwo(), 0, nullptr); },
     DtRequestMsgKind,
     string("\x00\x40\x00\x00\x12\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x04\x00\x00\x00\x00"
            "\x00\x00\x00\x02\x00\x00\x00\x06",
            28) +
         string(36, '\0')},
    {"request by id", [] { return new DtRequestMsg(DtRequestById, 9, oneAndTwo(), 3, nullptr); }, DtRequestMsgKind, ""},
    {"register", [] { return new DtRegObjMsg(7, "ab", 3, oneAndTwo(), nullptr); }, DtRegObjMsgKind, ""},
    {"local delete", [] { return new DtLocDelMsg(77, nullptr); }, DtLocDelMsgKind,
     string("\x00\x0c\x00\x00\x16\x00\x00\x00\x00\x00\x00\x4d", 12)},
    {"delete ro", [] { return new DtDeleteRoMsg(77, "abc", nullptr); }, DtDeleteRoMsgKind,
     string("\x00\x1c\x00\x00\x02\x00\x00\x00\x00\x00\x00\x4d\x00\x00\x00\x04", 16) + string(8, '\0') +
         string("abc\0", 4)},
    {"delete tso", [] { return new DtDeleteTsoMsg(77, DtTimestampOrder, RTIfedTime(3.0), "abc", 12, nullptr); },
     DtDeleteTsoMsgKind, ""},
    {"retract", [] { return new DtRetractMsg(9, nullptr); }, DtRetractMsgKind, ""},
    {"discover", [] { return new DtDiscObjMsg(77, 3, nullptr); }, DtDiscObjMsgKind, ""},
    {"request discover", [] { return new DtReqDiscObjMsg(77, nullptr); }, DtReqDiscObjMsgKind,
     string("\x00\x10\x00\x00\x48\x00\x00\x00\x00\x00\x00\x4d\x00\x00\x00\x00", 16)},
};

TEST(DtObjectMsgs, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : objectCases) checkRoundTrip(c);
}

TEST(DtObjectMsgs, ARequestAnswersOnlyForItsType) {
  DtRequestMsg byClass(DtRequestByClass, 4, oneAndTwo(), 0, nullptr);
  EXPECT_EQ(byClass.id(), 0u);
  EXPECT_EQ(byClass.objectClassHandle(), 4u);
  byClass.setId(8);  // not its type: nothing changes
  EXPECT_EQ(byClass.objectClassHandle(), 4u);
  const RTI::AttributeHandleSet& set = byClass.attrHandles();
  EXPECT_EQ(&byClass.attrHandles(), &set);
  byClass.setAttrHandles(DtAttributeHandleSet());
  EXPECT_EQ(byClass.attrHandles().size(), 0u);
}

TEST(DtObjectMsgs, TheRegisteredNameKeepsItsZeroAndNoPadding) {
  DtRegObjMsg named(7, "ab", 3, oneAndTwo(), nullptr);
  EXPECT_EQ(named.size(), 67);
  EXPECT_EQ(bytesOf(named)[16], 3);
  EXPECT_EQ(bytesOf(named).substr(64), string("ab\0", 3));
  EXPECT_STREQ(named.objName(), "ab");
  DtRegObjMsg unnamed(7, "", 3, oneAndTwo(), nullptr);
  EXPECT_EQ(unnamed.size(), 64);
  EXPECT_EQ(bytesOf(unnamed)[16], 0);
  EXPECT_STREQ(unnamed.objName(), "");
  named.setObjName("");
  EXPECT_EQ(bytesOf(named), bytesOf(unnamed));
}

TEST(DtObjectMsgs, ATimeStampedDeletePutsItsTagAfterThePaddedTime) {
  NotifyCapture capture(2);
  DtDeleteTsoMsg msg(77, DtTimestampOrder, RTIfedTime(3.0), "abc", 12, nullptr);
  EXPECT_EQ(msg.size(), 32);
  EXPECT_EQ(bytesOf(msg).substr(28), string("abc\0", 4));
  EXPECT_STREQ(msg.tag(), "abc");
  EXPECT_EQ(msg.serialNumber(), 12u);
  EXPECT_EQ(msg.orderType(), 1u);
  EXPECT_TRUE(msg.hasTime());
  EXPECT_TRUE(msg.isConstrained());
  msg.printData();
  EXPECT_EQ(capture.text(),
            "ID:                  77\n"
            "Tag:                 abc\n"
            "Serial Number:       12\n"
            "Time:                3\n");
  DtRetractMsg retract(9, nullptr);
  EXPECT_EQ(retract.serialNumber(), 9u);
}

}  // namespace
