// The rate limit of reports that outside input or a persisting condition
// sets off: once per interval for each reason, the next one printed saying
// how many were held back; for a persisting condition the interval doubles
// up to the longest while the reports keep coming, and starts again once
// they have stopped for longer than it.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "rti/util/FakeNoticeClock.h"
#include "util/DtNoticeLimiter.h"

namespace {

// Admits a report at each of `times` (seconds from the start) and returns
// the times admitted with the count held back before each.
std::vector<std::pair<double, unsigned long>> Admitted(DtNoticeLimiter& limiter, FakeNoticeClock& clock,
                                                       const std::vector<double>& times) {
  std::vector<std::pair<double, unsigned long>> admitted;
  double now = 0;
  for (double at : times) {
    clock.advance(at - now);
    now = at;
    unsigned long heldBack = 0;
    if (limiter.admit("reason", &heldBack)) admitted.emplace_back(at, heldBack);
  }
  return admitted;
}

// Reports every 0.1 s, half-way between the tenths (no report falls on the
// end of an interval).
std::vector<double> EveryTenthOfASecond(double until) {
  std::vector<double> times;
  for (int i = 0; i * 0.1 + 0.05 <= until; ++i) times.push_back(i * 0.1 + 0.05);
  return times;
}

using Reports = std::vector<std::pair<double, unsigned long>>;

TEST(DtNoticeLimiter, AFixedIntervalAdmitsOneReportASecond) {
  FakeNoticeClock clock;
  DtNoticeLimiter limiter(1.0);
  const Reports admitted = Admitted(limiter, clock, EveryTenthOfASecond(3.1));
  ASSERT_EQ(admitted.size(), 4u);
  EXPECT_EQ(admitted[0].second, 0u);
  for (std::size_t i = 1; i < admitted.size(); ++i) EXPECT_EQ(admitted[i].second, 9u) << i;
}

TEST(DtNoticeLimiter, APersistingConditionIsToldAtDoublingIntervalsUpToTheLongest) {
  FakeNoticeClock clock;
  DtNoticeLimiter limiter(1.0, 4.0);
  const Reports admitted = Admitted(limiter, clock, EveryTenthOfASecond(15.1));
  // At once, then 1, 2 and 4 seconds later, then every 4 seconds.
  std::vector<long> at;
  for (const auto& report : admitted) at.push_back(std::lround(report.first * 100));
  EXPECT_EQ(at, (std::vector<long>{5, 105, 305, 705, 1105, 1505}));
  ASSERT_EQ(admitted.size(), 6u);
  EXPECT_EQ(admitted[3].second, 39u);  // held back between 3.05 and 7.05

  // Stopped for longer than its interval, it starts again at once.
  clock.advance(10);
  unsigned long heldBack = 7;
  EXPECT_TRUE(limiter.admit("reason", &heldBack));
  EXPECT_EQ(heldBack, 0u);
  clock.advance(0.5);
  EXPECT_FALSE(limiter.admit("reason", nullptr)) << "the first interval again";
  clock.advance(0.6);
  EXPECT_TRUE(limiter.admit("reason", nullptr));
}

TEST(DtNoticeLimiter, ReasonsAreCountedApart) {
  FakeNoticeClock clock;
  DtNoticeLimiter limiter(1.0, 3600.0);
  EXPECT_TRUE(limiter.admit("a", nullptr));
  EXPECT_TRUE(limiter.admit("b", nullptr));
  EXPECT_FALSE(limiter.admit("a", nullptr));
  EXPECT_FALSE(limiter.admit("b", nullptr));
}

}  // namespace
