#pragma once
// Shared by the socket and connection tests: loopback addresses, sockets on
// ports of the system's choice, and bounded waits for what arrives.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "net/DtNetSocket.h"
#include "port/DtFdSet.h"
#include "port/DtPoll.h"
#include "util/DtClock.h"

namespace nettest {

constexpr std::uint32_t loopback = 0x7F000001u;  // 127.0.0.1

// A multicast group of the test's own, made from its port, so that tests
// running side by side never share one.
inline std::uint32_t groupFor(int port) {
  return (239u << 24) | (77u << 16) | static_cast<std::uint32_t>(port & 0xFFFF);
}

// A UDP port that no socket holds, shared or not: a socket without address
// reuse is given only such a port. (A socket that reuses addresses, as the
// RTI's do, can be given a port that another such socket holds, and two
// tests running side by side would then share a federation.)
inline int unheldUdpPort() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  socklen_t size = sizeof address;
  const bool bound = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                     getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
  if (fd >= 0) close(fd);
  if (!bound) throw std::runtime_error("no free UDP port");
  return ntohs(address.sin_port);
}

// A quiet, non-blocking UDP socket on a port nobody holds (or the port
// given), sending to `dest`, joined to groups on the loopback.
inline DtNetSocket* udpSocket(std::uint32_t dest, int port = 0, unsigned modes = DtNetSocket::ReadWrite) {
  auto* socket = new DtNetSocket(port != 0 ? port : unheldUdpPort(), dest, modes | DtNetSocket::Quiet, loopback);
  socket->setNonBlocking();
  return socket;
}

// Reads one packet, waiting up to `seconds` for one to arrive; the DtRecv
// result, with the status.
inline int receiveWithin(DtSocket& socket, char** data, int* status, double seconds = 2.0) {
  const double deadline = DtRealTime() + seconds;
  for (;;) {
    const int length = socket.DtRecv(data, status);
    if (*status != 0 || DtRealTime() >= deadline) return length;
    DtFdSet readable;
    readable.add(socket.readDescriptor());
    DtPollSets(&readable, nullptr, nullptr, deadline - DtRealTime());
  }
}

inline std::string text(const char* data, int length) {
  return data ? std::string(data, data + length) : std::string();
}

}  // namespace nettest
