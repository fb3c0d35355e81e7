// Synchronization points between scripted federates through the real
// rtiexec program: a point for every federate, a point for federates 1 and
// 2 that the third never hears of, a duplicate label that fails at its
// registrant only, a federate that joins while a point is open, a federate
// that leaves without achieving, and an achievement before any announce.

#include <gtest/gtest.h>

#include "ExecFederation.h"

using namespace exectest;

namespace {

using Federate = std::unique_ptr<ScriptedFederateProcess>;

// Waits for the next callback of that name (the script's wait), which must
// carry these values.
::testing::AssertionResult called(ScriptedFederateProcess& federate, const std::string& callback,
                                  const std::string& values) {
  const std::string result = federate.command("wait " + callback);
  if (result != "ok wait " + callback) return ::testing::AssertionFailure() << callback << ": " << result;
  const std::string line = "callback " + callback + " " + values;
  const std::vector<std::string>& lines = federate.lines();
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (it->rfind("callback " + callback, 0) == 0) {
      if (*it == line) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure() << "the last " << callback << " was: " << *it;
    }
  }
  return ::testing::AssertionFailure() << "no " << callback << " line";
}

// No callback line so far names the label. The federate has heard of a
// later point first: the rtiexec told it of this one before, if at all.
::testing::AssertionResult neverHeard(ScriptedFederateProcess& federate, const std::string& label) {
  for (const std::string& line : federate.lines()) {
    if (line.rfind("callback ", 0) == 0 && line.find("\"" + label + "\"") != std::string::npos)
      return ::testing::AssertionFailure() << line;
  }
  return ::testing::AssertionSuccess();
}

const char* const notAnnounced = "error achieve-sync SynchronizationPointLabelWasNotAnnounced \"\"";

