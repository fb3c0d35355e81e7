#pragma once
// A federation of the test's own, deployed as asked: a scratch working
// folder (where the RTI writes its logs, and where the FED files go) with
// the RID file (the test's port and group on the loopback, the deployment's
// forms and the test's own), which RTI_RID_FILE and RTI_CONFIG name, and,
// when the deployment has one, the real rtiexec program serving it. The
// federates are scripted-federate processes, which inherit all this, or
// federates of the test's own process.
//
// A test program that uses it defines QLX_RTIEXEC and QLX_SCRIPTED_FEDERATE
// (see RtiExecProcess.h and ScriptedFederateProcess.h).

#include <memory>
#include <string>
#include <vector>

#include "rti/config/ConfigTestFiles.h"
#include "rti/net/ConnTestSupport.h"
#include "support/Deployment.h"
#include "support/RtiExecProcess.h"
#include "support/ScriptedFederateProcess.h"

class DeployedFederation {
public:
  // With the deployment's rtiexec started (see started()).
  explicit DeployedFederation(const Deployment& deployment, const std::string& forms = "")
      : deployment_(deployment), forms_(deployment.forms() + forms) {
    writeRid();
    started_ = !deployment.rtiexec || startExec();
  }
  // Forms of its own; the test starts the rtiexec, if it wants one.
  explicit DeployedFederation(std::string forms) : deployment_(serverless()), forms_(std::move(forms)) { writeRid(); }
  ~DeployedFederation() { resignBystanders(); }
  DeployedFederation(const DeployedFederation&) = delete;
  DeployedFederation& operator=(const DeployedFederation&) = delete;

  // Whether its rtiexec, when it has one, serves.
  bool started() const { return started_; }
  const Deployment& deployment() const { return deployment_; }

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
  const nettest::FederationPort& federation() const { return federation_; }
  std::string ridPath() const { return dir_.path() + "/rid.mtl"; }

  // The deployment's bystanders join the execution (which a scenario has
  // made) and tick in the background; they resign before the scenario's
  // last federate destroys it, or at the end.
  ::testing::AssertionResult joinBystanders(const std::string& execution) {
    for (int i = 0; i < deployment_.bystanders; ++i) {
      auto bystander = std::make_unique<ScriptedFederateProcess>();
      for (const std::string& command :
           {std::string("background-tick on"), "join " + execution + " Bystander" + std::to_string(i + 1)}) {
        if (auto result = succeeds(*bystander, command); !result) return result;
      }
      bystanders_.push_back(std::move(bystander));
    }
    return ::testing::AssertionSuccess();
  }
  void resignBystanders() {
    for (auto& bystander : bystanders_) EXPECT_TRUE(succeeds(*bystander, "resign none"));
    bystanders_.clear();
  }

private:
  void writeRid() { dir_.write("rid.mtl", nettest::ridText(federation_, forms_)); }

  const Deployment& deployment_;
  std::string forms_;
  nettest::FederationPort federation_;
  ScratchDirectory dir_{true};
  ScopedEnv ridFile_{"RTI_RID_FILE", (dir_.path() + "/rid.mtl").c_str()};
  ScopedEnv config_{"RTI_CONFIG", dir_.path().c_str()};
  std::unique_ptr<RtiExecProcess> exec_;
  std::vector<std::unique_ptr<ScriptedFederateProcess>> bystanders_;
  bool started_ = true;
};
