#pragma once
// Runs net_test_peer in a mode and reads the lines it prints. The process
// ends by itself; the destructor waits for it (killing it first when it is
// still there).

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>

#include <string>
#include <vector>

extern char** environ;

class PeerProcess {
public:
  explicit PeerProcess(const std::vector<std::string>& arguments) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> all{NET_TEST_PEER};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, NET_TEST_PEER, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
  }
  ~PeerProcess() {
    if (pid_ > 0) {
      if (waitpid(pid_, nullptr, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
      }
    }
    if (out_ >= 0) close(out_);
  }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  bool started() const { return pid_ > 0; }

  // The next line it prints, without its end; empty after `seconds` or at
  // the end of its output.
  std::string readLine(int seconds = 5) {
    for (;;) {
      const std::size_t end = pending_.find('\n');
      if (end != std::string::npos) {
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return line;
      }
      pollfd watched{out_, POLLIN, 0};
      if (poll(&watched, 1, seconds * 1000) <= 0) return {};
      char chunk[512];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return {};
      pending_.append(chunk, static_cast<std::size_t>(n));
    }
  }

private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string pending_;
};
