#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "NotifyCapture.h"
#include "util/DtNotify.h"

namespace {

// Reads a log file and removes it.
std::string readFile(const std::string& path) {
  std::ostringstream content;
  {
    std::ifstream in(path, std::ios::binary);
    content << in.rdbuf();
  }
  std::remove(path.c_str());
  return content.str();
}

// Several builds may run these tests at once: the process id keeps their
// files apart.
std::string tempPath(const char* name) {
  return ::testing::TempDir() + "dtnotify-" + std::to_string(getpid()) + "-" + name;
}

int exitCalls = 0;
void countExit() { ++exitCalls; }

TEST(DtNotify, LevelsDecideWhatIsPrinted) {
  using Report = void (*)(const char*, ...);
  struct Case {
    Report report;
    int reportLevel;
  };
  const Case reports[] = {{DtNotifyError, 1}, {DtNotifyInfo, 2}, {DtNotifyVerbose, 3}, {DtNotifyDebug, 4}};
  for (int level : {-1, 0, 1, 2, 3, 4}) {
    for (const Case& c : reports) {
      NotifyCapture capture(level);
      c.report("message %d\n", c.reportLevel);
      const bool printed = !capture.pieces.empty();
      EXPECT_EQ(printed, level >= c.reportLevel) << "level " << level << " report " << c.reportLevel;
      if (printed) {
        EXPECT_EQ(capture.text(), "message " + std::to_string(c.reportLevel) + "\n");
        EXPECT_EQ(capture.pieces[0].flag, 1);
      }
    }
  }
}

TEST(DtNotify, PerrorLinesPutTheErrorTextAfterAColon) {
  const std::string log = tempPath("perror.log");
  NotifyCapture capture(1);
  DtOpenLogOutput(log.c_str(), 0, 0);
  errno = ENOENT;
  DtNotifyPerror("open %s", "x.fed");
  errno = ECONNREFUSED;
  DtNotifySockPerror("connect");
  DtOpenLogOutput(nullptr, 0, 0);

  const std::string refused = std::strerror(ECONNREFUSED);
  EXPECT_EQ(readFile(log), "open x.fed:" + std::string(std::strerror(ENOENT)) + "\r\n" + "connect:Connection refused" +
                               refused + "\r\n");
  // The error text itself bypasses the handler; the message and the newline reach it.
  ASSERT_EQ(capture.pieces.size(), 4u);
  EXPECT_EQ(capture.pieces[0].text, "open x.fed:");
  EXPECT_EQ(capture.pieces[1].text, "\n");
  EXPECT_EQ(capture.pieces[2].text, "connect:Connection refused");
  EXPECT_EQ(capture.pieces[3].flag, 1);

  capture.clear();
  DtSetNotifyLevel(0);
  DtNotifyPerror("silent");
  EXPECT_TRUE(capture.pieces.empty());
}

TEST(DtNotify, FatalReportsGoThroughTheExitFunction) {
  NotifyCapture capture(0);
  exitCalls = 0;
  DtSetExitFunction(countExit);
  EXPECT_EQ(DtGetExitFunction(), &countExit);

  DtNotifyFatal("boom %d", 7);
  EXPECT_EQ(exitCalls, 1);
  ASSERT_EQ(capture.pieces.size(), 1u);
  EXPECT_EQ(capture.pieces[0].text, "**FATAL ERROR**: boom 7\n");
  EXPECT_EQ(capture.pieces[0].flag, 0);

  capture.clear();
  errno = EADDRINUSE;
  DtNotifyFatalSockPerror("bind");
  EXPECT_EQ(exitCalls, 2);
  ASSERT_EQ(capture.pieces.size(), 2u);
  EXPECT_EQ(capture.pieces[0].text, "**FATAL ERROR**: bind:Address Already in use");
  EXPECT_EQ(capture.pieces[1].text, "\n");

  capture.clear();
  DtSetNotifyLevel(-1);
  DtNotifyFatal("quiet");
  errno = EIO;
  DtNotifyFatalPerror("quiet");
  EXPECT_TRUE(capture.pieces.empty()) << "a negative level silences fatal reports";
  EXPECT_EQ(exitCalls, 4) << "but they still end the process";
}

TEST(DtNotifyDeathTest, FatalWithoutExitFunctionEndsTheProcess) {
  DtSetExitFunction(nullptr);
  EXPECT_EXIT(DtNotifyFatal("the end"), ::testing::ExitedWithCode(255), "");
  EXPECT_EXIT(
      {
        DtSetNotifyLevel(-1);
        DtNotifyFatal("silent end");
      },
      ::testing::ExitedWithCode(255), "");
}

TEST(DtNotify, PercentSignsReachEveryOutputUnchanged) {
  const std::string log = tempPath("percent.log");
  NotifyCapture capture;
  DtOpenLogOutput(log.c_str(), 0, 1);
  ::testing::internal::CaptureStdout();
  DtNotifyInfo("%s", "100% sure, 5%d\n");
  const std::string out = ::testing::internal::GetCapturedStdout();
  DtOpenLogOutput(nullptr, 0, 0);
  EXPECT_EQ(out, "100% sure, 5%d\n");
  EXPECT_EQ(readFile(log), "100% sure, 5%d\r\n");
  EXPECT_EQ(capture.text(), "100% sure, 5%d\n");
}

TEST(DtNotify, CopyFlagControlsStandardOutput) {
  NotifyCapture capture;
  ::testing::internal::CaptureStdout();
  DtNotifyInfo("hidden\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  DtOpenLogOutput(nullptr, 0, 1);
  ::testing::internal::CaptureStdout();
  DtNotifyInfo("shown\n");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "shown\n");
}

TEST(DtNotify, ReopeningTheLogClosesTheEarlierFileAndAFailedOpenLosesNothingElse) {
  const std::string first = tempPath("first.log");
  const std::string second = tempPath("second.log");
  NotifyCapture capture;
  DtOpenLogOutput(first.c_str(), 0, 0);
  DtNotifyInfo("one\n");
  DtOpenLogOutput(second.c_str(), 0, 0);
  DtNotifyInfo("two\r\n");
  DtOpenLogOutput("/nonexistent-dir/x.log", 0, 0);
  DtNotifyInfo("three\n");
  EXPECT_EQ(readFile(first), "one\r\n");
  EXPECT_EQ(readFile(second), "two\r\n") << "an existing CRLF is not doubled";
  EXPECT_EQ(capture.text(), "one\ntwo\r\nthree\n");
}

TEST(DtNotify, LongMessagesArePrintedWhole) {
  NotifyCapture capture;
  const std::string text(5000, 'L');
  DtNotifyInfo("%s|", text.c_str());
  EXPECT_EQ(capture.text(), text + "|");
}

TEST(DtNotify, ANullHandlerSilencesReportsButNotTheRawErrorText) {
  const std::string log = tempPath("nohandler.log");
  NotifyCapture capture;
  DtOpenLogOutput(log.c_str(), 0, 0);
  DtSetNotifyHandler(nullptr);
  DtNotifyError("lost\n");
  errno = ENOENT;
  DtNotifyPerror("also lost");
  DtOpenLogOutput(nullptr, 0, 0);
  EXPECT_EQ(readFile(log), std::strerror(ENOENT));
}

// With standard output on a terminal and a console held, each message shows
// once, on the console (standard error).
TEST(DtNotify, ATerminalWithAConsoleShowsEachMessageOnce) {
  int master = -1;
  int slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  std::fflush(stdout);
  const int savedStdout = dup(STDOUT_FILENO);
  ASSERT_GE(dup2(slave, STDOUT_FILENO), 0);
  {
    NotifyCapture capture;
    ::testing::internal::CaptureStderr();
    DtOpenLogOutput(nullptr, 1, 1);
    DtNotifyInfo("once\n");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "once\n");
  }
  std::fflush(stdout);
  dup2(savedStdout, STDOUT_FILENO);
  close(savedStdout);
  close(slave);
  fcntl(master, F_SETFL, O_NONBLOCK);
  char buffer[64];
  EXPECT_LE(read(master, buffer, sizeof buffer), 0) << "nothing reached standard output";
  close(master);
}

}  // namespace
