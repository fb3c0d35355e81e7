// The data distribution manager in a federation save: its record, its
// channel records and its regions written, read back into another manager,
// and the damaged files it refuses without changing anything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DdmTestSupport.h"
#include "SaveRecordFiles.h"
#include "ddm/DtDataDistMgrPacket.h"
#include "ddm/DtDdmChannels.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

namespace {

using namespace ddmtest;
using Lines = std::vector<std::string>;

// The channels as lines: "obj 224.0.0.7: 300002 300003", "inter 6 @ ...".
Lines channelsOf(const DtDataDistMgr& ddm) {
  Lines lines;
  const auto add = [&](const char* table, const DtDdmChannels::Filed& f) {
    std::string line =
        std::string(table) + " " + std::to_string(f.interactionClass) + " @" + DottedAddress(f.channel) + ":";
    for (const std::uint32_t set : f.sets) line += " " + std::to_string(set);
    lines.push_back(line);
  };
  for (const auto& f : ddm.channels().interactionChannels()) add("inter", f);
  for (const auto& f : ddm.channels().objectChannels()) add("obj", f);
  return lines;
}

class DdmSave : public DdmFixture {
protected:
  // This federate: two regions (one announced), channels in both tables
  // (one shared), three remote regions of two federates.
  void fill() {
    geoRegion({1, 2}, {3, 4});
    DtRegion* later = ddm->createRegion(radio, 2);
    setBounds(*later, 0, {{7, 8}});
    ddm->freeChannel();
    const std::uint32_t c1 = ddm->freeChannel(), c2 = ddm->freeChannel();
    ddm->joinInteractionRegionSet(c1, 6, 300002);
    ddm->joinInteractionRegionSet(c1, 7, 300003);
    ddm->joinInteractionRegionSet(0, 6, 0);
    ddm->joinObjectRegionSet(c2, 300002);
    ddm->joinObjectRegionSet(c1, 300004);
    ddm->joinObjectRegionSet(c2, 300005);
    conn->processMsg(notifyFrom(other, 2100001, radio, 1, 1, {5, 6}));
    conn->processMsg(notifyFrom(third, 2200001, geo, 1, 2, {0, 9, 0, 9}));
    conn->processMsg(notifyFrom(other, 2100002, geo, 2, 2, {1, 2, 3, 4, 10, 20, 30, 40}));
    conn->takeSent();
    conn->takeGroups();
    takeTold();
  }
  std::string saved() {
    const std::string path = dir.path() + "/fed.sav";
    {
      DtRtiSaveFile file(path.c_str(), false);
      EXPECT_TRUE(ddm->save(file));
    }
    return path;
  }
  bool restoreFrom(const std::string& path) {
    DtRtiSaveFile file(path.c_str(), true);
    return ddm->restore(file);
  }

