#pragma once
// A federation of the test's own run by the real rtiexec program: a scratch
// working folder (where the RTI writes its logs) with the RID file (the
// test's port and group on the loopback, RTI_useRtiExec 1, the RTI's own
// messages and the reliable FOM data over TCP, and the test's forms) and
// the FED files, which RTI_RID_FILE and RTI_CONFIG name. The federates are
// scripted-federate processes, which inherit all this.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "rti/config/ConfigTestFiles.h"
#include "rti/net/ConnTestSupport.h"
#include "support/RtiExecProcess.h"
#include "support/ScriptedFederateProcess.h"

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

class ExecFederation {
public:
  explicit ExecFederation(std::string forms = reliableForms) : forms_(std::move(forms)) {
    dir_.write("Road.fed", roadFed);
    writeRid();
  }

  // Starts the rtiexec; when its port is taken for TCP, the federation
  // moves to another port. False when it does not start.
  bool startExec() {
    for (int attempt = 0; attempt < 10; ++attempt) {
      exec_ = std::make_unique<RtiExecProcess>();
      if (exec_->waitReady()) return true;
      exec_.reset();
      federation_ = nettest::FederationPort();
      writeRid();
    }
    return false;
  }
  // More RID forms, for the processes started from now on.
  void addForms(const std::string& forms) {
    forms_ += forms;
    writeRid();
  }
  RtiExecProcess& exec() { return *exec_; }
  void endExec() { exec_.reset(); }
  const ScratchDirectory& dir() const { return dir_; }
  int port() const { return federation_.port(); }
  std::string ridPath() const { return dir_.path() + "/rid.mtl"; }

  // A scripted federate driven command by command (the RTI's diagnostics
  // among its lines).
  static std::unique_ptr<ScriptedFederateProcess> federate() {
    return std::make_unique<ScriptedFederateProcess>(ScriptedFederateProcess::WithDiagnostics{});
  }

private:
  void writeRid() { dir_.write("rid.mtl", nettest::ridText(federation_, forms_)); }

  std::string forms_;
  nettest::FederationPort federation_;
  ScratchDirectory dir_{true};
  ScopedEnv ridFile_{"RTI_RID_FILE", (dir_.path() + "/rid.mtl").c_str()};
  ScopedEnv config_{"RTI_CONFIG", dir_.path().c_str()};
  std::unique_ptr<RtiExecProcess> exec_;
};

// Runs the command; it must succeed ("ok <verb> ...").
inline ::testing::AssertionResult succeeds(ScriptedFederateProcess& federate, const std::string& command) {
  const std::string result = federate.command(command);
  if (result.rfind("ok ", 0) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << command << ": " << (result.empty() ? "no answer" : result);
}

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

// Whether one of the lines holds the text.
inline bool printed(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

}  // namespace exectest
