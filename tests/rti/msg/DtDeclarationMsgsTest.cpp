#include "msg/DtDeclarationMsgs.h"

#include "MsgRoundTrip.h"

namespace {

using std::string;

DtAttributeHandleSet handles(std::initializer_list<RTI::AttributeHandle> members) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : members) set.add(h);
  return set;
}

const RoundTripTable declarationCases{
    {"sub inter", [] { return new DtSubInterMsg(3, nullptr); }, DtSubInterMsgKind,
     string("\x00\x10\x00\x00\x0c\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00", 16)},
    {"pub inter", [] { return new DtPubInterMsg(4, nullptr); }, DtPubInterMsgKind, ""},
    {"unpub inter", [] { return new DtUnpubInterMsg(5, nullptr); }, DtUnpubInterMsgKind, ""},
    {"unsub inter", [] { return new DtUnsubInterMsg(6, nullptr); }, DtUnsubInterMsgKind, ""},
    {"unsub obj", [] { return new DtUnsubObjMsg(7, nullptr); }, DtUnsubObjMsgKind, ""},
    {"unpub obj", [] { return new DtUnpubObjMsg(0UL, nullptr); }, DtUnpubObjMsgKind, ""},
    {"pub obj",
     [] {
       return new DtPubObjMsg(9, handles({0, 319}), nullptr);
     },
     DtPubObjMsgKind, ""},
    {"sub obj",
     [] {
       return new DtSubObjMsg(5, 1, 0, handles({1, 2}), nullptr);
     },
     DtSubObjMsgKind,
     string("\x00\x3c\x00\x00\x0e\x00\x00\x00\x00\x00\x00\x05\x00\x01\x00\x00"
            "\x00\x00\x00\x02\x00\x00\x00\x06",
            24) +
         string(36, '\0')},
};

TEST(DtDeclarationMsgs, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : declarationCases) checkRoundTrip(c);
}

TEST(DtDeclarationMsgs, SubscriptionsKeepTheirDecodedSetUntilItIsWrittenAgain) {
  DtSubObjMsg msg(5, 1, 0, handles({1, 2}), nullptr);
  const RTI::AttributeHandleSet& first = msg.attrHandles();
  EXPECT_EQ(&msg.attrHandles(), &first);
  EXPECT_TRUE(first.isMember(2));
  msg.setAttrHandles(handles({7}));
  EXPECT_TRUE(msg.attrHandles().isMember(7));
  EXPECT_EQ(msg.attrHandles().size(), 1u);
  EXPECT_EQ(msg.objectClassHandle(), 5u);
  EXPECT_EQ(msg.isPassive(), 1);
  EXPECT_EQ(msg.replacement(), 0);
}

TEST(DtDeclarationMsgs, AnyNonZeroLowFlagByteReadsTrue) {
  NotifyCapture capture(2);
  DtSubObjMsg msg(5, 0, 0, DtAttributeHandleSet(), nullptr);
  msg.data()[13] = 2;
  EXPECT_EQ(msg.isPassive(), 2);
  msg.print();
  EXPECT_NE(capture.text().find("Class:               5\nIsPassive:           True\nReplacement:         False\n"
                                "NumHandles:"),
            string::npos)
      << capture.text();
}

}  // namespace
