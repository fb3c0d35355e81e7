#pragma once
// A connection of the test's own to the rtiexec's relay (its TCP port on the
// loopback), as any peer could open one, that writes raw bytes: it has
// joined nothing, so the rtiexec refuses what it writes but a create, a
// join or a destroy.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "msg/DtRtiMsg.h"

class RelayPeer {
public:
  explicit RelayPeer(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    connected_ = fd_ >= 0 && connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~RelayPeer() {
    if (fd_ >= 0) close(fd_);
  }
  RelayPeer(const RelayPeer&) = delete;
  RelayPeer& operator=(const RelayPeer&) = delete;

  bool connected() const { return connected_; }
  bool write(const char* data, std::size_t length) {
    return connected_ && ::write(fd_, data, length) == static_cast<ssize_t>(length);
  }
  bool write(const DtRtiMsg& msg) { return write(msg.data(), static_cast<std::size_t>(msg.size())); }

private:
  int fd_;
  bool connected_ = false;
};
