#include "msg/DtOwnershipMsg.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MsgRoundTrip.h"

namespace {

using std::string;

DtAttributeHandleSet handles(std::initializer_list<RTI::AttributeHandle> list) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : list) set.add(h);
  return set;
}

// A received message, read from a heap copy of exactly its bytes, so that a
// read past its end is caught.
std::unique_ptr<DtRtiMsg> receive(const string& bytes, int* status) {
  std::vector<char> exact(bytes.begin(), bytes.end());
  DtDfltMsgFactory factory;
  return std::unique_ptr<DtRtiMsg>(
      factory.createReceived(exact.data(), static_cast<int>(exact.size()), nullptr, status));
}

DtOwnershipMsg* giveToLrc() {
  auto* msg = new DtOwnershipMsg(DtGiveToLRC, 0x01020304, handles({0, 33}), 0x0506, "ab");
  msg->setClassHandle(0x0708090A);
  return msg;
}

// Object 5, no tag, DtAcquire, recipient 2, class 0, the set {9}.
const string theFixedPart = string("\x00\x00\x00\x05\x00\x00\x00\x02", 8) + string(4, '\0') +
                            string("\x00\x00\x00\x01\x00\x00\x02\x00", 8) + string(36, '\0');

const RoundTripTable ownershipCases{
    // Header (66 bytes, kind 20), object, tag size 3, sub-kind 13, recipient,
    // class, the set {0, 33} (count 2, word 0 = 1, word 1 = 2), the tag.
    {"give to LRC", [] { return giveToLrc(); }, DtOwnershipMsgKind,
     string("\x00\x42\x00\x00\x14\x00\x00\x00\x01\x02\x03\x04\x03\x0D\x05\x06\x07\x08\x09\x0A", 20) +
         string("\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00\x02", 12) + string(32, '\0') + "ab"},
    // No tag: size byte 0; a single handle, 9.
    {"null tag", [] { return new DtOwnershipMsg(DtAcquire, 5, RTI::AttributeHandle{9}, 2, nullptr); },
     DtOwnershipMsgKind, string("\x00\x40\x00\x00\x14\x00\x00\x00", 8) + theFixedPart},
    // The empty tag: size byte 1, no characters.
    {"empty tag", [] { return new DtOwnershipMsg(DtAcquire, 5, RTI::AttributeHandle{9}, 2, ""); }, DtOwnershipMsgKind,
     string("\x00\x40\x00\x00\x14\x00\x00\x00", 8) +
         [] {
           string b = theFixedPart;
           b[4] = 1;
           return b;
         }()},
    {"long tag",
     [] {
       return new DtOwnershipMsg(DtInformOwner, 5, handles({1, 319}), 0, string(200, 'x').c_str());
     },
     DtOwnershipMsgKind, ""},
    {"longest tag", [] { return new DtOwnershipMsg(DtNotOwned, 5, handles({}), 0, string(254, 'y').c_str()); },
     DtOwnershipMsgKind, ""},
    {"unknown sub-kind", [] { return new DtOwnershipMsg(static_cast<DtOwnerMsgKind>(77), 5, handles({}), 0, "t"); },
     DtOwnershipMsgKind, ""},
};

TEST(DtOwnershipMsg, EveryFormSurvivesTheRoundTrip) {
  for (const RoundTrip& c : ownershipCases) checkRoundTrip(c);
}

struct TagCase {
  const char* what;
  const char* tag;
  int sizeByte;
  int length;
};

