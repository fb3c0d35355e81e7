#pragma once
// Runs the rtiexec program as a process of its own, as an operator would:
// it reads the RID file of the test's environment, its console is a pipe
// the test writes to, and its output (standard output and error) is read
// line by line. A prefix (a command that runs the program, such as one that
// enters a network namespace) may come before it.
//
// A test program that uses it defines QLX_RTIEXEC (the program's path) and
// depends on the target rtiexec.

#include <signal.h>

#include <string>
#include <vector>

#include "support/ChildProcess.h"

class RtiExecProcess : public ChildProcess {
public:
  explicit RtiExecProcess(std::vector<std::string> prefix = {})
      : ChildProcess(withProgram(std::move(prefix)), Options{true, ""}) {}
  // Ends it as an operator would, with SIGTERM.
  ~RtiExecProcess() { signal(SIGTERM); }

  // Waits for the line that says it serves ("rtiexec: listening ..." or
  // "rtiexec: serving ..."); false when it ended first or took too long.
  bool waitReady(double seconds = 10) {
    for (;;) {
      const std::string line = waitFor("rtiexec: ", seconds);
      if (line.empty()) return false;
      if (line.rfind("rtiexec: listening", 0) == 0 || line.rfind("rtiexec: serving", 0) == 0) return true;
    }
  }
  // Every line read so far, joined.
  std::string text() const {
    std::string all;
    for (const std::string& line : lines()) all += line + "\n";
    return all;
  }

private:
  static std::vector<std::string> withProgram(std::vector<std::string> prefix) {
    prefix.push_back(QLX_RTIEXEC);
    return prefix;
  }
};
