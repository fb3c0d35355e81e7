// The time manager's share of a federation save: its record byte for byte,
// its state, retraction records and queued time-stamped messages back in
// another federate's time manager, which then goes on as the saved one
// would; damaged records refused with nothing changed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "TimeMgrScript.h"
#include "config/DtRIDParameters.h"
#include "msg/DtNetNumber.h"
#include "msg/DtSaveMsgs.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/BigEndianBytes.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

namespace {

using timescript::Script;
using Record = DtTimeMgrPacket;

// Regulating (lookahead 1) and constrained at LBTS 10, granted 4; a sent
// time-stamped message it may still retract (serial 3 at 5); another
// federate's interactions at 12 and 11 queued, one held receive-order one.
void bringToState(Script& script) {
  for (const char* line :
       {"reg 0 1", "<51 0", "con", "<53 0 10", "send 5 3", "tar 4", "tick", "<tso 4 12 9", "<tso 4 11 8", "<ro 4"}) {
    script.run(line);
  }
}

class TimeMgrSave : public ::testing::Test {
protected:
  std::string save(Script& script) {
    DtRtiSaveFile file(path.c_str(), false);
    EXPECT_TRUE(script.timeMgr().saveState(file));
    EXPECT_TRUE(file.close());
    return readWholeFile(path);
  }
  bool restore(Script& script, const std::string& bytes) {
    dir.write("time.sav", bytes);
    DtRtiSaveFile file(path.c_str(), true);
    return script.timeMgr().restoreState(file);
  }

  ScratchDirectory dir;
  std::string path = dir.path() + "/time.sav";
};

TEST_F(TimeMgrSave, TheRecordHoldsTheFlagsTimesAndRetractionsThenTheQueuedMessages) {
  Script saved;
  bringToState(saved);
  const std::string bytes = save(saved);
  const DtSavePacket record(std::span<const char>(bytes.data(), bytes.size()));
  // 52 bytes, ten times of 4 + 8 bytes, one retraction record of 4 + 4 + 8.
  EXPECT_EQ(record.length(), 188u);
  EXPECT_EQ(record.type(), 14u);
  EXPECT_EQ(bytes.substr(8, 21), std::string("\1\1\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\1", 21));
  EXPECT_EQ(record.u32(Record::stateVersionAt), 1u);
  EXPECT_EQ(record.u32(Record::retractCountAt), 1u);
  EXPECT_EQ(record.u32(Record::queuedCountAt), 2u);
  // lbts 10, then time + lookahead 5.
  EXPECT_EQ(record.u32(Record::timesAt), 8u);
  auto timeAt = [&](std::size_t at) {
    const std::unique_ptr<RTI::FedTime> time(RTI::FedTimeFactory::decode(bytes.data() + at));
    return timescript::text(*time);
  };
  EXPECT_EQ(timeAt(56), "10");
  EXPECT_EQ(timeAt(68), "5");
  EXPECT_EQ(record.u32(172), 3u);  // the retraction record's serial number
  // The queued messages follow in time-stamp order.
  DtRtiSaveFile file(path.c_str(), true);
  std::vector<std::uint32_t> types;
  while (const DtSavePacket* packet = file.readNextPacket()) types.push_back(packet->type());
  EXPECT_EQ(types, (std::vector<std::uint32_t>{14, 15, 15}));
}

// A time as the record holds it: its size, then its own encoding.
std::string timeField(const char* time) {
  const RTIfedTime t = timescript::timeOf(time);
  std::string bytes(static_cast<std::size_t>(t.encodedLength()), '\0');
  t.encode(bytes.data());
  return be32(static_cast<std::uint32_t>(bytes.size())) + bytes;
}

// Two states: any two of the ten times, and of the four counts, differ in
// one of them, so a field out of its place shows.
TEST_F(TimeMgrSave, TheWholeRecordByteForByte) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;  // "save T": the rtiexec's save time
    // The 21 flags, constrained to nerFirstPass, as 0 and 1.
    const char* flags;
    std::uint32_t nerCycle, retractions, queued;
    // lbts, timePlusLookahead, constrainedLbts, federateTime, lookahead,
    // requestedTime, targetLookahead, reducingLookahead, pendingGrantTime,
    // nerBound; then the retraction records.
    std::vector<const char*> times;
    std::string retractionRecords;
  };
  const Case cases[] = {
      {"a next-event request in cycle 6, the lookahead falling from 2 to 1, one message to retract, two queued",
       {"reg 0 2", "<51 0", "con", "<53 0 10", "send 5 3", "tar 4", "tick", "modla 1", "<tso 4 12 9", "<tso 4 11 8",
        "ner 11", "tick", "<57 6 9 1 0 9 9"},
       "110001001000001000000",
       6,
       1,
       2,
       {"10", "6", "10", "4", "2", "11", "1", "2", "0", "11"},
       be32(3) + timeField("5")},
      {"an advance held at the save time, the lookahead falling from 5 to 1, then no longer constrained",
       {"reg 0 5", "<51 0", "con", "<53 0 20", "tar 2", "tick", "modla 1", "save 3", "tar 4", "tick", "dcon"},
       "010010101000001001001",
       0,
       0,
       0,
       {"20", "7", "inf", "2", "5", "4", "1", "3", "4", "0"},
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Script saved;
    for (const std::string& line : c.lines) {
      if (line.rfind("save ", 0) == 0) {
        const DtSaveTimeMsg time(timescript::timeOf(line.substr(5)), nullptr);
        saved.timeMgr().processSaveTime(time);
      } else {
        for (const std::string& logged : saved.run(line)) EXPECT_NE(logged[0], '!') << line << ": " << logged;
      }
    }
    std::string times;
    for (const char* time : c.times) times += timeField(time);
    std::string flags;
    for (const char* f = c.flags; *f; ++f) flags += static_cast<char>(*f - '0');
    ASSERT_EQ(flags.size(), 21u);
    const std::string body = flags + std::string(3, '\0') + be32(1) + be32(c.nerCycle) + be32(c.retractions) +
                             be32(c.queued) + be32(0) + times + c.retractionRecords;
    const std::string record = be32(static_cast<std::uint32_t>(8 + body.size())) + be32(14) + body;
    const std::string bytes = save(saved);
    EXPECT_EQ(bytes.substr(0, record.size()), record);
  }
}