TEST(DtOwnershipMsg, ATagComesBackWholeFromTheMessageItself) {
  const string longTag(200, 'x');  // longer than the 99 characters of the old shared buffer
  const string longest(254, 'y');
  const TagCase cases[] = {{"null", nullptr, 0, 64},
                           {"empty", "", 1, 64},
                           {"ten characters", "0123456789", 11, 74},
                           {"long", longTag.c_str(), 201, 264},
                           {"longest", longest.c_str(), 255, 318}};
  for (const TagCase& c : cases) {
    DtOwnershipMsg msg(DtAcquire, 1, RTI::AttributeHandle{3}, 0, "a previous tag");
    msg.setTag(c.tag);
    EXPECT_EQ(static_cast<unsigned char>(msg.data()[12]), c.sizeByte) << c.what;
    EXPECT_EQ(msg.size(), c.length) << c.what;
    EXPECT_EQ(msg.tagFieldSize(), c.length - 64) << c.what;
    int status = -1;
    auto received = receive(bytesOf(msg), &status);
    ASSERT_NE(received, nullptr) << c.what;
    for (const char* tag : {msg.tag(), static_cast<const DtOwnershipMsg&>(*received).tag()}) {
      if (!c.tag) {
        EXPECT_EQ(tag, nullptr) << c.what;
      } else {
        ASSERT_NE(tag, nullptr) << c.what;
        EXPECT_STREQ(tag, c.tag) << c.what;
        EXPECT_NE(tag, c.tag) << c.what;  // a copy the message keeps
      }
    }
  }
}

TEST(DtOwnershipMsg, ANewTagReplacesTheOldInPlace) {
  DtOwnershipMsg msg(DtAcquire, 1, RTI::AttributeHandle{3}, 0, "0123456789");
  ASSERT_EQ(msg.size(), 74);
  msg.setTag("abc");
  EXPECT_EQ(msg.size(), 67);
  EXPECT_EQ(msg.netHeader()->length(), 67);
  EXPECT_STREQ(msg.tag(), "abc");
}

TEST(DtOwnershipMsg, ATagTooLongForItsSizeByteIsRefusedAndTheMessageKeepsItsTag) {
  NotifyCapture capture(1);
  DtOwnershipMsg msg(DtAcquire, 1, RTI::AttributeHandle{3}, 0, "kept");
  msg.setTag(string(255, 'z').c_str());
  EXPECT_STREQ(msg.tag(), "kept");
  EXPECT_EQ(msg.size(), 68);
  EXPECT_NE(capture.text().find("tag of 255 characters"), string::npos) << capture.text();
}

TEST(DtOwnershipMsg, AMessageOfOneHandleCarriesExactlyThatHandle) {
  for (RTI::AttributeHandle h : {0u, 31u, 32u, 319u}) {
    DtOwnershipMsg msg(DtQueryOwner, 9, h, 2, nullptr);
    EXPECT_EQ(msg.attrHandles().size(), 1u) << h;
    EXPECT_TRUE(msg.attrHandles().isMember(h)) << h;
  }
  NotifyCapture capture(1);
  DtOwnershipMsg beyond(DtQueryOwner, 9, RTI::AttributeHandle{320}, 2, nullptr);
  EXPECT_TRUE(beyond.attrHandles().isEmpty());
  EXPECT_NE(capture.text().find("320"), string::npos);
}

TEST(DtOwnershipMsg, TheDecodedSetFollowsTheBytes) {
  DtOwnershipMsg msg(DtAcquire, 1, handles({1, 2}), 0, nullptr);
  EXPECT_EQ(msg.attrHandles().size(), 2u);
  msg.setAttrHandles(handles({5}));
  EXPECT_EQ(msg.attrHandles().size(), 1u);
  EXPECT_TRUE(msg.attrHandles().isMember(5));
}

TEST(DtOwnershipMsg, ValuesThatCannotTravelAreRefused) {
  NotifyCapture capture(1);
  DtOwnershipMsg msg(DtAcquire, 1, RTI::AttributeHandle{3}, 7, nullptr);
  msg.setRecipientFederate(65536);
  EXPECT_EQ(msg.recipientFederate(), 7u);
  msg.setObjHandle(0x100000000UL);
  EXPECT_EQ(msg.objHandle(), 1u);
  EXPECT_NE(capture.text().find("recipient federate 65536"), string::npos) << capture.text();
}

