#include <gtest/gtest.h>

#include <string>

#include "NotifyCapture.h"
#include "TestDescriptors.h"
#include "util/DtConsole.h"

namespace {

std::string lineOrNull() {
  const char* line = DtGetInputLine();
  return line ? line : "<null>";
}

TEST(DtConsole, LinesAreTakenOneAtATimeWhenWaiting) {
  KeyboardPipe keyboard;
  EXPECT_EQ(lineOrNull(), "<null>");
  keyboard.type("quit\n");
  EXPECT_EQ(lineOrNull(), "quit\n");
  keyboard.type("ab\ncd\n");
  EXPECT_EQ(lineOrNull(), "ab\n");
  EXPECT_EQ(lineOrNull(), "cd\n");
  EXPECT_EQ(lineOrNull(), "<null>");
}

TEST(DtConsole, ALineLongerThanTheBufferIsCutAndReported) {
  KeyboardPipe keyboard;
  NotifyCapture capture(1);
  keyboard.type("abcdef\n");
  char buffer[5];
  DtPollInputLine(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(capture.text(), "DtPollInputLine: exceeded buffer size\n");
  DtPollInputLine(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "def");
  DtPollInputLine(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "\n");
}

TEST(DtConsole, SingleCharacters) {
  KeyboardPipe keyboard;
  EXPECT_EQ(DtPollInputChar(), 0);
  keyboard.type("z");
  EXPECT_EQ(DtPollInputChar(), 'z');
  EXPECT_EQ(DtPollInputChar(), 0);
}

TEST(DtConsole, TheEndOfInputIsNoInput) {
  KeyboardPipe keyboard;
  keyboard.type("last");
  keyboard.closeWriteEnd();
  EXPECT_EQ(lineOrNull(), "last") << "a final line without its end still counts";
  EXPECT_EQ(lineOrNull(), "<null>");
  EXPECT_EQ(DtPollInputChar(), 0);
}

}  // namespace
