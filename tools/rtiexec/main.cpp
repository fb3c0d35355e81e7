// rtiexec: the central process of HLA federations run with RTI_useRtiExec 1.
// It hosts the library's DtRtiExec: reads the RID file as federates do,
// listens for federates on the TCP forwarder port (RTI_udpPort), serves any
// number of federation executions, takes console commands on standard input
// and ends on "quit" (confirmed), SIGINT or SIGTERM.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <RTI.hh>

#include "config/DtRIDParameters.h"
#include "exec/DtRtiExec.h"

namespace {

constexpr const char* usage = R"(Usage: rtiexec [--help]
The central process of HLA federations whose federates set RTI_useRtiExec 1.
Federates create, join, resign and destroy federation executions through it;
it hands out the federate handles, resigns federates whose connection is lost
(or whose heartbeat stops, with RTI_federateHeartbeatInterval and
RTI_federateTimeoutInterval above 0) and relays the federation's reliable
traffic. Any number of federation executions can run at once.

Configuration: the RID file, found as federates find it: the file that
RTI_RID_FILE names, else rid.mtl in the folder that RTI_CONFIG names, else
./rid.mtl, else the defaults. The keys that matter here:
  RTI_udpPort              the TCP port it listens on (and the UDP port of
                           the federation's traffic; default 4000)
  RTI_internalMsgReliable  1: the RTI's own messages go by TCP through it
  RTI_fomDataReliable      1: reliable attributes and interactions go by TCP
                           (either key makes it listen on TCP)
  RTI_tcpForwarderAddr     where federates reach it; it reaches itself there
  RTI_tcpMaxConnections    the most federate connections (default 1024);
                           at the limit, the longest silent connection
                           that joined nothing makes room, else a new one
                           is refused with a message
  RTI_tcpJoinTimeout       seconds a connection that has not joined may
                           stay silent, or hold a message unfinished,
                           before it is closed (default 60; 0: never)
  RTI_tcpMaxQueuedBytes    the most bytes that may wait for one federate
                           (default 33554432, 32 MiB); a federate that
                           lets more wait is resigned as lost
  RTI_destAddrString, RTI_mcastDevAddrString  the federation's UDP group and
                           the interface for it
Start it before the federates; give every federate the same RID keys.

Console commands (standard input, one a line):
  quit (q)                 end; while executions exist it asks first:
                           yes (y) ends, no (n) cancels
  list (l)                 the executions and their federates
  delete (d) <handle> [<execution>]
                           resign the federate of that handle (of every
                           execution, or of the one named), deleting its
                           objects and releasing its attributes

SIGINT (Ctrl-C) and SIGTERM end it at once: every federate's connection is
closed, and each federate's next tick reports that the rtiexec has ended.
)";

DtRtiExec* g_exec = nullptr;

void onSignal(int) {
  if (g_exec) g_exec->requestStop();
}

// Every federate holds a connection: as many descriptors as the system lets
// a process open.
void raiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

void installSignals() {
  struct sigaction action {};
  action.sa_handler = &onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(usage, stdout);
      return 0;
    }
    std::fprintf(stderr, "rtiexec: unknown argument %s\n%s", argv[i], usage);
    return 2;
  }
  // Whoever reads its output (an operator, a log, a test) sees each line as
  // it is printed.
  setvbuf(stdout, nullptr, _IOLBF, 0);
  raiseDescriptorLimit();

  DtRIDParameters rid;
  std::unique_ptr<DtRtiExec> exec;
  try {
    exec = DtRtiExec::create(&rid);
  } catch (const RTI::Exception& e) {
    std::fprintf(stderr, "rtiexec: %s\n", e._reason ? e._reason : "cannot start");
    return 1;
  }
  if (!exec) {
    std::fprintf(stderr, "rtiexec: cannot start\n");
    return 1;
  }
  g_exec = exec.get();
  installSignals();
  if (exec->forwarderPort() != 0) {
    std::printf("rtiexec: listening on TCP port %d\n", exec->forwarderPort());
  } else {
    std::printf("rtiexec: serving over UDP port %d (no reliable transport)\n", rid.udpPort());
  }
  exec->run();

  if (exec->stopRequested()) {
    std::printf("rtiexec: stopping on a signal; the executions end:\n");
    exec->listExecutions();
  }
  g_exec = nullptr;
  exec.reset();
  std::printf("rtiexec: ended\n");
  return 0;
}