TEST_F(TimeMgrSave, ARestoredTimeManagerGoesOnAsTheSavedOne) {
  Script saved;
  bringToState(saved);
  const std::string bytes = save(saved);

  Script restored;
  restored.run("reg 0 3");  // a state of its own, replaced
  ASSERT_TRUE(restore(restored, bytes));
  EXPECT_EQ(restored.query(), saved.query());
  EXPECT_EQ(restored.query(), "lbts=10 time=4 la=1 min=10");
  EXPECT_TRUE(restored.timeMgr().regulating());
  EXPECT_TRUE(restored.timeMgr().constrained());
  // The retraction record came back; the queued events are delivered at
  // their grant, in time-stamp order (the held receive-order one was not
  // saved).
  EXPECT_EQ(restored.run("retract 3"), std::vector<std::string>{"62 serial=3"});
  restored.run("tar 13");
  EXPECT_EQ(restored.run("<56 9 20 20"), (std::vector<std::string>{"tso 4 11 8", "tso 4 12 9", "grant 13"}));
}

TEST_F(TimeMgrSave, ADamagedRecordIsRefusedWithNothingChanged) {
  Script saved;
  bringToState(saved);
  const std::string good = save(saved);
  const std::string record = good.substr(0, 188);
  auto withLength = [](std::string bytes, std::uint32_t length) {
    DtNetU32::write(bytes.data(), length);
    return bytes;
  };
  std::string badTimeSize = record;
  DtNetU32::write(badTimeSize.data() + Record::timesAt, 9);  // a time of 9 bytes
  std::string hugeCount = record;
  DtNetU32::write(hugeCount.data() + Record::retractCountAt, 0xFFFFFFFF);
  struct Case {
    const char* what;
    std::string bytes;
    const char* printed;
    bool stateChanged;
  };
  const Case cases[] = {
      {"a record of another type", good.substr(188), "TimeMgr received an incorrect save packet", false},
      {"shorter than its fixed part", withLength(record.substr(0, 40), 40), "TimeMgr received a damaged save packet",
       false},
      {"times cut short", withLength(record.substr(0, 100), 100), "TimeMgr received a damaged save packet", false},
      {"a time of another size", badTimeSize, "TimeMgr received a damaged save packet", false},
      {"more retraction records than bytes", hugeCount, "TimeMgr received a damaged save packet", false},
      {"bytes after the records", withLength(record + "xyzw", 192), "TimeMgr received a damaged save packet", false},
      {"fewer queued messages than counted", good.substr(0, good.size() - 20) + std::string(8, '\0'),
       "TimeMgr received an incorrect save packet", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Script restored;
    restored.run("reg 0 3");
    const std::string before = restored.query();
    NotifyCapture capture(1);
    EXPECT_FALSE(restore(restored, c.bytes));
    EXPECT_NE(capture.text().find(c.printed), std::string::npos) << capture.text();
    EXPECT_EQ(restored.query() != before, c.stateChanged);
  }
}

// ---- the save around an advance

// The federate manager: counts the saves its time manager starts.
class SaveOwner : public FakeFederateMgr {
public:
  explicit SaveOwner(DtRIDParameters* params) : FakeFederateMgr(params) {}
  void initiateSave() override { ++saves; }
  int saves = 0;
};

// A constrained federate at 0 (LBTS 10) with its time manager's owner.
class AroundAnAdvance : public TimeMgrSave {
protected:
  AroundAnAdvance() {
    script.timeMgr().setOwner(&owner);
    script.run("con");
    script.run("<53 0 10");
  }
  void saveTimeIs(const char* time) {
    DtSaveTimeMsg msg(timescript::timeOf(time), nullptr);
    script.timeMgr().processSaveTime(msg);
  }
  // The run's log without what the federate sends the rtiexec but 65.
  std::vector<std::string> seen(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
      if (line.rfind("5", 0) != 0 || line == "65") kept.push_back(line);
    }
    return kept;
  }

  DtRIDParameters params;
  SaveOwner owner{&params};
  Script script;
};

