// The other process of the networked tests of the network layer. Each mode
// prints "ready" once it is set up, then what it received, one line each,
// and ends by itself (after its count, or after its time without traffic).
//
//   net_test_peer multicast PORT GROUP COUNT
//       a UDP socket on PORT joined to GROUP (on the loopback), as the
//       federates of one host have; prints each datagram's text.
//   net_test_peer echo RIDFILE COUNT
//       a federate's connection manager made from the RID file, federate
//       handle 2: sends back (stamped) every test message of federate 1;
//       prints "echoed N" at the end.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ConnTestSupport.h"
#include "net/DtAsyncConnectionMgr.h"
#include "net/DtNetAddress.h"
#include "net/DtNetSocket.h"
#include "port/DtFdSet.h"
#include "port/DtPoll.h"
#include "util/DtClock.h"
#include "util/DtNotify.h"

namespace {

constexpr std::uint32_t loopback = 0x7F000001u;
constexpr double quietSeconds = 5.0;

int multicast(int port, std::uint32_t group, int count) {
  DtNetSocket socket(port, group, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
  socket.setNonBlocking();
  socket.setUnbundling(false);
  std::printf("ready\n");
  std::fflush(stdout);
  double deadline = DtRealTime() + quietSeconds;
  for (int received = 0; received < count && DtRealTime() < deadline;) {
    char* data = nullptr;
    int status = 0;
    const int length = socket.DtRecv(&data, &status);
    if (status == 1) {
      std::printf("%.*s\n", length, data);
      std::fflush(stdout);
      ++received;
      deadline = DtRealTime() + quietSeconds;
    } else if (status == 0) {
      DtFdSet readable;
      readable.add(socket.readDescriptor());
      DtPollSets(&readable, nullptr, nullptr, deadline - DtRealTime());
    }
  }
  return 0;
}

struct Echo {
  DtConnectionMgr* mgr;
  int echoed = 0;
  static void onMessage(const DtRtiMsg& msg, void* data) {
    auto* self = static_cast<Echo*>(data);
    if (msg.federateHandle() != 1) return;
    RawMsg reply(static_cast<const RawMsg&>(msg));
    self->mgr->sendStamped(reply, DtBestEffort);
    ++self->echoed;
  }
};

int echo(const char* ridFile, int count) {
  setenv("RTI_RID_FILE", ridFile, 1);
  DtRIDParameters rid;
  std::unique_ptr<DtConnectionMgr> mgr = DtAsyncConnectionMgr::create(&rid);
  nettest::teachRawKinds(*mgr);
  Echo echo{mgr.get()};
  mgr->addMsgCallback(nettest::kindA, &Echo::onMessage, &echo, 0);
  mgr->connectFederation(nullptr, "", 2, 0);
  std::printf("ready\n");
  std::fflush(stdout);
  double deadline = DtRealTime() + quietSeconds;
  while (echo.echoed < count && DtRealTime() < deadline) {
    const int before = echo.echoed;
    if (!mgr->tick()) mgr->wait(0.05);
    if (echo.echoed != before) deadline = DtRealTime() + quietSeconds;
  }
  mgr->disconnectFederation();
  std::printf("echoed %d\n", echo.echoed);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  DtSetNotifyLevel(1);
  if (argc == 5 && std::strcmp(argv[1], "multicast") == 0)
    return multicast(std::atoi(argv[2]), DtStringToAddr(argv[3]), std::atoi(argv[4]));
  if (argc == 4 && std::strcmp(argv[1], "echo") == 0) return echo(argv[2], std::atoi(argv[3]));
  std::fprintf(stderr, "usage: net_test_peer multicast PORT GROUP COUNT | echo RIDFILE COUNT\n");
  return 2;
}
