#include "port/DtWakeup.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <thread>

TEST(DtWakeup, SignalStaysPendingUntilAWaitConsumesIt) {
  DtWakeup wakeup("test");
  EXPECT_FALSE(wakeup.wait(0));
  wakeup.signal();
  wakeup.signal();
  pollfd watched{wakeup.fd(), POLLIN, 0};
  EXPECT_EQ(poll(&watched, 1, 0), 1);
  EXPECT_TRUE(wakeup.wait(0));
  EXPECT_FALSE(wakeup.wait(0.01));  // two signals were one wake-up
  wakeup.signal();
  wakeup.clear();
  EXPECT_FALSE(wakeup.wait(0));
}

TEST(DtWakeup, SignalFromAnotherThreadEndsAWait) {
  DtWakeup wakeup;
  std::thread signaller([&] { wakeup.signal(); });
  EXPECT_TRUE(wakeup.wait(10.0));
  signaller.join();
}
