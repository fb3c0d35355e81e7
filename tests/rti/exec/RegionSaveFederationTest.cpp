// Regions in a federation save and restore with the real rtiexec program and
// scripted federates running data distribution management: each federate's
// file carries its data distribution records after the time manager's and
// before the interaction manager's (whose region sets follow its record), and a federation whose regions changed
// after the save is, restored, the saved one: saved again, its records are
// the first save's, and the regions made since are gone. The same holds for
// the interaction region sets, which match again after the restore, and for
// the object region sets: a passive subscription stays passive (the owner's
// updates are not turned on for it) and updates flow as before.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ExecFederation.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "support/RegionModel.h"
#include "support/Sentinels.h"

using namespace exectest;

namespace {

// The data distribution manager's records of a save file (types 10 to 12),
// as they stand, and the types of all records in order.
struct SaveFileRecords {
  std::vector<std::string> ddm;
  std::string types;
};
SaveFileRecords recordsOf(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  SaveFileRecords records;
  while (const DtSavePacket* packet = file.readNextPacket()) {
    records.types += (records.types.empty() ? "" : " ") + std::to_string(packet->type());
    if (packet->type() >= 10 && packet->type() <= 12) {
      records.ddm.emplace_back(packet->bytes().data(), packet->bytes().size());
    }
  }
  return records;
}

// Two scripted federates, A and B, joined to the execution of the model
// through the real rtiexec, with data distribution on.
class SavingPair : public ::testing::Test {
protected:
  // `beforeJoin`: what both federates do before they join.
  SavingPair(std::string execution, std::string fed, std::vector<std::string> beforeJoin = {})
      : execution_(std::move(execution)), fed_(std::move(fed)), beforeJoin_(std::move(beforeJoin)) {}
  void SetUp() override {
    federation.dir().write(execution_ + ".fed", fed_);
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(eachSucceeds({a.get(), b.get()}, beforeJoin_));
    ASSERT_TRUE(succeeds(*a, "create " + execution_ + " " + execution_ + ".fed"));
    ASSERT_EQ(a->command("join " + execution_ + " A"), "ok join 1");
    ASSERT_EQ(b->command("join " + execution_ + " B"), "ok join 2");
  }
  ::testing::AssertionResult saveAs(const std::string& label) {
    if (auto result = succeeds(*a, "save " + label); !result) return result;
    return saveTogether({a.get(), b.get()});
  }
  ::testing::AssertionResult restore(const std::string& label) {
    if (auto result = succeeds(*b, "restore " + label); !result) return result;
    if (auto result = succeeds(*b, "wait requestFederationRestoreSucceeded"); !result) return result;
    return restoreTogether({a.get(), b.get()});
  }
  // Each has taken in what the other sent so far: a tick after an answer
  // that followed it.
  void settle() {
    for (int round = 0; round < 2; ++round) {
      for (ScriptedFederateProcess* f : {a.get(), b.get()}) EXPECT_TRUE(succeeds(*f, "tick 0.3"));
    }
  }
  std::string file(const std::string& label, const std::string& federate) const {
    return federation.dir().path() + "/" + label + "-" + execution_ + "-" + federate + ".sav";
  }
  // A resigns as told (`none` leaves no object behind).
  void end(const std::string& aResigns = "none") {
    EXPECT_TRUE(succeeds(*b, "resign none"));
    EXPECT_TRUE(succeeds(*a, "resign " + aResigns));
    EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2}));
    EXPECT_TRUE(succeeds(*a, "destroy " + execution_));
  }

  std::string execution_;
  std::string fed_;
  std::vector<std::string> beforeJoin_;
  ExecFederation federation{std::string(reliableForms) + "(setq RTI_dataDistMgmt 1)\n"};
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

class RegionSaveFederation : public SavingPair {
protected:
  RegionSaveFederation() : SavingPair("Map", theRegionModelFed) {}
};

