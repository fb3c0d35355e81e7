#include <gtest/gtest.h>

#include <unistd.h>
#include <cerrno>

#include "port/DtConsoleInput.h"
#include "port/DtFdSet.h"
#include "port/DtPoll.h"

namespace {

TEST(DtFdSet, KeepsOrderHoldsSixtyFourAndClosesGaps) {
  DtFdSet set;
  for (int fd = 10; fd < 10 + DtFdSet::capacity; ++fd) EXPECT_TRUE(set.add(fd));
  EXPECT_TRUE(set.add(10)) << "already there";
  EXPECT_FALSE(set.add(5000)) << "full";
  EXPECT_EQ(set.count(), 64);
  set.remove(11);
  EXPECT_EQ(set.count(), 63);
  EXPECT_EQ(set[0], 10);
  EXPECT_EQ(set[1], 12);
  EXPECT_FALSE(set.contains(11));
  EXPECT_TRUE(set.add(5000)) << "descriptors of any number";
  set.clear();
  EXPECT_TRUE(set.empty());
}

class Pipe : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(pipe(fds), 0); }
  void TearDown() override {
    close(fds[0]);
    if (fds[1] >= 0) close(fds[1]);
  }
  int fds[2] = {-1, -1};
};

TEST_F(Pipe, PollSetsReportsReadyDescriptorsAndTheExtraOne) {
  DtFdSet read;
  read.add(fds[0]);
  EXPECT_EQ(DtPollSets(&read, nullptr, nullptr, 0.0), 0);
  EXPECT_TRUE(read.empty());

  ASSERT_EQ(write(fds[1], "x", 1), 1);
  DtFdSet write;
  write.add(fds[1]);
  read.add(fds[0]);
  bool extraReady = false;
  EXPECT_EQ(DtPollSets(&read, &write, nullptr, 1.0, fds[0], &extraReady), 2);
  EXPECT_TRUE(extraReady);
  EXPECT_EQ(read.count(), 1);
  EXPECT_EQ(write.count(), 1);

  DtFdSet bad;
  bad.add(987);
  errno = 0;
  EXPECT_EQ(DtPollSets(&bad, nullptr, nullptr, 0.0), -1);
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(bad.count(), 1) << "left as it was";
}

TEST_F(Pipe, ConsoleInputBuffersWhatIsWaitingAndNoticesTheEnd) {
  DtConsoleInput console(fds[0]);
  EXPECT_EQ(console.keyWaiting(), 0);
  ASSERT_EQ(write(fds[1], "ab", 2), 2);
  EXPECT_EQ(console.keyWaiting(), 1);
  EXPECT_EQ(console.readKey(), 'a');
  close(fds[1]);
  fds[1] = -1;
  EXPECT_EQ(console.keyWaiting(), 1);
  EXPECT_EQ(console.readKey(), 'b');
  EXPECT_EQ(console.keyWaiting(), 0);
  EXPECT_TRUE(console.ended());
  EXPECT_EQ(console.readKey(), -1);

  console.redirect(987);
  EXPECT_FALSE(console.ended());
  EXPECT_EQ(console.keyWaiting(), -1) << "a descriptor that is not open";
}

}  // namespace