// A received message must be 64 bytes and exactly its tag.
TEST(DtOwnershipMsg, AReceivedTagSizeMustMatchTheMessage) {
  const string good = bytesOf(DtOwnershipMsg(DtInformOwner, 4, handles({1}), 2, "abc"));
  struct Case {
    const char* what;
    string bytes;
    bool accepted;
  };
  auto withSizeByte = [&](int sizeByte) {
    string b = good;
    b[12] = static_cast<char>(sizeByte);
    return b;
  };
  auto withLength = [](string b, std::size_t n) {
    b.resize(n, 'q');
    b[0] = static_cast<char>(n >> 8);
    b[1] = static_cast<char>(n & 0xFF);
    return b;
  };
  const Case cases[] = {
      {"as sent", good, true},
      {"size past the end", withSizeByte(200), false},
      {"size one past the end", withSizeByte(5), false},
      {"bytes behind the tag", withSizeByte(3), false},
      {"no tag but bytes", withSizeByte(0), false},
      {"shorter than the fixed part", withLength(good, 40), false},
      {"header alone", withLength(good, 8), false},
      {"no tag, fixed part only", withLength(withSizeByte(0), 64), true},
  };
  for (const Case& c : cases) {
    int status = -1;
    auto msg = receive(c.bytes, &status);
    EXPECT_EQ(msg != nullptr, c.accepted) << c.what;
    EXPECT_EQ(status, c.accepted ? 0 : 2) << c.what;
  }
  // Read without the factory's check, a bad message still never reads past its bytes.
  std::vector<char> exact(cases[1].bytes.begin(), cases[1].bytes.end());
  DtOwnershipMsg bad(reinterpret_cast<const DtNetOwnershipMsg*>(exact.data()), DtPlaceHolderAt(exact.data()));
  EXPECT_NE(bad.status(), 0);
  EXPECT_EQ(bad.tagFieldSize(), 3);
  EXPECT_STREQ(bad.tag(), "abc");
}

TEST(DtOwnershipMsg, AResentCopyKeepsEverythingButItsNewRecipient) {
  DtOwnershipMsg received(DtGiveToLRC, 300001, handles({0, 4}), 0, "Radio.1");
  received.setClassHandle(9);
  std::unique_ptr<DtRtiMsg> copy(received.clone(1));
  auto& resent = static_cast<DtOwnershipMsg&>(*copy);
  resent.setRecipientFederate(5);
  EXPECT_EQ(resent.recipientFederate(), 5u);
  EXPECT_STREQ(resent.tag(), "Radio.1");
  EXPECT_EQ(resent.classHandle(), 9u);
  EXPECT_EQ(resent.attrHandles().size(), 2u);
  EXPECT_EQ(received.recipientFederate(), 0u);

  std::unique_ptr<DtRtiMsg> empty(received.clone(0));
  EXPECT_EQ(empty->size(), 64);
  EXPECT_EQ(empty->msgKind(), DtOwnershipMsgKind);
}

struct PrintCase {
  int kind;
  const char* name;
};

TEST(DtOwnershipMsg, PrintsTheSubKindByNameAndNumberThenEveryField) {
  const PrintCase kinds[] = {{0, "DtAcquire"},
                             {3, "DtCancelNegotiatedDivest"},
                             {13, "DtGiveToLRC"},
                             {14, "DtResetOwner"},
                             {15, "DtTakenOver"},
                             {16, ""},
                             {200, ""}};
  for (const PrintCase& c : kinds) {
    NotifyCapture capture(2);
    DtOwnershipMsg msg(static_cast<DtOwnerMsgKind>(c.kind), 7, handles({1, 2}), 3, c.kind == 13 ? "tag" : nullptr);
    msg.setClassHandle(11);
    msg.printData();
    char first[80];
    std::snprintf(first, sizeof first, "%-20s %s   (%d)\n", "OwnershipMsgKind:", c.name, c.kind);
    const string text = capture.text();
    EXPECT_EQ(text.substr(0, std::strlen(first)), first) << c.kind;
    EXPECT_NE(text.find("ObjectHandle:        7\nClassHandle:         11\nRecipientFed:        3\n"), string::npos);
    EXPECT_NE(text.find(c.kind == 13 ? "Tag:                 tag\n" : "Tag:                 \n"), string::npos);
    EXPECT_NE(text.find("NumHandles:"), string::npos) << text;
  }
}

}  // namespace
