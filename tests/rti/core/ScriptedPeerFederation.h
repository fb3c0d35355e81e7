#pragma once
// A federation of the real rtiexec program (its own port and group) with two
// federates: a scripted federate process (a) that the test commands, and a
// federate of the test's own process (b, an RTI::RTIambassador over the
// plain implementor) that ticks while the test waits for a's answers. Lines
// a prints besides its answers are kept in aLines.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "support/DeployedFederation.h"
#include "support/WaitUntil.h"

class ScriptedPeerFederation : public ::testing::Test {
protected:
  using Lines = std::vector<std::string>;

  // The federation with the RID lines and the FED file written; both
  // federates made, neither joined.
  ::testing::AssertionResult start(const Deployment& deployment, const std::string& ridLines,
                                   const std::string& fedFile, const char* fedText) {
    federation.emplace(deployment, "(setq RTI_dumpFed 0)\n" + ridLines);
    federation->dir().write(fedFile, fedText);
    if (!federation->started()) return ::testing::AssertionFailure() << "no federation";
    a.emplace();
    b.emplace();
    if (!a->started()) return ::testing::AssertionFailure() << "no scripted federate";
    return ::testing::AssertionSuccess();
  }
  // The scripted federate's answer to a command ("ok ..." or "error ...").
  std::string command(const std::string& text) {
    a->send(text);
    const std::string verb = text.substr(0, text.find(' '));
    std::string answer;
    waitUntil([&] { return !answer.empty() || a->ended(); },
              [&] {
                b->tick();
                const std::string line = a->readLine(0.005);
                if (line.rfind("ok " + verb, 0) == 0 || line.rfind("error " + verb, 0) == 0) {
                  answer = line;
                } else if (!line.empty()) {
                  aLines.push_back(line);
                }
              },
              30);
    return answer;
  }
  void run(const Lines& commands) {
    for (const std::string& text : commands) {
      const std::string answer = command(text);
      ASSERT_EQ(answer.rfind("ok ", 0), 0u) << text << ": " << answer;
    }
  }
  // Both resign (a deleting its objects, b as told) and b destroys the
  // execution once a is gone.
  void end(const char* execution, RTI::ResignAction bResigns = RTI::NO_ACTION) {
    run({"resign delete"});
    b->resignFederationExecution(bResigns);
    EXPECT_TRUE(waitUntil(
        [&] {
          try {
            b->destroyFederationExecution(execution);
            return true;
          } catch (const RTI::FederatesCurrentlyJoined&) {
            return false;
          }
        },
        [] {}, 10));
  }
  // The federates go before what a derived fixture gave them (their
  // ambassadors).
  void TearDown() override { reset(); }
  // Everything goes, for a federation of the next case.
  void reset() {
    a.reset();
    b.reset();
    federation.reset();
    aLines.clear();
  }

  std::optional<DeployedFederation> federation;
  PlainImplementor::Install plain;
  std::optional<RTI::RTIambassador> b;
  std::optional<ScriptedFederateProcess> a;
  Lines aLines;
};
