// Regions and region sets into their messages and back, and the region too
// large to be announced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegionTestSupport.h"
#include "ddm/DtRegionMsgFill.h"
#include "msg/DtDfltMsgFactory.h"

namespace {

std::string bytesOf(const DtRtiMsg& msg) { return std::string(msg.data(), static_cast<std::size_t>(msg.size())); }

TEST(DtRegionMsgFill, ARegionComesBackAsItsCommittedExtents) {
  Spaces spaces;
  DtRegion region(100007, &spaces.geo, 2);
  commitBounds(region, {{{1, 2}, {3, 4}}, {{5, 6}, {7, 8}}});
  region.setRangeLowerBound(0, 0, 0);  // working only: not announced
  DtNotifyRegMsg msg;
  ASSERT_TRUE(DtFillNotifyRegMsg(msg, region));
  EXPECT_EQ(msg.size(), 20 + 8 * 2 * 2);
  EXPECT_EQ(msg.regionHandle(), 100007u);
  EXPECT_EQ(msg.spaceHandle(), 1);

  // As another federate builds it: the same bounds, so the same meetings.
  const std::vector<DtRegionExtent> extents = DtNotifyRegMsgExtents(msg);
  ASSERT_EQ(extents.size(), 2u);
  const DtRegion announced(msg.regionHandle(), &spaces.geo, extents.data(), 2);
  EXPECT_EQ(describeExtents(announced.getExtents(), 2), describeExtents(region.getExtents(), 2));
  const DtRegionExtent near[] = {extentOf({{5, 6}, {7, 9}})};
  const DtRegion probe(9, &spaces.geo, near, 1);
  EXPECT_TRUE(announced.intersect(probe));

  // A region without extents: the counts say none, whatever was there.
  const DtRegion empty(100008, &spaces.geo, 0);
  ASSERT_TRUE(DtFillNotifyRegMsg(msg, empty));
  EXPECT_EQ(msg.size(), 20);
  EXPECT_EQ(msg.numberExtents(), 0u);
  EXPECT_TRUE(DtNotifyRegMsgExtents(msg).empty());
}

TEST(DtRegionMsgFill, AMalformedMessageGivesNoExtents) {
  DtNotifyRegMsg msg(1, 1);
  msg.setExtents(1, 1, std::vector<std::uint32_t>{1, 2});
  std::string bytes = bytesOf(msg);
  bytes[16] = bytes[17] = bytes[18] = bytes[19] = '\xFF';  // 65535 x 65535 in 28 bytes
  const DtNotifyRegMsg read(reinterpret_cast<const DtNetNotifyRegMsg*>(bytes.data()), nullptr);
  EXPECT_TRUE(DtNotifyRegMsgExtents(read).empty());
}

TEST(DtRegionMsgFill, ARegionTooLargeToAnnounceIsNotMade) {
  Spaces spaces;
  struct Case {
    const DtSpaceInfo* space;
    std::uint32_t extents;
    const char* refusal;  // null: made
  };
  const Case cases[] = {
      {&spaces.radio, 8189, nullptr},  // 20 + 8 x 8189 = 65532 bytes
      {&spaces.radio, 8190,
       "createRegion: 8190 extents of 1 dimensions cannot be announced: their region message would be 65540 bytes "
       "long, more than the largest (65535)"},
      {&spaces.geo, 4094, nullptr},
      {&spaces.geo, 4095,
       "createRegion: 4095 extents of 2 dimensions cannot be announced: their region message would be 65540 bytes "
       "long, more than the largest (65535)"},
      {&spaces.none, 65535, nullptr},  // no dimensions: no bounds to carry
      {&spaces.none, 65536,
       "createRegion: 65536 extents of 0 dimensions cannot be announced: a region message counts at most 65535 of "
       "each"},
  };
  for (const Case& c : cases) {
    try {
      DtRegion region(1, c.space, c.extents);
      EXPECT_EQ(c.refusal, nullptr) << c.extents;
      DtNotifyRegMsg msg;
      EXPECT_TRUE(DtFillNotifyRegMsg(msg, region)) << c.extents;
      EXPECT_EQ(msg.status(), DtRtiMsg::Valid) << c.extents;
    } catch (const RTI::RTIinternalError& e) {
      ASSERT_NE(c.refusal, nullptr) << c.extents;
      EXPECT_STREQ(e._reason, c.refusal);
    }
  }
}

TEST(DtRegionMsgFill, ASetIsAnnouncedWithItsRegionsInItsOrder) {
  TestSet set(200002);
  set.setAddress(0xE0000005);
  for (std::uint32_t h : {9u, 3u, 7u}) set.addRegion(h);
  DtObjRegSetMsg objects;
  DtFillObjRegSetMsg(objects, DtObjSubRegionSet, set);
  EXPECT_EQ(bytesOf(objects),
            bytesOf(DtObjRegSetMsg(DtObjSubRegionSet, 200002, 0xE0000005, std::vector<std::uint32_t>{9, 3, 7})));
  DtInterRegSetMsg interactions;
  DtFillInterRegSetMsg(interactions, DtInterPubRegionSet, set, 6);
  EXPECT_EQ(bytesOf(interactions),
            bytesOf(DtInterRegSetMsg(DtInterPubRegionSet, 200002, 6, 0xE0000005, std::vector<std::uint32_t>{9, 3, 7})));
  const TestSet none(5);
  DtObjRegSetMsg empty;
  DtFillObjRegSetMsg(empty, DtObjPubRegionSet, none);
  EXPECT_EQ(empty.size(), 24);
  EXPECT_EQ(empty.regions(), nullptr);
  // A message filled again holds the earlier regions and then the set's.
  DtFillObjRegSetMsg(objects, DtObjSubRegionSet, set);
  EXPECT_EQ(objects.numberRegions(), 6u);
  EXPECT_EQ(objects.size(), 24 + 4 * 6);
  EXPECT_EQ(objects.status(), DtRtiMsg::Valid);
}

}  // namespace
