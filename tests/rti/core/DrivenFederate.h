#pragma once
// A scripted federate process driven command by command: run() sends
// commands (each must succeed) and returns the callbacks they printed, with
// the handles of registered objects written as {name}. It takes part in
// sentinels (see support/Sentinels.h): the FED files of its federations
// have the Sentinel class.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/ScriptedFederateProcess.h"
#include "support/Sentinels.h"

class DrivenFederate {
public:
  DrivenFederate() {
    EXPECT_TRUE(process_.started());
    EXPECT_TRUE(succeeds(process_, "sentinel-class Sentinel"));
  }

  std::vector<std::string> run(const std::vector<std::string>& commands) {
    const std::size_t from = mark();
    for (const std::string& command : commands) {
      const std::string result = process_.command(command);
      EXPECT_EQ(result.rfind("ok ", 0), 0u) << command << ": " << result;
      remember(result);
    }
    return callbacksSince(from);
  }
  // One command's "ok"/"error" line.
  std::string command(const std::string& command) {
    const std::string result = process_.command(command);
    remember(result);
    return named(result);
  }
  // Where its lines stand now, and the callbacks printed since then.
  std::size_t mark() const { return process_.lines().size(); }
  std::vector<std::string> callbacksSince(std::size_t mark) const {
    std::vector<std::string> callbacks;
    for (std::size_t i = mark; i < process_.lines().size(); ++i) {
      const std::string& line = process_.lines()[i];
      if (line.rfind("callback ", 0) == 0) callbacks.push_back(named(line.substr(9)));
    }
    return callbacks;
  }
  // Takes a sentinel from the other one: has then taken in everything the
  // other one sent before on that path.
  void takeSentinelFrom(DrivenFederate& other, sentinels::Path path = sentinels::Path::Reliable) {
    EXPECT_TRUE(sentinels::sentinel(other.process_, process_, path));
  }

  // Handles by name, shared by the federates of a test (a test clears it).
  static inline std::map<std::string, std::string> names;

private:
  // "ok register <handle> <name>" names an object.
  static void remember(const std::string& result) {
    std::smatch m;
    if (std::regex_match(result, m, std::regex("ok register (\\d+) (\\S+)"))) name(m[2], m[1]);
  }
  static void name(const std::string& name, const std::string& handle) {
    // A handle made again (after a new join) takes its new name.
    std::erase_if(names, [&](const auto& entry) { return entry.second == handle; });
    names[name] = handle;
  }
  static std::string named(std::string line) {
    for (const auto& [name, handle] : names) {
      line = std::regex_replace(line, std::regex("\\b" + handle + "\\b"), "{" + name + "}");
    }
    return line;
  }

  ScriptedFederateProcess process_;
};

// Sentinels both ways: `a` has taken in what `b` sent in answer to a's
// earlier messages (and, with an rtiexec, what the rtiexec sent `a` in
// answer to them).
inline void roundTrip(DrivenFederate& a, DrivenFederate& b) {
  b.takeSentinelFrom(a);
  a.takeSentinelFrom(b);
}

// One step of a scenario: a federate takes a sentinel from another one, if
// named, then runs the commands; it must meanwhile have printed exactly
// these callbacks.
struct DrivenStep {
  const char* what;
  DrivenFederate& federate;
  std::vector<std::string> commands;
  std::vector<std::string> callbacks;
  DrivenFederate* sentinelFrom = nullptr;
};

inline void runSteps(const std::vector<DrivenStep>& steps) {
  for (const DrivenStep& step : steps) {
    const std::size_t mark = step.federate.mark();
    if (step.sentinelFrom) step.federate.takeSentinelFrom(*step.sentinelFrom);
    step.federate.run(step.commands);
    EXPECT_EQ(step.federate.callbacksSince(mark), step.callbacks)
        << step.what << ": " << ::testing::PrintToString(step.commands);
  }
}
