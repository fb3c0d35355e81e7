#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <functional>
#include <string>

#include "NotifyCapture.h"
#include "util/DtPrintField.h"

namespace {

TEST(DtPrintField, EachFormLinesUpALabelAndAValue) {
  struct Case {
    std::function<void()> print;
    const char* expected;
  };
  const Case cases[] = {
      {[] { DtPrintField("Length:", 24L); }, "Length:              24\n"},
      {[] { DtPrintField("Federate:", -3); }, "Federate:            -3\n"},
      {[] { DtPrintField("Handle:", std::uint32_t{4000000000u}); }, "Handle:              4000000000\n"},
      {[] { DtPrintField("Mask:", 255ul); }, "Mask:                ff\n"},
      {[] { DtPrintField("Time:", 2.5); }, "Time:                2.500000\n"},
      {[] { DtPrintField("Name:", "fed"); }, "Name:                fed\n"},
      {[] { DtPrintField("Name:", static_cast<const char*>(nullptr)); }, "Name:                null\n"},
      {[] { DtPrintField("MsgKind:", "JoinMsgKind", 12); }, "MsgKind:             JoinMsgKind   (12)\n"},
      {[] { DtPrintField("MsgKind:", nullptr, 1); }, "MsgKind:             null   (1)\n"},
      {[] { DtPrintField("AVeryLongLabelOfMoreThan20:", 1L); }, "AVeryLongLabelOfMoreThan20: 1\n"},
      {[] { DtPrintFlag("Passive:", 1, 0); }, "Passive:             TRUE\n"},
      {[] { DtPrintFlag("Passive:", 0, 0); }, "Passive:             FALSE\n"},
      {[] { DtPrintFlag("Passive:", 0, 1); }, ""},
      {[] { DtPrintFlag("Passive:", 2, 0); }, "Passive:             FALSE\n"},
  };
  for (const Case& c : cases) {
    NotifyCapture capture;
    c.print();
    EXPECT_EQ(capture.text(), c.expected);
  }
}

TEST(DtPrintField, NothingIsPrintedBelowLevelTwo) {
  NotifyCapture capture(1);
  DtPrintField("Length:", 24L);
  DtPrintBytes("Data:", "ab", 2);
  EXPECT_TRUE(capture.pieces.empty());
}

TEST(DtPrintField, BytesAreDumpedInRowsOfEight) {
  const unsigned char bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 0xfe, 0xff};
  NotifyCapture capture;
  DtPrintBytes("Data:", bytes, 10);
  EXPECT_EQ(capture.text(), "Data:                \n00 01 02 03 04 05 06 07 \nfe ff \n");

  capture.clear();
  DtHexDump(bytes, 9, 1);
  char expected[128];
  std::snprintf(expected, sizeof expected, "0x%" PRIXPTR ": 00 01 02 03 04 05 06 07 \n0x%" PRIXPTR ": fe \n",
                reinterpret_cast<std::uintptr_t>(bytes), reinterpret_cast<std::uintptr_t>(bytes + 8));
  EXPECT_EQ(capture.text(), expected);

  capture.clear();
  DtHexDump(bytes, 0, 0);
  DtHexDump(nullptr, 4, 0);
  EXPECT_EQ(capture.text(), "");
}

}  // namespace
