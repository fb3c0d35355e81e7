#pragma once
// A scripted federate process driven command by command: run() sends
// commands (each must succeed) and returns the callbacks they printed, with
// the handles of registered objects written as {name}.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/ScriptedFederateProcess.h"

class DrivenFederate {
public:
  DrivenFederate() { EXPECT_TRUE(process_.started()); }

  std::vector<std::string> run(const std::vector<std::string>& commands) {
    const std::size_t before = process_.lines().size();
    for (const std::string& command : commands) {
      const std::string result = process_.command(command);
      EXPECT_EQ(result.rfind("ok ", 0), 0u) << command << ": " << result;
      remember(result);
    }
    std::vector<std::string> callbacks;
    for (std::size_t i = before; i < process_.lines().size(); ++i) {
      const std::string& line = process_.lines()[i];
      if (line.rfind("callback ", 0) == 0) callbacks.push_back(named(line.substr(9)));
    }
    return callbacks;
  }
  // One command's "ok"/"error" line.
  std::string command(const std::string& command) {
    const std::string result = process_.command(command);
    remember(result);
    return named(result);
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

// One step of a scenario: a federate runs the commands, which must print
// exactly these callbacks.
struct DrivenStep {
  const char* what;
  DrivenFederate& federate;
  std::vector<std::string> commands;
  std::vector<std::string> callbacks;
};

inline void runSteps(const std::vector<DrivenStep>& steps) {
  for (const DrivenStep& step : steps) {
    EXPECT_EQ(step.federate.run(step.commands), step.callbacks)
        << step.what << ": " << ::testing::PrintToString(step.commands);
  }
}
