#include "fedtime.hh"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

RTIfedTime epsilon() {
  RTIfedTime time;
  time.setEpsilon();
  return time;
}

RTIfedTime infinity() {
  RTIfedTime time;
  time.setPositiveInfinity();
  return time;
}

std::vector<char> encoded(const RTI::FedTime& time) {
  std::vector<char> bytes(static_cast<std::size_t>(time.encodedLength()));
  time.encode(bytes.data());
  return bytes;
}

std::string printed(const RTI::FedTime& time) {
  std::ostringstream out;
  out << time;
  return out.str();
}

// Times across the range the federation uses, in ascending order.
const std::vector<double> kAscending = {-1e300, -2.5, -std::numeric_limits<double>::denorm_min(), 0.0, 1e-9, 1.0, 1.5,
                                        1e15,   1e300};

TEST(RTIfedTimeTest, ZeroEpsilonAndInfinityAreRecognised) {
  std::unique_ptr<RTI::FedTime> zero(RTI::FedTimeFactory::makeZero());
  EXPECT_EQ(zero->isZero(), RTI::RTI_TRUE);
  EXPECT_EQ(zero->isPositiveInfinity(), RTI::RTI_FALSE);

  RTIfedTime eps = epsilon();
  EXPECT_EQ(eps.isZero(), RTI::RTI_FALSE);
  EXPECT_EQ(eps > *zero, RTI::RTI_TRUE);
  EXPECT_EQ(eps + *zero > *zero, RTI::RTI_TRUE);

  RTIfedTime inf = infinity();
  EXPECT_EQ(inf.isPositiveInfinity(), RTI::RTI_TRUE);
  EXPECT_EQ(inf == infinity(), RTI::RTI_TRUE);
  EXPECT_EQ(inf <= infinity(), RTI::RTI_TRUE);
  EXPECT_EQ(inf + 5.0 == inf, RTI::RTI_TRUE);

  inf.setZero();
  EXPECT_EQ(inf.isZero(), RTI::RTI_TRUE);
}

TEST(RTIfedTimeTest, OrderIsTotalAndInfinityIsAboveEveryFiniteTime) {
  for (std::size_t i = 0; i < kAscending.size(); ++i) {
    const RTIfedTime a(kAscending[i]);
    EXPECT_EQ(a < infinity(), RTI::RTI_TRUE) << kAscending[i];
    EXPECT_EQ(infinity() > a, RTI::RTI_TRUE) << kAscending[i];
    for (std::size_t j = 0; j < kAscending.size(); ++j) {
      const RTIfedTime b(kAscending[j]);
      SCOPED_TRACE(testing::Message() << kAscending[i] << " vs " << kAscending[j]);
      const RTI::FedTime& left = a;  // through the abstract interface
      EXPECT_EQ(left < b, i < j ? RTI::RTI_TRUE : RTI::RTI_FALSE);
      EXPECT_EQ(left <= b, i <= j ? RTI::RTI_TRUE : RTI::RTI_FALSE);
      EXPECT_EQ(left > b, i > j ? RTI::RTI_TRUE : RTI::RTI_FALSE);
      EXPECT_EQ(left >= b, i >= j ? RTI::RTI_TRUE : RTI::RTI_FALSE);
      EXPECT_EQ(left == b, i == j ? RTI::RTI_TRUE : RTI::RTI_FALSE);
    }
  }
}

TEST(RTIfedTimeTest, EpsilonMovesEveryFiniteTimeToItsNeighbour) {
  for (double t : kAscending) {
    SCOPED_TRACE(t);
    RTIfedTime time(t);
    time += epsilon();
    EXPECT_EQ(time.getTime(), std::nextafter(t, INFINITY));
    EXPECT_EQ(time > RTIfedTime(t), RTI::RTI_TRUE);
    time -= epsilon();
    EXPECT_EQ(time.getTime(), t);
  }
  // A small lookahead on a large time still moves it forward.
  RTIfedTime large(1e20);
  large += RTIfedTime(1e-9);
  EXPECT_GT(large.getTime(), 1e20);
}

TEST(RTIfedTimeTest, ArithmeticWithTimesAndDoubles) {
  RTIfedTime t(10.0);
  t += RTIfedTime(2.5);
  EXPECT_EQ(t.getTime(), 12.5);
  t -= RTIfedTime(0.5);
  EXPECT_EQ(t.getTime(), 12.0);
  EXPECT_EQ((t * 2.0).getTime(), 24.0);
  EXPECT_EQ((t / RTIfedTime(4.0)).getTime(), 3.0);
  EXPECT_EQ((1.0 - t).getTime(), -11.0);
  EXPECT_EQ(t != 12.0, RTI::RTI_FALSE);

  RTI::FedTime& abstract = t;
  abstract = RTIfedTime(3.0);  // value copy through the interface
  EXPECT_EQ(t.getTime(), 3.0);
}

