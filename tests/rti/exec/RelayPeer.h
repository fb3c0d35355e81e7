#pragma once
// A connection of the test's own to the rtiexec's relay (its TCP port on the
// loopback), as any peer could open one: what it writes, the rtiexec takes
// in and passes on to the federates in the order written.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "api/DtParamValueSet.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtUpdateMsgs.h"

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
  // A sentinel interaction of the class (see support/Sentinels.h), from a
  // federate handle nobody has in execution 1: a federate that takes it
  // has taken in all the rtiexec passed on to it before.
  bool writeSentinel(unsigned long sentinelClass, const std::string& tag) {
    const DtParamValueSet none(1);
    DtInteractionRoMsg sentinel(sentinelClass, none, tag.c_str(), 0, nullptr);
    sentinel.setFedEx(1);
    sentinel.setFederateHandle(9);
    return write(sentinel);
  }

private:
  int fd_;
  bool connected_ = false;
};
