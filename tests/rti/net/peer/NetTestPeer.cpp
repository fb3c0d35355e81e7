// The other process of the networked tests of the network layer. Each mode
// prints "ready" once it is set up, then what it received, one line each,
// and ends by itself (after its count, or after its time without traffic).
//
//   net_test_peer multicast PORT GROUP COUNT
//       a UDP socket on PORT joined to GROUP (on the loopback), as the
//       federates of one host have; prints each datagram's text.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
  DtSetNotifyLevel(1);
  if (argc == 5 && std::strcmp(argv[1], "multicast") == 0)
    return multicast(std::atoi(argv[2]), DtStringToAddr(argv[3]), std::atoi(argv[4]));
  std::fprintf(stderr, "usage: net_test_peer multicast PORT GROUP COUNT\n");
  return 2;
}
