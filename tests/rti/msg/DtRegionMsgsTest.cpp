// The region and region-set messages (kinds 25 to 30): their bytes, their
// print forms, how they are built again, and the received bodies they drop.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MsgRoundTrip.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "rti/util/BigEndianBytes.h"

namespace {

using std::string;

// The header of a message of this length and kind, from federate 0.
string header(int length, int kind) {
  return string{static_cast<char>(length >> 8), static_cast<char>(length), 0, 0, static_cast<char>(kind), 0, 0, 0};
}

DtAttributeHandleSet oneAndTwo() {
  DtAttributeHandleSet set;
  set.add(1);
  set.add(2);
  return set;
}
const string theSetOneAndTwo = be32(2) + be32(6) + string(36, '\0');

// Region 0x0102 of space 1: two extents of three dimensions, bounds 1 to 12.
DtNotifyRegMsg* twoExtents() {
  auto* msg = new DtNotifyRegMsg(0x0102, 1);
  const std::vector<std::uint32_t> bounds = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  msg->setExtents(2, 3, bounds);
  return msg;
}

string bounds(std::uint32_t from, std::uint32_t to) {
  string s;
  for (std::uint32_t v = from; v <= to; ++v) s += be32(v);
  return s;
}

const std::vector<std::uint32_t> theThreeRegions = {4, 5, 6};

const RoundTripTable regionCases{
    {"notify without extents", [] { return new DtNotifyRegMsg(0x0102, 1); }, DtNotifyRegMsgKind,
     header(20, 25) + be32(0x0102) + be32(1) + be32(0)},
    {"notify, 2 extents of 3 dimensions", [] { return twoExtents(); }, DtNotifyRegMsgKind,
     header(68, 25) + be32(0x0102) + be32(1) + be32(0x00020003) + bounds(1, 12)},
    {"notify in a space of a negative handle", [] { return new DtNotifyRegMsg(7, -2); }, DtNotifyRegMsgKind,
     header(20, 25) + be32(7) + be32(0xFFFFFFFE) + be32(0)},
    {"delete", [] { return new DtDeleteRegMsg(0x0102, nullptr); }, DtDeleteRegMsgKind, header(12, 26) + be32(0x0102)},
    {"object set without regions", [] { return new DtObjRegSetMsg(DtObjSubRegionSet, 200002, 0xE0010203, {}); },
     DtObjRegSetMsgKind, header(24, 29) + be32(1) + be32(200002) + be32(0xE0010203) + be32(0)},
    {"object set of three regions", [] { return new DtObjRegSetMsg(DtObjPubRegionSet, 200002, 0, theThreeRegions); },
     DtObjRegSetMsgKind, header(36, 29) + be32(0) + be32(200002) + be32(0) + be32(3) + be32(4) + be32(5) + be32(6)},
    {"object set of another type", [] { return new DtObjRegSetMsg(static_cast<DtObjRegSetType>(7), 2, 0, {}); },
     DtObjRegSetMsgKind, ""},
    {"interaction set without regions", [] { return new DtInterRegSetMsg(DtInterSubRegionSet, 200003, 6, 0, {}); },
     DtInterRegSetMsgKind, header(28, 30) + be32(1) + be32(200003) + be32(6) + be32(0) + be32(0)},
    {"interaction set of three regions",
     [] { return new DtInterRegSetMsg(DtInterPubRegionSet, 200003, 6, 0xE0000001, theThreeRegions); },
     DtInterRegSetMsgKind,
     header(40, 30) + be32(0) + be32(200003) + be32(6) + be32(0xE0000001) + be32(3) + be32(4) + be32(5) + be32(6)},
    {"association without a name", [] { return new DtAssocPubRegMsg(200002, 300001, "", 5, 0, oneAndTwo()); },
     DtAssocPubRegMsgKind, header(68, 27) + be32(200002) + be32(300001) + be32(5) + be32(0) + theSetOneAndTwo},
    {"association with a name", [] { return new DtAssocPubRegMsg(200002, 300001, "abc", 5, 1, oneAndTwo()); },
     DtAssocPubRegMsgKind,
     header(72, 27) + be32(200002) + be32(300001) + be32(5) + be32(0x00010004) + theSetOneAndTwo + string("abc\0", 4)},
    {"subscription association", [] { return new DtAssocSubRegMsg(200004, 5, oneAndTwo()); }, DtAssocSubRegMsgKind,
     header(60, 28) + be32(200004) + be32(5) + theSetOneAndTwo},
};

TEST(DtRegionMsgs, EveryKindHasItsBytesAndSurvivesTheRoundTrip) {
  for (const RoundTrip& c : regionCases) checkRoundTrip(c);
}

TEST(DtRegionMsgs, ANotifyMessageReadsItsBoundsAsItsCountsSay) {
  const std::unique_ptr<DtNotifyRegMsg> msg(twoExtents());
  EXPECT_EQ(msg->regionHandle(), 0x0102u);
  EXPECT_EQ(msg->spaceHandle(), 1);
  EXPECT_EQ(msg->numberExtents(), 2u);
  EXPECT_EQ(msg->numberDimensions(), 3u);
  EXPECT_EQ(msg->lowerBound(1, 2), 11u);
  EXPECT_EQ(msg->upperBound(1, 2), 12u);
  EXPECT_EQ(msg->lowerBound(2, 0), 0u);  // not held
  EXPECT_EQ(msg->upperBound(0, 3), 0u);
  EXPECT_TRUE(msg->holdsBounds());

  // Fewer extents make it shorter again; too many are refused, unchanged.
  NotifyCapture capture(1);
  const std::vector<std::uint32_t> one = {7, 8};
  EXPECT_TRUE(msg->setExtents(1, 1, one));
  EXPECT_EQ(msg->size(), 28);
  EXPECT_EQ(msg->status(), DtRtiMsg::Valid);
  const std::vector<std::uint32_t> many(2 * 8190, 0);
  EXPECT_TRUE(DtNotifyRegMsg::fits(8189, 1));
  EXPECT_FALSE(DtNotifyRegMsg::fits(8190, 1));
  EXPECT_FALSE(DtNotifyRegMsg::fits(1, 0x10000));
  EXPECT_FALSE(msg->setExtents(8190, 1, many));
  EXPECT_FALSE(msg->setExtents(2, 1, one));  // not as many bounds as the counts call for
  EXPECT_EQ(msg->size(), 28);
  EXPECT_EQ(msg->lowerBound(0, 0), 7u);
  EXPECT_NE(capture.text().find("8190 extents of 1 dimensions do not fit"), string::npos) << capture.text();
  msg->setSpaceHandle(RTI::SpaceHandle{1} << 40);
  EXPECT_EQ(msg->spaceHandle(), 1);
}

TEST(DtRegionMsgs, ARegionSetMessageHoldsEveryHandleItWasGiven) {
  DtObjRegSetMsg empty(DtObjPubRegionSet, 2, 0, {});
  EXPECT_EQ(empty.regions(), nullptr);
  EXPECT_EQ(empty.numberRegions(), 0u);

  // Built again from a set: the new regions follow the old, the message
  // growing past the slots reserved.
  DtObjRegSetMsg msg(DtObjPubRegionSet, 2, 0, std::vector<std::uint32_t>{1, 2});
  const std::uint32_t* first = msg.regions();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(msg.regions(), first);  // decoded once
  msg.reserveRegionSlots(3);
  for (std::uint32_t h : {7u, 8u, 9u}) EXPECT_TRUE(msg.addRegion(h));
  EXPECT_EQ(msg.size(), 24 + 4 * 5);
  EXPECT_EQ(msg.status(), DtRtiMsg::Valid);
  ASSERT_EQ(msg.numberRegions(), 5u);
  EXPECT_EQ(std::vector<std::uint32_t>(msg.regions(), msg.regions() + 5), (std::vector<std::uint32_t>{1, 2, 7, 8, 9}));

  // Up to the largest message, and no further.
  NotifyCapture capture(1);
  DtInterRegSetMsg full(DtInterPubRegionSet, 3, 6, 0, {});
  const unsigned long most = (DtRtiMsg::theMaxSize - 28) / 4;
  ASSERT_TRUE(full.reserveRegionSlots(most));
  for (unsigned long i = 0; i < most; ++i) full.addRegion(i);
  EXPECT_FALSE(full.addRegion(99));
  EXPECT_FALSE(full.reserveRegionSlots(most + 1));
  EXPECT_EQ(full.numberRegions(), most);
  EXPECT_EQ(full.size(), 28 + 4 * static_cast<int>(most));
  EXPECT_EQ(full.status(), DtRtiMsg::Valid);
}

TEST(DtRegionMsgs, AnAssociationEndsRightAfterItsName) {
  DtAssocPubRegMsg msg(2, 300001, "", 5, 0, oneAndTwo());
  EXPECT_EQ(msg.size(), 68);
  EXPECT_STREQ(msg.objName(), "");
  msg.setObjName("abc");
  EXPECT_EQ(msg.size(), 72);
  EXPECT_EQ(msg.nameFieldSize(), 4);
  EXPECT_STREQ(msg.objName(), "abc");
  msg.setObjName("");
  EXPECT_EQ(msg.size(), 68);
  EXPECT_EQ(msg.nameFieldSize(), 0);
  EXPECT_EQ(bytesOf(msg), bytesOf(DtAssocPubRegMsg(2, 300001, nullptr, 5, 0, oneAndTwo())));
  std::string received = bytesOf(msg);
  EXPECT_STREQ(DtAssocPubRegMsg(reinterpret_cast<const DtNetAssocPubRegMsg*>(received.data()), nullptr).objName(), "");

  const RTI::AttributeHandleSet& decoded = msg.attrHandles();
  EXPECT_EQ(&msg.attrHandles(), &decoded);
  DtAttributeHandleSet three;
  three.add(3);
  msg.setAttrHandles(three);
  EXPECT_TRUE(msg.attrHandles().isMember(3));
  EXPECT_EQ(msg.attrHandles().size(), 1u);
}

TEST(DtRegionMsgs, TheRemoveFlagTravelsSignExtended) {
  struct Case {
    char flag;
    string field;
    bool remove;
  };
  const Case cases[] = {{0, string("\x00\x00", 2), false},
                        {1, string("\x00\x01", 2), true},
                        {static_cast<char>(-1), string("\xFF\xFF", 2), true},
                        {static_cast<char>(0x80), string("\xFF\x80", 2), true}};
  for (const Case& c : cases) {
    const DtAssocPubRegMsg msg(2, 3, "", 5, c.flag, oneAndTwo());
    EXPECT_EQ(bytesOf(msg).substr(20, 2), c.field) << int{c.flag};
    EXPECT_EQ(msg.isRemoveAssociation(), c.flag);
    EXPECT_EQ(msg.isRemoveAssociation() != 0, c.remove);
  }
}

TEST(DtRegionMsgs, EveryKindPrintsItsValues) {
  NotifyCapture capture(2);
  std::vector<std::unique_ptr<DtRtiMsg>> msgs;
  DtNotifyRegMsg* notify = twoExtents();
  notify->setExtents(1, 2, std::vector<std::uint32_t>{1, 2, 3, 4});
  msgs.emplace_back(notify);
  msgs.push_back(std::make_unique<DtDeleteRegMsg>(258, nullptr));
  msgs.push_back(
      std::make_unique<DtObjRegSetMsg>(DtObjSubRegionSet, 200002, 0xE0010203, std::vector<std::uint32_t>{4, 5}));
  msgs.push_back(std::make_unique<DtInterRegSetMsg>(DtInterPubRegionSet, 200003, 6, 0, std::vector<std::uint32_t>{4}));
  msgs.push_back(std::make_unique<DtAssocPubRegMsg>(200002, 300001, "hidden", 5, 1, oneAndTwo()));
  msgs.push_back(std::make_unique<DtAssocSubRegMsg>(200004, 5, oneAndTwo()));
  for (const auto& msg : msgs) msg->printData();
  EXPECT_EQ(capture.text(),
            "RegionHandle:        258\n"
            "ExtentCount:         1\n"
            "DimensionCount:      2\n"
            "    Extent:          0\n"
            "    Dim:             0\n"
            "        lower:       1\n"
            "        upper:       2\n"
            "    Dim:             1\n"
            "        lower:       3\n"
            "        upper:       4\n"
            "RegionHandle:        258\n"
            "RegionSetType:       1\n"
            "RegionSetHandle:     200002\n"
            "ChannelAddress:      224.1.2.3\n"
            "regionCount:         2\n"
            "    Region:          4\n"
            "    Region:          5\n"
            "RegionSetType:       0\n"
            "ClassHandle:         6\n"
            "RegionSetHandle:     200003\n"
            "ChannelAddress:      0.0.0.0\n"
            "RegionCount:         1\n"
            "    Region:          4\n"
            "Region Set   :       200002\n"
            "Object Handle:       300001\n"
            "Object Class :       5\n"
            "IsRemoveAssoc:       True\n"
            "NumHandles:          2\n"
            " 1 2\n\n"
            "Region Set:          200004\n"
            "class     :          5\n"
            "NumHandles:          2\n"
            " 1 2\n\n");
}

TEST(DtRegionMsgs, ReceivedBodiesThatTheirCountsAndSizesDoNotDescribeAreDropped) {
  const std::unique_ptr<DtRtiMsg> notify(twoExtents());
  const string n = bytesOf(*notify);  // 68 bytes
  const string d = bytesOf(DtDeleteRegMsg(9, nullptr));
  const string o = bytesOf(DtObjRegSetMsg(DtObjPubRegionSet, 2, 0, theThreeRegions));         // 36
  const string i = bytesOf(DtInterRegSetMsg(DtInterPubRegionSet, 2, 6, 0, theThreeRegions));  // 40
  const string p = bytesOf(DtAssocPubRegMsg(2, 3, "abc", 5, 0, oneAndTwo()));                 // 72
  const string s = bytesOf(DtAssocSubRegMsg(2, 5, oneAndTwo()));                              // 60
  for (const string& sound : {n, d, o, i, p, s}) ASSERT_NE(receiveExact(sound), nullptr);

  struct Case {
    const char* what;
    string bytes;
    const char* reported;
  };
  const Case cases[] = {
      {"notify cut short", n.substr(0, 64), "DtNetNotifyRegMsg: a received body of 64 bytes that its counts"},
      {"notify with bytes to spare", n + be32(0), "DtNetNotifyRegMsg: a received body of 72 bytes where its counts"},
      {"notify of more extents", withField(n, 16, 3, 2), "its counts and sizes reach past"},
      {"notify of no dimensions", withField(n, 18, 0, 2), "call for 20"},
      {"notify of the largest counts", withField(n, 16, 0xFFFFFFFF), "reach past"},
      {"notify shorter than its fixed part", n.substr(0, 16), "shorter than its fixed part"},
      {"delete with bytes to spare", d + be32(0), "call for 12"},
      {"delete cut short", d.substr(0, 10), "shorter than its fixed part"},
      {"object set of one region more", withField(o, 20, 4), "reach past"},
      {"object set of one region less", withField(o, 20, 2), "call for 32"},
      {"object set of the largest count", withField(o, 20, 0xFFFFFFFF), "reach past"},
      {"object set cut into a handle", o.substr(0, 34), "reach past"},
      {"interaction set of one region more", withField(i, 24, 4), "reach past"},
      {"interaction set with bytes to spare", i + be32(7), "call for 40"},
      {"interaction set shorter than its fixed part", i.substr(0, 24), "shorter than its fixed part"},
      {"association of a longer name", withField(p, 22, 5, 2), "reach past"},
      {"association of a shorter name", withField(p, 22, 3, 2), "is not sound"},  // "abc" without its zero
      {"association of no name with one", withField(p, 22, 0, 2), "call for 68"},
      {"association of the largest name size", withField(p, 22, 0xFFFF, 2), "reach past"},
      {"association whose name lacks its zero", withField(p, 68, 0x61626364), "is not sound"},
      {"association cut into its name", p.substr(0, 70), "reach past"},
      {"association cut into its set", p.substr(0, 40), "shorter than its fixed part"},
      {"subscription association with bytes to spare", s + be32(0), "call for 60"},
      {"subscription association cut short", s.substr(0, 56), "shorter than its fixed part"},
  };
  for (const Case& c : cases) {
    string refused;
    EXPECT_EQ(receiveExact(c.bytes, &refused), nullptr) << c.what;
    EXPECT_NE(refused.find(c.reported), string::npos) << c.what << ": " << refused;
    EXPECT_TRUE(refused.ends_with("; dropped")) << c.what;
  }
}

}  // namespace