TEST(RTIfedTimeTest, NotANumberIsRefused) {
  RTIfedTime inf = infinity();
  EXPECT_THROW(inf -= infinity(), RTI::InvalidFederationTime);
  EXPECT_EQ(inf.isPositiveInfinity(), RTI::RTI_TRUE);  // unchanged
  EXPECT_THROW(RTIfedTime(std::nan("")), RTI::InvalidFederationTime);
  EXPECT_THROW(RTIfedTime(0.0) * infinity(), RTI::InvalidFederationTime);
}

TEST(RTIfedTimeTest, EncodingIsEightBigEndianBytesAndDecodesToAnEqualTime) {
  EXPECT_EQ(encoded(RTIfedTime(1.0)), (std::vector<char>{0x3f, char(0xf0), 0, 0, 0, 0, 0, 0}));

  std::vector<double> values = kAscending;
  values.push_back(std::numeric_limits<double>::infinity());
  values.push_back(std::numeric_limits<double>::denorm_min());
  for (double t : values) {
    SCOPED_TRACE(t);
    std::vector<char> bytes = encoded(RTIfedTime(t));
    ASSERT_EQ(bytes.size(), 8u);
    std::unique_ptr<RTI::FedTime> decoded(RTI::FedTimeFactory::decode(bytes.data()));
    EXPECT_EQ(*decoded == RTIfedTime(t), RTI::RTI_TRUE);
    std::unique_ptr<RTI::FedTime> bounded(RTI::FedTimeFactory::decode(bytes.data(), 8));
    ASSERT_NE(bounded, nullptr);
    EXPECT_EQ(encoded(*bounded), bytes);
  }
}

TEST(RTIfedTimeTest, DecodeRefusesShortOrInvalidInput) {
  std::vector<char> bytes = encoded(RTIfedTime(2.0));
  EXPECT_EQ(RTI::FedTimeFactory::decode(bytes.data(), 7), nullptr);
  EXPECT_EQ(RTI::FedTimeFactory::decode(nullptr, 8), nullptr);

  const char nan[8] = {0x7f, char(0xf8), 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(RTI::FedTimeFactory::decode(nan, 8), nullptr);
  EXPECT_THROW(delete RTI::FedTimeFactory::decode(nan), RTI::InvalidFederationTime);
  EXPECT_THROW(delete RTI::FedTimeFactory::decode(nullptr), RTI::InvalidFederationTime);
}

TEST(RTIfedTimeTest, PrintableFormIsShortestRoundTripText) {
  struct Case {
    double time;
    const char* text;
  };
  const Case cases[] = {{0.0, "0"},   {1.5, "1.5"},      {-2.0, "-2"},
                        {0.1, "0.1"}, {1e300, "1e+300"}, {std::numeric_limits<double>::infinity(), "inf"}};
  for (const Case& c : cases) {
    RTIfedTime time(c.time);
    ASSERT_EQ(time.getPrintableLength(), static_cast<int>(std::strlen(c.text)) + 1);
    std::vector<char> buffer(static_cast<std::size_t>(time.getPrintableLength()), 'x');
    time.getPrintableString(buffer.data());
    EXPECT_STREQ(buffer.data(), c.text);
    EXPECT_EQ(printed(time), c.text);
  }
}

// A federate's own time class is not a time this library can read.
class ForeignTime : public RTI::FedTime {
public:
  void setZero() override {}
  RTI::Boolean isZero() override { return RTI::RTI_TRUE; }
  void setEpsilon() override {}
  void setPositiveInfinity() override {}
  RTI::Boolean isPositiveInfinity() override { return RTI::RTI_FALSE; }
  RTI::FedTime& operator+=(const RTI::FedTime&) override { return *this; }
  RTI::FedTime& operator-=(const RTI::FedTime&) override { return *this; }
  RTI::Boolean operator<=(const RTI::FedTime&) const override { return RTI::RTI_TRUE; }
  RTI::Boolean operator<(const RTI::FedTime&) const override { return RTI::RTI_FALSE; }
  RTI::Boolean operator>=(const RTI::FedTime&) const override { return RTI::RTI_TRUE; }
  RTI::Boolean operator>(const RTI::FedTime&) const override { return RTI::RTI_FALSE; }
  RTI::Boolean operator==(const RTI::FedTime&) const override { return RTI::RTI_TRUE; }
  RTI::FedTime& operator=(const RTI::FedTime&) override { return *this; }
  int encodedLength() const override { return 0; }
  void encode(char*) const override {}
  int getPrintableLength() const override { return 2; }
  void getPrintableString(char* buff) override { std::strcpy(buff, "F"); }
};

TEST(RTIfedTimeTest, AnotherTimeClassIsRefused) {
  ForeignTime foreign;
  RTIfedTime t(1.0);
  EXPECT_THROW(t += foreign, RTI::InvalidFederationTime);
  EXPECT_THROW(t < foreign, RTI::InvalidFederationTime);
  EXPECT_THROW(RTIfedTime{foreign}, RTI::InvalidFederationTime);
  EXPECT_EQ(printed(foreign), "F");
}

}  // namespace
