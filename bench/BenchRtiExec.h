#pragma once
// The rtiexec program (QLX_RTIEXEC) as a process of a benchmark, as an
// operator runs it: it reads the RID file of the benchmark's environment,
// its console is /dev/null, its output goes to a file. It is ready once its
// forwarder accepts a connection; SIGTERM ends it. Its processor time can be
// read, to see what it costs while idle.

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

extern char** environ;

class BenchRtiExec {
public:
  BenchRtiExec(int port, const std::string& logPath) : port_(port) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    char program[] = QLX_RTIEXEC;
    char* argv[] = {program, nullptr};
    if (posix_spawn(&pid_, program, &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~BenchRtiExec() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  BenchRtiExec(const BenchRtiExec&) = delete;
  BenchRtiExec& operator=(const BenchRtiExec&) = delete;

  // True once its forwarder accepts connections (within five seconds).
  bool waitReady() const {
    for (int i = 0; i < 500 && pid_ > 0; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_in to{};
      to.sin_family = AF_INET;
      to.sin_addr.s_addr = htonl(0x7F000001u);
      to.sin_port = htons(static_cast<std::uint16_t>(port_));
      const bool accepted = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
      close(fd);
      if (accepted) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // Its processor time so far (user and system), in seconds.
  double cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command's closing parenthesis; utime and stime
    // are the 14th and 15th of the line.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
      if (i >= 14) ticks += std::stod(field);
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  pid_t pid() const { return pid_; }

private:
  int port_;
  pid_t pid_ = -1;
};
