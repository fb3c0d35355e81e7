#include "msg/DtNetValueList.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestMsgs.h"
#include "api/DtAttributeHandleSet.h"
#include "api/DtParamValueSet.h"
#include "fedtime.hh"
#include "msg/DtRtiMsgFactory.h"
#include "rti/util/NotifyCapture.h"

namespace {

using std::string;

string listBytes(const RTI::ParameterHandleValuePairSet& set) {
  string out(static_cast<std::size_t>(DtNetParams::sizeNeeded(set)), '\0');
  DtNetParams::write(out.data(), set);
  return out;
}

TEST(DtNetBodies, ValueListsAndHandleSetsHaveTheirWireForms) {
  DtParamValueSet params(2);
  EXPECT_EQ(listBytes(params), string(2, '\0'));
  params.add(7, "ABC", 3);
  const string one = listBytes(params);
  EXPECT_EQ(one, string("\x00\x01\x00\x07\x00\x03"
                        "ABC\x00",
                        10));

  DtParamValueSet back(1);
  ASSERT_TRUE(DtNetParams::read(one.data(), static_cast<int>(one.size()), back));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back.getHandle(0), 7u);
  RTI::ULong length = 0;
  EXPECT_EQ(string(back.getValuePointer(0, length), 3), "ABC");
  EXPECT_FALSE(DtNetParams::valid(one.data(), 8));  // the value is cut

  DtAttributeHandleSet handles;
  handles.add(0);
  handles.add(33);
  string set(DtNetHandleSet::theSize, '\0');
  handles.encode(set.data());
  EXPECT_EQ(set.substr(0, 12), string("\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x02", 12));
  EXPECT_EQ(set.substr(12), string(32, '\0'));
}

TEST(DtNetBodies, TextsArePaddedToEvenAndLaterPartsMove) {
  TestMsg msg;
  DtParamValueSet params(1);
  params.add(1, "xy", 2);
  ASSERT_TRUE(msg.setList(params));
  EXPECT_EQ(msg.size(), 24 + 8);
  msg.setTag("abc");
  EXPECT_EQ(msg.bytes().substr(14, 2), string("\x00\x04", 2));
  EXPECT_EQ(msg.bytes().substr(24, 4), string("abc\0", 4));
  msg.setTag("ab");
  EXPECT_EQ(msg.bytes().substr(14, 2), string("\x00\x03", 2));
  EXPECT_EQ(msg.listOffset(), 26);
  msg.setTag("abcde");
  EXPECT_EQ(msg.listOffset(), 30);
  EXPECT_EQ(msg.size(), 24 + 6 + 8);
  EXPECT_STREQ(msg.tag(), "abcde");
  msg.setTag(nullptr);
  EXPECT_EQ(msg.bytes().substr(14, 2), string("\x00\x00", 2));
  EXPECT_EQ(msg.tag(), nullptr);
  EXPECT_EQ(msg.size(), 32);
  EXPECT_EQ(msg.bytes().substr(24), listBytes(params));
}

TEST(DtNetBodies, ATimeIsEncodedInPlaceAndTheTextsAfterItMove) {
  TestMsg msg;
  msg.setTag("t");
  msg.setTime(RTIfedTime(2.5));
  EXPECT_EQ(msg.bytes()[16], 8);
  EXPECT_EQ(msg.tagOffset(), 32);
  EXPECT_STREQ(msg.tag(), "t");
  EXPECT_TRUE(static_cast<const RTIfedTime&>(msg.time()) == 2.5);
  std::unique_ptr<DtRtiMsg> copy(msg.clone(1));
  EXPECT_TRUE(static_cast<const RTIfedTime&>(copy->time()) == 2.5);
  EXPECT_EQ(msg.status(), DtRtiMsg::Valid);
}

TEST(DtNetBodies, TooLongATextIsRefusedAndTheMessageStaysAsItWas) {
  NotifyCapture capture(1);
  TestMsg msg;
  msg.setName("keep");
  const string before = msg.bytes();
  msg.setName(string(255, 'n').c_str());  // the size field is one byte
  EXPECT_EQ(msg.bytes(), before);
  EXPECT_NE(capture.text().find("does not fit its size field (at most 254)"), string::npos);
  msg.setName(string(254, 'n').c_str());
  EXPECT_EQ(msg.bytes()[17], '\xff');
}

// A received message whose bytes were changed after it was built: each case
// is read from a heap copy of exactly its size, so that a read past the end
// is caught, then printed and read through every accessor.
struct Malformed {
  const char* what;
  std::function<void(string&)> change;
  int status;
};

TEST(DtNetBodies, ReceivedMessagesWithSizesPastTheirEndAreRefused) {
  NotifyCapture capture(2);
  TestMsg good;
  good.setTime(RTIfedTime(1.0));
  good.setTag("tag");
  good.setName("n");
  DtParamValueSet params(2);
  params.add(3, "abc", 3);
  params.add(4, "d", 1);
  ASSERT_TRUE(good.setList(params));
  const string base = good.bytes();  // time at 24, tag at 32, name at 36, list at 38
  auto setLength = [](string& b) { DtNetU16::write(b.data(), static_cast<std::uint16_t>(b.size())); };

  const Malformed cases[] = {
      {"sound", [](string&) {}, DtRtiMsg::Valid},
      {"header only",
       [&](string& b) {
         b.resize(8);
         setLength(b);
       },
       DtRtiMsg::TooShort},
      {"fixed part cut",
       [&](string& b) {
         b.resize(23);
         setLength(b);
       },
       DtRtiMsg::TooShort},
      {"length disagrees", [](string& b) { b[1] = 9; }, DtRtiMsg::TooShort},
      {"tag past the end", [](string& b) { b[15] = 60; }, DtRtiMsg::PartPastEnd},
      {"time past the end",
       [&](string& b) {
         b.resize(28);
         setLength(b);
       },
       DtRtiMsg::PartPastEnd},
      {"time too short to decode", [](string& b) { b[16] = 2; }, DtRtiMsg::BadTime},
      {"count beyond the entries", [](string& b) { b[39] = 3; }, DtRtiMsg::PartPastEnd},
      {"value past the end", [](string& b) { b[51] = 9; }, DtRtiMsg::PartPastEnd},
      {"extra bytes after the list",
       [&](string& b) {
         b += "zz";
         setLength(b);
       },
       DtRtiMsg::Valid},
      {"channel kind without its channel",
       [&](string& b) {
         b[4] = DtDdmUpdateRoMsgKind;
         b.resize(26);
         setLength(b);
       },
       DtRtiMsg::TooShort},
  };
  for (const Malformed& c : cases) {
    SCOPED_TRACE(c.what);
    string bytes = base;
    c.change(bytes);
    std::vector<char> exact(bytes.begin(), bytes.end());
    if (DtNetMsgHeader::at(exact.data())->length() > exact.size()) {
      // The header claims more than there is: only the receive road's check
      // stands between it and the message.
      DtRtiMsgFactory factory;
      factory.addCreators(DtUpdateRoMsgKind, &TestMsg::create, &TestMsg::create);
      EXPECT_EQ(factory.createReceived(exact.data(), static_cast<int>(exact.size()), nullptr, nullptr), nullptr);
      continue;
    }
    TestMsg msg(reinterpret_cast<const DtNetTestMsg*>(exact.data()), DtPlaceHolderAt(exact.data()));
    EXPECT_EQ(msg.status(), c.status);
    msg.print();
    (void)msg.tag();
    (void)msg.name();
    (void)msg.time();
    (void)msg.word();
    (void)msg.number();
  }
}

}  // namespace
