// Races at the edges of membership, with the real rtiexec program and
// scripted federates, each run many times over: a federate that joins while
// a point for everyone is registered and achieved either takes part in it
// (told of it, counted, told of its end) or never hears of it; and once
// every federate's resignation has returned, the execution can be
// destroyed.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "ExecFederation.h"

using namespace exectest;

namespace {

using Federate = std::unique_ptr<ScriptedFederateProcess>;

bool hasLine(const ScriptedFederateProcess& federate, const std::string& line) {
  for (const std::string& seen : federate.lines()) {
    if (seen == line) return true;
  }
  return false;
}

// Waits (ticking) until the federate printed the line, through waits for
// the callback of its first word (which return at once for the callbacks of
// that name no wait took yet).
::testing::AssertionResult cameTo(ScriptedFederateProcess& federate, const std::string& line) {
  const std::string callback = line.substr(9, line.find(' ', 9) - 9);
  for (int attempt = 0; attempt < 200 && !hasLine(federate, line); ++attempt) {
    const std::string result = federate.command("wait " + callback + " 30", 40);
    if (result != "ok wait " + callback) return ::testing::AssertionFailure() << line << ": " << result;
  }
  if (hasLine(federate, line)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no " << line;
}

// Reads the answers of commands sent without waiting.
::testing::AssertionResult answered(ScriptedFederateProcess& federate, const std::string& prefix) {
  const std::string line = federate.waitFor(prefix, 30);
  if (line.rfind(prefix, 0) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no " << prefix << " line";
}

TEST(JoinRaceFederation, AJoinerTakesPartInAPointForEveryoneOrNeverHearsOfIt) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  Federate registrant = ExecFederation::federate();
  ASSERT_EQ(registrant->command("create X Road.fed"), "ok create");
  ASSERT_EQ(registrant->command("join X A"), "ok join 1");
  // One joiner, joining and resigning again in every run.
  Federate joiner = ExecFederation::federate();
  std::mt19937 random(53);
  int toldOf = 0;
  for (int run = 0; run < 40; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const std::string point = "P" + std::to_string(run);
    // The point is registered and achieved at once while the joiner
    // joins, a few milliseconds apart.
    registrant->send("register-sync " + point + " t");
    registrant->send("wait announceSynchronizationPoint 30");
    registrant->send("achieve-sync " + point);
    // A point of the registrant's own after it: once that is announced,
    // the rtiexec has handled the achievement.
    registrant->send("register-sync mark" + point + " t 1");
    registrant->send("wait announceSynchronizationPoint 30");
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(random)));
    const std::string joined = joiner->command("join X B", 30);
    ASSERT_EQ(joined.rfind("ok join ", 0), 0u) << joined;
    const std::string handle = joined.substr(8);
    ASSERT_TRUE(answered(*registrant, "ok achieve-sync"));
    ASSERT_TRUE(answered(*registrant, "ok wait announceSynchronizationPoint"));
    ASSERT_TRUE(hasLine(*registrant, "callback announceSynchronizationPoint \"mark" + point + "\" \"t\""));
    // A point of the joiner's own, registered after its join: whatever the
    // rtiexec told it of the other point came before this one's announcement.
    ASSERT_EQ(joiner->command("register-sync own" + point + " t " + handle), "ok register-sync");
    ASSERT_TRUE(cameTo(*joiner, "callback announceSynchronizationPoint \"own" + point + "\" \"t\""));
    const std::string announced = "callback announceSynchronizationPoint \"" + point + "\" \"t\"";
    const std::string synchronized = "callback federationSynchronized \"" + point + "\"";
    if (hasLine(*joiner, announced)) {
      // Told of it, so counted: not over until it achieves it.
      ++toldOf;
      EXPECT_FALSE(hasLine(*joiner, synchronized));
      EXPECT_FALSE(hasLine(*registrant, synchronized));
      EXPECT_TRUE(succeeds(*joiner, "achieve-sync " + point));
      EXPECT_TRUE(cameTo(*joiner, synchronized));
    } else {
      EXPECT_FALSE(hasLine(*joiner, synchronized)) << "the end of a point it was never told of";
      EXPECT_EQ(joiner->command("achieve-sync " + point),
                "error achieve-sync SynchronizationPointLabelWasNotAnnounced \"\"");
    }
    EXPECT_TRUE(cameTo(*registrant, synchronized));
    ASSERT_EQ(joiner->command("resign none"), "ok resign");
  }
  // Both ways were met.
  std::printf("the joiner took part in %d of 40 points\n", toldOf);
  EXPECT_TRUE(succeeds(*registrant, "resign none"));
  EXPECT_TRUE(succeeds(*registrant, "destroy X"));
}

TEST(ResignRaceFederation, OnceEveryResignationReturnedTheExecutionCanBeDestroyed) {
  // With a worker thread that sends, a message handed over is on its way
  // only some time after the call that made it returned.
  ExecFederation federation(std::string(reliableForms) + "(setq RTI_asynchronousIO 1)\n");
  ASSERT_TRUE(federation.startExec());
  Federate first = ExecFederation::federate();
  Federate second = ExecFederation::federate();
  for (int run = 0; run < 30; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    ASSERT_EQ(first->command("create X Road.fed"), "ok create");
    ASSERT_EQ(first->command("join X A").rfind("ok join", 0), 0u);
    ASSERT_EQ(second->command("join X B").rfind("ok join", 0), 0u);
    // Both resign at once; when both returned, the first destroys.
    second->send("resign none");
    first->send("resign none");
    ASSERT_TRUE(answered(*second, "ok resign"));
    ASSERT_TRUE(answered(*first, "ok resign"));
    ASSERT_EQ(first->command("destroy X"), "ok destroy") << federation.exec().text();
  }
}

}  // namespace
