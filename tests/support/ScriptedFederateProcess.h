#pragma once
// Runs tools/scripted-federate as another federate of a test's federation
// and reads the lines it prints ("callback ...", "ok ...", "error ...",
// "done"). It inherits the test's environment and working directory, so it
// joins the federation of the test's RID file (RTI_RID_FILE) and finds FED
// files where the test's federates do.
//
// A test program that uses it defines QLX_SCRIPTED_FEDERATE (the program's
// path) and depends on the target scripted-federate:
//   add_dependencies(test_x scripted-federate)
//   target_compile_definitions(test_x PRIVATE QLX_SCRIPTED_FEDERATE="$<TARGET_FILE:scripted-federate>")
//
// Either the whole script is given at the start, or none is and the test
// sends commands while it runs (command() returns their "ok"/"error" line).
// The destructor closes the program's input, waits for it a few seconds and
// kills it if it is still there.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

class ScriptedFederateProcess : public ChildProcess {
public:
  // With an empty script the program reads its commands from its input.
  // With an error file, what it writes to standard error (the RTI's output
  // and a plug-in's) goes to that file rather than to the test's.
  explicit ScriptedFederateProcess(const std::string& script = "", const std::string& errorFile = "")
      : ChildProcess({QLX_SCRIPTED_FEDERATE, script.empty() ? "-" : script}, Options{false, errorFile}) {
    if (!script.empty()) closeInput();
  }
  // The RTI's diagnostics (its standard error) among its lines.
  struct WithDiagnostics {};
  explicit ScriptedFederateProcess(WithDiagnostics, const std::string& script = "")
      : ChildProcess({QLX_SCRIPTED_FEDERATE, script.empty() ? "-" : script}, Options{true, ""}) {
    if (!script.empty()) closeInput();
  }

  // Reads until a line that starts with the prefix, and returns it (empty
  // when none came within `seconds`).
  std::string waitFor(const std::string& prefix, double seconds = 10) { return ChildProcess::waitFor(prefix, seconds); }
  // Sends one command and returns its "ok <verb>..." or "error <verb>..."
  // line; the callbacks printed meanwhile are kept in lines().
  std::string command(const std::string& command, double seconds = 10) {
    send(command);
    const std::string verb = command.substr(0, command.find(' '));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return {};
      const std::string line = readLine(left);
      if (line.rfind("ok " + verb, 0) == 0 || line.rfind("error " + verb, 0) == 0) return line;
      if (line.empty() && ended()) return {};
    }
  }
  // Everything up to "done" (or the end of its output, or `seconds`).
  const std::vector<std::string>& readAll(double seconds = 30) {
    waitFor("done", seconds);
    return lines();
  }
};

// Runs the command; it must succeed ("ok <verb> ...").
inline ::testing::AssertionResult succeeds(ScriptedFederateProcess& federate, const std::string& command,
                                           double seconds = 10) {
  const std::string result = federate.command(command, seconds);
  if (result.rfind("ok ", 0) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << command << ": " << (result.empty() ? "no answer" : result);
}
