#pragma once
// A program that a test runs as another process: its standard input is a
// pipe the test writes to, its standard output a pipe the test reads line by
// line (standard error too, when asked). It inherits the test's environment
// and working directory. The destructor closes its input, waits for it a few
// seconds and kills it if it is still there.

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

class ChildProcess {
public:
  struct Options {
    bool mergeStderr = false;  // standard error into the same pipe as the output
    std::string errorFile;     // else, when not empty, standard error to this file
  };

  ChildProcess(const std::vector<std::string>& arguments, Options options) {
    int out[2];
    int in[2];
    if (arguments.empty() || pipe2(out, O_CLOEXEC) != 0) return;
    if (pipe2(in, O_CLOEXEC) != 0) {
      close(out[0]);
      close(out[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    if (options.mergeStderr) {
      posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    } else if (!options.errorFile.empty()) {
      posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, options.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
    }
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(in[0]);
    out_ = out[0];
    in_ = in[1];
  }
  ~ChildProcess() {
    closeInput();
    if (pid_ > 0 && waitExit(5) < 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status_, 0);
    }
    if (out_ >= 0) close(out_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // Writes a line to its input.
  void send(const std::string& text) {
    const std::string line = text + "\n";
    if (in_ >= 0 && write(in_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) closeInput();
  }
  // Ends its input.
  void closeInput() {
    if (in_ >= 0) close(in_);
    in_ = -1;
  }
  void signal(int number) {
    if (pid_ > 0 && status_ < 0) kill(pid_, number);
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
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd watched{out_, POLLIN, 0};
      if (out_ < 0 || ended_ || poll(&watched, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0) <= 0)
        return {};
      char chunk[4096];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) {
        ended_ = true;
        return {};
      }
      pending_.append(chunk, static_cast<std::size_t>(n));
    }
  }
  // Reads until a line that starts with the prefix (or, with `anywhere`,
  // holds it), and returns it; empty when none came within `seconds`.
  std::string waitFor(const std::string& text, double seconds = 10, bool anywhere = false) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return {};
      const std::string line = readLine(left);
      if (anywhere ? line.find(text) != std::string::npos : line.rfind(text, 0) == 0) return line;
      if (line.empty() && ended()) return {};
    }
  }
  // Reads the lines up to the end of its output (at most `seconds`).
  void readToTheEnd(double seconds = 10) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!ended()) {
      const double left = std::chrono::duration<double>(deadline - std::chrono::steady_clock::now()).count();
      if (left <= 0) return;
      readLine(left);
    }
  }
  // Its exit status once it has ended, waiting at most `seconds`; -1 while
  // it runs, -2 when a signal ended it.
  int waitExit(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (pid_ > 0 && status_ < 0) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) break;
      usleep(10000);
    }
    if (status_ < 0) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -2;
  }
  int exitStatus() { return waitExit(0); }

  const std::vector<std::string>& lines() const { return lines_; }
  bool ended() const { return out_ < 0 || ended_; }

private:
  pid_t pid_ = -1;
  int out_ = -1;
  int in_ = -1;
  int status_ = -1;
  bool ended_ = false;  // its output reached its end
  std::string pending_;
  std::vector<std::string> lines_;
};
