// Federation save and restore with the real rtiexec program and scripted
// federates: a federation saved, changed and restored is the saved one on
// both sides, with its files in the save folder in the order their managers
// wrote them; a restore that cannot be done is refused with its reason; a
// federate whose file cannot be written fails the save for everyone; the
// services wait while a save runs; an open synchronization point comes back
// as it was saved.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "ExecFederation.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

using namespace exectest;

namespace {

// The record types of a federate's save file, in order, with each run of
// one type given once with its count ("5x2").
std::string recordSequence(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  std::string sequence;
  std::uint32_t last = 0;
  int run = 0;
  auto flush = [&] {
    if (run == 0) return;
    sequence += (sequence.empty() ? "" : " ") + std::to_string(last) + (run > 1 ? "x" + std::to_string(run) : "");
  };
  while (const DtSavePacket* packet = file.readNextPacket()) {
    if (packet->type() != last) {
      flush();
      last = packet->type();
      run = 0;
    }
    ++run;
  }
  flush();
  return sequence;
}

class SaveRestoreFederation : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(succeeds(*a, "create X Road.fed"));
    ASSERT_EQ(a->command("join X A"), "ok join 1");
    ASSERT_EQ(b->command("join X B"), "ok join 2");
  }
  std::string saved(const std::string& name) const { return federation.dir().path() + "/" + name; }

  ExecFederation federation;
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

TEST_F(SaveRestoreFederation, ASavedFederationChangedAndRestoredIsTheSavedOneOnBothSides) {
  for (const char* command : {"publish Vehicle Position Name", "register Vehicle car1", "register Vehicle car2",
                              "publish-interaction Horn"}) {
    ASSERT_TRUE(succeeds(*a, command));
  }
  ASSERT_TRUE(succeeds(*b, "subscribe Vehicle Position Name"));
  ASSERT_TRUE(succeeds(*b, "wait discoverObjectInstance"));
  ASSERT_TRUE(succeeds(*b, "wait discoverObjectInstance"));

  ASSERT_TRUE(succeeds(*a, "save L1"));
  ASSERT_TRUE(saveTogether({a.get(), b.get()}));
  EXPECT_TRUE(std::filesystem::exists(saved("L1-X-HLA_fedex.sav")));
  // The managers' records in file order: the federate manager's, the class
  // tree's (a class and its attributes, inherited ones too, then its end,
  // for each class; then the interaction classes), the interaction
  // manager's, the object manager's with its objects and its end.
  const std::string classes = "6 7 998 6 7 998 6 7x3 998 8x3";
  EXPECT_EQ(recordSequence(saved("L1-X-A-1.sav")), "1 " + classes + " 2 4 5x2 998");
  EXPECT_EQ(recordSequence(saved("L1-X-B-2.sav")), "1 " + classes + " 2 4 5x2 998");

  // Changes: a new object, a deleted one, a new subscription.
  ASSERT_TRUE(succeeds(*a, "register Vehicle car3"));
  ASSERT_TRUE(succeeds(*a, "delete car1"));
  ASSERT_TRUE(succeeds(*b, "subscribe-interaction Horn"));
  ASSERT_TRUE(succeeds(*b, "wait removeObjectInstance"));
  ASSERT_TRUE(succeeds(*b, "object car3"));

  ASSERT_TRUE(succeeds(*b, "restore L1"));
  ASSERT_TRUE(succeeds(*b, "wait requestFederationRestoreSucceeded"));
  ASSERT_TRUE(restoreTogether({a.get(), b.get()}));
  EXPECT_TRUE(printed(a->lines(), "callback initiateFederateRestore \"L1\" 1"));
  EXPECT_TRUE(printed(b->lines(), "callback initiateFederateRestore \"L1\" 2"));

  // The objects of the save, and only those, on both sides.
  for (ScriptedFederateProcess* federate : {a.get(), b.get()}) {
    EXPECT_EQ(federate->command("object car1"), "ok object 100001");
    EXPECT_EQ(federate->command("object car2"), "ok object 100002");
    EXPECT_EQ(federate->command("object car3").rfind("error object ObjectNotKnown", 0), 0u);
  }
  EXPECT_EQ(a->command("is-owned car1 Position"), "ok is-owned yes");
  // B's subscriptions are the saved ones: car1's updates reach it, the
  // horn does not (the update, reliable too, goes after it on its path).
  ASSERT_TRUE(succeeds(*a, "send-interaction Horn - Loudness=loud"));
  ASSERT_TRUE(succeeds(*a, "update car1 - Name=after"));
  ASSERT_TRUE(succeeds(*b, "wait reflectAttributeValues"));
  EXPECT_FALSE(printed(b->lines(), "callback receiveInteraction"));
  // Handles go on where the save left them.
  EXPECT_EQ(a->command("register Vehicle car4"), "ok register 100003 car4");
  RtiExecProcess& exec = federation.exec();
  EXPECT_NE(exec.waitFor("All federates and fedex have finished restoring"), "");
}