TEST_F(RegionSaveFederation, RegionsChangedAfterASaveAreTheSavedOnesAgainAfterTheRestore) {
  EXPECT_TRUE(eachSucceeds({a.get()},
                           {"create-region Geo 2 r1", "set-extent r1 0 X=10,20 Y=30,40", "set-extent r1 1 X=0,5 Y=0,5",
                            "notify-region r1", "create-region Radio 1 r2", "set-extent r2 0 Freq=100,200"}));
  EXPECT_TRUE(eachSucceeds({b.get()}, {"create-region Radio 1 q1", "set-extent q1 0 Freq=1,2", "notify-region q1"}));
  settle();
  ASSERT_TRUE(saveAs("L1"));
  const SaveFileRecords a1 = recordsOf(file("L1", "A-1")), b1 = recordsOf(file("L1", "B-2"));
  // The manager's record, the local regions, then the other federate's.
  // After the interaction manager's record, its region sets' header and end
  // record (none of them has an interaction region set); after the object
  // manager's records, its default region sets (local publication,
  // subscription and passive, remote publication and subscription) and end.
  EXPECT_EQ(a1.types, "1 6 7 998 6 7 998 8 8 10 12 12 12 2 3 13 4 998 13 13 13 13 13 13");
  EXPECT_EQ(b1.types, "1 6 7 998 6 7 998 8 8 10 12 12 2 3 13 4 998 13 13 13 13 13 13");

  // Changed: r1 changed and deleted, r2 announced, a new region, q1 gone.
  EXPECT_TRUE(
      eachSucceeds({a.get()}, {"set-extent r1 0 X=11,21", "notify-region r1", "delete-region r1", "notify-region r2",
                               "create-region Geo 1 r3", "set-extent r3 0 X=1,2 Y=1,2", "notify-region r3"}));
  EXPECT_TRUE(eachSucceeds({b.get()}, {"delete-region q1"}));
  settle();
  ASSERT_TRUE(saveAs("L2"));
  EXPECT_NE(recordsOf(file("L2", "A-1")).ddm, a1.ddm);
  EXPECT_NE(recordsOf(file("L2", "B-2")).ddm, b1.ddm);

  ASSERT_TRUE(restore("L1"));
  // The regions of the save are the federates' own again; those made since
  // are not.
  EXPECT_EQ(a->command("notify-region r1"), "ok notify-region");
  EXPECT_EQ(a->command("notify-region r3"), "error notify-region RegionNotKnown \"\"");
  EXPECT_EQ(b->command("notify-region q1"), "ok notify-region");
  // Saved again (the same records; announcements resent change nothing),
  // it is the first save.
  settle();
  ASSERT_TRUE(saveAs("L3"));
  EXPECT_EQ(recordsOf(file("L3", "A-1")).ddm, a1.ddm);
  EXPECT_EQ(recordsOf(file("L3", "B-2")).ddm, b1.ddm);

  end();
}

// The interaction region sets' records of a save file (types 3 and 13) as
// they stand, and the kinds of the set records in order.
struct SetRecords {
  std::vector<std::string> records;
  std::string kinds;
};
SetRecords setRecordsOf(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  SetRecords sets;
  // The interaction manager's: from its header to its end record (the
  // object manager's region sets come later).
  bool inside = false;
  while (const DtSavePacket* packet = file.readNextPacket()) {
    if (packet->type() == 3) inside = true;
    if (!inside || (packet->type() != 3 && packet->type() != 13)) continue;
    sets.records.emplace_back(packet->bytes().data(), packet->bytes().size());
    if (packet->type() != 13) continue;
    sets.kinds += (sets.kinds.empty() ? "" : " ") + std::to_string(packet->u32(8));
    if (packet->u32(8) == 0) break;
  }
  return sets;
}

