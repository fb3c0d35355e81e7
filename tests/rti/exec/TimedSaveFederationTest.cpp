// Save and restore of federations with time management, with the real
// rtiexec program and scripted federates: a restore brings back every
// federate's time and its queued time-stamped events.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecFederation.h"
#include "RelayPeer.h"
#include "support/Sentinels.h"

using namespace exectest;

namespace {

// Shot (Power): time-stamp ordered.
const char* const clockFed = R"((FED (Federation Clock) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive)
    (class Shot reliable timestamp (parameter Power)))))
)";

// The lines read since `from` that start with the text.
std::vector<std::string> linesSince(ScriptedFederateProcess& federate, std::size_t from, const std::string& start) {
  std::vector<std::string> found;
  for (std::size_t i = from; i < federate.lines().size(); ++i) {
    if (federate.lines()[i].rfind(start, 0) == 0) found.push_back(federate.lines()[i]);
  }
  return found;
}

// The shot and grant lines after the outcome line, from `from` on: the
// interaction callbacks by name only, the grants whole.
std::vector<std::string> afterOutcome(ScriptedFederateProcess& federate, std::size_t from, const std::string& outcome) {
  std::vector<std::string> after;
  bool seen = false;
  for (std::size_t i = from; i < federate.lines().size(); ++i) {
    const std::string& line = federate.lines()[i];
    if (line == outcome) seen = true;
    if (!seen) continue;
    if (line.rfind("callback receiveInteraction", 0) == 0) {
      after.push_back("callback receiveInteraction");
      EXPECT_NE(line.find("5 \"s5\""), std::string::npos) << line;
    } else if (line.rfind("callback timeAdvanceGrant", 0) == 0) {
      after.push_back(line);
    }
  }
  return after;
}

::testing::AssertionResult allSucceed(ScriptedFederateProcess& federate, const std::vector<std::string>& commands) {
  for (const std::string& command : commands) {
    if (auto result = succeeds(federate, command); !result) return result;
  }
  return ::testing::AssertionSuccess();
}

// Every federate answers the save, or the restore, as soon as it is asked.
::testing::AssertionResult together(const Federates& federates, const std::vector<std::string>& answers,
                                    const std::string& outcome) {
  for (ScriptedFederateProcess* federate : federates) {
    if (auto result = allSucceed(*federate, answers); !result) return result;
  }
  for (ScriptedFederateProcess* federate : federates) {
    if (auto result = succeeds(*federate, "wait " + outcome); !result) return result;
  }
  return ::testing::AssertionSuccess();
}

class TimedSaveFederation : public ::testing::Test {
protected:
  void SetUp() override {
    federation.dir().write("Clock.fed", sentinels::withSentinelClass(clockFed));
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(allSucceed(*a, {"sentinel-class Sentinel", "create Clock Clock.fed", "join Clock A",
                                "publish-interaction Shot", "enable-regulation 0 1", "wait timeRegulationEnabled"}));
    ASSERT_TRUE(allSucceed(*b, {"sentinel-class Sentinel", "join Clock B", "subscribe-interaction Shot",
                                "enable-constrained", "wait timeConstrainedEnabled"}));
  }

