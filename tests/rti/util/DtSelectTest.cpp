#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "TestDescriptors.h"
#include "port/DtPortTime.h"
#include "util/DtSelect.h"

namespace {

// Runs a select and tells how long it took.
struct Timed {
  template <class F>
  explicit Timed(F f) {
    const double start = DtPortSteadySeconds();
    result = f();
    seconds = DtPortSteadySeconds() - start;
  }
  int result;
  double seconds;
};

TEST(DtSelect, WithoutDescriptorsItSleepsForTheTimeout) {
  DtFdSet empty;
  for (DtFdSet* read : {static_cast<DtFdSet*>(nullptr), &empty}) {
    Timed t([&] { return DtSelect(0, read, nullptr, nullptr, 0.1); });
    EXPECT_EQ(t.result, 0);
    EXPECT_GE(t.seconds, 0.09);
  }
}

TEST(DtSelect, AReadySocketIsReportedAndAQuietOneTimesOut) {
  LoopbackUdpPair udp;
  DtFdSet read;
  read.add(udp.receiver);
  Timed quiet([&] { return DtSelect(udp.receiver + 1, &read, nullptr, nullptr, 0.1); });
  EXPECT_EQ(quiet.result, 0);
  EXPECT_GE(quiet.seconds, 0.09);
  EXPECT_TRUE(read.empty());

  udp.sendOne();
  read.add(udp.receiver);
  read.add(udp.sender);
  EXPECT_EQ(DtSelect(0, &read, nullptr, nullptr, 5.0), 1);
  ASSERT_EQ(read.count(), 1);
  EXPECT_EQ(read[0], udp.receiver);
}

TEST(DtSelect, WriteSetsAreWatchedToo) {
  LoopbackUdpPair udp;
  DtFdSet write;
  write.add(udp.sender);
  EXPECT_EQ(DtSelect(0, nullptr, &write, nullptr, 5.0), 1);
  EXPECT_TRUE(write.contains(udp.sender));
}

TEST(DtSelect, AClosedDescriptorIsAnError) {
  LoopbackUdpPair udp;
  const int closed = dup(udp.receiver);
  close(closed);
  DtFdSet read;
  read.add(closed);
  errno = 0;
  EXPECT_EQ(DtSelect(0, &read, nullptr, nullptr, 1.0), -1);
  EXPECT_EQ(errno, EBADF);
}

// With nothing typed, with the input ended, or with a console that cannot
// be polled, the console alone waits out the timeout.
TEST(DtSelect, TheConsoleAloneWithoutAKeyWaitsForTheTimeout) {
  enum class Console { quiet, ended, notOpen };
  for (Console state : {Console::quiet, Console::ended, Console::notOpen}) {
    KeyboardPipe keyboard;
    if (state == Console::ended) keyboard.closeWriteEnd();
    if (state == Console::notOpen) DtConsoleInput::process().redirect(987);
    DtFdSet read;
    read.add(0);
    Timed t([&] { return DtSelect(1, &read, nullptr, nullptr, 0.3); });
    EXPECT_EQ(t.result, 0) << static_cast<int>(state);
    EXPECT_GE(t.seconds, 0.29) << static_cast<int>(state);
  }
}

TEST(DtSelect, AKeyWinsOverAReadySocketWhichIsReportedWithoutOne) {
  struct Case {
    bool key;
    bool datagram;
    bool expectConsole;
  };
  for (const Case& c : {Case{true, true, true}, Case{true, false, true}, Case{false, true, false}}) {
    KeyboardPipe keyboard;
    LoopbackUdpPair udp;
    if (c.datagram) udp.sendOne();
    if (c.key) keyboard.type("q\n");
    DtFdSet read;
    read.add(udp.receiver);
    read.add(0);
    EXPECT_EQ(DtSelect(0, &read, nullptr, nullptr, 5.0), 1);
    ASSERT_EQ(read.count(), 1);
    EXPECT_EQ(read[0], c.expectConsole ? 0 : udp.receiver) << "key " << c.key << " datagram " << c.datagram;
  }
}

TEST(DtSelect, AKeyTypedDuringTheWaitEndsIt) {
  KeyboardPipe keyboard;
  LoopbackUdpPair udp;
  DtFdSet read;
  read.add(0);
  read.add(udp.receiver);
  std::thread typist([&keyboard] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    keyboard.type("k");
  });
  Timed t([&] { return DtSelect(0, &read, nullptr, nullptr, 5.0); });
  typist.join();
  EXPECT_EQ(t.result, 1);
  EXPECT_TRUE(read.contains(0));
  EXPECT_LT(t.seconds, 4.0);
}

TEST(DtSleep, ZeroAndNegativeReturnAtOnce) {
  for (double seconds : {0.0, -1.0, -1e300}) {
    Timed t([&] {
      DtSleep(seconds);
      return 0;
    });
    EXPECT_LT(t.seconds, 0.5) << seconds;
  }
  Timed t([] {
    DtSleep(0.05);
    return 0;
  });
  EXPECT_GE(t.seconds, 0.049);
}

}  // namespace