TEST_F(SaveRestoreFederation, AnOpenSynchronizationPointComesBackWithWhoHadAchievedIt) {
  const Federates both{a.get(), b.get()};
  ASSERT_TRUE(succeeds(*a, "register-sync P tagP"));
  ASSERT_TRUE(eachSucceeds(both, {"wait announceSynchronizationPoint"}));
  ASSERT_TRUE(succeeds(*a, "achieve-sync P"));
  ASSERT_TRUE(succeeds(*a, "save S"));
  ASSERT_TRUE(saveTogether(both));
  ASSERT_TRUE(succeeds(*b, "achieve-sync P"));
  ASSERT_TRUE(eachSucceeds(both, {"wait federationSynchronized"}));
  const char* const notAnnounced = "error achieve-sync SynchronizationPointLabelWasNotAnnounced \"\"";
  ASSERT_EQ(b->command("achieve-sync P"), notAnnounced);

  ASSERT_TRUE(succeeds(*b, "restore S"));
  ASSERT_TRUE(succeeds(*b, "wait requestFederationRestoreSucceeded"));
  ASSERT_TRUE(restoreTogether(both));
  // Open again: B's achievement alone ends it, as A's was saved.
  ASSERT_TRUE(succeeds(*b, "achieve-sync P"));
  EXPECT_TRUE(eachSucceeds(both, {"wait federationSynchronized"}));
  EXPECT_EQ(a->command("achieve-sync P"), notAnnounced);
}

TEST_F(SaveRestoreFederation, ARestoreThatCannotBeDoneIsRefusedWithItsReason) {
  ASSERT_TRUE(succeeds(*a, "restore Nothing"));
  ASSERT_TRUE(succeeds(*a, "wait requestFederationRestoreFailed"));
  EXPECT_TRUE(printed(a->lines(), "callback requestFederationRestoreFailed \"Nothing\" \"Label not found\""));

  ASSERT_TRUE(succeeds(*a, "save Two"));
  ASSERT_TRUE(saveTogether({a.get(), b.get()}));
  auto c = ExecFederation::federate();
  ASSERT_EQ(c->command("join X C"), "ok join 3");
  ASSERT_TRUE(succeeds(*c, "restore Two"));
  ASSERT_TRUE(succeeds(*c, "wait requestFederationRestoreFailed"));
  EXPECT_TRUE(printed(c->lines(),
                      "callback requestFederationRestoreFailed \"Two\" \"Current configuration does not match save\""));
  EXPECT_FALSE(printed(a->lines(), "callback federationRestoreBegun"));
}

TEST_F(SaveRestoreFederation, AFederateWhoseFileCannotBeWrittenFailsTheSaveForEveryone) {
  // B's file of the label is the full device: its records are lost at the
  // first flush.
  std::filesystem::create_symlink("/dev/full", saved("Full-X-B-2.sav"));
  ASSERT_TRUE(succeeds(*a, "save Full"));
  ASSERT_TRUE(saveTogether({a.get(), b.get()}, "federationNotSaved"));
  EXPECT_FALSE(std::filesystem::exists(saved("Full-X-HLA_fedex.sav")));
  ASSERT_TRUE(succeeds(*a, "restore Full"));
  ASSERT_TRUE(succeeds(*a, "wait requestFederationRestoreFailed"));
  EXPECT_TRUE(printed(a->lines(), "callback requestFederationRestoreFailed \"Full\" \"Label not found\""));
  // The federation goes on.
  EXPECT_TRUE(succeeds(*a, "publish Vehicle Position"));
}

TEST_F(SaveRestoreFederation, ServicesWaitWhileASaveRuns) {
  ASSERT_TRUE(succeeds(*a, "save During"));
  ASSERT_TRUE(succeeds(*b, "wait initiateFederateSave"));
  EXPECT_EQ(b->command("publish Vehicle Position"), "error publish SaveInProgress \"During\"");
  EXPECT_EQ(b->command("save Again"), "error save SaveInProgress \"During\"");
  // A federate that asks while the save runs elsewhere is refused too.
  EXPECT_EQ(a->command("save Again"), "error save SaveInProgress \"\"");
  auto c = ExecFederation::federate();
  EXPECT_EQ(c->command("join X C"), "error join SaveInProgress \"\"");
  ASSERT_TRUE(succeeds(*b, "save-begun"));
  ASSERT_TRUE(succeeds(*b, "save-complete"));
  EXPECT_EQ(b->command("publish Vehicle Position"), "error publish SaveInProgress \"During\"");
  ASSERT_TRUE(saveTogether({a.get()}));
  ASSERT_TRUE(succeeds(*b, "wait federationSaved"));
  EXPECT_TRUE(succeeds(*b, "publish Vehicle Position"));
  EXPECT_EQ(c->command("join X C"), "ok join 3");
  // The refusal of A's second request started nothing: had it gone out, the
  // rtiexec would have taken it before A's completion, and B heard of it
  // before it heard that the federation was saved.
  int initiated = 0;
  for (const std::string& line : b->lines()) initiated += line.rfind("callback initiateFederateSave", 0) == 0;
  EXPECT_EQ(initiated, 1);
}

}  // namespace
