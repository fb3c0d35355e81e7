#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "NotifyCapture.h"
#include "util/DtClock.h"

namespace {

const char* const warning =
    "User error: DtSetSimTime was never called.\n         You must call DtSetSimTime once per frame\n";

TEST(DtClock, SimulationTimeMustBeSetEachFrame) {
  NotifyCapture capture;
  DtClock clock;
  EXPECT_FALSE(clock.checkSimTimeSet());
  EXPECT_EQ(capture.text(), warning);
  clock.setSimTime(2.0);
  EXPECT_TRUE(clock.checkSimTimeSet());
  EXPECT_EQ(clock.simTime(), 2.0);
  clock.reset();
  EXPECT_EQ(clock.simTime(), 0.0);
  EXPECT_FALSE(clock.checkSimTimeSet());
}

TEST(DtClock, FrameTimeIsTheElapsedTimeOrWhilePausedTheSimulationTime) {
  DtClock clock;
  clock.pause();
  EXPECT_TRUE(clock.isPaused());
  clock.setSimTime(5.0);
  EXPECT_EQ(clock.frameTime(), 5.0);
  clock.resume();
  EXPECT_FALSE(clock.isPaused());
  const double before = clock.elapsed();
  clock.setSimTime(6.0);
  EXPECT_GE(clock.frameTime(), before);
  EXPECT_LE(clock.frameTime(), clock.elapsed());
}

TEST(DtClock, RealTimeIsTheWallClockCarriedForwardWithoutJumps) {
  DtClock clock;
  EXPECT_NEAR(clock.realTime(), static_cast<double>(std::time(nullptr)), 2.0);
  const double before = clock.realTime();
  clock.reset();
  EXPECT_GE(clock.realTime(), before) << "a reset keeps real time continuous";
  EXPECT_GE(clock.elapsed(), 0.0);
  DtClock copy(clock);
  EXPECT_NEAR(copy.realTime(), clock.realTime(), 0.5);

  double last = DtRealTime();
  EXPECT_NEAR(last, static_cast<double>(std::time(nullptr)), 2.0);
  for (int i = 0; i < 1000; ++i) {
    const double now = DtRealTime();
    EXPECT_GE(now, last);
    last = now;
  }
}

// Each test starts and ends without a process-wide clock, whatever ran
// before it and however often it is repeated.
class DtProcessClock : public ::testing::Test {
protected:
  void SetUp() override { DtDestroyClock(); }
  void TearDown() override { DtDestroyClock(); }
};

TEST_F(DtProcessClock, ExistsOnceCreatedAndIsNewAfterADestroy) {
  NotifyCapture capture;
  EXPECT_EQ(DtSimTime(), 0.0);
  EXPECT_EQ(DtElapsedTime(), 0.0);
  EXPECT_EQ(DtFrameTime(), 0.0);
  DtSetSimTime(1.0);
  DtCheckSimTime();
  EXPECT_EQ(capture.text(), "") << "no clock, no warning";

  DtCreateClock();
  DtCheckSimTime();
  EXPECT_EQ(capture.text(), warning);
  DtSetSimTime(3.0);
  DtCreateClock();
  EXPECT_EQ(DtSimTime(), 3.0) << "a second create keeps the clock";
  EXPECT_GE(DtElapsedTime(), 0.0);
  EXPECT_GE(DtFrameTime(), 0.0);

  DtDestroyClock();
  EXPECT_EQ(DtSimTime(), 0.0);
  DtCreateClock();
  EXPECT_EQ(DtSimTime(), 0.0) << "a new clock after a destroy";
}

}  // namespace