  ScratchDirectory dir;
};

TEST_F(DdmSave, TheRecordsHoldTheCountersTheChannelsAndTheRegionsInTheirOrder) {
  fill();
  const Records records = readRecords(saved());
  ASSERT_EQ(records.size(), 1u + 3 + 2 + 2 + 3);
  EXPECT_EQ(records[0], be32(32) + be32(10) + be32(0xE0000004) + be32(3) + be32(2) + be32(3) + be32(3) + be32(2));
  EXPECT_EQ(records[1], be32(24) + be32(11) + be32(6) + be32(0xE0000002) + be32(1) + be32(300002));
  EXPECT_EQ(records[2], be32(24) + be32(11) + be32(7) + be32(0xE0000002) + be32(1) + be32(300003));
  // Channel 0 is filed, and saved, like any other.
  EXPECT_EQ(records[3], be32(24) + be32(11) + be32(6) + be32(0) + be32(1) + be32(0));
  EXPECT_EQ(records[4], be32(28) + be32(11) + be32(0) + be32(0xE0000003) + be32(2) + be32(300002) + be32(300005));
  EXPECT_EQ(records[5], be32(24) + be32(11) + be32(0) + be32(0xE0000002) + be32(1) + be32(300004));
  for (std::size_t i = 6; i < records.size(); ++i) EXPECT_EQ(u32At(records[i], 4), 12u) << i;
}

TEST_F(DdmSave, ARestoreTearsTheSetsDownLeavesTheGroupsAndTakesTheSavedRegionsAndChannels) {
  fill();
  const std::string path = saved();
  const Lines regions = regionsOf(*ddm), channels = channelsOf(*ddm);
  const std::uint32_t nextChannel = ddm->channels().nextChannel(), counter = ddm->regionCounter();
  ASSERT_EQ(regions.size(), 5u);

  // Another federate manager of the same federate, with a state of its own.
  make("");
  geoRegion({50, 60}, {50, 60});
  conn->processMsg(notifyFrom(third, 2200005, radio, 1, 1, {1, 2}));
  ddm->joinObjectRegionSet(0xE1000001, 300009);
  conn->takeGroups();
  conn->takeSent();
  takeTold();
  ASSERT_TRUE(restoreFrom(path));
  EXPECT_EQ(takeTold(), (Lines{"inter destroy sets", "obj destroy sets"}));
  EXPECT_EQ(conn->takeGroups(), (Lines{"leave 225.0.0.1", "join 224.0.0.2", "join 224.0.0.3"}));
  EXPECT_EQ(conn->takeSent(), Lines{});
  EXPECT_EQ(regionsOf(*ddm), regions);
  EXPECT_EQ(channelsOf(*ddm), channels);
  EXPECT_EQ(ddm->channels().nextChannel(), nextChannel);
  EXPECT_EQ(ddm->regionCounter(), counter);
  EXPECT_EQ(ddm->localRegion(0), &ddm->defaultRegion());
  EXPECT_EQ(ddm->createRegion(geo, 1)->handle(), 300003u);

  // The regions restored are the federate's and the others' again.
  DtRegion* own = ddm->localRegion(300001);
  ASSERT_NE(own, nullptr);
  ddm->notifyAboutRegionModification(*own);
  EXPECT_EQ(conn->takeSent(), Lines{"notify 300001 space 1 [1,2) [3,4)"});
  ddm->processResign(resignOf(other));
  EXPECT_EQ(regionsOf(*ddm).size(), 5u + 1 - 2);
}

TEST_F(DdmSave, ARestoredRegionCounterAtTheLastSerialGivesOneMoreRegionThenRefuses) {
  const std::string path = dir.path() + "/last.sav";
  writeRecords(path, {be32(32) + be32(10) + be32(0xE0000001) + be32(99999) + be32(0) + be32(0) + be32(0) + be32(0)});
  ASSERT_TRUE(restoreFrom(path));
  EXPECT_EQ(ddm->createRegion(geo, 1)->handle(), 399999u);
  EXPECT_EQ(outcomeOf([&] { ddm->createRegion(geo, 1); }), "throws RTIinternalError");
  EXPECT_EQ(regionsOf(*ddm).size(), 1u);
}

TEST_F(DdmSave, ADamagedSaveIsRefusedWithTheLineAndChangesNothing) {
  fill();
  const Records good = readRecords(saved());
  const Lines regions = regionsOf(*ddm), channels = channelsOf(*ddm);
  const std::uint32_t nextChannel = ddm->channels().nextChannel(), counter = ddm->regionCounter();
  const std::string& head = good[0];
  const auto with = [&](std::size_t at, const std::string& record) {
    Records r = good;
    r[at] = record;
    return r;
  };
  const auto without = [&](std::size_t at) {
    Records r = good;
    r.erase(r.begin() + static_cast<std::ptrdiff_t>(at));
    return r;
  };
  const auto cut = [&](std::size_t n) { return Records(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)); };
  struct Case {
    const char* what;
    Records records;
  };
  const std::vector<Case> cases = {
      {"nothing at all", {}},
      {"another type first", with(0, withU32(head, 4, 2))},
      {"the manager's record cut short", with(0, withU32(head.substr(0, 28), 0, 28))},
      {"the manager's record too long", with(0, withU32(head + be32(0), 0, 36))},
      {"a channel record of another type", with(1, withU32(good[1], 4, 12))},
      {"a channel record shorter than its count", with(4, withU32(withU32(good[4], 0, 24).substr(0, 24), 16, 2))},
      {"a channel record longer than its count", with(4, withU32(good[4], 16, 1))},
      {"a count larger than any file", with(4, withU32(good[4], 16, 0xFFFFFFFF))},
      {"a channel record cut below its fixed part", with(1, withU32(good[1].substr(0, 16), 0, 16))},
      {"an interaction class the model lacks", with(1, withU32(good[1], 8, 99))},
      {"more interaction channels than follow", with(0, withU32(head, 24, 4))},
      {"more object channels than follow", with(0, withU32(head, 28, 3))},
      {"a channel record missing", without(2)},
      {"more local regions than follow", with(0, withU32(head, 16, 3))},
      {"more remote regions than the file holds", with(0, withU32(head, 20, 4))},
      {"a local region count past any file", with(0, withU32(head, 16, 0xFFFFFFFF))},
      {"a region record missing", without(7)},
      {"the file ending after the channels", cut(6)},
      {"a region of a space the model lacks", with(6, withU32(good[6], 24, 9))},
      {"a local region under a federate's tag", with(6, withU32(good[6], 16, 21))},
      {"a region named twice", with(7, good[6])},
      {"the default region saved", with(6, withU32(good[6], 20, 0))},
  };
  NotifyCapture capture(1);
  for (const Case& c : cases) {
    const std::string path = dir.path() + "/bad.sav";
    writeRecords(path, c.records);
    capture.pieces.clear();
    EXPECT_FALSE(restoreFrom(path)) << c.what;
    EXPECT_EQ(capture.text(), "DataDistMgr received an incorrect save packet, restore aborted\n") << c.what;
    EXPECT_EQ(regionsOf(*ddm), regions) << c.what;
    EXPECT_EQ(channelsOf(*ddm), channels) << c.what;
    EXPECT_EQ(ddm->channels().nextChannel(), nextChannel) << c.what;
    EXPECT_EQ(ddm->regionCounter(), counter) << c.what;
    EXPECT_EQ(takeTold(), Lines{}) << c.what;
    EXPECT_EQ(conn->takeGroups(), Lines{}) << c.what;
  }
}

}  // namespace
