// Save and restore of federations with time management, with the real
// rtiexec program and scripted federates: a restore brings back every
// federate's time and its queued time-stamped events.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecFederation.h"

using namespace exectest;

namespace {

// Shot (Power): time-stamp ordered.
const char* const clockFed = R"((FED (Federation Clock) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive)
    (class Shot reliable timestamp (parameter Power)))))
)";

using Federates = std::vector<ScriptedFederateProcess*>;

// The lines read since `from` that start with the text.
std::vector<std::string> linesSince(ScriptedFederateProcess& federate, std::size_t from, const std::string& start) {
  std::vector<std::string> found;
  for (std::size_t i = from; i < federate.lines().size(); ++i) {
    if (federate.lines()[i].rfind(start, 0) == 0) found.push_back(federate.lines()[i]);
  }
  return found;
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
    federation.dir().write("Clock.fed", clockFed);
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(allSucceed(*a, {"create Clock Clock.fed", "join Clock A", "publish-interaction Shot",
                                "enable-regulation 0 1", "wait timeRegulationEnabled"}));
    ASSERT_TRUE(allSucceed(*b, {"join Clock B", "subscribe-interaction Shot", "enable-constrained",
                                "wait timeConstrainedEnabled"}));
  }

  ExecFederation federation{std::string(reliableForms) + "(setq RTI_timeMgmt 1)\n"};
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

TEST_F(TimedSaveFederation, ARestoreBringsBackEveryFederatesTimeAndQueuedEvents) {
  ASSERT_TRUE(allSucceed(*a, {"send-interaction-at 5 Shot s5 Power=5", "tar 10", "wait timeAdvanceGrant"}));
  ASSERT_TRUE(allSucceed(*b, {"tar 3", "wait timeAdvanceGrant"}));
  // B is at 3 with the shot at 5 queued.
  ASSERT_TRUE(succeeds(*a, "save L"));
  ASSERT_TRUE(together({a.get(), b.get()}, {"wait initiateFederateSave", "save-begun", "save-complete"},
                       "federationSaved"));
  std::size_t from = b->lines().size();
  ASSERT_TRUE(allSucceed(*b, {"tar 6", "wait timeAdvanceGrant"}));
  EXPECT_EQ(linesSince(*b, from, "callback receiveInteraction").size(), 1u);

  ASSERT_TRUE(succeeds(*b, "restore L"));
  ASSERT_TRUE(succeeds(*b, "wait federationRestoreBegun"));
  ASSERT_TRUE(together({a.get(), b.get()}, {"wait initiateFederateRestore", "restore-complete"},
                       "federationRestored"));
  EXPECT_EQ(a->command("query-time"), "ok query-time 10");
  EXPECT_EQ(b->command("query-time"), "ok query-time 3");
  EXPECT_EQ(b->command("query-lbts"), "ok query-lbts 11");
  // The shot is B's again, at its place in time.
  from = b->lines().size();
  ASSERT_TRUE(allSucceed(*b, {"tar 6", "wait timeAdvanceGrant"}));
  const std::vector<std::string> shots = linesSince(*b, from, "callback receiveInteraction");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_NE(shots[0].find("5 \"s5\""), std::string::npos) << shots[0];
  EXPECT_EQ(linesSince(*b, from, "callback timeAdvanceGrant"), std::vector<std::string>{"callback timeAdvanceGrant 6"});
}

}  // namespace
