#pragma once
// What the time management tests with the real rtiexec share: the Clock
// federation (time-stamped Tank updates and Shot interactions, reliable;
// Flare interactions, best effort and time-stamped), the RID forms that
// switch time management on, and a scripted federate that hands back the
// callbacks its commands printed and can wait on sentinels.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExecFederation.h"
#include "support/Sentinels.h"

namespace timetest {

using exectest::ExecFederation;

// Tank (Pos, attribute 1) and Shot (Power, parameter 0): both time-stamp ordered.
inline const char* const clockFed = R"((FED (Federation Clock) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Tank (attribute Pos reliable timestamp))))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive)
    (class Shot reliable timestamp (parameter Power))
    (class Flare best_effort timestamp (parameter Power)))))
)";

inline const std::string timeForms = std::string(exectest::reliableForms) + "(setq RTI_timeMgmt 1)\n";

// A federation with time management on, its rtiexec running; with
// sentinels, its FED file also has the Sentinel class.
class ClockFederation : public ::testing::Test {
protected:
  explicit ClockFederation(bool sentinels = false) : sentinels_(sentinels) {}

  void SetUp() override {
    federation_.dir().write("Clock.fed", sentinels_ ? sentinels::withSentinelClass(clockFed) : clockFed);
    ASSERT_TRUE(federation_.startExec());
  }

  ExecFederation federation_{timeForms};

private:
  bool sentinels_;
};

using TimeOrderFederation = ClockFederation;

// One federate: runs commands and hands back the callbacks they printed.
class Federate {
public:
  // One that takes part in sentinels (see support/Sentinels.h).
  struct WithSentinels {};

  Federate() : process_(std::make_unique<ScriptedFederateProcess>()) {}
  explicit Federate(WithSentinels) : Federate() { EXPECT_TRUE(succeeds(*process_, "sentinel-class Sentinel")); }

  // Runs the commands, each of which must succeed; returns the time and
  // traffic callbacks printed meanwhile, without "callback ".
  std::vector<std::string> run(const std::vector<std::string>& commands) {
    const std::size_t before = process_->lines().size();
    for (const std::string& command : commands) {
      const std::string result = process_->command(command);
      EXPECT_EQ(result.rfind("ok ", 0), 0u) << command << ": " << (result.empty() ? "no answer" : result);
      if (result.rfind("ok ", 0) == 0) last_ = result;
    }
    return callbacksSince(before);
  }
  // Runs the commands, then sentinels to the other federate and back: the
  // rtiexec's answers to them, and what the other one sent before, have
  // come. Returns the time and traffic callbacks printed meanwhile.
  std::vector<std::string> runAndSettle(const std::vector<std::string>& commands, Federate& other) {
    const std::size_t before = process_->lines().size();
    run(commands);
    EXPECT_TRUE(sentinels::roundTrip(*process_, *other.process_));
    return callbacksSince(before);
  }
  // Takes two sentinels from the other one, the second sent once the first
  // came: the rtiexec's answers to what the other one sent before the first
  // have come (the rtiexec takes the second in a later pass). Returns the
  // time and traffic callbacks printed meanwhile.
  std::vector<std::string> takeAnswersTo(Federate& other) {
    const std::size_t before = process_->lines().size();
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(sentinels::sentinel(*other.process_, *process_));
    return callbacksSince(before);
  }
  // The result of the last command that succeeded ("ok <verb> <result>").
  std::string result() const {
    const std::size_t blank = last_.find(' ', 3);
    return blank == std::string::npos ? "" : last_.substr(blank + 1);
  }
  ScriptedFederateProcess& process() { return *process_; }

  // One command's "ok"/"error" line.
  std::string command(const std::string& command) { return process_->command(command); }
  // Waits for the callback while `other` ticks in the background: the
  // rtiexec's constrained sync needs the constrained federates' answers.
  // Returns the callbacks seen.
  std::vector<std::string> waitWhileTicking(const std::string& callback, Federate& other) {
    other.run({"background-tick on"});
    const std::vector<std::string> seen = run({"wait " + callback + " 10"});
    other.run({"background-tick off"});
    return seen;
  }

  // The time and traffic callbacks among the lines read since `before`.
  std::vector<std::string> callbacksSince(std::size_t before) const {
    std::vector<std::string> callbacks;
    for (std::size_t i = before; i < process_->lines().size(); ++i) {
      const std::string& line = process_->lines()[i];
      if (line.rfind("callback ", 0) != 0) continue;
      for (const char* name :
           {"time", "receiveInteraction", "reflectAttributeValues", "removeObjectInstance", "requestRetraction"}) {
        if (line.rfind(std::string("callback ") + name, 0) == 0) callbacks.push_back(line.substr(9));
      }
    }
    return callbacks;
  }

private:
  std::unique_ptr<ScriptedFederateProcess> process_;
  std::string last_;
};

using Lines = std::vector<std::string>;

// The callbacks of these names only.
inline Lines only(const Lines& lines, const std::vector<std::string>& names) {
  Lines kept;
  for (const std::string& line : lines) {
    for (const std::string& name : names) {
      if (line.rfind(name + " ", 0) == 0) kept.push_back(line);
    }
  }
  return kept;
}

}  // namespace timetest
