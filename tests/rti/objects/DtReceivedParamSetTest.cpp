// The set a federate receives an interaction's parameters in: a view of the
// message's values that still behaves as every parameter set.
#include <gtest/gtest.h>

#include <string>

#include "InteractionTestSupport.h"
#include "objects/DtReceivedParamSet.h"

namespace {

using namespace intertest;

class DtReceivedParamSetTest : public ::testing::Test {
protected:
  DtReceivedParamSetTest()
      : values(params({{0, "f"}, {1, ""}, {2, "dd"}})),
        msg(encoded, *values, DtTimestampOrder, RTIfedTime(2.0), "t", 4, 0, nullptr) {
    msg.setTransportType(DtReliable);
  }
  bool inMessage(const char* p) const { return p >= msg.data() && p < msg.data() + msg.size(); }

  std::unique_ptr<RTI::ParameterHandleValuePairSet> values;
  DtInteractionTsoMsg msg;
  DtReceivedParamSet set;
};

TEST_F(DtReceivedParamSetTest, ShowsTheMessagesValuesWhereTheyAre) {
  ASSERT_TRUE(set.view(msg, [](std::uint16_t, std::uint16_t) { return true; }));
  EXPECT_EQ(pairs(set), "0=f,1=,2=dd");
  RTI::ULong length = 9;
  EXPECT_TRUE(inMessage(set.getValuePointer(2, length)));
  EXPECT_EQ(length, 2u);
  char buffer[4] = {};
  set.getValue(0, buffer, length);
  EXPECT_EQ(std::string(buffer, length), "f");
  EXPECT_EQ(set.getValueLength(1), 0u);
  EXPECT_EQ(set.getTransportType(), static_cast<RTI::TransportType>(DtReliable));
  EXPECT_EQ(set.getOrderType(), static_cast<RTI::OrderType>(DtTimestampOrder));
  EXPECT_EQ(set.getRegion(), nullptr);
  EXPECT_THROW(set.getHandle(3), RTI::ArrayIndexOutOfBounds);
  EXPECT_THROW(set.getValuePointer(3, length), RTI::ArrayIndexOutOfBounds);
  RTI::ULong walked = 0;
  for (RTI::ULong i = set.start(); set.valid(i); i = set.next(i)) ++walked;
  EXPECT_EQ(walked, 3u);

  ASSERT_TRUE(set.view(msg, [](std::uint16_t h, std::uint16_t length) { return length > 0 && h < 2; }));
  EXPECT_EQ(pairs(set), "0=f");
  set.clear();
  EXPECT_EQ(set.size(), 0u);
}

TEST_F(DtReceivedParamSetTest, AFederateMayStillChangeItLikeAnySet) {
  set.view(msg, [](std::uint16_t, std::uint16_t) { return true; });
  std::string added = "xy";
  set.add(9, added.data(), added.size());
  added = "zz";  // the set kept a copy
  EXPECT_EQ(pairs(set), "0=f,1=,2=dd,9=xy");
  EXPECT_THROW(set.add(65536, "a", 1), RTI::InteractionParameterNotDefined);
  EXPECT_THROW(set.add(3, nullptr, 1), RTI::ValueLengthExceeded);
  set.remove(0);
  EXPECT_EQ(pairs(set), "9=xy,1=,2=dd");

  std::unique_ptr<RTI::ParameterHandleValuePairSet> mine(RTI::ParameterSetFactory::create(4));
  RTI::ULong first = 2;
  mine->moveFrom(set, first);
  EXPECT_EQ(pairs(*mine), "2=dd");
  EXPECT_EQ(pairs(set), "9=xy,1=");
  RTI::ULong past = 5;
  EXPECT_THROW(mine->moveFrom(set, past), RTI::ArrayIndexOutOfBounds);
  set.empty();
  EXPECT_EQ(set.size(), 0u);
}

}  // namespace