  // A save, timed or not, that is not over within 3 s fails.
  ExecFederation federation{std::string(reliableForms) + "(setq RTI_timeMgmt 1)\n(setq RTI_saveRestoreTimeout 3)\n"};
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

TEST_F(TimedSaveFederation, ARestoreBringsBackEveryFederatesTimeAndQueuedEvents) {
  ASSERT_TRUE(allSucceed(*a, {"send-interaction-at 5 Shot s5 Power=5", "tar 10", "wait timeAdvanceGrant"}));
  ASSERT_TRUE(allSucceed(*b, {"tar 3", "wait timeAdvanceGrant"}));
  // B is at 3 with the shot at 5 queued. A save starts at once where no
  // advance holds it (A), and at the next advance of a constrained federate
  // (B's request to 6, which waits for the save).
  ASSERT_TRUE(allSucceed(*a, {"save L", "wait initiateFederateSave", "save-begun", "save-complete"}));
  // B is not asked yet: a sentinel the rtiexec passes on after it asked A
  // (B takes it at once, with asynchronous delivery) comes first.
  ASSERT_TRUE(succeeds(*b, "enable-async"));
  const std::string sentinelClass = b->command("interaction-handle Sentinel");
  ASSERT_EQ(sentinelClass.rfind("ok interaction-handle ", 0), 0u) << sentinelClass;
  RelayPeer relay(federation.port());
  ASSERT_TRUE(relay.writeSentinel(std::stoul(sentinelClass.substr(22)), "sentinel-save"));
  ASSERT_TRUE(succeeds(*b, "wait-sentinel sentinel-save 10"));
  EXPECT_FALSE(printed(b->lines(), "callback initiateFederateSave"));
  ASSERT_TRUE(allSucceed(*b, {"tar 6", "wait initiateFederateSave", "save-begun", "save-complete"}));
  std::size_t from = b->lines().size();
  ASSERT_TRUE(allSucceed(*b, {"wait federationSaved", "wait timeAdvanceGrant"}));
  ASSERT_TRUE(succeeds(*a, "wait federationSaved"));
  // The grant held for the save comes after it, with the shot.
  EXPECT_EQ(afterOutcome(*b, from, "callback federationSaved"),
            (std::vector<std::string>{"callback receiveInteraction", "callback timeAdvanceGrant 6"}));

  from = b->lines().size();
  ASSERT_TRUE(succeeds(*b, "restore L"));
  ASSERT_TRUE(succeeds(*b, "wait federationRestoreBegun"));
  ASSERT_TRUE(together({a.get(), b.get()}, {"wait initiateFederateRestore", "restore-complete"}, "federationRestored"));
  EXPECT_EQ(a->command("query-time"), "ok query-time 10");
  // B is back at 3 with its request to 6 and the shot: both again, after
  // the restore.
  ASSERT_TRUE(succeeds(*b, "wait timeAdvanceGrant"));
  EXPECT_EQ(afterOutcome(*b, from, "callback federationRestored"),
            (std::vector<std::string>{"callback receiveInteraction", "callback timeAdvanceGrant 6"}));
  EXPECT_EQ(b->command("query-time"), "ok query-time 6");
}

TEST_F(TimedSaveFederation, AGrantPastTheSaveTimeIsHeldUntilTheFederationIsSaved) {
  // C's program starts before the save's three seconds run.
  auto c = ExecFederation::federate();
  ASSERT_TRUE(succeeds(*c, "echo ready"));
  ASSERT_TRUE(succeeds(*a, "save T 5"));
  // Joins wait while the timed save is pending. (C's join travels on a
  // connection of its own: an answer the rtiexec gives A afterwards shows
  // that A's request came first.)
  ASSERT_TRUE(allSucceed(*a, {"register-sync after tag 1", "wait synchronizationPointRegistrationSucceeded"}));
  EXPECT_EQ(c->command("join Clock C"), "error join SaveInProgress \"\"");
  ASSERT_TRUE(allSucceed(*a, {"send-interaction-at 3 Shot s3 Power=3", "send-interaction-at 7 Shot s7 Power=7",
                              "tar 10", "wait timeAdvanceGrant"}));
  const std::size_t from = b->lines().size();
  // B asks for 8: it gets the events up to 5, stops there, and the save
  // starts when it has (it is the only constrained federate).
  ASSERT_TRUE(allSucceed(*b, {"tar 8", "wait initiateFederateSave"}));
  EXPECT_TRUE(linesSince(*b, from, "callback timeAdvanceGrant").empty());
  ASSERT_TRUE(succeeds(*a, "wait initiateFederateSave"));
  ASSERT_TRUE(together({a.get(), b.get()}, {"save-begun", "save-complete"}, "federationSaved"));
  ASSERT_TRUE(succeeds(*b, "wait timeAdvanceGrant"));
  std::vector<std::string> seen;
  for (const std::string& line : linesSince(*b, from, "callback ")) {
    seen.push_back(line.substr(0, line.find(' ', 9)));
    if (line.rfind("callback receiveInteraction", 0) == 0)
      seen.back() += line.find("\"s3\"") != std::string::npos ? " s3" : " s7";
    if (line.rfind("callback timeAdvanceGrant", 0) == 0) seen.back() = line;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"callback receiveInteraction s3", "callback initiateFederateSave",
                                            "callback federationSaved", "callback receiveInteraction s7",
                                            "callback timeAdvanceGrant 8"}));
  EXPECT_EQ(c->command("join Clock C"), "ok join 3");
}

