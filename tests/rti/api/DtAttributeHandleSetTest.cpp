#include "api/DtAttributeHandleSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rti/util/NotifyCapture.h"

namespace {

DtAttributeHandleSet setOf(const std::vector<RTI::AttributeHandle>& handles) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : handles) set.add(h);
  return set;
}

std::vector<RTI::AttributeHandle> members(const RTI::AttributeHandleSet& set) {
  std::vector<RTI::AttributeHandle> handles;
  for (RTI::ULong i = 0; i < set.size(); ++i) handles.push_back(set.getHandle(i));
  return handles;
}

// Handles 3, 40 and 319: count 3, then words 0, 1 and 9 with bits 3, 8, 31.
// clang-format off
const std::vector<unsigned char> kGolden = {
    0, 0, 0, 3,           // count
    0, 0, 0, 0x08,        // word 0: handle 3
    0, 0, 0x01, 0,        // word 1: handle 40
    0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
    0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
    0x80, 0, 0, 0};       // word 9: handle 319
// clang-format on

TEST(DtAttributeHandleSetTest, FactoryAcceptsAtMost320Handles) {
  std::unique_ptr<RTI::AttributeHandleSet> set(RTI::AttributeHandleSetFactory::create(320));
  EXPECT_NE(dynamic_cast<DtAttributeHandleSet*>(set.get()), nullptr);
  EXPECT_EQ(set->isEmpty(), RTI::RTI_TRUE);
  EXPECT_THROW(RTI::AttributeHandleSetFactory::create(321), RTI::ValueCountExceeded);
}

TEST(DtAttributeHandleSetTest, CountFollowsTheMembership) {
  DtAttributeHandleSet set;
  set.add(5);
  set.add(5);
  EXPECT_EQ(set.size(), 1u);
  set.remove(6);
  EXPECT_EQ(set.size(), 1u);
  EXPECT_EQ(set.isMember(5), RTI::RTI_TRUE);
  set.remove(5);
  EXPECT_EQ(set.isEmpty(), RTI::RTI_TRUE);
  set.add(0);
  set.add(319);
  set.empty();
  EXPECT_EQ(set.size(), 0u);
  EXPECT_EQ(set.isMember(319), RTI::RTI_FALSE);
}

TEST(DtAttributeHandleSetTest, MembersComeInAscendingOrder) {
  DtAttributeHandleSet set = setOf({319, 3, 40, 31, 32});
  EXPECT_EQ(members(set), (std::vector<RTI::AttributeHandle>{3, 31, 32, 40, 319}));
  EXPECT_EQ(set.getHandle(4), 319u);
  EXPECT_THROW(set.getHandle(5), RTI::ArrayIndexOutOfBounds);
}

TEST(DtAttributeHandleSetTest, HandlesThatCannotTravelAreRefused) {
  DtAttributeHandleSet set = setOf({1});
  for (RTI::AttributeHandle h : {320ul, 321ul, 4294967295ul, 4294967296ul}) {
    SCOPED_TRACE(h);
    EXPECT_THROW(set.add(h), RTI::AttributeNotDefined);
    EXPECT_THROW(set.remove(h), RTI::AttributeNotDefined);
    EXPECT_EQ(set.isMember(h), RTI::RTI_FALSE);
  }
  EXPECT_EQ(members(set), (std::vector<RTI::AttributeHandle>{1}));
  try {
    set.add(320);
  } catch (RTI::AttributeNotDefined& e) {
    EXPECT_STREQ(e._reason, "Attribute handle 320 is above the largest, 319");
  }
}

TEST(DtAttributeHandleSetTest, EncodesToTheGolden44Bytes) {
  DtAttributeHandleSet set = setOf({3, 40, 319});
  ASSERT_EQ(set.encodedLength(), 44u);
  std::vector<unsigned char> bytes(44, 0xee);
  set.encode(reinterpret_cast<char*>(bytes.data()));
  EXPECT_EQ(bytes, kGolden);
  EXPECT_EQ(set.getHandle(2), 319u);
  EXPECT_THROW(set.getHandle(3), RTI::ArrayIndexOutOfBounds);
}

TEST(DtAttributeHandleSetTest, DecodeTakesTheCountFromTheMap) {
  std::unique_ptr<DtAttributeHandleSet> decoded =
      DtAttributeHandleSet::decode(reinterpret_cast<const char*>(kGolden.data()));
  EXPECT_EQ(members(*decoded), (std::vector<RTI::AttributeHandle>{3, 40, 319}));

  // A count word that disagrees with the map (here 0xffff0007) is not
  // believed: getHandle could otherwise walk past the members.
  for (unsigned char lie : {0x07, 0x00}) {
    std::vector<unsigned char> bytes = kGolden;
    bytes[0] = bytes[1] = 0xff;
    bytes[3] = lie;
    decoded = DtAttributeHandleSet::decode(reinterpret_cast<const char*>(bytes.data()));
    EXPECT_EQ(decoded->size(), 3u);
    EXPECT_THROW(decoded->getHandle(3), RTI::ArrayIndexOutOfBounds);
  }
}

TEST(DtAttributeHandleSetTest, SetOperationsLeaveTheOperandsAlone) {
  const DtAttributeHandleSet a = setOf({1, 2, 3, 300});
  const DtAttributeHandleSet b = setOf({2, 3, 4});
  struct Case {
    const char* name;
    DtAttributeHandleSet result;
    std::vector<RTI::AttributeHandle> expected;
  };
  const Case cases[] = {
      {"union", a.setUnion(b), {1, 2, 3, 4, 300}},
      {"intersection", a.setIntersection(b), {2, 3}},
      {"remove intersection", a.removeSetIntersection(b), {1, 300}},
      {"union with empty", b.setUnion(DtAttributeHandleSet()), {2, 3, 4}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(members(c.result), c.expected) << c.name;
    EXPECT_EQ(c.result.size(), c.expected.size()) << c.name;
  }
  EXPECT_EQ(members(a), (std::vector<RTI::AttributeHandle>{1, 2, 3, 300}));
  EXPECT_EQ(members(b), (std::vector<RTI::AttributeHandle>{2, 3, 4}));
}

TEST(DtAttributeHandleSetTest, PrintsTwentyHandlesToALine) {
  struct Case {
    std::vector<RTI::AttributeHandle> handles;
    std::string text;
  };
  std::vector<RTI::AttributeHandle> twenty;
  std::string twentyText;
  for (RTI::AttributeHandle h = 100; h < 120; ++h) {
    twenty.push_back(h);
    twentyText.append(" ").append(std::to_string(h));
  }
  std::vector<RTI::AttributeHandle> twentyOne = twenty;
  twentyOne.push_back(7);
  const Case cases[] = {
      {{}, "NumHandles:          0\n\n\n"},
      {{3, 40, 319}, "NumHandles:          3\n 3 40 319\n\n"},
      // A full last line is followed by an empty one.
      {twenty, "NumHandles:          20\n" + twentyText + "\n\n\n"},
      {twentyOne, "NumHandles:          21\n 7" + twentyText.substr(0, twentyText.size() - 4) + "\n 119\n\n"},
  };
  for (const Case& c : cases) {
    NotifyCapture capture;
    setOf(c.handles).print();
    EXPECT_EQ(capture.text(), c.text);
  }
}

}  // namespace
