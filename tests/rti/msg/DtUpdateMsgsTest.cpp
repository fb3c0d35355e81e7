#include "msg/DtUpdateMsgs.h"

#include "MsgRoundTrip.h"
#include "UpdateChannelFixture.h"
#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "fedtime.hh"

namespace {

using std::string;

const DtAttrValueSet& attrs(std::uint32_t channel = 0) {
  static DtAttrValueSet set(3);
  if (set.size() == 0) {
    set.add(1, "abc", 3);
    set.add(2, "", 0);
    set.add(319, "12345678", 8);
  }
  set.setRegionSet(channel);
  return set;
}

const DtParamValueSet& params() {
  static DtParamValueSet set(2);
  if (set.size() == 0) {
    set.add(7, "ABC", 3);
    set.add(65535, "z", 1);
  }
  return set;
}

// The cases with the data-distribution channel, or without.
RoundTripTable trafficCases(bool ddm) {
  return {
      {"update ro", [] { return new DtUpdateRoMsg(5, "obj", 3, attrs(9), "tag", nullptr); },
       ddm ? DtDdmUpdateRoMsgKind : DtUpdateRoMsgKind, ""},
      {"update tso",
       [] { return new DtUpdateTsoMsg(5, "o", 3, attrs(9), DtTimestampOrder, RTIfedTime(2.5), "t", 77, nullptr); },
       ddm ? DtDdmUpdateTsoMsgKind : DtUpdateTsoMsgKind, ""},
      {"interaction ro", [] { return new DtInteractionRoMsg(12, params(), "hello", 4, nullptr); },
       ddm ? DtDdmInteractionRoMsgKind : DtInteractionRoMsgKind, ""},
      {"interaction tso",
       [] { return new DtInteractionTsoMsg(12, params(), DtTimestampOrder, RTIfedTime(1.0), nullptr, 8, 4, nullptr); },
       ddm ? DtDdmInteractionTsoMsgKind : DtInteractionTsoMsgKind, ""},
  };
}
const RoundTripTable trafficCasesBy[] = {trafficCases(false), trafficCases(true)};

TEST_P(DtUpdateMsgsTest, EveryClassSurvivesTheRoundTrip) {
  for (const RoundTrip& c : trafficCasesBy[GetParam()]) checkRoundTrip(c);
}

TEST_P(DtUpdateMsgsTest, AnEmptyUpdateHasItsGoldenBytes) {
  DtAttrValueSet none(0);
  none.setRegionSet(9);
  DtUpdateRoMsg msg(5, nullptr, 3, none, nullptr, nullptr);
  const string head = string(GetParam() ? "\x00\x16" : "\x00\x12", 2) + string("\x00\x00", 2) +
                      string(1, GetParam() ? 24 : 1) + string(3, '\0') + string("\x00\x00\x00\x05\x00\x03\x00\x00", 8);
  EXPECT_EQ(bytesOf(msg), head + (GetParam() ? string("\x00\x00\x00\x09", 4) : string()) + string(2, '\0'));
  EXPECT_EQ(msg.channel(), GetParam() ? 9u : 0u);
  EXPECT_STREQ(msg.objName(), "");
  EXPECT_EQ(msg.tag(), nullptr);
  EXPECT_EQ(msg.numAttrs(), 0);
}

TEST_P(DtUpdateMsgsTest, ReadersWalkTheValuesInPlaceOrAsAKeptSet) {
  const DtAttrValueSet& sent = attrs();
  DtUpdateRoMsg msg(5, "x", 3, sent, "ab", nullptr);
  const int start = DtNetUpdateMsg::layout.fixedSize + (GetParam() ? 4 : 0);
  EXPECT_EQ(bytesOf(msg).substr(14, 2), string("\x03\x02", 2));
  EXPECT_EQ(bytesOf(msg).substr(static_cast<std::size_t>(start), 4), string("abx\0", 4));
  string seen;
  EXPECT_TRUE(msg.forEachValue(
      [&](std::uint16_t h, const char* v, std::uint16_t n) { seen += std::to_string(h) + "=" + string(v, n) + ";"; }));
  EXPECT_EQ(seen, "1=abc;2=;319=12345678;");
  const RTI::AttributeHandleValuePairSet& got = msg.attrs();
  EXPECT_EQ(&msg.attrs(), &got);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got.getHandle(2), 319u);
}

TEST_P(DtUpdateMsgsTest, SettingAgainReplacesEveryPart) {
  DtUpdateRoMsg msg(nullptr);
  EXPECT_EQ(msg.numAttrs(), 0);
  DtAttrValueSet small(1);
  small.add(1, "a", 1);
  msg.set(1, nullptr, 2, small, nullptr);
  const int withOne = msg.size();
  msg.set(1, nullptr, 2, attrs(), nullptr);
  EXPECT_EQ(msg.size(), withOne - 8 + 26);  // lists of 8 and 26 bytes
  EXPECT_EQ(msg.attrs().size(), 3u);
  msg.setAttrs(small, 1);
  EXPECT_EQ(msg.size(), withOne);
  EXPECT_EQ(msg.status(), DtRtiMsg::Valid);
}