TEST_F(AroundAnAdvance, AnAdvancePastTheSaveTimeStopsThereAndReportsItOnce) {
  struct Case {
    const char* request;
    const char* saveTime;
    std::vector<std::string> atTick;  // events up to the save time, then 65 instead of the grant
  };
  const Case cases[] = {
      {"tar 8", "5", {"tso 4 3 1", "tso 4 5 2", "65"}},       // past the save time
      {"tar 5", "5", {"tso 4 3 1", "tso 4 5 2", "grant 5"}},  // at it: granted, the save comes later
      {"tara 5", "5", {"tso 4 3 1", "tso 4 5 2", "65"}},      // at it, available: stops
      {"tar 4", "5", {"tso 4 3 1", "grant 4"}},               // before it
      {"flush 8", "5", {"65"}},                               // a flush delivers nothing before the save
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request);
    Script fresh;
    fresh.timeMgr().setOwner(&owner);
    fresh.run("con");
    fresh.run("<53 0 0");
    for (const char* line : {"<tso 4 3 1", "<tso 4 5 2", "<tso 4 7 3", "<56 9 10 10"}) fresh.run(line);
    DtSaveTimeMsg time(timescript::timeOf(c.saveTime), nullptr);
    fresh.timeMgr().processSaveTime(time);
    fresh.run(c.request);
    EXPECT_EQ(seen(fresh.run("tick")), c.atTick);
    EXPECT_TRUE(seen(fresh.run("<56 9 11 11")).size() <= 1u) << "no second report";
  }
}

TEST_F(AroundAnAdvance, ASaveReachesAnIdleConstrainedFederateAtItsNextAdvanceOnce) {
  script.timeMgr().saveInitiated();
  EXPECT_EQ(owner.saves, 0);
  EXPECT_TRUE(script.timeMgr().saveDeferred());
  script.run("tar 4");
  EXPECT_EQ(seen(script.run("tick")), std::vector<std::string>{});
  EXPECT_EQ(owner.saves, 1);
  script.run("<56 9 11 11");
  EXPECT_EQ(owner.saves, 1) << "started once";
  // With an advance under way (or unconstrained) it starts at once.
  Script advancing;
  advancing.timeMgr().setOwner(&owner);
  advancing.run("tar 2");
  advancing.timeMgr().saveInitiated();
  EXPECT_EQ(owner.saves, 2);
}

TEST_F(AroundAnAdvance, TheEndOfASaveOrRestoreLetsTheAdvanceGoOnByWhatHeldIt) {
  struct Case {
    const char* what;
    std::function<void(Script&)> setUp;
    bool restored;  // the state went through a save file first
    std::vector<std::string> atCompletion;
  };
  auto constrained = [this](Script& s) {
    s.timeMgr().setOwner(&owner);
    s.run("con");
    s.run("<53 0 0");
    s.run("<tso 4 7 3");
    s.run("<56 9 10 10");
  };
  auto savePoint = [&](const char* request) {
    return [&constrained, request](Script& s) {
      constrained(s);
      DtSaveTimeMsg time(timescript::timeOf("5"), nullptr);
      s.timeMgr().processSaveTime(time);
      s.run(request);
      s.run("tick");
    };
  };
  const Case cases[] = {
      {"a deferred save: the advance step runs",
       [&](Script& s) {
         constrained(s);
         s.timeMgr().saveInitiated();
         s.run("tar 8");
         s.run("tick");
       },
       false,
       {"tso 4 7 3", "grant 8"}},
      {"a save time: the advance step runs", savePoint("tar 8"), false, {"tso 4 7 3", "grant 8"}},
      {"a held grant restored: its step runs again, its events first",
       savePoint("tar 8"),
       true,
       {"tso 4 7 3", "grant 8"}},
      {"a next-event step restored without events: it runs again", savePoint("ner 8"), true, {"tso 4 7 3", "grant 7"}},
      {"nothing held: nothing happens", constrained, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Script first;
    c.setUp(first);
    Script* completing = &first;
    Script second;
    if (c.restored) {
      const std::string bytes = save(first);
      second.timeMgr().setOwner(&owner);
      ASSERT_TRUE(restore(second, bytes));
      EXPECT_FALSE(second.timeMgr().saveTimeKnown());
      completing = &second;
    }
    completing->timeMgr().saveCompleted();
    // What the completion did comes with the next line's log.
    std::vector<std::string> log = seen(completing->run("query"));
    log.pop_back();
    EXPECT_EQ(log, c.atCompletion);
  }
}

}  // namespace