// Interaction region sets: a subscriber with an active and a passive set
// holds the other's publication and subscription sets.
class InteractionRegionSaveFederation : public SavingPair {
protected:
  InteractionRegionSaveFederation() : SavingPair("Talk", theTalkModelFed) {}
  // B sends from q1 until A has received it (the first may come before A
  // knows B's publication set).
  ::testing::AssertionResult delivered(const std::string& tag) {
    for (int i = 0; i < 50; ++i) {
      if (auto sent = succeeds(*b, "send-interaction-region Signal q1 " + tag + " Power=1"); !sent) return sent;
      if (a->command("wait receiveInteraction 0.2").rfind("ok ", 0) == 0) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << tag << " never arrived";
  }
};

TEST_F(InteractionRegionSaveFederation, SetsOfEveryKindComeBackAsSavedAndMatchAgain) {
  EXPECT_TRUE(eachSucceeds(
      {a.get()}, {"create-region Radio 1 a1", "set-extent a1 0 Freq=0,10", "notify-region a1",
                  "create-region Radio 1 a2", "set-extent a2 0 Freq=50,60", "notify-region a2",
                  "subscribe-interaction-region Signal a1", "subscribe-interaction-region Signal a2 passive"}));
  EXPECT_TRUE(
      eachSucceeds({b.get()}, {"publish-interaction Signal", "create-region Radio 1 q1", "set-extent q1 0 Freq=5,15",
                               "notify-region q1", "subscribe-interaction-region Signal q1"}));
  settle();
  ASSERT_TRUE(delivered("t1"));
  settle();
  ASSERT_TRUE(saveAs("L1"));
  const SetRecords a1 = setRecordsOf(file("L1", "A-1")), b1 = setRecordsOf(file("L1", "B-2"));
  // A: its active and passive sets, B's publication and subscription sets,
  // the end. B: its subscription set, A's, the end (its own publication set
  // is made again at its next send).
  EXPECT_EQ(a1.kinds, "3 4 2 5 0");
  EXPECT_EQ(b1.kinds, "3 5 0");

  // Changed: both withdraw their active subscriptions.
  EXPECT_TRUE(eachSucceeds({a.get()}, {"unsubscribe-interaction-region Signal a1"}));
  EXPECT_TRUE(eachSucceeds({b.get()}, {"unsubscribe-interaction-region Signal q1"}));
  settle();
  ASSERT_TRUE(saveAs("L2"));
  EXPECT_NE(setRecordsOf(file("L2", "A-1")).records, a1.records);
  EXPECT_NE(setRecordsOf(file("L2", "B-2")).records, b1.records);

  ASSERT_TRUE(restore("L1"));
  settle();
  ASSERT_TRUE(saveAs("L3"));
  EXPECT_EQ(setRecordsOf(file("L3", "A-1")).records, a1.records);
  EXPECT_EQ(setRecordsOf(file("L3", "B-2")).records, b1.records);
  // A listens again to what overlaps its restored subscription.
  EXPECT_TRUE(delivered("t2"));

  end();
}

// The object region sets' records of a save file: the type-13 records after
// the object manager's own (type 4), as they stand, and their kinds in order.
SetRecords objectSetRecordsOf(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  SetRecords sets;
  bool inside = false;
  while (const DtSavePacket* packet = file.readNextPacket()) {
    if (packet->type() == 4) inside = true;
    if (!inside || packet->type() != 13) continue;
    sets.records.emplace_back(packet->bytes().data(), packet->bytes().size());
    sets.kinds += (sets.kinds.empty() ? "" : " ") + std::to_string(packet->u32(8));
    if (packet->u32(8) == 0) break;
  }
  return sets;
}

// How many of the records of this kind hold unowned attributes (the count U
// of the record's header).
int unownedRecordsOf(const SetRecords& sets, std::uint32_t kind) {
  int found = 0;
  for (const std::string& record : sets.records) {
    const DtSavePacket packet(std::span<const char>(record.data(), record.size()));
    if (packet.u32(8) == kind && packet.u32(32) > 0) ++found;
  }
  return found;
}

// Objects with regions: A owns an object whose Position is in its region r,
// B subscribes passively from q, which overlaps r, and associates a region
// of its own with the object's Position, which it does not own.
class ObjectRegionSaveFederation : public SavingPair {
protected:
  ObjectRegionSaveFederation()
      : SavingPair("Field", sentinels::withSentinelClass(theFieldModelFed), {"sentinel-class Sentinel"}) {}
  // A updates the object until B reflects this value.
  ::testing::AssertionResult reflected(const std::string& value) {
    for (int i = 0; i < 50; ++i) {
      if (auto updated = succeeds(*a, "update car - Position=" + value); !updated) return updated;
      if (auto ticked = succeeds(*b, "tick 0.1"); !ticked) return ticked;
      if (printed(b->lines(), "=\"" + value + "\"")) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << value << " never reflected";
  }
  // Whether A's updates were turned on since its line `from`.
  bool turnedOnSince(std::size_t from) const {
    const std::vector<std::string>& lines = a->lines();
    return printed(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()),
                   "callback turnUpdatesOnForObjectInstance");
  }
};

TEST_F(ObjectRegionSaveFederation, SetsAssociationsAndAPassiveSubscriptionComeBackAsSaved) {
  EXPECT_TRUE(eachSucceeds(
      {a.get()}, {"publish Vehicle Position Name", "attribute-advisory on", "create-region Geo 1 r",
                  "set-extent r 0 X=10,20 Y=0,100", "notify-region r", "register-region Vehicle car Position=r"}));
  EXPECT_TRUE(
      eachSucceeds({b.get()}, {"publish Vehicle Position", "create-region Geo 1 q", "set-extent q 0 X=15,30 Y=0,100",
                               "notify-region q", "subscribe-region-passive Vehicle q Position",
                               "create-region Geo 1 u", "set-extent u 0 X=0,5 Y=0,5", "notify-region u"}));
  ASSERT_TRUE(reflected("p1"));
  EXPECT_TRUE(succeeds(*b, "associate-region u car Position"));
  ASSERT_TRUE(sentinels::roundTrip(*b, *a));
  EXPECT_FALSE(turnedOnSince(0)) << "a passive subscription";
  ASSERT_TRUE(saveAs("L1"));
  const SetRecords a1 = objectSetRecordsOf(file("L1", "A-1")), b1 = objectSetRecordsOf(file("L1", "B-2"));
  // A: the default local sets, its publication set of r; the default remote
  // sets and B's publication set of u. B: the default local sets, its
  // passive set of q, its publication set of u holding A's object unowned;
  // the default remote sets and A's publication set of r.
  EXPECT_EQ(a1.kinds, "1 1 3 4 2 2 5 0");
  EXPECT_EQ(b1.kinds, "1 1 3 4 4 2 2 5 0");
  EXPECT_EQ(unownedRecordsOf(b1, 1), 1);

  // Changed: B's subscription turns active (A's updates go on), B's region
  // leaves the object, A's region moves away (A's updates go off).
  std::size_t mark = a->lines().size();
  EXPECT_TRUE(succeeds(*b, "subscribe-region Vehicle q Position"));
  EXPECT_TRUE(succeeds(*a, "wait turnUpdatesOnForObjectInstance 10", 15));
  EXPECT_TRUE(turnedOnSince(mark));
  EXPECT_TRUE(eachSucceeds({b.get()}, {"unassociate-region u car"}));
  EXPECT_TRUE(eachSucceeds({a.get()}, {"set-extent r 0 X=50,60 Y=0,100", "notify-region r"}));
  EXPECT_TRUE(succeeds(*a, "wait turnUpdatesOffForObjectInstance 10", 15));
  ASSERT_TRUE(sentinels::roundTrip(*a, *b));
  ASSERT_TRUE(saveAs("L2"));
  EXPECT_NE(objectSetRecordsOf(file("L2", "A-1")).records, a1.records);
  EXPECT_NE(objectSetRecordsOf(file("L2", "B-2")).records, b1.records);

  mark = a->lines().size();
  ASSERT_TRUE(restore("L1"));
  // Updates flow as before; B's subscription is passive again: nothing
  // turns A's updates on.
  EXPECT_TRUE(reflected("p2"));
  ASSERT_TRUE(sentinels::roundTrip(*b, *a));
  EXPECT_FALSE(turnedOnSince(mark)) << "the passive subscription came back active";
  // Saved again, it is the first save.
  ASSERT_TRUE(saveAs("L3"));
  EXPECT_EQ(objectSetRecordsOf(file("L3", "A-1")).records, a1.records);
  EXPECT_EQ(objectSetRecordsOf(file("L3", "B-2")).records, b1.records);
  // Made active again, it turns them on: the passive set was B's own.
  mark = a->lines().size();
  EXPECT_TRUE(succeeds(*b, "subscribe-region Vehicle q Position"));
  EXPECT_TRUE(succeeds(*a, "wait turnUpdatesOnForObjectInstance 10", 15));
  EXPECT_TRUE(turnedOnSince(mark));

  end("delete");
}

}  // namespace
