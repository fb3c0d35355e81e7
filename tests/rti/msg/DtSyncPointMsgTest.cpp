// The synchronization point message (kind 19): its bytes, its setters that
// grow and shrink it in place, its federate sets, its print form and the
// received bodies it drops.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MsgRoundTrip.h"
#include "api/DtConcreteFedHandleSet.h"
#include "msg/DtSyncPointMsg.h"
#include "rti/util/BigEndianBytes.h"

namespace {

using std::string;

string header(int length) {
  return string{static_cast<char>(length >> 8), static_cast<char>(length), 0, 0, 19, 0, 0, 0};
}
string sizes(int tag, int label) { return string{static_cast<char>(tag), static_cast<char>(label)}; }

std::unique_ptr<RTI::FederateHandleSet> setOf(std::vector<RTI::FederateHandle> handles) {
  std::unique_ptr<RTI::FederateHandleSet> set(
      RTI::FederateHandleSetFactory::create(static_cast<RTI::ULong>(std::max<std::size_t>(handles.size(), 1))));
  for (const RTI::FederateHandle h : handles) set->add(h);
  return set;
}

DtSyncPointMsg* registerOneAndTwo() { return new DtSyncPointMsg(DtRegister, 3, "ab", "t", setOf({1, 2}).get()); }

const RoundTripTable syncPointCases{
    {"empty", [] { return new DtSyncPointMsg(); }, DtSyncPointMsgKind,
     header(16) + be16(0) + be16(0) + sizes(0, 0) + be16(0)},
    {"register for federates 1 and 2", [] { return registerOneAndTwo(); }, DtSyncPointMsgKind,
     header(29) + be16(0) + be16(3) + sizes(2, 3) + be16(2) + be32(1) + be32(2) + string("t\0ab\0", 5)},
    {"register for all with an empty tag", [] { return new DtSyncPointMsg(DtRegister, 1, "go", "", nullptr); },
     DtSyncPointMsgKind, header(20) + be16(0) + be16(1) + sizes(1, 3) + be16(0) + string("\0go\0", 4)},
    {"achieved", [] { return new DtSyncPointMsg(DtAchieved, 2, "go", nullptr, nullptr); }, DtSyncPointMsgKind,
     header(19) + be16(1) + be16(2) + sizes(0, 3) + be16(0) + string("go\0", 3)},
    {"synchronized with an empty set",
     [] { return new DtSyncPointMsg(DtSynchronized, 0, "go", nullptr, setOf({}).get()); }, DtSyncPointMsgKind,
     header(19) + be16(2) + be16(0) + sizes(0, 3) + be16(0) + string("go\0", 3)},
    {"announce", [] { return new DtSyncPointMsg(DtAnnouncePt, 0, "go", "tag", setOf({0xFFFFFFFF}).get()); },
     DtSyncPointMsgKind,
     header(27) + be16(3) + be16(0) + sizes(4, 3) + be16(1) + be32(0xFFFFFFFF) + string("tag\0go\0", 7)},
    {"succeeded", [] { return new DtSyncPointMsg(DtSyncPointSucceeded, 4, "go", nullptr, nullptr); },
     DtSyncPointMsgKind, header(19) + be16(4) + be16(4) + sizes(0, 3) + be16(0) + string("go\0", 3)},
    {"failed", [] { return new DtSyncPointMsg(DtSyncPointFailed, 4, "go", nullptr, nullptr); }, DtSyncPointMsgKind,
     header(19) + be16(5) + be16(4) + sizes(0, 3) + be16(0) + string("go\0", 3)},
    {"a sub-kind that is none", [] { return new DtSyncPointMsg(static_cast<DtSyncMsgType>(9), 0, "", "", nullptr); },
     DtSyncPointMsgKind, header(18) + be16(9) + be16(0) + sizes(1, 1) + be16(0) + string("\0\0", 2)},
};

TEST(DtSyncPointMsg, EverySubKindHasItsBytesAndSurvivesTheRoundTrip) {
  for (const RoundTrip& c : syncPointCases) checkRoundTrip(c);
}

TEST(DtSyncPointMsg, ItsSettersGrowAndShrinkItInPlace) {
  std::unique_ptr<DtSyncPointMsg> msg(registerOneAndTwo());
  EXPECT_STREQ(msg->syncPointName(), "ab");
  EXPECT_STREQ(msg->tag(), "t");
  EXPECT_EQ(msg->federateId(), 3u);
  EXPECT_EQ(msg->syncMsgKind(), DtRegister);

  // A longer tag moves the label; a shorter label shrinks the message.
  EXPECT_TRUE(msg->setTag("a longer tag"));
  EXPECT_EQ(msg->size(), 16 + 8 + 13 + 3);
  EXPECT_STREQ(msg->syncPointName(), "ab");
  EXPECT_TRUE(msg->setSyncPointName("x"));
  EXPECT_EQ(msg->size(), 16 + 8 + 13 + 2);
  EXPECT_STREQ(msg->tag(), "a longer tag");
  EXPECT_STREQ(msg->syncPointName(), "x");

  // More handles move both texts; none shrink it back.
  EXPECT_TRUE(msg->setFederates(setOf({5, 6, 7}).get()));
  EXPECT_EQ(msg->numFederates(), 3);
  EXPECT_EQ(msg->federateHandles(), (std::vector<std::uint32_t>{5, 6, 7}));
  EXPECT_STREQ(msg->tag(), "a longer tag");
  EXPECT_STREQ(msg->syncPointName(), "x");
  EXPECT_TRUE(msg->setFederates(nullptr));
  EXPECT_EQ(msg->handleArraySize(), 0);
  EXPECT_TRUE(msg->setTag(nullptr));
  EXPECT_TRUE(msg->setSyncPointName(nullptr));
  EXPECT_EQ(msg->tag(), nullptr);
  EXPECT_EQ(msg->syncPointName(), nullptr);
  EXPECT_EQ(msg->size(), 16);
  EXPECT_EQ(msg->status(), DtRtiMsg::Valid);
  EXPECT_EQ(bytesOf(*msg).substr(8), bytesOf(DtSyncPointMsg(DtRegister, 3, nullptr, nullptr, nullptr)).substr(8));
}

TEST(DtSyncPointMsg, LabelsAndTagsOfMoreThan254CharactersAreRefused) {
  DtSyncPointMsg msg(DtRegister, 1, "go", "t", nullptr);
  const string longest(254, 'a');
  EXPECT_TRUE(msg.setSyncPointName(longest.c_str()));
  EXPECT_TRUE(msg.setTag(longest.c_str()));
  EXPECT_EQ(msg.nameFieldSize(), 255);
  EXPECT_EQ(msg.syncPointName(), longest);
  NotifyCapture capture(1);
  const string tooLong(255, 'b');
  EXPECT_FALSE(msg.setSyncPointName(tooLong.c_str()));
  EXPECT_FALSE(msg.setTag(tooLong.c_str()));
  EXPECT_FALSE(msg.set(DtRegister, 1, tooLong.c_str(), "t", nullptr));
  EXPECT_NE(capture.text().find("synchronization point label of 255 characters does not fit"), string::npos)
      << capture.text();
  EXPECT_NE(capture.text().find("tag of 255 characters does not fit"), string::npos);
  EXPECT_EQ(msg.syncPointName(), longest);  // as it was
  EXPECT_EQ(msg.status(), DtRtiMsg::Valid);
}

TEST(DtSyncPointMsg, ItsHandlesFillASetAsFarAsTheSetHasRoom) {
  std::unique_ptr<DtSyncPointMsg> msg(new DtSyncPointMsg(DtAnnouncePt, 0, "go", "", setOf({4, 5, 6}).get()));
  const std::unique_ptr<RTI::FederateHandleSet> all = msg->federates();
  ASSERT_EQ(all->size(), 3u);
  EXPECT_EQ(all->getHandle(2), 6u);

  NotifyCapture capture(2);
  const std::unique_ptr<RTI::FederateHandleSet> two(RTI::FederateHandleSetFactory::create(2));
  msg->getFederates(*two);
  EXPECT_EQ(capture.text(), "DtSyncPointMsg::getFederates needs larger set.\n");
  ASSERT_EQ(two->size(), 2u);
  EXPECT_EQ(two->getHandle(0), 4u);
  EXPECT_EQ(two->getHandle(1), 5u);

  EXPECT_TRUE(msg->concerns(5));
  EXPECT_FALSE(msg->concerns(7));
  msg->setFederates(nullptr);
  EXPECT_TRUE(msg->concerns(7));
  EXPECT_EQ(msg->federates()->size(), 0u);

  NotifyCapture errors(1);
  EXPECT_FALSE(msg->setFederateHandles(std::vector<std::uint32_t>(0x10000, 1)));
  EXPECT_NE(errors.text().find("65536 federate handles do not fit its count"), string::npos) << errors.text();
  // As many as the largest message holds beside its texts, and no more.
  const std::size_t most = (DtRtiMsg::theMaxSize - 16 - 4) / 4;  // beside "go", an empty tag and their zeros
  EXPECT_FALSE(msg->setFederateHandles(std::vector<std::uint32_t>(most + 1, 1)));
  EXPECT_NE(errors.text().find("would be longer than 65535 bytes"), string::npos) << errors.text();
  EXPECT_EQ(msg->numFederates(), 0);
  EXPECT_TRUE(msg->setFederateHandles(std::vector<std::uint32_t>(most, 1)));
  EXPECT_EQ(msg->numFederates(), static_cast<int>(most));
  EXPECT_STREQ(msg->syncPointName(), "go");
  EXPECT_EQ(msg->status(), DtRtiMsg::Valid);
}

TEST(DtSyncPointMsg, ItPrintsItsSubKindTextsAndHandles) {
  NotifyCapture capture(2);
  std::unique_ptr<DtSyncPointMsg> msg(registerOneAndTwo());
  msg->printData();
  DtSyncPointMsg().printData();
  DtSyncPointMsg(static_cast<DtSyncMsgType>(6), 0, "x", nullptr, nullptr).printData();
  EXPECT_EQ(capture.text(),
            "SyncMsgKind:         DtRegister   (0)\n"
            "FederateId:          3\n"
            "SyncPointName:       ab\n"
            "Tag:                 t\n"
            "NumFederates:        2\n"
            " 1\n"
            " 2\n"
            "SyncMsgKind:         DtRegister   (0)\n"
            "FederateId:          0\n"
            "SyncPointName:       \n"
            "Tag:                 \n"
            "NumFederates:        0\n"
            "SyncMsgKind:            (6)\n"
            "FederateId:          0\n"
            "SyncPointName:       x\n"
            "Tag:                 \n"
            "NumFederates:        0\n");
  EXPECT_STREQ(DtSyncMsgTypeName(5), "DtSyncPointFailed");
  EXPECT_STREQ(DtSyncMsgTypeName(-1), "");
}

TEST(DtSyncPointMsg, ReceivedBodiesThatItsCountAndSizesDoNotDescribeAreDropped) {
  std::unique_ptr<DtRtiMsg> sound(registerOneAndTwo());
  const string r = bytesOf(*sound);  // 29 bytes: handles 16-23, "t\0" 24-25, "ab\0" 26-28
  ASSERT_NE(receiveExact(r), nullptr);
  ASSERT_NE(receiveExact(bytesOf(DtSyncPointMsg())), nullptr);

  struct Case {
    const char* what;
    string bytes;
    const char* reported;
  };
  const Case cases[] = {
      {"cut into its label", r.substr(0, 27), "reach past"},
      {"cut into its handles", r.substr(0, 18), "reach past"},
      {"shorter than its fixed part", r.substr(0, 15), "shorter than its fixed part"},
      {"with bytes to spare", r + "x", "call for 29"},
      {"one handle more", withField(r, 14, 3, 2), "reach past"},
      {"one handle less", withField(r, 14, 1, 2), "is not sound"},  // the label now ends in 't'
      {"the largest handle count", withField(r, 14, 0xFFFF, 2), "reach past"},
      {"a longer label", withField(r, 13, 4, 1), "reach past"},
      {"the largest label size", withField(r, 13, 0xFF, 1), "reach past"},
      {"a shorter label", withField(r, 13, 2, 1), "is not sound"},  // "ab" without its zero
      {"a label of no size", withField(r, 13, 0, 1), "call for 26"},
      {"a label without its zero", withField(r, 28, 'c', 1), "is not sound"},
      {"a tag without its zero", withField(r, 25, 'u', 1), "is not sound"},
      {"a longer tag", withField(r, 12, 3, 1), "reach past"},
  };
  for (const Case& c : cases) {
    string refused;
    EXPECT_EQ(receiveExact(c.bytes, &refused), nullptr) << c.what;
    EXPECT_NE(refused.find(c.reported), string::npos) << c.what << ": " << refused;
    EXPECT_TRUE(refused.starts_with("DtNetSyncMsg: a received body of")) << c.what;
    EXPECT_TRUE(refused.ends_with("; dropped")) << c.what;
  }
}

}  // namespace
