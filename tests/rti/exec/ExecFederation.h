#pragma once
// A federation of the test's own run by the real rtiexec program (which the
// test starts): a DeployedFederation whose RID file has RTI_useRtiExec 1,
// the RTI's own messages and the reliable FOM data over TCP (unless the
// test gives forms of its own), with the Road FED file. The federates are
// scripted-federate processes, which inherit all this.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/DeployedFederation.h"

namespace exectest {

// Object classes: Vehicle 3 (Position 1 best effort, Name 2 reliable);
// interactions: Horn 2 (Loudness 1, reliable).
inline const char* const roadFed = R"((FED (Federation Road) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Vehicle (attribute Position best_effort receive) (attribute Name reliable receive))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Horn reliable receive (parameter Loudness)))))
)";

inline const char* const reliableForms =
    "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n"
    "(setq RTI_dumpFed 0)\n";

class ExecFederation : public DeployedFederation {
public:
  explicit ExecFederation(std::string forms = reliableForms) : DeployedFederation(std::move(forms)) {
    dir().write("Road.fed", roadFed);
  }

  // A scripted federate driven command by command (the RTI's diagnostics
  // among its lines).
  static std::unique_ptr<ScriptedFederateProcess> federate() {
    return std::make_unique<ScriptedFederateProcess>(ScriptedFederateProcess::WithDiagnostics{});
  }
};

// Waits until the rtiexec has printed the resignation of each of these
// federates. A resign is not answered: a destroy sent next on another
// federate's connection may reach the rtiexec before it.
inline ::testing::AssertionResult resignsHandled(RtiExecProcess& exec, std::set<int> handles) {
  const std::string prefix = "Resign: federate ";
  while (!handles.empty()) {
    const std::string line = exec.waitFor(prefix, 10);
    if (line.empty()) return ::testing::AssertionFailure() << "no resignation printed for " << *handles.begin();
    handles.erase(std::atoi(line.c_str() + prefix.size()));
  }
  return ::testing::AssertionSuccess();
}

using Federates = std::vector<ScriptedFederateProcess*>;

// Each federate in turn takes the steps.
inline ::testing::AssertionResult eachSucceeds(const Federates& federates, const std::vector<std::string>& steps) {
  for (ScriptedFederateProcess* federate : federates) {
    for (const std::string& step : steps) {
      if (auto result = succeeds(*federate, step); !result) return result;
    }
  }
  return ::testing::AssertionSuccess();
}

// Every federate saves when asked; true when all heard `outcome`.
inline ::testing::AssertionResult saveTogether(const Federates& federates,
                                               const std::string& outcome = "federationSaved") {
  if (auto result = eachSucceeds(federates, {"wait initiateFederateSave", "save-begun", "save-complete"}); !result)
    return result;
  return eachSucceeds(federates, {"wait " + outcome});
}

// Every federate restores when asked; true when all heard it done.
inline ::testing::AssertionResult restoreTogether(const Federates& federates) {
  if (auto result =
          eachSucceeds(federates, {"wait federationRestoreBegun", "wait initiateFederateRestore", "restore-complete"});
      !result)
    return result;
  return eachSucceeds(federates, {"wait federationRestored"});
}

// Federation X of two: A (handle 1) subscribes vehicles, B (handle 2)
// publishes them and registers a car, which A discovers; with `horns`, B
// also publishes the horn A subscribes. Call it under ASSERT_NO_FATAL_FAILURE.
inline void joinCarWatch(ScriptedFederateProcess& a, ScriptedFederateProcess& b, bool horns = false) {
  ASSERT_EQ(a.command("create X Road.fed"), "ok create");
  ASSERT_EQ(a.command("join X A"), "ok join 1");
  if (horns) {
    ASSERT_TRUE(succeeds(a, "subscribe-interaction Horn"));
  }
  ASSERT_TRUE(succeeds(a, "subscribe Vehicle Position Name"));
  ASSERT_EQ(b.command("join X B"), "ok join 2");
  if (horns) {
    ASSERT_TRUE(succeeds(b, "publish-interaction Horn"));
  }
  ASSERT_TRUE(succeeds(b, "publish Vehicle Position Name"));
  ASSERT_TRUE(succeeds(b, "register Vehicle car"));
  ASSERT_EQ(a.command("wait discoverObjectInstance 10"), "ok wait discoverObjectInstance");
}

// Whether one of the lines holds the text.
inline bool printed(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

}  // namespace exectest