TEST_F(TimedSaveFederation, ATimedSaveWhoseTimeIsNeverReachedFailsAtItsDeadline) {
  ASSERT_TRUE(succeeds(*a, "save T 5"));
  // B never advances: the save cannot start, and the federation is not held.
  ASSERT_TRUE(succeeds(*b, "wait federationNotSaved 10"));
  ASSERT_TRUE(succeeds(*a, "wait federationNotSaved 5"));
  EXPECT_NE(federation.exec().waitFor("Timed out save", 5), "");
  ASSERT_TRUE(allSucceed(*a, {"tar 10", "wait timeAdvanceGrant"}));
  const std::size_t from = b->lines().size();
  ASSERT_TRUE(allSucceed(*b, {"tar 8", "wait timeAdvanceGrant"}));
  EXPECT_EQ(linesSince(*b, from, "callback timeAdvanceGrant"), std::vector<std::string>{"callback timeAdvanceGrant 8"});
}

TEST_F(TimedSaveFederation, AFederateThatLeavesAPendingTimedSaveEndsItAndTheHeldGrantsGoOn) {
  auto c = ExecFederation::federate();
  ASSERT_TRUE(allSucceed(*c, {"join Clock C", "enable-constrained", "wait timeConstrainedEnabled"}));
  ASSERT_TRUE(succeeds(*a, "save T 5"));
  ASSERT_TRUE(allSucceed(*a, {"send-interaction-at 7 Shot s7 Power=7", "tar 10", "wait timeAdvanceGrant"}));
  const std::size_t from = b->lines().size();
  // B stops at 5 and reports; C, constrained too, leaves instead. (Its
  // request answered, and A's traffic come, B has no grant.)
  ASSERT_TRUE(succeeds(*b, "tar 8"));
  ASSERT_TRUE(sentinels::roundTrip(*b, *a));
  EXPECT_TRUE(linesSince(*b, from, "callback timeAdvanceGrant").empty());
  ASSERT_TRUE(succeeds(*c, "resign delete-and-release"));
  ASSERT_TRUE(allSucceed(*b, {"wait federationNotSaved", "wait timeAdvanceGrant"}));
  ASSERT_TRUE(succeeds(*a, "wait federationNotSaved"));
  EXPECT_EQ(linesSince(*b, from, "callback receiveInteraction").size(), 1u);
  EXPECT_EQ(linesSince(*b, from, "callback timeAdvanceGrant"), std::vector<std::string>{"callback timeAdvanceGrant 8"});
  EXPECT_TRUE(linesSince(*b, from, "callback initiateFederateSave").empty());
}

TEST_F(TimedSaveFederation, AnUntimedRequestDuringAPendingTimedSaveIsRefusedAtOnce) {
  ASSERT_TRUE(succeeds(*a, "save T 5"));
  // B's request travels on a connection of its own and could overtake A's:
  // an answer the rtiexec gives A afterwards shows that A's came first.
  ASSERT_TRUE(allSucceed(*a, {"register-sync after tag 1", "wait synchronizationPointRegistrationSucceeded"}));
  EXPECT_EQ(b->command("save M"), "error save SaveInProgress \"\"");
  EXPECT_FALSE(printed(b->lines(), "Could not request save"));
}

}  // namespace
