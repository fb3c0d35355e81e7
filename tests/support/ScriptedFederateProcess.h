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

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

class ScriptedFederateProcess {
public:
  // With an empty script the program reads its commands from its input.
  // With an error file, what it writes to standard error (the RTI's output
  // and a plug-in's) goes to that file rather than to the test's.
  explicit ScriptedFederateProcess(const std::string& script = "", const std::string& errorFile = "") {
    int out[2];
    int in[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    if (pipe2(in, O_CLOEXEC) != 0) {
      close(out[0]);
      close(out[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    if (!errorFile.empty()) {
      posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
    }
    std::vector<std::string> arguments{QLX_SCRIPTED_FEDERATE, script.empty() ? "-" : script};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, QLX_SCRIPTED_FEDERATE, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(in[0]);
    out_ = out[0];
    in_ = in[1];
    if (!script.empty()) closeInput();
  }
  ~ScriptedFederateProcess() {
    closeInput();
    if (pid_ > 0) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (waitpid(pid_, &status_, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
          kill(pid_, SIGKILL);
          waitpid(pid_, &status_, 0);
          break;
        }
        usleep(10000);
      }
    }
    if (out_ >= 0) close(out_);
  }
  ScriptedFederateProcess(const ScriptedFederateProcess&) = delete;
  ScriptedFederateProcess& operator=(const ScriptedFederateProcess&) = delete;

  bool started() const { return pid_ > 0; }

  // Sends commands (";"-separated) to a program started without a script.
  void send(const std::string& commands) {
    const std::string line = commands + "\n";
    if (in_ >= 0 && write(in_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) closeInput();
  }
  // Ends its input: the program finishes what it has, prints "done" and ends.
  void closeInput() {
    if (in_ >= 0) close(in_);
    in_ = -1;
  }

  // The next line, without its end; empty after `seconds` or at the end of
  // its output. Every line read is also kept in lines().
  std::string readLine(double seconds = 10) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      const std::size_t end = pending_.find('\n');
      if (end != std::string::npos) {
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        lines_.push_back(line);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd watched{out_, POLLIN, 0};
      if (out_ < 0 || poll(&watched, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0) <= 0) return {};
      char chunk[4096];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) {
        ended_ = true;
        return {};
      }
      pending_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Reads until a line that starts with the prefix, and returns it (empty
  // when none came within `seconds`).
  std::string waitFor(const std::string& prefix, double seconds = 10) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return {};
      const std::string line = readLine(left);
      if (line.rfind(prefix, 0) == 0) return line;
      if (line.empty() && ended()) return {};
    }
  }
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
    return lines_;
  }
  // The program's exit status once it has ended; -1 before.
  int exitStatus() {
    if (pid_ > 0 && status_ < 0) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    }
    return status_ >= 0 && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

  const std::vector<std::string>& lines() const { return lines_; }

private:
  bool ended() const { return out_ < 0 || ended_; }

  pid_t pid_ = -1;
  int out_ = -1;
  int in_ = -1;
  int status_ = -1;
  bool ended_ = false;  // its output reached its end
  std::string pending_;
  std::vector<std::string> lines_;
};
