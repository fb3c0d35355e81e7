#include "CheckRun.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <thread>
#include <vector>

#include "CheckShared.h"
#include "OrderCheckingFedAmb.h"
#include "RandomFederate.h"

extern char** environ;

namespace timeordercheck {

namespace {

using Clock = std::chrono::steady_clock;

const char* const checkFed = R"((FED (Federation Check) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
  (interactions (class InteractionRoot reliable timestamp (class RTIprivate reliable receive)
    (class Rel reliable timestamp (parameter V))
    (class Be best_effort timestamp (parameter V)))))
)";

// A port the system had free a moment ago.
int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) == 0) {
    port = ntohs(at.sin_port);
  }
  close(fd);
  return port;
}

bool accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  to.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool accepted = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  close(fd);
  return accepted;
}

// The rtiexec of the run, its output in rtiexec.log of the working folder.
class RtiExec {
public:
  explicit RtiExec(const std::string& program) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "rtiexec.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::string copy = program;
    char* argv[] = {copy.data(), nullptr};
    if (posix_spawn(&pid_, copy.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~RtiExec() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  RtiExec(const RtiExec&) = delete;
  RtiExec& operator=(const RtiExec&) = delete;
  // Its forwarder accepts connections (within five seconds), and it still runs.
  bool ready(int port) const {
    for (int i = 0; i < 500 && pid_ > 0; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return false;
      if (accepts(port)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

private:
  pid_t pid_ = -1;
};

class ScratchFederation {
public:
  explicit ScratchFederation(std::uint64_t seed) {
    std::string dir = "/tmp/time-order-check_XXXXXX";
    if (mkdtemp(dir.data())) dir_ = dir;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    std::ofstream("Check.fed") << checkFed;
    setenv("RTI_RID_FILE", (dir_ / "rid.mtl").c_str(), 1);
    setenv("RTI_CONFIG", dir_.c_str(), 1);
    static_cast<void>(seed);
  }
  ~ScratchFederation() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  void usePort(int port) {
    std::ofstream rid("rid.mtl");
    rid << "(setq RTI_udpPort " << port << ")\n(setq RTI_destAddrString \"239.77." << ((port >> 8) & 0xFF) << "."
        << (port & 0xFF) << "\")\n(setq RTI_mcastDevAddrString \"127.0.0.1\")\n(setq RTI_notifyLevel 1)\n"
        << "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n"
        << "(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n(setq RTI_dumpFed 0)\n(setq RTI_timeMgmt 1)\n";
  }
  std::string logText() const {
    std::ifstream log(dir_ / "rtiexec.log");
    return std::string(std::istreambuf_iterator<char>(log), {});
  }

private:
  std::filesystem::path dir_;
  std::filesystem::path previous_;
};

std::string stallState(const Shared& shared, int count) {
  std::string text = "stalled with";
  for (int i = 0; i < count; ++i) {
    const FederateRecord& f = shared.federates[i];
    char line[160];
    std::snprintf(line, sizeof line, " F%d[la %g, granted %g, %s %g%s]", i, f.lookahead, f.granted.load(),
                  requestName(static_cast<Request>(f.request.load())), f.target.load(),
                  f.finished.load() ? ", done" : (f.pending.load() ? "" : ", idle"));
    text += line;
  }
  return text;
}

}  // namespace

RunResult RunCheck(const RunSettings& settings) {
  RunResult result;
  const int count = std::min(std::max(settings.federates, 2), maxFederates);
  ScratchFederation federation(settings.seed);
  std::unique_ptr<RtiExec> exec;
  for (int attempt = 0; attempt < 10 && !exec; ++attempt) {
    const int port = freePort();
    federation.usePort(port);
    exec = std::make_unique<RtiExec>(settings.rtiexec);
    if (!exec->ready(port)) exec.reset();
  }
  if (!exec) {
    result.details = "the rtiexec did not start";
    return result;
  }
  void* memory = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    result.details = "no shared memory";
    return result;
  }
  Shared& shared = *new (memory) Shared;
  std::vector<pid_t> children;
  std::vector<FederateSettings> federates(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    federates[static_cast<std::size_t>(i)] = {i, count, settings.seed, settings.grants, settings.stallSeconds};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      RunRandomFederate(federates[static_cast<std::size_t>(i)], shared);
      _exit(0);
    }
    children.push_back(child);
  }
  // Started together once all are ready.
  const auto readyBy = Clock::now() + std::chrono::seconds(60);
  while (shared.ready.load() < count && !shared.failed.load() && Clock::now() < readyBy) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  shared.start = 1;
  // The watchdog: a stall is every federate still running waiting for a
  // grant while none comes.
  std::uint64_t lastGrants = shared.grants.load();
  auto lastChange = Clock::now();
  for (;;) {
    int running = 0;
    for (const pid_t child : children) running += waitpid(child, nullptr, WNOHANG) == 0 ? 1 : 0;
    if (running < static_cast<int>(children.size()) && running == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::uint64_t grants = shared.grants.load();
    bool allWaiting = shared.ready.load() == count && !shared.failed.load();
    for (int i = 0; i < count && allWaiting; ++i) {
      const FederateRecord& f = shared.federates[i];
      if (!f.finished.load() && !f.pending.load()) allWaiting = false;
    }
    if (grants != lastGrants || !allWaiting) {
      lastGrants = grants;
      lastChange = Clock::now();
    } else if (std::chrono::duration<double>(Clock::now() - lastChange).count() > settings.stallSeconds) {
      result.stalled = true;
      result.details = stallState(shared, count);
      for (const pid_t child : children) kill(child, SIGKILL);
    }
  }
  for (const pid_t child : children) waitpid(child, nullptr, 0);
  exec.reset();

  result.grants = shared.grants.load();
  result.violations = shared.violations.load();
  for (int i = 0; i < count; ++i) {
    const FederateRecord& f = shared.federates[i];
    char lookahead[16];
    std::snprintf(lookahead, sizeof lookahead, "%s%g", i ? "," : "", f.lookahead);
    result.lookaheads += lookahead;
    result.delivered += f.delivered.load();
    result.deliveredBestEffort += f.deliveredBestEffort.load();
    result.retractionCallbacks += f.retractionCallbacks.load();
    for (std::uint32_t k = 0; k < f.sentCount.load(); ++k) {
      ++result.sent;
      result.reliableSent += f.sent[k].reliable;
      result.retracted += f.sent[k].retracted.load();
    }
  }
  for (int k = 0; k < std::min(shared.violationTexts.load(), violationsKept); ++k) {
    result.details += std::string("\n  ") + shared.violation[k];
  }
  if (shared.failed.load() || result.stalled) {
    // The end of what the rtiexec said.
    std::string log = federation.logText();
    if (log.size() > 6000) log = "..." + log.substr(log.size() - 6000);
    result.details +=
        std::string("\n  ") + (result.stalled ? "stalled" : "a federate failed") + "; the rtiexec said:\n" + log;
  }
  result.ran = !shared.failed.load() && !result.stalled;
  shared.~Shared();
  munmap(memory, sizeof(Shared));
  return result;
}

}  // namespace timeordercheck