TEST(RtiExecSyncPointFederation, FederatesRegisterAnnounceAchieveAndSynchronizeThroughIt) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  Federate a = ExecFederation::federate();
  Federate b = ExecFederation::federate();
  Federate c = ExecFederation::federate();
  ASSERT_EQ(a->command("create X Road.fed"), "ok create");
  ASSERT_EQ(a->command("join X A"), "ok join 1");
  ASSERT_EQ(b->command("join X B"), "ok join 2");
  ASSERT_EQ(c->command("join X C"), "ok join 3");

  // Achieved before any announcement.
  EXPECT_EQ(c->command("achieve-sync never"), notAnnounced);

  // For every federate.
  EXPECT_TRUE(succeeds(*a, "register-sync all tagA"));
  EXPECT_TRUE(called(*a, "synchronizationPointRegistrationSucceeded", "\"all\""));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get()})
    EXPECT_TRUE(called(*f, "announceSynchronizationPoint", "\"all\" \"tagA\""));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get()}) EXPECT_TRUE(succeeds(*f, "achieve-sync all"));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get()})
    EXPECT_TRUE(called(*f, "federationSynchronized", "\"all\""));

  // For federates 1 and 2: the third hears nothing of it and cannot achieve it.
  EXPECT_TRUE(succeeds(*a, "register-sync pair tagP 1 2"));
  EXPECT_TRUE(called(*a, "synchronizationPointRegistrationSucceeded", "\"pair\""));
  EXPECT_TRUE(called(*a, "announceSynchronizationPoint", "\"pair\" \"tagP\""));
  EXPECT_TRUE(called(*b, "announceSynchronizationPoint", "\"pair\" \"tagP\""));
  EXPECT_EQ(c->command("achieve-sync pair"), notAnnounced);
  EXPECT_TRUE(succeeds(*a, "achieve-sync pair"));
  EXPECT_TRUE(succeeds(*b, "achieve-sync pair"));
  EXPECT_TRUE(called(*a, "federationSynchronized", "\"pair\""));
  EXPECT_TRUE(called(*b, "federationSynchronized", "\"pair\""));

  // A duplicate label: B, not told of the point, is refused by the rtiexec;
  // A, which knows it, is refused at once; nobody else hears of either.
  EXPECT_TRUE(succeeds(*a, "register-sync dup tagD 1 3"));
  EXPECT_TRUE(called(*a, "synchronizationPointRegistrationSucceeded", "\"dup\""));
  EXPECT_TRUE(called(*a, "announceSynchronizationPoint", "\"dup\" \"tagD\""));
  EXPECT_TRUE(called(*c, "announceSynchronizationPoint", "\"dup\" \"tagD\""));
  EXPECT_TRUE(neverHeard(*c, "pair"));
  EXPECT_TRUE(succeeds(*b, "register-sync dup other"));
  EXPECT_TRUE(called(*b, "synchronizationPointRegistrationFailed", "\"dup\""));
  EXPECT_TRUE(succeeds(*a, "register-sync dup again"));
  EXPECT_TRUE(called(*a, "synchronizationPointRegistrationFailed", "\"dup\""));
  EXPECT_TRUE(succeeds(*a, "achieve-sync dup"));
  EXPECT_TRUE(succeeds(*c, "achieve-sync dup"));
  EXPECT_TRUE(called(*a, "federationSynchronized", "\"dup\""));
  EXPECT_TRUE(called(*c, "federationSynchronized", "\"dup\""));

  // A late joiner is told of the open point and holds it up. (B and C hear
  // of it after all the rtiexec told them of "dup".)
  EXPECT_TRUE(succeeds(*a, "register-sync late tagL"));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get()})
    EXPECT_TRUE(called(*f, "announceSynchronizationPoint", "\"late\" \"tagL\""));
  for (const std::string& line : b->lines()) {
    EXPECT_EQ(line.find("announceSynchronizationPoint \"dup\""), std::string::npos) << line;
    EXPECT_EQ(line.find("federationSynchronized \"dup\""), std::string::npos) << line;
  }
  for (const std::string& line : c->lines()) EXPECT_EQ(line.find("RegistrationFailed"), std::string::npos) << line;
  EXPECT_TRUE(succeeds(*a, "achieve-sync late"));
  EXPECT_TRUE(succeeds(*b, "achieve-sync late"));
  Federate d = ExecFederation::federate();
  ASSERT_EQ(d->command("join X D"), "ok join 4");
  EXPECT_TRUE(called(*d, "announceSynchronizationPoint", "\"late\" \"tagL\""));
  EXPECT_TRUE(succeeds(*c, "achieve-sync late"));
  // Not synchronized while D has not achieved it: a point C registers next,
  // for A alone, reaches A after anything C's achievement made the rtiexec
  // tell A.
  EXPECT_TRUE(succeeds(*c, "register-sync probe tagQ 1"));
  EXPECT_TRUE(called(*a, "announceSynchronizationPoint", "\"probe\" \"tagQ\""));
  for (const std::string& line : a->lines()) EXPECT_NE(line, "callback federationSynchronized \"late\"");
  EXPECT_TRUE(succeeds(*d, "achieve-sync late"));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get(), d.get()})
    EXPECT_TRUE(called(*f, "federationSynchronized", "\"late\""));

  // The last federate that had not achieved leaves.
  EXPECT_TRUE(succeeds(*a, "register-sync gone"));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), c.get(), d.get()})
    EXPECT_TRUE(called(*f, "announceSynchronizationPoint", "\"gone\" \"\""));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), d.get()}) EXPECT_TRUE(succeeds(*f, "achieve-sync gone"));
  EXPECT_TRUE(succeeds(*c, "resign none"));
  for (ScriptedFederateProcess* f : {a.get(), b.get(), d.get()})
    EXPECT_TRUE(called(*f, "federationSynchronized", "\"gone\""));

  for (ScriptedFederateProcess* f : {a.get(), b.get(), d.get()}) EXPECT_TRUE(succeeds(*f, "resign none"));
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2, 4}));
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

}  // namespace