// Values held elsewhere give the bytes that the same values in a set give
// (odd and empty values padded alike), also when a message is set again
// from them; a handle that cannot travel is refused as from a set.
TEST_P(DtUpdateMsgsTest, AnInteractionFromValuesHeldElsewhereIsTheOneFromASet) {
  const DtNetValue values[] = {{7, "ABC", 3}, {65535, "z", 1}};
  DtInteractionRoMsg fromView(nullptr);
  fromView.set(12, DtNetValueView(values), "hello", 4);
  EXPECT_EQ(bytesOf(fromView), bytesOf(DtInteractionRoMsg(12, params(), "hello", 4, nullptr)));
  EXPECT_EQ(fromView.status(), DtRtiMsg::Valid);

  DtParamValueSet set(3);
  set.add(1, "", 0);
  set.add(2, "xy", 3);
  set.add(3, "four", 4);
  const DtNetValue again[] = {{1, "", 0}, {2, "xy", 3}, {3, "four", 4}};
  fromView.set(3, DtNetValueView(again), nullptr, 0);
  EXPECT_EQ(bytesOf(fromView), bytesOf(DtInteractionRoMsg(3, set, nullptr, 0, nullptr)));
  EXPECT_EQ(fromView.refusal(), nullptr);

  NotifyCapture capture(1);
  const DtNetValue wide[] = {{65536, "a", 1}};
  fromView.set(3, DtNetValueView(wide), nullptr, 0);
  EXPECT_NE(fromView.refusal(), nullptr);
  EXPECT_NE(capture.text().find("cannot travel"), string::npos);
}

INSTANTIATE_TEST_SUITE_P(Channel, DtUpdateMsgsTest, ::testing::Values(false, true));

TEST(DtUpdateMsgs, AMessageOfTheOtherChannelSettingIsRefused) {
  NotifyCapture capture(1);
  DtUpdateMsg::setChannelIncluded(1);
  DtUpdateRoMsg ddm(5, nullptr, 3, attrs(2), nullptr, nullptr);
  DtUpdateMsg::setChannelIncluded(0);
  std::vector<char> bytes(ddm.data(), ddm.data() + ddm.size());
  DtUpdateRoMsg received(reinterpret_cast<const DtNetUpdateMsg*>(bytes.data()), DtPlaceHolderAt(bytes.data()));
  EXPECT_EQ(received.status(), DtRtiMsg::WrongChannel);
  EXPECT_EQ(received.channel(), 2u);  // still read by its own kind
  EXPECT_EQ(received.statusText(DtRtiMsg::WrongChannel),
            "kind 24 carries a channel, but this federate runs data distribution off");
}

TEST(DtUpdateMsgs, ValuesThatDoNotFitTheirFieldsAreRefused) {
  NotifyCapture capture(1);
  DtParamValueSet none(0);
  DtInteractionTsoMsg tso(70000, none, 0, RTIfedTime(1.0), nullptr, 1, 0, nullptr);
  EXPECT_EQ(tso.handle(), 0u);
  EXPECT_NE(capture.text().find("interaction class handle 70000 does not fit its 16-bit field"), string::npos);
  capture.clear();
  DtUpdateRoMsg update(5, string(255, 'n').c_str(), 70000, attrs(), string(300, 't').c_str(), nullptr);
  EXPECT_EQ(update.classHandle(), 0u);
  EXPECT_STREQ(update.objName(), "");
  EXPECT_EQ(update.tag(), nullptr);
  EXPECT_EQ(update.numAttrs(), 3);  // the rest is built
  EXPECT_NE(capture.text().find("a tag of 300 characters does not fit"), string::npos);
  EXPECT_NE(capture.text().find("a name of 255 characters does not fit"), string::npos);
}

TEST(DtUpdateMsgs, ExtraBytesAfterTheListAreIgnoredAndAShortListRefused) {
  DtInteractionRoMsg msg(3, params(), nullptr, 0, nullptr);
  std::vector<char> longer(msg.data(), msg.data() + msg.size());
  longer.push_back('x');
  longer.push_back('y');
  DtNetU16::write(longer.data(), static_cast<std::uint16_t>(longer.size()));
  DtInteractionRoMsg extra(reinterpret_cast<const DtNetInteractionMsg*>(longer.data()), DtPlaceHolderAt(longer.data()));
  EXPECT_EQ(extra.status(), DtRtiMsg::Valid);
  EXPECT_EQ(extra.params().size(), 2u);

  std::vector<char> shorter(msg.data(), msg.data() + msg.size() - 3);
  DtNetU16::write(shorter.data(), static_cast<std::uint16_t>(shorter.size()));
  DtInteractionRoMsg cut(reinterpret_cast<const DtNetInteractionMsg*>(shorter.data()), DtPlaceHolderAt(shorter.data()));
  EXPECT_EQ(cut.status(), DtRtiMsg::PartPastEnd);
  EXPECT_LE(cut.params().size(), 1u);
}

TEST(DtUpdateMsgs, AnUpdatePrintsItsFieldsThenItsValues) {
  NotifyCapture capture(2);
  DtAttrValueSet one(1);
  one.add(4, "\x01\x02", 2);
  DtUpdateTsoMsg msg(5, "obj", 3, one, DtTimestampOrder, RTIfedTime(2.5), nullptr, 77, nullptr);
  msg.setTransportType(DtReliable);
  msg.printData();
  EXPECT_EQ(capture.text(),
            "ObjectHandle:        5\n"
            "ObjectName:          obj\n"
            "Class:               3\n"
            "Tag:                 \n"
            "Transport:           Reliable\n"
            "Order:               TimeStamp\n"
            "SerialNumber:        77\n"
            "Time:                2.5\n"
            "NumValues:           1\n"
            "Handle:              4\n"
            "Bytes:               2\n"
            " 01 02\n");
}

}  // namespace
