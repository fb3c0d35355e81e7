// Regions in a federation save and restore with the real rtiexec program and
// scripted federates running data distribution management: each federate's
// file carries its data distribution records after the time manager's and
// before the interaction manager's, and a federation whose regions changed
// after the save is, restored, the saved one: saved again, its records are
// the first save's, and the regions made since are gone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecFederation.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "support/RegionModel.h"

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

class RegionSaveFederation : public ::testing::Test {
protected:
  void SetUp() override {
    federation.dir().write("Map.fed", theRegionModelFed);
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(succeeds(*a, "create Map Map.fed"));
    ASSERT_EQ(a->command("join Map A"), "ok join 1");
    ASSERT_EQ(b->command("join Map B"), "ok join 2");
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
    return federation.dir().path() + "/" + label + "-Map-" + federate + ".sav";
  }

  ExecFederation federation{std::string(reliableForms) + "(setq RTI_dataDistMgmt 1)\n"};
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
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
  EXPECT_EQ(a1.types, "1 6 7 998 6 7 998 8 8 10 12 12 12 2 4 998");
  EXPECT_EQ(b1.types, "1 6 7 998 6 7 998 8 8 10 12 12 2 4 998");

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

  EXPECT_TRUE(succeeds(*b, "resign none"));
  EXPECT_TRUE(succeeds(*a, "resign none"));
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2}));
  EXPECT_TRUE(succeeds(*a, "destroy Map"));
}

}  // namespace
