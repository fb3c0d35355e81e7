// The rtiexec's save file: its text lines and binary tail byte for byte,
// names, labels and tags with blanks read back whole, texts with line feeds
// refused, damaged files refused whole, and the file's name kept in its
// folder.

#include <gtest/gtest.h>

#include <string>

#include "exec/DtExecSaveFile.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/BigEndianBytes.h"

namespace {

// Two federates, one with a name of blanks and a synchronization entry, a
// synchronization point of two federates, a time record and time lists.
DtExecSavedState sampleState() {
  DtExecSavedState state;
  state.executionName = "Road Trip";
  state.fedFile = "Road.fed";
  state.nextFederateHandle = 4;
  state.designated = 1;
  state.cycleMinNerFederate = 2;
  state.nerSetChanged = true;
  state.nerCycle = 7;
  state.federates = {{1, 11, "A", {}}, {3, 13, "the  B team ", {{true, "sync point 1", "a tag  with blanks"}}}};
  state.syncPoints = {{"sync point 1", "", {1, 3}}};
  state.cycleMinNerLbts = std::string("\x01\x02", 2);
  state.cycleLagNerLbts = "";
  state.timeRecords = {{3, 1, 0, 1, 0, "T", "L", "NT", "NL"}};
  state.timeLists[0] = {3};
  state.timeLists[7] = {1, 3};
  state.constrainedSyncWaiting = {3};
  return state;
}

const std::string sampleText =
    "Saved to L 1 at Thu Jan  1 00:00:00 1970\n"
    "Road Trip\nRoad.fed\n2 4\n1\n2\n1\n0\n7\n"
    "1 11 0 A\n"
    "3 13 1 the  B team \n1 sync point 1\na tag  with blanks\n"
    "1 sync points\n2 sync point 1\n\n  1\n  3\n";

const std::string sampleTail = be32(2) + "\x01\x02" + be32(0) + be32(1) + be32(3) + be32(1) + be32(0) + be32(1) +
                               be32(0) + be32(1) + "T" + be32(1) + "L" + be32(2) + "NT" + be32(2) + "NL" + be32(1) +
                               be32(3) + be32(0) + be32(0) + be32(0) + be32(0) + be32(0) + be32(0) + be32(2) + be32(1) +
                               be32(3) + be32(1) + be32(3);

TEST(DtExecSaveFile, IsTextLinesThenTheBinaryTailAndReadsBackWhole) {
  std::string reason;
  const auto formatted = DtExecSaveFile::format(sampleState(), "L 1", "Thu Jan  1 00:00:00 1970\n", &reason);
  ASSERT_TRUE(formatted) << reason;
  EXPECT_EQ(*formatted, sampleText + sampleTail);
  const auto parsed = DtExecSaveFile::parse(*formatted, &reason);
  ASSERT_TRUE(parsed) << reason;
  EXPECT_TRUE(*parsed == sampleState());

  ScratchDirectory dir;
  const std::string path = dir.path() + "/x.sav";
  ASSERT_TRUE(DtExecSaveFile::write(path, *formatted, &reason)) << reason;
  EXPECT_EQ(DtExecSaveFile::read(path, &reason), formatted);
  EXPECT_FALSE(DtExecSaveFile::read(dir.path() + "/none.sav", &reason));
  EXPECT_FALSE(DtExecSaveFile::write("/dev/full", *formatted, &reason));
  EXPECT_FALSE(DtExecSaveFile::write(dir.path() + "/no/such/folder.sav", *formatted, &reason));
}

TEST(DtExecSaveFile, ATextWithALineFeedCannotBeWritten) {
  struct Case {
    const char* what;
    void (*spoil)(DtExecSavedState&, std::string& label);
  };
  const Case cases[] = {
      {"the label", [](DtExecSavedState&, std::string& label) { label = "L\n1"; }},
      {"the execution name", [](DtExecSavedState& s, std::string&) { s.executionName += "\n"; }},
      {"a federate name", [](DtExecSavedState& s, std::string&) { s.federates[0].name = "A\nB"; }},
      {"a synchronization label or tag",
       [](DtExecSavedState& s, std::string&) { s.federates[1].syncPoints[0].tag = "\n"; }},
      {"a synchronization label or tag", [](DtExecSavedState& s, std::string&) { s.syncPoints[0].label = "x\ny"; }},
  };
  for (const Case& c : cases) {
    DtExecSavedState state = sampleState();
    std::string label = "L";
    c.spoil(state, label);
    std::string reason;
    EXPECT_FALSE(DtExecSaveFile::format(state, label.c_str(), "now\n", &reason));
    EXPECT_EQ(reason, std::string(c.what) + " holds a line feed");
  }
}

TEST(DtExecSaveFile, ADamagedFileIsRefusedWholeWithItsReason) {
  const std::string good = sampleText + sampleTail;
  const std::string textOnly = sampleText;
  struct Case {
    std::string bytes;
    const char* reason;
  };
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string spoilt = good;
    spoilt.replace(spoilt.find(from), from.size(), to);
    return spoilt;
  };
  const Case cases[] = {
      {"", "not a save file (first line)"},
      {"Kept to L\n", "not a save file (first line)"},
      {"Saved to L at now\nX\n", "no execution or FED file name"},
      {replaced("2 4\n", "two 4\n"), "no federate count and next handle"},
      {replaced("2 4\n", "2 4294967296\n"), "no federate count and next handle"},
      {replaced("2 4\n", "3 4\n"), "a damaged federate line"},
      {replaced("2 4\n", "9 4\n"), "a damaged federate line"},
      {replaced("\n1\n0\n7\n", "\n2\n0\n7\n"), "no next-event set flag"},
      {replaced("1 11 0 A\n", "1 11 A\n"), "a damaged federate line"},
      {replaced("3 13 1 the", "3 13 5 the"), "a damaged synchronization entry"},
      {replaced("1 sync points\n", "1 syncpoints\n"), "no synchronization point count"},
      {replaced("2 sync point 1\n\n  1\n  3\n", "3 sync point 1\n\n  1\n  3\n"),
       "a damaged synchronization point member"},
      {replaced("  3\n", " 3\n"), "a damaged synchronization point member"},
      {textOnly, "the binary part ends early"},
      {good.substr(0, good.size() - 1), "the binary part ends early"},
      {good + "x", "bytes after the end of the save"},
      // Counts far beyond the bytes that follow.
      {textOnly + be32(0xFFFFFFFF), "the binary part ends early"},
      {textOnly + be32(0) + be32(0) + be32(0xFFFFFFFF), "the binary part ends early"},
      {"Saved to L" + std::string(DtExecSaveFile::lineLimit + 1, 'x') + "\n", "not a save file (first line)"},
      {"Saved to L at now", "not a save file (first line)"},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_FALSE(DtExecSaveFile::parse(c.bytes, &reason)) << c.reason;
    EXPECT_EQ(reason, c.reason) << c.bytes.substr(0, 80);
  }
}

TEST(DtExecSaveFile, ItsNameStaysInItsFolderWhateverTheLabel) {
  EXPECT_EQ(DtExecSaveFile::fileName("/s/", "L1", "X"), "/s/L1-X-HLA_fedex.sav");
  EXPECT_EQ(DtExecSaveFile::fileName("/s/", "../../etc/passwd", "X"), "/s/..%2F..%2Fetc%2Fpasswd-X-HLA_fedex.sav");
  EXPECT_EQ(DtExecSaveFile::fileName("/s/", "100%", "a\\b\n"), "/s/100%25-a%5Cb%0A-HLA_fedex.sav");
  EXPECT_EQ(DtExecSaveFile::fileName("/s/", nullptr, "with blank"), "/s/-with blank-HLA_fedex.sav");
}

}  // namespace
